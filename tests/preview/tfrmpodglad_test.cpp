#include "preview/tfrmpodglad.h"

#include "printing/printsettings.h"
#include "preview/temfviewer.h"
#include "platform/usersettings.h"
#include "support/printoutwriter.h"
#include "ui/apperror.h"
#include "ui/thintbar.h"
#include "ui/tzorbtn.h"
#include "util/bajery.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>

namespace zorpokaz {
namespace {

// Receives what the desktop would open in a browser.
class UrlCatcher : public QObject {
  Q_OBJECT

 public:
  QList<QUrl> urls;

 public Q_SLOTS:
  void open(const QUrl& url) { urls << url; }
};

class PodgladTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(cfg.isValid());
    ASSERT_TRUE(files.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, cfg.path());
    PrintSettings() = TPrintSettings{};
    previous = SetAppErrorReport([this](const QString& m) { errors << m; });
    TFrmPodglad::SetPrintHandler([this](TFrmPodglad&) { ++prints; });
  }
  void TearDown() override {
    SetAppErrorReport(previous);
    TFrmPodglad::SetPrintHandler({});
  }

  // A printout of `lines` one-field lines: 84 lines fill a page.
  QString printout(const QString& name, int lines) {
    writer::WPrintout p;
    writer::WStyle s;
    s.name = "Domyslny";
    p.styles = {s};
    std::vector<writer::WLine> ls;
    for (int i = 0; i < lines; ++i)
      ls.push_back(writer::line({writer::textField(600, 6000, "Wiersz " + QByteArray::number(i + 1))}));
    p.root.intro = writer::group(ls, true);
    const QString path = files.filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(writer::writePrintout(p));
    return path;
  }
  // Shows the window; loading runs inside the first turn of the event loop.
  static void showAndLoad(TFrmPodglad& w) {
    w.show();
    QCoreApplication::processEvents();
  }
  std::unique_ptr<QSettings> key() { return OpenUserKey(true); }

  QTemporaryDir cfg;
  QTemporaryDir files;
  AppErrorReport previous;
  QStringList errors;
  int prints = 0;
};

TEST_F(PodgladTest, LoadsPageByPageThenOffersPrinting) {
  QStringList labels;
  QString progressText;
  TFrmPodglad w;
  w.OpenFile(printout("raport.wyd", 300));
  EXPECT_EQ(w.PrintoutName(), QStringLiteral("raport"));
  EXPECT_TRUE(w.lblStrona()->isHidden());
  QObject::connect(w.viewer(), &TEmfViewer::OnChange, &w, [&] {
    labels << w.lblStrona()->text();
    if (w.viewer()->PageCount() == 1) {
      EXPECT_FALSE(w.lblStrona()->isHidden());
      EXPECT_TRUE(w.Loading());
      progressText = w.hb()->TextLeft();
      EXPECT_TRUE(w.hb()->TextAccept().isEmpty());  // Drukuj hidden while loading
      QTest::keyClick(w.viewer(), Qt::Key_Return);  // ignored while loading
    }
  });
  showAndLoad(w);
  EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
  EXPECT_EQ(w.windowTitle(), QStringLiteral("ZorPokaz - Podgląd wydruku \"raport\""));
  const int n = w.viewer()->PageCount();
  ASSERT_GE(n, 3);
  QStringList want;
  for (int i = 1; i <= n; ++i) want << QStringLiteral("1/%1").arg(i);
  EXPECT_EQ(labels, want);
  EXPECT_TRUE(progressText.startsWith(QStringLiteral("Tworzenie stron... ")));
  EXPECT_TRUE(progressText.endsWith(QLatin1Char('%')));
  EXPECT_EQ(prints, 0);

  EXPECT_FALSE(w.Loading());
  EXPECT_FALSE(w.LoadAborted());
  EXPECT_EQ(w.hb()->TextAccept(), QStringLiteral("Drukuj"));
  EXPECT_EQ(w.hb()->TextLeft(), QString());
  EXPECT_EQ(BusyCount(), 0);
  EXPECT_FALSE(w.btnStronaUp()->isEnabled());
  EXPECT_TRUE(w.btnStronaDn()->isEnabled());
  EXPECT_EQ(w.viewer()->ZoomLevel(), TEmfZoomLevel::zoomPageH);
  QTest::keyClick(w.viewer(), Qt::Key_Return);
  EXPECT_EQ(prints, 1);
  QTest::keyClick(w.margL(), Qt::Key_Enter, Qt::KeypadModifier);  // from any control
  EXPECT_EQ(prints, 2);
}

