// Running the unpacked viewer and waiting for it to end. While it runs the
// launcher's window does not react to the mouse or the keyboard, but keeps
// repainting itself.
#pragma once

#include <QString>

class QWidget;

namespace zorpokaz::paczka {

// Starts `program` with the single argument `argument` (no shell), waits until
// it ends and tells whether it could be started; its exit code is not looked
// at. With `hide` the window is hidden meanwhile (and shown again when the
// program could not be started). Given `programFd`, a read-only descriptor
// of the program's file, that very file is started, whatever stands under
// its name by now: root never runs a file another user put in its place.
bool RunViewer(QWidget* window, const QString& program, const QString& argument, bool hide, int programFd = -1);

}  // namespace zorpokaz::paczka
