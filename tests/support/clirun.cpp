#include "support/clirun.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>

namespace zorpokaz::testcli {

QString CliPath() { return QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../src/zorpokaz-cli"); }

CliResult RunCli(const QStringList& args) {
  QProcess p;
  p.start(CliPath(), args);
  if (!p.waitForFinished(120000)) {
    p.kill();
    p.waitForFinished();
    return {-1, {}, "did not finish"};
  }
  return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
          p.readAllStandardError()};
}

}  // namespace zorpokaz::testcli
