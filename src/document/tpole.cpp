#include "document/tpole.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "document/bodyreader.h"
#include "document/tmlinewydruk.h"
#include "platform/errors.h"

namespace zorpokaz {

namespace {

// Positions beyond a billion pixels are nonsense from a damaged file.
std::int32_t clampPixels(long double px) {
  return static_cast<std::int32_t>(std::clamp<long double>(px, -kPxLimit, kPxLimit));
}
std::int32_t clampPixels(long long px) { return static_cast<std::int32_t>(std::clamp<long long>(px, -kPxLimit, kPxLimit)); }

constexpr double kRoundingShift = 0x1.8p52;

const EmfPicture kNoPicture;

}  // namespace

static_assert(sizeof(TPole) == 24, "a ledger holds millions of fields");

const char TPole::kNoText[2] = {0, 0};

// The product is formed in extended precision, where an int32 times a float32
// is exact, as the original arithmetic formed it; rounding it to float32 first
// would move ties (X = 30 at 1200 units: 4.50000018 -> 5, not 4).
namespace {

// Far-off positions: the product in extended precision.
[[gnu::noinline]] std::int32_t scaleRoundExtended(std::int32_t value, float scale) {
  return clampPixels(std::nearbyint(static_cast<long double>(value) * scale));
}
[[gnu::noinline]] std::int32_t scaleTruncExtended(std::int32_t value, float scale) {
  return clampPixels(std::trunc(static_cast<long double>(value) * scale));
}

// Below 2^29 the product has at most 53 significant bits: exact in double.
bool exactProduct(std::int32_t value, float scale, double& px) {
  if (value <= -(1 << 29) || value >= (1 << 29)) return false;
  px = static_cast<double>(value) * scale;
  return std::fabs(px) < 0x1p51;
}

}  // namespace

std::int32_t scaleRound(std::int32_t value, float scale) {
  // Below 2^51 in magnitude, adding and taking away 1.5 * 2^52 rounds to an
  // integer as the processor rounds (to nearest, ties to even), without a
  // call into the maths library.
  double px;
  if (exactProduct(value, scale, px)) return clampPixels(static_cast<long long>(px + kRoundingShift - kRoundingShift));
  return scaleRoundExtended(value, scale);
}

std::int32_t scaleTrunc(std::int32_t value, float scale) {
  double px;
  if (exactProduct(value, scale, px)) return clampPixels(static_cast<long long>(px));
  return scaleTruncExtended(value, scale);
}

void TPole::LoadFromStream(BodyReader& reader) {
  const bool v6 = reader.Version >= 6;
  if (const unsigned char* p = reader.tryTake(v6 ? 15 : 13)) {
    // The fixed part at once, where it lies.
    if (p[0] != kMarkerField) throw markerError(kMarkerField);
    X = scaleRound(BodyReader::int32At(p + 1), reader.Scale);
    Width = scaleTrunc(BodyReader::int32At(p + 5), reader.Scale);
    Kind = p[9];
    Align = p[10];
    p += v6 ? 13 : 11;
    BottomSingleLine = v6 && p[-2] != 0;
    EndEllipsis = v6 && p[-1] != 0;
    NoWrap = p[0] != 0;
    RuleStyle = p[1];
  } else {
    readFixedPart(reader);
  }
  m_styleName = reader.readName();
  const bool picture = Kind == kPicture && reader.Version >= 4;
  char* text = reader.readText(picture ? sizeof(std::uint32_t) : 0);
  if (text) m_text = text;
  if (picture) {
    const std::uint32_t index = reader.keepPicture(reader.readPicture());
    std::memcpy(text + sizeof(std::uint16_t) + Text().size(), &index, sizeof index);
    m_hasPicture = true;
  }
}

void TPole::readFixedPart(BodyReader& reader) {
  reader.expectMarker(kMarkerField);
  std::int32_t x = 0;
  std::int32_t width = 0;
  reader.read(x);
  reader.read(width);
  X = scaleRound(x, reader.Scale);
  Width = scaleTrunc(width, reader.Scale);
  reader.read(Kind);
  reader.read(Align);
  bool bottomSingleLine = false;
  bool endEllipsis = false;
  bool noWrap = false;
  if (reader.Version >= 6) {
    reader.read(bottomSingleLine);
    reader.read(endEllipsis);
  }
  reader.read(noWrap);
  reader.read(RuleStyle);
  BottomSingleLine = bottomSingleLine;
  EndEllipsis = endEllipsis;
  NoWrap = noWrap;
}

std::uint32_t TPole::pictureIndex() const {
  std::uint32_t index;
  std::memcpy(&index, m_text + sizeof(std::uint16_t) + Text().size(), sizeof index);
  return index;
}

QByteArrayView TPole::StyleName(const TMLineWydruk& owner) const { return owner.Names().name(m_styleName); }

const EmfPicture& TPole::Picture(const TMLineWydruk& owner) const {
  return m_hasPicture ? owner.Pictures().at(pictureIndex()) : kNoPicture;
}

}  // namespace zorpokaz
