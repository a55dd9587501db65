// The text routine's layout as a table, with a font whose
// metrics are round numbers: every character 10 px wide except control
// characters (0), 'i' (5) and 'W' (20); ascent 8, descent 2, so lines are 10 px.
#include "platform/gfx/dtflags.h"
#include "platform/gfx/textlayout.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>
#include <string>
#include <vector>

namespace zorpokaz {
namespace {

class FixedMeasure : public TextMeasure {
 public:
  int advance(char32_t ch) const override {
    if (ch < 0x20) return 0;
    if (ch == U'i') return 5;
    if (ch == U'W') return 20;
    return 10;
  }
  int ascent() const override { return 8; }
  int descent() const override { return 2; }
};

struct ExpectedLine {
  std::string text;
  int x;
  int top;
};

struct Case {
  const char* name;
  const char* text;
  PxRect rect;
  unsigned flags;
  int result;
  std::vector<ExpectedLine> lines;  // drawing (flags without DT_CALCRECT)
};

std::ostream& operator<<(std::ostream& os, const Case& c) { return os << c.name; }

constexpr unsigned WB = DT_WORDBREAK;
constexpr unsigned EC = DT_EDITCONTROL;
constexpr unsigned NP = DT_NOPREFIX;
constexpr unsigned NC = DT_NOCLIP;
constexpr unsigned SL = DT_SINGLELINE;

const PxRect kBox{0, 0, 100, 100};  // ten ordinary characters wide

const Case kCases[] = {
    {"one line", "hello", kBox, NP, 10, {{"hello", 0, 0}}},
    {"exact fit is a fit", "abcdefghij", kBox, NP | WB, 10, {{"abcdefghij", 0, 0}}},
    // The blank found by the backward scan stays on a left-aligned line.
    {"wrap at blank", "aaaa bbbb cccc", kBox, NP | WB, 20, {{"aaaa bbbb ", 0, 0}, {"cccc", 0, 10}}},
    {"wrap right-aligned drops that blank", "aaaa bbbb cccc", kBox, NP | WB | DT_RIGHT, 20,
     {{"aaaa bbbb", 10, 0}, {"cccc", 60, 10}}},
    {"blank just after the fit is consumed", "aaaaaaaaaa bb", kBox, NP | WB, 20,
     {{"aaaaaaaaaa", 0, 0}, {"bb", 0, 10}}},
    // Five blanks, 60 px: three stay as trailing blanks, one is consumed, one
    // leads the next line; right or centred lines keep one trailing blank fewer.
    {"run of blanks left", "aaa     bbb", {0, 0, 60, 100}, NP | WB, 20, {{"aaa   ", 0, 0}, {" bbb", 0, 10}}},
    {"run of blanks right", "aaa     bbb", {0, 0, 60, 100}, NP | WB | DT_RIGHT, 20,
     {{"aaa  ", 10, 0}, {"  bbb", 10, 10}}},
    {"run of blanks centre", "aaa     bbb", {0, 0, 60, 100}, NP | WB | DT_CENTER, 20,
     {{"aaa  ", 5, 0}, {"  bbb", 5, 10}}},
    {"trailing blanks kept", "abc   ", kBox, NP | WB, 10, {{"abc   ", 0, 0}}},
    {"trailing blanks make a line of blanks", "abc      ", {0, 0, 50, 100}, NP | WB, 20,
     {{"abc  ", 0, 0}, {"   ", 0, 10}}},
    {"leading blanks kept", "  ab", kBox, NP | WB, 10, {{"  ab", 0, 0}}},
    {"tab is a break and has no width", "aaaa\tbbbbbb", {0, 0, 60, 100}, NP | WB, 20,
     {{"aaaa\t", 0, 0}, {"bbbbbb", 0, 10}}},
    {"hyphen is no break", "aaaa-bbbbbb", {0, 0, 60, 100}, NP | WB, 10, {{"aaaa-bbbbbb", 0, 0}}},
    {"hyphen is cut by edit control", "aaaa-bbbbbb", {0, 0, 60, 100}, NP | WB | EC, 20,
     {{"aaaa-b", 0, 0}, {"bbbbb", 0, 10}}},
    {"long word gets its own line", "ab abcdefghijklmno pq", kBox, NP | WB, 30,
     {{"ab ", 0, 0}, {"abcdefghijklmno", 0, 10}, {"pq", 0, 20}}},
    {"long word cut by edit control", "ab abcdefghijklmno pq", kBox, NP | WB | EC, 30,
     {{"ab ", 0, 0}, {"abcdefghij", 0, 10}, {"klmno pq", 0, 20}}},
    {"long word cut repeatedly", "abcdefghijklmnopqrstuvwxyz", kBox, NP | WB | EC, 30,
     {{"abcdefghij", 0, 0}, {"klmnopqrst", 0, 10}, {"uvwxyz", 0, 20}}},
    {"1-px rect: words never split", "line1 line2", {0, 0, 1, 100}, NP | WB, 20,
     {{"line1", 0, 0}, {"line2", 0, 10}}},
    {"1-px rect with edit control: one character per line", "ab cd", {0, 0, 1, 100}, NP | WB | EC, 50,
     {{"a", 0, 0}, {"b", 0, 10}, {" ", 0, 20}, {"c", 0, 30}, {"d", 0, 40}}},
    {"narrow characters fit more", "iiiiiiiiiiiiiiiiiiiiii", kBox, NP | WB | EC, 20,
     {{"iiiiiiiiiiiiiiiiiiii", 0, 0}, {"ii", 0, 10}}},
    {"CR LF", "a\r\nb", kBox, NP | WB, 20, {{"a", 0, 0}, {"b", 0, 10}}},
    {"LF CR is one break", "a\n\rb", kBox, NP | WB, 20, {{"a", 0, 0}, {"b", 0, 10}}},
    {"CR CR is two breaks", "a\r\rb", kBox, NP | WB, 30, {{"a", 0, 0}, {"", 0, 10}, {"b", 0, 20}}},
    {"LF LF is two breaks", "a\n\nb", kBox, NP | WB, 30, {{"a", 0, 0}, {"", 0, 10}, {"b", 0, 20}}},
    {"breaks without word break", "a\nb", kBox, NP, 20, {{"a", 0, 0}, {"b", 0, 10}}},
    {"newline at the end adds nothing", "ab\r\n", kBox, NP | WB, 10, {{"ab", 0, 0}}},
    {"CR LF alone is one empty line", "\r\n", kBox, NP | WB, 10, {{"", 0, 0}}},
    {"only line breaks", "\n\n\n", kBox, NP | WB, 30, {{"", 0, 0}, {"", 0, 10}, {"", 0, 20}}},
    {"blank before a break that does not fit adds a line", "aaaa \nbb", {0, 0, 40, 100}, NP | WB, 30,
     {{"aaaa", 0, 0}, {"", 0, 10}, {"bb", 0, 20}}},
    {"over-wide word ending a hard line adds a line", "aaaaaa\nbb", {0, 0, 40, 100}, NP | WB, 30,
     {{"aaaaaa", 0, 0}, {"", 0, 10}, {"bb", 0, 20}}},
    {"single line keeps CR LF as zero-width characters", "a\r\nb", kBox, NP | SL | WB, 10, {{"a\r\nb", 0, 0}}},
    {"single line is never wrapped", "aaaa bbbb cccc", kBox, NP | SL | WB, 10, {{"aaaa bbbb cccc", 0, 0}}},
    {"centre", "abc", kBox, NP, 10, {{"abc", 0, 0}}},
    {"centre x", "abc", kBox, NP | DT_CENTER, 10, {{"abc", 35, 0}}},
    {"centre wins over right", "abc", kBox, NP | DT_CENTER | DT_RIGHT, 10, {{"abc", 35, 0}}},
    {"centre truncates toward zero", "ab", {-25, 0, 0, 100}, NP | DT_CENTER, 10, {{"ab", -22, 0}}},
    {"right", "abc", kBox, NP | DT_RIGHT, 10, {{"abc", 70, 0}}},
    {"right of a wide word goes left of the rect", "abcdefghjklm", kBox, NP | DT_RIGHT, 10,
     {{"abcdefghjklm", -20, 0}}},
    {"vcenter without single line does nothing", "abc", {0, 0, 100, 31}, NP | DT_VCENTER, 10, {{"abc", 0, 0}}},
    {"single line vcenter", "abc", {0, 0, 100, 31}, NP | SL | DT_VCENTER, 20, {{"abc", 0, 10}}},
    {"single line vcenter odd halves", "abc", {0, 5, 100, 20}, NP | SL | DT_VCENTER, 12, {{"abc", 0, 7}}},
    {"single line bottom", "abc", {0, 0, 100, 31}, NP | SL | DT_BOTTOM, 31, {{"abc", 0, 21}}},
    {"single line bottom above the top", "abc", {0, 20, 100, 25}, NP | SL | DT_BOTTOM, 5, {{"abc", 0, 15}}},
    {"offset zero returns one", "abc", {0, 10, 100, 0}, NP | SL | DT_VCENTER | NC, 1, {{"abc", 0, 0}}},
    {"ellipsis on a too wide single line", "abcdefghijk", kBox, NP | SL | DT_END_ELLIPSIS, 10,
     {{"abcdefg...", 0, 0}}},
    {"no ellipsis on an exact fit", "abcdefghjk", kBox, NP | SL | DT_END_ELLIPSIS, 10, {{"abcdefghjk", 0, 0}}},
    {"ellipsis alone when nothing fits", "abcdef", {0, 0, 20, 100}, NP | SL | DT_END_ELLIPSIS, 10,
     {{"...", 0, 0}}},
    {"ellipsis keeps blanks before it", "abcdef ghijk", {0, 0, 100, 100}, NP | SL | DT_END_ELLIPSIS, 10,
     {{"abcdef ...", 0, 0}}},
    {"ellipsis right-aligned", "abcdefghjkl", {0, 0, 105, 100}, NP | SL | DT_RIGHT | DT_END_ELLIPSIS, 10,
     {{"abcdefg...", 5, 0}}},
    {"ellipsis on the final wrapped line only", "aaaa bbbb ccccccccccccc", kBox, NP | WB | NC | DT_END_ELLIPSIS,
     20, {{"aaaa bbbb ", 0, 0}, {"ccccccc...", 0, 10}}},
    {"ellipsis on the last line drawn while text remains", "aaaa bbbb cccc", {0, 0, 100, 5},
     NP | WB | DT_END_ELLIPSIS, 10, {{"aaaa bb...", 0, 0}}},
    {"clipping stops after the line crossing the bottom", "aaaa bbbb cccc dddd", {0, 0, 50, 15}, NP | WB, 20,
     {{"aaaa ", 0, 0}, {"bbbb ", 0, 10}}},
    {"no clip draws every line", "aaaa bbbb cccc dddd", {0, 0, 50, 15}, NP | WB | NC, 40,
     {{"aaaa ", 0, 0}, {"bbbb ", 0, 10}, {"cccc ", 0, 20}, {"dddd", 0, 30}}},
    {"edit control drops a partly visible last line", "aaaa bbbb cccc dddd", {0, 0, 50, 15}, NP | WB | EC, 10,
     {{"aaaa ", 0, 0}}},
    {"edit control keeps a line ending on the bottom", "aaaa bbbb cccc dddd", {0, 0, 50, 20}, NP | WB | EC,
     20, {{"aaaa ", 0, 0}, {"bbbb ", 0, 10}}},
    {"edit control always draws the first line", "aaaa bbbb", {0, 0, 50, 3}, NP | WB | EC, 10,
     {{"aaaa ", 0, 0}}},
    {"edit control without clipping draws all", "aaaa bbbb cccc dddd", {0, 0, 50, 15}, NP | WB | EC | NC, 40,
     {{"aaaa ", 0, 0}, {"bbbb ", 0, 10}, {"cccc ", 0, 20}, {"dddd", 0, 30}}},
    {"ampersand literal with no-prefix", "&File", kBox, NP, 10, {{"&File", 0, 0}}},
    {"prefix removed", "&File", kBox, 0, 10, {{"File", 0, 0}}},
    {"double ampersand", "a&&b", kBox, 0, 10, {{"a&b", 0, 0}}},
    {"lone ampersand at the end", "ab&", kBox, 0, 10, {{"ab&", 0, 0}}},
    {"ampersand before a break vanishes", "a&\nb", kBox, 0, 20, {{"a", 0, 0}, {"b", 0, 10}}},
    {"tabs are not expanded", "a\tb", kBox, NP, 10, {{"a\tb", 0, 0}}},
    {"origin offset", "ab cd", {200, 300, 230, 400}, NP | WB, 20, {{"ab ", 200, 300}, {"cd", 200, 310}}},
    {"negative width gives one word per line", "ab cd", {100, 0, 50, 100}, NP | WB, 20,
     {{"ab", 100, 0}, {"cd", 100, 10}}},
    // Page-number fields: DT_NOPREFIX | DT_WORDBREAK | DT_RIGHT plus Align.
    {"kind 2 align 0: right", "abc", {0, 0, 100, 50}, NP | WB | DT_RIGHT, 10, {{"abc", 70, 0}}},
    {"kind 2 align 1: DT_RIGHT + 2 = DT_VCENTER, left", "abc", {0, 0, 100, 50}, NP | WB | (DT_RIGHT + 2), 10,
     {{"abc", 0, 0}}},
    {"kind 2 align 2: right and centre, centred", "abc", {0, 0, 100, 50}, NP | WB | DT_RIGHT | DT_CENTER, 10,
     {{"abc", 35, 0}}},
    // The dot leader of kind 5: right-aligned, clipped, one line.
    {"leader", ". . . . .", {30, 0, 70, 10}, NP | DT_RIGHT, 10, {{". . . . .", -20, 0}}},
};

class DrawTextTable : public ::testing::TestWithParam<Case> {};

TEST_P(DrawTextTable, LaysOut) {
  const Case& c = GetParam();
  FixedMeasure font;
  const QString text = QString::fromUtf8(c.text);
  TextLayout l = layoutText(text, c.rect, c.flags, font);
  EXPECT_EQ(l.result, c.result);
  EXPECT_EQ(l.rect, c.rect) << "drawing leaves the rectangle alone";
  ASSERT_EQ(l.lines.size(), c.lines.size());
  for (size_t i = 0; i < c.lines.size(); ++i) {
    EXPECT_EQ(lineText(text, l.lines[i]).toStdString(), c.lines[i].text) << "line " << i;
    EXPECT_EQ(l.lines[i].x, c.lines[i].x) << "line " << i;
    EXPECT_EQ(l.lines[i].top, c.lines[i].top) << "line " << i;
    EXPECT_EQ(l.lines[i].width, font.textWidth(lineText(text, l.lines[i]))) << "line " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Gfx, DrawTextTable, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) {
                           std::string name = info.param.name;
                           for (char& ch : name)
                             if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           return name;
                         });

struct CalcCase {
  const char* name;
  const char* text;
  PxRect rect;
  unsigned flags;
  int result;
  PxRect after;
};

std::ostream& operator<<(std::ostream& os, const CalcCase& c) { return os << c.name; }

constexpr unsigned CALC = DT_CALCRECT | NC | NP;

const CalcCase kCalcCases[] = {
    {"one line shrinks the width", "abc", {0, 0, 100, 100}, CALC, 10, {0, 0, 30, 10}},
    {"wrapped: widest line with its trailing blank", "aaaa bbbb cccc", {0, 0, 100, 10}, CALC | WB, 20,
     {0, 0, 100, 20}},
    {"unsplittable word grows the width", "ab abcdefghjklmnop", {5, 7, 105, 17}, CALC | WB, 20,
     {5, 7, 155, 27}},
    {"edit control: measuring ignores the partial last line", "aaaa bbbb cccc dddd", {0, 0, 50, 15},
     CALC | WB | EC, 40, {0, 0, 50, 40}},
    {"ellipsis width is the shortened line", "abcdefghijk", {0, 0, 100, 10}, CALC | SL | DT_END_ELLIPSIS, 10,
     {0, 0, 100, 10}},
    {"empty text, multi-line: zero height, returns lh", "", {3, 4, 100, 50}, CALC | WB, 10, {3, 4, 3, 4}},
    {"empty text, single line: one line high", "", {3, 4, 100, 50}, CALC | SL, 10, {3, 4, 3, 14}},
    {"only breaks: empty lines", "\r\n\r\n", {0, 0, 100, 10}, CALC | WB, 20, {0, 0, 0, 20}},
    {"single line vcenter offsets the bottom", "ab", {0, 0, 100, 31}, CALC | SL | DT_VCENTER, 20,
     {0, 0, 20, 20}},
    {"single line bottom offsets the bottom", "ab", {0, 0, 100, 31}, CALC | SL | DT_BOTTOM, 31, {0, 0, 20, 31}},
    {"GetFont's measure: ten digits right-aligned", "1234567890", {0, 0, 1000, 1000}, CALC | DT_RIGHT, 10,
     {0, 0, 100, 10}},
    {"TextHeight's measure: A in 100 x 10", "A", {0, 0, 100, 10}, CALC, 10, {0, 0, 10, 10}},
    {"prefix characters are not measured", "&a&&b", {0, 0, 100, 10}, DT_CALCRECT | NC, 10, {0, 0, 30, 10}},
    {"field measure, no wrap", "aaaa bbbb cccc", {0, 0, 50, 10}, CALC, 10, {0, 0, 140, 10}},
};

class DrawTextCalcTable : public ::testing::TestWithParam<CalcCase> {};

TEST_P(DrawTextCalcTable, Measures) {
  const CalcCase& c = GetParam();
  FixedMeasure font;
  TextLayout l = layoutText(QString::fromUtf8(c.text), c.rect, c.flags, font);
  EXPECT_EQ(l.result, c.result);
  EXPECT_EQ(l.rect, c.after) << l.rect.left << "," << l.rect.top << "," << l.rect.right << "," << l.rect.bottom;
  EXPECT_TRUE(l.lines.empty()) << "nothing is drawn";
}

INSTANTIATE_TEST_SUITE_P(Gfx, DrawTextCalcTable, ::testing::ValuesIn(kCalcCases),
                         [](const ::testing::TestParamInfo<CalcCase>& info) {
                           std::string name = info.param.name;
                           for (char& ch : name)
                             if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           return name;
                         });

TEST(GfxDrawText, EmptyTextDrawsNothingAndReturnsLineHeight) {
  FixedMeasure font;
  TextLayout l = layoutText(u"", {0, 0, 100, 100}, NP | WB, font);
  EXPECT_EQ(l.result, 10);
  EXPECT_TRUE(l.lines.empty());
}

TEST(GfxDrawText, PrefixUnderlinesTheLastMarkedCharacter) {
  FixedMeasure font;
  TextLayout l = layoutText(u"&ab&cd", {0, 0, 100, 100}, 0, font);
  ASSERT_EQ(l.lines.size(), 1u);
  EXPECT_EQ(lineText(u"&ab&cd", l.lines[0]), QStringLiteral("abcd"));
  EXPECT_FALSE(l.lines[0].isSpan);
  // "c" starts at 20; the underline runs to its advance's last pixel − 1.
  EXPECT_EQ(l.lines[0].underlineX, 20);
  EXPECT_EQ(l.lines[0].underlineWidth, 9);
}

TEST(GfxDrawText, NoUnderlineWithNoPrefix) {
  FixedMeasure font;
  TextLayout l = layoutText(u"&ab", {0, 0, 100, 100}, NP, font);
  ASSERT_EQ(l.lines.size(), 1u);
  EXPECT_EQ(l.lines[0].underlineWidth, 0);
  EXPECT_TRUE(l.lines[0].isSpan);
}

TEST(GfxDrawText, LinesAreSpansOfTheSource) {
  FixedMeasure font;
  const QString text = QStringLiteral("aaaa bbbb cccc");
  TextLayout l = layoutText(text, {0, 0, 100, 100}, NP | WB, font);
  ASSERT_EQ(l.lines.size(), 2u);
  EXPECT_TRUE(l.lines[0].isSpan);
  EXPECT_EQ(l.lines[0].start, 0);
  EXPECT_EQ(l.lines[0].length, 10);
  EXPECT_EQ(l.lines[1].start, 10);
  EXPECT_EQ(l.lines[1].length, 4);
}

TEST(GfxDrawText, SurrogatePairsAreNeverSplit) {
  FixedMeasure font;
  const QString text = QString::fromUcs4(U"\U0001F600\U0001F600\U0001F600");
  TextLayout l = layoutText(text, {0, 0, 15, 100}, NP | WB | EC, font);
  ASSERT_EQ(l.lines.size(), 3u);
  for (const LaidOutLine& line : l.lines) EXPECT_EQ(lineText(text, line).size(), 2);
}

TEST(GfxDrawText, ExtremeRectanglesDoNotOverflow) {
  FixedMeasure font;
  TextLayout l = layoutText(u"ab cd", {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, NP | WB | DT_CENTER, font);
  EXPECT_EQ(l.lines.size(), 1u);
  l = layoutText(u"ab cd", {INT_MAX, INT_MAX, INT_MIN, INT_MIN}, NP | WB | DT_RIGHT | DT_CALCRECT, font);
  EXPECT_EQ(l.result, 20);
}

TEST(GfxDrawText, LongTextWithoutBreaksIsLinear) {
  FixedMeasure font;
  QString text;
  for (int i = 0; i < 6000; ++i) text += QStringLiteral("word ");
  PxRect r{0, 0, 100, 0};
  TextLayout l = layoutText(text, r, CALC | WB | EC, font);
  EXPECT_EQ(l.result, 3000 * 10);  // two words ("word word ") per 100 px line
}

}  // namespace
}  // namespace zorpokaz
