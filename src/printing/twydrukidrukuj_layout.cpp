// The print dialog's controls: where each one sits, its caption and hint.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>

#include "printing/modeicons.h"
#include "printing/tsheetpicture.h"
#include "printing/twydrukidrukuj.h"
#include "ui/thintbar.h"
#include "ui/tworkingdlg.h"
#include "ui/tzorbtn.h"
#include "util/uifont.h"

namespace zorpokaz {

namespace {

// Texts keep the system's "\r\n" line breaks; Qt breaks at "\n" alone.
QString shown(const char* text) {
  return QString::fromUtf8(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QFont labelFont() { return CellHeightFont(QStringLiteral("MS Sans Serif"), 13, false); }

QLabel* label(QWidget* parent, const char* text, int x, int y) {
  auto* l = new QLabel(shown(text), parent);
  l->setFont(labelFont());
  l->move(x, y);
  l->adjustSize();
  return l;
}

QCheckBox* checkBox(QWidget* parent, const char* text, int x, int y) {
  auto* c = new QCheckBox(shown(text), parent);
  c->move(x, y);
  c->adjustSize();
  return c;
}

TZorBtn* wideButton(QWidget* parent, const char* text, const QRect& r) {
  auto* b = new TZorBtn(parent);
  b->setTyp(TZorBtnTyp::sbPusty);
  b->setOpis(QString::fromUtf8(text));
  b->setGeometry(r);
  return b;
}

}  // namespace

void TWydrukiDrukuj::buildLayout() {
  pFrame()->setFont(CellHeightFont(QStringLiteral("MS Sans Serif"), 16, true));
  buildPrinterGroup();
  buildRangeGroup();
  buildCopiesArea();
  buildOptions();
  buildAdvancedOptions();
  buildSheetsColumn();

  hb()->setBtnWidth(90);
  hb()->setTextAccept(QStringLiteral("Drukuj"));
  hb()->setHelpButton(false);

  WorkingDlg = new TWorkingDlg(this);
  WorkingDlg->Caption = QStringLiteral(" Zaczekaj chwilę...");
  WorkingDlg->Tekst = QStringLiteral("Trwa przesyłanie wydruku do kolejki drukarki");
  WorkingDlg->JestPostepBar = true;
  WorkingDlg->JestPostepLbl = false;
  WorkingDlg->ScreenCenter = false;
}

void TWydrukiDrukuj::buildPrinterGroup() {
  gbDrukarka = new QGroupBox(QStringLiteral("&Wybór i ustawienia drukarki "), pFrame());
  gbDrukarka->setGeometry(15, 35, 615, 71);
  cbDrukarki = new QComboBox(gbDrukarka);
  cbDrukarki->setEditable(false);
  cbDrukarki->setMaxVisibleItems(9);
  cbDrukarki->setCursor(Qt::PointingHandCursor);
  cbDrukarki->setGeometry(15, 32, 451, 25);
  connect(cbDrukarki, &QComboBox::activated, this, [this](int i) { cbDrukarkiChange(i); });
  btnWlasciwosci = wideButton(gbDrukarka, "Wł&aściwości...", QRect(480, 32, 121, 25));
  btnWlasciwosci->OnClick = [this](TZorBtn&) { btnWlasciwosciClick(); };
}

void TWydrukiDrukuj::buildRangeGroup() {
  gbStrony = new QGroupBox(QStringLiteral(" Zakres stron "), pFrame());
  gbStrony->setGeometry(15, 115, 261, 141);
  rbStrony1 = new QRadioButton(QStringLiteral("&Całość"), gbStrony);
  rbStrony1->setGeometry(15, 24, 235, 20);
  rbStrony1->setChecked(true);
  rbStrony2 = new QRadioButton(QStringLiteral("&Bieżąca strona"), gbStrony);
  rbStrony2->setGeometry(15, 46, 235, 20);
  rbStrony2->setEnabled(false);
  rbStrony4 = new QRadioButton(QStringLiteral("&Podany zestaw stron: "), gbStrony);
  rbStrony4->setGeometry(15, 68, 235, 20);
  connect(rbStrony4, &QRadioButton::clicked, this, [this] {
    // rbStrony4Click: typing follows the choice.
    edStrony->setFocus(Qt::OtherFocusReason);
  });
  edStrony = new QLineEdit(gbStrony);
  edStrony->setGeometry(35, 91, 210, 22);
  edStrony->installEventFilter(this);
  Label4 = label(gbStrony, "(na przykład:  5-10, 12, 15)", 37, 117);
  for (QRadioButton* rb : {rbStrony1, rbStrony2, rbStrony4})
    connect(rb, &QRadioButton::toggled, this, [this] { refreshSheets(); });
  connect(edStrony, &QLineEdit::textChanged, this, [this] { refreshSheets(); });
}

void TWydrukiDrukuj::buildCopiesArea() {
  pKopie = new QFrame(pFrame());
  pKopie->setFrameShape(QFrame::Box);
  pKopie->setFrameShadow(QFrame::Sunken);
  pKopie->setGeometry(15, 270, 261, 71);
  edKopie = new QSpinBox(pKopie);
  edKopie->setRange(1, 99);
  edKopie->setValue(1);
  edKopie->setGeometry(207 - 15, 282 - 270, 50, 24);
  Label1 = new QLabel(QStringLiteral("&Ilość egzemplarzy:"), pKopie);
  Label1->setBuddy(edKopie);
  Label1->setGeometry(15, 12, 170, 24);
  cbKolorowy = checkBox(pKopie, "Wydruk ko&lorowy", 30 - 15, 314 - 270);
}

void TWydrukiDrukuj::buildOptions() {
  pOpcje1 = new TPanelEx(pFrame());
  pOpcje1->setBevelOuter(TBevelCut::None);
  pOpcje1->setGeometry(290, 122, 340, 220);
  const struct {
    TZorBtn** button;
    const char* text;
    PrintMode mode;
    const char* hint;
  } modes[] = {
      {&btnNormalne, "&Normalnie", PrintMode::Normalnie, "Standardowy tryb drukowania."},
      {&btnZmniejszone, "&Zmniejszone", PrintMode::Zmniejszone,
       "Wydruk zmniejszony - każda kartka podzielona jest na dwie części\r\ntak, że mieszczą się "
       "obok siebie dwie kolejne strony."},
      {&btnKsiazeczka, "&Książeczka", PrintMode::Ksiazeczka,
       "W tym trybie, na każdej kartce, po obu jej stronach, zamieszczane są \r\nodpowiednie dwie "
       "strony wydruku - w taki sposób, że powstały w efekcie \r\nplik kartek można zgiąć po "
       "środku, otrzymując wygodną książeczkę."},
  };
  int x = 0;
  for (const auto& m : modes) {
    auto* b = new TZorBtn(pOpcje1);
    b->setTyp(TZorBtnTyp::sbWlasny);
    b->setIkonka(ModeIcon(m.mode));
    b->setOpis(QString::fromUtf8(m.text));
    b->setGeometry(x, 0, 100, 75);
    b->setToolTip(shown(m.hint));
    b->OnClick = [this](TZorBtn& sender) { btnTrybClick(sender); };
    *m.button = b;
    x += 110;
  }
  btnNormalne->setDown(true);

  cbOdwrotnie = checkBox(pOpcje1, "&Odwrotna kolejność", 0, 84);
  cbOdwrotnie->setChecked(true);
  cbOdwrotnie->setToolTip(shown(
      "Jeśli opcja jest zaznaczona, kolejne strony będą wysyłane do drukarki \r\nw odwrotnej "
      "kolejności, zaczynając od ostatniej (w trybie dwustronnym\r\ndotyczy to tylko drugiego "
      "przebiegu - po ponownym włożeniu kartek).\r\nUwaga: dla poprawnego działania trybu "
      "\"Książeczka\" niezbędne jest\r\nprawidłowe ustawienie tej opcji (zależnie od posiadanej "
      "drukarki)."));
  lblOdwrotnie = label(pOpcje1,
                       "Zaznacz, jeśli wybrana drukarka nie potrafi sama odwracać\r\nkolejności "
                       "(jeśli \"wyrzuca\" kartki stroną zadrukowaną do góry).",
                       20, 104);
  connect(cbOdwrotnie, &QCheckBox::toggled, this, [this] { refreshSheets(); });
  cbDwustronnie = checkBox(pOpcje1, "&Druk dwustronny", 0, 138);
  connect(cbDwustronnie, &QCheckBox::toggled, this, [this] { refreshSheets(); });
  cbDwustronnie->setToolTip(shown(
      "Przy druku dwustronnym najpierw zostaną wydrukowane strony nieparzyste,\r\na pozostałe - "
      "dopiero po przełożeniu tych samych kartek na drugą stronę."));
  lblDwustronnie1 =
      label(pOpcje1, "Zaznacz, jeśli chcesz wykorzystać obie strony każdej kartki.", 20, 158);
  lblDwustronnie2 =
      label(pOpcje1, "W trybie \"książeczki\" druk dwustronny jest zawsze włączony.", 20, 158);
  lblDwustronnie2->hide();
  btnOpcje2Pokaz = wideButton(pOpcje1, "Opcj&e zaawansowane (rozwiązywanie problemów)",
                              QRect(0, 190, 330, 25));
  btnOpcje2Pokaz->OnClick = [this](TZorBtn&) { btnOpcje2PokazClick(); };
}

void TWydrukiDrukuj::buildAdvancedOptions() {
  pOpcje2 = new TPanelEx(pFrame());
  pOpcje2->setBevelOuter(TBevelCut::None);
  pOpcje2->setGeometry(290, 122, 340, 220);
  cbNoAbortProc = checkBox(pOpcje2, "Tryb kompatybilności z drukarką HP1000", 0, 0);
  cbNoAbortProc->setToolTip(shown(
      "Opcja ta rozwiązuje problem drukowania wszystkiego na jednej kartce,\r\npojawiający się w "
      "niektórych przypadkach na drukarkach z serii HP1000.\r\nPolecamy o używanie opcji _tylko_ "
      "po pojawieniu się tych problemów, gdyż\r\n\"efektem ubocznym\" jest całkowite blokowanie "
      "ZORELa na czas drukowania."));
  Label3 = label(pOpcje2,
                 "Zaznacz, jeśli powstają całkiem zaczernione kartki\r\n(wszystko zostaje "
                 "nadrukowane na tej samej stronie).",
                 20, 22);
  rbEmfMode = new QRadioButton(QStringLiteral("Wydruk w formie metapliku (EMF)"), pOpcje2);
  rbEmfMode->move(0, 62);
  rbEmfMode->adjustSize();
  rbEmfMode->setChecked(true);
  Label2 = label(pOpcje2,
                 "Standardowy tryb drukowania w Zorelu 2001 - w większości\r\nprzypadków szybszy i "
                 "wymagający mniej pamięci dla programu.",
                 20, 84);
  rbBmpMode = new QRadioButton(QStringLiteral("Wydruk w formie bitmapy"), pOpcje2);
  rbBmpMode->move(0, 124);
  rbBmpMode->adjustSize();
  Label5 = label(pOpcje2, "Spróbuj tego ustawienia, jeśli poprzednie sprawia problemy.", 20, 146);
  ZorBtn1 = wideButton(pOpcje2, "Schowaj zaawansowane opcj&e drukowania", QRect(0, 190, 330, 25));
  ZorBtn1->OnClick = [this](TZorBtn&) { ZorBtn1Click(); };
  pOpcje2->hide();
}

// Right of the original layout, from the top of the page range down to the
// bottom of the copies area: the sheets the current choices will print.
void TWydrukiDrukuj::buildSheetsColumn() {
  gbKartki = new QGroupBox(QStringLiteral(" Kartki z drukarki "), pFrame());
  gbKartki->setGeometry(645, 115, 220, 226);
  pKartki = new TSheetPicture(gbKartki);
  pKartki->setGeometry(6, 22, 208, 198);
  pKartki->setToolTip(shown("Kolejność, w jakiej kartki wyjdą z drukarki w wybranym trybie,\r\n"
                            "dla wybranego zakresu stron (jeden egzemplarz)."));
}

}  // namespace zorpokaz
