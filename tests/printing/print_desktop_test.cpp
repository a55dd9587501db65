// Printing as a person prints: the real zorpokaz on a virtual X display,
// started on a printout, driven by keys sent through the window system
// (xdotool) — Escape to show the printout without copying it, Enter in the
// preview, the mode's accelerator and Enter in the print dialog — onto the
// default queue of a scheduler of the test's own. The PDFs the queue writes
// are read back by their ink: page k of the printout carries k letters "I".
// Fresh settings, so the remembered order is the first-use one (reverse).
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include "printing/inkpages.h"
#include "printing/privatecups.h"
#include "support/printoutwriter.h"
#include "support/samples.h"
#include "support/virtualdisplay.h"
#include "support/xdotool.h"

namespace zorpokaz {
namespace {

using testing::QueueJob;

// Page k holds one line of k letters "I", large and far apart.
QByteArray letterPrintout(int pages) {
  writer::WPrintout p;
  writer::WStyle big;
  big.name = "Duzy";
  big.fontName = "Arial";
  big.fontStyle = 1;  // bold
  big.charHeight = 25.0f;
  big.charsPerLine = 21;
  big.charWidth = 210.0f / 21;
  p.styles = {big};
  for (int k = 1; k <= pages; ++k) {
    QByteArray text;
    for (int i = 0; i < k; ++i)
      text += i ? "  I" : "I";
    writer::WBlock page;
    page.newPageBefore = k > 1;
    page.intro = writer::group({writer::line({writer::textField(writer::mmUnits(10), writer::mmUnits(190), text, "Duzy")})});
    p.root.children.push_back(page);
  }
  return writer::writePrintout(p);
}

class PrintDesktop : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* tool : {"Xvfb", "xdotool"})
      if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
        if (qEnvironmentVariable("CI") == QLatin1String("true"))
          FAIL() << tool << " is missing";
        GTEST_SKIP() << tool << " is missing";
      }
    ZP_START_PRIVATE_CUPS(cups);
    const QString why = display.start();
    ASSERT_TRUE(why.isEmpty()) << why.toStdString();
    env = cups.childEnvironment();
    env.insert("DISPLAY", display.name);
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("HOME", scratch.filePath("home"));
    env.insert("XDG_CONFIG_HOME", scratch.filePath("config"));
    env.insert("XDG_DATA_HOME", scratch.filePath("data"));
    env.insert("TMPDIR", scratch.path());
    xdo.setEnvironment(env);
    QDir().mkpath(scratch.filePath("home"));
    printout = scratch.filePath("raport.wyd");
    QFile f(printout);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(letterPrintout(5)) > 0);
  }

  void TearDown() override {
    if (viewer.state() != QProcess::NotRunning) {
      viewer.kill();
      viewer.waitForFinished();
    }
  }

  // Waits (bounded) for a visible window whose title holds `title`, gives it
  // the keyboard and presses `keys` one after another; the window.
  QByteArray keysTo(const QString& title, const QStringList& keys) {
    const QByteArray window = xdo.waitForWindow(title, [this] { return viewer.state() == QProcess::Running; });
    if (window.isEmpty()) return window;
    xdo.focus(window);
    xdo.keys(keys);
    return window;
  }

  // The program started on the printout, shown without copying, printed with
  // `modeKeys` pressed in the print dialog, the turning question answered
  // when there is one, and closed again.
  std::vector<QueueJob> printAsAPerson(const QStringList& modeKeys, int jobs, bool turn) {
    viewer.setProcessEnvironment(env);
    viewer.setProcessChannelMode(QProcess::ForwardedChannels);
    viewer.start(QCoreApplication::applicationDirPath() + QStringLiteral("/../src/zorpokaz"), {printout});
    EXPECT_TRUE(viewer.waitForStarted(10000));
    keysTo(QStringLiteral("ZorPokaz - ") + printout, {"Escape"});  // "Nie": show it at once
    keysTo(QStringLiteral("\"raport\""), {"Return"});
    keysTo(QStringLiteral("Wybierz drukarkę i parametry drukowania"), modeKeys + QStringList{"Return"});
    if (turn)
      keysTo(QStringLiteral("Czekam na odwrócenie kartek"), {"alt+o"});
    const std::vector<QueueJob> arrived = cups.waitForJobs(jobs);
    keysTo(QStringLiteral("\"raport\""), {"Escape"});
    EXPECT_TRUE(viewer.waitForFinished(30000)) << "the program did not end";
    EXPECT_EQ(viewer.exitCode(), 0);
    return arrived;
  }

  static QStringList sheets(const std::vector<QueueJob>& jobs, bool landscapeSides = false) {
    QStringList out;
    for (const QueueJob& job : jobs)
      out << job.name() + ": " + testing::inkSheets(job.pdf, landscapeSides).join(QLatin1Char(' '));
    return out;
  }

  testing::PrivateCups cups;
  testing::VirtualDisplay display;
  testing::Xdotool xdo;
  QTemporaryDir scratch;
  QProcessEnvironment env;
  QString printout;
  QProcess viewer;
};

