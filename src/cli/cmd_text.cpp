// zorpokaz-cli text FILE [--pages SET] [--dpi N]: the text of the chosen pages
// as the preview copies it — rows in reading order, the fields of a row
// separated by tabs — with a form feed between pages, so scripts can grep
// printouts.
#include "cli/commands.h"
#include "cli/pageoptions.h"
#include "document/tmlinewydruk.h"
#include "platform/gfx/pagetext.h"
#include "sheets/pageset.h"

namespace zorpokaz::cli {

int cmdText(const QStringList& argsIn) {
  QStringList args = argsIn;
  const int dpi = parseInt(takeOption(args, QStringLiteral("--dpi"), QStringLiteral("96")), "--dpi", 24, 1200);
  const QString pageSet = takeOption(args, QStringLiteral("--pages"));
  if (args.size() != 1) throw UsageError("expected one printout file");

  auto doc = buildPrintout(args.front(), dpi);
  const auto& pages = doc->Tekst().Pages();
  const PageList chosen = choosePages(pageSet, static_cast<int>(pages.size()));
  bool first = true;
  for (int number : chosen) {
    if (!first) out(QStringLiteral("\f"));
    first = false;
    out(PageText(pages[number - 1]));
  }
  return 0;
}

}  // namespace zorpokaz::cli
