// How fields land on the page image: flag words, page numbers, text base,
// leaders and rules, observed through the recorded items.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "document/tmlinewydruk.h"
#include "platform/gfx/dtflags.h"
#include "platform/gfx/pageimage.h"
#include "platform/gfx/units.h"
#include "support/loadbytes.h"
#include "support/printoutwriter.h"

namespace zorpokaz {
namespace {

using namespace writer;
using Item = PageImage::Item;

std::unique_ptr<TMLineWydruk> buildContent(const WPrintout& p) {
  auto content = std::make_unique<TMLineWydruk>();
  loadBytes(writePrintout(p), *content);
  content->Build();
  return content;
}

std::vector<Item> itemsOf(const PageImage& page, PageImage::ItemKind kind) {
  std::vector<Item> out;
  for (auto& item : page.items())
    if (item.kind == kind) out.push_back(item);
  return out;
}

std::vector<Item> texts(const PageImage& page) { return itemsOf(page, PageImage::ItemKind::Text); }

// Width of text in the default style's font.
int widthInDefault(TMLineWydruk& content, const QString& text) {
  content.Styles.Default()->GetFont();
  return content.GetCanvas().textWidth(text);
}

// 1200 units at 1200 per inch: 180 page-image pixels.
constexpr std::int32_t kWide = 1200;

TEST(FieldDraw, PageNumberKindTakesAlignmentAsANumber) {
  struct Case {
    std::uint8_t kind;
    std::uint8_t align;
    unsigned flags;
    const char* placed;  // where the line lands in the rectangle
  };
  const unsigned base = DT_NOPREFIX | DT_WORDBREAK;
  const Case cases[] = {
      {2, 0, base | DT_RIGHT, "right"},
      {2, 1, base | DT_VCENTER, "left"},
      {2, 2, base | DT_RIGHT | DT_CENTER, "centre"},
      {1, 2, base | DT_RIGHT, "right"},  // kind 1 ignores the alignment
      {9, 1, base | DT_RIGHT, "right"},  // kinds 7.. draw like kind 1
      {0, 1, DT_NOCLIP | DT_NOPREFIX | DT_WORDBREAK | DT_EDITCONTROL | DT_RIGHT, "right"},
      {0, 2, DT_NOCLIP | DT_NOPREFIX | DT_WORDBREAK | DT_EDITCONTROL | DT_CENTER, "centre"},
  };
  for (const Case& c : cases) {
    WPrintout p;
    p.root.intro = group({line({textField(120, kWide, "ab", "Domyslny", c.kind)})});
    p.root.intro.lines[0].fields[0].align = c.align;
    auto content = buildContent(p);
    auto items = texts(content->Pages().at(0));
    ASSERT_EQ(items.size(), 1u);
    const Item& t = items[0];
    EXPECT_EQ(t.flags, c.flags) << int(c.kind) << "/" << int(c.align);
    ASSERT_EQ(t.lines.size(), 1u);
    EXPECT_EQ(t.rect.left, 18);
    EXPECT_EQ(t.rect.right, 198);
    const int lineWidth = widthInDefault(*content, QStringLiteral("ab"));
    const std::string placed = c.placed;
    const int expected = placed == "left" ? 18 : placed == "right" ? 198 - lineWidth : (18 + 198 - lineWidth) / 2;
    EXPECT_EQ(t.lines[0].x, expected) << int(c.kind) << "/" << int(c.align);
  }
}

TEST(FieldDraw, PageNumberReplacesTheFirstMarkOnly) {
  WPrintout p;
  for (int i = 0; i < 3; ++i) {
    WGroup g = group({line({textField(0, 6000, "Strona %n z %n", "Domyslny", 2)})});
    g.breakBefore = true;
    WBlock b;
    b.intro = g;
    p.root.children.push_back(b);
  }
  auto content = buildContent(p);
  ASSERT_EQ(content->PageCount(), 3);
  for (int page = 0; page < 3; ++page) {
    auto items = texts(content->Pages()[page]);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].text, QStringLiteral("Strona %1 z %n").arg(page + 1));
  }
}

