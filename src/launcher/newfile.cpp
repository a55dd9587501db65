#include "launcher/newfile.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace zorpokaz::paczka {

namespace {

mode_t umaskNow() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

// A rename that never replaces what stands under the new name, also where
// the file system has no such rename: a hard link only ever makes a new name.
CommitResult renameNew(const QByteArray& from, const QByteArray& to) {
  if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
    return CommitResult::Done;
  if (errno == EEXIST) return CommitResult::Exists;
  if (errno != EINVAL && errno != ENOSYS) return CommitResult::Failed;
  if (::link(from.constData(), to.constData()) == 0) {
    ::unlink(from.constData());
    return CommitResult::Done;
  }
  if (errno == EEXIST) return CommitResult::Exists;
  struct stat st {};
  if (::lstat(to.constData(), &st) == 0) return CommitResult::Exists;
  return ::rename(from.constData(), to.constData()) == 0 ? CommitResult::Done : CommitResult::Failed;
}

}  // namespace

NewFile::~NewFile() {
  m_file.close();
  if (m_fd >= 0) ::close(m_fd);
  if (m_readOnly >= 0) ::close(m_readOnly);
  if (!m_temp.isEmpty()) ::unlink(m_temp.constData());
}

// A named temporary file: its name moves with the rename, so the program
// started from its descriptor later knows where it lies (an unnamed one
// would stay "deleted" to the kernel).
bool NewFile::open() {
  QByteArray name = QFile::encodeName(m_dir) + ".zorpokaz-XXXXXX";
  m_fd = ::mkostemp(name.data(), O_CLOEXEC);
  if (m_fd < 0) return false;
  m_temp = name;
  return m_file.open(m_fd, QIODevice::WriteOnly, QFileDevice::DontCloseHandle);
}

bool NewFile::setModified(const QDateTime& when) {
  const std::int64_t ms = when.toMSecsSinceEpoch();
  const timespec times[2] = {{0, UTIME_OMIT}, {time_t(ms / 1000), 0}};
  return m_fd >= 0 && m_file.flush() && ::futimens(m_fd, times) == 0;
}

CommitResult NewFile::commit(const QString& path, mode_t mode, bool replace) {
  if (m_fd >= 0) {
    // In a program directory shared with the users group (new files take
    // its group) every member may change a printout, a new one too; never
    // a program.
    struct stat dir {};
    if (!(mode & 0111) && ::stat(QFile::encodeName(m_dir).constData(), &dir) == 0 && (dir.st_mode & S_ISGID) &&
        (dir.st_mode & 0020))
      mode = (mode & ~umaskNow()) | 0060;
    else
      mode &= ~umaskNow();
    const bool written = m_file.flush() && ::fchmod(m_fd, mode) == 0 && ::fsync(m_fd) == 0;
    // The read-only descriptor outlives the writable one: a program cannot
    // be started while a descriptor open for writing holds its file.
    m_readOnly = ::open(QStringLiteral("/proc/self/fd/%1").arg(m_fd).toLatin1().constData(), O_RDONLY | O_CLOEXEC);
    m_file.close();
    const bool closed = ::close(m_fd) == 0;
    m_fd = -1;
    if (!written || !closed) {
      ::unlink(m_temp.constData());
      m_temp.clear();
    }
  }
  if (m_temp.isEmpty()) return CommitResult::Failed;
  const QByteArray to = QFile::encodeName(path);
  const CommitResult result =
      replace ? (::rename(m_temp.constData(), to.constData()) == 0 ? CommitResult::Done : CommitResult::Failed)
              : renameNew(m_temp, to);
  if (result == CommitResult::Done) m_temp.clear();
  return result;
}

int NewFile::reopenReadOnly() { return std::exchange(m_readOnly, -1); }

}  // namespace zorpokaz::paczka
