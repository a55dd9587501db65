// Opening the program directory to ordinary users. Members of the "users"
// group may add, rename and delete every printout there, those root unpacked
// included, and change their content; none of them can ever make root run
// their code. Root runs the viewer executable in that directory (INST from the
// package launcher, UNINST from the list of installed programs, any start from
// the desktop), so the executable carries the file system's immutable
// attribute: nobody, its owner and root included, can replace, rename, delete
// or change it until root clears the attribute, and the directory needs no
// sticky bit. Where the file system has no such attribute (or the system
// does not let root set it), the directory keeps the sticky bit instead,
// which protects the executable but lets members rename and delete only their
// own printouts.
//
// Whoever replaces or removes the executable as root (the launcher updating
// the viewer, UNINST, a package's maintainer scripts) first calls
// ReleaseViewer; ShareLibrary, from INST, protects the new file and opens the
// directory again. In between the group cannot change the directory at all,
// so nothing can be swapped while root writes and starts the viewer.
#pragma once

#include <QString>

namespace zorpokaz {

inline constexpr char kUsersGroup[] = "users";

enum class ViewerProtection {
  Immutable,  // the executable is immutable; no sticky bit
  Sticky,     // no immutable attribute here: the directory is sticky
};

// Gives the directory and its printouts to the users group (read and write,
// new files of the group) and protects the executable. `trustedViewer` names
// the file root trusts as the viewer, the running program (/proc/self/exe)
// for INST: the executable in the directory must be that very file. Empty:
// the executable must belong to root. Throws Error when something cannot be
// done; the directory is then left closed to the group (it may read, not
// write), never open with an executable that is not protected. Links are
// never followed; the root directory is never changed. Calling it again
// changes nothing more.
ViewerProtection ShareLibrary(const QString& programDir, const QString& trustedViewer);

// Closes the directory to the group and to others (no write right) and
// clears the executable's immutable attribute, so that root may replace or
// remove it. False when the directory cannot be opened.
bool ReleaseViewer(const QString& programDir);

}  // namespace zorpokaz
