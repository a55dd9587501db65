// zorpokaz-paczka: the front of a package. The package file is this program
// followed by the compressed viewer and the printout records; its version
// values say where each part begins.
#include <QApplication>
#include <QFileInfo>

#include "launcher/launcherstate.h"
#include "launcher/launcherwindow.h"
#include "launcher/messageboxes.h"
#include "launcher/programdir.h"

#include <cstdio>

using namespace zorpokaz::paczka;

int main(int argc, char** argv) {
  const QString exe = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
  // Checked before Qt reads anything in the package's directory.
  const QString refusal = RootStartRefusal(QFileInfo(exe).absolutePath());
  if (!refusal.isEmpty()) {
    std::fprintf(stderr, "%s\n", refusal.toLocal8Bit().constData());
    return 1;
  }
  QApplication app(argc, argv);
  const LauncherPlaces places = LauncherPlaces::FromEnvironment();
  MessageBoxes ui;
  LauncherState state;
  if (!StartUp(exe, places, ui, state)) return 0;
  LauncherWindow window(state, places.tempDir, ui);
  ui.SetOwner(&window);
  QObject::connect(&window, &LauncherWindow::Closed, &app, &QApplication::quit, Qt::QueuedConnection);
  window.show();
  return app.exec();
}
