#include "library/install.h"

#include "install/directoryrights.h"
#include "install/freedesktop.h"
#include "install/machineentries.h"
#include "install/removalscript.h"
#include "platform/errors.h"
#include "scratchtree.h"

#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QSvgRenderer>
#include <gtest/gtest.h>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zorpokaz {
namespace {

using installtest::readFile;
using installtest::ScratchTree;
using installtest::typeKeys;
using installtest::whenShown;
using installtest::writeFile;

// Fails and closes any message window that comes up while it lives, so an
// unexpected question never hangs a test.
class NoModal : public QObject {
 public:
  NoModal() {
    m_timer.setInterval(20);
    connect(&m_timer, &QTimer::timeout, this, [] {
      if (QWidget* w = QApplication::activeModalWidget()) {
        ADD_FAILURE() << "unexpected window: " << w->windowTitle().toStdString();
        w->close();
      }
    });
    m_timer.start();
  }

 private:
  QTimer m_timer;
};

struct stat statOf(const QString& path) {
  struct stat st {};
  lstat(QFile::encodeName(path).constData(), &st);
  return st;
}

gid_t usersGid() {
  const group* g = getgrnam("users");
  return g ? g->gr_gid : static_cast<gid_t>(-1);
}

QString shortcutOf(const ScratchTree& tree) { return tree.root + "/home/Pulpit/ZorPokaz.desktop"; }

// Every file an installation leaves, with the bytes it must hold (empty: any).
std::vector<std::pair<QString, QByteArray>> installedFiles(const ScratchTree& tree, const InstallPaths& p) {
  return {{p.machineKeyFile(), {}},
          {p.uninstallKeyFile(), {}},
          {p.mimePackageFile(), MimePackageXml()},
          {p.typeIconFile(), {}},
          {p.appIconFile(), {}},
          {p.desktopEntryFile(), AssociationEntry(tree.exe)},
          {shortcutOf(tree), ShortcutEntry(tree.exe, tree.programDir)}};
}

void confirmRemoval(const QString& programDir) {
  whenShown([programDir](TMsgOkienko& w, const QString& text) {
    EXPECT_EQ(text, "Odinstalowanie przeglądarki wydruków Zorela 2001|Czy na pewno chcesz odinstalować program "
                    "ZorPokaz\ri wszystkie wydruki zapisane w katalogu\r" + programDir + " ?");
    typeKeys(w, "tak");
  });
}

TEST(Install, WritesEveryEntryReadableByAll) {
  ZP_REQUIRE_ROOT();
  ScratchTree tree;
  writeFile(tree.programDir + "faktura.wyd", "w");
  writeFile(tree.root + "/cel", "target");
  ASSERT_EQ(symlink(QFile::encodeName(tree.root + "/cel").constData(),
                    QFile::encodeName(tree.programDir + "link.wyd").constData()), 0);
  const struct stat exeBefore = statOf(tree.exe), targetBefore = statOf(tree.root + "/cel");
  const InstallPaths paths = tree.paths();
  NoModal noModal;
  Install(paths);

  for (const auto& [file, bytes] : installedFiles(tree, paths)) {
    ASSERT_TRUE(QFileInfo::exists(file)) << file.toStdString();
    if (!bytes.isEmpty()) {
      EXPECT_EQ(readFile(file), bytes) << file.toStdString();
    }
    const mode_t mode = file == shortcutOf(tree) ? 0755 : 0644;
    EXPECT_EQ(statOf(file).st_mode & 07777, mode) << file.toStdString();
  }
  EXPECT_TRUE(QSvgRenderer(readFile(paths.appIconFile())).isValid());
  EXPECT_TRUE(QSvgRenderer(readFile(paths.typeIconFile())).isValid());
  EXPECT_EQ(readFile(paths.mimeappsListFile()),
            "[Default Applications]\napplication/x-zorpokaz-wydruk=zorpokaz.desktop;\n");

  // The machine entries as the system settings scope reads them.
  QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, tree.root + "/etc/xdg");
  {
    QSettings machine(QSettings::NativeFormat, QSettings::SystemScope, "ZorPokaz", "ZorPokaz");
    EXPECT_EQ(machine.value("Katalog").toString(), tree.programDir);
    QSettings uninstall(QSettings::NativeFormat, QSettings::SystemScope, "ZorPokaz", "Uninstall");
    EXPECT_EQ(uninstall.value("DisplayName").toString(), QString::fromUtf8(kDisplayName));
    EXPECT_EQ(uninstall.value("UninstallString").toString(), "\"" + tree.exe + "\" UNINST");
  }
  QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, "/etc/xdg");

  // The directory and its printouts belong to the users group; the program,
  // and what a printout-named link points to, stay as they were.
  const struct stat dir = statOf(tree.programDir);
  EXPECT_EQ(dir.st_gid, usersGid());
  EXPECT_EQ(dir.st_mode & 07070, S_ISGID | 0070 | (installtest::immutableSupported(tree.root) ? 0 : S_ISVTX));
  const struct stat printout = statOf(tree.programDir + "faktura.wyd");
  EXPECT_EQ(printout.st_gid, usersGid());
  EXPECT_EQ(printout.st_mode & 0060, 0060u);
  const struct stat exeAfter = statOf(tree.exe), targetAfter = statOf(tree.root + "/cel");
  EXPECT_EQ(exeAfter.st_mode, exeBefore.st_mode);
  EXPECT_EQ(exeAfter.st_gid, exeBefore.st_gid);
  EXPECT_EQ(targetAfter.st_mode, targetBefore.st_mode);
  EXPECT_EQ(targetAfter.st_gid, targetBefore.st_gid);
}

