#include "platform/gfx/pageimage.h"

#include "platform/codepage.h"
#include "platform/gfx/dtflags.h"
#include "platform/gfx/pagestream.h"
#include "platform/gfx/realizedfont.h"
#include "platform/gfx/textlayout.h"

#include <QGlyphRun>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <climits>
#include <cstring>

namespace zorpokaz {

namespace {

using namespace pagestream;

QColor colorOf(uint32_t ref) { return QColor(ref & 0xFF, (ref >> 8) & 0xFF, (ref >> 16) & 0xFF); }

// A GDI pen line: the end point is not drawn. Horizontal and vertical lines
// (all the layout draws) are filled pixel rectangles, w rows centred on the
// line; others are drawn with a flat-capped pen through pixel centres.
void drawPenLine(QPainter& painter, QPoint a, QPoint b, int width, const QColor& color) {
  const int w = std::max(width, 1);
  const int before = (w - 1) / 2;
  if (a.y() == b.y()) {
    if (a.x() == b.x()) return;
    const int x0 = a.x() < b.x() ? a.x() : b.x() + 1;
    const int x1 = a.x() < b.x() ? b.x() : a.x() + 1;
    painter.fillRect(QRectF(x0, a.y() - before, x1 - x0, w), color);
  } else if (a.x() == b.x()) {
    const int y0 = a.y() < b.y() ? a.y() : b.y() + 1;
    const int y1 = a.y() < b.y() ? b.y() : a.y() + 1;
    painter.fillRect(QRectF(a.x() - before, y0, w, y1 - y0), color);
  } else {
    painter.setPen(QPen(color, w, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(a) + QPointF(0.5, 0.5), QPointF(b) + QPointF(0.5, 0.5));
  }
}

// Printouts stretch their faces by a factor near 1 (a condensed style by
// 0.6, a wide one by 2); beyond this glyphs are drawn as outlines.
constexpr double kMaxGlyphRunStretch = 8.0;

struct GlyphBuffers {
  QString text;
  QList<quint32> glyphs;
  QList<QPointF> positions;
};

// Draws one laid-out line: glyphs at the advances the layout measured,
// stretched horizontally as the font asks.
void drawTextLine(QPainter& painter, const QTransform& page, const RealizedFont& font, const DecodedLine& line,
                  const QColor& color, bool mono, GlyphBuffers& buf) {
  buf.text = QString::fromUtf8(line.utf8, line.len8);
  buf.glyphs.clear();
  buf.positions.clear();
  const double stretch = font.stretch() > 0 ? font.stretch() : 1.0;
  int x = 0;
  for (qsizetype i = 0; i < buf.text.size(); ++i) {
    char32_t ch = buf.text[i].unicode();
    if (QChar::isHighSurrogate(ch) && i + 1 < buf.text.size() && buf.text[i + 1].isLowSurrogate()) {
      ch = QChar::surrogateToUcs4(buf.text[i].unicode(), buf.text[i + 1].unicode());
      ++i;
    }
    const int adv = font.advance(ch);
    if (ch >= 0x20 && !(ch >= 0x7F && ch < 0xA0) && ch != u' ') {
      buf.glyphs.append(font.glyphIndex(ch));
      buf.positions.append(QPointF(x / stretch, 0));
    }
    x += adv;
  }
  if (!buf.glyphs.isEmpty() && font.rawFont().isValid()) {
    const QRawFont& raw = mono ? font.monoRawFont() : font.rawFont();
    painter.setTransform(QTransform(stretch, 0, 0, 1, line.x, line.baseline) * page);
    if (stretch > kMaxGlyphRunStretch) {
      // A damaged style can stretch a face a thousandfold; the glyph cache
      // cannot render such glyphs (and crashes trying), outlines can.
      for (qsizetype g = 0; g < buf.glyphs.size(); ++g)
        painter.fillPath(raw.pathForGlyph(buf.glyphs[g]).translated(buf.positions[g]), color);
    } else {
      QGlyphRun run;
      run.setRawFont(raw);
      run.setGlyphIndexes(buf.glyphs);
      run.setPositions(buf.positions);
      painter.setPen(color);
      painter.drawGlyphRun(QPointF(0, 0), run);
    }
    painter.setTransform(page);
  }
  if (font.logFont().underline && x > 0) {
    const int t = font.underlineThickness();
    painter.fillRect(QRectF(line.x, line.baseline + font.underlinePosition() - t / 2, x, t), color);
  }
  if (line.underlineWidth > 0)
    painter.fillRect(QRectF(line.underlineX, line.baseline + 1, line.underlineWidth, 1), color);
}

}  // namespace

QString colorRefName(uint32_t colorRef) { return colorOf(colorRef).name(QColor::HexRgb); }

void PageImage::clear() {
  ++m_generation;
  m_itemCount = 0;
  m_lastTop = 0;
  m_stream.clear();
  m_fonts.clear();
  m_colors.clear();
  m_flagWords.clear();
  m_pictures.clear();
}

int PageImage::internFont(const RealizedFont& font) {
  for (size_t i = 0; i < m_fonts.size(); ++i)
    if (m_fonts[i] == &font) return static_cast<int>(i);
  m_fonts.push_back(&font);
  return static_cast<int>(m_fonts.size() - 1);
}

int PageImage::internColor(uint32_t colorRef) {
  colorRef &= 0xFFFFFF;
  for (size_t i = 0; i < m_colors.size(); ++i)
    if (m_colors[i] == colorRef) return static_cast<int>(i);
  m_colors.push_back(colorRef);
  return static_cast<int>(m_colors.size() - 1);
}

namespace {

// A text line record up to its text: tag, font, colour and rectangle.
void textLineHead(Writer& w, int flagIndex, const PxRect& rect, int fontIndex, int colorIndex, int64_t& lastTop) {
  w.byte(static_cast<uint8_t>(kTextLine + flagIndex));
  w.u(static_cast<uint64_t>(fontIndex));
  w.u(static_cast<uint64_t>(colorIndex));
  w.s(rect.left);
  w.s(rect.top - lastTop);
  w.s(static_cast<int64_t>(rect.right) - rect.left);
  w.s(static_cast<int64_t>(rect.bottom) - rect.top);
  lastTop = rect.top;
}

}  // namespace

int PageImage::textLineFlag(unsigned flags) {
  for (size_t i = 0; i < m_flagWords.size(); ++i)
    if (m_flagWords[i] == flags) return static_cast<int>(i);
  if (m_flagWords.size() >= kTextLineFlags) return -1;
  m_flagWords.push_back(flags);
  return static_cast<int>(m_flagWords.size() - 1);
}

void PageImage::appendText(const QString& text, const PxRect& rect, unsigned flags, int fontIndex, int colorIndex,
                           const TextLayout& layout, int ascent) {
  const QByteArray utf8 = text.toUtf8();
  const LaidOutLine* only = layout.lines.size() == 1 ? &layout.lines[0] : nullptr;
  const bool oneLine = only && only->isSpan && only->start == 0 && only->length == text.size() && only->underlineWidth <= 0;
  if (const int f = oneLine ? textLineFlag(flags) : -1; f >= 0) {
    Writer w(m_stream, 10 * kVarint + utf8.size());
    textLineHead(w, f, rect, fontIndex, colorIndex, m_lastTop);
    w.u(static_cast<uint64_t>(utf8.size()));
    w.bytes(utf8.constData(), utf8.size());
    w.s(static_cast<int64_t>(only->x) - rect.left);
    w.s(static_cast<int64_t>(only->top) + ascent - rect.top);
    ++m_itemCount;
    return;
  }
  qsizetype most = 10 * kVarint + utf8.size();
  for (const LaidOutLine& line : layout.lines) most += 6 * kVarint + (line.isSpan ? 0 : 3 * line.text.size());
  Writer w(m_stream, most);
  w.byte(kText);
  w.u(flags);
  w.u(static_cast<uint64_t>(fontIndex));
  w.u(static_cast<uint64_t>(colorIndex));
  w.s(rect.left);
  w.s(rect.top);
  w.s(static_cast<int64_t>(rect.right) - rect.left);
  w.s(static_cast<int64_t>(rect.bottom) - rect.top);
  m_lastTop = rect.top;
  w.u(static_cast<uint64_t>(utf8.size()));
  w.bytes(utf8.constData(), utf8.size());
  w.u(layout.lines.size());
  // Lines are in source order, so their UTF-8 offsets are found in one pass.
  int at16 = 0;
  int at8 = 0;
  for (const LaidOutLine& line : layout.lines) {
    const bool underline = line.underlineWidth > 0;
    if (line.isSpan) {
      const int start = std::clamp(line.start, 0, static_cast<int>(text.size()));
      if (start < at16) {
        at16 = 0;
        at8 = 0;
      }
      at8 += utf8Length(QStringView(text).mid(at16, start - at16));
      at16 = start;
      const int len8 = utf8Length(QStringView(text).mid(start, line.length));
      w.u((static_cast<uint64_t>(len8) << 2) | (underline ? 2 : 0));
      w.u(static_cast<uint64_t>(at8));
    } else {
      const QByteArray own = line.text.toUtf8();
      w.u((static_cast<uint64_t>(own.size()) << 2) | 1 | (underline ? 2 : 0));
      w.bytes(own.constData(), own.size());
    }
    w.s(static_cast<int64_t>(line.x) - rect.left);
    w.s(static_cast<int64_t>(line.top) + ascent - rect.top);
    if (underline) {
      w.s(static_cast<int64_t>(line.underlineX) - line.x);
      w.u(static_cast<uint64_t>(line.underlineWidth));
    }
  }
  ++m_itemCount;
}

// The record appendText makes for the decoded text with its one line.
void PageImage::appendSingleLine(QByteArrayView text, int codePage, const PxRect& rect, unsigned flags,
                                 int fontIndex, int colorIndex, const SingleLine& line, int ascent) {
  const int f = textLineFlag(flags);
  if (f < 0) {
    // Past the flag words a text line can name (never in a printout).
    TextLayout layout;
    layout.lines.push_back({0, static_cast<int>(text.size()), true, {}, line.x, line.top, line.width, 0, 0});
    appendText(decodeWindowsCodePage(text, codePage), rect, flags, fontIndex, colorIndex, layout, ascent);
    return;
  }
  const Utf8Table& table = utf8Table(codePage);
  Writer w(m_stream, 10 * kVarint + 3 * text.size());
  textLineHead(w, f, rect, fontIndex, colorIndex, m_lastTop);
  uint64_t len8 = 0;
  for (const char c : text) len8 += table.length[static_cast<unsigned char>(c)];
  w.u(len8);
  char* out = w.at();
  for (const char c : text) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x80) {
      *out++ = c;
    } else {
      std::memcpy(out, table.bytes[b], table.length[b]);
      out += table.length[b];
    }
  }
  w.advance(static_cast<qsizetype>(len8));
  w.s(static_cast<int64_t>(line.x) - rect.left);
  w.s(static_cast<int64_t>(line.top) + ascent - rect.top);
  ++m_itemCount;
}