TEST(FieldDraw, LeaderRunsFromOneXAfterTheTextTo150PixelsBeforeTheEdge) {
  WPrintout p;
  // 4000 units = 600 px wide.
  p.root.intro = group({line({textField(0, 4000, "Suma", "Domyslny", 5)}),
                        line({textField(0, 4000, QByteArray(200, 'W'), "Domyslny", 5)})});
  auto content = buildContent(p);
  auto items = texts(content->Pages().at(0));
  ASSERT_EQ(items.size(), 3u);  // text, its leader, the over-long text without one
  const Item& leader = items[1];
  EXPECT_EQ(leader.flags, DT_NOPREFIX | DT_RIGHT);
  EXPECT_EQ(leader.rect.left, widthInDefault(*content, QStringLiteral("SumaX")));
  EXPECT_EQ(leader.rect.right, 600 - 150);
  EXPECT_EQ(leader.rect.top, items[0].rect.top);
  EXPECT_TRUE(leader.text.startsWith(QLatin1Char('.')));
  EXPECT_EQ(leader.text.size(), 97);
  EXPECT_EQ(items[2].text, QString(200, QLatin1Char('W')));
}

TEST(FieldDraw, DashesNeverPassTheRightEdge) {
  for (std::uint8_t pattern : {0, 1, 2, 3}) {
    WPrintout p;
    WField rule = textField(70, 1003, "x", "Domyslny", 4);  // 10.5 .. 160.95 px
    rule.ruleStyle = pattern;
    p.root.intro = group({line({rule})});
    auto content = buildContent(p);
    auto lines = itemsOf(content->Pages().at(0), PageImage::ItemKind::Line);
    ASSERT_FALSE(lines.empty()) << int(pattern);
    const int left = 11;  // 70 × 0.15 = 10.5, to even
    const int right = left + 150;  // 1003 × 0.15 = 150.45, truncated
    int reach = 0;
    for (const Item& l : lines) {
      EXPECT_GE(l.from.x(), left);
      EXPECT_LE(l.to.x(), right) << int(pattern);
      EXPECT_EQ(l.from.y(), l.to.y());
      reach = std::max(reach, l.to.x());
    }
    EXPECT_EQ(reach, right) << int(pattern);
    if (pattern == 0 || pattern == 3) {
      EXPECT_EQ(lines.size(), 1u);
    }
    if (pattern == 1) {
      EXPECT_GT(lines.size(), 3u);
    }
    if (pattern == 2) {
      // Two rows, symmetric about the middle of the field.
      const int h = content->Root.Intro.Lines[0].Fields()[0].MeasureHeight();
      const int mid = h / 2;
      std::set<int> rows;
      for (const Item& l : lines) rows.insert(l.from.y());
      EXPECT_EQ(rows, (std::set<int>{mid - h / 11, mid + h / 11}));
    }
  }
}

// A rule reaching past both sides of the page draws the dashes that show, at
// the places where the whole rule's dashes lie; none of those lying wholly
// off the page are recorded.
TEST(FieldDraw, RulesBeyondThePageDrawOnlyTheDashesThatShow) {
  struct Case {
    std::int32_t x;
    std::int32_t width;
  };
  // Stored units at 1200 per inch: 0.15 px each.
  const Case cases[] = {{-20000, 40000}, {-20003, 40000}, {-1, 9000}, {3000, 20000}, {-20000, 19990}};
  for (std::uint8_t pattern : {1, 2}) {
    for (const Case& c : cases) {
      WPrintout p;
      WField rule = textField(c.x, c.width, "x", "Domyslny", 4);
      rule.ruleStyle = pattern;
      p.root.intro = group({line({rule}), line({textField(0, 1200, "y")})});
      auto content = buildContent(p);
      const int pageWidth = content->Pages().at(0).width();
      // The whole rule, dash by dash, as its pattern lays it out.
      const int unit = static_cast<int>(std::lrint(content->Styles.Default()->DigitWidth() * 1.4));
      const int dash = pattern == 1 ? static_cast<int>(std::lrint(unit * 0.65)) : unit;
      const int space = pattern == 1 ? static_cast<int>(std::lrint(dash * 0.35)) : 0;
      const int left = static_cast<int>(std::nearbyint(c.x * 0.15));
      const int right = left + static_cast<int>(c.width * 0.15);
      std::vector<std::pair<int, int>> shown;
      for (long long x = left; x < right; x += dash + space) {
        const int end = static_cast<int>(std::min<long long>(x + dash, right));
        if (end > 0 && x < pageWidth) shown.emplace_back(static_cast<int>(x), end);
      }
      std::vector<std::pair<int, int>> drawn;
      const auto lines = itemsOf(content->Pages().at(0), PageImage::ItemKind::Line);
      const int row = lines.empty() ? 0 : lines.front().from.y();
      for (const Item& l : lines)
        if (l.from.y() == row) drawn.emplace_back(l.from.x(), l.to.x());
      EXPECT_EQ(drawn, shown) << int(pattern) << " " << c.x << "+" << c.width;
      if (pattern == 2) {
        EXPECT_EQ(lines.size(), 2 * drawn.size());
      }
    }
  }
}

