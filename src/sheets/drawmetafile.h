// How a page image reaches the printer's canvas: stretched to fill its
// rectangle exactly (across and down independently), either as drawing
// commands (metafile mode) or as 20 bitmap bands (bitmap mode, for printers
// that choke on vector output). Black-and-white replays every text and pen in
// black and every fill in white.
//
// Units: printer pixels in the canvas's coordinates. Nothing is kept between
// calls; a band bitmap lives only while its page is drawn.
#pragma once

#include "sheets/printrects.h"

class QImage;
class QPainter;

namespace zorpokaz {

class PageImage;

// Draws `image` into R. A rectangle with no width or no height draws nothing.
void DrawPageOnPrinter(QPainter& canvas, const PixelRect& R, const PageImage& image,
                       bool blackWhite, bool bitmap);

// The image played into R with every colour forced to black on white.
void DrawMetafileMono(QPainter& canvas, const PixelRect& R, const PageImage& image);

// Copies the first `rows` rows of the band to (x, y), one printer pixel per
// band pixel, replacing what is there.
void PrintBitmapBand(QPainter& canvas, const QImage& band, int x, int y, int rows);

}  // namespace zorpokaz