void PageImage::appendLine(QPoint from, QPoint to, int penWidth, int colorIndex) {
  Writer w(m_stream, 7 * kVarint);
  w.byte(kLine);
  w.u(static_cast<uint64_t>(colorIndex));
  w.u(static_cast<uint64_t>(std::max(penWidth, 0)));
  w.s(from.x());
  w.s(from.y());
  w.s(static_cast<int64_t>(to.x()) - from.x());
  w.s(static_cast<int64_t>(to.y()) - from.y());
  ++m_itemCount;
}

void PageImage::appendPicture(const EmfPicture& picture, const PxRect& rect) {
  size_t index = 0;
  while (index < m_pictures.size() && !(m_pictures[index] == picture)) ++index;
  if (index == m_pictures.size()) m_pictures.push_back(picture);
  Writer w(m_stream, 6 * kVarint);
  w.byte(kPicture);
  w.u(index);
  w.s(rect.left);
  w.s(rect.top);
  w.s(static_cast<int64_t>(rect.right) - rect.left);
  w.s(static_cast<int64_t>(rect.bottom) - rect.top);
  ++m_itemCount;
}

size_t PageImage::byteSize() const {
  size_t n = sizeof(*this) + static_cast<size_t>(m_stream.capacity());
  n += m_fonts.capacity() * sizeof(const RealizedFont*);
  n += (m_colors.capacity() + m_flagWords.capacity()) * sizeof(uint32_t);
  for (const EmfPicture& p : m_pictures) n += sizeof(EmfPicture) + static_cast<size_t>(p.bytes().size());
  return n;
}

