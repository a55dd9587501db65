#include "library/copyprintout.h"

#include "core/librarycopy.h"
#include "core/libraryfiles.h"
#include "core/newlibraryfile.h"
#include "ui/okienko.h"
#include "util/bajery.h"

#include <QFileInfo>

namespace zorpokaz {

namespace {

bool askOverwrite(const QString& dest) {
  return AskYesNo(QStringLiteral("Potwierdź dokopiowanie pliku"),
                  QStringLiteral("Plik \"") + dest + QStringLiteral("\" już istnieje !\r") +
                      QStringLiteral("Czy na pewno chcesz go pokryć ?"));
}

// Moves the finished copy onto `dest`, asking again when something appeared
// under that name since the first look. True when it is there.
bool commitCopy(NewLibraryFile& out, const QString& dest, bool replace, bool& declined) {
  for (;;) {
    switch (out.commit(QFileInfo(dest).fileName(), replace)) {
      case MoveResult::Done:
        return true;
      case MoveResult::Failed:
        return false;
      case MoveResult::Exists:
        if (!askOverwrite(dest)) {
          declined = true;
          return false;
        }
        replace = true;
    }
  }
}

}  // namespace

bool CopyPrintout(const QString& path, const QString& libraryDir) {
  if (!IsPrintoutFile(path)) {
    ShowError(QStringLiteral("Błąd"),
              QStringLiteral("Plik: \"") + path + QStringLiteral("\"\rnie jest wydrukiem Zorela !"));
    return false;
  }
  const QString dest = PrintoutDestination(path, libraryDir);
  if (SamePrintoutPath(path, dest)) return true;
  // Whatever stands under the name, a link or a dangling link too, is a file
  // the user is asked about; "Tak" replaces that entry, never a link's target.
  const bool replace = EntryExists(dest);
  if (replace && !askOverwrite(dest)) return false;
  RepaintAllForms();
  NewLibraryFile out(libraryDir);
  bool declined = false;
  if (WriteLibraryCopy(path, out) && commitCopy(out, dest, replace, declined)) return true;
  if (!declined)
    ShowError(QStringLiteral("Bład !"), QStringLiteral("Nie udało się skopiować pliku:\r") + path +
                                             QStringLiteral("\rdo: ") + dest);
  return false;
}

}  // namespace zorpokaz
