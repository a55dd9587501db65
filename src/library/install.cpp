#include "library/install.h"

#include "install/association.h"
#include "install/directoryrights.h"
#include "install/freedesktop.h"
#include "install/machineentries.h"
#include "install/removalscript.h"
#include "install/systemfiles.h"
#include "platform/errors.h"
#include "ui/okienko.h"
#include "util/bajery.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zorpokaz {

namespace {

const QString kUninstallTitle = QStringLiteral("Odinstalowanie przeglądarki wydruków Zorela 2001");

void createShortcut(const InstallPaths& paths) {
  WriteSystemFile(DesktopShortcutPath(paths), ShortcutEntry(paths.exe, paths.programDir), 0755,
                  paths.desktopOwner, paths.desktopGroup);
}

// Settings files live in directories their users own: the file is removed
// through its directory, never through a link in place of that directory.
void removeUserSettings(const QStringList& files) {
  for (const QString& path : files) {
    const QFileInfo info(path);
    const int dirFd = open(QFile::encodeName(info.absolutePath()).constData(),
                           O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (dirFd < 0) continue;  // that user has no settings directory
    unlinkat(dirFd, QFile::encodeName(info.fileName()).constData(), 0);
    close(dirFd);
  }
}

// Root's start of UNINST closed a shared library to the group; not removed
// after all, it is opened again as installation left it.
void reopenShared(const InstallPaths& paths) {
  struct stat st {};
  const group* users = getgrnam(kUsersGroup);
  if (!IsNtPlatform() || !users || ::stat(QFile::encodeName(paths.programDir).constData(), &st) != 0 ||
      st.st_gid != users->gr_gid || !(st.st_mode & S_ISGID))
    return;
  try {
    ShareLibrary(paths.programDir, paths.trustedViewer);
  } catch (const std::exception&) {
    // It stays closed: safe, only adding printouts waits for the next INST.
  }
}

void writeRemovalScript(const InstallPaths& paths) {
  const QString script = paths.removalScriptFile();
  RemovalScript::Write(script, RemovalScript::Text(paths.programDir, script));
  if (paths.startRemovalScript) paths.startRemovalScript(script);
}

}  // namespace

bool IsAdmin() { return geteuid() == 0; }

bool RequireAdmin(const QString& prefix) {
  if (IsNtPlatform() && !IsAdmin()) {
    ShowError(QStringLiteral("Brak uprawnień !"),
              prefix + QStringLiteral(" programu wymaga uprawnień administratora systemu."));
    return false;
  }
  return true;
}

QString DesktopShortcutPath(const InstallPaths& paths) {
  if (paths.desktopDir.isEmpty() || !QFileInfo(paths.desktopDir).isDir()) throw EAbort();
  return paths.desktopDir + QLatin1Char('/') + QLatin1String(kShortcutName);
}

void Install(const InstallPaths& paths) {
  if (!RequireAdmin(QStringLiteral("Instalacja"))) return;
  try {
    createShortcut(paths);
  } catch (const std::exception&) {
    // Installation goes on without a shortcut.
  }
  try {
    if (IsNtPlatform()) ShareLibrary(paths.programDir, paths.trustedViewer);
  } catch (const std::exception&) {
    // Installation goes on; the directory is not opened to the group.
  }
  // The system package ships the handler, the type and the record of its
  // directory; entries of our own beside them would only shadow the menu
  // entry and outlive the package.
  if (!paths.owningPackage.isEmpty()) return;
  WriteMachineEntries(paths);
  InstallAssociation(paths);
}

void Uninstall(const InstallPaths& paths) {
  if (!RequireAdmin(QStringLiteral("Odinstalowanie"))) return;
  // Deleting the program behind the package manager's back would leave it a
  // package whose files are gone: the user is sent to the package manager,
  // and removal ends as if not confirmed.
  const bool packaged = !paths.owningPackage.isEmpty();
  if (packaged)
    ShowInfo(kUninstallTitle, QStringLiteral("Program ZorPokaz został zainstalowany z pakietu \"%1\".\r"
                                             "Aby go odinstalować, użyj menedżera pakietów:\r"
                                             "apt remove %1")
                                  .arg(paths.owningPackage));
  if (packaged || !AskTypedYes(kUninstallTitle,
                   QStringLiteral("Czy na pewno chcesz odinstalować program ZorPokaz\r"
                                  "i wszystkie wydruki zapisane w katalogu\r") +
                       paths.programDir + QStringLiteral(" ?"))) {
    reopenShared(paths);
    return;
  }
  removeUserSettings(paths.userSettingsFiles);
  RemoveMachineEntries(paths);
  RemoveAssociation(paths);
  try {
    RemoveSystemFile(DesktopShortcutPath(paths));
  } catch (const std::exception&) {
    // No shortcut, or one that cannot go: removal goes on.
  }
  // The script must be able to delete the executable; the directory stays
  // closed to the group until then.
  ReleaseViewer(paths.programDir);
  writeRemovalScript(paths);
}

}  // namespace zorpokaz
