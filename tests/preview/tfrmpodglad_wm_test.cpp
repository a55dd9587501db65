// The preview window under a window manager that frames it: a virtual X
// display (Xvfb) with openbox, both started for the test. The bounds the
// window defaults to, stores and restores are its outer bounds, title bar and
// frame included, and its 350 × 500 minimum is the outer size. The checks
// run in a copy of this test program on that display (Qt picks its platform
// once per process); this process starts the display and reads the verdict.
#include "preview/tfrmpodglad.h"

#include "platform/usersettings.h"
#include "support/printoutwriter.h"
#include "ui/apperror.h"
#include "ui/thintbar.h"
#include "util/bajery.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>

namespace zorpokaz {
namespace {

constexpr char kChildVariable[] = "ZP_WM_CHILD_CONFIG";

// An X server and a window manager for one test, stopped with it.
class FramedDisplay {
 public:
  bool start(const QString& scratch) {
    const QString numberFile = scratch + "/display";
    // Xvfb picks a free display itself and writes its number to descriptor 3.
    m_server.start("sh", {"-c", "exec Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>\"$0\"", numberFile});
    if (!m_server.waitForStarted(5000) || !waitFor([&] { return !readNumber(numberFile).isEmpty(); })) return false;
    name = ":" + readNumber(numberFile);
    const QString ready = scratch + "/wm-ready";
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", name);
    m_wm.setProcessEnvironment(env);
    m_wm.start("openbox", {"--sm-disable", "--startup", "touch " + ready});
    return m_wm.waitForStarted(5000) && waitFor([&] { return QFile::exists(ready); });
  }
  ~FramedDisplay() {
    for (QProcess* p : {&m_wm, &m_server}) {
      if (p->state() == QProcess::NotRunning) continue;
      p->terminate();
      if (!p->waitForFinished(5000)) p->kill();
      p->waitForFinished();
    }
  }
  QString name;

 private:
  static QString readNumber(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()).trimmed() : QString();
  }
  template <typename Done>
  bool waitFor(Done done) {
    for (int i = 0; i < 200; ++i) {
      if (done()) return true;
      QThread::msleep(50);
    }
    return false;
  }
  QProcess m_server;
  QProcess m_wm;
};

// Waits until the window manager has framed the window and the window has
// fitted its bounds to the frame.
bool framed(TFrmPodglad& w, const QRect& outer) {
  return QTest::qWaitFor([&] { return w.frameGeometry() == outer && w.geometry() != outer; }, 10000);
}

QString describe(const QRect& r) {
  return QStringLiteral("(%1, %2, %3 x %4)").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// A one-page printout for the window to show.
QString writeOnePage(const QString& dir) {
  writer::WPrintout p;
  p.root.intro = writer::group({writer::line({writer::textField(600, 6000, "Jedna strona")})});
  QDir().mkpath(dir);
  const QString path = dir + "/jedna.wyd";
  QFile f(path);
  if (f.open(QIODevice::WriteOnly)) f.write(writer::writePrintout(p));
  return path;
}

// The checks, on the framed display.
void checkBoundsOnFramedDisplay() {
  const QString dir = qEnvironmentVariable(kChildVariable);
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir);
  QStringList errors;
  SetAppErrorReport([&errors](const QString& message) { errors << message; });
  const QString printout = writeOnePage(dir);
  const QRect wa = GetWorkArea();
  {
    SCOPED_TRACE("first run: the default bounds");
    TFrmPodglad w;
    w.OpenFile(printout);
    w.show();
    const QRect expected(wa.left() + 150, wa.top() + 5, wa.width() - 300, wa.height() - 10);
    EXPECT_TRUE(framed(w, expected)) << describe(w.frameGeometry()).toStdString() << " for "
                                     << describe(expected).toStdString();
    EXPECT_GT(w.geometry().top(), w.frameGeometry().top()) << "a title bar above the client";
    const QPoint barBottom = w.hb()->mapToGlobal(QPoint(0, w.hb()->height()));
    EXPECT_LE(barBottom.y(), wa.bottom() + 1) << "Drukuj and Zamknij are on the screen";

    SCOPED_TRACE("the smallest size is the outer one");
    w.resize(10, 10);
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.frameGeometry().size() == QSize(350, 500); }, 5000))
        << describe(w.frameGeometry()).toStdString();

    SCOPED_TRACE("stored as outer bounds");
    w.SetOuterBounds(QRect(100, 80, 700, 560));
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.frameGeometry() == QRect(100, 80, 700, 560); }, 5000))
        << describe(w.frameGeometry()).toStdString();
    w.close();
  }
  {
    const auto key = OpenUserKey(false);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(ReadDword(*key, "FrmPodglad_Left"), 100);
    EXPECT_EQ(ReadDword(*key, "FrmPodglad_Top"), 80);
    EXPECT_EQ(ReadDword(*key, "FrmPodglad_Width"), 700);
    EXPECT_EQ(ReadDword(*key, "FrmPodglad_Height"), 560);
  }
  {
    SCOPED_TRACE("restored as outer bounds");
    TFrmPodglad w;
    w.OpenFile(printout);
    w.SkipSettingsSave();
    w.show();
    EXPECT_TRUE(framed(w, QRect(100, 80, 700, 560))) << describe(w.frameGeometry()).toStdString();
  }
  EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
  SetAppErrorReport({});
}

TEST(PodgladUnderWindowManager, BoundsAreOuterBounds) {
  if (qEnvironmentVariableIsSet(kChildVariable)) {
    checkBoundsOnFramedDisplay();
    return;
  }
  if (QStandardPaths::findExecutable("Xvfb").isEmpty() || QStandardPaths::findExecutable("openbox").isEmpty())
    GTEST_SKIP() << "Xvfb and openbox are needed (scripts/setup.sh installs them)";
  QTemporaryDir scratch;
  ASSERT_TRUE(scratch.isValid());
  FramedDisplay display;
  ASSERT_TRUE(display.start(scratch.path())) << "no framed virtual display";

  QProcess child;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("DISPLAY", display.name);
  env.insert("QT_QPA_PLATFORM", "xcb");
  env.insert(kChildVariable, scratch.path() + "/config");
  child.setProcessEnvironment(env);
  child.setProcessChannelMode(QProcess::MergedChannels);
  child.start(QCoreApplication::applicationFilePath(),
              {"--gtest_filter=PodgladUnderWindowManager.BoundsAreOuterBounds"});
  if (!child.waitForFinished(120000)) {
    child.kill();
    child.waitForFinished();
    FAIL() << "the checks did not finish: " << child.readAll().toStdString();
  }
  const QByteArray report = child.readAll();
  EXPECT_EQ(child.exitCode(), 0) << report.toStdString();
  EXPECT_TRUE(report.contains("[  PASSED  ] 1 test")) << report.toStdString();
}

}  // namespace
}  // namespace zorpokaz
