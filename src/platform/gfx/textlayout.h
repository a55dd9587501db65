// The text routine's layout: how DrawText breaks, places, cuts and measures
// text for a set of DT_ flags, without drawing. The behaviour is that of the
// platform's DrawTextA. Pixels of the page image.
#pragma once

#include "platform/gfx/pxrect.h"
#include "platform/gfx/realizedfont.h"

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <vector>

namespace zorpokaz {

struct LaidOutLine {
  // The characters of the source text this line came from (UTF-16 units).
  int start = 0;
  int length = 0;
  // What is drawn: the source span itself (isSpan), or a text of its own
  // ("&" prefixes removed, ellipsis added), which is then kept in text.
  bool isSpan = true;
  QString text;
  int x = 0;      // left edge of the drawn text
  int top = 0;    // top of the line; baseline = top + ascent
  int width = 0;  // advance width of text
  // The "&"-prefixed character's underline, when there is one.
  int underlineX = 0;
  int underlineWidth = 0;
};

struct TextLayout {
  int result = 0;            // the routine's return value
  PxRect rect;               // the rectangle after the call (CALCRECT changes it)
  int lineHeight = 0;
  bool clip = false;         // drawing is clipped to the rectangle
  std::vector<LaidOutLine> lines;  // lines to draw (none with DT_CALCRECT)
};

// Lays text out in rect for flags with font's metrics. With DT_CALCRECT the
// lines are measured but not returned, and rect gets its calculated size.
TextLayout layoutText(QStringView text, const PxRect& rect, unsigned flags, const TextMeasure& font);

// The routine's result for a text that is one line of its rectangle.
struct SingleLine {
  int result = 0;  // the routine's return value
  PxRect rect;     // the rectangle after the call
  int x = 0;       // the line as drawn (not with DT_CALCRECT): left edge,
  int top = 0;     // top (baseline = top + ascent),
  int width = 0;   // and advance width
};

// The common case of the text routine, without laying the text out
// character by character: a single-byte text (with the advances of its code
// page) that has no line break (or is drawn with DT_SINGLELINE), no "&" to
// process, and fits the rectangle's width. For such a text the result is
// exactly layoutText's, with the whole text as its one line. False, and
// nothing done, for any other text: layoutText lays that out.
bool layoutSingleLine(QByteArrayView text, const ByteAdvances& advances, const PxRect& rect, unsigned flags,
                      int lineHeight, SingleLine& out);

// The characters a laid-out line draws.
QString lineText(QStringView text, const LaidOutLine& line);

}  // namespace zorpokaz
