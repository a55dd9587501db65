// A scratch machine for installation tests: the XDG variables, TMPDIR and the
// desktop point into a temporary directory for the fixture's life, and a
// program directory holds a stand-in viewer and printouts. Message windows
// are answered by `whenShown`.
#pragma once

#include "install/installpaths.h"
#include "support/cirequire.h"
#include "support/testfiles.h"
#include "ui/tmsgokienko.h"

#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <unistd.h>

namespace zorpokaz::installtest {

using testfiles::immutableSupported;
using testfiles::readFile;
using testfiles::writeFile;

// Runs `act` on the next modal message window, with its "title|message"
// (line breaks as "\r").
inline void whenShown(std::function<void(TMsgOkienko&, const QString&)> act) {
  QTimer::singleShot(0, [act] {
    auto* w = qobject_cast<TMsgOkienko*>(QApplication::activeModalWidget());
    ASSERT_NE(w, nullptr) << "no message window";
    QString text = w->lbl()->text();
    text.replace(QLatin1Char('\n'), QLatin1Char('\r'));
    act(*w, w->windowTitle() + QLatin1Char('|') + text);
  });
}

inline void typeKeys(QWidget& w, const char* keys) {
  for (const char* k = keys; *k; ++k) QTest::keyClicks(&w, QString(QLatin1Char(*k)));
}

class ScratchTree {
 public:
  // `programDirName` is the name of the program directory inside the tree.
  explicit ScratchTree(const QString& programDirName = QStringLiteral("Zor Pokaz")) {
    root = QDir(m_dir.path()).canonicalPath();
    set("XDG_DATA_DIRS", root + "/usr/share");
    set("XDG_CONFIG_DIRS", root + "/etc/xdg");
    set("XDG_DATA_HOME", root + "/home/.local/share");
    set("XDG_CONFIG_HOME", root + "/home/.config");
    set("XDG_DESKTOP_DIR", root + "/home/Pulpit");
    set("TMPDIR", root + "/tmp");
    set("SUDO_UID", QString());
    set("PKEXEC_UID", QString());
    for (const char* dir : {"/home/Pulpit", "/tmp", "/home/.config"}) QDir().mkpath(root + dir);
    programDir = root + QLatin1Char('/') + programDirName + QLatin1Char('/');
    exe = programDir + QLatin1String(kViewerFileName);
    QDir().mkpath(programDir);
    writeFile(exe, "#!/bin/sh\n");
  }
  ~ScratchTree() {
    testfiles::releaseImmutable(root);
    for (const auto& [name, value] : m_saved) {
      if (value)
        qputenv(name.constData(), *value);
      else
        qunsetenv(name.constData());
    }
  }

  // The places of this tree; settings of two users in it, removal script
  // recorded instead of started.
  InstallPaths paths() {
    InstallPaths p = InstallPaths::FromEnvironment(exe, programDir);
    p.userSettingsFiles = {root + "/home/.config/ZorPokaz.conf", root + "/other/.config/ZorPokaz.conf"};
    p.startRemovalScript = [this](const QString& script) { startedScripts << script; };
    p.trustedViewer = exe;  // the stand-in plays the running viewer
    return p;
  }

  QString root;
  QString programDir;
  QString exe;
  QStringList startedScripts;

 private:
  void set(const char* name, const QString& value) {
    if (!m_saved.count(name))
      m_saved[name] = qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt;
    if (value.isEmpty())
      qunsetenv(name);
    else
      qputenv(name, QFile::encodeName(value));
  }
  QTemporaryDir m_dir;
  std::map<QByteArray, std::optional<QByteArray>> m_saved;
};

// Installation needs root; as anyone else the tests that run it are skipped.
#define ZP_REQUIRE_ROOT() \
  ZP_REQUIRE(fixtures::RootMissing("installation writes machine-wide entries and changes the directory's group"))

}  // namespace zorpokaz::installtest
