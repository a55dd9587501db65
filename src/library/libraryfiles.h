// Files of the printout library directory on a case-sensitive file system.
// The library behaves as it does where names ignore letter case: a printout
// is found whatever the case of its ".wyd" extension, and no rename ever
// makes two printouts whose names differ only in case, or replaces another
// file. Paths are absolute; directories end with "/".
#pragma once

#include <QString>

namespace zorpokaz {

// True for a file name ending in ".wyd" in any letter case.
bool HasPrintoutExtension(const QString& fileName);
// The file name without its ".wyd" extension (any case); unchanged otherwise.
QString PrintoutName(const QString& fileName);

// The library file of a printout: dir + name + an existing ".wyd" extension
// in any case, the exact `preferredExt` first; dir + name + preferredExt when
// there is none.
QString LibraryFile(const QString& dir, const QString& name, const QString& preferredExt);

// Whether two paths name the same printout file: equal when letter case is
// ignored, or two names of one file on disk (links, "..", relative paths).
bool SamePrintoutPath(const QString& a, const QString& b);

// Why a name typed by the user cannot become a file name of the library.
enum class NameFault {
  None,
  ForbiddenChar,  // one of \ / : * ? " < > |
  ControlChar,    // codes below 32 and 127, which no file name should carry
  Hidden,         // empty or starting with "." : the file would be hidden
};
NameFault CheckPrintoutName(const QString& text);

// Renames oldPath to newPath in the same directory, refusing (false) when any
// other file of that directory already has the new name, letter case
// ignored. A change of letter case only of the same file is allowed.
bool RenameLibraryFile(const QString& oldPath, const QString& newPath);

}  // namespace zorpokaz
