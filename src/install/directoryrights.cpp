#include "install/directoryrights.h"

#include "platform/errors.h"

#include <QFile>
#include <QString>

#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

namespace zorpokaz {

namespace {

[[noreturn]] void fail(const QString& what) { throw Error(what.toStdString()); }

bool isPrintoutName(const char* name) {
  const QString n = QFile::decodeName(name);
  return n.size() > 4 && n.endsWith(QLatin1String(".wyd"), Qt::CaseInsensitive);
}

// Group read and write for one printout, through a descriptor of the file
// itself, so that what is changed is what was checked.
void givePrintout(int dirFd, const char* name, gid_t group) {
  const int fd = openat(dirFd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return;  // a link or a vanished file
  struct stat st {};
  if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
    if (fchown(fd, static_cast<uid_t>(-1), group) != 0 || fchmod(fd, (st.st_mode & 07777) | 0060) != 0) {
      close(fd);
      fail(QStringLiteral("Cannot change rights of ") + QFile::decodeName(name));
    }
  }
  close(fd);
}

}  // namespace

void GiveToUsersGroup(const QString& programDir) {
  const group* users = getgrnam(kUsersGroup);
  if (!users) fail(QStringLiteral("No group ") + QLatin1String(kUsersGroup));
  const gid_t gid = users->gr_gid;
  QString path = programDir;
  while (path.endsWith(QLatin1Char('/'))) path.chop(1);  // a trailing "/" would follow a link
  // The file system's root opened to every user would be a hole in the
  // whole machine, not a printout library.
  if (path.isEmpty()) fail(QStringLiteral("Not changing rights of /"));
  const int dirFd = open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (dirFd < 0) fail(QStringLiteral("Cannot open ") + programDir);
  const std::unique_ptr<const int, void (*)(const int*)> closeDir(&dirFd, [](const int* fd) { close(*fd); });
  struct stat st {};
  // Group rights exactly read, write and enter; the others' rights stay.
  if (fstat(dirFd, &st) != 0 || fchown(dirFd, static_cast<uid_t>(-1), gid) != 0 ||
      fchmod(dirFd, (st.st_mode & 0707) | S_ISGID | S_ISVTX | 0070) != 0)
    fail(QStringLiteral("Cannot change rights of ") + programDir);
  const int listFd = dup(dirFd);
  const std::unique_ptr<DIR, int (*)(DIR*)> dir(listFd >= 0 ? fdopendir(listFd) : nullptr, closedir);
  if (!dir) {
    if (listFd >= 0) close(listFd);
    fail(QStringLiteral("Cannot open ") + programDir);
  }
  while (const dirent* entry = readdir(dir.get()))
    if (isPrintoutName(entry->d_name)) givePrintout(dirFd, entry->d_name, gid);
}

}  // namespace zorpokaz