std::vector<PageImage::Item> PageImage::items() const {
  std::vector<Item> out;
  out.reserve(m_itemCount);
  Reader r(m_stream);
  DecodedText t;
  while (!r.atEnd()) {
    const uint64_t tag = r.u();
    Item item;
    if (tag == kText || tag >= kTextLine) {
      readText(r, tag, m_flagWords, t);
      item.kind = ItemKind::Text;
      if (t.font >= 0 && t.font < static_cast<int>(m_fonts.size())) item.font = m_fonts[t.font]->logFont();
      if (t.color >= 0 && t.color < static_cast<int>(m_colors.size())) item.color = m_colors[t.color];
      item.text = QString::fromUtf8(t.utf8, t.len8);
      item.rect = t.rect;
      item.flags = t.flags;
      for (const DecodedLine& l : t.lines) item.lines.push_back({QString::fromUtf8(l.utf8, l.len8), l.x, l.baseline});
    } else if (tag == kLine) {
      item.kind = ItemKind::Line;
      const int color = toInt(static_cast<int64_t>(r.u()));
      if (color >= 0 && color < static_cast<int>(m_colors.size())) item.color = m_colors[color];
      item.penWidth = toInt(static_cast<int64_t>(r.u()));
      const int64_t x = r.s();
      const int64_t y = r.s();
      item.from = QPoint(toInt(x), toInt(y));
      // Two statements: the order of evaluation of function arguments is unspecified.
      const int64_t dx = r.s();
      const int64_t dy = r.s();
      item.to = QPoint(toInt(x + dx), toInt(y + dy));
    } else if (tag == kPicture) {
      item.kind = ItemKind::Picture;
      const uint64_t index = r.u();
      if (index < m_pictures.size()) item.picture = m_pictures[index];
      const int64_t left = r.s();
      const int64_t top = r.s();
      const int64_t width = r.s();
      const int64_t height = r.s();
      item.rect = {toInt(left), toInt(top), toInt(left + width), toInt(top + height)};
    } else {
      break;
    }
    out.push_back(std::move(item));
  }
  return out;
}

