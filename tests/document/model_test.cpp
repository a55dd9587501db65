// What the reader puts into the model: version rules, defaults, scaling of
// positions, style lookup, and bodies that lie about their sizes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <new>
#include <stdexcept>

#include "document/linedruk.h"
#include "document/tmlinewydruk.h"
#include "platform/errors.h"
#include "platform/files/stream.h"
#include "support/emfbuilder.h"
#include "support/loadbytes.h"
#include "support/printoutwriter.h"

namespace zorpokaz {
namespace {

using namespace writer;

WPrintout full(int version) {
  WPrintout p;
  p.version = static_cast<std::uint8_t>(version);
  p.units = 600;
  p.lineSpacing = 1.25f;
  p.linesPerPage = 66;
  WStyle s;
  s.color = 0x00123456;
  s.charHeight = 4.5f;
  s.charsPerLine = 100;
  s.charWidth = 2.1f;
  s.fontStyle = 3;
  s.reserved = 77;
  s.charset = 204;
  s.fontName = "Arial";
  s.name = "Gruby";
  s.alias = "BOLD";
  p.styles = {s};
  WField f = textField(600, 1200, "tekst", "Gruby", 0);
  f.align = 2;
  f.bottomSingleLine = true;
  f.endEllipsis = true;
  f.noWrap = true;
  f.ruleStyle = 3;
  WField pic = textField(0, 0, "obraz", "Gruby", 6);
  pic.picture = makeEmf(3000, 1500);
  WField after = textField(0, 0, "po obrazie");
  p.root.intro = group({line({f}), line({pic, after})}, true);
  p.root.intro.breakBefore = true;
  p.root.intro.lines[0].skipWhenRepeated = true;
  p.root.name = "KORZEN";
  p.root.newPageBefore = true;
  return p;
}

TEST(VersionRules, EachVersionReadsItsOwnFieldsAndDefaultsTheRest) {
  for (int v = 0; v <= 6; ++v) {
    SCOPED_TRACE(v);
    TMLineWydruk c;
    loadBytes(writePrintout(full(v)), c);
    EXPECT_EQ(c.Version, v);
    EXPECT_EQ(c.Units, v >= 5 ? 600 : 1200);
    EXPECT_EQ(c.Scale, v >= 5 ? 180.0f / 600 : 180.0f / 1200);
    EXPECT_EQ(c.LineSpacing, 1.25f);
    EXPECT_EQ(c.LinesPerPage, v >= 2 ? 66 : 84);
    ASSERT_EQ(c.Styles.Count(), 2);
    const TStyl& s = *c.Styles.Item(1);
    EXPECT_EQ(s.Color(), 0x00123456u);
    EXPECT_EQ(s.CharHeight, 4.5f);
    EXPECT_EQ(s.CharsPerLine(), 100);
    EXPECT_EQ(s.CharWidth, 2.1f);
    EXPECT_EQ(s.FontStyle(), 3);
    EXPECT_EQ(s.Reserved, 77);
    EXPECT_EQ(s.Charset, v >= 3 ? 204 : 186);
    EXPECT_EQ(s.FontName(), "Arial");
    EXPECT_EQ(s.Name, "Gruby");
    EXPECT_EQ(s.Alias, "BOLD");

    const TLinie& intro = c.Root.Intro;
    EXPECT_TRUE(intro.Splittable);
    EXPECT_TRUE(intro.BreakBefore);
    ASSERT_EQ(intro.Count(), 2);
    EXPECT_TRUE(intro.Lines[0].SkipWhenRepeated);
    EXPECT_FALSE(intro.Lines[1].SkipWhenRepeated);
    ASSERT_FALSE(intro.Lines[0].Fields().empty());
    const TPole& f = intro.Lines[0].Fields()[0];
    EXPECT_EQ(f.X, v >= 5 ? 180 : 90);
    EXPECT_EQ(f.Width, v >= 5 ? 360 : 180);
    EXPECT_EQ(f.Align, 2);
    EXPECT_EQ(f.BottomSingleLine, v >= 6);
    EXPECT_EQ(f.EndEllipsis, v >= 6);
    EXPECT_TRUE(f.NoWrap);
    EXPECT_EQ(f.RuleStyle, 3);
    EXPECT_EQ(f.StyleName, "Gruby");
    EXPECT_EQ(f.Text, "tekst");
    // Before version 4 a picture field carries no picture and the next field
    // follows directly.
    ASSERT_EQ(intro.Lines[1].Fields().size(), 2u);
    const TPole& pic = intro.Lines[1].Fields()[0];
    EXPECT_EQ(pic.Kind, TPole::kPicture);
    EXPECT_EQ(pic.Picture.isNull(), v < 4);
    if (v >= 4) {
      EXPECT_EQ(pic.Picture.bytes(), makeEmf(3000, 1500));
      EXPECT_EQ(pic.Picture.frameWidth(), 3000);
      EXPECT_EQ(pic.Picture.frameHeight(), 1500);
    }
    EXPECT_EQ(intro.Lines[1].Fields()[1].Text, "po obrazie");
    EXPECT_EQ(c.Root.BlockName, v >= 2 ? "KORZEN" : "");
    EXPECT_EQ(c.Root.NewPageBefore, v >= 2);
    EXPECT_EQ(intro.Block, &c.Root);
  }
}

TEST(Defaults, NewContentAndItsDefaultStyle) {
  TMLineWydruk c;
  EXPECT_EQ(c.LinesPerPage, 84);
  EXPECT_EQ(c.Units, 1200);
  EXPECT_EQ(c.Scale, 0.15f);
  EXPECT_EQ(c.Resolution, 96);
  EXPECT_DOUBLE_EQ(c.RuleWidth, 0.15);
  ASSERT_EQ(c.Styles.Count(), 1);
  const TStyl& d = *c.Styles.Default();
  EXPECT_EQ(d.Name, "Domyslny");
  EXPECT_EQ(d.FontName(), "Courier New");
  EXPECT_EQ(d.Color(), 0u);
  EXPECT_EQ(d.FontStyle(), 0);
  EXPECT_EQ(d.CharsPerLine(), 132);
  EXPECT_EQ(d.CharHeight, 3.5f);
  EXPECT_EQ(d.CharWidth, static_cast<float>(210.0 / 132));
  EXPECT_EQ(d.Charset, 186);
  EXPECT_EQ(d.Reserved, -1);
  EXPECT_TRUE(d.Dirty);
  TPole f(&c);
  EXPECT_EQ(f.StyleName, "Domyslny");
  EXPECT_TRUE(f.Picture.isNull());
}

TEST(Defaults, ReloadingForgetsTheFormerPrintout) {
  TMLineWydruk c;
  loadBytes(writePrintout(full(6)), c);
  ASSERT_EQ(c.Units, 600);
  loadBytes(writePrintout(full(1)), c);
  EXPECT_EQ(c.Units, 1200);
  EXPECT_EQ(c.LinesPerPage, 84);
  EXPECT_EQ(c.Styles.Count(), 2);
  // A failed load leaves nothing half read behind.
  BodyOptions bad;
  bad.markers = {{6, 1, 0}};
  EXPECT_THROW(loadBytes(writePrintout(full(6), bad), c), EReadFileError);
  EXPECT_EQ(c.Styles.Count(), 1);
  EXPECT_EQ(c.Root.Intro.Count(), 0);
  EXPECT_EQ(c.Units, 1200);
}

TEST(Scaling, XRoundsTiesToEvenAndWidthTruncates) {
  struct Case {
    std::int32_t units, stored, x, width;
  };
  const Case cases[] = {
      {360, 1, 0, 0},   {360, 3, 2, 1},   {360, 5, 2, 2},  {360, -1, 0, 0},  {360, -3, -2, -1},
      {1200, 30, 5, 4},  // 30 * 0.15f = 4.50000018 exactly: rounds up, not to even
      {1200, 10, 2, 1}, {1200, 9921, 1488, 1488}, {1200, 7, 1, 1}, {2400, 15, 1, 1},
      {-1200, 100, -15, -15}, {1, 1000, 180000, 180000},
      {1, INT32_MAX, 1 << 30, 1 << 30},   {1, INT32_MIN, -(1 << 30), -(1 << 30)},
  };
  for (const Case& c : cases) {
    WPrintout p;
    p.version = 5;
    p.units = c.units;
    WField f = textField(c.stored, c.stored, "");
    p.root.intro = group({line({f})});
    TMLineWydruk content;
    loadBytes(writePrintout(p), content);
    const TPole& got = content.Root.Intro.Lines[0].Fields()[0];
    EXPECT_EQ(got.X, c.x) << c.units << " " << c.stored;
    EXPECT_EQ(got.Width, c.width) << c.units << " " << c.stored;
  }
}

TEST(FindByName, NameAliasCaseAndFallback) {
  WPrintout p;
  auto st = [](QByteArray name, QByteArray alias) {
    WStyle s;
    s.name = std::move(name);
    s.alias = std::move(alias);
    return s;
  };
  // "\xa5" / "\xb9" are "Ą" / "ą" in code page 1250.
  p.styles = {st("Gruby", "BOLD"), st("Maly", "Gruby"), st("Domyslny", ""), st("\xa5la", "X"), st("", "pusty")};
  TMLineWydruk c;
  loadBytes(writePrintout(p), c);
  struct Case {
    QByteArray name;
    int item;
  };
  const Case cases[] = {
      {"Gruby", 1},    {"GRUBY", 1},  {"gruby", 1}, {"bold", 1},  {"Maly", 2}, {"DOMYSLNY", 3},
      {"\xb9LA", 4},   {"x", 4},      {"", 3},      {"brak", 0},  {"Grub", 0}, {"Gruby ", 0},
  };
  for (const Case& k : cases)
    EXPECT_EQ(c.Styles.FindByName(k.name), c.Styles.Item(k.item)) << k.name.toStdString();
  // Only a style with an empty name or alias matches the empty name.
  p.styles.erase(p.styles.begin() + 2);
  TMLineWydruk d;
  loadBytes(writePrintout(p), d);
  EXPECT_EQ(d.Styles.FindByName(""), d.Styles.Item(4));
  TMLineWydruk empty;
  EXPECT_EQ(empty.Styles.FindByName(""), empty.Styles.Default());
  EXPECT_EQ(empty.Styles.FindByName("Domyslny"), empty.Styles.Default());
}

TEST(TStyle, DefineStyleAndDirtyRules) {
  TMLineWydruk c;
  TStyle& styles = c.Styles;
  TStyl* s = styles.DefineStyle("Nowy", 0xFF, "Arial", 1, 66);
  EXPECT_EQ(styles.Count(), 2);
  EXPECT_EQ(s->CharHeight, 7.0f);  // 294 / (84 * 66 / 132)
  EXPECT_EQ(s->CharWidth, static_cast<float>(210.0 / 66));
  EXPECT_EQ(styles.DefineStyle("NOWY", 0, "Arial", 1, 66), s);
  EXPECT_EQ(styles.Count(), 2);
  EXPECT_EQ(s->Name, "NOWY");

  styles.ClearAllDirty();
  EXPECT_FALSE(s->Dirty);
  EXPECT_TRUE(styles.Default()->Dirty);  // item 0 is never touched
  s->SetColor(0);
  EXPECT_FALSE(s->Dirty);  // same value
  s->SetColor(1);
  EXPECT_TRUE(s->Dirty);
  styles.ClearAllDirty();
  s->SetCharsPerLine(66, true);
  EXPECT_FALSE(s->Dirty);
  s->SetCharsPerLine(132, false);
  EXPECT_TRUE(s->Dirty);
  EXPECT_EQ(s->CharsPerLine(), 132);
  EXPECT_EQ(s->CharHeight, 7.0f);  // without the flag the cell stays
  styles.MarkAllDirty();
  EXPECT_TRUE(s->Dirty);
  styles.Clear();
  EXPECT_EQ(styles.Count(), 1);
}

TEST(HostileBodies, HugeCountsFailAtTheFirstMissingRecord) {
  struct Case {
    const char* what;
    std::function<void(WPrintout&)> make;
    std::string message;
  };
  const Case cases[] = {
      {"style count", [](WPrintout& p) { p.styleCountOverride = INT32_MAX; }, "Błąd czytania z pliku [1]"},
      {"negative style count", [](WPrintout& p) { p.styleCountOverride = INT32_MIN; }, ""},
      {"line count", [](WPrintout& p) { p.root.intro.countOverride = INT32_MAX; }, "Błąd czytania z pliku [5]"},
      {"negative line count", [](WPrintout& p) { p.root.intro.countOverride = -5; }, "Błąd czytania z pliku [4]"},
      {"child count", [](WPrintout& p) { p.root.childCountOverride = INT32_MAX; }, "Błąd czytania z pliku [3]"},
      {"field count", [](WPrintout& p) { p.root.closing.lines[0].countOverride = 255; }, "Błąd czytania z pliku [6]"},
  };
  for (const Case& c : cases) {
    WPrintout p;
    p.root.intro = group({line({textField(0, 100, "a")})});
    p.root.closing = group({line({textField(0, 100, "b")})});
    c.make(p);
    EXPECT_EQ(loadError(writePrintout(p)), c.message) << c.what;
  }
}

// A body with more styles, blocks, lines or fields than a printout can have is
// refused with the read error of the record that went over the limit.
TEST(HostileBodies, CountsPastTheLimitsAreReadErrors) {
  // Three styles, the root and two children, six lines (one in every kind of
  // section, reserved lines too), ten fields.
  WPrintout p;
  p.styles.resize(3);
  WBlock child;
  child.intro = group({line({textField(0, 100, "a"), textField(100, 100, "b")})});
  child.reserved = group({line({textField(0, 100, "c")})});
  p.root.heading = group({line({textField(0, 100, "d")}), line({})});
  p.root.children = {child, child};
  p.root.closing = group({line({textField(0, 100, "e"), textField(100, 100, "f"), textField(200, 100, "g")})});
  const QByteArray file = writePrintout(p);
  struct Case {
    const char* what;
    std::int64_t ContentLimits::*limit;
    std::int64_t held;
    std::string message;
  };
  const Case cases[] = {
      {"styles", &ContentLimits::Styles, 3, "Błąd czytania z pliku [1]"},
      {"blocks", &ContentLimits::Blocks, 3, "Błąd czytania z pliku [3]"},
      {"lines", &ContentLimits::Lines, 7, "Błąd czytania z pliku [5]"},
      {"fields", &ContentLimits::Fields, 10, "Błąd czytania z pliku [6]"},
  };
  for (const Case& c : cases) {
    for (std::int64_t limit : {c.held, c.held - 1}) {
      TMLineWydruk content;
      content.Limits.*c.limit = limit;
      std::string error;
      try {
        loadBytes(file, content);
      } catch (const Error& e) {
        error = e.what();
      }
      EXPECT_EQ(error, limit == c.held ? "" : c.message) << c.what << " " << limit;
      if (limit < c.held) {
        EXPECT_EQ(content.Root.Children.size(), 0u) << "cleared";
      }
    }
  }
}

// Memory running out while a body is read ends as a printout that cannot be
// read, with the content cleared, whatever the C++ library's words for it.
TEST(HostileBodies, RunningOutOfMemoryIsAPrintoutThatCannotBeRead) {
  // Delivers the body, then fails as an allocation would.
  class FailingStream : public Stream {
   public:
    FailingStream(QByteArray data, bool lengthError) : m_data(std::move(data)), m_lengthError(lengthError) {}
    std::size_t read(void* buffer, std::size_t count) override {
      if (m_at >= m_data.size()) {
        if (m_lengthError) throw std::length_error("vector::_M_realloc_insert");
        throw std::bad_alloc();
      }
      const std::size_t n = std::min<std::size_t>(count, static_cast<std::size_t>(m_data.size() - m_at));
      std::memcpy(buffer, m_data.constData() + m_at, n);
      m_at += static_cast<qsizetype>(n);
      return n;
    }

   private:
    QByteArray m_data;
    bool m_lengthError;
    qsizetype m_at = 0;
  };
  const QByteArray body = writeBody(full(6));
  for (bool lengthError : {false, true}) {
    for (qsizetype cut : {body.size() / 3, body.size() - 2}) {
      FailingStream stream(body.left(cut), lengthError);
      TMLineWydruk content;
      try {
        content.LoadFromStream(stream);
        ADD_FAILURE() << "loaded";
      } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Plik nie zawiera prawidłowego wydruku Zorela") << cut;
      }
      EXPECT_EQ(content.Styles.Count(), 1);
      EXPECT_EQ(content.Root.Intro.Count(), 0);
    }
  }
}

// A picture repeated in a body (a logo on every invoice) is held once.
TEST(HostileBodies, RepeatedPicturesAreHeldOnce) {
  WPrintout p;
  WField logo = textField(0, 0, "", "Domyslny", 6);
  logo.picture = makeEmf(3000, 1500);
  WField other = logo;
  other.picture = makeEmf(3000, 1600);
  p.root.intro = group({line({logo}), line({other}), line({logo})});
  TMLineWydruk c;
  loadBytes(writePrintout(p), c);
  const auto& lines = c.Root.Intro.Lines;
  EXPECT_EQ(lines[0].Fields()[0].Picture, lines[2].Fields()[0].Picture);
  EXPECT_EQ(lines[0].Fields()[0].Picture.bytes().constData(), lines[2].Fields()[0].Picture.bytes().constData());
  EXPECT_FALSE(lines[0].Fields()[0].Picture == lines[1].Fields()[0].Picture);
  EXPECT_EQ(lines[1].Fields()[0].Picture.frameHeight(), 1600);
}

TEST(HostileBodies, NestingDepthIsCapped) {
  // Made by hand: the writer's own recursion would not survive 100,000 levels.
  auto nested = [](int depth) {
    BodyBuilder b;
    b.u8(1).f32(0).i32(0).u8(0).i32(0);
    auto emptyGroup = [&] { b.u8(4).u8(0).u8(0).i32(0); };
    for (int i = 0; i < depth; ++i) {
      b.u8(3);
      emptyGroup();
      emptyGroup();
      b.u8(12).i32(i + 1 < depth ? 1 : 0);
    }
    for (int i = 0; i < depth; ++i) emptyGroup(), emptyGroup();
    return wrapBody(b.data());
  };
  TMLineWydruk c;
  loadBytes(nested(256), c);
  const TMLine* b = &c.Root;
  int depth = 1;
  while (!b->Children.empty()) b = b->Children[0].get(), ++depth;
  EXPECT_EQ(depth, 256);
  EXPECT_EQ(loadError(nested(257)), "Błąd czytania z pliku [3]");
  EXPECT_EQ(loadError(nested(100000)), "Błąd czytania z pliku [3]");
}

TEST(HostileBodies, UnitsZeroIsAReadError) {
  WPrintout p;
  p.version = 5;
  p.units = 0;
  EXPECT_EQ(loadError(writePrintout(p)), "Błąd czytania z pliku [0]");
  p.version = 4;  // no Units stored: 1200
  EXPECT_EQ(loadError(writePrintout(p)), "");
}

TEST(HostileBodies, EveryPrefixOfABodyIsAReadError) {
  WPrintout p = full(6);
  const QByteArray body = writeBody(p);
  for (qsizetype n = 0; n < body.size(); ++n) {
    const std::string error = bodyError(body.left(n));
    EXPECT_NE(error, "") << n;
  }
  EXPECT_EQ(bodyError(body), "");
  EXPECT_EQ(bodyError(body + "trailing"), "");
}

TEST(Counting, CountLinesCountsIntroAndClosingOnly) {
  WPrintout p;
  auto lines = [](int n) {
    WGroup g;
    for (int i = 0; i < n; ++i) g.lines.push_back(line({}));
    return g;
  };
  p.root.intro = lines(2);
  p.root.heading = lines(5);
  p.root.reserved = lines(7);
  p.root.closing = lines(1);
  WBlock child;
  child.intro = lines(3);
  child.heading = lines(4);
  child.closing = lines(2);
  p.root.children = {child, child};
  TMLineWydruk c;
  loadBytes(writePrintout(p), c);
  EXPECT_EQ(c.Root.CountLines(), 2 + 1 + 2 * (3 + 2));
  EXPECT_EQ(c.TotalLines(), 13);
  EXPECT_EQ(c.LinesTotal, 13);
}

}  // namespace
}  // namespace zorpokaz
