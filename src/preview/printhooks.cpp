#include "preview/printhooks.h"

#include "preview/temfviewer.h"
#include "preview/tfrmpodglad.h"
#include "sheets/pagespdf.h"
#include "printing/twydrukidrukuj.h"

namespace zorpokaz {

void InstallPrintDialog() {
  TFrmPodglad::SetPrintHandler([](TFrmPodglad& window) {
    // No owner: the dialog is its own top-level window. A frame window frees
    // itself when closed, and exec() does that at once when it returns.
    auto* dialog = new TWydrukiDrukuj(nullptr);
    dialog->PrintoutTitle = window.PrintoutName();
    dialog->Source = window.viewer();
    dialog->exec();
  });
}

void InstallPdfWriter() {
  TFrmPodglad::SetPdfWriter([](const TFrmPodglad::PdfRequest& r) {
    std::vector<const PageImage*> pages;
    pages.reserve(r.pages.Pages().size());
    for (const auto& page : r.pages.Pages()) pages.push_back(page.get());
    return WritePagesPdf(r.path, pages, r.pages.Margins(), r.progress);
  });
}

}  // namespace zorpokaz
