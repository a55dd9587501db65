// The text of a page image as it is copied and searched: rows in reading
// order whatever order the layout drew in, the fields of a row separated by
// tabs, fields of different fonts on one printed line kept together, a
// wrapped field's lines on rows of their own, and runs measured as drawn.
#include "platform/gfx/pagetext.h"

#include <gtest/gtest.h>

#include "platform/gfx/dtflags.h"
#include "platform/gfx/pagecanvas.h"
#include "platform/gfx/pageimage.h"
#include "platform/gfx/realizedfont.h"

namespace zorpokaz {
namespace {

const LogFont kSmall{QStringLiteral("Courier New"), -24, 0, 400};
const LogFont kTitle{QStringLiteral("Arial"), -41, 0, 700};

void field(PageCanvas& c, const LogFont& font, const QString& text, PxRect r, unsigned flags = DT_SINGLELINE) {
  c.selectFont(font);
  c.DrawText(text, r, flags | DT_NOPREFIX);
}

TEST(PageText, RowsInReadingOrderWithTabsBetweenFields) {
  PageImage page(1429, 2000);
  PageCanvas c(page, 96);
  // Drawn bottom up and right to left, as a layout may.
  field(c, kSmall, QStringLiteral("Razem:"), {100, 400, 400, 430});
  field(c, kSmall, QStringLiteral("1 968,50"), {900, 400, 1200, 430}, DT_SINGLELINE | DT_RIGHT);
  c.setPen(0, 3);  // rules between the texts are passed over
  c.line(100, 380, 1200, 380);
  field(c, kSmall, QStringLiteral("860,00"), {900, 300, 1200, 330}, DT_SINGLELINE | DT_RIGHT);
  c.line(-5, 280, 1200, 281);
  field(c, kSmall, QStringLiteral("Papier\tksero"), {300, 300, 880, 330});
  field(c, kSmall, QStringLiteral("1."), {100, 300, 280, 330});
  // A title in a taller font on the same printed line as a small note, both
  // hanging from the line's top.
  field(c, kSmall, QStringLiteral("Strona 1"), {1000, 100, 1300, 160});
  field(c, kTitle, QStringLiteral("FAKTURA VAT"), {100, 100, 900, 160});
  field(c, kSmall, QStringLiteral("   "), {100, 200, 300, 230});  // blank: no row
  EXPECT_EQ(PageText(page), QStringLiteral("FAKTURA VAT\tStrona 1\n"
                                           "1.\tPapier ksero\t860,00\n"
                                           "Razem:\t1 968,50\n"));
}

TEST(PageText, AWrappedFieldPutsEachLineOnItsOwnRow) {
  PageImage page(1429, 2000);
  PageCanvas c(page, 96);
  field(c, kSmall, QStringLiteral("2."), {100, 100, 200, 200});
  field(c, kSmall, QStringLiteral("Długopis żelowy niebieski w opakowaniu"), {300, 100, 700, 200},
        DT_WORDBREAK);
  field(c, kSmall, QStringLiteral("384,00"), {900, 100, 1200, 200}, DT_SINGLELINE | DT_RIGHT);
  const std::vector<TextRow> rows = PageTextRows(page);
  ASSERT_GE(rows.size(), 2u);
  EXPECT_EQ(rows[0].size(), 3u);
  EXPECT_EQ(rows[0][0].text, QStringLiteral("2."));
  EXPECT_TRUE(rows[0][1].text.startsWith(QStringLiteral("Długopis")));
  EXPECT_EQ(rows[1].size(), 1u);
  EXPECT_LT(rows[0][1].bottom(), rows[1][0].bottom());
}

TEST(PageText, RunsAreMeasuredAsTheyAreDrawn) {
  PageImage page(1429, 2000);
  PageCanvas c(page, 96);
  field(c, kSmall, QStringLiteral("Żółw 🐢 nr 7"), {100, 100, 1000, 130});
  const std::vector<TextRun> runs = PageTextRuns(page);
  ASSERT_EQ(runs.size(), 1u);
  const TextRun& run = runs[0];
  const RealizedFont& font = RealizedFont::get(kSmall);
  EXPECT_EQ(run.advance(0, static_cast<int>(run.text.size())), font.textWidth(run.text));
  EXPECT_EQ(run.advance(0, 4) + run.advance(4, static_cast<int>(run.text.size())), font.textWidth(run.text));
  EXPECT_EQ(run.top(), run.baseline - font.ascent());
  EXPECT_EQ(run.bottom(), run.baseline + font.descent());
  EXPECT_EQ(run.advance(5, 100), font.textWidth(run.text.mid(5)));  // clamped
}

}  // namespace
}  // namespace zorpokaz