TEST(FieldDraw, LettersOfAllFieldsSitOnOneBaseExceptLogo) {
  WPrintout p;
  WStyle big;
  big.name = "Duzy";
  big.charHeight = 8.0f;
  big.charWidth = 3.0f;
  WStyle logo;
  logo.name = "Logo";
  p.styles = {big, logo};
  p.root.intro = group({line({textField(0, 1200, "Duzy", "Duzy"), textField(1200, 1200, "centred", "LOGO"),
                              textField(2400, 1200, "base", "logo")})});
  auto content = buildContent(p);
  auto items = texts(content->Pages().at(0));
  ASSERT_EQ(items.size(), 3u);
  const int thBig = content->Styles.FindByName("Duzy")->TextHeight();
  const int thLogo = content->Styles.FindByName("logo")->TextHeight();
  ASSERT_GT(thBig, thLogo);
  // "logo" is not "LOGO": its letters end where the big ones do.
  EXPECT_EQ(items[2].rect.top + thLogo, items[0].rect.top + thBig);
  EXPECT_EQ(items[0].rect.top, 0);
  // "LOGO" is centred in the line's height instead.
  const int lineHeight = content->Root.Intro.Lines[0].MaxHeight();
  EXPECT_EQ(items[1].rect.top, (lineHeight - thLogo) / 2);
}

TEST(FieldDraw, HiddenFieldsNeitherDrawNorAddHeight) {
  WPrintout p;
  p.lineSpacing = 2.0f;
  p.root.intro = group({line({textField(0, 1200, "ukryte", "Domyslny", 3)}), line({textField(0, 1200, "widać")})});
  auto content = buildContent(p);
  auto items = texts(content->Pages().at(0));
  ASSERT_EQ(items.size(), 1u);
  // The hidden-only line moved Y by the line spacing alone.
  EXPECT_EQ(items[0].rect.top, MmToPxY(96, 2.0f));
}

// A narrow Arial column wraps where the accounting system's printout does:
// the style's font is fitted with the named face's average width, so the
// letters are as wide as on the original (with the stand-in's stored average
// they came out about 8 % narrower and the first line took the date too).
TEST(FieldDraw, NarrowArialColumnWrapsAsTheNamedFace) {
  WPrintout p;
  WStyle arial;
  arial.name = "Arial";
  arial.fontName = "Arial";
  p.styles = {arial};
  const QByteArray text = "Zap\xb3" "ata za faktur\xea VAT nr 123/03/2024 z dnia 15 marca";  // code page 1250
  p.root.intro = group({line({textField(0, 2400, text, "Arial")})});  // 2 inches: 360 px
  auto content = buildContent(p);
  const auto items = texts(content->Pages().at(0));
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].font.width, -9);
  std::vector<QString> lines;
  for (const auto& l : items[0].lines) lines.push_back(l.text);
  EXPECT_EQ(lines, (std::vector<QString>{QString::fromUtf8("Zapłata za fakturę VAT nr "),
                                         QStringLiteral("123/03/2024 z dnia 15 marca")}));
}

}  // namespace
}  // namespace zorpokaz
