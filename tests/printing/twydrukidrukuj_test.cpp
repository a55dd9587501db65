#include "printing/twydrukidrukuj.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

#include "printing/printsettings.h"
#include "preview/temfviewer.h"
#include "sheets/eprintdlgerror.h"
#include "printing/printersystem.h"
#include "printing/recordingtarget.h"
#include "printing/testpages.h"
#include "ui/apperror.h"
#include "ui/thintbar.h"
#include "ui/tzorbtn.h"
#include "util/bajery.h"

namespace zorpokaz {
namespace {

// Printers without a spooler: a list, a current index, a scripted driver
// dialog and a recording target.
class FakePrinterSystem : public PrinterSystem {
 public:
  explicit FakePrinterSystem(const PageImageList& pages) : target(pages) {}

  std::vector<InstalledPrinter> printers{{"Laser", ""}, {"Atrament", "USB001"}};
  int current = 0;
  std::vector<int> selected;
  bool settingsMissing = false;
  std::vector<bool> colourApplied;
  bool propertiesOk = true;
  bool propertiesMonochrome = false;
  std::vector<bool> propertiesAskedColour;
  testing::RecordingTarget target;

  std::vector<InstalledPrinter> Printers() override { return printers; }
  int CurrentIndex() override { return printers.empty() ? -1 : current; }
  void Select(int index) override {
    selected.push_back(index);
    current = index;
  }
  void ApplyColorSetting(bool colour) override {
    if (settingsMissing)
      throw EPrintDlgError("Błąd przy pobieraniu ustawień drukarki !");
    colourApplied.push_back(colour);
  }
  bool ShowProperties(QWidget*, bool colour, bool& monochrome) override {
    propertiesAskedColour.push_back(colour);
    monochrome = propertiesMonochrome;
    return propertiesOk;
  }
  PrintTarget& Target() override { return target; }
};

// One dialog over a viewer of n pages, with the fake printers installed and
// every message captured.
struct DialogRun {
  PageImageList pages;
  TEmfViewer viewer;
  FakePrinterSystem* system;
  QPointer<TWydrukiDrukuj> dlg;
  QStringList reports;
  QStringList errors;
  QStringList questions;
  bool answer = true;
  AppErrorReport oldReport;
  std::unique_ptr<PrinterSystem> oldSystem;

