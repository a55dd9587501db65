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
};

}  // namespace zorpokaz
