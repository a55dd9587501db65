// One line: fields printed side by side. Owns its fields; `Owner` (content) and
// `Group` (the TLinie holding it) are back-pointers.
#pragma once

#include <memory>
#include <vector>

#include "document/tpole.h"

namespace zorpokaz {

class TLinie;

class TLinia {
 public:
  TLinia(TMLineWydruk* owner, TLinie* group);
  ~TLinia();
  TLinia(const TLinia&) = delete;
  TLinia& operator=(const TLinia&) = delete;

  // Reads one Line record with its fields.
  void LoadFromStream(BodyReader& reader);

  TMLineWydruk* Owner;
  TLinie* Group;
  // Left out when it would be the first line of a new page, and while
  // headings are repeated.
  bool SkipWhenRepeated = false;
  std::vector<std::unique_ptr<TPole>> Fields;  // 0..255

  // --- layout ---
  // The largest height in pixels of the fields that are not hidden; 0 if none.
  std::int32_t MaxHeight();
  float HeightMm();  // PxToMmY(MaxHeight)
  // Left out at the top of a page or while headings repeat.
  bool IsSkippable() const;
  // Draws the fields on one common text base and moves Y below the line.
  void Draw(float& Y);
};

}  // namespace zorpokaz
