// Whether the viewer came with the system package. The package manager then
// owns the program, its menu entry, the printout type and the record of its
// directory, so the program's own installation leaves those to it and its
// own removal refuses to pull the program out from under the package manager.
#pragma once

#include <QString>

namespace zorpokaz {

// The name of the system package that installed `file` (its absolute path),
// as dpkg knows it; empty when no package owns it or there is no dpkg.
QString OwningPackage(const QString& file);

// The package named by dpkg-query's answer `output` to a search for `file`:
// the first line "<package>[:arch][, <package>...]: <file>" that names `file`
// exactly; empty when none does.
QString PackageInSearchOutput(const QString& output, const QString& file);

}  // namespace zorpokaz
