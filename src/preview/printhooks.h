// How the preview window's Drukuj and "Zapisz jako PDF…" reach the print
// dialog and the PDF writer. The preview asks through handlers it keeps
// (TFrmPodglad::SetPrintHandler, SetPdfWriter) so that tests can put their own
// in; the program installs these at start.
#pragma once

namespace zorpokaz {

// From now on the preview's Drukuj (Enter) opens TWydrukiDrukuj for the
// printout shown there: titled with the printout's name, over its viewer.
void InstallPrintDialog();

// Makes the preview's "Zapisz jako PDF…" write through WritePagesPdf.
void InstallPdfWriter();

}  // namespace zorpokaz
