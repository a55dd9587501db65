// The bands of bitmap mode (DrawPageOnPrinter with bitmap := true):
// the page is rendered into one band bitmap B at a time, R's width by
// R's height div 20, so only 1/20 of the page is held in memory. All values
// are printer pixels; B's own coordinates start at its top-left corner.
#pragma once

#include <vector>

#include "sheets/printrects.h"

namespace zorpokaz {

inline constexpr int kBitmapBands = 20;

struct BitmapBand {
  int targetLeft = 0;  // where B's top-left corner is transferred to on the printer
  int targetTop = 0;
  int pageTop = 0;     // top of the page rectangle P in B: 0, -h, -2h, ...
  int rows = 0;        // rows of B transferred; fewer than h for the cut last band
  bool operator==(const BitmapBand&) const = default;
};

struct BandPlan {
  int bandWidth = 0;   // B's width = R's width
  int bandHeight = 0;  // B's height h
  int pageHeight = 0;  // P's height = R's height (P's width is bandWidth)
  std::vector<BitmapBand> bands;  // top to bottom
};

// Bands for the target rectangle R: h = R's height div 20; a band starts at
// R.top + k*h while that lies above R.bottom, and the last one is cut at
// R.bottom. Edges beyond +-kCoordinateLimit are clamped first. For the cases
// nobody defined (no width, under 20 pixels tall) see the
// .cpp: no band, and one band of the whole height.
BandPlan planBands(const PixelRect& R);

}  // namespace zorpokaz
