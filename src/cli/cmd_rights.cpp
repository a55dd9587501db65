// `rights DIR [--release]`: the rights INST gives an installed program
// directory, for a distribution package's maintainer scripts, which install
// the viewer without running it: DIR and its printouts go to the users group.
// --release closes DIR to the group and others and clears the viewer's
// immutable attribute, before the executable is replaced or removed. Needs
// root; running it again changes nothing more.
#include <QDir>
#include <QFile>

#include "cli/commands.h"
#include "install/directoryrights.h"
#include "install/installpaths.h"
#include "platform/errors.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zorpokaz::cli {

namespace {

// Neither the directory nor the viewer is reached through a link.
void release(const QString& dir) {
  QString path = dir;
  while (path.endsWith(QLatin1Char('/'))) path.chop(1);
  const int dirFd = open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  struct stat st {};
  if (dirFd < 0 || fstat(dirFd, &st) != 0 || fchmod(dirFd, st.st_mode & 07755) != 0) {
    if (dirFd >= 0) close(dirFd);
    throw Error("Cannot change rights of " + dir.toStdString());
  }
  const int exe = openat(dirFd, kViewerFileName, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  int flags = 0;
  if (exe >= 0 && ioctl(exe, FS_IOC_GETFLAGS, &flags) == 0 && (flags & FS_IMMUTABLE_FL)) {
    flags &= ~FS_IMMUTABLE_FL;
    ioctl(exe, FS_IOC_SETFLAGS, &flags);
  }
  if (exe >= 0) close(exe);
  close(dirFd);
}

}  // namespace

int cmdRights(const QStringList& args) {
  QStringList dirs;
  bool releasing = false;
  for (const QString& a : args) {
    if (a == QLatin1String("--release"))
      releasing = true;
    else if (a.startsWith(QLatin1String("--")))
      throw UsageError("unknown option " + a.toStdString());
    else
      dirs << a;
  }
  if (dirs.size() != 1) throw UsageError("one program directory expected");
  QString dir = QDir(dirs[0]).absolutePath();
  if (!dir.endsWith(QLatin1Char('/'))) dir += QLatin1Char('/');
  if (releasing) {
    release(dir);
    out(dir + QStringLiteral(": closed, the viewer may be replaced\n"));
    return 0;
  }
  GiveToUsersGroup(dir);
  out(dir + QStringLiteral(": shared with the users group\n"));
  return 0;
}

}  // namespace zorpokaz::cli
