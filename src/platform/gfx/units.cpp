#include "platform/gfx/units.h"

#include <cmath>

namespace zorpokaz {

namespace {

// The original computes in the x87's extended precision; long double is that
// format on x86-64 and keeps ties and near-ties where the original had them.
constexpr long double kScale = 180 * 0.01L;
constexpr long double kLimit = 1 << 30;
// Adding and taking away 1.5 * 2^63 leaves a value of at most 2^62 rounded
// to a whole number in the current rounding mode (ties to even), as
// nearbyintl would round it, without its call and its saving of the
// floating-point environment (a layout converts millions of positions).
constexpr long double kRoundingShift = 0x1.8p63L;

int mmToPx(int dpi, float mm) {
  long double v = static_cast<long double>(dpi) * static_cast<long double>(mm) / 25.4L * kScale;
  if (std::isnan(v)) return 0;
  if (v > kLimit) return static_cast<int>(kLimit);
  if (v < -kLimit) return -static_cast<int>(kLimit);
  // Through double: a whole number converts exactly, and without the x87
  // control-word changes of a direct conversion to int.
  return static_cast<int>(static_cast<double>(v + kRoundingShift - kRoundingShift));
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