void PageImage::visitTextLines(void (*visit)(void*, const TextLineView&), void* context) const {
  Reader r(m_stream);
  DecodedText t;
  while (!r.atEnd()) {
    const uint64_t tag = r.u();
    if (tag == kText || tag >= kTextLine) {
      readText(r, tag, m_flagWords, t);
      const RealizedFont* font = t.font >= 0 && t.font < static_cast<int>(m_fonts.size()) ? m_fonts[t.font] : nullptr;
      for (const DecodedLine& l : t.lines) visit(context, {font, l.utf8, l.len8, l.x, l.baseline});
    } else if (tag == kLine) {
      for (int i = 0; i < 6; ++i) r.u();  // colour, width, x, y, dx, dy
    } else if (tag == kPicture) {
      for (int i = 0; i < 5; ++i) r.u();  // picture, left, top, width, height
    } else {
      break;
    }
  }
}

namespace {

// One replay: the page transform, the resolved fonts and colours, and the
// vertical range the painter's clip leaves visible.
class Replay {
 public:
  Replay(QPainter& painter, const QTransform& page, bool mono, const std::vector<const RealizedFont*>& fonts,
         const std::vector<uint32_t>& colors, const std::vector<uint32_t>& flagWords,
         const std::vector<EmfPicture>& pictures)
      : m_painter(painter), m_page(page), m_mono(mono), m_pictures(pictures), m_flagWords(flagWords),
        m_fonts(fonts) {
    m_colors.reserve(colors.size());
    for (uint32_t c : colors) m_colors.push_back(mono ? QColor(Qt::black) : colorOf(c));
    // Lines of text entirely above or below the clip (a viewer repainting
    // part of a zoomed page) are skipped.
    if (painter.hasClipping()) {
      const QRectF visible = painter.clipBoundingRect();
      m_visibleTop = visible.top();
      m_visibleBottom = visible.bottom();
    }
  }

