// Sheet planning of the print job: filler positions, the order in
// which sheet sides are printed in every mode, the job names and the booklet
// question. Pure functions; the print job walks the plan and draws.
//
// Units: positions are 1-based indexes into the page list (after the fillers
// were added); the page list entry at a position is a page number, or 0 for a
// blank filler side or half.
#pragma once

#include <cstdint>
#include <vector>

#include <QString>

#include "sheets/pageset.h"

namespace zorpokaz {

// PrintDlg_Tryb of the print settings record uses these values.
enum class PrintMode : int {
  Normalnie = 1,    // one page per portrait sheet side, R1
  Zmniejszone = 2,  // two consecutive pages side by side on a landscape side, R2 | R3
  Ksiazeczka = 3,   // booklet: landscape, always both sides, R2 | R3
};

enum class SheetOrientation { Portrait, Landscape };

// The options that shape the plan. twoSided is the "&Druk dwustronny" box as
// it stands, ticked or not, even while booklet mode greys it out.
struct SheetOptions {
  PrintMode mode = PrintMode::Normalnie;
  bool twoSided = false;
  bool reverse = false;  // PrintDlg_Odwrotnie
};

// One sheet side. Normalnie: `left` is the position drawn into R1 and `right`
// is 0. Zmniejszone and Książeczka: `left` goes into R2, `right` into R3.
// Planned positions are never 0 (a blank is a 0 *entry*), so PrintTwo's rule
// for a position given as 0 never comes into play for these sides.
struct SheetSide {
  int left = 0;
  int right = 0;
  bool operator==(const SheetSide&) const = default;
};

// The sheet sides of one copy. When `turn` is set, StartSecondPass runs after
// firstPass (first document ended, the user turns the stack, second document
// begun) and secondPass follows; otherwise secondPass is empty.
struct SheetPlan {
  bool halves = false;  // sides are R2 | R3 pairs
  bool turn = false;
  std::vector<SheetSide> firstPass;
  std::vector<SheetSide> secondPass;
};

// Portrait for Normalnie, landscape for the two half-sheet modes.
SheetOrientation orientationFor(PrintMode mode);

// m of PrintCopy step 1: 1 Normalnie single-sided, 2 Normalnie two-sided,
// 2 Zmniejszone single-sided, 4 Zmniejszone two-sided, 4 Książeczka.
int fillerMultiple(const SheetOptions& options);

// Appends 0 entries until the length is a multiple of fillerMultiple; returns
// the new length N. Idempotent, so running it again for a later copy changes
// nothing.
int addFillerPositions(PageList& list, const SheetOptions& options);

// The order of sheet sides for N positions. N must be a
// multiple of fillerMultiple(options) (addFillerPositions makes it so); for
// any other N the result is unspecified but never reads outside 1..N.
SheetPlan planSheets(const SheetOptions& options, int N);

// JobName: the printout title, or "Wydruk z Zorela" when it is empty, with
// " (1)" / " (2)" for the first / second pass when the two-sided box is
// ticked or the mode is Książeczka. pass is 1 or 2.
QString JobName(const QString& printoutTitle, const SheetOptions& options, int pass);

// The booklet question of PrintCopy step 2 is asked when N > 40.
bool bookletNeedsConfirmation(const SheetOptions& options, int N);
// Its title and text; n is the printout's whole page count (as the
// system words it, not the number of selected pages), the sheet count is N div 4.
QString bookletQuestionTitle();
QString bookletQuestionText(int n, int N);

}  // namespace zorpokaz
