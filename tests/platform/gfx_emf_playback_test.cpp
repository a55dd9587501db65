// Pictures as the platform plays them, made by an independent producer
// (libEMF, through the platform's drawing calls) and, for the records libEMF
// cannot write, by the test builder. Each rendered picture is pinned by pixel
// probes: the colour inside a shape, on its edge and outside it. Pictures are
// drawn over yellow so that a white fill and no fill tell apart.
#include "platform/gfx/emfpicture.h"
#include "platform/gfx/emfplayback.h"

#include <QImage>
#include <QPainter>
#include <QtEndian>

#include <gtest/gtest.h>

#include "support/emfbuilder.h"
#include "support/libemfpictures.h"

namespace zorpokaz {
namespace {

const QColor kBackground(255, 255, 160);

QByteArray bytesOf(const std::string& s) { return QByteArray(s.data(), static_cast<qsizetype>(s.size())); }

// The picture's 320 × 160 units drawn 2 pixels a unit.
class Rendered {
 public:
  explicit Rendered(const QByteArray& emf, bool mono = false) : m_image(640, 320, QImage::Format_RGB32) {
    m_image.fill(kBackground);
    const EmfPicture picture(emf);
    EXPECT_TRUE(picture.isRenderable());
    QPainter p(&m_image);
    picture.render(p, QRectF(0, 0, 640, 320), mono);
  }
  // The colour at a point given in the picture's units.
  QColor at(double x, double y) const { return m_image.pixelColor(qRound(2 * x), qRound(2 * y)); }
  bool dark(double x, double y) const { return qGray(at(x, y).rgb()) < 90; }
  // Pixels of about this colour inside a rectangle given in units.
  int count(const QRectF& units, const QColor& c) const {
    int n = 0;
    const QRect r = QRectF(units.topLeft() * 2, units.size() * 2).toRect();
    for (int y = r.top(); y <= r.bottom(); ++y)
      for (int x = r.left(); x <= r.right(); ++x) {
        const QColor p = m_image.pixelColor(x, y);
        n += std::abs(p.red() - c.red()) < 40 && std::abs(p.green() - c.green()) < 40 &&
             std::abs(p.blue() - c.blue()) < 40;
      }
    return n;
  }
  const QImage& image() const { return m_image; }