  explicit DialogRun(int n, bool withViewer = true) : pages(testing::makeTextPages(n)) {
    auto fake = std::make_unique<FakePrinterSystem>(pages);
    system = fake.get();
    oldSystem = SetPrinterSystem(std::move(fake));
    oldReport = SetAppErrorReport([this](const QString& m) { reports << m; });
    for (const auto& p : pages)
      viewer.AddPage(p);
    viewer.setMargLeft(10);
    viewer.setMargRight(10);
    viewer.setMargTop(15);
    viewer.setMargBottom(25);
    dlg = new TWydrukiDrukuj(nullptr);
    dlg->PrintoutTitle = QStringLiteral("raport");
    if (withViewer)
      dlg->Source = &viewer;
    dlg->AskYesNoFn = [this](const QString& t, const QString&) { questions << t; return answer; };
    dlg->AskOkCancelFn = [this](const QString& t, const QString&) {
      questions << t;
      return answer;
    };
    dlg->ShowErrorFn = [this](const QString& t, const QString& m) { errors << t + " | " + m; };
  }
  ~DialogRun() {
    delete dlg.data();
    SetAppErrorReport(oldReport);
    SetPrinterSystem(std::move(oldSystem));
  }
  void show() {
    dlg->show();
    QCoreApplication::sendPostedEvents(dlg);
  }
  bool closed() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return dlg.isNull();
  }
};

class PrintDialog : public ::testing::Test {
 protected:
  void SetUp() override { PrintSettings() = TPrintSettings{}; }
  void TearDown() override { PrintSettings() = TPrintSettings{}; }
};

TEST_F(PrintDialog, RangeCaptionsCountThePagesInPolish) {
  const std::pair<int, const char*> cases[] = {
      {1, "&Całość (1 strona)"}, {3, "&Całość (3 strony)"}, {12, "&Całość (12 stron)"},
      {22, "&Całość (22 strony)"}, {25, "&Całość (25 stron)"}};
  for (const auto& [n, caption] : cases) {
    DialogRun run(n);
    run.show();
    EXPECT_EQ(run.dlg->rbStrony1->text(), QString::fromUtf8(caption));
    EXPECT_EQ(run.dlg->rbStrony2->text(), QStringLiteral("&Bieżąca strona (1)"));
    EXPECT_TRUE(run.dlg->rbStrony2->isEnabled());
  }
}

TEST_F(PrintDialog, SetUpErrorsAreReportedAndCloseTheDialog) {
  {
    DialogRun run(2);
    run.system->printers.clear();
    run.show();
    EXPECT_EQ(run.reports, QStringList{"Brak zainstalowanej drukarki !"});
    EXPECT_TRUE(run.closed());
  }
  {
    DialogRun run(2, false);
    run.show();
    EXPECT_EQ(run.reports, QStringList{"Nie ustawiono listy stron !"});
    EXPECT_TRUE(run.closed());
  }
  {
    DialogRun run(0);
    run.show();
    EXPECT_EQ(run.reports, QStringList{"Liczba stron jest równa zeru !"});
    EXPECT_TRUE(run.closed());
  }
}

TEST_F(PrintDialog, PrinterListAndTheRememberedPrinter) {
  {
    PrintSettings().PrintDlg_NazwaDruk = QStringLiteral("Atrament  [USB001]");
    DialogRun run(1);
    run.show();
    ASSERT_EQ(run.dlg->cbDrukarki->count(), 2);
    EXPECT_EQ(run.dlg->cbDrukarki->itemText(0), QStringLiteral("Laser"));
    EXPECT_EQ(run.dlg->cbDrukarki->itemText(1), QStringLiteral("Atrament  [USB001]"));
    EXPECT_EQ(run.dlg->cbDrukarki->currentIndex(), 1);
    EXPECT_EQ(run.system->current, 1);
  }
  {
    PrintSettings().PrintDlg_NazwaDruk = QStringLiteral("atrament  [USB001]");  // case differs
    DialogRun run(1);
    run.system->current = 0;
    run.show();
    EXPECT_EQ(run.dlg->cbDrukarki->currentIndex(), 0);
  }
  EXPECT_EQ(PrinterEntry({QString(90, QLatin1Char('d')), QStringLiteral("LPT1:")}),
            QString(80, QLatin1Char('d')) + QStringLiteral("  [LPT1:]"));
}

TEST_F(PrintDialog, BookletGreysTwoSidedAndSwapsItsLabel) {
  DialogRun run(4);
  run.dlg->cbDwustronnie->setChecked(true);
  run.show();
  run.dlg->btnKsiazeczka->Click();
  EXPECT_TRUE(run.dlg->btnKsiazeczka->Down());
  EXPECT_FALSE(run.dlg->btnNormalne->Down());
  EXPECT_FALSE(run.dlg->cbDwustronnie->isEnabled());
  EXPECT_TRUE(run.dlg->cbDwustronnie->isChecked());  // keeps its tick while greyed
  EXPECT_TRUE(run.dlg->lblDwustronnie1->isHidden());
  EXPECT_FALSE(run.dlg->lblDwustronnie2->isHidden());
  // Shown again, the frame enables every control; the dialog's rule stays.
  run.dlg->hide();
  run.dlg->show();
  QCoreApplication::sendPostedEvents(run.dlg, TZorForm::WM_FRAMESTATE);
  EXPECT_TRUE(run.dlg->edStrony->isEnabled());
  EXPECT_FALSE(run.dlg->cbDwustronnie->isEnabled());
  run.dlg->btnNormalne->Click();
  EXPECT_TRUE(run.dlg->cbDwustronnie->isEnabled());
  EXPECT_FALSE(run.dlg->lblDwustronnie1->isHidden());
  EXPECT_TRUE(run.dlg->lblDwustronnie2->isHidden());
}

TEST_F(PrintDialog, AnotherPrinterResetsTheTroubleshootingOptions) {
  PrintSettings().PrintDlg_NoAbort = true;
  PrintSettings().PrintDlg_NoEMF = true;
  DialogRun run(1);
  run.show();
  EXPECT_TRUE(run.dlg->cbNoAbortProc->isChecked());
  EXPECT_TRUE(run.dlg->rbBmpMode->isChecked());
  run.dlg->cbDrukarki->setCurrentIndex(1);
  Q_EMIT run.dlg->cbDrukarki->activated(1);
  EXPECT_EQ(run.system->current, 1);
  EXPECT_FALSE(run.dlg->cbNoAbortProc->isChecked());
  EXPECT_TRUE(run.dlg->rbEmfMode->isChecked());
  EXPECT_FALSE(run.dlg->rbBmpMode->isChecked());
}

TEST_F(PrintDialog, FocusInThePageSetSelectsItsOption) {
  DialogRun run(5);
  run.show();
  run.dlg->activateWindow();
  EXPECT_TRUE(run.dlg->rbStrony1->isChecked());
  QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason);
  QApplication::sendEvent(run.dlg->edStrony, &in);
  EXPECT_TRUE(run.dlg->rbStrony4->isChecked());
}

