#include "document/tlinia.h"

#include "document/bodyreader.h"

namespace zorpokaz {

static_assert(sizeof(TLinia) == 16, "a ledger holds millions of lines");

void TLinia::LoadFromStream(BodyReader& reader) {
  std::uint8_t count = 0;
  if (const unsigned char* p = reader.tryTake(3)) {
    if (p[0] != kMarkerLine) throw markerError(kMarkerLine);
    SkipWhenRepeated = p[1] != 0;
    count = p[2];
  } else {
    reader.expectMarker(kMarkerLine);
    reader.read(SkipWhenRepeated);
    reader.read(count);
  }
  if (count == 0) return;
  reader.countFields(count);
  // At most 255 fields: the array is made once, whole. A count the data does
  // not back fails at the first missing marker.
  m_fields = reader.newFields(count);
  for (int i = 0; i < count; ++i) {
    m_fields[i].LoadFromStream(reader);
    m_count = static_cast<std::uint8_t>(i + 1);
  }
}

}  // namespace zorpokaz
