// `rights DIR [--release]`: the rights INST gives an installed program
// directory, for a distribution package's maintainer scripts, which install
// the viewer without running it. DIR and its printouts go to the users group
// and the viewer executable DIR/zorpokaz, which must belong to root, becomes
// immutable (or DIR keeps the sticky bit where the file system has no such
// attribute; the output says which). --release closes DIR to the group and
// clears the attribute, before the executable is replaced or removed. Needs
// root; running it again changes nothing more.
#include <QDir>

#include "cli/commands.h"
#include "install/directoryrights.h"
#include "platform/errors.h"

namespace zorpokaz::cli {

int cmdRights(const QStringList& args) {
  QStringList dirs;
  bool release = false;
  for (const QString& a : args) {
    if (a == QLatin1String("--release"))
      release = true;
    else if (a.startsWith(QLatin1String("--")))
      throw UsageError("unknown option " + a.toStdString());
    else
      dirs << a;
  }
  if (dirs.size() != 1) throw UsageError("one program directory expected");
  QString dir = QDir(dirs[0]).absolutePath();
  if (!dir.endsWith(QLatin1Char('/'))) dir += QLatin1Char('/');
  if (release) {
    if (!ReleaseViewer(dir)) throw Error("Cannot open " + dir.toStdString());
    out(dir + QStringLiteral(": closed, the viewer may be replaced\n"));
    return 0;
  }
  const ViewerProtection protection = ShareLibrary(dir, QString());
  out(dir + (protection == ViewerProtection::Immutable
                 ? QStringLiteral(": shared with the users group, the viewer immutable\n")
                 : QStringLiteral(": shared with the users group, sticky (no immutable attribute here)\n")));
  return 0;
}

}  // namespace zorpokaz::cli