TEST_F(PrintDialog, ZamknijRemembersEverythingButTheMode) {
  DialogRun run(1);
  run.show();
  run.dlg->btnZmniejszone->Click();
  run.dlg->cbOdwrotnie->setChecked(false);
  run.dlg->cbKolorowy->setChecked(true);
  run.dlg->edKopie->setValue(3);
  run.dlg->hb()->OnCancel(nullptr);
  const TPrintSettings& s = PrintSettings();
  EXPECT_EQ(s.PrintDlg_Tryb, 1);
  EXPECT_FALSE(s.PrintDlg_Odwrotnie);
  EXPECT_TRUE(s.PrintDlg_Kolor);
  EXPECT_EQ(s.PrintDlg_Kopie, 3);
  EXPECT_EQ(s.PrintDlg_NazwaDruk, QStringLiteral("Laser"));
  EXPECT_TRUE(run.closed());
}

TEST_F(PrintDialog, DriverDialogMonochromeUnticksColourAndCancelChangesNothing) {
  DialogRun run(1);
  run.show();
  run.dlg->cbKolorowy->setChecked(true);
  run.system->propertiesOk = false;
  run.system->propertiesMonochrome = true;
  run.dlg->btnWlasciwosci->Click();
  EXPECT_TRUE(run.dlg->cbKolorowy->isChecked());
  run.system->propertiesOk = true;
  run.dlg->btnWlasciwosci->Click();
  EXPECT_FALSE(run.dlg->cbKolorowy->isChecked());
  EXPECT_EQ(run.system->propertiesAskedColour, (std::vector<bool>{true, true}));
  run.system->propertiesMonochrome = false;
  run.dlg->btnWlasciwosci->Click();  // colour in the driver does not tick the box
  EXPECT_FALSE(run.dlg->cbKolorowy->isChecked());
}

TEST_F(PrintDialog, DrukujPrintsThePageSetAndRemembersTheMode) {
  DialogRun run(5);
  run.show();
  run.dlg->btnZmniejszone->Click();
  run.dlg->rbStrony4->setChecked(true);
  run.dlg->edStrony->setText(QStringLiteral("  4, 1-2 "));
  run.dlg->cbKolorowy->setChecked(true);
  QTest::keyClick(run.dlg->edStrony, Qt::Key_Return);
  EXPECT_EQ(run.system->target.summary(true), QStringList{"raport: 4|_ 1|2 end"});
  EXPECT_EQ(run.system->colourApplied, std::vector<bool>{true});
  EXPECT_EQ(PrintSettings().PrintDlg_Tryb, 2);
  EXPECT_TRUE(run.reports.isEmpty());
  EXPECT_EQ(BusyCount(), 0);
  EXPECT_TRUE(run.closed());
}

// Keys as a person presses them, each sent to the control that has the focus
// at that moment: "alt+c", "shift+tab", "return", or "type:2,4".
void pressKeys(const QStringList& keys) {
  for (const QString& k : keys) {
    QWidget* target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr) << "no control has the focus before " << k.toStdString();
    if (k.startsWith(QStringLiteral("type:"))) {
      QTest::keyClicks(target, k.mid(5));
      QTest::qWait(20);
      continue;
    }
    const QKeyCombination key = QKeySequence::fromString(k)[0];
    QTest::keyClick(target, key.key(), key.keyboardModifiers());
    // An accelerator clicks its button a moment later, as it would for a person.
    QTest::qWait(150);
  }
}

