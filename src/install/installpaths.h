// Where installation writes on this machine: the viewer's own files, the
// system-wide settings scope, the desktop association and the user's desktop.
// The places come from the XDG base-directory variables when they are set
// (so a test can point everything into a scratch tree) and from the system
// defaults otherwise. A plain value; every path is absolute, directories
// without a trailing "/" except programDir, which keeps the viewer's own form.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <sys/types.h>

namespace zorpokaz {

// Fixed names of what installation puts in place.
inline constexpr char kViewerFileName[] = "zorpokaz";  // the viewer inside ProgramDir
inline constexpr char kMimeType[] = "application/x-zorpokaz-wydruk";
inline constexpr char kTypeIconName[] = "application-x-zorpokaz-wydruk";
inline constexpr char kAppIconName[] = "zorpokaz";
inline constexpr char kDesktopId[] = "zorpokaz.desktop";
inline constexpr char kShortcutName[] = "ZorPokaz.desktop";
inline constexpr char kRemovalScriptName[] = "ZorPokazRemove.sh";

struct InstallPaths {
  QString exe;         // full path of the running viewer
  // The file installation trusts as the viewer and protects in programDir:
  // the running program itself (/proc/self/exe), whatever name it has now.
  QString trustedViewer;
  QString programDir;  // its directory, ending with "/"
  QString dataDir;     // system data directory: applications/, mime/, icons/
  QString configDir;   // system settings scope: ZorPokaz/, mimeapps.list
  QString tempDir;     // where the removal script is written
  // The installing user's desktop directory; empty when none is known. When
  // root installs for the user who called sudo, the shortcut is handed to
  // that user (desktopOwner, desktopGroup); -1 keeps the creator's.
  QString desktopDir;
  uid_t desktopOwner = static_cast<uid_t>(-1);
  gid_t desktopGroup = static_cast<gid_t>(-1);
  // Per-user settings files of every user that can be found on the machine.
  QStringList userSettingsFiles;
  // The system package that installed `exe`; empty when the viewer was put
  // in place otherwise (by a package launcher, by hand).
  QString owningPackage;
  // Starts the written removal script so that it outlives the viewer.
  std::function<void(const QString& script)> startRemovalScript;

  // The places of this machine for the viewer `exe` in `programDir`.
  static InstallPaths FromEnvironment(const QString& exe, const QString& programDir);

  QString machineKeyFile() const;    // Katalog
  QString uninstallKeyFile() const;  // DisplayName, UninstallString
  QString mimePackageFile() const;
  QString mimeDir() const;
  QString applicationsDir() const;
  QString desktopEntryFile() const;
  QString appIconFile() const;
  QString typeIconFile() const;
  QString iconThemeDir() const;
  QString mimeappsListFile() const;
  QString removalScriptFile() const;
};

}  // namespace zorpokaz
