#include "document/tmline.h"

#include "document/bodyreader.h"

namespace zorpokaz {

namespace {

// Keeps BodyReader::Depth equal to the depth of the block being read.
class DepthGuard {
 public:
  explicit DepthGuard(BodyReader& reader) : m_reader(reader) {
    if (reader.Depth >= BodyReader::kMaxBlockDepth) throw markerError(kMarkerBlock);
    ++m_reader.Depth;
  }
  ~DepthGuard() { --m_reader.Depth; }
  DepthGuard(const DepthGuard&) = delete;
  DepthGuard& operator=(const DepthGuard&) = delete;

 private:
  BodyReader& m_reader;
};

}  // namespace

TMLine::TMLine(TMLineWydruk* owner)
    : Owner(owner),
      Intro(owner, this),
      Heading(owner, this),
      ReservedLines(owner, this),
      Closing(owner, this) {}

TMLine::~TMLine() = default;

void TMLine::LoadFromStream(BodyReader& reader) {
  DepthGuard depth(reader);
  reader.countBlock();
  reader.expectMarker(kMarkerBlock);
  Intro.LoadFromStream(reader);
  Heading.LoadFromStream(reader);
  reader.expectMarker(kMarkerBlockChildren);
  std::int32_t count = 0;
  reader.read(count);
  for (std::int32_t i = 0; i < count; ++i) {
    auto child = std::make_unique<TMLine>(Owner);
    child->LoadFromStream(reader);
    Children.push_back(std::move(child));
  }
  ReservedLines.LoadFromStream(reader);
  Closing.LoadFromStream(reader);
  if (reader.Version >= 2) {
    reader.expectMarker(kMarkerBlockName);
    BlockName = reader.readString();
    reader.read(NewPageBefore);
  }
}

int TMLine::CountLines() const {
  int count = Intro.Count() + Closing.Count();
  for (const auto& child : Children) count += child->CountLines();
  return count;
}

void TMLine::Reset() {
  State = kNotLaidOut;
  for (auto& child : Children) child->Reset();
}

void TMLine::Clear() {
  Intro.Clear();
  Heading.Clear();
  ReservedLines.Clear();
  Closing.Clear();
  Children.clear();
  BlockName.clear();
  NewPageBefore = false;
  State = kNotLaidOut;
}

}  // namespace zorpokaz
