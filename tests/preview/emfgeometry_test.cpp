#include "preview/emfgeometry.h"

#include <climits>
#include <gtest/gtest.h>

namespace zorpokaz::emfgeo {
namespace {

using Z = TEmfZoomLevel;

struct SizeCase {
  Z level;
  int viewW, viewH, margL, margR;
  int width, height;
};

TEST(EmfGeometry, SheetSizeForEveryLevel) {
  const SizeCase cases[] = {
      // A 788 x 600 view: every level's formula, worked by hand.
      {Z::zoomPageH, 788, 600, 10, 10, 417, 590},
      {Z::zoomPageAvg, 788, 600, 10, 10, 597, 844},
      {Z::zoomPageW, 788, 600, 10, 10, 776, 1097},
      {Z::zoomTextW, 788, 600, 10, 10, 865, 1223},
      {Z::zoomExtra1, 788, 600, 10, 10, 1051, 1486},
      {Z::zoomExtra2, 788, 600, 10, 10, 1313, 1857},
      {Z::zoomExtra3, 788, 600, 10, 10, 1576, 2229},
      // Without side margins the text width is the view less 6, narrower than the view.
      {Z::zoomTextW, 788, 600, 0, 0, 782, 1106},
      // Halves go to the even neighbour: (0 + 5) * 0.5 = 2.5 -> 2, (0 + 7) * 0.5 = 3.5 -> 4.
      {Z::zoomPageAvg, 17, 10, 0, 0, 2, 3},
      {Z::zoomPageAvg, 19, 10, 0, 0, 4, 6},
      // A tall, narrow view: the averaged sheet is wider than the view.
      {Z::zoomPageAvg, 200, 1000, 0, 0, 444, 628},
      // A collapsed view still yields a sheet, never a zero to divide by.
      {Z::zoomPageH, 0, 0, 10, 10, 1, 1},
      {Z::zoomPageW, 0, 0, 10, 10, 1, 1},
      // Side margins covering the whole sheet width cannot be fitted: capped.
      {Z::zoomTextW, 788, 600, 105, 105, kMaxSheetWidth, 28286},
      {Z::zoomTextW, 788, 600, 150, 150, kMaxSheetWidth, 28286},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "level " << static_cast<int>(c.level) << " view "
                                    << c.viewW << "x" << c.viewH);
    const SheetSize s = SheetSizeFor(c.level, c.viewW, c.viewH, c.margL, c.margR);
    EXPECT_EQ(s.width, c.width);
    EXPECT_EQ(s.height, c.height);
  }
}

TEST(EmfGeometry, MarginsInPixels) {
  struct Case {
    SheetSize sheet;
    int l, t, r, b;
    SheetMargins want;
  };
  const Case cases[] = {
      {{417, 590}, 10, 15, 10, 25, {20, 30, 20, 50}},
      {{776, 1097}, 10, 15, 10, 25, {37, 55, 37, 92}},
      // 1 * 105 / 210 = 0.5 -> 0 and 1 * 315 / 210 = 1.5 -> 2: halves to even.
      {{105, 148}, 1, 0, 1, 0, {0, 0, 0, 0}},
      {{315, 445}, 1, 0, 1, 0, {2, 0, 2, 0}},
      {{776, 1097}, 0, 0, 0, 0, {0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    const SheetMargins m = MarginsPx(c.sheet, c.l, c.t, c.r, c.b);
    EXPECT_EQ(m.left, c.want.left);
    EXPECT_EQ(m.top, c.want.top);
    EXPECT_EQ(m.right, c.want.right);
    EXPECT_EQ(m.bottom, c.want.bottom);
  }
}

TEST(EmfGeometry, ScrollMaxima) {
  const SheetSize w{776, 1097};
  EXPECT_EQ(VerticalMax(w, 0, 600), 0);
  EXPECT_EQ(VerticalMax(w, 3, 600), 3 * 1107 - 600);
  EXPECT_EQ(HorizontalMax(w, 788), 0);
  EXPECT_EQ(HorizontalMax({1051, 1486}, 788), 1051 + 10 - 788);
  // A page column longer than the int range saturates instead of wrapping.
  EXPECT_EQ(VerticalMax({kMaxSheetWidth, 28286}, 1000000, 600), INT_MAX);
}

TEST(EmfGeometry, RescaleKeepsRelativePlace) {
  struct Case {
    int pos, oldMax, newMax, want;
  };
  const Case cases[] = {
      {50, 100, 300, 150}, {1, 3, 2, 1},  {1, 4, 2, 0},  // 0.5 -> 0
      {3, 4, 2, 2},                                       // 1.5 -> 2
      {0, 0, 500, 0},      {7, 0, 500, 0}, {100, 100, 0, 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(RescalePosition(c.pos, c.oldMax, c.newMax), c.want)
        << c.pos << " " << c.oldMax << " " << c.newMax;
}

TEST(EmfGeometry, PageAtAndBack) {
  const SheetSize s{776, 1097};  // zoomPageW in a 788-wide view
  struct Case {
    int x, y, hPos, vPos;
    float page, fraction;
  };
  const Case cases[] = {
      {394, 5, 0, 0, 0.0f, 383.0f / 776.0f},          // centred sheet: 6 px each side
      {394, 5, 0, 1107, 1.0f, 383.0f / 776.0f},       // one slot further down
      {11, 0, 0, 1107, 1.0f - 5.0f / 1097.0f, 0.0f},  // in the gap above sheet 1
      {0, 0, 0, 0, -5.0f / 1097.0f, -11.0f / 776.0f},
  };
  for (const auto& c : cases) {
    const PagePoint p = PageAt(c.x, c.y, c.hPos, c.vPos, 788, s);
    EXPECT_FLOAT_EQ(p.page, c.page);
    EXPECT_FLOAT_EQ(p.fraction, c.fraction);
  }
  // Wider sheet than view: the horizontal position counts, no centring.
  const SheetSize wide{1051, 1486};
  EXPECT_FLOAT_EQ(PageAt(100, 10, 50, 0, 788, wide).fraction, 145.0f / 1051.0f);
  // Back again: the same point of the page lands under the same view point.
  for (int vPos : {0, 1, 553, 1106, 1107, 50000}) {
    const PagePoint p = PageAt(300, 200, 0, vPos, 788, s);
    EXPECT_EQ(ScrollToPointV(200, p.page, s), vPos);
  }
  const PagePoint q = PageAt(300, 200, 130, 0, 788, wide);
  EXPECT_EQ(ScrollToPointH(300, q.fraction, wide), 130);
}

TEST(EmfGeometry, PagePositionsAreSinglePrecision) {
  // Near page 10000 a float cannot tell the last row of a tall sheet from the
  // next page; the viewer reports the next page there, as the system does.
  const SheetSize s{1576, 2229};
  const int slot = SheetSlot(s);
  const PagePoint p = PageAt(0, 0, 0, 9999 * slot + 5 + 2228, 1000, s);
  EXPECT_EQ(p.page, 10000.0f);
  const PagePoint q = PageAt(0, 0, 0, 99 * slot + 5 + 2228, 1000, s);
  EXPECT_LT(q.page, 100.0f);
}

TEST(EmfGeometry, ScrollToPointRoundsHalvesToEven) {
  const SheetSize s{776, 1097};
  // 2 * 1107 + 5 + Round(0.5 * 1097 = 548.5 -> 548) - 100
  EXPECT_EQ(ScrollToPointV(100, 2.5f, s), 2214 + 5 + 548 - 100);
  // Round(0.5 * 777 = 388.5 -> 388) + 5 - 10
  EXPECT_EQ(ScrollToPointH(10, 0.5f, {777, 1099}), 383);
}

TEST(EmfGeometry, AlignAndPageNumbers) {
  const SheetSize s{417, 590};
  EXPECT_EQ(AlignToPageV(0.99f, s), 0);
  EXPECT_EQ(AlignToPageV(3.2f, s), 3 * 600);
  EXPECT_EQ(AlignToPageV(-0.004f, s), 0);
  EXPECT_EQ(PageNrToPos(1, s), 0);
  EXPECT_EQ(PageNrToPos(4, s), 1800);
  EXPECT_EQ(PageNrToPos(0, s), -600);  // the scroll bar clamps it
  EXPECT_EQ(TextWidthHorizontalPos({865, 1223}, 10), 41 + 3);
}

TEST(EmfGeometry, VisibleSheets) {
  const SheetSize s{776, 1097};
  EXPECT_EQ(SheetLeft(s, 788, 300), 6);  // narrower: centred, position ignored
  EXPECT_EQ(SheetLeft({1051, 1486}, 788, 40), 5 - 40);
  EXPECT_EQ(FirstSheet(0, s), 0);
  EXPECT_EQ(FirstSheet(1111, s), 0);
  EXPECT_EQ(FirstSheet(1112, s), 1);
  EXPECT_EQ(SheetTop(0, 0, s), 5);
  EXPECT_EQ(SheetTop(1, 1112, s), 0);
}

TEST(EmfGeometry, PageLabel) {
  EXPECT_EQ(PageLabel(3), QStringLiteral("-  strona 3 -"));
  EXPECT_EQ(PageLabel(1234), QStringLiteral("-  strona 1234 -"));
}

}  // namespace
}  // namespace zorpokaz::emfgeo
