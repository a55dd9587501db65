#include "core/newlibraryfile.h"

#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zorpokaz {

namespace {

// Hidden while it is being written, so the list never shows a half file;
// the removal script knows the pattern and takes leftovers of a killed copy.
QByteArray temporaryName() {
  static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  QByteArray name = ".zorpokaz-";
  for (int i = 0; i < 6; ++i) name += letters[QRandomGenerator::global()->bounded(int(sizeof letters - 1))];
  return name;
}

}  // namespace

MoveResult MoveInDirectory(int dirFd, const QByteArray& from, const QByteArray& to, bool replace) {
  if (replace) return renameat(dirFd, from.constData(), dirFd, to.constData()) == 0 ? MoveResult::Done : MoveResult::Failed;
  if (renameat2(dirFd, from.constData(), dirFd, to.constData(), RENAME_NOREPLACE) == 0) return MoveResult::Done;
  if (errno == EEXIST) return MoveResult::Exists;
  if (errno != EINVAL && errno != ENOSYS) return MoveResult::Failed;
  // A file system without the no-replace rename: a hard link, too, only ever
  // makes a new name.
  if (linkat(dirFd, from.constData(), dirFd, to.constData(), 0) == 0) {
    unlinkat(dirFd, from.constData(), 0);
    return MoveResult::Done;
  }
  if (errno == EEXIST) return MoveResult::Exists;
  // Without hard links either (FAT): looked at, then moved.
  struct stat st {};
  if (fstatat(dirFd, to.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0) return MoveResult::Exists;
  return renameat(dirFd, from.constData(), dirFd, to.constData()) == 0 ? MoveResult::Done : MoveResult::Failed;
}

NewLibraryFile::NewLibraryFile(const QString& dir) : m_dir(QFile::encodeName(dir)) {}

NewLibraryFile::~NewLibraryFile() {
  if (m_fd >= 0) close(m_fd);
  if (!m_temp.isEmpty()) unlinkat(m_dirFd, m_temp.constData(), 0);
  if (m_dirFd >= 0) close(m_dirFd);
}

bool NewLibraryFile::open() {
  m_dirFd = ::open(m_dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (m_dirFd < 0) return false;
  // In the library installation shares with the users group (new files take
  // its group), every member may change a printout, a new one too.
  struct stat dir {};
  m_forGroup = fstat(m_dirFd, &dir) == 0 && (dir.st_mode & S_ISGID) && (dir.st_mode & 0020);
  for (int attempt = 0; attempt < 100; ++attempt) {
    const QByteArray name = temporaryName();
    m_fd = openat(m_dirFd, name.constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (m_fd >= 0) {
      m_temp = name;
      return true;
    }
    if (errno != EEXIST) return false;
  }
  return false;
}

bool NewLibraryFile::write(const char* data, qint64 size) {
  while (size > 0 && !m_failed) {
    const ssize_t n = ::write(m_fd, data, size_t(size));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) m_failed = true;
    data += n;
    size -= n;
  }
  return !m_failed;
}

bool NewLibraryFile::setModified(const timespec& when) {
  const timespec times[2] = {{0, UTIME_OMIT}, when};
  return futimens(m_fd, times) == 0;
}

MoveResult NewLibraryFile::commit(const QString& fileName, bool replace) {
  // On the disk before it stands under its name: a crash never leaves an
  // empty file in place of a printout that was there.
  if (m_fd >= 0) {
    struct stat st {};
    if (m_forGroup && (fstat(m_fd, &st) != 0 || fchmod(m_fd, (st.st_mode & 0777) | 0060) != 0)) m_failed = true;
    const bool synced = fsync(m_fd) == 0;
    if (::close(m_fd) != 0 || !synced) m_failed = true;
    m_fd = -1;
  }
  if (m_failed || m_temp.isEmpty()) return MoveResult::Failed;
  const MoveResult result = MoveInDirectory(m_dirFd, m_temp, QFile::encodeName(fileName), replace);
  if (result == MoveResult::Done) m_temp.clear();
  return result;
}

}  // namespace zorpokaz
