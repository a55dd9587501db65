#include "document/tlinie.h"

#include "document/bodyreader.h"

namespace zorpokaz {

TLinie::TLinie(TMLineWydruk* owner, TMLine* block) : Owner(owner), Block(block) {}

TLinie::~TLinie() = default;

void TLinie::LoadFromStream(BodyReader& reader) {
  reader.expectMarker(kMarkerGroup);
  reader.read(Splittable);
  reader.read(BreakBefore);
  std::int32_t count = 0;
  reader.read(count);
  // One line at a time: a count the data does not back fails at the first
  // missing marker, having allocated only what was really there.
  for (std::int32_t i = 0; i < count; ++i) {
    reader.countLine();
    Lines.emplace_back().LoadFromStream(reader, Owner);
  }
  // Growing left up to half the storage unused; lines are kept for the
  // life of the content.
  Lines.shrink_to_fit();
}

void TLinie::Clear() { Lines.clear(); }

}  // namespace zorpokaz
