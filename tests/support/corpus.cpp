#include "support/corpus.h"

#include "support/printoutwriter.h"

namespace zorpokaz::writer {

namespace {

// Ten million lines without fields: 30 MB of body that deflate packs into
// 29 KB.
QByteArray emptyLines() {
  constexpr std::int32_t kLines = 10'000'000;
  BodyBuilder b;
  b.u8(0).f32(0.0f).i32(0).u8(0).i32(0);  // version 0 header, no styles
  b.u8(3).u8(4).u8(1).u8(0).i32(kLines);  // root block, its intro group
  QByteArray lines;
  lines.reserve(qsizetype(kLines) * 3);
  for (std::int32_t i = 0; i < kLines; ++i) lines.append("\x05\x00\x00", 3);
  b.bytes(lines);
  b.u8(4).u8(0).u8(0).i32(0);              // heading
  b.u8(12).i32(0);                         // no children
  b.u8(4).u8(0).u8(0).i32(0);              // reserved lines
  b.u8(4).u8(0).u8(0).i32(0);              // closing
  return b.data();
}

// Field record of a version 0 body, text in the default style.
void field(BodyBuilder& b, std::int32_t x, std::int32_t width, const QByteArray& text) {
  b.u8(6).i32(x).i32(width).u8(0).u8(0).u8(0).u8(0).str("").str(text);
}

// Twenty-four thousand lines of 255 numbers side by side: 6.1 million fields
// on 1,288 pages.
QByteArray wideLines() {
  constexpr int kLines = 24'000;
  BodyBuilder b;
  b.u8(0).f32(0.0f).i32(0).u8(0).i32(0);
  b.u8(3).u8(4).u8(1).u8(0).i32(kLines);
  for (int l = 0; l < kLines; ++l) {
    b.u8(5).u8(0).u8(255);
    field(b, 0, 38, QByteArray::number(l));
    for (int f = 1; f < 255; ++f) field(b, f * 40, 38, QByteArray::number(f));
  }
  b.u8(4).u8(0).u8(0).i32(0);
  b.u8(12).i32(0);
  b.u8(4).u8(0).u8(0).i32(0);
  b.u8(4).u8(0).u8(0).i32(0);
  return b.data();
}

// A small printout whose dashed rule got a damaged top byte in its Width.
QByteArray damagedRuleWidth() {
  WPrintout p;
  WStyle s;
  s.name = "Normalny";
  p.styles = {s};
  WField rule = textField(0, 0x7F001F40, "", "Normalny", 4);
  rule.ruleStyle = 1;
  p.root.intro = group({line({textField(0, 3000, "Razem", "Normalny"), textField(3100, 1500, "123,45", "Normalny", 1)}),
                        line({rule})});
  return writeBody(p);
}

// The smallest such file: one double rule as wide as an int32 allows.
QByteArray widestDoubleRule() {
  WPrintout p;
  p.version = 0;
  WField rule = textField(0, 0x7FFFFFFF, "x", "", 4);
  rule.ruleStyle = 2;
  p.root.intro = group({line({rule})});
  return writeBody(p);
}

// At 100 units per inch a stored position is 1.8 pixels: a dashed rule that
// starts 900 million pixels left of the page and ends 170 million right of
// it, and a text that starts 2^30 pixels right of the page and is as wide
// again (its right edge used to wrap to -2^31).
QByteArray farFields() {
  WPrintout p;
  p.version = 5;
  p.units = 100;
  WField rule = textField(-500'000'000, INT32_MAX, "x", "", 4);
  rule.ruleStyle = 1;
  p.root.intro = group({line({rule}), line({textField(INT32_MAX, INT32_MAX, "daleko", "")})});
  return writeBody(p);
}

// A heading of 20,000 rules of no height, repeated on each of 20,000 pages
// that children with a new page before them start: 400 million rules drawn
// from 6 KB of file.
QByteArray repeatedHeading() {
  WPrintout p;
  p.version = 2;
  WField rule = textField(0, 9000, "", "Domyslny", 4);
  p.root.heading.lines.assign(20'000, line({rule}));
  WBlock child;
  child.intro = group({line({textField(0, 1200, "x")})});
  child.newPageBefore = true;
  p.root.children.assign(20'000, child);
  return writeBody(p);
}

}  // namespace

std::vector<CorpusFile> makeCorpus() {
  return {
      {"empty-lines.wyd", emptyLines()},
      {"wide-lines.wyd", wideLines()},
      {"rule-width.wyd", damagedRuleWidth()},
      {"double-rule.wyd", widestDoubleRule()},
      {"far-fields.wyd", farFields()},
      {"repeated-heading.wyd", repeatedHeading()},
  };
}

}  // namespace zorpokaz::writer
