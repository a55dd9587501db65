// The built launcher run as a user runs it, on a virtual X display, driven by
// synthetic keys: the view choice ends with the viewer started in the scratch
// directory, which is gone afterwards; the install choice asks about the
// printout already there, tells that installation ended, and leaves the
// viewer and the printouts in the chosen directory. Needs Xvfb and xdotool
// (the setup script installs both).
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QThread>
#include <gtest/gtest.h>

#include "support/cirequire.h"

#include <unistd.h>

#include "launcher/packagecontent.h"
#include "launcherfixture.h"

namespace zorpokaz::paczka {
namespace {

using namespace test;

// A stand-in viewer that also notes whether the launcher's window is on
// screen while it runs.
QByteArray watchingViewer() {
  return "#!/bin/sh\n"
         "shown=$(xdotool search --onlyvisible --name 'ZorPokaz - ' 2>/dev/null | wc -l)\n"
         "p=$(readlink -f \"$0\")\n"
         "printf '%s|%s|%s|shown=%s\\n' \"$p\" \"$*\" \"$(ls -A \"$(dirname \"$p\")\" | tr '\\n' '/')\" \"$shown\" "
         ">> \"$ZP_VIEWER_LOG\"\n";
}

class Display {
 public:
  // The server picks a free display itself and names it on its standard
  // output, so tests running side by side never race for one.
  bool start() {
    m_server.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
    if (!m_server.waitForStarted(5000)) return false;
    QByteArray number;
    while (!number.endsWith('\n') && m_server.waitForReadyRead(10000)) number += m_server.readAllStandardOutput();
    if (number.trimmed().isEmpty()) return false;
    name = ":" + QString::fromLatin1(number.trimmed());
    return true;
  }
  ~Display() {
    if (m_server.state() != QProcess::NotRunning) {
      m_server.terminate();
      if (!m_server.waitForFinished(5000)) m_server.kill();
      m_server.waitForFinished();
    }
  }
  QString name;

 private:
  QProcess m_server;
};

class Desktop : public Launcher {
 protected:
  void SetUp() override {
    Launcher::SetUp();
    ZP_REQUIRE(fixtures::ToolMissing({"Xvfb", "xdotool"}, "xvfb, xdotool"));
    ASSERT_TRUE(display.start()) << "no virtual display";
    writeFile(standIn, watchingViewer());
    env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", display.name);
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("TMPDIR", places.tempDir);
    env.insert("XDG_CONFIG_DIRS", places.configDir);
    env.insert("ZP_VIEWER_LOG", log);
  }

  // xdotool on the display; its standard output.
  QByteArray xdotool(const QStringList& args) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start("xdotool", args);
    if (!p.waitForFinished(20000)) {
      p.kill();
      p.waitForFinished();
      ADD_FAILURE() << "xdotool " << args.join(' ').toStdString() << " did not finish";
      return {};
    }
    return p.readAllStandardOutput().trimmed();
  }

  // Waits for a window with `title`, gives it the keyboard and types `keys`.
  void keysTo(const QString& title, const QStringList& keys) {
    const QByteArray window = xdotool({"search", "--sync", "--onlyvisible", "--name", title}).split('\n').value(0);
    ASSERT_FALSE(window.isEmpty()) << "no window " << title.toStdString();
    xdotool({"windowfocus", "--sync", window});
    // The X focus is there at once; the window takes the keys as its own only
    // once it has handled that focus, and a shortcut pressed before is lost
    // (seen under a loaded sanitizer build).
    QThread::msleep(300);
    for (const QString& k : keys) {
      if (k.startsWith("type:"))
        xdotool({"type", "--delay", "5", k.mid(5)});
      else
        xdotool({"key", "--clearmodifiers", k});
    }
  }

  void startLauncher(const QString& package) {
    launcher.setProcessEnvironment(env);
    launcher.setProcessChannelMode(QProcess::ForwardedChannels);
    launcher.start(package, {});
    ASSERT_TRUE(launcher.waitForStarted(10000));
  }

  void expectLauncherEnds() {
    EXPECT_TRUE(launcher.waitForFinished(30000)) << "the launcher did not end";
    if (launcher.state() != QProcess::NotRunning) launcher.kill();
    launcher.waitForFinished();
    EXPECT_EQ(launcher.exitCode(), 0);
  }

  Display display;
  QProcessEnvironment env;
  QProcess launcher;
};

TEST_F(Desktop, ViewChoiceRunsTheViewerHiddenAndRemovesTheScratchDirectory) {
  const QString package = makePackage("przyklad.run", "2.2.1.0", {faktura, ksiega});
  startLauncher(package);
  keysTo("Paczka z wydrukami", {"Return"});
  expectLauncherEnds();
  const QStringList runs = viewerRuns();
  ASSERT_EQ(runs.size(), 1);
  const QStringList parts = runs[0].split('|');
  ASSERT_EQ(parts.size(), 4);
  EXPECT_EQ(parts[0], places.tempDir + "/ZorPokaz.tmp/zorpokaz");
  EXPECT_EQ(parts[1], "TEMP");
  const QStringList files = parts[2].split('/', Qt::SkipEmptyParts);
  EXPECT_EQ(QSet<QString>(files.begin(), files.end()), (QSet<QString>{"faktura.wyd", "Księga główna.wyd", "zorpokaz"}));
  EXPECT_EQ(parts[3], "shown=0");
  EXPECT_FALSE(QFileInfo::exists(places.tempDir + "/ZorPokaz.tmp"));
}

TEST_F(Desktop, InstallChoiceAsksAboutAKeptPrintoutAndEndsWithItsMessage) {
  ZP_REQUIRE(fixtures::RootMissing("installing the viewer needs root"));
  const QString dir = root + "/opt/Zor Pokaz";
  QDir().mkpath(dir);
  writeFile(dir + "/faktura.wyd", "old");
  const QString package = makePackage("przyklad.run", "2.2.1.0", {faktura, ksiega});
  startLauncher(package);
  // Install choice, the directory typed over the proposed one, then Enter.
  keysTo("Paczka z wydrukami", {"alt+z", "alt+k", "ctrl+a", "type:" + dir, "Return"});
  keysTo("Potwierdź", {"Escape"});  // keep the printout already there
  keysTo("Informacja", {"Return"});
  expectLauncherEnds();
  const QStringList parts = viewerRuns().value(0).split('|');
  ASSERT_EQ(parts.size(), 4);
  EXPECT_EQ(parts[0], dir + "/zorpokaz");
  EXPECT_EQ(parts[1], "INST");
  EXPECT_EQ(parts[3], "shown=1");  // the window stays while the viewer installs
  EXPECT_EQ(readFile(dir + "/faktura.wyd"), "old");
  EXPECT_EQ(QFileInfo(dir + "/faktura.wyd").lastModified(), kPrintoutTime);
  EXPECT_EQ(readFile(dir + "/Księga główna.wyd"), readFile(ksiega));
  EXPECT_EQ(readFile(dir + "/zorpokaz"), readFile(standIn));
}

}  // namespace
}  // namespace zorpokaz::paczka
