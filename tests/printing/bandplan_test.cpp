// Bands of bitmap mode: R's height div 20, the last band cut at
// R's bottom, and the heights nobody defined.
#include <gtest/gtest.h>

#include <climits>

#include "sheets/bandplan.h"

namespace zorpokaz {
namespace {

// Every band together covers R exactly once, top to bottom, and the page
// rectangle P follows the band.
void expectTiles(const BandPlan& plan, const PixelRect& R) {
  int next = R.top;
  for (const BitmapBand& band : plan.bands) {
    EXPECT_EQ(band.targetLeft, R.left);
    EXPECT_EQ(band.targetTop, next);
    EXPECT_EQ(band.pageTop, R.top - band.targetTop);
    EXPECT_GT(band.rows, 0);
    EXPECT_LE(band.rows, plan.bandHeight);
    next += band.rows;
  }
  EXPECT_EQ(next, R.bottom);
}

struct BandCase {
  int height;
  int bandHeight;
  int bands;
  int lastRows;
};

TEST(BandPlan, HeightsDivTwenty) {
  const BandCase cases[] = {
      {4000, 200, 20, 200},  // exactly 20
      {4010, 200, 21, 10},   // a 21st band, 10 px, cut
      {4019, 200, 21, 19},
      {4020, 201, 20, 201},
      {20, 1, 20, 1},        // the smallest height with a proper band
      {39, 1, 39, 1},        // h = 1: a remainder of 19 gives 19 extra bands
      {40, 2, 20, 2},
      {41, 2, 21, 1},
      {19, 19, 1, 19},       // left to the implementer: one band of the whole height
      {1, 1, 1, 1},
  };
  for (const BandCase& c : cases) {
    const PixelRect R{150, 300, 150 + 3000, 300 + c.height};
    const BandPlan plan = planBands(R);
    EXPECT_EQ(plan.bandWidth, 3000) << c.height;
    EXPECT_EQ(plan.pageHeight, c.height) << c.height;
    EXPECT_EQ(plan.bandHeight, c.bandHeight) << c.height;
    ASSERT_EQ(static_cast<int>(plan.bands.size()), c.bands) << c.height;
    EXPECT_EQ(plan.bands.back().rows, c.lastRows) << c.height;
    expectTiles(plan, R);
  }
}

TEST(BandPlan, FourThousandTenInDetail) {
  const BandPlan plan = planBands({10, 20, 110, 4030});
  ASSERT_EQ(plan.bands.size(), 21u);
  EXPECT_EQ(plan.bands[0], (BitmapBand{10, 20, 0, 200}));
  EXPECT_EQ(plan.bands[1], (BitmapBand{10, 220, -200, 200}));
  EXPECT_EQ(plan.bands[19], (BitmapBand{10, 3820, -3800, 200}));
  EXPECT_EQ(plan.bands[20], (BitmapBand{10, 4020, -4000, 10}));
}

TEST(BandPlan, NegativeCoordinatesAfterAShift) {
  // A two-sided shift can move R left of the printable area's corner.
  const PixelRect R{-355, 254, 4269, 6325};
  const BandPlan plan = planBands(R);
  EXPECT_EQ(plan.bandWidth, 4624);
  EXPECT_EQ(plan.bandHeight, 303);  // 6071 div 20
  EXPECT_EQ(plan.bands.size(), 21u);
  EXPECT_EQ(plan.bands.back().rows, 11);
  expectTiles(plan, R);
}

TEST(BandPlan, NoWidthOrNoHeightMeansNoBand) {
  for (const PixelRect& R : {PixelRect{0, 0, 0, 4000}, PixelRect{100, 0, 50, 4000},
                             PixelRect{0, 100, 3000, 100}, PixelRect{0, 100, 3000, 40},
                             PixelRect{}}) {
    const BandPlan plan = planBands(R);
    EXPECT_TRUE(plan.bands.empty()) << R.left << "," << R.top << "," << R.right << ","
                                    << R.bottom;
    EXPECT_EQ(plan.bandHeight, 0);
    EXPECT_EQ(plan.bandWidth, 0);
  }
}

TEST(BandPlan, ExtremeRectanglesAreClampedNotOverflowed) {
  const PixelRect all{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
  const BandPlan plan = planBands(all);
  const PixelRect clamped{-kCoordinateLimit, -kCoordinateLimit, kCoordinateLimit,
                          kCoordinateLimit};
  EXPECT_EQ(plan.bandWidth, 2 * kCoordinateLimit);
  EXPECT_EQ(plan.bandHeight, 2 * kCoordinateLimit / 20);
  EXPECT_GE(plan.bands.size(), 20u);
  expectTiles(plan, clamped);
  const BandPlan nearTop = planBands({0, INT_MAX - 30, 10, INT_MAX});
  EXPECT_TRUE(nearTop.bands.empty()) << "both edges clamp to the limit: no height left";
}

}  // namespace
}  // namespace zorpokaz
