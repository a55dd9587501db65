// Whether the viewer may start as root in its directory. Qt reads qt.conf
// and qt6.conf in the program's own directory and looks for plugins in its
// subdirectories, so anything another user put there would run as root. Root
// starts the viewer only where nobody but root can have put such a file: the
// directory and its parents belong to root and nobody else may write to them
// (a parent may be sticky, as /tmp is), and every subdirectory, qt.conf and
// qt6.conf in it belongs to root and is writable by root alone. For INST and
// UNINST the program directory, which installation shares with the users
// group, is first closed to the group and to others; INST opens it again
// when it has done its work, UNINST when the user does not confirm.
#pragma once

#include <QString>

namespace zorpokaz {

// Empty when the program may go on (always for users other than root);
// otherwise why not, as a text for standard error. `closeFirst` closes the
// directory before it is looked at.
QString RootStartRefusal(const QString& programDir, bool closeFirst);

}  // namespace zorpokaz
