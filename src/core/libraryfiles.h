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
// there is none. Anything standing under such a name counts, a link or a
// directory too.
QString LibraryFile(const QString& dir, const QString& name, const QString& preferredExt);

// Whether `path` and the library entry `inLibrary` are one file on disk
// (device and inode; "..", relative paths and links on the way to `path`
// resolved). An entry of the library that is itself a link is never the same
// file: it is something foreign standing under a printout's name.
bool SamePrintoutPath(const QString& path, const QString& inLibrary);

// Whether anything stands under `path`: a file, a directory, or a link,
// dangling or not.
bool EntryExists(const QString& path);

// A name a printout from outside (a package record, a copied file) takes in
// the library. A name here that is empty or starts with "." would make a
// hidden file that the list never shows: its leading dots are dropped, and a
// name left empty becomes "bez nazwy".
QString VisiblePrintoutName(const QString& name);

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
// ignored, or anything (a link too) stands under it. A change of letter case
// only of the same file is allowed.
bool RenameLibraryFile(const QString& oldPath, const QString& newPath);

}  // namespace zorpokaz
