// ComputeRects: margins in printer pixels, the whole-page and
// half-sheet rectangles, and the mirror shift of two-sided printing, for
// concrete printer pages.
#include <gtest/gtest.h>

#include <climits>

#include "sheets/printrects.h"

namespace zorpokaz {
namespace {

// A4 at 600 dpi with a 100-pixel unprintable edge, portrait and landscape
// (the landscape offsets differ on purpose, so a swapped axis shows).
const PrinterMetrics kA4Portrait{4960, 7016, 100, 100, 600, 600};
const PrinterMetrics kA4Landscape{7016, 4960, 120, 80, 600, 600};
// The preview's default margins.
const MarginsMM kPreviewMargins{10, 15, 10, 25};

// Margins as they land on the paper, measured from its edges.
struct PaperMargins {
  int left, right;
};
PaperMargins onPaper(const PixelRect& r, const PrinterMetrics& p) {
  return {r.left + p.offsetX, p.physicalWidth - (r.right + p.offsetX)};
}

TEST(MarginsInPixels, RoundedFromTheFloatFactor) {
  // 600 dpi: 23.622047 px/mm; 10 mm = 236.22, 15 mm = 354.33, 25 mm = 590.55.
  const MarginPixels m600 = marginsInPixels(kPreviewMargins, 600, 600);
  EXPECT_EQ(m600.left, 236);
  EXPECT_EQ(m600.top, 354);
  EXPECT_EQ(m600.right, 236);
  EXPECT_EQ(m600.bottom, 591);
  // Each axis has its own resolution.
  const MarginPixels mixed = marginsInPixels({99, 99, 0, 1}, 300, 72);
  EXPECT_EQ(mixed.left, 1169);  // 99 * 11.811024 = 1169.29
  EXPECT_EQ(mixed.top, 281);    // 99 * 2.8346457 = 280.63
  EXPECT_EQ(mixed.right, 0);
  EXPECT_EQ(mixed.bottom, 3);   // 2.83
  // 127 dpi is exactly 5 px/mm.
  const MarginPixels exact = marginsInPixels({1, 2, 3, 4}, 127, 254);
  EXPECT_EQ(exact.left, 5);
  EXPECT_EQ(exact.top, 20);
  EXPECT_EQ(exact.right, 15);
  EXPECT_EQ(exact.bottom, 40);
}

TEST(MarginsInPixels, DoubleQuotientRoundsToTheSameFloatAsExtended) {
  // The original divided in 80-bit precision before storing the float; the
  // implementation divides in double. They agree for every real resolution.
  for (int dpi = 1; dpi <= 100000; ++dpi)
    ASSERT_EQ(static_cast<float>(dpi / 25.4),
              static_cast<float>(static_cast<long double>(dpi) / 25.4L))
        << dpi;
}

TEST(ComputeRects, PortraitOneSided) {
  const PrintRects r = ComputeRects(kA4Portrait, kPreviewMargins, false);
  EXPECT_EQ(r.R1, (PixelRect{136, 254, 4624, 6325}));
  EXPECT_EQ(r.R2, (PixelRect{136, 254, 2144, 6325}));
  EXPECT_EQ(r.R3, (PixelRect{2616, 254, 4624, 6325}));
  EXPECT_EQ(r.shift, 0);
  EXPECT_EQ(onPaper(r.R1, kA4Portrait).left, 236);
  EXPECT_EQ(onPaper(r.R1, kA4Portrait).right, 236);
}

TEST(ComputeRects, LandscapeHalvesEachHaveBothMargins) {
  const PrintRects r = ComputeRects(kA4Landscape, kPreviewMargins, false);
  EXPECT_EQ(r.R1, (PixelRect{116, 274, 6660, 4289}));
  EXPECT_EQ(r.R2, (PixelRect{116, 274, 3152, 4289}));
  EXPECT_EQ(r.R3, (PixelRect{3624, 274, 6660, 4289}));
  // Top and bottom measured from the paper's edges too.
  EXPECT_EQ(r.R1.top + kA4Landscape.offsetY, 354);
  EXPECT_EQ(kA4Landscape.physicalHeight - (r.R1.bottom + kA4Landscape.offsetY), 591);
  // mL + mR apart at the centre line, which lies at PW div 2 on the paper.
  EXPECT_EQ(r.R3.left - r.R2.right, 236 + 236);
  EXPECT_EQ(r.R2.right + kA4Landscape.offsetX + 236, 7016 / 2);
  // The width and height of a half as the band and the stretch see them.
  EXPECT_EQ(r.R2.width(), 3036);
  EXPECT_EQ(r.R2.height(), 4015);
  EXPECT_EQ(r.R2.toQRect(), QRect(116, 274, 3036, 4015));
}

TEST(ComputeRects, OddPaperWidthHalvesByDiv) {
  PrinterMetrics p = kA4Landscape;
  p.physicalWidth = 7017;  // div 2 = 3508, as for 7016
  const PrintRects r = ComputeRects(p, kPreviewMargins, false);
  EXPECT_EQ(r.R2.right, 3152);
  EXPECT_EQ(r.R3.left, 3624);
  EXPECT_EQ(r.R1.right, 6661);
}

TEST(ComputeRects, TwoSidedMirrorsTheSideMarginsOfTheFirstPass) {
  // Margins left 25, right 10: the first pass prints 10 mm left and 25 mm
  // right, the second (unshifted) pass 25 mm left and 10 mm right.
  const MarginsMM margins{25, 15, 10, 25};
  const PrintRects first = ComputeRects(kA4Portrait, margins, true);
  EXPECT_EQ(first.shift, 236 - 591);
  EXPECT_EQ(first.R1, (PixelRect{136, 254, 4269, 6325}));
  EXPECT_EQ(onPaper(first.R1, kA4Portrait).left, 236);
  EXPECT_EQ(onPaper(first.R1, kA4Portrait).right, 591);

  const PrintRects second = unshiftedRects(first);
  EXPECT_EQ(second.shift, 0);
  EXPECT_EQ(second.R1, (PixelRect{491, 254, 4624, 6325}));
  EXPECT_EQ(onPaper(second.R1, kA4Portrait).left, 591);
  EXPECT_EQ(onPaper(second.R1, kA4Portrait).right, 236);
  EXPECT_EQ(second.R1, ComputeRects(kA4Portrait, margins, false).R1);
}

TEST(ComputeRects, TwoSidedMovesTheHalvesToo) {
  const MarginsMM margins{25, 15, 10, 25};
  const PrintRects first = ComputeRects(kA4Landscape, margins, true);
  EXPECT_EQ(first.R2, (PixelRect{116, 274, 2797, 4289}));
  EXPECT_EQ(first.R3, (PixelRect{3624, 274, 6305, 4289}));
  const PrintRects second = unshiftedRects(first);
  EXPECT_EQ(second.R2, (PixelRect{471, 274, 3152, 4289}));
  EXPECT_EQ(second.R3, (PixelRect{3979, 274, 6660, 4289}));
  // Each half keeps its width; only its place moves.
  EXPECT_EQ(first.R2.width(), second.R2.width());
  EXPECT_EQ(first.R3.width(), second.R3.width());
}

TEST(ComputeRects, EqualSideMarginsNeedNoShift) {
  const PrintRects r = ComputeRects(kA4Portrait, kPreviewMargins, true);
  EXPECT_EQ(r.shift, 0);
  EXPECT_EQ(r.R1, ComputeRects(kA4Portrait, kPreviewMargins, false).R1);
}

TEST(ComputeRects, LargeMarginsCrossTheHalves) {
  // 99 mm side margins on a landscape A4 half: nothing is left, the edges
  // cross and the rectangle is empty (bitmap mode then draws no band).
  const PrintRects r = ComputeRects(kA4Landscape, {99, 15, 99, 25}, false);
  EXPECT_TRUE(r.R2.isEmpty());
  EXPECT_TRUE(r.R3.isEmpty());
  EXPECT_LT(r.R2.width(), 0);
  EXPECT_FALSE(r.R1.isEmpty());
}

TEST(ComputeRects, AbsurdMetricsSaturateInsteadOfOverflowing) {
  const PrinterMetrics huge{INT_MAX, INT_MAX, INT_MIN, INT_MIN, INT_MAX, INT_MAX};
  const PrintRects r = ComputeRects(huge, {99, 99, 0, 99}, true);
  for (const PixelRect& rect : {r.R1, r.R2, r.R3})
    for (int edge : {rect.left, rect.top, rect.right, rect.bottom}) {
      EXPECT_LE(edge, kCoordinateLimit);
      EXPECT_GE(edge, -kCoordinateLimit);
    }
  EXPECT_GE(r.shift, -kCoordinateLimit);
  const PrintRects back = unshiftedRects(r);
  EXPECT_EQ(back.shift, 0);
  const PrinterMetrics negative{-5, -5, INT_MAX, INT_MAX, INT_MIN, -1};
  const PrintRects n = ComputeRects(negative, {99, 0, 1, 99}, true);
  EXPECT_TRUE(n.R1.isEmpty());
}

TEST(PixelRect, WidthNeverOverflows) {
  const PixelRect all{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
  EXPECT_EQ(all.width(), INT_MAX);
  const PixelRect inverted{INT_MAX, 0, INT_MIN, 0};
  EXPECT_EQ(inverted.width(), INT_MIN);
  EXPECT_TRUE(inverted.isEmpty());
}

}  // namespace
}  // namespace zorpokaz
