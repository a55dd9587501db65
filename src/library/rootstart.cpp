#include "library/rootstart.h"

#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <memory>

namespace zorpokaz {

namespace {

bool onlyRootWrites(const struct stat& st) { return st.st_uid == 0 && !(st.st_mode & 022); }

// A parent of the directory: root's, and if others may write to it, sticky,
// so that none of them can move the directory away and put another there.
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

QString RootStartRefusal(const QString& programDir, bool closeFirst) {
  if (::geteuid() != 0) return {};
  QString path = programDir;
  while (path.size() > 1 && path.endsWith(QLatin1Char('/'))) path.chop(1);
  const QString refused = QStringLiteral("; jako administrator (root) program się w nim nie uruchomi.");
  const int dirFd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  struct stat st {};
  if (dirFd < 0 || ::fstat(dirFd, &st) != 0) {
    if (dirFd >= 0) ::close(dirFd);
    return QStringLiteral("ZorPokaz: nie można otworzyć katalogu ") + path + refused;
  }
  if (closeFirst && (st.st_mode & 022) && ::fchmod(dirFd, st.st_mode & 07755) == 0) st.st_mode &= 07755;
  QString why;
  if (!onlyRootWrites(st) || !safeParents(path))
    why = QStringLiteral("ZorPokaz: katalog ") + path + QStringLiteral(" mogą zmieniać inni użytkownicy") + refused;
  else if (const QString entry = untrustedEntry(dirFd); !entry.isEmpty())
    why = QStringLiteral("ZorPokaz: w katalogu ") + path + QStringLiteral(" jest \"") + entry +
          QStringLiteral("\", który mogą zmieniać inni użytkownicy") + refused;
  ::close(dirFd);
  return why;
}

}  // namespace zorpokaz
