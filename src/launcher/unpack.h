// Writing a package's content into a directory: the viewer (inflated from the
// package) and the printouts, each file appearing under its name only once it
// is complete. Messages go to the user through LauncherUi.
#pragma once

#include <QString>

#include "launcher/launcherstate.h"

namespace zorpokaz::paczka {

class LauncherUi;

// Creates the last level of `dir` (a "/" at its end is allowed); an existing
// directory is fine. A private directory (the scratch directory, in a shared
// temporary directory) is made for the current user alone, and an existing one
// must be a real directory of that user, never a link planted by another.
bool MakeTargetDir(const QString& dir, bool privateDir);

// Where the printout `name` goes in `dir`: a file already there whose name is
// "<name>.wyd" in any letter case (the printouts come from a system where
// such names are one file), else name + ".wyd".
QString PrintoutPath(const QString& dir, const QString& name);

// Unpacks into state.TargetDir (ending with "/"): the viewer when
// `withViewer`, replacing it without asking; the printouts when
// `withPrintouts`, asking before replacing one. False when the directory
// cannot be made or the viewer cannot be unpacked; a damaged record or a file
// that cannot be written is reported and does not make it fail.
bool Unpack(const LauncherState& state, bool withViewer, bool withPrintouts, bool privateDir, LauncherUi& ui);

// Deletes the files (not subdirectories) of the scratch directory `dir`, then
// the directory if it is empty; only when it is a private directory of ours.
void RemoveScratch(const QString& dir);

}  // namespace zorpokaz::paczka
