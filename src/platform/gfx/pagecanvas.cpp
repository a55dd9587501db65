#include "platform/gfx/pagecanvas.h"

#include "platform/codepage.h"
#include "platform/gfx/realizedfont.h"
#include "platform/gfx/textlayout.h"

namespace zorpokaz {

namespace {

LogFont initialFont() {
  LogFont f;
  f.face = QStringLiteral("Courier New");
  f.height = -24;
  return f;
}

}  // namespace

PageCanvas::PageCanvas(PageImage& image, int dpi)
    : m_image(&image), m_units(dpi), m_logFont(initialFont()), m_font(&RealizedFont::get(m_logFont)) {}

PageCanvas::~PageCanvas() { m_image->m_stream.squeeze(); }

void PageCanvas::selectFont(const LogFont& font) {
  if (font == m_logFont) return;
  m_logFont = font;
  m_font = &RealizedFont::get(font);
  m_fontIndex = -1;
}

void PageCanvas::selectFont(const RealizedFont& font) {
  // One realisation per LogFont: the same object is the same font.
  if (&font == m_font) return;
  m_logFont = font.logFont();
  m_font = &font;
  m_fontIndex = -1;
}

int PageCanvas::recordedFontIndex() {
  if (m_fontIndex < 0 || m_fontGeneration != m_image->m_generation) {
    m_fontIndex = m_image->internFont(*m_font);
    m_fontGeneration = m_image->m_generation;
  }
  return m_fontIndex;
}

int PageCanvas::textWidth(const QString& text) const { return m_font->textWidth(text); }

int PageCanvas::DrawText(const QString& text, PxRect& rect, unsigned flags) {
  TextLayout layout = layoutText(text, rect, flags, *m_font);
  if (flags & DT_CALCRECT) {
    rect = layout.rect;
    return layout.result;
  }
  if (!layout.lines.empty()) {
    m_image->appendText(text, rect, flags, recordedFontIndex(), m_image->internColor(m_fontColor), layout,
                        m_font->ascent());
  }
  return layout.result;
}

int PageCanvas::DrawText(QByteArrayView text, int codePage, PxRect& rect, unsigned flags) {
  SingleLine line;
  if (!layoutSingleLine(text, m_font->byteAdvances(codePage), rect, flags, m_font->height(), line)) {
    return DrawText(decodeWindowsCodePage(text, codePage), rect, flags);
  }
  if (flags & DT_CALCRECT) {
    rect = line.rect;
  } else {
    m_image->appendSingleLine(text, codePage, rect, flags, recordedFontIndex(), m_image->internColor(m_fontColor), line,
                              m_font->ascent());
  }
  return line.result;
}

void PageCanvas::setPen(uint32_t colorRef, int widthPx) {
  m_penColor = colorRef;
  m_penWidth = widthPx;
}

void PageCanvas::line(int x1, int y1, int x2, int y2) {
  m_image->appendLine({x1, y1}, {x2, y2}, m_penWidth, m_image->internColor(m_penColor));
}

void PageCanvas::stretchPicture(const EmfPicture& picture, const PxRect& rect) {
  if (picture.isNull()) return;
  m_image->appendPicture(picture, rect);
}

}  // namespace zorpokaz
