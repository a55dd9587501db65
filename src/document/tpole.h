// One field of a line: text at a horizontal position with a width, a rule, or a
// full-width picture. Positions are page-image pixels (converted from the
// file's units on reading). A field is 24 bytes and owns nothing: it lives in
// its content's arena (ModelArena) with its text, names its style by a number
// of the content's StyleNames, and a picture field points at a picture the
// content holds. Every operation that needs the content is given it.
#pragma once

#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <cstring>

#include "platform/gfx/emfpicture.h"
#include "platform/gfx/pxrect.h"

namespace zorpokaz {

class BodyReader;
class TMLineWydruk;
class TStyl;

class TPole {
 public:
  enum Kind : std::uint8_t {
    kText = 0,
    kRightText = 1,
    kPageNumber = 2,
    kHidden = 3,
    kRule = 4,
    kLeader = 5,
    kPicture = 6,
  };

  TPole() : BottomSingleLine(false), EndEllipsis(false), NoWrap(false), m_hasPicture(false) {}

  // Reads one Field record; the text goes to the reader's arena.
  void LoadFromStream(BodyReader& reader);

  std::int32_t X = 0;      // left edge, page-image pixels
  std::int32_t Width = 0;  // page-image pixels
  std::uint8_t Kind = kText;
  std::uint8_t Align = 0;  // 0 left, 1 right, 2 centre
  std::uint8_t RuleStyle = 0;
  bool BottomSingleLine : 1;
  bool EndEllipsis : 1;
  bool NoWrap : 1;

  // The raw single-byte text; decode with the style's Charset.
  QByteArrayView Text() const {
    std::uint16_t length;
    std::memcpy(&length, m_text, sizeof length);
    return {m_text + sizeof length, length};
  }
  // The number of the style's name in the content's StyleNames.
  std::uint32_t StyleNameId() const { return m_styleName; }
  QByteArrayView StyleName(const TMLineWydruk& owner) const;
  // The picture of a kind 6 field from version 4; a null picture otherwise.
  const EmfPicture& Picture(const TMLineWydruk& owner) const;

  // --- layout ---
  // The style its name finds (looked up once per name).
  TStyl* Style(TMLineWydruk& owner) const;
  // Height in pixels (pictures: full page width, own proportions).
  std::int32_t MeasureHeight(TMLineWydruk& owner) const;
  // Draws the field on the owner's surface at Y (mm) in a line H mm high whose
  // text base lies B mm below Y.
  void Draw(TMLineWydruk& owner, float Y, float H, float B) const;
  // The same with Y, H and B in pixels, as a line converts them once for all
  // of its fields.
  struct LinePx {
    std::int32_t top = 0;
    std::int32_t height = 0;
    std::int32_t base = 0;
  };
  static LinePx ToPixels(int dpi, float Y, float H, float B);
  void Draw(TMLineWydruk& owner, const LinePx& line) const;
  // Flag words of the text routine for measuring and for drawing.
  unsigned MeasureFlags() const;
  unsigned DrawFlags() const;

 private:
  void readFixedPart(BodyReader& reader);
  void drawRule(TMLineWydruk& owner, const PxRect& rect) const;
  void drawLeader(TMLineWydruk& owner, const QString& text, const PxRect& rect) const;
  std::uint32_t pictureIndex() const;

  bool m_hasPicture : 1;
  std::uint32_t m_styleName = 0;
  // A 16-bit length, the bytes, and for a field with a picture the picture's
  // number among the content's pictures (32 bits).
  const char* m_text = kNoText;

  static const char kNoText[2];
};

// Converts a stored position to page-image pixels: X * Scale rounded to
// nearest with ties to even, and Width * Scale truncated toward zero. The
// product is exact (extended precision), as the original arithmetic was;
// results are kept within ±2^30 (kPxLimit); the edges drawing computes from
// them are saturated once more (clampPx).
std::int32_t scaleRound(std::int32_t value, float scale);
std::int32_t scaleTrunc(std::int32_t value, float scale);

}  // namespace zorpokaz
