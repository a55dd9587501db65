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

const EmfPicture kNoPicture;

}  // namespace

static_assert(sizeof(TPole) == 24, "a ledger holds millions of fields");

const char TPole::kNoText[2] = {0, 0};

// The product is formed in extended precision, where an int32 times a float32
// is exact, as the original arithmetic formed it; rounding it to float32 first
// would move ties (X = 30 at 1200 units: 4.50000018 -> 5, not 4).
std::int32_t scaleRound(std::int32_t value, float scale) {
  // Below 2^29 the product has at most 53 significant bits: exact in double.
  if (value > -(1 << 29) && value < (1 << 29)) {
    return clampPixels(std::nearbyint(static_cast<double>(value) * scale));
  }
  return clampPixels(std::nearbyint(static_cast<long double>(value) * scale));
}

std::int32_t scaleTrunc(std::int32_t value, float scale) {
  if (value > -(1 << 29) && value < (1 << 29)) {
    return clampPixels(std::trunc(static_cast<double>(value) * scale));
  }
  return clampPixels(std::trunc(static_cast<long double>(value) * scale));
}

void TPole::LoadFromStream(BodyReader& reader) {
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
