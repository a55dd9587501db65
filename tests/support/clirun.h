// Running the built zorpokaz-cli from a test: its exit status (-1 when it
// crashed or did not finish within two minutes) and both outputs.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace zorpokaz::testcli {

struct CliResult {
  int status = -1;
  QByteArray out;
  QByteArray err;
};

// <build>/src/zorpokaz-cli, beside the test executable's folder.
QString CliPath();
CliResult RunCli(const QStringList& args);

}  // namespace zorpokaz::testcli
