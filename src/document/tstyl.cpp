#include "document/tstyl.h"

#include "document/bodyreader.h"
#include "document/tmlinewydruk.h"

namespace zorpokaz {

TStyl::TStyl(TMLineWydruk* owner)
    : Owner(owner),
      CharHeight(owner && owner->LinesPerPage != 0 ? static_cast<float>(294.0L / owner->LinesPerPage)
                                                   : 3.5f),
      CharWidth(static_cast<float>(210.0L / 132)) {}

TStyl::~TStyl() = default;

void TStyl::LoadFromStream(BodyReader& reader) {
  reader.expectMarker(kMarkerStyle);
  std::int32_t color = static_cast<std::int32_t>(m_color);
  reader.read(color);
  m_color = static_cast<std::uint32_t>(color);
  reader.read(CharHeight);
  reader.read(m_charsPerLine);
  reader.read(CharWidth);
  reader.read(m_fontStyle);
  reader.read(Reserved);
  if (reader.Version >= 3) reader.read(Charset);
  m_fontName = reader.readString();
  Name = reader.readString();
  Alias = reader.readString();
  Dirty = true;
  forgetMeasures();
}

void TStyl::SetColor(std::uint32_t color) {
  if (color == m_color) return;
  m_color = color;
  Dirty = true;
}

void TStyl::SetFontStyle(std::uint8_t fontStyle) {
  if (fontStyle == m_fontStyle) return;
  m_fontStyle = fontStyle;
  Dirty = true;
  forgetMeasures();
}

void TStyl::SetFontName(const QByteArray& fontName) {
  if (fontName == m_fontName) return;
  m_fontName = fontName;
  Dirty = true;
  forgetMeasures();
}

void TStyl::SetCharsPerLine(std::int32_t n, bool recompute) {
  if (n == m_charsPerLine && !Dirty) return;
  Dirty = true;
  m_charsPerLine = n;
  const std::int32_t linesPerPage = Owner ? Owner->LinesPerPage : 84;
  // A zero count would divide by zero; the cell is then left as it was.
  if (!recompute || n == 0 || linesPerPage == 0) return;
  CharHeight = static_cast<float>(294.0L / (static_cast<long double>(linesPerPage) * n / 132));
  CharWidth = static_cast<float>(210.0L / n);
}

}  // namespace zorpokaz
