// The machine-wide entries of an installed viewer, in the system settings
// scope (QSettings, system scope, organisation "ZorPokaz"), readable by every
// user: `Katalog` (ProgramDir, which the package launcher looks for) in
// ZorPokaz/ZorPokaz.conf, and the removal entry with `DisplayName` and
// `UninstallString` in ZorPokaz/Uninstall.conf.
#pragma once

#include "install/installpaths.h"

#include <QString>

namespace zorpokaz {

inline constexpr char kDisplayName[] = "ZorPokaz - przeglądarka wydruków Zorela";

// Writes both entries, the first one completely before the second; throws
// Error "Cannot create file <path>" at the first that cannot be stored.
void WriteMachineEntries(const InstallPaths& paths);

// Deletes both entries; a missing one is passed over.
void RemoveMachineEntries(const InstallPaths& paths);

}  // namespace zorpokaz
