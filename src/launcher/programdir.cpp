#include "launcher/programdir.h"

#include "launcher/launcherstate.h"

#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cstring>
#include <memory>

namespace zorpokaz::paczka {

namespace {

bool onlyRootWrites(const struct stat& st) { return st.st_uid == 0 && !(st.st_mode & 022); }

// Root's, and if others may write to it, sticky: nobody else can move the
// directory below away and put another in its place.
bool safeParents(QString path) {
  while (path.size() > 1) {
    path = path.left(qMax<qsizetype>(1, path.lastIndexOf(QLatin1Char('/'))));
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) return false;
    if (st.st_uid != 0 || ((st.st_mode & 022) && !(st.st_mode & S_ISVTX))) return false;
  }
  return true;
}

// The first entry Qt would read that is not root's alone; empty when none.
QString untrustedEntry(int dirFd) {
  const int listFd = ::dup(dirFd);
  const std::unique_ptr<DIR, int (*)(DIR*)> dir(listFd >= 0 ? ::fdopendir(listFd) : nullptr, ::closedir);
  if (!dir) {
    if (listFd >= 0) ::close(listFd);
    return QStringLiteral(".");
  }
  while (const dirent* entry = ::readdir(dir.get())) {
    if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) continue;
    struct stat st {};
    const bool config = std::strcmp(entry->d_name, "qt.conf") == 0 || std::strcmp(entry->d_name, "qt6.conf") == 0;
    if (::fstatat(dirFd, entry->d_name, &st, 0) != 0) {
      if (config) return QFile::decodeName(entry->d_name);
      continue;  // a dangling link leads nowhere Qt could read
    }
    if ((config || S_ISDIR(st.st_mode)) && !onlyRootWrites(st)) return QFile::decodeName(entry->d_name);
  }
  return {};
}

}  // namespace

bool HasRoomFor(const QString& dir, std::int64_t bytes) {
  struct statvfs fs {};
  if (::statvfs(QFile::encodeName(dir).constData(), &fs) != 0) return true;  // unknown: the write will tell
  return std::uint64_t(fs.f_bavail) * fs.f_frsize >= std::uint64_t(bytes);
}

void PrepareViewerUpdate(const QString& dir) {
  QString path = dir;
  while (path.size() > 1 && path.endsWith(QLatin1Char('/'))) path.chop(1);
  const int dirFd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (dirFd < 0) return;
  struct stat st {};
  if (::fstat(dirFd, &st) == 0 && (st.st_mode & 022)) ::fchmod(dirFd, st.st_mode & 07755);
  const int exe = ::openat(dirFd, kViewerName, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  int flags = 0;
  if (exe >= 0 && ::ioctl(exe, FS_IOC_GETFLAGS, &flags) == 0 && (flags & FS_IMMUTABLE_FL)) {
    flags &= ~FS_IMMUTABLE_FL;
    ::ioctl(exe, FS_IOC_SETFLAGS, &flags);
  }
  if (exe >= 0) ::close(exe);
  ::close(dirFd);
}

QString RootStartRefusal(const QString& dir) {
  if (::geteuid() != 0) return {};
  QString path = dir;
  while (path.size() > 1 && path.endsWith(QLatin1Char('/'))) path.chop(1);
  const QString refused = QStringLiteral("; jako administrator (root) paczka się stamtąd nie uruchomi.");
  const int dirFd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  struct stat st {};
  QString why;
  if (dirFd < 0 || ::fstat(dirFd, &st) != 0)
    why = QStringLiteral("ZorPokazPaczka: nie można otworzyć katalogu ") + path + refused;
  else if (!onlyRootWrites(st) || !safeParents(path))
    why = QStringLiteral("ZorPokazPaczka: katalog ") + path + QStringLiteral(" mogą zmieniać inni użytkownicy") + refused;
  else if (const QString entry = untrustedEntry(dirFd); !entry.isEmpty())
    why = QStringLiteral("ZorPokazPaczka: w katalogu ") + path + QStringLiteral(" jest \"") + entry +
          QStringLiteral("\", który mogą zmieniać inni użytkownicy") + refused;
  if (dirFd >= 0) ::close(dirFd);
  return why;
}

}  // namespace zorpokaz::paczka
