#include "sheets/bandplan.h"

#include <algorithm>

namespace zorpokaz {

BandPlan planBands(const PixelRect& target) {
  // ComputeRects never yields edges beyond the limit; clamping here keeps
  // every offset below in int range for any rectangle a caller may pass.
  const auto clamp = [](int v) { return std::clamp(v, -kCoordinateLimit, kCoordinateLimit); };
  const PixelRect R{clamp(target.left), clamp(target.top), clamp(target.right),
                    clamp(target.bottom)};
  BandPlan plan;
  // No width or no height (margins that meet or cross on a half sheet): there
  // is no printer pixel to draw into, so no band bitmap is made and nothing is
  // drawn. The original would have asked for a bitmap of no (or negative)
  // size and failed; a page that cannot be seen is better left out than made
  // an error that aborts the whole copy.
  if (R.isEmpty())
    return plan;
  const int height = R.height();
  plan.bandWidth = R.width();
  plan.pageHeight = height;
  // Under 20 pixels tall, height div 20 is 0: taken literally the band never
  // moves and the loop never ends. One band of the whole height is used
  // instead: the bands exist to hold 1/20 of a page in memory, and such a page
  // is tiny; 1-pixel bands would replay the page image up to 19 times for the
  // same pixels, and skipping the page would lose it where metafile mode
  // prints it.
  plan.bandHeight = height < kBitmapBands ? height : height / kBitmapBands;
  const int h = plan.bandHeight;
  for (int top = R.top; top < R.bottom; top += h)
    plan.bands.push_back({R.left, top, R.top - top, std::min(h, R.bottom - top)});
  return plan;
}

}  // namespace zorpokaz