TEST(Install, RightsNeverFollowALinkInPlaceOfTheDirectory) {
  ZP_REQUIRE_ROOT();
  ScratchTree tree;
  const QString elsewhere = tree.root + "/elsewhere";
  QDir().mkpath(elsewhere);
  writeFile(elsewhere + "/a.wyd", "w");
  ASSERT_EQ(symlink(QFile::encodeName(elsewhere).constData(), QFile::encodeName(tree.root + "/link").constData()), 0);
  const struct stat dirBefore = statOf(elsewhere), fileBefore = statOf(elsewhere + "/a.wyd");
  EXPECT_THROW(ShareLibrary(tree.root + "/link/", QString()), Error);
  EXPECT_EQ(statOf(elsewhere).st_mode, dirBefore.st_mode);
  EXPECT_EQ(statOf(elsewhere).st_gid, dirBefore.st_gid);
  EXPECT_EQ(statOf(elsewhere + "/a.wyd").st_gid, fileBefore.st_gid);
}

TEST(Install, TwiceRewritesWithoutDuplicatesAndKeepsForeignLines) {
  ZP_REQUIRE_ROOT();
  ScratchTree tree;
  const InstallPaths paths = tree.paths();
  const QByteArray foreign = "[Default Applications]\ntext/plain=gedit.desktop\n";
  writeFile(paths.mimeappsListFile(), foreign);
  NoModal noModal;
  Install(paths);
  std::vector<QByteArray> first;
  for (const auto& [file, bytes] : installedFiles(tree, paths)) first.push_back(readFile(file));
  const QByteArray list = readFile(paths.mimeappsListFile());
  Install(paths);
  size_t i = 0;
  for (const auto& [file, bytes] : installedFiles(tree, paths)) EXPECT_EQ(readFile(file), first[i++]) << file.toStdString();
  EXPECT_EQ(readFile(paths.mimeappsListFile()), list);
  EXPECT_EQ(list, "[Default Applications]\napplication/x-zorpokaz-wydruk=zorpokaz.desktop;\ntext/plain=gedit.desktop\n");
  EXPECT_EQ(QDir(paths.desktopDir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList{"ZorPokaz.desktop"});  // no leftovers of the replacing write
}

TEST(Install, WithoutDesktopOrGroupStillRegisters) {
  ZP_REQUIRE_ROOT();
  ScratchTree tree;
  InstallPaths paths = tree.paths();
  paths.desktopDir = tree.root + "/no desktop";
  paths.programDir = tree.root + "/gone/";  // the rights step fails, silently
  NoModal noModal;
  Install(paths);
  EXPECT_FALSE(QFileInfo::exists(paths.desktopDir));
  EXPECT_TRUE(QFileInfo::exists(paths.machineKeyFile()));
  EXPECT_TRUE(QFileInfo::exists(paths.desktopEntryFile()));
}

TEST(Install, UnwritableEntryIsAnErrorAfterTheEarlierSteps) {
  ZP_REQUIRE_ROOT();
  ScratchTree tree;
  InstallPaths paths = tree.paths();
  writeFile(tree.root + "/usr", "a file where a directory must be");
  NoModal noModal;
  try {
    Install(paths);
    ADD_FAILURE() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot create directory " + (tree.root + "/usr/share/mime/packages").toStdString());
  }
  EXPECT_TRUE(QFileInfo::exists(paths.machineKeyFile()));
  EXPECT_TRUE(QFileInfo::exists(shortcutOf(tree)));
}

TEST(Uninstall, RemovesEverythingItsUsersSettingsAndLeavesTheScript) {
  ZP_REQUIRE_ROOT();
  ScratchTree tree;
  writeFile(tree.programDir + "faktura.wyd", "w");
  const InstallPaths paths = tree.paths();
  writeFile(paths.mimeappsListFile(), "[Default Applications]\ntext/plain=gedit.desktop\n");
  {
    NoModal noModal;
    Install(paths);
  }
  for (const QString& settings : paths.userSettingsFiles) writeFile(settings, "[General]\nMargin_Top=5\n");
  writeFile(tree.root + "/etc/xdg/ZorPokaz/kept.conf", "foreign");
  confirmRemoval(tree.programDir);
  Uninstall(paths);

  for (const auto& [file, bytes] : installedFiles(tree, paths)) EXPECT_FALSE(QFileInfo::exists(file)) << file.toStdString();
  for (const QString& settings : paths.userSettingsFiles) EXPECT_FALSE(QFileInfo::exists(settings)) << settings.toStdString();
  EXPECT_EQ(readFile(paths.mimeappsListFile()), "[Default Applications]\ntext/plain=gedit.desktop\n");
  EXPECT_EQ(readFile(tree.root + "/etc/xdg/ZorPokaz/kept.conf"), "foreign");
  const QString script = tree.root + "/tmp/ZorPokazRemove.sh";
  EXPECT_EQ(tree.startedScripts, QStringList{script});
  EXPECT_EQ(readFile(script), RemovalScript::Text(tree.programDir, script));
  EXPECT_TRUE(QFileInfo::exists(tree.programDir + "faktura.wyd"));  // the script's work, after the viewer

  // The installed viewer could not be deleted; removal let it go.
  QProcess sh;
  sh.setStandardInputFile(QProcess::nullDevice());
  sh.start(QStringLiteral("/bin/sh"), {script});
  ASSERT_TRUE(sh.waitForFinished(-1));
  EXPECT_FALSE(QFileInfo::exists(tree.programDir));
}

TEST(Uninstall, NotConfirmedChangesNothing) {
  ZP_REQUIRE_ROOT();
  ScratchTree tree;
  const InstallPaths paths = tree.paths();
  {
    NoModal noModal;
    Install(paths);
  }
  writeFile(paths.userSettingsFiles.first(), "[General]\n");
  // Root's start closed the shared directory; declined, it is shared again.
  ASSERT_EQ(chmod(QFile::encodeName(tree.programDir).constData(), statOf(tree.programDir).st_mode & 07755), 0);
  whenShown([](TMsgOkienko& w, const QString&) { typeKeys(w, "n"); });
  Uninstall(paths);
  for (const auto& [file, bytes] : installedFiles(tree, paths)) EXPECT_TRUE(QFileInfo::exists(file)) << file.toStdString();
  EXPECT_TRUE(QFileInfo::exists(paths.userSettingsFiles.first()));
  EXPECT_TRUE(tree.startedScripts.isEmpty());
  EXPECT_EQ(statOf(tree.programDir).st_mode & 0070, 0070u);
}

TEST(Uninstall, NothingInstalledIsPassedOver) {
  ZP_REQUIRE_ROOT();
  ScratchTree tree;
  const InstallPaths paths = tree.paths();
  confirmRemoval(tree.programDir);
  EXPECT_NO_THROW(Uninstall(paths));
  EXPECT_FALSE(QFileInfo::exists(paths.mimeappsListFile()));
  EXPECT_EQ(tree.startedScripts.size(), 1);
}

// Without root both routines stop at the rights message and change nothing.
TEST(Install, NonAdministratorGetsTheRightsMessageAndNothingChanges) {
  ScratchTree tree;
  const InstallPaths paths = tree.paths();
  const struct stat dirBefore = statOf(tree.programDir);
  const bool root = geteuid() == 0;
  struct Case {
    const char* prefix;
    void (*run)(const InstallPaths&);
  } cases[] = {{"Instalacja", Install}, {"Odinstalowanie", Uninstall}};
  for (const Case& c : cases) {
    QString shown;
    whenShown([&shown](TMsgOkienko& w, const QString& text) {
      shown = text;
      w.btnOk()->click();
    });
    if (root) {
      ASSERT_EQ(seteuid(65534), 0);  // nobody
    }
    c.run(paths);
    if (root) {
      ASSERT_EQ(seteuid(0), 0);
    }
    EXPECT_EQ(shown, QStringLiteral("Brak uprawnień !|") + c.prefix + " programu wymaga uprawnień administratora systemu.");
  }
  EXPECT_FALSE(QFileInfo::exists(paths.machineKeyFile()));
  EXPECT_FALSE(QFileInfo::exists(shortcutOf(tree)));
  EXPECT_FALSE(QFileInfo::exists(paths.removalScriptFile()));
  EXPECT_EQ(statOf(tree.programDir).st_mode, dirBefore.st_mode);
}

}  // namespace
}  // namespace zorpokaz
