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

// A rule that starts a billion pixels left of the page and a text that starts
// a billion pixels right of it and is as wide again.
QByteArray farFields() {
  WPrintout p;
  p.version = 0;
  WField rule = textField(INT32_MIN, 0x7FFFFFFF, "x", "", 4);
  rule.ruleStyle = 1;
  p.root.intro = group({line({rule}), line({textField(0x7FFFFFFF, 0x7FFFFFFF, "daleko", "")})});
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
  };
}

}  // namespace zorpokaz::writer
