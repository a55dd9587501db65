#include "sheets/printrects.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace zorpokaz {

namespace {

int saturate(std::int64_t v) {
  return static_cast<int>(std::clamp<std::int64_t>(v, -kCoordinateLimit, kCoordinateLimit));
}

// The original held DX / 25.4 in a 32-bit float; its quotient was taken in
// 80-bit precision, which rounds to the same float as the double quotient for
// every resolution up to 100,000 dpi (checked in the tests).
float pixelsPerMillimetre(int dpi) {
  return static_cast<float>(dpi / 25.4);
}

// millimetres * the float factor, rounded half to even. The original formed
// the product in 80 bits; in double it is just as exact while the margin fits
// in 29 bits (53 - 24 bits of the float), which every real margin does.
int toPixels(int millimetres, float perMillimetre) {
  const double exact = static_cast<double>(millimetres) * static_cast<double>(perMillimetre);
  return saturate(static_cast<std::int64_t>(
      std::clamp(std::nearbyint(exact), -double(kCoordinateLimit), double(kCoordinateLimit))));
}

PixelRect edges(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b) {
  return {saturate(l), saturate(t), saturate(r), saturate(b)};
}

}  // namespace

MarginPixels marginsInPixels(const MarginsMM& margins, int dpiX, int dpiY) {
  const float kx = pixelsPerMillimetre(dpiX);
  const float ky = pixelsPerMillimetre(dpiY);
  return {toPixels(margins.left, kx), toPixels(margins.top, ky), toPixels(margins.right, kx),
          toPixels(margins.bottom, ky)};
}

PrintRects ComputeRects(const PrinterMetrics& printer, const MarginsMM& margins, bool twoSided) {
  const MarginPixels m = marginsInPixels(margins, printer.dpiX, printer.dpiY);
  const std::int64_t pw = printer.physicalWidth, ph = printer.physicalHeight;
  const std::int64_t ox = printer.offsetX, oy = printer.offsetY;
  const std::int64_t mL = m.left, mT = m.top, mR = m.right, mB = m.bottom;

  const std::int64_t top = mT - oy;
  const std::int64_t bottom = ph - oy - mB;
  const std::int64_t left = mL - ox;
  const std::int64_t right = pw - ox - mR;
  // "div" truncates toward zero, as C++ division does.
  const std::int64_t half = pw / 2;
  const std::int64_t shift = twoSided ? mR - mL : 0;

  PrintRects rects;
  rects.R1 = edges(left + shift, top, right + shift, bottom);
  rects.R2 = edges(left + shift, top, half - ox - mR + shift, bottom);
  rects.R3 = edges(half - ox + mL + shift, top, right + shift, bottom);
  rects.shift = saturate(shift);
  return rects;
}

PrintRects unshiftedRects(const PrintRects& rects) {
  const auto back = [&](const PixelRect& r) {
    return edges(std::int64_t{r.left} - rects.shift, r.top, std::int64_t{r.right} - rects.shift,
                 r.bottom);
  };
  return {back(rects.R1), back(rects.R2), back(rects.R3), 0};
}

}  // namespace zorpokaz
