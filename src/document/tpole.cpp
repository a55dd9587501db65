#include "document/tpole.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "document/bodyreader.h"
#include "platform/errors.h"

namespace zorpokaz {

namespace {

// The picture grows by pieces of this size, so a size field that promises more
// than the body holds costs at most one piece before the read fails.
constexpr std::size_t kPictureChunk = 65536;

// Positions beyond a billion pixels are nonsense from a damaged file.
std::int32_t clampPixels(long double px) {
  return static_cast<std::int32_t>(std::clamp<long double>(px, -kPxLimit, kPxLimit));
}

EmfPicture readPicture(Stream& stream) {
  char header[EmfPicture::kHeaderSize];
  stream.readBuffer(header, sizeof header);
  const std::uint32_t total = EmfPicture::checkHeader(header);  // throws on a wrong signature
  if (total < EmfPicture::kHeaderSize) throw EInvalidGraphic("Metafile is not valid");
  QByteArray bytes(header, sizeof header);
  std::size_t left = total - EmfPicture::kHeaderSize;
  while (left > 0) {
    const std::size_t piece = std::min(left, kPictureChunk);
    const qsizetype at = bytes.size();
    bytes.resize(at + static_cast<qsizetype>(piece));
    stream.readBuffer(bytes.data() + at, piece);
    left -= piece;
  }
  return EmfPicture(std::move(bytes));
}

}  // namespace

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

TPole::TPole(TMLineWydruk* owner) : Owner(owner) {}

TPole::~TPole() = default;

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
  if (reader.Version >= 6) {
    reader.read(BottomSingleLine);
    reader.read(EndEllipsis);
  }
  reader.read(NoWrap);
  reader.read(RuleStyle);
  StyleName = reader.readName();
  Text = reader.readString();
  if (Kind == kPicture && reader.Version >= 4) Picture = reader.sharedPicture(readPicture(reader.stream()));
}

}  // namespace zorpokaz