// Enter in the dialog prints the range the person chose, whatever is left in
// the page-set field and wherever the focus was left: disabling the controls
// for printing moves the focus along the chain (into the page-set field) and
// must not change the choice on the way.
TEST_F(PrintDialog, EnterPrintsTheChosenRangeWhereverTheFocusWasLeft) {
  PrintSettings().PrintDlg_Odwrotnie = false;
  struct Case {
    const char* what;
    QStringList keys;
    const char* printed;
  };
  const Case cases[] = {
      {"every choice as it comes", {"return"}, "raport: 1 2 3 4 5 end"},
      {"whole, stale set, focus in copies", {"alt+p", "type:2", "alt+c", "alt+i", "return"},
       "raport: 1 2 3 4 5 end"},
      {"whole, stale set, focus on its button", {"alt+p", "type:2", "alt+c", "return"},
       "raport: 1 2 3 4 5 end"},
      {"current, stale set, focus on its button", {"alt+p", "type:3", "alt+b", "return"},
       "raport: 4 end"},
      {"current, stale set, focus in copies", {"alt+p", "type:3", "alt+b", "alt+i", "return"},
       "raport: 4 end"},
      {"set, focus in the set", {"alt+p", "type:2,5", "return"}, "raport: 2 5 end"},
      {"set, focus in copies", {"alt+p", "type:2,5", "alt+i", "return"}, "raport: 2 5 end"},
      {"set, focus on its button", {"alt+p", "type:2,5", "shift+tab", "return"},
       "raport: 2 5 end"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DialogRun run(5);
    run.viewer.setPageNr(4);
    run.show();
    run.dlg->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(run.dlg));
    pressKeys(c.keys);
    EXPECT_EQ(run.system->target.summary(false), QStringList{c.printed});
    EXPECT_EQ(run.errors, QStringList());
    EXPECT_TRUE(run.closed());
  }
}

// A page-set error leaves the dialog open with the choices as they were and
// the focus back in the field to correct.
TEST_F(PrintDialog, AfterAPageSetErrorTheChoicesStayAsTheyWere) {
  DialogRun run(5);
  run.show();
  run.dlg->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(run.dlg));
  pressKeys({"alt+p", "type:7", "alt+i", "return"});
  EXPECT_EQ(run.errors.size(), 1);
  EXPECT_TRUE(run.system->target.documents.empty());
  EXPECT_TRUE(run.dlg->rbStrony4->isChecked());
  EXPECT_EQ(run.dlg->edStrony->text(), QStringLiteral("7"));
  EXPECT_EQ(QApplication::focusWidget(), run.dlg->edStrony);
  pressKeys({"backspace", "type:3", "return"});
  EXPECT_EQ(run.system->target.summary(false), QStringList{"raport: 3 end"});
}

TEST_F(PrintDialog, PrintsWithTheViewersMarginsAndCurrentPage) {
  DialogRun run(3);
  run.viewer.setMargLeft(25);
  run.show();
  run.dlg->rbStrony2->setChecked(true);
  run.dlg->hb()->OnAccept(nullptr);
  ASSERT_EQ(run.system->target.documents.size(), 1u);
  const auto& drawn = run.system->target.documents[0].sides.at(0).pages.at(0);
  EXPECT_EQ(drawn.page, 1);
  // 25 mm at 72 dpi, the printable area 10 px in.
  EXPECT_EQ(drawn.rect.left, 71 - 10);
  EXPECT_TRUE(drawn.blackWhite);
}

TEST_F(PrintDialog, PageSetErrorsKeepTheDialogOpenForCorrection) {
  DialogRun run(20);
  run.show();
  run.dlg->rbStrony4->setChecked(true);
  run.dlg->edStrony->setText(QStringLiteral("18-25"));
  run.dlg->hb()->OnAccept(nullptr);
  EXPECT_EQ(run.errors, QStringList{"Błąd w podanym zestawie stron ! | Podany numer strony "
                                    "(21)\rprzekracza ilość dostepnych stron !"});
  EXPECT_TRUE(run.system->target.documents.empty());
  EXPECT_TRUE(run.dlg->edStrony->isEnabled());
  EXPECT_TRUE(run.dlg->pFrame()->isEnabled());
  EXPECT_EQ(run.dlg->edStrony->text(), QStringLiteral("18-25"));
  EXPECT_FALSE(run.closed());

  // An empty number is the runtime's conversion error, for the default report.
  run.dlg->edStrony->setText(QStringLiteral(",5"));
  run.dlg->hb()->OnAccept(nullptr);
  EXPECT_EQ(run.reports, QStringList{"'' is not a valid integer value"});
  EXPECT_TRUE(run.dlg->pFrame()->isEnabled());
  EXPECT_EQ(BusyCount(), 0);
  EXPECT_FALSE(run.closed());
}

