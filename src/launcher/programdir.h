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

}  // namespace zorpokaz::paczka
