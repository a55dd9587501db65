// zorpokaz: the printout viewer. The program directory is fixed before
// anything else runs; the first argument then picks installation, removal or
// the viewer.
#include "library/program.h"
#include "library/startup.h"
#include "printing/printdialoghook.h"
#include "ui/apperror.h"
#include "util/qttranslations.h"

#include <QApplication>

int main(int argc, char** argv) {
  zorpokaz::ProgramDir();
  QApplication app(argc, argv);
  zorpokaz::InstallQtTranslations(app);
  zorpokaz::InstallPrintDialog();
  try {
    return zorpokaz::RunProgram(app, zorpokaz::StartArgument(QApplication::arguments()));
  } catch (const std::exception& e) {
    zorpokaz::ReportException(e);
    return 1;
  }
}
