// A line group: the lines one section of a block prints together. Owns its
// lines; `Owner` (content) and `Block` (the TMLine whose section this is) are
// back-pointers.
#pragma once

#include <memory>
#include <vector>

#include "document/tlinia.h"

namespace zorpokaz {

class TMLine;

class TLinie {
 public:
  TLinie(TMLineWydruk* owner, TMLine* block);
  ~TLinie();
  TLinie(const TLinie&) = delete;
  TLinie& operator=(const TLinie&) = delete;

  // Reads one Line-group record with its lines.
  void LoadFromStream(BodyReader& reader);
  void Clear();

  int Count() const { return static_cast<int>(Lines.size()); }

  TMLineWydruk* Owner;
  TMLine* Block;
  bool Splittable = false;   // false: keep the group together on one page
  bool BreakBefore = false;  // start a new page before the group
  std::vector<TLinia> Lines;

  // --- layout ---
  // True when the whole group, drawn from Y (mm), ends at or above the page bottom.
  bool Fits(float Y);
  // Prints the group at Y, breaking pages as needed.
  void Layout(float& Y);

 private:
  void drawLine(TLinia& line, bool mayLeaveOut, float& Y);
  void lineDone();
};

}  // namespace zorpokaz
