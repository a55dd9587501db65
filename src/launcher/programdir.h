// The launcher's care for the directory it writes into: room on its file
// system, and the hand-over of a program directory shared with the users
// group while the viewer in it is replaced.
#pragma once

#include <QString>
#include <cstdint>

namespace zorpokaz::paczka {

// Whether the file system of `dir` has room for `bytes` more, counting only
// what an ordinary user may fill (a full disk stops every program).
bool HasRoomFor(const QString& dir, std::int64_t bytes);

// Before the viewer in `dir` is replaced: nobody but the directory's owner
// may change the directory any more (the new viewer's INST opens it to the
// users group again once the new viewer is protected), so no member of the
// group can swap a file while root writes and starts it; and the old viewer's
// immutable attribute, which would refuse the replacement, is cleared.
// Changes nothing it is not allowed to.
void PrepareViewerUpdate(const QString& dir);

// Whether the launcher may start as root from `dir`, the package's own
// directory. Qt reads qt.conf and qt6.conf there and looks for plugins in its
// subdirectories, so a file another user put there would run as root: the
// directory and its parents must be root's and writable by root alone (a
// parent may be sticky, as /tmp is, the directory itself not), and so must
// every subdirectory, qt.conf and qt6.conf in it. Empty when it may (always
// for other users); otherwise why not, for standard error.
QString RootStartRefusal(const QString& dir);

}  // namespace zorpokaz::paczka
