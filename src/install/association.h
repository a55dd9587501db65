// The desktop association of printout files, machine-wide: the MIME type of
// *.wyd, its icon and the viewer's icon in the hicolor theme, the desktop
// entry that opens a printout with the viewer, the viewer as the type's
// default application in the system mimeapps.list, and the desktop's caches
// rebuilt by the system's own tools.
#pragma once

#include "install/installpaths.h"

namespace zorpokaz {

// Writes (or rewrites) every file; throws Error "Cannot create file <path>"
// at the first that cannot be written. Caches are updated last, each only
// when its tool is there; a tool that fails changes nothing here.
void InstallAssociation(const InstallPaths& paths);

// Removes what InstallAssociation wrote; what is missing is passed over, and
// a default set for another application is left alone.
void RemoveAssociation(const InstallPaths& paths);

}  // namespace zorpokaz
