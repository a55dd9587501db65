// ComputeRects of the print job: where a page image goes on the
// printer's page. Everything here is in printer pixels, in the printer's
// coordinates (origin at the corner of the printable area); margins come in
// whole millimetres measured from the edge of the paper.
#pragma once

#include <climits>

#include <QRect>

namespace zorpokaz {

// A rectangle by its four edges, right and bottom exclusive, as the original
// platform's rectangles are: width = right - left. (QRect's right() and
// bottom() are inclusive, which would put every width and band height off by
// one; toQRect converts.) Edges may cross when the margins eat the page.
struct PixelRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  // Saturated, so even a rectangle spanning the whole int range has a width.
  int width() const { return span(left, right); }
  int height() const { return span(top, bottom); }
  bool isEmpty() const { return right <= left || bottom <= top; }
  QRect toQRect() const { return QRect(left, top, width(), height()); }
  bool operator==(const PixelRect&) const = default;

 private:
  static int span(int from, int to) {
    const long long d = static_cast<long long>(to) - from;
    return d > INT_MAX ? INT_MAX : d < INT_MIN ? INT_MIN : static_cast<int>(d);
  }
};

// Device metrics, read after the orientation was set (orientationFor).
struct PrinterMetrics {
  int physicalWidth = 0;   // PW
  int physicalHeight = 0;  // PH
  int offsetX = 0;         // OX, left edge of the printable area on the paper
  int offsetY = 0;         // OY
  int dpiX = 0;            // DX
  int dpiY = 0;            // DY
};

// The viewer's margins in whole millimetres (0..99 from the preview).
struct MarginsMM {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// Margins converted to printer pixels.
struct MarginPixels {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// 2^28 printer pixels: 68 m of paper at 100,000 dpi.
inline constexpr int kCoordinateLimit = 1 << 28;

// R1 the whole page, R2 the left half, R3 the right half, each inside the
// margins. After ComputeRects they are already moved by `shift` (non-zero only
// when the two-sided box is ticked): that is where the first pass draws.
struct PrintRects {
  PixelRect R1;
  PixelRect R2;
  PixelRect R3;
  int shift = 0;
};

// mL = Round(left * kx) etc. with kx = DX / 25.4 held as a 32-bit float,
// halves to even.
MarginPixels marginsInPixels(const MarginsMM& margins, int dpiX, int dpiY);

// ComputeRects steps 2-6. twoSided is the "&Druk dwustronny" box as it stands
// (also when booklet mode greys it out), which is all that matters here.
// Every edge and the shift are clamped to +-kCoordinateLimit, so absurd metrics
// from a driver can neither overflow the arithmetic nor a later width().
PrintRects ComputeRects(const PrinterMetrics& printer, const MarginsMM& margins, bool twoSided);

// StartSecondPass step 3: the rectangles back at their unshifted place.
// A pure function of the ComputeRects result, so a print job that keeps that
// result can hand every copy's first pass the mirrored rectangles again.
PrintRects unshiftedRects(const PrintRects& rects);

}  // namespace zorpokaz