TEST_F(PrintDialog, PrinterWithoutSettingsPrintsNothing) {
  DialogRun run(2);
  run.system->settingsMissing = true;
  run.show();
  run.dlg->hb()->OnAccept(nullptr);
  EXPECT_EQ(run.reports, QStringList{"Błąd przy pobieraniu ustawień drukarki !"});
  EXPECT_TRUE(run.system->target.documents.empty());
  EXPECT_FALSE(run.closed());
}

TEST_F(PrintDialog, ClosingWhilePrintingCancelsInsteadOfClosing) {
  DialogRun run(3);
  run.show();
  run.dlg->edKopie->setValue(2);
  run.dlg->cbOdwrotnie->setChecked(false);
  run.system->target.onDraw = [&run] {
    EXPECT_FALSE(run.dlg->pFrame()->isEnabled());
    run.dlg->close();  // refused while the frame is disabled
  };
  run.dlg->hb()->OnAccept(nullptr);
  EXPECT_TRUE(run.dlg->CancelRequested());
  EXPECT_EQ(run.system->target.summary(false),
            (QStringList{"raport: 1 abort", "raport: 1 abort"}));
  EXPECT_TRUE(run.closed());  // the action ends by closing the dialog
}

TEST_F(PrintDialog, TwoSidedQuestionsAreAskedWithTheirTitles) {
  PrintSettings().PrintDlg_Dwustronnie = true;
  DialogRun run(2);
  run.show();
  run.dlg->edKopie->setValue(2);
  run.answer = false;
  run.dlg->hb()->OnAccept(nullptr);
  EXPECT_EQ(run.questions,
            (QStringList{"Czekam na odwrócenie kartek ...", "Drukowac kopie?"}));
  EXPECT_EQ(run.system->target.summary(false), QStringList{"raport (1): 2 end"});
}

TEST_F(PrintDialog, AdvancedOptionsTakeThePlaceOfTheOptions) {
  DialogRun run(1);
  run.show();
  EXPECT_FALSE(run.dlg->pOpcje1->isHidden());
  EXPECT_TRUE(run.dlg->pOpcje2->isHidden());
  run.dlg->btnOpcje2Pokaz->Click();
  EXPECT_TRUE(run.dlg->pOpcje1->isHidden());
  EXPECT_FALSE(run.dlg->pOpcje2->isHidden());
  EXPECT_EQ(run.dlg->pOpcje2->geometry(), QRect(290, 122, 340, 220));
  run.dlg->ZorBtn1->Click();
  EXPECT_FALSE(run.dlg->pOpcje1->isHidden());
  EXPECT_TRUE(run.dlg->pOpcje2->isHidden());
}

TEST_F(PrintDialog, FixedSizeCaptionAndHintBar) {
  DialogRun run(1);
  // Wider than the original 640 x 380 by the sheets column alone: every
  // other control keeps its place, and the column lies right of them all.
  EXPECT_EQ(run.dlg->size(), QSize(880, 380));
  EXPECT_EQ(run.dlg->MinFormWidth(), run.dlg->MaxFormWidth());
  EXPECT_EQ(run.dlg->gbDrukarka->geometry(), QRect(15, 35, 615, 71));
  EXPECT_EQ(run.dlg->gbStrony->geometry(), QRect(15, 115, 261, 141));
  EXPECT_EQ(run.dlg->pKopie->geometry(), QRect(15, 270, 261, 71));
  EXPECT_EQ(run.dlg->pOpcje1->geometry(), QRect(290, 122, 340, 220));
  EXPECT_GE(run.dlg->gbKartki->geometry().left(), 640);
  EXPECT_LE(run.dlg->gbKartki->geometry().right(), 880 - 15);
  EXPECT_EQ(run.dlg->pCapText()->Caption(),
            QStringLiteral(" Wybierz drukarkę i parametry drukowania"));
  EXPECT_EQ(run.dlg->hb()->TextAccept(), QStringLiteral("Drukuj"));
  EXPECT_EQ(run.dlg->hb()->TextCancel(), QStringLiteral("Zamknij"));
  EXPECT_EQ(run.dlg->hb()->BtnWidth(), 90);
  EXPECT_FALSE(run.dlg->hb()->HelpButton());
}

}  // namespace
}  // namespace zorpokaz
