// Embedded EMF pictures: header checks, frame size, rendering through
// libemf2svg + QtSvg, and corrupt data drawing nothing.
#include "platform/errors.h"
#include "platform/gfx/emfpicture.h"

#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QtEndian>

#include <gtest/gtest.h>

#include "gfx_emf_builder.h"

namespace zorpokaz {
namespace {

QImage render(const EmfPicture& pic, QSize size, bool mono = false, QRectF target = {}) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  pic.render(p, target.isNull() ? QRectF(QPointF(0, 0), QSizeF(size)) : target, mono);
  return image;
}

bool allWhite(const QImage& image) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) != qRgb(255, 255, 255)) return false;
  return true;
}

TEST(GfxEmf, FrameGivesTheSize) {
  const EmfPicture pic(test::redRectangleEmf());
  EXPECT_FALSE(pic.isNull());
  EXPECT_EQ(pic.frameWidth(), 2646);
  EXPECT_EQ(pic.frameHeight(), 1323);
  EXPECT_EQ(pic.widthPx(96), 100);  // MulDiv(2646, 96, 2540) = 100.0
  EXPECT_EQ(pic.heightPx(96), 50);
  EXPECT_EQ(pic.bytes().size(), 180);
}

TEST(GfxEmf, RendersTheRectangleWhereItBelongs) {
  // Frame 100 × 50 device pixels; the red rectangle covers 10..60 × 10..40.
  // Stretched into 200 × 100 everything doubles.
  const EmfPicture pic(test::redRectangleEmf());
  ASSERT_TRUE(pic.isRenderable());
  const QImage image = render(pic, {200, 100});
  EXPECT_EQ(image.pixel(70, 50), qRgb(255, 0, 0));
  EXPECT_EQ(image.pixel(30, 30), qRgb(255, 0, 0));
  EXPECT_EQ(image.pixel(110, 70), qRgb(255, 0, 0));
  EXPECT_EQ(image.pixel(10, 10), qRgb(255, 255, 255));
  EXPECT_EQ(image.pixel(150, 50), qRgb(255, 255, 255));
  EXPECT_EQ(image.pixel(70, 90), qRgb(255, 255, 255));
}

TEST(GfxEmf, StretchesIntoAnyRectangle) {
  const EmfPicture pic(test::redRectangleEmf());
  const QImage image = render(pic, {400, 400}, false, QRectF(100, 200, 100, 100));
  // 10..60 of 100 → 100 + 10..60; 10..40 of 50 → 200 + 20..80.
  EXPECT_EQ(image.pixel(135, 250), qRgb(255, 0, 0));
  EXPECT_EQ(image.pixel(135, 210), qRgb(255, 255, 255));
  EXPECT_EQ(image.pixel(50, 50), qRgb(255, 255, 255));
}

TEST(GfxEmf, MonoFillsWhiteAndStrokesBlack) {
  const EmfPicture pic(test::redRectangleEmf());
  const QImage image = render(pic, {200, 100}, true);
  EXPECT_EQ(image.pixel(70, 50), qRgb(255, 255, 255));
  bool black = false;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QRgb c = image.pixel(x, y);
      EXPECT_EQ(qRed(c), qGreen(c));
      EXPECT_EQ(qGreen(c), qBlue(c));
      black = black || c == qRgb(0, 0, 0);
    }
  EXPECT_TRUE(black) << "the outline stays visible";
}

TEST(GfxEmf, CopiesShareTheRendering) {
  const EmfPicture a(test::redRectangleEmf());
  const EmfPicture b = a;
  EXPECT_TRUE(a == b);
  EXPECT_TRUE(b.isRenderable());
  EXPECT_FALSE(EmfPicture(test::redRectangleEmf()) == a);
}

TEST(GfxEmf, HeaderChecks) {
  QByteArray bytes = test::redRectangleEmf();
  EXPECT_EQ(EmfPicture::checkHeader(bytes.constData()), 180u);
  QByteArray bad = bytes;
  bad[40] = 'X';
  try {
    EmfPicture::checkHeader(bad.constData());
    FAIL() << "no exception";
  } catch (const EInvalidGraphic& e) {
    EXPECT_STREQ(e.what(), "Metafile is not valid");
  }
  EXPECT_THROW(EmfPicture{bad}, EInvalidGraphic);
  EXPECT_THROW(EmfPicture{bytes.left(99)}, EInvalidGraphic);
  EXPECT_THROW(EmfPicture{bytes.left(150)}, EInvalidGraphic) << "fewer bytes than the header says";
  QByteArray small = bytes;
  qToLittleEndian<quint32>(50, small.data() + 48);
  EXPECT_THROW(EmfPicture{small}, EInvalidGraphic) << "total smaller than the header";
}

TEST(GfxEmf, ExtraBytesAfterTheImageAreDropped) {
  const EmfPicture pic(test::redRectangleEmf() + QByteArray(20, 'x'));
  EXPECT_EQ(pic.bytes().size(), 180);
  EXPECT_TRUE(pic.isRenderable());
}

TEST(GfxEmf, NullPictureDrawsNothing) {
  const EmfPicture pic;
  EXPECT_TRUE(pic.isNull());
  EXPECT_FALSE(pic.isRenderable());
  EXPECT_EQ(pic.widthPx(96), 0);
  EXPECT_TRUE(allWhite(render(pic, {50, 50})));
}

// Records that lie about their sizes never reach libemf2svg.
TEST(GfxEmf, CorruptRecordsDrawNothing) {
  struct Corruption {
    const char* name;
    int offset;
    quint32 value;
  };
  const Corruption cases[] = {
      {"record size 0", 104 + 0, 0},        // first record after the header: size field
      {"record size odd", 104, 22},
      {"record past the end", 104, 4000},
      {"no EOF: last record renamed", 160, 43},
      {"first record is not a header", 0, 43},
      {"header record too small", 4, 8},
  };
  for (const Corruption& c : cases) {
    QByteArray bytes = test::redRectangleEmf();
    qToLittleEndian<quint32>(c.value, bytes.data() + c.offset);
    const EmfPicture pic(bytes);
    EXPECT_FALSE(pic.isRenderable()) << c.name;
    EXPECT_TRUE(allWhite(render(pic, {100, 50}))) << c.name;
  }
}

TEST(GfxEmf, RandomRecordContentNeverCrashes) {
  QRandomGenerator rng(1234);
  const QByteArray base = test::redRectangleEmf();
  for (int round = 0; round < 300; ++round) {
    QByteArray bytes = base;
    // Scribble over the record bodies but keep types and sizes intact, so
    // libemf2svg itself sees odd values.
    for (int k = 0; k < 6; ++k) {
      const int at = 100 + static_cast<int>(rng.bounded(static_cast<quint32>(bytes.size() - 100)));
      const bool typeOrSize = (at >= 100 && at < 108) || (at >= 124 && at < 132) || (at >= 136 && at < 144) ||
                              (at >= 160 && at < 168);
      if (!typeOrSize) bytes[at] = static_cast<char>(rng.bounded(256));
    }
    const EmfPicture pic(bytes);
    (void)render(pic, {40, 20});
    (void)render(pic, {40, 20}, true);
  }
}

}  // namespace
}  // namespace zorpokaz
