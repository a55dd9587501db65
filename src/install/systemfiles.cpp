#include "install/systemfiles.h"

#include "platform/errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zorpokaz {

namespace {

[[noreturn]] void fail(const char* what, const QString& path) {
  throw Error((QLatin1String(what) + path).toStdString());
}

}  // namespace

bool WriteAll(int fd, const QByteArray& bytes) {
  qsizetype done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += n;
  }
  return true;
}

void MakeDirs(const QString& dir) {
  const QString clean = QDir::cleanPath(dir);
  const QStringList parts = clean.split(QLatin1Char('/'), Qt::SkipEmptyParts);
  QString path;
  for (const QString& part : parts) {
    path += QLatin1Char('/') + part;
    const QByteArray native = QFile::encodeName(path);
    if (mkdir(native.constData(), 0755) == 0) {
      chmod(native.constData(), 0755);
    } else if (errno != EEXIST || !QFileInfo(path).isDir()) {
      fail("Cannot create directory ", clean);
    }
  }
}

void WriteSystemFile(const QString& path, const QByteArray& bytes, mode_t mode, uid_t owner, gid_t group) {
  const QFileInfo info(path);
  MakeDirs(info.absolutePath());
  const int dirFd = open(QFile::encodeName(info.absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd < 0) fail("Cannot create file ", path);
  const QByteArray name = QFile::encodeName(info.fileName());
  const QByteArray temp = "." + name + ".new" + QByteArray::number(getpid());
  unlinkat(dirFd, temp.constData(), 0);
  bool ok = false;
  const int fd = openat(dirFd, temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd >= 0) {
    ok = WriteAll(fd, bytes) && fchmod(fd, mode) == 0 &&
         (owner == static_cast<uid_t>(-1) || fchown(fd, owner, group) == 0);
    ok = close(fd) == 0 && ok;
    ok = ok && renameat(dirFd, temp.constData(), dirFd, name.constData()) == 0;
    if (!ok) unlinkat(dirFd, temp.constData(), 0);
  }
  close(dirFd);
  if (!ok) fail("Cannot create file ", path);
}

bool RemoveSystemFile(const QString& path) {
  if (unlink(QFile::encodeName(path).constData()) == 0) return true;
  if (errno == ENOENT || errno == ENOTDIR) return false;
  fail("Cannot delete file ", path);
}

void RemoveDirIfEmpty(const QString& dir) { rmdir(QFile::encodeName(dir).constData()); }

}  // namespace zorpokaz
