#include "platform/gfx/pageimage.h"

#include "platform/gfx/dtflags.h"
#include "platform/gfx/realizedfont.h"
#include "platform/gfx/textlayout.h"

#include <QGlyphRun>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <climits>

namespace zorpokaz {

// Stream records (all integers as LEB128 varints, signed ones zigzagged):
//   text:    1 flags font color left top width height len8 utf8[len8] nlines
//            { head (bit0 literal, bit1 underline, rest len8) [start8 | utf8]
//              x−left baseline−top [ux−x uw] } × nlines
//   line:    2 color penWidth x1 y1 x2−x1 y2−y1
//   picture: 3 picture left top width height
namespace {

enum Tag : uint8_t { kText = 1, kLine = 2, kPicture = 3 };

void putU(QByteArray& s, uint64_t v) {
  while (v >= 0x80) {
    s.append(static_cast<char>((v & 0x7F) | 0x80));
    v >>= 7;
  }
  s.append(static_cast<char>(v));
}
void putS(QByteArray& s, int64_t v) { putU(s, (static_cast<uint64_t>(v) << 1) ^ static_cast<uint64_t>(v >> 63)); }

int toInt(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, INT_MIN, INT_MAX)); }

// UTF-8 length of a UTF-16 range.
int utf8Length(QStringView s) {
  int n = 0;
  for (qsizetype i = 0; i < s.size(); ++i) {
    const char16_t c = s[i].unicode();
    if (c < 0x80)
      n += 1;
    else if (c < 0x800)
      n += 2;
    else if (QChar::isHighSurrogate(c) && i + 1 < s.size() && s[i + 1].isLowSurrogate()) {
      n += 4;
      ++i;
    } else
      n += 3;
  }
  return n;
}

class Reader {
 public:
  explicit Reader(const QByteArray& s)
      : m_p(reinterpret_cast<const uint8_t*>(s.constData())), m_end(m_p + s.size()) {}
  bool atEnd() const { return m_p >= m_end; }
  uint64_t u() {
    uint64_t v = 0;
    for (int shift = 0; m_p < m_end && shift < 64; shift += 7) {
      const uint8_t b = *m_p++;
      v |= static_cast<uint64_t>(b & 0x7F) << shift;
      if (!(b & 0x80)) return v;
    }
    m_p = m_end;
    return v;
  }
  int64_t s() {
    const uint64_t v = u();
    return static_cast<int64_t>(v >> 1) ^ -static_cast<int64_t>(v & 1);
  }
  int i() { return toInt(s()); }
  // A view of n bytes (fewer at a corrupt end).
  const char* bytes(uint64_t n, int* got) {
    const uint64_t left = static_cast<uint64_t>(m_end - m_p);
    n = std::min(n, left);
    const char* p = reinterpret_cast<const char*>(m_p);
    m_p += n;
    *got = static_cast<int>(n);
    return p;
  }

 private:
  const uint8_t* m_p;
  const uint8_t* m_end;
};

struct DecodedLine {
  const char* utf8;
  int len8;
  int x;
  int baseline;
  int underlineX;
  int underlineWidth;
};

struct DecodedText {
  unsigned flags;
  int font;
  int color;
  PxRect rect;
  const char* utf8;
  int len8;
  std::vector<DecodedLine> lines;
};

void readText(Reader& r, DecodedText& t) {
  t.flags = static_cast<unsigned>(r.u());
  t.font = toInt(static_cast<int64_t>(r.u()));
  t.color = toInt(static_cast<int64_t>(r.u()));
  // One value per statement: the stream order must be the reading order.
  const int64_t left = r.s();
  const int64_t top = r.s();
  const int64_t width = r.s();
  const int64_t height = r.s();
  t.rect = {toInt(left), toInt(top), toInt(left + width), toInt(top + height)};
  t.utf8 = r.bytes(r.u(), &t.len8);
  const uint64_t count = r.u();
  t.lines.clear();
  for (uint64_t k = 0; k < count && !r.atEnd(); ++k) {
    DecodedLine l{};
    const uint64_t head = r.u();
    const uint64_t len8 = head >> 2;
    if (head & 1) {
      l.utf8 = r.bytes(len8, &l.len8);
    } else {
      const uint64_t start = std::min<uint64_t>(r.u(), static_cast<uint64_t>(t.len8));
      l.utf8 = t.utf8 + start;
      l.len8 = static_cast<int>(std::min<uint64_t>(len8, static_cast<uint64_t>(t.len8) - start));
    }
    const int64_t x = left + r.s();
    l.x = toInt(x);
    l.baseline = toInt(top + r.s());
    if (head & 2) {
      l.underlineX = toInt(x + r.s());
      l.underlineWidth = toInt(static_cast<int64_t>(r.u()));
    }
    t.lines.push_back(l);
  }
}

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
  m_itemCount = 0;
  m_stream.clear();
  m_fonts.clear();
  m_colors.clear();
  m_pictures.clear();
}

