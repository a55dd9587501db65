// One line: fields printed side by side. Its fields (at most 255) lie in one
// array of the content's arena, sized by the line's field count; the line
// itself is 16 bytes and owns nothing: a ledger holds millions of lines. The
// content and the group a line belongs to are passed in by the group, which
// knows both.
#pragma once

#include <cstdint>
#include <span>

#include "document/tpole.h"

namespace zorpokaz {

class TLinia {
 public:
  // Reads one Line record with its fields.
  void LoadFromStream(BodyReader& reader);

  std::span<TPole> Fields() { return {m_fields, m_count}; }
  std::span<const TPole> Fields() const { return {m_fields, m_count}; }

  // --- layout ---
  // The largest height in pixels of the fields that are not hidden; 0 if
  // none. Measured once and kept.
  std::int32_t MaxHeight(TMLineWydruk& owner) {
    if (m_height < 0) m_height = measureHeight(owner);
    return m_height;
  }
  float HeightMm(TMLineWydruk& owner);  // PxToMmY(MaxHeight)
  // Left out at the top of a page or while headings repeat; a lone rule is
  // never left out of a heading.
  bool IsSkippable(bool inHeading) const;
  // Draws the fields on one common text base and moves Y below the line and
  // the content's line spacing.
  void Draw(TMLineWydruk& owner, float& Y);

 private:
  std::int32_t measureHeight(TMLineWydruk& owner) const;

  TPole* m_fields = nullptr;
  std::int32_t m_height = -1;  // MaxHeight; -1 = not measured
  std::uint8_t m_count = 0;

 public:
  // Left out when it would be the first line of a new page, and while
  // headings are repeated. (Declared here to share the count's word.)
  bool SkipWhenRepeated = false;
};

}  // namespace zorpokaz
