#include "cli/chosenpages.h"

#include <algorithm>

#include "cli/commands.h"
#include "cli/pageoptions.h"
#include "document/tmlinewydruk.h"
#include "document/twydruk.h"
#include "platform/errors.h"

namespace zorpokaz::cli {

std::vector<ChosenPage> layOutChosenPages(TWydruk& doc, const QString& set) {
  TMLineWydruk& content = doc.Tekst();
  const int highest = set.isEmpty() ? 0 : HighestPageNamed(TrimBlanks(set));
  // What the set names in a printout that reaches its highest page; a set
  // that is no good even then keeps every page until the printout's own
  // answer is known.
  PageList expected;
  if (highest > 0) {
    try {
      expected = ParsePageSet(TrimBlanks(set), highest);
    } catch (const Error&) {
    }
  }
  content.KeepPages = false;
  content.LastPage = highest;
  std::vector<ChosenPage> kept;
  doc.OnNextPage = [&](TWydruk&, const PageImage& page) {
    const int number = content.PageCount();
    if (expected.empty() || std::binary_search(expected.begin(), expected.end(), number))
      kept.push_back({number, page});
  };
  doc.BuildPages();
  if (set.isEmpty()) return kept;
  // Stopped at its highest page, the printout has at least that many: the
  // answer is the same as for its full count.
  const int count = content.StoppedAtLastPage() ? highest : content.PageCount();
  const PageList chosen = choosePages(set, count);
  std::vector<ChosenPage> pages;
  pages.reserve(chosen.size());
  for (ChosenPage& page : kept)
    if (std::binary_search(chosen.begin(), chosen.end(), page.number)) pages.push_back(std::move(page));
  return pages;
}

}  // namespace zorpokaz::cli
