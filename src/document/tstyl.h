// One text style of a printout: typeface, character cell in millimetres,
// bold/italic/underline, colour and character set. Owned by TStyle; `Owner` is
// a back-pointer to the content (drawing surface, LinesPerPage).
#pragma once

#include <QByteArray>
#include <cstdint>
#include <optional>

#include "platform/gfx/logfont.h"

namespace zorpokaz {

class BodyReader;
class RealizedFont;
class TMLineWydruk;

class TStyl {
 public:
  // FontStyle bits; other bits are ignored.
  static constexpr std::uint8_t kBold = 1;
  static constexpr std::uint8_t kItalic = 2;
  static constexpr std::uint8_t kUnderline = 4;

  explicit TStyl(TMLineWydruk* owner);
  ~TStyl();
  TStyl(const TStyl&) = delete;
  TStyl& operator=(const TStyl&) = delete;

  // Reads one Style record.
  void LoadFromStream(BodyReader& reader);

  TMLineWydruk* Owner;

  float CharHeight;          // mm, default 294 / LinesPerPage of the owner
  float CharWidth;           // mm, default 210 / 132
  std::int32_t Reserved = -1;  // stored, not used
  std::int32_t Charset = 186;
  QByteArray Name;   // raw bytes as stored
  QByteArray Alias;  // raw bytes as stored
  // The cached font must be made again before its next use.
  bool Dirty = true;

  std::uint32_t Color() const { return m_color; }  // 0x00BBGGRR
  std::uint8_t FontStyle() const { return m_fontStyle; }
  const QByteArray& FontName() const { return m_fontName; }
  std::int32_t CharsPerLine() const { return m_charsPerLine; }

  // Each setter stores a differing value and sets Dirty; a new font style or
  // typeface also forgets the measured letter height and digit width.
  void SetColor(std::uint32_t color);
  void SetFontStyle(std::uint8_t fontStyle);
  void SetFontName(const QByteArray& fontName);
  // When n differs or Dirty is set: set Dirty and store n; with `recompute`
  // also CharHeight := 294 / (LinesPerPage * n / 132), CharWidth := 210 / n.
  void SetCharsPerLine(std::int32_t n, bool recompute);

  // Measured sizes in pixels (0 = not measured yet); kept until the font style
  // or typeface changes.
  std::int32_t MeasuredTextHeight() const { return m_textHeight; }
  std::int32_t MeasuredDigitWidth() const { return m_digitWidth; }

  // --- layout ---
  // The style's font fitted to its cell, selected with the style's colour on
  // the owner's drawing surface; made once and kept until the style is dirty.
  const LogFont& GetFont();
  // Height of "A" and width of "0" in the style's font, pixels; measured once.
  std::int32_t TextHeight();
  std::int32_t DigitWidth();
  float TextHeightMm();  // PxToMmY(TextHeight)
  // The code page of Charset, which field texts are decoded with.
  int CodePage() const;

 private:
  void forgetMeasures() { m_textHeight = 0; m_digitWidth = 0; }

  std::uint32_t m_color = 0;
  std::uint8_t m_fontStyle = 0;
  QByteArray m_fontName = QByteArrayLiteral("Courier New");
  std::int32_t m_charsPerLine = 132;
  std::int32_t m_textHeight = 0;  // TextHeight: height of "A", pixels
  std::int32_t m_digitWidth = 0;  // DigitWidth: width of "0", pixels
  std::optional<LogFont> m_font;  // the cached font
  const RealizedFont* m_realized = nullptr;  // m_font made real
  void measure();
};

}  // namespace zorpokaz
