// The scratch machine of the launcher's tests: system settings, program
// files and temporary directory in a temporary tree, a stand-in viewer and
// two printouts, and packages made of them by `zorpokaz-cli pack`.
#pragma once

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "launcher/launcherstate.h"
#include "launcher/launcherwindow.h"
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

  // An installation in the tree leaves an immutable viewer behind.
  void TearDown() override { testfiles::releaseImmutable(root); }

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

inline QByteArray le32(std::uint32_t v) {
  QByteArray out;
  for (int i = 0; i < 4; ++i) out += char((v >> (8 * i)) & 0xFF);
  return out;
}

// A printout record with a one-byte name length and no time stamp.
inline QByteArray rawRecord(const QByteArray& name, const QByteArray& data) {
  return le32(0) + char(name.size()) + name + le32(0) + le32(std::uint32_t(data.size())) + data;
}

// The file names a stand-in viewer listed ("a/b/").
inline QSet<QString> filesIn(const QString& listed) {
  const QStringList names = listed.split('/', Qt::SkipEmptyParts);
  return {names.begin(), names.end()};
}

// A package run the way the user runs it, through the window.
class Proceed : public Launcher {
 protected:
  // Starts the package, picks the choice and proceeds as the user would.
  bool run(const QString& package, bool view, std::optional<QString> dir = std::nullopt, bool admin = true) {
    if (!StartUp(package, places, ui, state)) return false;
    window = std::make_unique<LauncherWindow>(state, places.tempDir, ui);
    window->SetAdminCheck([admin] { return admin; });
    window->show();
    (view ? window->ViewOption() : window->InstallOption())->setChecked(true);
    if (dir) window->DirectoryEdit()->setText(*dir);
    return window->Proceed();
  }

  QString scratch() const { return root + "/tmp/ZorPokaz.tmp"; }

  LauncherState state;
  std::unique_ptr<LauncherWindow> window;
};

}  // namespace zorpokaz::paczka::test
