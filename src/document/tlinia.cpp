#include "document/tlinia.h"

#include "document/bodyreader.h"

namespace zorpokaz {

TLinia::~TLinia() = default;

void TLinia::LoadFromStream(BodyReader& reader, TMLineWydruk* owner) {
  reader.expectMarker(kMarkerLine);
  reader.read(SkipWhenRepeated);
  std::uint8_t count = 0;
  reader.read(count);
  if (count == 0) return;
  reader.countFields(count);
  // At most 255 fields: the array is made once, whole. A count the data does
  // not back fails at the first missing marker.
  m_fields = std::make_unique<TPole[]>(count);
  for (int i = 0; i < count; ++i) {
    m_fields[i].Owner = owner;
    m_fields[i].LoadFromStream(reader);
    m_count = static_cast<std::uint8_t>(i + 1);
  }
}

}  // namespace zorpokaz
