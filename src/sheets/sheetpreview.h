// What the sheets of a print will carry, for the print dialog's picture:
// the page list with its filler positions and the order of sheet sides, both
// taken from the sheet planning the print job itself runs (sheetplan.h), then
// each position turned into the page it holds (0: a blank side or half).
#pragma once

#include <vector>

#include "sheets/pageset.h"
#include "sheets/sheetplan.h"

namespace zorpokaz {

// One sheet side as it leaves the printer. Normalnie: `left` is the page and
// `right` is unused (0). The half-sheet modes: the left and the right half.
struct PreviewSide {
  int left = 0;
  int right = 0;
  bool operator==(const PreviewSide&) const = default;
};

struct SheetPreview {
  bool halves = false;
  bool turn = false;  // a second pass follows after the stack is turned
  std::vector<PreviewSide> firstPass;
  std::vector<PreviewSide> secondPass;
  // Sheets of paper one copy takes: every sheet goes through the first pass once.
  int sheets() const { return static_cast<int>(firstPass.size()); }
};

// The sides of one copy for the pages chosen (1-based page numbers).
SheetPreview PreviewSheets(PageList list, const SheetOptions& options);

}  // namespace zorpokaz
