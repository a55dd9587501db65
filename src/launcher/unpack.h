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
// `withPrintouts`, asking before replacing one (a link standing under a
// printout's name too; it is replaced, never written through). False when
// the directory cannot be made or the viewer cannot be unpacked (a stream
// that inflates beyond kMaxViewerSize included: nothing of it is written); a
// damaged record or a file that cannot be written, also for want of room on
// the disk, is reported and does not make it fail. A printout whose name
// would be hidden gets a visible one (VisibleName). When the viewer was
// written, `viewerFd` receives a read-only descriptor of it (the caller
// closes it) to start exactly that file; -1 otherwise.
bool Unpack(const LauncherState& state, bool withViewer, bool withPrintouts, bool privateDir, LauncherUi& ui,
            int* viewerFd = nullptr);

// Deletes the files (not subdirectories) of the scratch directory `dir`, then
// the directory if it is empty; only when it is a private directory of ours.
void RemoveScratch(const QString& dir);

}  // namespace zorpokaz::paczka
