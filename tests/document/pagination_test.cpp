// Pagination through the page images: where pages break, what is repeated at
// their top and what is counted. Lines are made of pictures whose height in
// pixels is exact at 96 dpi, so every position can be predicted.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cmath>

#include "document/tmlinewydruk.h"
#include "document/twydruk.h"
#include "platform/errors.h"
#include "platform/gfx/pageimage.h"
#include "platform/gfx/units.h"
#include "support/emfbuilder.h"
#include "support/loadbytes.h"
#include "support/printoutwriter.h"

namespace zorpokaz {
namespace {

using namespace writer;

// A frame 37810 hundredths of a mm wide is 1429 px at 96 dpi, the page width,
// so a picture's height in pixels is its frame height in pixels.
WField pictureField(int px) {
  WField f;
  f.kind = 6;
  f.picture = makeEmf(37810, static_cast<std::int32_t>(std::lrint(px * 2540.0 / 96.0)));
  return f;
}

WLine pic(int px, bool skipWhenRepeated = false) {
  WLine l = line({pictureField(px)});
  l.skipWhenRepeated = skipWhenRepeated;
  return l;
}

// Pixels for a height in millimetres at 96 dpi.
int px(float mm) { return MmToPxY(96, mm); }

struct Placed {
  int top;
  int height;
};

std::vector<Placed> pictures(const PageImage& page) {
  std::vector<Placed> out;
  for (const auto& item : page.items())
    if (item.kind == PageImage::ItemKind::Picture) out.push_back({item.rect.top, item.rect.height()});
  return out;
}

std::vector<int> heights(const PageImage& page) {
  std::vector<int> out;
  for (const auto& p : pictures(page)) out.push_back(p.height);
  return out;
}

struct Built {
  std::unique_ptr<TMLineWydruk> content = std::make_unique<TMLineWydruk>();
  const std::deque<PageImage>& pages() const { return content->Pages(); }
};

Built build(const WPrintout& printout) {
  Built b;
  loadBytes(writePrintout(printout), *b.content);
  b.content->Build();
  return b;
}

TEST(Pagination, EmptyPrintoutHasNoPageAndShortOneHasOne) {
  WPrintout empty;
  EXPECT_EQ(build(empty).pages().size(), 0u);

  WPrintout shortOne;
  shortOne.root.intro = group({pic(100), pic(50)});
  Built b = build(shortOne);
  ASSERT_EQ(b.pages().size(), 1u);
  EXPECT_EQ(b.pages()[0].size(), QSize(1429, 2000));
  auto placed = pictures(b.pages()[0]);
  ASSERT_EQ(placed.size(), 2u);
  EXPECT_EQ(placed[0].top, 0);
  EXPECT_EQ(placed[1].top, 100);
}

// Five lines of 4 mm stay together: drawn where they are at 270 mm, moved to
// the next page at 280 mm.
TEST(Pagination, KeepTogetherGroupMovesWhenItDoesNotFit) {
  for (float at : {270.0f, 280.0f}) {
    WPrintout p;
    p.root.intro = group({pic(px(at))});
    p.root.closing = group({pic(27), pic(27), pic(27), pic(27), pic(28)});
    Built b = build(p);
    const bool moved = at == 280.0f;
    ASSERT_EQ(b.pages().size(), moved ? 2u : 1u) << at;
    const PageImage& last = b.pages().back();
    auto placed = pictures(last);
    ASSERT_EQ(placed.size(), moved ? 5u : 6u);
    EXPECT_EQ(placed[moved ? 0 : 1].top, moved ? 0 : px(at)) << at;
  }
}

// The last two lines of a splittable group travel together when the
// last-but-one is under 20 mm; a taller one is tested on its own.
TEST(Pagination, SplittableGroupKeepsShortLastTwoLinesTogether) {
  struct Case {
    float at;
    int lastButOne;
    size_t onFirstPage;  // pictures of the group left on page 1
  };
  for (const Case& c : {Case{286.0f, px(5), 1}, Case{266.0f, px(25), 2}, Case{250.0f, px(5), 3}}) {
    WPrintout p;
    p.root.intro = group({pic(px(c.at))});
    p.root.closing = group({pic(px(2)), pic(c.lastButOne), pic(px(5))}, true);
    Built b = build(p);
    const auto first = heights(b.pages()[0]);
    EXPECT_EQ(first.size() - 1, c.onFirstPage) << c.at;
    EXPECT_EQ(b.pages().size(), c.onFirstPage == 3 ? 1u : 2u) << c.at;
  }
}

TEST(Pagination, LoadingAgainFreesThePagesOfTheLastBuild) {
  WPrintout p;
  p.root.intro = group({pic(40)});
  Built b = build(p);
  ASSERT_EQ(b.pages().size(), 1u);
  loadBytes(writePrintout(p), *b.content);
  EXPECT_EQ(b.content->PageCount(), 0);
  b.content->Build();
  EXPECT_EQ(b.content->PageCount(), 1);
}

TEST(Pagination, BreakBeforeNeverMakesAnEmptyPage) {
  WPrintout p;
  p.root.intro = group({pic(40)});
  p.root.intro.breakBefore = true;  // at the top of the first page
  p.root.closing = group({pic(30)});
  p.root.closing.breakBefore = true;
  Built b = build(p);
  ASSERT_EQ(b.pages().size(), 2u);
  EXPECT_EQ(heights(b.pages()[0]), std::vector<int>{40});
  EXPECT_EQ(heights(b.pages()[1]), std::vector<int>{30});
}

// A heading that would fit alone at the page bottom, but not with the first
// line of its first child, goes to the next page with it.
TEST(Pagination, HeadingStaysWithTheFirstLineOfItsFirstChild) {
  for (int childLine : {20, 5}) {
    WPrintout p;
    p.root.intro = group({pic(px(290.0f))});
    WBlock block;
    block.heading = group({pic(10)});
    WBlock child;
    child.intro = group({pic(childLine)});
    block.children.push_back(child);
    p.root.children.push_back(block);
    Built b = build(p);
    if (childLine == 20) {
      ASSERT_EQ(b.pages().size(), 2u);
      EXPECT_EQ(heights(b.pages()[0]).size(), 1u);
      auto second = pictures(b.pages()[1]);
      ASSERT_EQ(second.size(), 2u);
      EXPECT_EQ(second[0].height, 10);  // the heading, once
      EXPECT_EQ(second[0].top, 0);
      EXPECT_EQ(second[1].top, 10);
    } else {
      // 290 mm + 10 px + 5 px still fits: everything on one page.
      ASSERT_EQ(b.pages().size(), 1u);
      EXPECT_EQ(heights(b.pages()[0]), (std::vector<int>{px(290.0f), 10, 5}));
    }
  }
}

// Outer heading 11 px with a 13 px line marked SkipWhenRepeated, inner
// heading 12 px, then a long run of 50 px lines.
WPrintout nestedPrintout(int lineCount) {
  WPrintout p;
  WBlock outer;
  outer.heading = group({pic(11), pic(13, true)});
  WBlock inner;
  inner.heading = group({pic(12)});
  WBlock body;
  std::vector<WLine> lines(lineCount, pic(50));
  body.intro = group(lines, true);
  inner.children.push_back(body);
  outer.children.push_back(inner);
  p.root.children.push_back(outer);
  return p;
}

TEST(Pagination, OpenHeadingsRepeatOutermostFirstWithoutSkippedLines) {
  Built b = build(nestedPrintout(100));
  ASSERT_GE(b.pages().size(), 3u);
  auto first = heights(b.pages()[0]);
  ASSERT_GE(first.size(), 4u);
  EXPECT_EQ(std::vector<int>(first.begin(), first.begin() + 4), (std::vector<int>{11, 13, 12, 50}));
  for (size_t i = 1; i < b.pages().size(); ++i) {
    auto placed = pictures(b.pages()[i]);
    ASSERT_GE(placed.size(), 3u);
    EXPECT_EQ(placed[0].height, 11) << "page " << i + 1;
    EXPECT_EQ(placed[0].top, 0);
    EXPECT_EQ(placed[1].height, 12) << "page " << i + 1;
    EXPECT_EQ(placed[1].top, 11);
    EXPECT_EQ(placed[2].height, 50);
    for (const auto& pl : placed) EXPECT_LE(pl.top + pl.height, 2000) << "page " << i + 1;
  }
  // Every one of the 100 body lines appears exactly once.
  size_t bodyLines = 0;
  for (const auto& page : b.pages())
    for (int h : heights(page)) bodyLines += h == 50;
  EXPECT_EQ(bodyLines, 100u);
  EXPECT_EQ(b.content->LinesDone, 100);
  EXPECT_EQ(b.content->LinesTotal, 100);
}

TEST(Pagination, NewPageBeforeChildRepeatsTheBlockHeading) {
  WPrintout p;
  WBlock block;
  block.heading = group({pic(15)});
  WBlock a;
  a.intro = group({pic(40)});
  WBlock c;
  c.intro = group({pic(60)});
  c.newPageBefore = true;
  block.children = {a, c};
  p.root.children.push_back(block);
  Built b = build(p);
  ASSERT_EQ(b.pages().size(), 2u);
  EXPECT_EQ(heights(b.pages()[0]), (std::vector<int>{15, 40}));
  EXPECT_EQ(heights(b.pages()[1]), (std::vector<int>{15, 60}));
}

// Repeated headings may lay out the content's lines and fields several times
// over, up to a limit; past it the build ends as a printout that cannot be
// read, keeping the pages finished before, and the next build starts afresh.
TEST(Pagination, RepeatedHeadingsMayMultiplyTheContentOnlySoFar) {
  WPrintout p;
  WBlock block;
  WLine wide = pic(15);
  for (int i = 0; i < 9; ++i) wide.fields.push_back(textField(0, 100, "", "Domyslny", 3));
  block.heading = group({wide});  // one line of ten fields
  WBlock child;
  child.intro = group({pic(40)});
  child.newPageBefore = true;
  block.children = {child, child, child};
  p.root.children.push_back(block);
  // Four lines and thirteen fields, laid out as seven lines and 43 fields on
  // four pages: the heading alone (the first child starts a new page), then
  // the heading repeated above each child.
  struct Case {
    std::int64_t factor;
    std::int64_t allowance;
    int pages;  // finished before the build ends; 4 when it completes
  };
  const Case cases[] = {{4, 0, 4}, {2, 0, 2}, {1, 30, 4}, {1, 29, 3}, {1, 0, 1}};
  for (const Case& c : cases) {
    TMLineWydruk content;
    loadBytes(writePrintout(p), content);
    ASSERT_EQ(content.LineCount(), 4);
    ASSERT_EQ(content.FieldCount(), 13);
    content.Limits.LayoutFactor = c.factor;
    content.Limits.LayoutAllowance = c.allowance;
    std::string error;
    try {
      content.Build();
    } catch (const Error& e) {
      error = e.what();
    }
    EXPECT_EQ(error, c.pages == 4 ? "" : "Plik nie zawiera prawidłowego wydruku Zorela") << c.factor << "/" << c.allowance;
    EXPECT_EQ(content.PageCount(), c.pages) << c.factor << "/" << c.allowance;
    content.Limits = ContentLimits();
    content.Build();
    ASSERT_EQ(content.PageCount(), 4);
    EXPECT_EQ(heights(content.Pages()[3]), (std::vector<int>{15, 40}));
  }
}

// A consumer that takes each page as it comes (zorpokaz-cli pages) need not
// have them kept: they are handed out in order, numbered as usual.
TEST(Pagination, PagesCanBeHandedOutWithoutBeingKept) {
  WPrintout p;
  for (int i = 0; i < 3; ++i) {
    WBlock b;
    b.intro = group({line({textField(0, 6000, "Strona %n", "Domyslny", 2)})});
    b.intro.breakBefore = true;
    p.root.children.push_back(b);
  }
  TMLineWydruk content;
  loadBytes(writePrintout(p), content);
  content.KeepPages = false;
  QStringList texts;
  content.OnPageDone = [&](TMLineWydruk&, const PageImage& page) { texts << page.items().at(0).text; };
  content.Build();
  EXPECT_EQ(texts, QStringList({"Strona 1", "Strona 2", "Strona 3"}));
  EXPECT_EQ(content.PageCount(), 3);
  EXPECT_TRUE(content.Pages().empty());
}

TEST(Pagination, ReservedLinesAreNeitherDrawnNorCounted) {
  WPrintout p;
  p.root.intro = group({pic(20)});
  p.root.reserved = group({pic(77), pic(77)});
  p.root.heading = group({pic(30)});
  p.root.closing = group({pic(25)});
  Built b = build(p);
  ASSERT_EQ(b.pages().size(), 1u);
  EXPECT_EQ(heights(b.pages()[0]), (std::vector<int>{20, 30, 25}));
  EXPECT_EQ(b.content->LinesTotal, 2);
  EXPECT_EQ(b.content->LinesDone, 2);
}

// Through the document: a file on disk, progress and delivery as they happen.
class DocumentBuild : public ::testing::Test {
 protected:
  QString write(const WPrintout& p, const QString& name = QStringLiteral("raport.2001.wyd")) {
    const QString path = m_dir.filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(writePrintout(p));
    return path;
  }
  QTemporaryDir m_dir;
};

TEST_F(DocumentBuild, AbortDuringThirdPageDeliversThreePages) {
  WPrintout p;
  std::vector<WLine> lines(200, pic(100));
  p.root.intro = group(lines, true);
  TWydruk doc;
  doc.LoadFromFile(write(p));
  EXPECT_EQ(doc.WczytanyPlikNazwa(), QStringLiteral("raport.2001"));
  int delivered = 0;
  int reportsOnThird = 0;
  doc.OnNextPage = [&](TWydruk&, const PageImage&) { ++delivered; };
  doc.OnProgress = [&](TWydruk& sender, bool building, int) {
    EXPECT_TRUE(building);
    if (delivered == 2 && ++reportsOnThird == 3) sender.AbortBuild();
  };
  doc.BuildPages();
  EXPECT_EQ(delivered, 3);
  EXPECT_TRUE(doc.AbortRequested());
  EXPECT_EQ(heights(doc.Tekst().Pages()[2]).size(), 3u);  // partly filled
  EXPECT_FALSE(doc.Building());
}

TEST_F(DocumentBuild, ProgressIsAPercentageOfIntroAndClosingLines) {
  WPrintout p;
  p.root.heading = group({pic(10), pic(10)});
  p.root.intro = group({pic(10), pic(10), pic(10)});
  p.root.closing = group({pic(10)});
  TWydruk doc;
  doc.LoadFromFile(write(p));
  std::vector<int> reports;
  doc.OnProgress = [&](TWydruk&, bool, int percent) { reports.push_back(percent); };
  doc.BuildPages();
  // Heading lines fire the event without counting.
  EXPECT_EQ(reports, (std::vector<int>{25, 50, 75, 75, 75, 100}));

  WPrintout headingsOnly;
  headingsOnly.root.heading = group({pic(10), pic(10)});
  TWydruk doc2;
  doc2.LoadFromFile(write(headingsOnly, QStringLiteral("h.wyd")));
  reports.clear();
  doc2.OnProgress = [&](TWydruk&, bool, int percent) { reports.push_back(percent); };
  doc2.BuildPages();
  EXPECT_EQ(reports, (std::vector<int>{0, 0}));
}

TEST_F(DocumentBuild, FailedLoadKeepsTheNames) {
  TWydruk doc;
  const QString bad = m_dir.filePath(QStringLiteral("zly.wyd"));
  QFile f(bad);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("ZOREL1999 something");
  f.close();
  EXPECT_THROW(doc.LoadFromFile(bad), Error);
  EXPECT_EQ(doc.WczytanyPlikNazwa(), QStringLiteral("WYDRUK"));
  EXPECT_TRUE(doc.Tytul().isEmpty());
}

}  // namespace
}  // namespace zorpokaz
