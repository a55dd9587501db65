// Copying one printout file into the printout library: the signature check,
// the overwrite question and the copy, each failure reported in a message
// window. Used when printouts are added and for the printout given on the
// command line that the user agreed to copy.
#pragma once

#include "core/librarycopy.h"
#include "core/program.h"

#include <QString>

namespace zorpokaz {

// True when the printout is in the library afterwards. Throws EFOpenError
// when `path` cannot be opened at all. The copy goes to a temporary file that
// replaces the destination only when complete, so a failed copy never
// damages a printout already there; the copy keeps the source's time. A link
// standing under the destination's name is asked about like a file, and
// replaced itself, never written through.
bool CopyPrintout(const QString& path, const QString& libraryDir = ProgramDir());

}  // namespace zorpokaz
