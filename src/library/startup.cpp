#include "library/startup.h"

#include "library/install.h"
#include "library/tfrmlista.h"

#include <QApplication>

namespace zorpokaz {

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
  if (kind != StartKind::Viewer) {
    // The viewer installs or removes itself; only message windows are shown.
    const InstallPaths paths = InstallPaths::FromEnvironment(ProgramFile(), libraryDir);
    if (kind == StartKind::Install)
      Install(paths);
    else
      Uninstall(paths);
    return 0;
  }
  QApplication::setApplicationName(QStringLiteral("ZorPokaz"));
  TFrmLista window(argument, libraryDir);
  window.show();
  return app.exec();
}

}  // namespace zorpokaz
