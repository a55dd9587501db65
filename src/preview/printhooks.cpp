#include "printing/printdialoghook.h"

#include "preview/tfrmpodglad.h"
#include "printing/twydrukidrukuj.h"

namespace zorpokaz {

void InstallPrintDialog() {
  TFrmPodglad::SetPrintHandler([](TFrmPodglad& window) {
    // No owner: the dialog is its own top-level window. A frame window frees
    // itself when closed, and exec() does that at once when it returns.
    auto* dialog = new TWydrukiDrukuj(nullptr);
    dialog->PrintoutTitle = window.PrintoutName();
    dialog->SourceViewer = window.viewer();
    dialog->exec();
  });
}

}  // namespace zorpokaz
