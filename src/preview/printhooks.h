// How the preview window opens the print dialog: the preview layer cannot see
// printing (printing sits above it), so the program installs this at start.
#pragma once

namespace zorpokaz {

// From now on the preview's Drukuj (Enter) opens TWydrukiDrukuj for the
// printout shown there: titled with the printout's name, over its viewer.
void InstallPrintDialog();

}  // namespace zorpokaz
