// Realised fonts and the fitting of a style's font to its cell
// (GetFont / TextHeight / DigitWidth).
#include "platform/gfx/cellfont.h"
#include "platform/gfx/dtflags.h"
#include "platform/gfx/pagecanvas.h"
#include "platform/gfx/realizedfont.h"

#include <QFont>
#include <QFontMetrics>
#include <QtEndian>

#include <gtest/gtest.h>

#include "support/cirequire.h"

namespace zorpokaz {
namespace {

LogFont font(const char* face, int height, int width = 0, int weight = 400) {
  LogFont f;
  f.face = QString::fromLatin1(face);
  f.height = height;
  f.width = width;
  f.weight = weight;
  return f;
}

TEST(GfxFont, WindowsFacesMapToLiberation) {
  EXPECT_EQ(RealizedFont::get(font("Courier New", -24)).familyName(), QStringLiteral("Liberation Mono"));
  EXPECT_EQ(RealizedFont::get(font("Arial", -24)).familyName(), QStringLiteral("Liberation Sans"));
  EXPECT_EQ(RealizedFont::get(font("Times New Roman", -24)).familyName(), QStringLiteral("Liberation Serif"));
}

TEST(GfxFont, UnknownFaceStillGivesAFont) {
  const RealizedFont& f = RealizedFont::get(font("No Such Face 123", -20));
  EXPECT_TRUE(f.rawFont().isValid());
  EXPECT_GT(f.height(), 0);
  EXPECT_GT(f.advance(U'a'), 0);
}

// Line height = round(winAscent·ppem/upem) + round(winDescent·ppem/upem).
// Liberation Mono: upem 2048, usWinAscent 1705, usWinDescent 615.
TEST(GfxFont, LineHeightFromOs2WinMetrics) {
  struct Row {
    int ppem, ascent, descent;
  };
  for (const Row& r : {Row{24, 20, 7}, Row{21, 17, 6}, Row{16, 13, 5}, Row{12, 10, 4}, Row{40, 33, 12}}) {
    const RealizedFont& f = RealizedFont::get(font("Courier New", -r.ppem));
    EXPECT_EQ(f.ppem(), r.ppem);
    EXPECT_EQ(f.ascent(), r.ascent) << r.ppem;
    EXPECT_EQ(f.descent(), r.descent) << r.ppem;
    EXPECT_EQ(f.height(), r.ascent + r.descent) << r.ppem;
    EXPECT_EQ(f.internalLeading(), r.ascent + r.descent - r.ppem);
  }
}

TEST(GfxFont, LineHeightMatchesTheTablesOfEveryFace) {
  for (const char* face : {"Courier New", "Arial", "Times New Roman"}) {
    for (int ppem : {9, 11, 17, 21, 24, 33}) {
      const RealizedFont& f = RealizedFont::get(font(face, -ppem));
      const QByteArray os2 = f.rawFont().fontTable("OS/2");
      const QByteArray head = f.rawFont().fontTable("head");
      ASSERT_GE(os2.size(), 78);
      const double upem = qFromBigEndian<quint16>(head.constData() + 18);
      const double winAscent = qFromBigEndian<quint16>(os2.constData() + 74);
      const double winDescent = qFromBigEndian<quint16>(os2.constData() + 76);
      EXPECT_EQ(f.ascent(), static_cast<int>(std::floor(winAscent * ppem / upem + 0.5))) << face << ppem;
      EXPECT_EQ(f.descent(), static_cast<int>(std::floor(winDescent * ppem / upem + 0.5))) << face << ppem;
    }
  }
}

// Qt's own QFontMetrics may differ (it uses hhea or rounds the sum); the text
// routine never uses them. Pinned for Liberation Mono at 24 px so a change in
// either shows up here.
TEST(GfxFont, QtMetricsAreNotOurs) {
  QFont qf(QStringLiteral("Courier New"));
  qf.setPixelSize(24);
  QFontMetrics qm(qf);
  const RealizedFont& f = RealizedFont::get(font("Courier New", -24));
  EXPECT_EQ(f.height(), 27);
  EXPECT_LE(std::abs(qm.height() - f.height()), 1);
}

TEST(GfxFont, WidthStretchesToTheAverageCharacterWidth) {
  const RealizedFont& natural = RealizedFont::get(font("Courier New", -24));
  EXPECT_EQ(natural.avgCharWidth(), 14);  // 1229 × 24 / 2048 = 14.4
  EXPECT_DOUBLE_EQ(natural.stretch(), 1.0);
  EXPECT_EQ(natural.advance(U'0'), 14);

  const RealizedFont& narrow = RealizedFont::get(font("Courier New", -24, -11));
  EXPECT_EQ(narrow.avgCharWidth(), 11);
  EXPECT_DOUBLE_EQ(narrow.stretch(), 11.0 / 14);
  EXPECT_EQ(narrow.advance(U'0'), 11);
  EXPECT_EQ(narrow.textWidth(u"1234567890"), 110);
  EXPECT_EQ(narrow.height(), 27) << "the width does not change the height";

  // Positive width is the same request.
  EXPECT_EQ(RealizedFont::get(font("Courier New", -24, 11)).advance(U'x'), 11);
}

// The natural average width of a face that stands in for a named one is the
// named face's: the weighted lowercase average over the stand-in's own
// advances (Arial 904, Times New Roman 821 units of 2048), not the plain
// average over all glyphs the stand-ins store (1208, 1163). A face asked for
// by its own name keeps its stored value.
TEST(GfxFont, NaturalAverageWidthIsTheNamedFaces) {
  struct Row {
    const char* face;
    int weight;
    bool substituted;
    int units;
    int avgAt24;  // units × 24 / 2048, rounded
  };
  const Row rows[] = {
      {"Arial", 400, true, 904, 11},           {"Arial", 700, true, 980, 11},
      {"Times New Roman", 400, true, 821, 10}, {"Times New Roman", 700, true, 874, 10},
      {"Courier New", 400, true, 1229, 14},    {"arial", 400, true, 904, 11},
      {"Liberation Sans", 400, false, 1208, 14},
  };
  for (const Row& r : rows) {
    const RealizedFont& f = RealizedFont::get(font(r.face, -24, 0, r.weight));
    EXPECT_EQ(f.substituted(), r.substituted) << r.face;
    EXPECT_EQ(f.naturalAverageUnits(), r.units) << r.face << " " << r.weight;
    EXPECT_EQ(f.avgCharWidth(), r.avgAt24) << r.face << " " << r.weight;
  }
  // The stretch follows: Arial asked 11 wide at 24 px is not stretched at all.
  EXPECT_DOUBLE_EQ(RealizedFont::get(font("Arial", -24, -11)).stretch(), 1.0);
}

TEST(GfxFont, ProportionalAdvancesArePerCharacter) {
  const RealizedFont& f = RealizedFont::get(font("Arial", -24));
  EXPECT_LT(f.advance(U'i'), f.advance(U'W'));
  EXPECT_EQ(f.textWidth(u"iW"), f.advance(U'i') + f.advance(U'W'));
  EXPECT_EQ(f.textWidth(u"AV"), f.advance(U'A') + f.advance(U'V')) << "no kerning";
}

TEST(GfxFont, ControlCharactersHaveNoWidth) {
  const RealizedFont& f = RealizedFont::get(font("Courier New", -24));
  for (char32_t c : {U'\t', U'\r', U'\n', U'\x01', U'\x7f'}) EXPECT_EQ(f.advance(c), 0) << int(c);
}

TEST(GfxFont, PolishAndCyrillicHaveGlyphs) {
  const RealizedFont& f = RealizedFont::get(font("Arial", -24));
  for (char32_t c : {U'ą', U'Ł', U'ż', U'Ж'}) {
    EXPECT_NE(f.glyphIndex(c), 0u) << int(c);
    EXPECT_GT(f.advance(c), 0);
  }
}

TEST(GfxFont, WeightAndItalicPickTheFace) {
  const RealizedFont& bold = RealizedFont::get(font("Arial", -24, 0, 700));
  EXPECT_EQ(bold.rawFont().weight(), QFont::Bold);
  LogFont italic = font("Times New Roman", -24);
  italic.italic = true;
  EXPECT_NE(RealizedFont::get(italic).rawFont().style(), QFont::StyleNormal);
}

TEST(GfxFont, OtherHeights) {
  EXPECT_EQ(RealizedFont::get(font("Courier New", 0)).ppem(), 16) << "0 asks for the default size";
  // A positive height is the cell: ppem = round(2048 × 27 / 2320) = 24.
  const RealizedFont& cell = RealizedFont::get(font("Courier New", 27));
  EXPECT_EQ(cell.ppem(), 24);
  EXPECT_LE(cell.height(), 27);
  EXPECT_EQ(RealizedFont::get(font("Courier New", -1000000)).ppem(), 4000) << "clamped";
}

TEST(GfxFont, RealisedOncePerLogFont) {
  EXPECT_EQ(&RealizedFont::get(font("Arial", -13)), &RealizedFont::get(font("Arial", -13)));
  EXPECT_NE(&RealizedFont::get(font("Arial", -13)), &RealizedFont::get(font("Arial", -14)));
}

// R = 96: the default style's cell 1.59 × 3.5 mm is
// 11 × 24 px, so GetFont first asks for −24 × −11. "1234567890" is then
// 10 × 11 = 110 px, exactly ten cells, but a line of Courier New (Liberation
// Mono) at ppem 24 is 20 + 7 = 27 px, taller than the 24 px cell. The single
// correction therefore gives hpx = trunc(24 / 27 × 24) = trunc(21.33) = 21
// and leaves the width: the final font is −21 × −11, whose line is 17 + 6 =
// 23 px (not measured again).
TEST(GfxCellFont, DefaultStyleAt96) {
  PageImage image(1429, 2000);
  PageCanvas canvas(image, 96);
  CellFontStyle cell;  // item 0: 210/132 × 294/84 mm, Courier New, charset 186
  cell.charHeightMm = 294.0f / 84;
  const LogFont asked = cellFontRequest(96, cell);
  EXPECT_EQ(asked.height, -24);
  EXPECT_EQ(asked.width, -11);

  const LogFont fitted = fitCellFont(canvas, cell);
  EXPECT_EQ(fitted.face, QStringLiteral("Courier New"));
  EXPECT_EQ(fitted.height, -21);
  EXPECT_EQ(fitted.width, -11);
  EXPECT_EQ(fitted.weight, 400);
  EXPECT_EQ(fitted.charset, 186);
  EXPECT_EQ(canvas.font(), fitted) << "left selected";

  const CellMetrics m = measureCellMetrics(canvas, fitted);
  EXPECT_EQ(m.textHeight, 23);
  EXPECT_EQ(m.digitWidth, 11);
}

// The default cell (11 × 24 px at R = 96) in the faces printouts use. Arial's
// digits (1139 units, 13 px at 24 px) then measure 130 px against ten cells
// of 110, so the width is cut once to trunc(110 / 130 × 11) = 9; with the
// stand-in's stored average they measured 100 and the cut never came.
// Times New Roman: average 821 units = 10 px, so the face is stretched by
// 11/10 and its digits (1024 units = 12 px) become 13, again 130 → 9; its
// line (21 + 5 = 26 px) is cut from 24 to trunc(24 / 26 × 24) = 22. The
// final fonts are not measured again: Arial's digits are 12 px at −21 × −9.
TEST(GfxCellFont, DefaultCellInEveryFace) {
  PageImage image(1429, 2000);
  PageCanvas canvas(image, 96);
  struct Row {
    const char* face;
    unsigned fontStyle;
    int height, width, textHeight, digitWidth;
  };
  const Row rows[] = {
      {"Arial", 0, -21, -9, 23, 12},
      {"Arial", 1, -21, -9, 23, 11},
      {"Times New Roman", 0, -22, -9, 25, 11},
      {"Courier New", 0, -21, -11, 23, 11},
  };
  for (const Row& r : rows) {
    CellFontStyle cell;
    cell.charHeightMm = 294.0f / 84;
    cell.fontName = QString::fromLatin1(r.face);
    cell.fontStyle = r.fontStyle;
    const LogFont f = fitCellFont(canvas, cell);
    EXPECT_EQ(f.height, r.height) << r.face << r.fontStyle;
    EXPECT_EQ(f.width, r.width) << r.face << r.fontStyle;
    const CellMetrics m = measureCellMetrics(canvas, f);
    EXPECT_EQ(m.textHeight, r.textHeight) << r.face << r.fontStyle;
    EXPECT_EQ(m.digitWidth, r.digitWidth) << r.face << r.fontStyle;
  }
}

TEST(GfxCellFont, FontStyleBits) {
  PageImage image(1429, 2000);
  PageCanvas canvas(image, 96);
  CellFontStyle cell;
  cell.fontStyle = 3;
  LogFont f = fitCellFont(canvas, cell);
  EXPECT_EQ(f.weight, 700);
  EXPECT_TRUE(f.italic);
  EXPECT_FALSE(f.underline);
  cell.fontStyle = 4;
  EXPECT_TRUE(fitCellFont(canvas, cell).underline);
  cell.fontStyle = 8;  // changes nothing
  f = fitCellFont(canvas, cell);
  EXPECT_EQ(f.weight, 400);
  EXPECT_FALSE(f.italic || f.underline);
}

// A face whose digits are wider than its average character: at a 11 px cell
// (stretch 11/12 of DejaVu Sans at 24 px) each digit is 14 px, so ten digits
// are 140 px against 110 and the width is cut to trunc(110 / 140 × 11) = 8.
TEST(GfxCellFont, WideDigitsShrinkTheWidthOnce) {
  if (RealizedFont::get(font("DejaVu Sans", -24)).familyName() != QStringLiteral("DejaVu Sans"))
    ZP_REQUIRE(std::string("DejaVu Sans is not installed (Debian fonts-dejavu-core, scripts/setup.sh installs it)"));
  PageImage image(1429, 2000);
  PageCanvas canvas(image, 96);
  CellFontStyle cell;
  cell.fontName = QStringLiteral("DejaVu Sans");
  const LogFont f = fitCellFont(canvas, cell);
  EXPECT_EQ(f.width, -8);
  // Its height is corrected too: the DejaVu line at 24 px is 22 + 6 = 28.
  EXPECT_EQ(f.height, -20);
}

TEST(GfxCellFont, ScalesWithR) {
  PageImage image(1786, 2500);
  PageCanvas canvas(image, 120);
  CellFontStyle cell;
  const LogFont asked = cellFontRequest(120, cell);
  EXPECT_EQ(asked.height, -30);  // 29.76
  EXPECT_EQ(asked.width, -14);   // 13.53
  const LogFont fitted = fitCellFont(canvas, cell);
  // Ten digits: 14 × 10 = 140 fit; line 25 + 9 = 34 > 30 → trunc(30/34 × 30) = 26.
  EXPECT_EQ(fitted.height, -26);
  EXPECT_EQ(fitted.width, -14);
}

TEST(GfxCellFont, DegenerateCellsDoNotCrash) {
  PageImage image(1429, 2000);
  PageCanvas canvas(image, 96);
  for (float w : {0.0f, -1.0f, 1e-6f, 1e9f}) {
    for (float h : {0.0f, -2.0f, 1e-6f, 1e9f}) {
      CellFontStyle cell;
      cell.charWidthMm = w;
      cell.charHeightMm = h;
      const LogFont f = fitCellFont(canvas, cell);
      (void)measureCellMetrics(canvas, f);
    }
  }
}

}  // namespace
}  // namespace zorpokaz
