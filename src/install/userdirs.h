// The users installation deals with: the user whose desktop gets the shortcut
// (the one who called sudo or pkexec when root installs for them) and the
// per-user settings files of every user of the machine, which removal deletes.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <sys/types.h>

namespace zorpokaz {

struct DesktopUser {
  QString home;
  QString configHome;  // where the user's user-dirs.dirs lives
  // Set only when the installing user is not the one the program runs as.
  uid_t uid = static_cast<uid_t>(-1);
  gid_t gid = static_cast<gid_t>(-1);
};

// The user who started the installation: with root, the caller of sudo or
// pkexec when there is one; otherwise the running user with HOME and
// XDG_CONFIG_HOME.
DesktopUser InstallingUser();

// XDG_DESKTOP_DIR from the environment; else the user's user-dirs.dirs entry;
// else home + "/Desktop". Whether the directory exists is the caller's concern.
QString DesktopDirectory(const DesktopUser& user);

// The value of `name` in the text of a user-dirs.dirs file, "$HOME" replaced by
// `home`; empty when the name is missing or its value is neither "$HOME/..."
// nor an absolute path.
QString UserDirsValue(const QByteArray& text, const QByteArray& name, const QString& home);

// The per-user settings file of the running user (XDG_CONFIG_HOME) and the
// default one (~/.config/ZorPokaz.conf) of every account with a home directory.
QStringList UserSettingsFiles();

}  // namespace zorpokaz
