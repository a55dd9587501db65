#include "install/directoryrights.h"

#include "install/installpaths.h"
#include "platform/errors.h"

#include <QFile>
#include <QString>

#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

namespace zorpokaz {

namespace {

[[noreturn]] void fail(const QString& what) { throw Error(what.toStdString()); }

// A descriptor closed when it goes out of scope.
class Fd {
 public:
  explicit Fd(int fd) : m_fd(fd) {}
  ~Fd() {
    if (m_fd >= 0) close(m_fd);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return m_fd; }

 private:
  int m_fd;
};

bool isPrintoutName(const char* name) {
  const QString n = QFile::decodeName(name);
  return n.size() > 4 && n.endsWith(QLatin1String(".wyd"), Qt::CaseInsensitive);
}

QString withoutTrailingSlash(QString path) {
  while (path.endsWith(QLatin1Char('/'))) path.chop(1);
  return path;
}

// The program directory opened without following a link in its place (a
// trailing "/" would follow one). The file system's root is never a program
// directory: opened to every user it would be a hole in the whole machine.
int openProgramDir(const QString& programDir) {
  const QString path = withoutTrailingSlash(programDir);
  if (path.isEmpty()) return -1;
  return open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

int openViewer(int dirFd) {
  return openat(dirFd, kViewerFileName, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
}

bool setImmutable(int fd, bool on) {
  int flags = 0;
  if (ioctl(fd, FS_IOC_GETFLAGS, &flags) != 0) return false;
  const int wanted = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
  return wanted == flags || ioctl(fd, FS_IOC_SETFLAGS, &wanted) == 0;
}

bool isImmutable(int fd) {
  int flags = 0;
  return ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 && (flags & FS_IMMUTABLE_FL);
}

// Group read and write for one printout, through a descriptor of the file
// itself, so that what is changed is what was checked.
void givePrintout(int dirFd, const char* name, gid_t group) {
  const Fd fd(openat(dirFd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  if (fd.get() < 0) return;  // a link or a vanished file
  struct stat st {};
  if (fstat(fd.get(), &st) == 0 && S_ISREG(st.st_mode) && !isImmutable(fd.get())) {
    if (fchown(fd.get(), static_cast<uid_t>(-1), group) != 0 || fchmod(fd.get(), (st.st_mode & 07777) | 0060) != 0)
      fail(QStringLiteral("Cannot change rights of ") + QFile::decodeName(name));
  }
}

void givePrintouts(int dirFd, gid_t group, const QString& programDir) {
  const int listFd = dup(dirFd);
  const std::unique_ptr<DIR, int (*)(DIR*)> dir(listFd >= 0 ? fdopendir(listFd) : nullptr, closedir);
  if (!dir) {
    if (listFd >= 0) close(listFd);
    fail(QStringLiteral("Cannot open ") + programDir);
  }
  while (const dirent* entry = readdir(dir.get()))
    if (isPrintoutName(entry->d_name)) givePrintout(dirFd, entry->d_name, group);
}

// The executable, checked to be the file root trusts, made unwritable for
// all but its owner and frozen. False where the file system cannot freeze it.
bool protectViewer(int dirFd, const QString& trustedViewer, const QString& programDir) {
  const Fd exe(openViewer(dirFd));
  struct stat st {}, trusted {};
  if (exe.get() < 0 || fstat(exe.get(), &st) != 0 || !S_ISREG(st.st_mode))
    fail(QStringLiteral("No viewer in ") + programDir);
  const bool isTrusted = trustedViewer.isEmpty()
                             ? st.st_uid == 0
                             : stat(QFile::encodeName(trustedViewer).constData(), &trusted) == 0 &&
                                   trusted.st_dev == st.st_dev && trusted.st_ino == st.st_ino;
  if (!isTrusted) fail(QStringLiteral("Not the viewer that runs: ") + programDir + QLatin1String(kViewerFileName));
  const mode_t mode = st.st_mode & 0755;
  if ((st.st_mode & 07777) != mode) {
    setImmutable(exe.get(), false);
    if (fchmod(exe.get(), mode) != 0) fail(QStringLiteral("Cannot change rights of ") + programDir);
  }
  return setImmutable(exe.get(), true);
}

}  // namespace

ViewerProtection ShareLibrary(const QString& programDir, const QString& trustedViewer) {
  const group* users = getgrnam(kUsersGroup);
  if (!users) fail(QStringLiteral("No group ") + QLatin1String(kUsersGroup));
  const gid_t gid = users->gr_gid;
  if (withoutTrailingSlash(programDir).isEmpty()) fail(QStringLiteral("Not changing rights of /"));
  const Fd dir(openProgramDir(programDir));
  if (dir.get() < 0) fail(QStringLiteral("Cannot open ") + programDir);
  struct stat st {};
  if (fstat(dir.get(), &st) != 0) fail(QStringLiteral("Cannot open ") + programDir);
  // The others keep reading and entering, never writing; the group reads and
  // enters, and new files take the group.
  const mode_t closed = (st.st_mode & 0705) | S_ISGID | 0050;
  // Closed first: until the executable is protected, no member of the group
  // may change anything in the directory.
  if (fchown(dir.get(), static_cast<uid_t>(-1), gid) != 0 || fchmod(dir.get(), closed) != 0)
    fail(QStringLiteral("Cannot change rights of ") + programDir);
  givePrintouts(dir.get(), gid, programDir);
  const ViewerProtection protection =
      protectViewer(dir.get(), trustedViewer, programDir) ? ViewerProtection::Immutable : ViewerProtection::Sticky;
  const mode_t open = closed | 0020 | (protection == ViewerProtection::Sticky ? S_ISVTX : 0);
  if (fchmod(dir.get(), open) != 0) fail(QStringLiteral("Cannot change rights of ") + programDir);
  return protection;
}

bool ReleaseViewer(const QString& programDir) {
  const Fd dir(openProgramDir(programDir));
  struct stat st {};
  if (dir.get() < 0 || fstat(dir.get(), &st) != 0) return false;
  if (st.st_mode & 022) fchmod(dir.get(), st.st_mode & 07755);
  const Fd exe(openViewer(dir.get()));
  if (exe.get() >= 0) setImmutable(exe.get(), false);
  return true;
}

}  // namespace zorpokaz
