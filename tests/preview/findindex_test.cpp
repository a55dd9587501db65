// Searching the laid-out text: folding for case and diacritics, counts per
// page that never overlap and never cross a line, the k-th match found from
// the counts alone, narrowing while typing on giving the same counts as a
// fresh search, and a result that grows with the index.
#include "preview/findindex.h"

#include <gtest/gtest.h>

#include "platform/gfx/dtflags.h"
#include "platform/gfx/pagecanvas.h"
#include "platform/gfx/pageimage.h"

namespace zorpokaz {
namespace {

PageImage pageOf(const QStringList& lines) {
  PageImage page(1429, 2000);
  PageCanvas c(page, 96);
  c.selectFont(LogFont{QStringLiteral("Courier New"), -24, 0, 400});
  int top = 100;
  for (const QString& text : lines) {
    PxRect r{100, top, 1300, top + 30};
    c.DrawText(text, r, DT_SINGLELINE | DT_NOPREFIX);
    top += 40;
  }
  return page;
}

TEST(FindIndex, FoldsCaseAndDiacritics) {
  EXPECT_EQ(FoldForSearch(QStringLiteral("Żółw ŁĄKA Ćma Ńó ŚĘŹ")), QStringLiteral("zolw laka cma no sez"));
  EXPECT_EQ(FoldForSearch(QStringLiteral("Müller Straße Ø\u00A0€1")), QStringLiteral("muller straße o €1"));
  EXPECT_EQ(FoldForSearch(QStringLiteral("🐢x")), QStringLiteral("🐢x"));  // surrogates stay
}

TEST(FindIndex, CountsLocatesAndNarrows) {
  FindIndex index;
  index.addPage(pageOf({QStringLiteral("Żółw i ŻÓŁW"), QStringLiteral("aaaa")}));
  index.addPage(pageOf({QStringLiteral("nic")}));
  index.addPage(pageOf({QStringLiteral("zolw"), QStringLiteral("ab"), QStringLiteral("c")}));
  FindResult turtle(QStringLiteral("ZOLW"));
  turtle.update(index);
  EXPECT_EQ(turtle.total(), 3);
  EXPECT_EQ(turtle.countOnPage(0), 2);
  EXPECT_EQ(turtle.countOnPage(1), 0);
  EXPECT_EQ(turtle.locate(2).page, 2);
  EXPECT_EQ(turtle.locate(1).page, 0);
  EXPECT_EQ(turtle.locate(1).nth, 1);
  EXPECT_EQ(turtle.locate(3).page, -1);
  EXPECT_EQ(turtle.firstFrom(1), 2);  // the first match from page 2 on is number 3
  EXPECT_EQ(turtle.firstFrom(3), turtle.total());

  FindResult aa(QStringLiteral("aa"));
  aa.update(index);
  EXPECT_EQ(aa.total(), 2);  // "aaaa" holds two, not three
  FindResult across(QStringLiteral("bc"));
  across.update(index);
  EXPECT_EQ(across.total(), 0);  // lines "ab" and "c" do not join

  // Typing on: the longer query skips the pages the shorter one lacks, and
  // counts the rest exactly as a fresh search does.
  FindResult z(QStringLiteral("z"));
  z.update(index);
  FindResult zo(QStringLiteral("zó"));
  zo.update(index, &z);
  FindResult fresh(QStringLiteral("zo"));
  fresh.update(index);
  EXPECT_EQ(zo.total(), fresh.total());
  for (int p = 0; p < 3; ++p) EXPECT_EQ(zo.countOnPage(p), fresh.countOnPage(p));
}

TEST(FindIndex, AResultGrowsWithTheIndex) {
  FindIndex index;
  FindResult r(QStringLiteral("nr"));
  for (int k = 1; k <= 5; ++k) {
    index.addPage(pageOf({QStringLiteral("Faktura nr %1").arg(k)}));
    r.update(index);
    EXPECT_EQ(r.total(), k);
    EXPECT_EQ(r.pagesSearched(), k);
  }
  EXPECT_EQ(r.locate(4).page, 4);
}

// The marks drawn on a page are the matches the index counted there, in order.
TEST(FindIndex, MatchesInRunsAgreeWithTheCounts) {
  const PageImage page = pageOf({QStringLiteral("Żółw, żółw"), QStringLiteral("x"), QStringLiteral("ŻÓŁWIK")});
  FindIndex index;
  index.addPage(page);
  FindResult r(QStringLiteral("żółw"));
  r.update(index);
  const std::vector<RunMatch> m = MatchesInRuns(PageTextRuns(page), r.foldedQuery());
  ASSERT_EQ(static_cast<int64_t>(m.size()), r.total());
  ASSERT_EQ(m.size(), 3u);
  EXPECT_EQ(m[0].run, 0);
  EXPECT_EQ(m[0].from, 0);
  EXPECT_EQ(m[1].from, 6);
  EXPECT_EQ(m[1].to, 10);
  EXPECT_EQ(m[2].run, 2);
}

}  // namespace
}  // namespace zorpokaz