  void text(Reader& r, uint64_t tag) {
    readText(r, tag, m_flagWords, m_text);
    if (m_text.font < 0 || m_text.font >= static_cast<int>(m_fonts.size())) return;
    const bool clip = !(m_text.flags & DT_NOCLIP);
    if (clip) {
      m_painter.save();
      m_painter.setClipRect(m_text.rect.toQRect(), Qt::IntersectClip);
    }
    const RealizedFont& font = *m_fonts[m_text.font];
    const double margin = font.height() + font.ppem();  // generous for accents and italics
    for (const DecodedLine& l : m_text.lines) {
      if (l.baseline + margin < m_visibleTop || l.baseline - margin > m_visibleBottom) continue;
      drawTextLine(m_painter, m_page, font, l, colorAt(m_text.color), m_mono, m_glyphs);
    }
    if (clip) m_painter.restore();
  }

  void line(Reader& r) {
    const int color = toInt(static_cast<int64_t>(r.u()));
    const int width = toInt(static_cast<int64_t>(r.u()));
    // One value per statement: the stream order must be the reading order.
    const int64_t x = r.s();
    const int64_t y = r.s();
    const int64_t dx = r.s();
    const int64_t dy = r.s();
    drawPenLine(m_painter, QPoint(toInt(x), toInt(y)), QPoint(toInt(x + dx), toInt(y + dy)), width, colorAt(color));
  }

  void picture(Reader& r) {
    const uint64_t index = r.u();
    const int64_t left = r.s();
    const int64_t top = r.s();
    const int64_t w = r.s();
    const int64_t h = r.s();
    if (index < m_pictures.size())
      m_pictures[index].render(m_painter, QRectF(left, top, static_cast<double>(w), static_cast<double>(h)), m_mono);
    m_painter.setTransform(m_page);
  }

 private:
  QColor colorAt(int i) const {
    return i >= 0 && i < static_cast<int>(m_colors.size()) ? m_colors[i] : QColor(Qt::black);
  }

  QPainter& m_painter;
  QTransform m_page;
  bool m_mono;
  const std::vector<EmfPicture>& m_pictures;
  const std::vector<uint32_t>& m_flagWords;
  const std::vector<const RealizedFont*>& m_fonts;
  std::vector<QColor> m_colors;
  double m_visibleTop = -1e300;
  double m_visibleBottom = 1e300;
  DecodedText m_text;
  GlyphBuffers m_glyphs;
};

}  // namespace

void PageImage::replay(QPainter& painter, const QRectF& target, bool mono) const {
  if (m_width <= 0 || m_height <= 0 || m_stream.isEmpty() || target.isEmpty()) return;
  painter.save();
  const QTransform page =
      QTransform(target.width() / m_width, 0, 0, target.height() / m_height, target.x(), target.y()) *
      painter.transform();
  painter.setTransform(page);
  painter.setRenderHint(QPainter::Antialiasing, !mono);
  painter.setRenderHint(QPainter::TextAntialiasing, !mono);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, !mono);
  Replay replay(painter, page, mono, m_fonts, m_colors, m_flagWords, m_pictures);
  Reader r(m_stream);
  while (!r.atEnd()) {
    const uint64_t tag = r.u();
    if (tag == kText || tag >= kTextLine)
      replay.text(r, tag);
    else if (tag == kLine)
      replay.line(r);
    else if (tag == kPicture)
      replay.picture(r);
    else
      break;
  }
  painter.restore();
}

}  // namespace zorpokaz
