// One line: fields printed side by side. Owns its fields, held in one array
// sized by the line's field count (at most 255), so that a line costs 16
// bytes of its group's storage and nothing more when it has no fields: a
// ledger holds millions of lines. The content and the group a line belongs
// to are passed in by the group, which knows both.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "document/tpole.h"

namespace zorpokaz {

class TLinia {
 public:
  TLinia() = default;
  ~TLinia();
  TLinia(TLinia&&) noexcept = default;
  TLinia& operator=(TLinia&&) noexcept = default;

  // Reads one Line record with its fields, which belong to `owner`.
  void LoadFromStream(BodyReader& reader, TMLineWydruk* owner);

  std::span<TPole> Fields() { return {m_fields.get(), m_count}; }
  std::span<const TPole> Fields() const { return {m_fields.get(), m_count}; }

  // --- layout ---
  // The largest height in pixels of the fields that are not hidden; 0 if none.
  std::int32_t MaxHeight();
  float HeightMm(int dpi);  // PxToMmY(MaxHeight)
  // Left out at the top of a page or while headings repeat; a lone rule is
  // never left out of a heading.
  bool IsSkippable(bool inHeading) const;
  // Draws the fields on one common text base and moves Y below the line and
  // the content's line spacing.
  void Draw(float& Y, float lineSpacing);

 private:
  std::unique_ptr<TPole[]> m_fields;
  std::uint8_t m_count = 0;

 public:
  // Left out when it would be the first line of a new page, and while
  // headings are repeated. (Declared here to share the count's word.)
  bool SkipWhenRepeated = false;
};

}  // namespace zorpokaz
