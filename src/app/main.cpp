// zorpokaz: the printout viewer. The program directory is fixed before
// anything else runs (and, as root, checked that nobody else can have put a
// file there that Qt would read); the first argument then picks
// installation, removal or the viewer.
#include "core/program.h"
#include "library/rootstart.h"
#include "library/startup.h"
#include "preview/printhooks.h"
#include "ui/apperror.h"
#include "util/qttranslations.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  // Checked before Qt reads anything in the program directory.
  const bool installing = argc > 1 && (std::strcmp(argv[1], "INST") == 0 || std::strcmp(argv[1], "UNINST") == 0);
  const QString refusal = zorpokaz::RootStartRefusal(zorpokaz::ProgramDir(), installing);
  if (!refusal.isEmpty()) {
    std::fprintf(stderr, "%s\n", refusal.toLocal8Bit().constData());
    return 1;
  }
  QApplication app(argc, argv);
  zorpokaz::InstallQtTranslations(app);
  zorpokaz::InstallPrintDialog();
  zorpokaz::InstallPdfWriter();
  try {
    return zorpokaz::RunProgram(app, zorpokaz::StartArgument(QApplication::arguments()));
  } catch (const std::exception& e) {
    zorpokaz::ReportException(e);
    return 1;
  }
}
