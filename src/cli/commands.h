// The subcommands of zorpokaz-cli. Each lives in its own cmd_<name>.cpp and
// takes the arguments after its name. A command returns its exit status (0),
// throws UsageError for bad arguments (exit 1) and lets reading errors
// propagate (exit 2, the message on stderr).
#pragma once

#include <QString>
#include <QStringList>
#include <stdexcept>
#include <string>

namespace zorpokaz::cli {

class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Writes UTF-8 text to standard output.
void out(const QString& text);
void outBytes(const QByteArray& utf8);

int cmdInfo(const QStringList& args);
int cmdPages(const QStringList& args);
int cmdRender(const QStringList& args);
int cmdText(const QStringList& args);
int cmdUnpack(const QStringList& args);
int cmdPack(const QStringList& args);
int cmdRights(const QStringList& args);

}  // namespace zorpokaz::cli
