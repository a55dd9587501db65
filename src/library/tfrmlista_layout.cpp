// The list window's controls: the button panel with the sort choice, the
// printout list and the hint bar.
#include "library/tfrmlista.h"

#include "ui/tabbeditemdelegate.h"
#include "preview/tfrmpodglad.h"
#include "ui/thintbar.h"
#include "ui/tworkingdlg.h"
#include "ui/tzorbtn.h"
#include "util/uifont.h"

#include <QFrame>
#include <QListWidget>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace zorpokaz {

namespace {

constexpr int kPanelHeight = 38;
constexpr int kHintBarHeight = 24;
constexpr int kItemHeight = 18;

TZorBtn* panelButton(QWidget* parent, int left, TZorBtnTyp typ, const QString& opis, const QString& hint) {
  auto* b = new TZorBtn(parent);
  b->setGeometry(left, 3, 70, 33);
  b->setTyp(typ);
  b->setOpis(opis);
  b->setToolTip(hint);
  return b;
}

QRadioButton* sortButton(QWidget* parent, int top, const QString& text) {
  auto* rb = new QRadioButton(text, parent);
  // 15 pixels is the font's cell height, so the text fits the 17-pixel-high
  // button; this platform's larger indicator may need a little more width.
  rb->setFont(CellHeightFont(QStringLiteral("Arial"), 15, false));
  rb->setGeometry(227, top, std::max(130, rb->sizeHint().width()), 17);
  rb->setCursor(Qt::PointingHandCursor);
  return rb;
}

}  // namespace

void TFrmLista::buildLayout() {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  buildButtonPanel();
  layout->addWidget(m_pIkonki);
  buildList();
  layout->addWidget(m_pLista, 1);
  buildHintBar();
  layout->addWidget(m_hb);

  m_workingDlg = new TWorkingDlg(this);
  m_workingDlg->Caption = QStringLiteral(" Zaczekaj chwilę...");
  m_workingDlg->JestPostepLbl = true;
  m_workingDlg->JestPostepLbl2 = false;
  m_workingDlg->JestPostepBar = false;
  m_workingDlg->ScreenCenter = false;
  m_workingDlg->ZipAllSize32k = 0;
}

void TFrmLista::buildButtonPanel() {
  auto* panel = new QFrame(this);
  panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  panel->setFixedHeight(kPanelHeight);
  m_pIkonki = panel;
  m_btnPopraw = panelButton(panel, 4, TZorBtnTyp::sbF2, QStringLiteral("Zmień nazwę"),
                            QStringLiteral("Enter - Zmiana nazwy wybranego na liście wydruku"));
  m_btnDodaj = panelButton(panel, 76, TZorBtnTyp::sbF7, QStringLiteral("Dodaj wydruk"),
                           QStringLiteral("F7 - Dokopiowanie nowych wydruków z innego katalogu"));
  m_btnUsun = panelButton(panel, 148, TZorBtnTyp::sbF8, QStringLiteral("Usuń wydruk"),
                          QStringLiteral("F8 - Usunięcie wybranego wydruku z listy"));
  m_btnPopraw->OnClick = [this](TZorBtn&) { RenameSelected(); };
  m_btnDodaj->OnClick = [this](TZorBtn&) { AddPrintouts(); };
  m_btnUsun->OnClick = [this](TZorBtn&) { DeleteSelected(); };

  m_bevel1 = new QFrame(panel);
  m_bevel1->setFrameStyle(QFrame::VLine | QFrame::Sunken);
  m_bevel1->setGeometry(221, 2, 2, kPanelHeight - 4);

  m_rbWgNazw = sortButton(panel, 4, QStringLiteral("Sortuj według &nazw"));
  m_rbWgDat = sortButton(panel, 20, QStringLiteral("Sortuj według &dat"));
  m_rbWgNazw->setChecked(true);
  connect(m_rbWgNazw, &QRadioButton::clicked, this, &TFrmLista::sortClick);
  connect(m_rbWgDat, &QRadioButton::clicked, this, &TFrmLista::sortClick);
}

void TFrmLista::buildList() {
  m_pLista = new QFrame(this);
  m_pLista->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  m_pLista->setLineWidth(1);
  auto* inner = new QVBoxLayout(m_pLista);
  inner->setContentsMargins(2, 2, 2, 2);
  m_lista = new QListWidget(m_pLista);
  m_lista->setObjectName(QStringLiteral("lista"));
  m_lista->setFrameShape(QFrame::NoFrame);
  // The cell height equals the item height, so no line is clipped.
  m_lista->setFont(CellHeightFont(QStringLiteral("Courier New"), kItemHeight, false));
  m_lista->setCursor(Qt::PointingHandCursor);
  m_lista->setSelectionMode(QAbstractItemView::SingleSelection);
  m_lista->setUniformItemSizes(true);
  m_lista->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  m_delegate = new TabbedItemDelegate(kItemHeight, m_lista);
  m_lista->setItemDelegate(m_delegate);
  inner->addWidget(m_lista);
  connect(m_lista, &QListWidget::itemDoubleClicked, this, [this] { OpenSelected(); });
}

void TFrmLista::buildHintBar() {
  m_hb = new THintBar(this);
  m_hb->setFixedHeight(kHintBarHeight);
  m_hb->setBtnWidth(85);
  m_hb->setTextCancel(QStringLiteral("Zamknij"));
  m_hb->setTextAccept(QString());
  m_hb->setAcceptHint(QStringLiteral("Enter - Otwarcie wybranego wydruku"));
  m_hb->setCancelHint(QStringLiteral("Esc - Zamknięcie przeglądarki"));
  m_hb->setHelpHint(QStringLiteral("F1 - ") + QLatin1String(TFrmPodglad::kHelpAddress));
  m_hb->OnAccept = [this](QObject*) { OpenSelected(); };
  m_hb->OnCancel = [this](QObject*) { close(); };
  m_hb->OnHelp = [this] { help(); };
}

}  // namespace zorpokaz
