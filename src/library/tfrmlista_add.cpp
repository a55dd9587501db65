// Adding printouts to the library from other directories and packages
// ("Dodaj wydruk", F7): the list window's own chooser and please-wait window
// run the adding, then the list is refreshed.
#include "library/tfrmlista.h"

#include <QDir>

#include "library/addprintouts.h"
#include "ui/texplorer.h"
#include "ui/tworkingdlg.h"

namespace zorpokaz {

void TFrmLista::AddPrintouts() {
  // The chooser is made on first use and kept, so it opens where the user
  // last chose; the home directory stands for the system drive's root.
  auto* explorer = findChild<TExplorer*>(QStringLiteral("Explorer"), Qt::FindDirectChildrenOnly);
  if (!explorer) {
    explorer = new TExplorer(this);
    explorer->setObjectName(QStringLiteral("Explorer"));
    ConfigureExplorer(*explorer, QDir::homePath() + QLatin1Char('/'));
    ConfigureWorkingDlg(*WorkingDlg());
  }
  zorpokaz::AddPrintouts(*explorer, *WorkingDlg(), LibraryDir(), [this] { Refresh(); });
}

}  // namespace zorpokaz
