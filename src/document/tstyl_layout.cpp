// Fonts of a style: fitted to the character cell once per build and measured
// once for the whole life of the style.
#include "document/tmlinewydruk.h"
#include "document/tstyl.h"
#include "platform/codepage.h"
#include "platform/gfx/cellfont.h"
#include "platform/gfx/pagecanvas.h"

namespace zorpokaz {

const LogFont& TStyl::GetFont() {
  PageCanvas& canvas = Owner->GetCanvas();
  if (Dirty) m_font.reset();
  if (!m_font) {
    CellFontStyle cell;
    cell.charWidthMm = CharWidth;
    cell.charHeightMm = CharHeight;
    cell.fontStyle = m_fontStyle;
    cell.charset = Charset;
    cell.fontName = QString::fromLatin1(m_fontName);
    m_font = fitCellFont(canvas, cell);
    m_realized = &canvas.realizedFont();
  } else {
    canvas.selectFont(*m_realized);
  }
  canvas.setFontColor(m_color);
  Dirty = false;
  return *m_font;
}

void TStyl::measure() {
  const LogFont font = GetFont();
  const CellMetrics metrics = measureCellMetrics(Owner->GetCanvas(), font);
  m_textHeight = metrics.textHeight;
  m_digitWidth = metrics.digitWidth;
}

std::int32_t TStyl::TextHeight() {
  if (m_textHeight == 0) measure();
  return m_textHeight;
}

std::int32_t TStyl::DigitWidth() {
  if (m_textHeight == 0) measure();
  return m_digitWidth;
}

float TStyl::TextHeightMm() { return PxToMmY(Owner->Resolution, TextHeight()); }

int TStyl::CodePage() const { return codePageForCharset(Charset); }

}  // namespace zorpokaz
