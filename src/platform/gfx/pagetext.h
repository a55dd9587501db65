// The text of a page image as a reader sees it: every laid-out line of every
// text item, grouped into rows that share a line of the page and put in
// reading order (rows top to bottom, the pieces of a row left to right).
// Copying a page, the headless text dump and searching all read it from here,
// so they always agree on what a page says and in which order.
//
// Units: page-image pixels. The runs borrow the realised fonts (which live for
// the process). Needs a QGuiApplication, as RealizedFont does.
#pragma once

#include <QString>

#include <vector>

namespace zorpokaz {

class PageImage;
class RealizedFont;

// One laid-out line of one text item: the text as drawn, where its baseline
// starts, and the font that measures it.
struct TextRun {
  QString text;
  int x = 0;
  int baseline = 0;
  const RealizedFont* font = nullptr;

  int top() const;
  int bottom() const;
  // Width in page-image pixels of text[from, to), measured as replay draws it.
  int advance(int from, int to) const;
};

// The runs of one line of the page, left to right.
using TextRow = std::vector<TextRun>;

// A run as the page image holds it (UTF-8 bytes inside the image, valid while
// the image lives and is not changed), with the row it belongs to. The cheap
// way through every page of a long printout.
struct TextRunRef {
  const char* utf8 = nullptr;
  int len8 = 0;
  int x = 0;
  int baseline = 0;
  const RealizedFont* font = nullptr;
  int row = 0;
};

// Every run of the page in reading order, numbered by row.
std::vector<TextRunRef> PageTextRunRefs(const PageImage& page);

// Rows in reading order. A run joins the row of the run above it in the sort
// (by baseline) when their boxes overlap by at least half the smaller height,
// so fields of one printed line in different fonts stay together.
std::vector<TextRow> PageTextRows(const PageImage& page);

// The runs of PageTextRows one after the other, in reading order.
std::vector<TextRun> PageTextRuns(const PageImage& page);

// The page as plain text: one line per row ending with "\n", the pieces of a
// row trimmed and separated by tabs (tabs inside a piece become spaces);
// blank pieces and rows are left out.
QString PageText(const PageImage& page);

}  // namespace zorpokaz
