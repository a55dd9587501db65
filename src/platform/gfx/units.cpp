#include "platform/gfx/units.h"

#include <cmath>

namespace zorpokaz {

namespace {

// The original computes in the x87's extended precision; long double is that
// format on x86-64 and keeps ties and near-ties where the original had them.
constexpr long double kScale = 180 * 0.01L;
constexpr long double kLimit = 1 << 30;

int mmToPx(int dpi, float mm) {
  long double v = static_cast<long double>(dpi) * static_cast<long double>(mm) / 25.4L * kScale;
  if (std::isnan(v)) return 0;
  if (v > kLimit) return static_cast<int>(kLimit);
  if (v < -kLimit) return -static_cast<int>(kLimit);
  return static_cast<int>(std::nearbyintl(v));  // default rounding mode: ties to even
}

float pxToMm(int dpi, int px) {
  if (dpi == 0) return 0.0f;
  return static_cast<float>(static_cast<long double>(px) / dpi * 25.4L / kScale);
}

}  // namespace

int MmToPxX(int dpi, float mm) { return mmToPx(dpi, mm); }
int MmToPxY(int dpi, float mm) { return mmToPx(dpi, mm); }
float PxToMmX(int dpi, int px) { return pxToMm(dpi, px); }
float PxToMmY(int dpi, int px) { return pxToMm(dpi, px); }

QSize PageSizePx(int dpi) { return {MmToPxX(dpi, kPageWidthMm), MmToPxY(dpi, kPageHeightMm)}; }

}  // namespace zorpokaz
