// The file side of copying a printout into the library, without a word to the
// user: whether a file is a printout, the name it lands under, and the copy
// of its bytes and time into a new library file. CopyPrintout (library/) asks
// the questions around it.
#pragma once

#include <QString>

namespace zorpokaz {

class NewLibraryFile;

// Whether the regular file at `path` starts with a printout's signature.
// Throws EFOpenError when it is no regular file or cannot be opened: a pipe
// or a device would block or never end.
bool IsPrintoutFile(const QString& path);

// Where a printout file lands in the library: libraryDir + its file name, or
// the library file of the same name whose extension differs only in case. A
// hidden file's name loses its leading dots (VisiblePrintoutName).
QString PrintoutDestination(const QString& path, const QString& libraryDir);

// The bytes and the modification time of `from` into `out`; false when
// either could not be read or written.
bool WriteLibraryCopy(const QString& from, NewLibraryFile& out);

}  // namespace zorpokaz
