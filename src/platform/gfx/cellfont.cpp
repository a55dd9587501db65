#include "platform/gfx/cellfont.h"

#include "platform/gfx/dtflags.h"
#include "platform/gfx/pagecanvas.h"
#include "platform/gfx/units.h"

#include <cmath>

namespace zorpokaz {

namespace {

LogFont makeFont(const CellFontStyle& cell, int wpx, int hpx) {
  LogFont f;
  f.face = cell.fontName;
  f.height = -hpx;
  f.width = -wpx;
  f.weight = (cell.fontStyle & 1) ? 700 : 400;
  f.italic = cell.fontStyle & 2;
  f.underline = cell.fontStyle & 4;
  f.charset = cell.charset;
  return f;
}

// truncate(a / b × c) in extended precision, as the original evaluates it.
int truncRatio(long double a, long double b, long double c) {
  const long double v = a / b * c;
  if (!std::isfinite(v) || std::fabs(v) > (1 << 30)) return 0;
  return static_cast<int>(v);
}

}  // namespace

LogFont cellFontRequest(int dpi, const CellFontStyle& cell) {
  return makeFont(cell, MmToPxX(dpi, cell.charWidthMm), MmToPxY(dpi, cell.charHeightMm));
}

LogFont fitCellFont(PageCanvas& canvas, const CellFontStyle& cell) {
  int wpx = MmToPxX(canvas.dpi(), cell.charWidthMm);
  int hpx = MmToPxY(canvas.dpi(), cell.charHeightMm);
  LogFont font = makeFont(cell, wpx, hpx);
  canvas.selectFont(font);

  static const QString digits = QStringLiteral("1234567890");
  const int tw = canvas.textWidth(digits);
  PxRect r{0, 0, 1000, 1000};
  canvas.DrawText(digits, r, DT_CALCRECT | DT_NOCLIP | DT_NOPREFIX | DT_RIGHT);
  const int th = r.height();

  const long long tenCells = 10LL * wpx;
  if (tenCells < tw || hpx < th) {
    // One correction only; the result is not measured again.
    if (tenCells < tw) wpx = truncRatio(static_cast<long double>(tenCells), tw, wpx);
    if (hpx < th) hpx = truncRatio(hpx, th, hpx);
    font = makeFont(cell, wpx, hpx);
    canvas.selectFont(font);
  }
  return font;
}

CellMetrics measureCellMetrics(PageCanvas& canvas, const LogFont& font) {
  canvas.selectFont(font);
  PxRect r{0, 0, 100, 10};
  canvas.DrawText(QStringLiteral("A"), r, DT_CALCRECT | DT_NOCLIP | DT_NOPREFIX);
  CellMetrics m;
  m.textHeight = r.height();
  m.digitWidth = canvas.textWidth(QStringLiteral("0"));
  return m;
}

}  // namespace zorpokaz