int PageImage::internFont(const LogFont& font) {
  for (size_t i = 0; i < m_fonts.size(); ++i)
    if (m_fonts[i] == font) return static_cast<int>(i);
  m_fonts.push_back(font);
  return static_cast<int>(m_fonts.size() - 1);
}

int PageImage::internColor(uint32_t colorRef) {
  colorRef &= 0xFFFFFF;
  for (size_t i = 0; i < m_colors.size(); ++i)
    if (m_colors[i] == colorRef) return static_cast<int>(i);
  m_colors.push_back(colorRef);
  return static_cast<int>(m_colors.size() - 1);
}

void PageImage::appendText(const QString& text, const PxRect& rect, unsigned flags, int fontIndex, int colorIndex,
                           const TextLayout& layout, int ascent) {
  QByteArray& s = m_stream;
  s.append(static_cast<char>(kText));
  putU(s, flags);
  putU(s, static_cast<uint64_t>(fontIndex));
  putU(s, static_cast<uint64_t>(colorIndex));
  putS(s, rect.left);
  putS(s, rect.top);
  putS(s, static_cast<int64_t>(rect.right) - rect.left);
  putS(s, static_cast<int64_t>(rect.bottom) - rect.top);
  const QByteArray utf8 = text.toUtf8();
  putU(s, static_cast<uint64_t>(utf8.size()));
  s.append(utf8);
  putU(s, layout.lines.size());
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
      putU(s, (static_cast<uint64_t>(len8) << 2) | (underline ? 2 : 0));
      putU(s, static_cast<uint64_t>(at8));
    } else {
      const QByteArray own = line.text.toUtf8();
      putU(s, (static_cast<uint64_t>(own.size()) << 2) | 1 | (underline ? 2 : 0));
      s.append(own);
    }
    putS(s, static_cast<int64_t>(line.x) - rect.left);
    putS(s, static_cast<int64_t>(line.top) + ascent - rect.top);
    if (underline) {
      putS(s, static_cast<int64_t>(line.underlineX) - line.x);
      putU(s, static_cast<uint64_t>(line.underlineWidth));
    }
  }
  ++m_itemCount;
}

void PageImage::appendLine(QPoint from, QPoint to, int penWidth, int colorIndex) {
  QByteArray& s = m_stream;
  s.append(static_cast<char>(kLine));
  putU(s, static_cast<uint64_t>(colorIndex));
  putU(s, static_cast<uint64_t>(std::max(penWidth, 0)));
  putS(s, from.x());
  putS(s, from.y());
  putS(s, static_cast<int64_t>(to.x()) - from.x());
  putS(s, static_cast<int64_t>(to.y()) - from.y());
  ++m_itemCount;
}

void PageImage::appendPicture(const EmfPicture& picture, const PxRect& rect) {
  size_t index = 0;
  while (index < m_pictures.size() && !(m_pictures[index] == picture)) ++index;
  if (index == m_pictures.size()) m_pictures.push_back(picture);
  QByteArray& s = m_stream;
  s.append(static_cast<char>(kPicture));
  putU(s, index);
  putS(s, rect.left);
  putS(s, rect.top);
  putS(s, static_cast<int64_t>(rect.right) - rect.left);
  putS(s, static_cast<int64_t>(rect.bottom) - rect.top);
  ++m_itemCount;
}

size_t PageImage::byteSize() const {
  size_t n = sizeof(*this) + static_cast<size_t>(m_stream.capacity());
  for (const LogFont& f : m_fonts) n += sizeof(LogFont) + static_cast<size_t>(f.face.capacity()) * 2;
  n += m_colors.capacity() * sizeof(uint32_t);
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
    if (tag == kText) {
      readText(r, t);
      item.kind = ItemKind::Text;
      if (t.font >= 0 && t.font < static_cast<int>(m_fonts.size())) item.font = m_fonts[t.font];
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
    if (tag == kText) {
      readText(r, t);
      const LogFont* font = t.font >= 0 && t.font < static_cast<int>(m_fonts.size()) ? &m_fonts[t.font] : nullptr;
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
  Replay(QPainter& painter, const QTransform& page, bool mono, const std::vector<LogFont>& fonts,
         const std::vector<uint32_t>& colors, const std::vector<EmfPicture>& pictures)
      : m_painter(painter), m_page(page), m_mono(mono), m_pictures(pictures) {
    m_fonts.reserve(fonts.size());
    for (const LogFont& f : fonts) m_fonts.push_back(&RealizedFont::get(f));
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

  void text(Reader& r) {
    readText(r, m_text);
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
  std::vector<const RealizedFont*> m_fonts;
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
  Replay replay(painter, page, mono, m_fonts, m_colors, m_pictures);
  Reader r(m_stream);
  while (!r.atEnd()) {
    const uint64_t tag = r.u();
    if (tag == kText)
      replay.text(r);
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
