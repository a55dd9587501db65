// Page geometry and the millimetre/pixel conversions.
#include "platform/gfx/units.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zorpokaz {
namespace {

TEST(GfxUnits, PageSizeAtCommonResolutions) {
  EXPECT_EQ(PageSizePx(96), QSize(1429, 2000));
  EXPECT_EQ(PageSizePx(100), QSize(1488, 2083));
  EXPECT_EQ(PageSizePx(120), QSize(1786, 2500));
  EXPECT_EQ(PageUnits(96).pageSize(), QSize(1429, 2000));
}

TEST(GfxUnits, DefaultStyleCellAt96) {
  // Item 0: CharHeight 294 / 84 = 3.5 mm, CharWidth 210 / 132 mm (float32).
  const float charHeight = 294.0f / 84;
  const float charWidth = 210.0f / 132;
  EXPECT_EQ(MmToPxY(96, charHeight), 24);  // 23.81
  EXPECT_EQ(MmToPxX(96, charWidth), 11);   // 10.82
}

TEST(GfxUnits, RulePensAreOnePixelAt96) {
  EXPECT_EQ(MmToPxY(96, 0.15f), 1);         // 1.02
  EXPECT_EQ(MmToPxY(96, 0.15f * 1.3f), 1);  // 0.195 mm: 1.33
  EXPECT_EQ(MmToPxY(120, 0.15f * 1.3f), 2);  // 1.66
}

TEST(GfxUnits, ZeroAndNegative) {
  EXPECT_EQ(MmToPxY(96, 0.0f), 0);
  EXPECT_EQ(MmToPxY(96, -3.5f), -24);
  EXPECT_EQ(PxToMmY(96, 0), 0.0f);
}

TEST(GfxUnits, HugeValuesAreClampedNotUndefined) {
  EXPECT_EQ(MmToPxX(96, 1e30f), 1 << 30);
  EXPECT_EQ(MmToPxX(96, -1e30f), -(1 << 30));
  EXPECT_EQ(MmToPxX(96, std::nanf("")), 0);
  EXPECT_EQ(PxToMmX(0, 10), 0.0f);
}

TEST(GfxUnits, RoundsToNearest) {
  // 96 × 294 / 25.4 × 1.8 = 2000.13; 96 × 210 / 25.4 × 1.8 = 1428.66.
  EXPECT_EQ(MmToPxY(96, 294.0f), 2000);
  EXPECT_EQ(MmToPxX(96, 210.0f), 1429);
  // R = 127 makes 1 mm = 9 px exactly; 0.5 px steps come from mm = k / 18.
  EXPECT_EQ(MmToPxY(127, 1.0f), 9);
  EXPECT_EQ(MmToPxY(127, 2.0f), 18);
}

TEST(GfxUnits, RoundsTheExtendedPrecisionValueWithTiesToEven) {
  // The conversion rounds without the maths library; it must land where
  // nearbyintl lands on the extended-precision value, ties and negative
  // positions included (a page break moves with one pixel).
  for (int dpi : {72, 96, 120, 127, 150, 300, 600}) {
    for (int i = -40000; i <= 40000; ++i) {
      for (const float mm : {i * 0.05f, i / 18.0f, i * 0.5f}) {
        const long double exact = static_cast<long double>(dpi) * mm / 25.4L * (180 * 0.01L);
        ASSERT_EQ(MmToPxY(dpi, mm), static_cast<int>(std::nearbyintl(exact))) << "dpi " << dpi << " mm " << mm;
      }
    }
  }
  EXPECT_EQ(MmToPxY(127, 0.5f), 4);   // 4.5
  EXPECT_EQ(MmToPxY(127, 1.5f), 14);  // 13.5
}

TEST(GfxUnits, FieldPositionsDoNotDependOnR) {
  // X is stored in 1/Units inch and multiplied by the float32
  // Scale = 180 / Units, rounded; nothing in it involves R.
  const float scale = 180.0f / 1200;
  EXPECT_EQ(std::lrint(1200 * scale), 180);
}

TEST(GfxUnits, RoundTripWithinOnePixel) {
  for (int dpi : {72, 96, 100, 120, 144}) {
    const float onePx = PxToMmY(dpi, 1);
    for (int i = 0; i <= 2940; ++i) {
      const float mm = i * 0.1f;
      const float back = PxToMmY(dpi, MmToPxY(dpi, mm));
      ASSERT_LE(std::fabs(back - mm), onePx / 2 + 1e-4f) << "dpi " << dpi << " mm " << mm;
    }
  }
}

TEST(GfxUnits, PxToMmIsFloat32OfTheFormula) {
  EXPECT_FLOAT_EQ(PxToMmY(96, 24), static_cast<float>(24.0L / 96 * 25.4L / 1.8L));
  EXPECT_FLOAT_EQ(PxToMmX(100, 180), 25.4f);
}

}  // namespace
}  // namespace zorpokaz
