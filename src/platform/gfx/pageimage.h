// PageImage: one recorded page — a compact display list of positioned text
// lines, pen lines and pictures with a size in page-image pixels — replayable
// onto any QPainter stretched into any rectangle. It stands in for the
// platform's enhanced-metafile page image.
//
// Recording goes through PageCanvas only. Lines of text are broken and placed
// when recorded; replay draws glyphs at those fixed positions. Storage: one
// byte stream of variable-length records (pagestream.h: text bytes inline as
// UTF-8, a line that is a span of its item's text as offset and length, a
// text that is one line of its own in a shorter record of its own), with
// fonts, colours, flag words and pictures interned in small tables. A copy
// is an independent value (copy-on-write underneath).
#pragma once

#include "platform/gfx/emfpicture.h"
#include "platform/gfx/logfont.h"
#include "platform/gfx/pxrect.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QPoint>
#include <QRectF>
#include <QSize>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <vector>

class QPainter;

namespace zorpokaz {

class PageCanvas;
class RealizedFont;
struct TextLayout;
struct SingleLine;

// "#rrggbb" of a colour value 0x00BBGGRR.
QString colorRefName(uint32_t colorRef);

class PageImage {
 public:
  PageImage() = default;
  PageImage(int width, int height) : m_width(width), m_height(height) {}

  int width() const { return m_width; }
  int height() const { return m_height; }
  QSize size() const { return {m_width, m_height}; }
  void setSize(int width, int height) {
    m_width = width;
    m_height = height;
  }
  // Removes every item; the size stays.
  void clear();
  bool isEmpty() const { return m_itemCount == 0; }
  size_t itemCount() const { return m_itemCount; }

  // Draws the page scaled so that (0,0)-(width,height) fills target. Text
  // items without DT_NOCLIP are clipped to their rectangle. mono: every text
  // and pen black, every fill white (black-and-white printing); mono text is
  // drawn without antialiasing so that only black and white pixels result.
  // The painter's state is restored afterwards.
  void replay(QPainter& painter, const QRectF& target, bool mono = false) const;

  // Memory held by this image (stream, tables, pictures' bytes), for budgets.
  size_t byteSize() const;

  // Read-only enumeration, in drawing order, for the JSON page dump and tests.
  enum class ItemKind { Text, Line, Picture };
  struct TextLine {
    QString text;
    int x = 0;
    int baseline = 0;
  };
  struct Item {
    ItemKind kind = ItemKind::Text;
    uint32_t color = 0;  // 0x00BBGGRR (text and line items)
    // Text: the string, rectangle and flags the layout asked DrawText for,
    // the selected font and the lines laid out.
    QString text;
    PxRect rect;  // also the picture's rectangle
    unsigned flags = 0;
    LogFont font;
    std::vector<TextLine> lines;
    // Line: from, to (end point not drawn), pen width in pixels.
    QPoint from;
    QPoint to;
    int penWidth = 0;
    // Picture.
    EmfPicture picture;
  };
  std::vector<Item> items() const;

  // Every laid-out line of text in drawing order, read straight from the
  // stream without building items (the text of every page is searched):
  // the line's font, its UTF-8 bytes, left edge and baseline.
  struct TextLineView {
    const RealizedFont* font = nullptr;
    const char* utf8 = nullptr;
    int len8 = 0;
    int x = 0;
    int baseline = 0;
  };
  template <typename Visit>
  void forEachTextLine(Visit&& visit) const {
    visitTextLines([](void* f, const TextLineView& line) { (*static_cast<Visit*>(f))(line); }, &visit);
  }

 private:
  friend class PageCanvas;
  int internFont(const RealizedFont& font);
  // The number of a flag word a text line record can name; -1 past them.
  int textLineFlag(unsigned flags);
  int internColor(uint32_t colorRef);
  void appendText(const QString& text, const PxRect& rect, unsigned flags, int fontIndex, int colorIndex,
                  const TextLayout& layout, int ascent);
  void appendSingleLine(QByteArrayView text, int codePage, const PxRect& rect, unsigned flags, int fontIndex,
                        int colorIndex, const SingleLine& line, int ascent);
  void appendLine(QPoint from, QPoint to, int penWidth, int colorIndex);
  void appendPicture(const EmfPicture& picture, const PxRect& rect);
  void visitTextLines(void (*visit)(void*, const TextLineView&), void* context) const;

  int m_width = 0;
  int m_height = 0;
  size_t m_itemCount = 0;
  // Changes whenever the tables are emptied, so that a canvas knows its
  // font's number is no longer valid.
  uint32_t m_generation = 0;
  QByteArray m_stream;
  int64_t m_lastTop = 0;  // the top of the last text recorded (text lines count from it)
  // Fonts live as long as the process (RealizedFont::get), so a page names
  // them by their realisation.
  std::vector<const RealizedFont*> m_fonts;
  std::vector<uint32_t> m_colors;
  std::vector<uint32_t> m_flagWords;  // of the text line records
  std::vector<EmfPicture> m_pictures;
};

}  // namespace zorpokaz
