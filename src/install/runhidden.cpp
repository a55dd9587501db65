#include "install/runhidden.h"

#include "platform/errors.h"

#include <QProcess>

namespace zorpokaz {

void RunHidden(const QStringList& command) {
  if (command.isEmpty()) throw Error("Cannot start an empty command");
  QProcess process;
  process.setProgram(command.first());
  process.setArguments(command.mid(1));
  process.setStandardInputFile(QProcess::nullDevice());
  process.setStandardOutputFile(QProcess::nullDevice());
  process.setStandardErrorFile(QProcess::nullDevice());
  process.start();
  if (!process.waitForStarted(-1))
    throw Error((command.first() + QStringLiteral(": ") + process.errorString()).toStdString());
  process.waitForFinished(-1);
}

}  // namespace zorpokaz