TEST_F(PodgladTest, ClosingDuringLoadingStopsTheBuild) {
  TFrmPodglad w;
  w.OpenFile(printout("dlugi.wyd", 84 * 40));
  QObject::connect(w.viewer(), &TEmfViewer::OnChange, &w, [&] {
    if (w.viewer()->PageCount() == 2) QTest::keyClick(w.viewer(), Qt::Key_Escape);
  });
  showAndLoad(w);
  EXPECT_TRUE(w.LoadAborted());
  EXPECT_FALSE(w.isVisible());
  // The page being made when the user closed is still delivered, no more.
  EXPECT_LE(w.viewer()->PageCount(), 3);
  EXPECT_TRUE(w.hb()->TextAccept().isEmpty());
  EXPECT_EQ(BusyCount(), 0);
  EXPECT_TRUE(errors.isEmpty());
}

TEST_F(PodgladTest, ErrorsAreReportedAndTheWindowStaysOpen) {
  QFile bad(files.filePath("zly.wyd"));
  ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
  bad.write("To nie jest wydruk, tylko tekst.");
  bad.close();
  const struct {
    QString path;
    QString message;
  } cases[] = {
      {files.filePath("zly.wyd"), QStringLiteral("Plik nie zawiera prawidłowego wydruku Zorela")},
      {files.filePath("brak.wyd"), QString()},
  };
  for (const auto& c : cases) {
    errors.clear();
    TFrmPodglad w;
    w.OpenFile(c.path);
    showAndLoad(w);
    ASSERT_EQ(errors.size(), 1);
    if (!c.message.isEmpty()) {
      EXPECT_EQ(errors[0], c.message);
    }
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.hb()->TextAccept().isEmpty());
    EXPECT_TRUE(w.hb()->TextLeft().isEmpty());
    EXPECT_EQ(BusyCount(), 0);
    QTest::keyClick(w.viewer(), Qt::Key_Return);
    EXPECT_EQ(prints, 0);
    QTest::keyClick(w.viewer(), Qt::Key_Escape);
    EXPECT_FALSE(w.isVisible());
  }
}

// A printout whose heading repeats without end: the pages laid out before the
// layout gave up stay to be looked at, the error is reported once, and
// nothing is offered for printing.
TEST_F(PodgladTest, ALayoutThatGoesTooFarIsReportedAndItsPagesStay) {
  TFrmPodglad w;
  w.OpenFile(qEnvironmentVariable("ZP_SOURCE_DIR", QDir::currentPath()) + "/tests/corpus/repeated-heading.wyd");
  showAndLoad(w);
  EXPECT_EQ(errors, QStringList{QStringLiteral("Plik nie zawiera prawidłowego wydruku Zorela")});
  EXPECT_EQ(w.viewer()->PageCount(), 67);
  EXPECT_TRUE(w.hb()->TextAccept().isEmpty());
  EXPECT_EQ(BusyCount(), 0);
  QTest::keyClick(w.viewer(), Qt::Key_Return);
  EXPECT_EQ(prints, 0);
}

