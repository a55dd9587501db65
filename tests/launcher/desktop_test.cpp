// The built launcher run as a user runs it, on a virtual X display, driven by
// synthetic keys: the view choice ends with the viewer started in the scratch
// directory, which is gone afterwards; the install choice asks about the
// printout already there, tells that installation ended, and leaves the
// viewer and the printouts in the chosen directory. Needs Xvfb and xdotool
// (the setup script installs both).
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include "support/cirequire.h"
#include "support/virtualdisplay.h"
#include "support/xdotool.h"

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

class Desktop : public Launcher {
 protected:
  void SetUp() override {
    Launcher::SetUp();
    ZP_REQUIRE(fixtures::ToolMissing({"Xvfb", "xdotool"}, "xvfb, xdotool"));
    const QString why = display.start();
    ASSERT_TRUE(why.isEmpty()) << why.toStdString();
    writeFile(standIn, watchingViewer());
    env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", display.name);
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("TMPDIR", places.tempDir);
    env.insert("XDG_CONFIG_DIRS", places.configDir);
    env.insert("ZP_VIEWER_LOG", log);
    xdo.setEnvironment(env);
  }

  // Waits for a window with `title`, gives it the keyboard and types `keys`
  // ("type:" and a text types the text).
  void keysTo(const QString& title, const QStringList& keys) {
    const QByteArray window = xdo.waitForWindow(title, [this] { return launcher.state() == QProcess::Running; });
    ASSERT_FALSE(window.isEmpty());
    xdo.focus(window);
    for (const QString& k : keys) {
      if (k.startsWith("type:"))
        xdo.type(k.mid(5), 5);
      else
        xdo.keys({k});
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

  testing::VirtualDisplay display;
  testing::Xdotool xdo;
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