 private:
  QImage m_image;
};

// Nothing selected: the platform's white brush and black pen. (libemf2svg by
// itself fills such a rectangle black.)
TEST(GfxEmfPlayback, DefaultStateFillsWhiteWithABlackEdge) {
  const Rendered r(bytesOf(writer::libemfDefaultState()));
  EXPECT_EQ(r.at(110, 40), QColor(Qt::white)) << "inside the rectangle";
  EXPECT_EQ(r.at(40, 100), QColor(Qt::white));
  EXPECT_TRUE(r.dark(20, 70)) << "its left edge";
  EXPECT_TRUE(r.dark(80, 120)) << "its bottom edge";
  EXPECT_TRUE(r.dark(80, 70)) << "the diagonal";
  EXPECT_EQ(r.at(200, 70), kBackground) << "outside";
  EXPECT_EQ(r.at(80, 140), kBackground);
}

TEST(GfxEmfPlayback, SelectedBrushesAndPens) {
  const Rendered r(bytesOf(writer::libemfBrushesAndPens()));
  // Red triangle with a blue pen 9 units wide.
  EXPECT_EQ(r.at(200, 60), QColor(255, 0, 0));
  EXPECT_EQ(r.at(235, 19), QColor(0, 0, 255)) << "on the edge, 1 unit out";
  EXPECT_EQ(r.at(235, 16), QColor(0, 0, 255)) << "4 units out: still the wide pen";
  EXPECT_EQ(r.at(235, 10), kBackground);
  // Null brush: only the black outline.
  EXPECT_EQ(r.at(80, 80), kBackground) << "a null brush fills nothing";
  EXPECT_TRUE(r.dark(20, 80));
  EXPECT_TRUE(r.dark(140, 80));
  // Green brush, null pen: no outline.
  EXPECT_EQ(r.at(245, 125), QColor(0, 160, 0));
  EXPECT_EQ(r.count({190, 95, 110, 60}, Qt::black), 0) << "the null pen draws no edge";
}

// Text through a selected font, in both text calls. The single-byte call
// carries code page 1250 letters (the font's Central European set), which
// must come out as such (not as blanks); its positive height is the cell, so
// the letters of "Łódź" stand on the cell's baseline: 60 × 1825 / 2268 = 48
// units below the top at 90 (Times: ascent 1825 of a 2268-unit cell).
TEST(GfxEmfPlayback, TextThroughASelectedFont) {
  const Rendered r(bytesOf(writer::libemfText()));
  const QColor red(255, 0, 0);
  const int turtle = r.count({0, 0, 320, 80}, red);
  const int lodz = r.count({0, 85, 320, 75}, red);
  EXPECT_GT(turtle, 1500) << "ŻÓŁW in red";
  EXPECT_GT(lodz, 3000) << "all of Łódź in red";
  // Ink rows of the second line.
  int top = 320, bottom = -1;
  for (int y = 170; y < 320; ++y)
    for (int x = 0; x < 400; ++x)
      if (r.image().pixelColor(x, y) == red) top = std::min(top, y), bottom = std::max(bottom, y);
  EXPECT_GE(top, 180) << "not above the cell";
  EXPECT_NEAR(bottom, 2 * 138, 3) << "standing on the baseline";
  EXPECT_EQ(r.count({200, 0, 120, 160}, red), 0) << "nothing past the words";
}

// The single-byte text becomes UTF-16 text decoded in the selected font's
// code page, with its character spacing kept.
TEST(GfxEmfPlayback, SingleByteTextIsDecodedInTheFontsCodePage) {
  const QByteArray seeded = withPlaybackDefaults(bytesOf(writer::libemfText()));
  qsizetype at = qFromLittleEndian<quint32>(seeded.constData() + 4);
  QString drawn;
  while (at + 8 <= seeded.size()) {
    const quint32 type = qFromLittleEndian<quint32>(seeded.constData() + at);
    const quint32 size = qFromLittleEndian<quint32>(seeded.constData() + at + 4);
    EXPECT_NE(type, 83u) << "no single-byte text record is left";
    if (type == 84) {
      const quint32 chars = qFromLittleEndian<quint32>(seeded.constData() + at + 44);
      const quint32 offset = qFromLittleEndian<quint32>(seeded.constData() + at + 48);
      drawn += QString::fromUtf16(reinterpret_cast<const char16_t*>(seeded.constData() + at + offset), chars) + '|';
    }
    at += size;
  }
  EXPECT_EQ(drawn, QString::fromUtf8("ŻÓŁW|Łódź|"));
}

// The header of the prepared picture still describes it: its size, its
// record count and its object slots (one more for the default font).
TEST(GfxEmfPlayback, PreparedPictureKeepsAConsistentHeader) {
  const QByteArray original = bytesOf(writer::libemfBrushesAndPens());
  const QByteArray seeded = withPlaybackDefaults(original);
  auto u32 = [](const QByteArray& b, int at) { return qFromLittleEndian<quint32>(b.constData() + at); };
  EXPECT_EQ(u32(seeded, 48), static_cast<quint32>(seeded.size()));
  EXPECT_EQ(u32(seeded, 52), u32(original, 52) + 7);
  EXPECT_EQ(qFromLittleEndian<quint16>(seeded.constData() + 56), qFromLittleEndian<quint16>(original.constData() + 56) + 1);
  EXPECT_TRUE(seeded.endsWith(original.right(20))) << "the picture's own EMR_EOF ends it";
  // What cannot be walked is handed on untouched.
  for (const QByteArray& odd : {QByteArray(), original.left(60), original.left(original.size() - 20)})
    EXPECT_EQ(withPlaybackDefaults(odd), odd);
}

// A bitmap through StretchDIBits is stretched by repeating its pixels.
TEST(GfxEmfPlayback, StretchedBitmapKeepsItsPixels) {
  const Rendered r(writer::makeEmfWithBitmap());
  EXPECT_EQ(r.at(80, 45), QColor(255, 0, 0));
  EXPECT_EQ(r.at(118, 45), QColor(255, 0, 0)) << "no blending at the pixel boundary";
  EXPECT_EQ(r.at(122, 45), QColor(0, 255, 0));
  EXPECT_EQ(r.at(80, 95), QColor(0, 0, 255));
  EXPECT_EQ(r.at(160, 95), QColor(0, 0, 0));
  EXPECT_EQ(r.at(20, 70), kBackground);
  EXPECT_EQ(r.at(220, 70), kBackground);
}

// A clip region cuts what is drawn under it; libemf2svg writes it as a clip
// path, which QtSvg alone would ignore.
TEST(GfxEmfPlayback, ClipCutsTheDrawing) {
  const Rendered r(writer::makeEmfWithClip());
  EXPECT_EQ(r.at(160, 80), QColor(255, 0, 0)) << "inside the clip";
  EXPECT_EQ(r.at(62, 42), QColor(255, 0, 0)) << "just inside its corner";
  EXPECT_EQ(r.at(40, 80), kBackground) << "inside the rectangle, left of the clip";
  EXPECT_EQ(r.at(160, 30), kBackground) << "above the clip";
  EXPECT_EQ(r.at(280, 130), kBackground);
  EXPECT_EQ(r.count({0, 0, 58, 160}, Qt::black), 0) << "the rectangle's edge is cut too";
  const Rendered mono(writer::makeEmfWithClip(), true);
  EXPECT_EQ(mono.at(160, 80), QColor(Qt::white)) << "mono fills white, clipped the same";
  EXPECT_EQ(mono.at(40, 80), kBackground);
}

// The sample printouts' logo: the box drawn before anything is selected is
// white with a black edge, not a black block.
TEST(GfxEmfPlayback, LogoIsAPictureNotABlot) {
  const QByteArray logo = bytesOf(writer::libemfLogo());
  const EmfPicture picture(logo);
  ASSERT_TRUE(picture.isRenderable());
  QImage image(576, 96, QImage::Format_RGB32);
  image.fill(kBackground);
  QPainter p(&image);
  picture.render(p, QRectF(0, 0, 576, 96));
  p.end();
  EXPECT_EQ(image.pixelColor(300, 88), QColor(Qt::white)) << "inside the box, below the words";
  EXPECT_LT(std::min({qGray(image.pixel(300, 1)), qGray(image.pixel(300, 2)), qGray(image.pixel(300, 3))}), 140)
      << "its edge";
  EXPECT_EQ(image.pixelColor(50, 80), QColor(0, 40, 110)) << "the badge";
  EXPECT_EQ(image.pixelColor(40, 30), QColor(Qt::white)) << "the sheet on it";
}

}  // namespace
}  // namespace zorpokaz
