// A LogFont made real: the face fontconfig picks for the name, sized and
// stretched as the platform's CreateFont would, with the metrics the text
// routine uses. All values are page-image pixels.
//
// Sizing: ppem = |height| for a negative
// height; ascent/descent = OS/2 usWinAscent/usWinDescent × ppem / unitsPerEm,
// each rounded on its own; line height = ascent + descent. A non-zero width
// stretches the face horizontally by |width| / natural average width (OS/2
// xAvgCharWidth scaled and rounded; for a face that stands in for the named
// one, the named face's weighted lowercase average, taken over the stand-in's
// own advances). Advances are whole pixels per character:
// the face's advance at ppem rounded, then times the stretch, rounded again;
// no kerning, no shaping; control characters have no width.
//
// Fonts are realised once per LogFont and kept for the life of the process
// (get() returns a stable reference). Needs a QGuiApplication. UI thread only.
#pragma once

#include "platform/gfx/logfont.h"

#include <QRawFont>
#include <QString>
#include <QStringView>

#include <array>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

namespace zorpokaz {

// The advance of every byte of one single-byte code page in one font (the
// advance of the byte's character), so that measuring such a text is a sum of
// table entries.
using ByteAdvances = std::array<int, 256>;

// What the text routine needs of a font; RealizedFont is the real one, tests
// may supply their own.
class TextMeasure {
 public:
  virtual ~TextMeasure() = default;
  // Width in whole pixels of one character (a UTF-32 code point).
  virtual int advance(char32_t ch) const = 0;
  virtual int ascent() const = 0;
  virtual int descent() const = 0;
  int height() const { return ascent() + descent(); }
  int textWidth(QStringView text) const;
};

// The advances of the bytes of `codePage` (platform/codepage.h) in `font`.
ByteAdvances makeByteAdvances(const TextMeasure& font, int codePage);

class RealizedFont final : public TextMeasure {
 public:
  static const RealizedFont& get(const LogFont& font);

  const LogFont& logFont() const { return m_logFont; }
  // The family that draws the text, and whether it stands in for the face the
  // LogFont names (which is not installed).
  QString familyName() const { return m_raw.familyName(); }
  bool substituted() const { return m_substituted; }
  // The natural average character width in font units (before any stretch).
  int naturalAverageUnits() const { return m_naturalAvgUnits; }
  int ppem() const { return m_ppem; }
  int ascent() const override { return m_ascent; }
  int descent() const override { return m_descent; }
  int internalLeading() const { return m_ascent + m_descent - m_ppem; }
  // Average character width after the stretch (tmAveCharWidth, at least 1).
  int avgCharWidth() const { return m_avgCharWidth; }
  // Horizontal scale of glyph outlines relative to the face at ppem.
  double stretch() const { return m_stretch; }
  int advance(char32_t ch) const override;
  quint32 glyphIndex(char32_t ch) const;
  // makeByteAdvances of this font, made once per code page.
  const ByteAdvances& byteAdvances(int codePage) const;
  // Underline offset below the baseline and thickness (post table, ≥ 1).
  int underlinePosition() const { return m_underlinePos; }
  int underlineThickness() const { return m_underlineThickness; }
  // The face at ppem without the stretch; drawing applies stretch() itself.
  const QRawFont& rawFont() const { return m_raw; }
  // The same face rasterised without antialiasing (mono replay), made on
  // first use.
  const QRawFont& monoRawFont() const;

  explicit RealizedFont(const LogFont& font);  // use get()

 private:
  struct Glyph {
    quint32 index = 0;
    int advance = 0;
  };
  Glyph lookup(char32_t ch) const;
  Glyph compute(char32_t ch) const;
  int naturalAdvance(quint32 glyph) const;
  int unitsAdvance(quint32 glyph) const;
  int weightedAverageWidth() const;
  int averageWidthUnits(const QByteArray& os2) const;

  LogFont m_logFont;
  QRawFont m_raw;
  mutable QRawFont m_rawMono;
  mutable bool m_monoMade = false;
  QByteArray m_hmtx;
  int m_numHMetrics = 0;
  int m_upem = 2048;
  int m_ppem = 0;
  int m_ascent = 0;
  int m_descent = 0;
  int m_avgCharWidth = 1;
  int m_naturalAvgUnits = 0;
  bool m_substituted = false;
  double m_stretch = 1.0;
  int m_stretchNum = 1;
  int m_stretchDen = 1;
  int m_underlinePos = 1;
  int m_underlineThickness = 1;
  mutable std::array<Glyph, 256> m_latin{};
  mutable std::array<bool, 256> m_latinKnown{};
  mutable std::unordered_map<char32_t, Glyph> m_other;
  mutable std::vector<std::pair<int, std::unique_ptr<ByteAdvances>>> m_byteAdvances;
};

}  // namespace zorpokaz
