#include "sheets/printtarget.h"

#include "sheets/drawmetafile.h"

namespace zorpokaz {

void PrintTarget::drawPage(const PixelRect& R, const PageImage& image, bool blackWhite,
                           bool bitmap) {
  DrawPageOnPrinter(painter(), R, image, blackWhite, bitmap);
}

}  // namespace zorpokaz
