#include "install/userdirs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace zorpokaz {

namespace {

constexpr char kSettingsFile[] = "ZorPokaz.conf";

QString envPath(const char* name) {
  const QString value = qEnvironmentVariable(name);
  return QDir::isAbsolutePath(value) ? QDir::cleanPath(value) : QString();
}

// The account behind sudo or pkexec; nullptr when root was not reached that way.
const passwd* callerAccount() {
  for (const char* name : {"SUDO_UID", "PKEXEC_UID"}) {
    bool ok = false;
    const uint uid = qEnvironmentVariable(name).toUInt(&ok);
    if (ok && uid != 0) return getpwuid(static_cast<uid_t>(uid));
  }
  return nullptr;
}

// user-dirs.dirs writes values the shell way: backslash escapes inside quotes.
QString unescapeQuoted(const QByteArray& raw) {
  QByteArray out;
  for (qsizetype i = 0; i < raw.size(); ++i) {
    if (raw[i] == '\\' && i + 1 < raw.size()) ++i;
    out += raw[i];
  }
  return QFile::decodeName(out);
}

}  // namespace

DesktopUser InstallingUser() {
  DesktopUser user;
  if (geteuid() == 0) {
    if (const passwd* caller = callerAccount(); caller && caller->pw_dir && *caller->pw_dir == '/') {
      user.home = QDir::cleanPath(QFile::decodeName(caller->pw_dir));
      user.configHome = user.home + QStringLiteral("/.config");
      user.uid = caller->pw_uid;
      user.gid = caller->pw_gid;
      return user;
    }
  }
  user.home = QDir::homePath();
  user.configHome = envPath("XDG_CONFIG_HOME");
  if (user.configHome.isEmpty()) user.configHome = user.home + QStringLiteral("/.config");
  return user;
}

QString UserDirsValue(const QByteArray& text, const QByteArray& name, const QString& home) {
  for (QByteArray line : text.split('\n')) {
    line = line.trimmed();
    if (!line.startsWith(name + '=')) continue;
    QByteArray value = line.mid(name.size() + 1);
    if (value.size() < 2 || !value.startsWith('"') || !value.endsWith('"')) return QString();
    const QString path = unescapeQuoted(value.mid(1, value.size() - 2));
    if (path.startsWith(QLatin1String("$HOME/")) || path == QLatin1String("$HOME"))
      return QDir::cleanPath(home + path.mid(5));
    return QDir::isAbsolutePath(path) ? QDir::cleanPath(path) : QString();
  }
  return QString();
}

QString DesktopDirectory(const DesktopUser& user) {
  if (const QString fromEnv = envPath("XDG_DESKTOP_DIR"); !fromEnv.isEmpty()) return fromEnv;
  QFile dirs(user.configHome + QStringLiteral("/user-dirs.dirs"));
  if (dirs.open(QIODevice::ReadOnly)) {
    const QString configured = UserDirsValue(dirs.read(64 * 1024), "XDG_DESKTOP_DIR", user.home);
    if (!configured.isEmpty()) return configured;
  }
  return user.home.isEmpty() ? QString() : user.home + QStringLiteral("/Desktop");
}

QStringList UserSettingsFiles() {
  QStringList files;
  auto add = [&files](const QString& configHome) {
    const QString file = configHome + QLatin1Char('/') + QLatin1String(kSettingsFile);
    if (!files.contains(file)) files << file;
  };
  QString ownConfig = envPath("XDG_CONFIG_HOME");
  if (ownConfig.isEmpty()) ownConfig = QDir::homePath() + QStringLiteral("/.config");
  add(ownConfig);
  setpwent();
  while (const passwd* account = getpwent()) {
    if (!account->pw_dir || *account->pw_dir != '/') continue;
    const QString home = QDir::cleanPath(QFile::decodeName(account->pw_dir));
    // Accounts without a real home (/, /nonexistent) keep no settings.
    if (home == QLatin1String("/") || !QFileInfo(home).isDir()) continue;
    add(home + QStringLiteral("/.config"));
  }
  endpwent();
  return files;
}

}  // namespace zorpokaz