TEST_F(PodgladTest, PageButtonsStepAndRepeat) {
  TFrmPodglad w;
  w.OpenFile(printout("strony.wyd", 84 * 6));
  showAndLoad(w);
  ASSERT_GE(w.viewer()->PageCount(), 5);
  const int n = w.viewer()->PageCount();
  EXPECT_EQ(w.lblStrona()->text(), QStringLiteral("1/%1").arg(n));

  QTest::mousePress(w.btnStronaDn(), Qt::LeftButton);
  EXPECT_EQ(w.viewer()->PageNr(), 2);  // one step at once
  EXPECT_TRUE(w.timerStrona()->isActive());
  EXPECT_EQ(w.timerStrona()->interval(), 100);
  QTRY_COMPARE_WITH_TIMEOUT(w.viewer()->PageNr(), 3, 5000);  // then one per tick
  QTest::mouseRelease(w.btnStronaDn(), Qt::LeftButton);
  EXPECT_FALSE(w.timerStrona()->isActive());
  EXPECT_EQ(w.lblStrona()->text(), QStringLiteral("3/%1").arg(n));
  EXPECT_TRUE(w.btnStronaUp()->isEnabled());

  QTest::keyClick(w.viewer(), Qt::Key_End);
  EXPECT_EQ(w.viewer()->PageNr(), n);
  EXPECT_FALSE(w.btnStronaDn()->isEnabled());
  QTest::mouseClick(w.btnStronaUp(), Qt::LeftButton);
  EXPECT_EQ(w.viewer()->PageNr(), n - 1);
  EXPECT_FALSE(w.timerStrona()->isActive());

  // Reaching the first page disables the button under the pointer; the
  // repeat ends there instead of running on without its mouse-up.
  w.viewer()->setPageNr(2);
  QTest::mousePress(w.btnStronaUp(), Qt::LeftButton);
  EXPECT_EQ(w.viewer()->PageNr(), 1);
  EXPECT_FALSE(w.btnStronaUp()->isEnabled());
  QTRY_VERIFY_WITH_TIMEOUT(!w.timerStrona()->isActive(), 5000);
}

