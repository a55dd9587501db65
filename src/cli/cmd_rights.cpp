// `library-rights DIR`: gives the printout library DIR to the users group the
// way the viewer's own installation does. The system package calls it when it
// is configured, so that both ways of installing leave the same rights.
#include <QFileInfo>

#include "cli/commands.h"
#include "install/directoryrights.h"

namespace zorpokaz::cli {

int cmdLibraryRights(const QStringList& args) {
  if (args.size() != 1 || args.front().startsWith(QLatin1Char('-'))) throw UsageError("expected DIR");
  if (!QFileInfo(args.front()).isDir()) throw UsageError("not a directory: " + args.front().toStdString());
  GiveToUsersGroup(args.front());
  return 0;
}

}  // namespace zorpokaz::cli
