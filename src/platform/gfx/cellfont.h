// Fonts fitted to a style's character cell (GetFont steps 3–8) and
// the per-style measurements TextHeight and DigitWidth. Pure functions over a
// PageCanvas (for R and for measuring); the document's TStyl calls them and
// caches the results per build.
#pragma once

#include "platform/gfx/logfont.h"

#include <QString>

namespace zorpokaz {

class PageCanvas;

struct CellFontStyle {
  float charWidthMm = 210.0f / 132;  // CharWidth, float32 millimetres
  float charHeightMm = 3.5f;         // CharHeight
  unsigned fontStyle = 0;            // bit 1 bold, 2 italic, 4 underline
  int charset = 186;
  QString fontName = QStringLiteral("Courier New");
};

// GetFont steps 3–8: the cell in pixels (MmToPxX/Y at the canvas's R), the
// font −hpx × −wpx with the style's weight/italic/underline/charset/face, then
// the one correction when "1234567890" is wider than ten cells or its line
// taller than the cell. Leaves the returned font selected on the canvas.
LogFont fitCellFont(PageCanvas& canvas, const CellFontStyle& cell);

// The cell before correction (step 5's request), for tests and diagnostics.
LogFont cellFontRequest(int dpi, const CellFontStyle& cell);

struct CellMetrics {
  int textHeight = 0;  // height of "A" measured in a 100 × 10 rectangle (CALCRECT|NOCLIP|NOPREFIX)
  int digitWidth = 0;  // width of "0"
};

// TextHeight and DigitWidth of font; leaves font selected on the canvas.
CellMetrics measureCellMetrics(PageCanvas& canvas, const LogFont& font);

}  // namespace zorpokaz
