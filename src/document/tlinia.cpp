#include "document/tlinia.h"

#include "document/bodyreader.h"

namespace zorpokaz {

TLinia::TLinia(TMLineWydruk* owner, TLinie* group) : Owner(owner), Group(group) {}

TLinia::~TLinia() = default;

void TLinia::LoadFromStream(BodyReader& reader) {
  reader.expectMarker(kMarkerLine);
  reader.read(SkipWhenRepeated);
  std::uint8_t count = 0;
  reader.read(count);
  for (int i = 0; i < count; ++i) {
    auto field = std::make_unique<TPole>(Owner);
    field->LoadFromStream(reader);
    Fields.push_back(std::move(field));
  }
}

}  // namespace zorpokaz
