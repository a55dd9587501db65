// Adding printouts to the library from other directories and packages.
#include "library/tfrmlista.h"

#include "ui/okienko.h"

namespace zorpokaz {

// The chooser and the package reader are not part of this build yet; the
// button says so instead of pretending to add anything.
void TFrmLista::AddPrintouts() {
  ShowInfo(QStringLiteral("ZorPokaz"), QStringLiteral("Dodawanie wydruków nie jest jeszcze dostępne."));
}

}  // namespace zorpokaz
