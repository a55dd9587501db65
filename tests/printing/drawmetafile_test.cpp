#include "sheets/drawmetafile.h"

#include <QPainter>
#include <gtest/gtest.h>

#include "printing/testpages.h"

namespace zorpokaz {
namespace {

using testing::countPixels;

bool isRed(const QColor& c) { return c.red() > 150 && c.green() < 100 && c.blue() < 100; }
bool isBlack(const QColor& c) { return c.red() < 60 && c.green() < 60 && c.blue() < 60; }
bool isPureBlackOrWhite(const QColor& c) {
  return c.rgb() == qRgb(0, 0, 0) || c.rgb() == qRgb(255, 255, 255);
}

// The page drawn into R on a blue canvas of 600 x 900 printer pixels.
QImage draw(const PixelRect& R, bool blackWhite, bool bitmap) {
  QImage canvas(600, 900, QImage::Format_RGB32);
  canvas.fill(Qt::blue);
  QPainter p(&canvas);
  const auto page = testing::makeTextPage(1);
  DrawPageOnPrinter(p, R, *page, blackWhite, bitmap);
  return canvas;
}

struct ModeCase {
  bool blackWhite;
  bool bitmap;
};

class DrawModes : public ::testing::TestWithParam<ModeCase> {};

TEST_P(DrawModes, RedPageComesOutRedOrBlackOnWhiteInsideItsRectangleOnly) {
  const ModeCase c = GetParam();
  const PixelRect R{50, 40, 550, 853};  // 813 px tall: 20 bands of 40 and a cut band of 13
  const QImage out = draw(R, c.blackWhite, c.bitmap);
  const QRect inside = R.toQRect();
  const int red = countPixels(out, inside, isRed);
  const int black = countPixels(out, inside, isBlack);
  if (c.blackWhite) {
    EXPECT_EQ(red, 0);
    EXPECT_GT(black, 1000);
  } else {
    EXPECT_GT(red, 1000);
    EXPECT_EQ(black, 0);
  }
  if (c.blackWhite && c.bitmap) {
    EXPECT_EQ(countPixels(out, inside, isPureBlackOrWhite), inside.width() * inside.height());
  }
  // Bitmap bands fill their rectangle with white; vector replay draws only ink.
  // Neither touches a pixel outside R, the cut last band included.
  const auto blue = [](const QColor& q) { return q.rgb() == qRgb(0, 0, 255); };
  EXPECT_EQ(countPixels(out, QRect(0, 853, 600, 47), blue), 600 * 47);
  EXPECT_EQ(countPixels(out, QRect(0, 0, 600, 40), blue), 600 * 40);
  EXPECT_EQ(countPixels(out, QRect(550, 0, 50, 900), blue), 50 * 900);
  if (c.bitmap) {
    EXPECT_EQ(countPixels(out, inside, blue), 0);
  }
}

INSTANTIATE_TEST_SUITE_P(AllModes, DrawModes,
                         ::testing::Values(ModeCase{false, false}, ModeCase{true, false},
                                           ModeCase{false, true}, ModeCase{true, true}));

TEST(DrawMetafile, BitmapBandsMatchTheVectorReplay) {
  const PixelRect R{0, 0, 600, 900};
  for (const bool bw : {false, true}) {
    const QImage vector = draw(R, bw, false);
    const QImage bands = draw(R, bw, true);
    const auto ink = bw ? isBlack : isRed;
    const int a = countPixels(vector, R.toQRect(), ink);
    const int b = countPixels(bands, R.toQRect(), ink);
    EXPECT_NEAR(a, b, a / 20) << bw;
    // The rule across the page lands in the same rows in both.
    EXPECT_TRUE(ink(QColor(bands.pixel(300, 450))));
    EXPECT_TRUE(ink(QColor(vector.pixel(300, 450))));
  }
}

TEST(DrawMetafile, EmptyRectanglesDrawNothing) {
  for (const bool bitmap : {false, true})
    for (const PixelRect& R : {PixelRect{100, 100, 100, 500}, PixelRect{100, 500, 400, 100},
                               PixelRect{300, 100, 200, 500}}) {
      const QImage out = draw(R, false, bitmap);
      EXPECT_EQ(countPixels(out, out.rect(), [](const QColor& c) { return c != Qt::blue; }), 0);
    }
}

TEST(DrawMetafile, PageShorterThanTwentyPixelsIsStillDrawnInBitmapMode) {
  const QImage out = draw(PixelRect{0, 0, 600, 12}, false, true);
  EXPECT_EQ(countPixels(out, QRect(0, 0, 600, 12), [](const QColor& c) { return c == Qt::blue; }),
            0);
}

}  // namespace
}  // namespace zorpokaz
