#include "library/startup.h"

#include "library/tfrmlista.h"
#include "ui/okienko.h"

#include <QApplication>

namespace zorpokaz {

namespace {

// Installing and removing the viewer are not part of this build: the user is
// told so, and nothing is changed.
int installationNotAvailable(StartKind kind) {
  ShowError(QStringLiteral("ZorPokaz"),
            kind == StartKind::Install
                ? QStringLiteral("Instalacja przeglądarki nie jest dostępna w tej wersji programu.")
                : QStringLiteral("Usuwanie przeglądarki nie jest dostępne w tej wersji programu."));
  return 1;
}

}  // namespace

QString StartArgument(const QStringList& arguments) {
  return arguments.size() > 1 ? arguments.at(1) : QString();
}

StartKind StartKindOf(const QString& argument) {
  if (argument == QLatin1String("INST")) return StartKind::Install;
  if (argument == QLatin1String("UNINST")) return StartKind::Uninstall;
  return StartKind::Viewer;
}

int RunProgram(QApplication& app, const QString& argument, const QString& libraryDir) {
  const StartKind kind = StartKindOf(argument);
  if (kind != StartKind::Viewer) return installationNotAvailable(kind);
  QApplication::setApplicationName(QStringLiteral("ZorPokaz"));
  TFrmLista window(argument, libraryDir);
  window.show();
  return app.exec();
}

}  // namespace zorpokaz
