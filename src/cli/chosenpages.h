// The pages a page set names, for the commands that need only some pages of
// a printout: it is laid out only as far as the last page the set names, so
// the first pages of a long printout come at once (its page count is then
// not known, nor needed).
#pragma once

#include <QString>
#include <vector>

#include "platform/gfx/pageimage.h"
#include "sheets/pageset.h"

namespace zorpokaz {
class TWydruk;
}

namespace zorpokaz::cli {

struct ChosenPage {
  int number = 0;  // 1-based
  PageImage page;
};

// Lays the loaded document out and returns the pages `set` names (the print
// dialog's syntax), in order; every page when `set` is empty. A set the print
// dialog would refuse for this printout is a UsageError with the dialog's
// words, as it would be after laying out every page.
std::vector<ChosenPage> layOutChosenPages(TWydruk& doc, const QString& set);

}  // namespace zorpokaz::cli
