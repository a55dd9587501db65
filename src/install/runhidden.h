// Running a helper program of the system (the desktop database tools) with no
// window and no shell in between: the arguments reach it exactly as given.
#pragma once

#include <QStringList>

namespace zorpokaz {

// Runs command[0] with the rest as its arguments, found on PATH, its output
// discarded, and waits for it without a time limit. The exit code is not
// examined. Throws Error when the program cannot be started.
void RunHidden(const QStringList& command);

}  // namespace zorpokaz
