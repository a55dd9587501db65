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
    auto line = std::make_unique<TLinia>(Owner, this);
    line->LoadFromStream(reader);
    Lines.push_back(std::move(line));
  }
}

void TLinie::Clear() { Lines.clear(); }

}  // namespace zorpokaz
