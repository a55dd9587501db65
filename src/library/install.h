// Installing and removing the viewer, started with INST and UNINST. There is
// no separate installer: the viewer records its directory for the package
// launcher, becomes the handler of printout files, puts a shortcut on the
// installing user's desktop and opens its directory to ordinary users;
// removal takes all of that away, with every user's settings, and leaves a
// script that deletes the program and its printouts once the viewer has ended.
// Only message windows are shown; a failure to write an entry escapes as Error
// for the program's default error report, the steps before it staying done.
#pragma once

#include "install/installpaths.h"

#include <QString>

namespace zorpokaz {

// Administrator means root here.
bool IsAdmin();

// False, after the message "Brak uprawnień !", when the rights check applies
// and the user is not an administrator.
bool RequireAdmin(const QString& prefix);

// The desktop shortcut's path; throws EAbort (silent) when the desktop
// directory is unknown or missing.
QString DesktopShortcutPath(const InstallPaths& paths);

void Install(const InstallPaths& paths);
void Uninstall(const InstallPaths& paths);

}  // namespace zorpokaz