TEST_F(PodgladTest, NarrowWindowLocksTheMargins) {
  TFrmPodglad w;
  w.resize(599, 560);
  EXPECT_EQ(w.pMarginesy()->width(), 75);
  EXPECT_FALSE(w.margT()->isEnabled());
  EXPECT_EQ(w.lblMarg()->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_EQ(w.margB()->value(), 25);  // kept, only locked
  w.show();
  QTest::mouseClick(w.lblMarg(), Qt::LeftButton);
  EXPECT_EQ(w.width(), 600);
  EXPECT_EQ(w.pMarginesy()->width(), 440);
  EXPECT_TRUE(w.margT()->isEnabled());
  EXPECT_EQ(w.lblMarg()->cursor().shape(), Qt::ArrowCursor);
  w.SkipSettingsSave();
}

TEST_F(PodgladTest, MarginFieldsDriveTheViewer) {
  TFrmPodglad w;
  w.SkipSettingsSave();
  EXPECT_EQ(w.margT()->maximum(), 99);
  EXPECT_EQ(w.margT()->minimum(), 0);
  w.margL()->setValue(20);
  w.margB()->setValue(150);
  EXPECT_EQ(w.viewer()->MargLeft(), 20);
  EXPECT_EQ(w.viewer()->MargBottom(), 99);
  EXPECT_EQ(w.viewer()->MargTop(), 15);
}

TEST_F(PodgladTest, HelpKeyOpensTheMakersPage) {
  UrlCatcher catcher;
  QDesktopServices::setUrlHandler("http", &catcher, "open");
  TFrmPodglad w;
  w.SkipSettingsSave();
  QTest::keyClick(w.viewer(), Qt::Key_F1);
  QDesktopServices::unsetUrlHandler("http");
  ASSERT_EQ(catcher.urls.size(), 1);
  EXPECT_EQ(catcher.urls[0], QUrl(QLatin1String(TFrmPodglad::kHelpAddress)));
  EXPECT_TRUE(w.hb()->HelpHint().startsWith(QStringLiteral("F1 - ")));
}

TEST_F(PodgladTest, FirstRunDefaults) {
  PrintSettings().PrintDlg_Kopie = 3;  // a key that does not exist changes nothing
  TFrmPodglad w;
  w.SkipSettingsSave();
  const QRect wa = GetWorkArea();
  EXPECT_EQ(w.pos(), QPoint(wa.left() + 150, wa.top() + 5));
  EXPECT_EQ(w.size(), QSize(wa.width() - 300, wa.height() - 10));
  EXPECT_EQ(w.viewer()->MargTop(), 15);
  EXPECT_EQ(w.viewer()->MargLeft(), 10);
  EXPECT_EQ(w.viewer()->MargRight(), 10);
  EXPECT_EQ(w.viewer()->MargBottom(), 25);
  EXPECT_FALSE(w.isMaximized());
  EXPECT_EQ(PrintSettings().PrintDlg_Kopie, 3);
  EXPECT_EQ(OpenUserKey(false), nullptr);
}

TEST_F(PodgladTest, SettingsRoundTrip) {
  {
    TFrmPodglad w;
    w.move(120, 40);
    w.resize(520, 540);
    w.margT()->setValue(7);
    w.margL()->setValue(8);
    w.margR()->setValue(9);
    w.margB()->setValue(11);
    PrintSettings().PrintDlg_Tryb = 2;
    PrintSettings().PrintDlg_NazwaDruk = QStringLiteral("Biuro");
    w.close();
  }
  auto k = OpenUserKey(false);
  ASSERT_NE(k, nullptr);
  EXPECT_EQ(ReadDword(*k, "FrmPodglad_Left"), 120);
  EXPECT_EQ(ReadDword(*k, "FrmPodglad_Top"), 40);
  EXPECT_EQ(ReadDword(*k, "FrmPodglad_Width"), 520);
  EXPECT_EQ(ReadDword(*k, "FrmPodglad_Height"), 540);
  EXPECT_EQ(ReadDword(*k, "FrmPodglad_Max"), 0);
  EXPECT_EQ(ReadDword(*k, "Margin_Bottom"), 11);
  EXPECT_EQ(ReadDword(*k, "PrintDlg_Tryb"), 2);

  PrintSettings() = TPrintSettings{};
  TFrmPodglad again;
  again.SkipSettingsSave();
  EXPECT_EQ(again.pos(), QPoint(120, 40));
  EXPECT_EQ(again.size(), QSize(520, 540));
  EXPECT_EQ(again.margT()->value(), 7);
  EXPECT_EQ(again.viewer()->MargTop(), 7);
  EXPECT_EQ(again.viewer()->MargLeft(), 8);
  EXPECT_EQ(again.viewer()->MargRight(), 9);
  EXPECT_EQ(again.viewer()->MargBottom(), 11);
  EXPECT_EQ(PrintSettings().PrintDlg_Tryb, 2);
  EXPECT_EQ(PrintSettings().PrintDlg_NazwaDruk, QStringLiteral("Biuro"));
}

TEST_F(PodgladTest, AMissingValueEndsItsGroup) {
  {
    auto k = key();
    WriteDword(*k, "Margin_Top", 3);
    WriteDword(*k, "Margin_Left", 4);
    WriteDword(*k, "Margin_Bottom", 6);  // after the missing Margin_Right: never read
    WriteDword(*k, "FrmPodglad_Width", 400);
    WriteDword(*k, "FrmPodglad_Height", 520);
    WriteDword(*k, "FrmPodglad_Top", 20);
    k->setValue("FrmPodglad_Left", "lewo");  // of another type
    WriteDword(*k, "PrintDlg_Kopie", 5);
    FlushUserKey(*k);
  }
  TFrmPodglad w;
  w.SkipSettingsSave();
  EXPECT_EQ(w.margT()->value(), 3);
  EXPECT_EQ(w.margL()->value(), 4);
  EXPECT_EQ(w.margR()->value(), 10);
  EXPECT_EQ(w.margB()->value(), 25);
  EXPECT_EQ(w.viewer()->MargTop(), 15);
  EXPECT_EQ(w.viewer()->MargLeft(), 10);
  EXPECT_EQ(w.viewer()->MargRight(), 10);
  EXPECT_EQ(w.viewer()->MargBottom(), 25);
  const QRect wa = GetWorkArea();
  EXPECT_EQ(w.size(), QSize(wa.width() - 300, wa.height() - 10));  // bounds group skipped
  EXPECT_EQ(PrintSettings().PrintDlg_Kopie, 5);                     // the next groups still read
  // Changing a field hands all four to the viewer.
  w.margB()->setValue(30);
  EXPECT_EQ(w.viewer()->MargTop(), 3);
  EXPECT_EQ(w.viewer()->MargLeft(), 4);
  EXPECT_EQ(w.viewer()->MargBottom(), 30);
}

TEST_F(PodgladTest, StoredWindowIsCutToTheWorkArea) {
  const QRect wa = GetWorkArea();
  {
    auto k = key();
    WriteDword(*k, "FrmPodglad_Width", 3000);
    WriteDword(*k, "FrmPodglad_Height", 3000);
    WriteDword(*k, "FrmPodglad_Top", wa.top() + 50);
    WriteDword(*k, "FrmPodglad_Left", wa.left() + 100);
    FlushUserKey(*k);
  }
  TFrmPodglad w;
  w.SkipSettingsSave();
  EXPECT_EQ(w.pos(), QPoint(wa.left() + 100, wa.top() + 50));
  EXPECT_EQ(w.width(), wa.width() - 100);
  EXPECT_EQ(w.height(), std::max(500, wa.height() - 50));
}

TEST_F(PodgladTest, MaximizedWindowStoresOnlyTheFlag) {
  {
    auto k = key();
    WriteDword(*k, "FrmPodglad_Width", 450);
    WriteDword(*k, "FrmPodglad_Height", 510);
    WriteDword(*k, "FrmPodglad_Top", 30);
    WriteDword(*k, "FrmPodglad_Left", 60);
    FlushUserKey(*k);
  }
  {
    TFrmPodglad w;
    w.setWindowState(Qt::WindowMaximized);
    w.close();
  }
  auto k = OpenUserKey(false);
  EXPECT_EQ(ReadDword(*k, "FrmPodglad_Max"), 1);
  EXPECT_EQ(ReadDword(*k, "FrmPodglad_Width"), 450);
  EXPECT_EQ(ReadDword(*k, "FrmPodglad_Left"), 60);
  TFrmPodglad again;
  again.SkipSettingsSave();
  EXPECT_TRUE(again.windowState() & Qt::WindowMaximized);
  EXPECT_EQ(again.pos(), QPoint(60, 30));  // the bounds a restore returns to
}

TEST_F(PodgladTest, TempModeWritesNothing) {
  TFrmPodglad w;
  w.SkipSettingsSave();
  w.margT()->setValue(1);
  PrintSettings().PrintDlg_Kopie = 9;
  w.close();
  EXPECT_EQ(OpenUserKey(false), nullptr);
}

// The page counter never cuts its digits: the pages panel grows to the left
// as far as the margins panel allows, and where even that is too narrow,
// "Strona:" gives way.
TEST(PodgladPagesPanel, CounterKeepsEveryDigit) {
  struct Row {
    int room, label, counter;
    int width;
    bool labelShown;
    int counterLeft;
  };
  const Row rows[] = {
      {1000, 62, 30, 149, true, 71},    // "1/1": the usual 149
      {1000, 62, 102, 194, true, 71},   // "99999/99999": 5 + 62 + 4 + 102 + 21
      {160, 62, 102, 160, false, 5},    // a 600-pixel window with its margins shown
      {100, 62, 30, 149, true, 71},     // never below 149
  };
  for (const Row& r : rows) {
    const auto l = TFrmPodglad::LayOutPagesPanel(r.room, r.label, r.counter);
    EXPECT_EQ(l.width, r.width) << r.room << "/" << r.counter;
    EXPECT_EQ(l.labelShown, r.labelShown) << r.room << "/" << r.counter;
    EXPECT_EQ(l.counter.left(), r.counterLeft) << r.room << "/" << r.counter;
    EXPECT_EQ(l.counter.right() + 1, l.width - 21) << "ends at the step buttons";
    EXPECT_GE(l.counter.width(), r.counter) << r.room << "/" << r.counter;
  }
}

TEST_F(PodgladTest, PageCounterShowsTheLastPageOfAHugePrintoutInFull) {
  TFrmPodglad w;
  w.SkipSettingsSave();
  for (const int width : {1200, 600, 350}) {
    w.resize(width, 560);
    w.show();
    w.lblStrona()->setText(QStringLiteral("99999/99999"));
    w.resize(width, 561);  // lays the strip out again
    QLabel* counter = w.lblStrona();
    const QFontMetrics fm(counter->font());
    EXPECT_GE(counter->width(), fm.horizontalAdvance(counter->text())) << width;
    const QRect onPanel = counter->geometry();
    EXPECT_LE(onPanel.right(), w.btnStronaUp()->geometry().left()) << "clear of the step buttons";
    EXPECT_GE(onPanel.left(), 0);
    const QWidget* panel = counter->parentWidget();
    EXPECT_LE(panel->geometry().right(), w.width() - 1) << width;
    if (width >= 600) {
      EXPECT_GE(panel->geometry().left(), w.pMarginesy()->geometry().right()) << "the margins stay visible";
    }
  }
}

}  // namespace
}  // namespace zorpokaz

#include "tfrmpodglad_test.moc"
