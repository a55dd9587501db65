// The scratch machine of the launcher's tests: system settings, program
// files and temporary directory in a temporary tree, a stand-in viewer and
// two printouts, and packages made of them by `zorpokaz-cli pack`.
#pragma once

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "launcher/launcherstate.h"
#include "packagemaker.h"

namespace zorpokaz::paczka::test {

// 2025-03-14 09:26:52 local, as the printouts' modification time.
inline const QDateTime kPrintoutTime(QDate(2025, 3, 14), QTime(9, 26, 52));

class Launcher : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(QFileInfo::exists(launcherPath()) && QFileInfo::exists(cliPath())) << "programs not built";
    root = QDir(m_dir.path()).canonicalPath();
    places.configDir = root + "/etc/xdg";
    places.programFilesDir = root + "/opt";
    places.tempDir = root + "/tmp";
    for (const char* d : {"/etc/xdg", "/opt", "/tmp", "/src"}) QDir().mkpath(root + d);
    log = root + "/viewer.log";
    m_env.set("ZP_VIEWER_LOG", log);
    standIn = root + "/src/viewer.sh";
    writeFile(standIn, standInViewer());
    faktura = printoutFile("faktura", "Faktura 1/2026");
    ksiega = printoutFile("Księga główna", "Księga");
  }

  QString printoutFile(const QString& name, const QByteArray& text) {
    const QString path = root + "/src/" + name + ".wyd";
    writeFile(path, printout(text));
    QFile f(path);
    f.open(QIODevice::ReadWrite);
    f.setFileTime(kPrintoutTime, QFileDevice::FileModificationTime);
    return path;
  }

  QString makePackage(const QString& name, const QString& version, const QStringList& printouts,
                      const QString& viewer = {}) {
    const QString out = root + "/" + name;
    pack(viewer.isEmpty() ? standIn : viewer, version, out, printouts);
    return out;
  }

  // An installed viewer of `version` in `dir`, recorded in the system settings.
  void install(const QString& dir, const QString& version, const QString& katalog = {}) {
    QDir().mkpath(dir);
    makePackage("installed.run", version, {});
    QFile::remove(dir + "/zorpokaz");
    ASSERT_TRUE(QFile::copy(root + "/installed.run", dir + "/zorpokaz"));
    writeFile(places.katalogFile(), "[General]\nKatalog=" + (katalog.isEmpty() ? dir : katalog).toUtf8() + "\n");
  }

  QStringList viewerRuns() const {
    const QString text = QString::fromUtf8(readFile(log));
    return text.split('\n', Qt::SkipEmptyParts);
  }

  bool startUp(const QString& package, LauncherState& state) { return StartUp(package, places, ui, state); }

  QTemporaryDir m_dir;
  ScopedEnv m_env;
  QString root, log, standIn, faktura, ksiega;
  LauncherPlaces places;
  RecordingUi ui;
};

}  // namespace zorpokaz::paczka::test
