// The text routine's quick answer for a single-byte text that is one line
// of its rectangle must be the full routine's answer, for every flag word and
// at the edges of fitting; recorded through the canvas, the page holds the
// same items either way.
#include "platform/codepage.h"
#include "platform/gfx/dtflags.h"
#include "platform/gfx/pagecanvas.h"
#include "platform/gfx/textlayout.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <vector>

namespace zorpokaz {
namespace {

// Round metrics: control characters 0, 'i' 5, 'W' 20, 'ł' 7, others 10.
class RoundMeasure : public TextMeasure {
 public:
  int advance(char32_t ch) const override {
    if (ch < 0x20) return 0;
    if (ch == U'i') return 5;
    if (ch == U'W') return 20;
    if (ch == U'ł') return 7;
    return 10;
  }
  int ascent() const override { return 8; }
  int descent() const override { return 3; }
};

const QByteArray kTexts[] = {
    "hello",       "Zak\xb3\x61\x64 \xbf\xf3\xb3ty",  // "Zakład żółty" in 1250
    "a\tb  c ",    "x&y",
    "a\r\nb",      "WWWiii",
    "\x01\x02",    "   ",
};

TEST(GfxSingleLine, AgreesWithTheFullRoutineWheneverItAnswers) {
  const RoundMeasure font;
  const ByteAdvances advances = makeByteAdvances(font, 1250);
  constexpr unsigned kBits[] = {DT_CALCRECT, DT_NOCLIP,   DT_WORDBREAK, DT_EDITCONTROL, DT_SINGLELINE, DT_VCENTER,
                                DT_BOTTOM,   DT_CENTER, DT_RIGHT,     DT_END_ELLIPSIS, DT_NOPREFIX};
  int answered = 0;
  for (const QByteArray& bytes : kTexts) {
    const QString text = decodeWindowsCodePage(bytes, 1250);
    const int width = font.textWidth(text);
    for (int w : {width - 1, width, width + 1, width + 37}) {
      for (int h : {4, 25}) {
        const PxRect rect{7, 30, 7 + w, 30 + h};
        for (unsigned mask = 0; mask < (1u << std::size(kBits)); ++mask) {
          unsigned flags = 0;
          for (size_t b = 0; b < std::size(kBits); ++b)
            if (mask & (1u << b)) flags |= kBits[b];
          SingleLine quick;
          if (!layoutSingleLine(bytes, advances, rect, flags, font.height(), quick)) continue;
          ++answered;
          const TextLayout full = layoutText(text, rect, flags, font);
          SCOPED_TRACE(bytes.toStdString() + " width " + std::to_string(w) + " flags " + std::to_string(flags));
          ASSERT_EQ(quick.result, full.result);
          ASSERT_EQ(quick.rect, full.rect);
          if (flags & DT_CALCRECT) continue;
          ASSERT_EQ(full.lines.size(), 1u);
          const LaidOutLine& line = full.lines[0];
          EXPECT_TRUE(line.isSpan && line.start == 0 && line.length == text.size());
          EXPECT_EQ(line.underlineWidth, 0);
          EXPECT_EQ(quick.x, line.x);
          EXPECT_EQ(quick.top, line.top);
          EXPECT_EQ(quick.width, line.width);
        }
      }
    }
  }
  // It answers for most of what a printout draws.
  EXPECT_GT(answered, 20000);
}

TEST(GfxSingleLine, DeclinesWhatIsNotOneFittingLine) {
  const RoundMeasure font;
  const ByteAdvances advances = makeByteAdvances(font, 1250);
  const PxRect box{0, 0, 50, 20};
  struct Case {
    const char* text;
    unsigned flags;
    bool answers;
  } cases[] = {
      {"hello", DT_NOPREFIX, true},
      {"hello!", DT_NOPREFIX, false},                  // 60 px in 50
      {"hello!", DT_NOPREFIX | DT_CALCRECT, false},    // measuring too
      {"a&b", 0, false},                               // a prefix to process
      {"a&b", DT_NOPREFIX, true},
      {"a\nb", DT_NOPREFIX, false},                    // a line break
      {"a\nb", DT_NOPREFIX | DT_SINGLELINE, true},     // an ordinary character
      {"", DT_NOPREFIX, false},                        // the empty text has rules of its own
  };
  for (const Case& c : cases) {
    SingleLine out;
    EXPECT_EQ(layoutSingleLine(c.text, advances, box, c.flags, font.height(), out), c.answers) << c.text;
  }
}

// Recorded through the canvas with real fonts, the quick way and the full
// way leave the same items, texts and lines on the page.
TEST(GfxSingleLine, TheCanvasRecordsTheSameItemsEitherWay) {
  const QByteArray texts[] = {"2024-03-15", "Sprzeda\xbf towar\xf3w wg faktury FV/123/2024", "12 345,67",
                              "\xa3\xf3\x64\xbc \x8c\x9f\x9c", "tab\there", "W"};
  const unsigned flags[] = {DT_NOCLIP | DT_NOPREFIX | DT_WORDBREAK | DT_EDITCONTROL,
                            DT_NOPREFIX | DT_WORDBREAK | DT_RIGHT, DT_NOPREFIX | DT_WORDBREAK | DT_RIGHT | DT_CENTER,
                            DT_NOCLIP | DT_NOPREFIX | DT_BOTTOM | DT_SINGLELINE,
                            DT_NOCLIP | DT_NOPREFIX | DT_END_ELLIPSIS | DT_SINGLELINE | DT_CENTER};
  for (const char* face : {"Courier New", "Arial"}) {
    LogFont font;
    font.face = QString::fromLatin1(face);
    font.height = -24;
    font.width = -11;
    font.charset = 238;
    PageImage quick(1429, 2000);
    PageImage full(1429, 2000);
    {
      PageCanvas a(quick, 96);
      PageCanvas b(full, 96);
      a.selectFont(font);
      b.selectFont(font);
      int top = 0;
      for (const QByteArray& text : texts) {
        for (unsigned f : flags) {
          for (int width : {40, 150, 400}) {
            PxRect ra{100, top, 100 + width, top + 24};
            PxRect rb = ra;
            ASSERT_EQ(a.DrawText(text, 1250, ra, f), b.DrawText(decodeWindowsCodePage(text, 1250), rb, f));
            ASSERT_EQ(ra, rb);
            PxRect ca{100, top, 100 + width, top + 10};
            PxRect cb = ca;
            ASSERT_EQ(a.DrawText(text, 1250, ca, f | DT_CALCRECT), b.DrawText(decodeWindowsCodePage(text, 1250), cb, f | DT_CALCRECT));
            ASSERT_EQ(ca, cb);
            top += 30;
          }
        }
      }
    }
    const auto qi = quick.items();
    const auto fi = full.items();
    ASSERT_EQ(qi.size(), fi.size()) << face;
    for (size_t i = 0; i < qi.size(); ++i) {
      EXPECT_EQ(qi[i].text, fi[i].text);
      EXPECT_EQ(qi[i].rect, fi[i].rect);
      EXPECT_EQ(qi[i].flags, fi[i].flags);
      EXPECT_EQ(qi[i].font, fi[i].font);
      ASSERT_EQ(qi[i].lines.size(), fi[i].lines.size());
      for (size_t k = 0; k < qi[i].lines.size(); ++k) {
        EXPECT_EQ(qi[i].lines[k].text, fi[i].lines[k].text);
        EXPECT_EQ(qi[i].lines[k].x, fi[i].lines[k].x);
        EXPECT_EQ(qi[i].lines[k].baseline, fi[i].lines[k].baseline);
      }
    }
    EXPECT_EQ(quick.byteSize(), full.byteSize()) << face;
  }
}

}  // namespace
}  // namespace zorpokaz