TEST_F(PrintDesktop, EnterEnterPrintsTheWholePrintoutInTheRememberedOrder) {
  EXPECT_EQ(sheets(printAsAPerson({}, 1, false)), QStringList{"raport: 5 4 3 2 1"});
}

TEST_F(PrintDesktop, ReducedChosenByItsAcceleratorPrintsLandscapeHalves) {
  EXPECT_EQ(sheets(printAsAPerson({"alt+z"}, 1, false), true), QStringList{"raport: 5|_ 3|4 1|2"});
}

TEST_F(PrintDesktop, BookletPrintsTwoPassesAroundTheTurningQuestion) {
  EXPECT_EQ(sheets(printAsAPerson({"alt+k"}, 2, true), true),
            (QStringList{"raport (1): 2|_ 4|5", "raport (2): _|3 _|1"}));
}

// The print dialog's picture of the sheets on the real window: it changes
// when the booklet's accelerator is pressed, and the sheets then printed are
// the booklet's.
TEST_F(PrintDesktop, TheSheetPictureFollowsTheModeChosenByItsAccelerator) {
  viewer.setProcessEnvironment(env);
  viewer.setProcessChannelMode(QProcess::ForwardedChannels);
  viewer.start(QCoreApplication::applicationDirPath() + QStringLiteral("/../src/zorpokaz"), {printout});
  ASSERT_TRUE(viewer.waitForStarted(10000));
  keysTo(QStringLiteral("ZorPokaz - ") + printout, {"Escape"});
  keysTo(QStringLiteral("\"raport\""), {"Return"});
  const QString title = QStringLiteral("Wybierz drukarkę i parametry drukowania");
  const QByteArray window = keysTo(title, {});
  ASSERT_FALSE(window.isEmpty());
  auto picture = [&] {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QStringLiteral("import"), {"-window", QString::fromLatin1(window), "png:-"});
    p.waitForFinished(20000);
    return QImage::fromData(p.readAllStandardOutput(), "PNG");
  };
  const QImage normal = picture();
  keysTo(title, {"alt+k"});
  QThread::msleep(300);
  const QImage booklet = picture();
  ASSERT_FALSE(normal.isNull());
  ASSERT_EQ(normal.size(), booklet.size());
  const QRect column(645, 140, 215, 190);  // the sheets, right of the original layout
  EXPECT_NE(normal.copy(column), booklet.copy(column));
  keysTo(title, {"Return"});  // and print, the turning question answered
  keysTo(QStringLiteral("Czekam na odwrócenie kartek"), {"alt+o"});
  const std::vector<QueueJob> arrived = cups.waitForJobs(2);
  EXPECT_EQ(sheets(arrived, true), (QStringList{"raport (1): 2|_ 4|5", "raport (2): _|3 _|1"}));
  keysTo(QStringLiteral("\"raport\""), {"Escape"});
  EXPECT_TRUE(viewer.waitForFinished(30000));
}

}  // namespace
}  // namespace zorpokaz
