// One field of a line: text at a horizontal position with a width, a rule, or a
// full-width picture. Positions are page-image pixels (converted from the
// file's units on reading). Owned by its TLinia (in its field array); owns
// its picture.
#pragma once

#include <QByteArray>
#include <cstdint>

#include "platform/gfx/emfpicture.h"
#include "platform/gfx/pxrect.h"

#include <QString>

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

  explicit TPole(TMLineWydruk* owner = nullptr);
  ~TPole();
  TPole(const TPole&) = delete;
  TPole& operator=(const TPole&) = delete;

  // Reads one Field record.
  void LoadFromStream(BodyReader& reader);

  TMLineWydruk* Owner;

  std::int32_t X = 0;      // left edge, page-image pixels
  std::int32_t Width = 0;  // page-image pixels
  std::uint8_t Kind = kText;
  std::uint8_t Align = 0;  // 0 left, 1 right, 2 centre
  bool BottomSingleLine = false;
  bool EndEllipsis = false;
  bool NoWrap = false;
  std::uint8_t RuleStyle = 0;
  QByteArray StyleName = QByteArrayLiteral("Domyslny");
  QByteArray Text;  // raw single-byte text; decode with the style's Charset
  EmfPicture Picture;  // kind 6 from version 4; null when none

  // Layout caches: the style found by name on first use, the measured height.
  TStyl* CachedStyle = nullptr;
  std::int32_t CachedHeight = 0;  // pixels, 0 = not measured

  // --- layout ---
  // The style found by name on first use.
  TStyl* Style();
  // Height in pixels, measured once (pictures: full page width, own proportions).
  std::int32_t MeasureHeight();
  float HeightMm();  // PxToMmY(MeasureHeight)
  // Draws the field on the owner's surface at Y (mm) in a line H mm high whose
  // text base lies B mm below Y.
  void Draw(float Y, float H, float B);
  // Flag words of the text routine for measuring and for drawing.
  unsigned MeasureFlags() const;
  unsigned DrawFlags() const;

 private:
  // Decoded when needed (measured once, drawn once) rather than kept: a
  // ledger holds millions of fields.
  QString decodedText();
  void drawRule(const PxRect& rect);
  void drawLeader(const QString& text, const PxRect& rect);
  bool m_measured = false;
};

// Converts a stored position to page-image pixels: X * Scale rounded to
// nearest with ties to even, and Width * Scale truncated toward zero. The
// product is exact (extended precision), as the original arithmetic was;
// results are kept within ±2^30 (kPxLimit); the edges drawing computes from
// them are saturated once more (clampPx).
std::int32_t scaleRound(std::int32_t value, float scale);
std::int32_t scaleTrunc(std::int32_t value, float scale);

}  // namespace zorpokaz
