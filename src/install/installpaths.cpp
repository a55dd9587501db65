#include "install/installpaths.h"

#include "install/owningpackage.h"
#include "install/removalscript.h"
#include "install/userdirs.h"

#include <QDir>

namespace zorpokaz {

namespace {

// The first absolute entry of a colon-separated XDG search list, or the
// system default when the variable is unset or holds none.
QString firstXdgDir(const char* variable, const QString& fallback) {
  const QStringList dirs = qEnvironmentVariable(variable).split(QLatin1Char(':'), Qt::SkipEmptyParts);
  for (const QString& dir : dirs)
    if (QDir::isAbsolutePath(dir)) return QDir::cleanPath(dir);
  return fallback;
}

QString in(const QString& dir, const char* name) { return dir + QLatin1Char('/') + QLatin1String(name); }

}  // namespace

InstallPaths InstallPaths::FromEnvironment(const QString& exe, const QString& programDir) {
  InstallPaths paths;
  paths.exe = exe;
  paths.trustedViewer = QStringLiteral("/proc/self/exe");
  paths.programDir = programDir;
  // /usr/local/share is the local administrator's half of the default data
  // search path; /usr/share belongs to the distribution's packages.
  paths.dataDir = firstXdgDir("XDG_DATA_DIRS", QStringLiteral("/usr/local/share"));
  paths.configDir = firstXdgDir("XDG_CONFIG_DIRS", QStringLiteral("/etc/xdg"));
  paths.tempDir = QDir::cleanPath(QDir::tempPath());
  const DesktopUser user = InstallingUser();
  paths.desktopDir = DesktopDirectory(user);
  paths.desktopOwner = user.uid;
  paths.desktopGroup = user.gid;
  paths.userSettingsFiles = UserSettingsFiles();
  paths.owningPackage = OwningPackage(exe);
  paths.startRemovalScript = [](const QString& script) { RemovalScript::Start(script).keepUntilExit(); };
  return paths;
}

QString InstallPaths::machineKeyFile() const { return in(configDir, "ZorPokaz/ZorPokaz.conf"); }
QString InstallPaths::uninstallKeyFile() const { return in(configDir, "ZorPokaz/Uninstall.conf"); }
QString InstallPaths::mimeDir() const { return in(dataDir, "mime"); }
QString InstallPaths::mimePackageFile() const { return in(dataDir, "mime/packages/zorpokaz.xml"); }
QString InstallPaths::applicationsDir() const { return in(dataDir, "applications"); }
QString InstallPaths::desktopEntryFile() const { return in(applicationsDir(), kDesktopId); }
QString InstallPaths::iconThemeDir() const { return in(dataDir, "icons/hicolor"); }
QString InstallPaths::appIconFile() const {
  return iconThemeDir() + QStringLiteral("/scalable/apps/") + QLatin1String(kAppIconName) + QStringLiteral(".svg");
}
QString InstallPaths::typeIconFile() const {
  return iconThemeDir() + QStringLiteral("/scalable/mimetypes/") + QLatin1String(kTypeIconName) +
         QStringLiteral(".svg");
}
QString InstallPaths::mimeappsListFile() const { return in(configDir, "mimeapps.list"); }
QString InstallPaths::removalScriptFile() const { return in(tempDir, kRemovalScriptName); }

}  // namespace zorpokaz
