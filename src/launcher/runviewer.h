// Running the unpacked viewer and waiting for it to end. While it runs the
// launcher's window does not react to the mouse or the keyboard, but keeps
// repainting itself.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace zorpokaz::paczka {

// Starts `program` with the single argument `argument` (no shell), waits until
// it ends and tells whether it could be started; its exit code is not looked
// at. A viewer the dynamic loader refuses (a shared library missing on this
// machine) counts as not started. With `hide` the window is hidden meanwhile
// (and shown again when the program could not be started). Given
// `programFd`, a read-only descriptor of the program's file, that very file
// is started, whatever stands under its name by now: root never runs a file
// another user put in its place. The viewer's standard error passes through
// to the launcher's; `whyNot`, when given, receives the reason of a failed
// start.
bool RunViewer(QWidget* window, const QString& program, const QString& argument, bool hide, int programFd = -1,
               QString* whyNot = nullptr);

// Which of the shared libraries `names` (as a program names them, such as
// "libQt6Svg.so.6") the dynamic loader cannot load on this machine.
QStringList MissingLibraries(const QStringList& names);

// What the user is told about a viewer that did not start: the libraries it
// misses when there are any (one per "\r" line), else `why`.
QString StartFailureDetails(const QStringList& missing, const QString& why);

}  // namespace zorpokaz::paczka
