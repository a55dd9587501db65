// Small file helpers for tests that lay out scratch trees: writing makes the
// parent directories, reading a missing file gives empty bytes (so a test can
// assert on "not there" and "this content" alike).
#pragma once

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace zorpokaz::testfiles {

inline bool writeFile(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

inline QByteArray readFile(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Whether root can make files immutable in `dir` (the file system may lack
// the attribute; a container may withhold the right).
inline bool immutableSupported(const QString& dir) {
  const QByteArray probe = QFile::encodeName(dir + "/.immutable-probe");
  const int fd = ::open(probe.constData(), O_RDONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  int flags = 0;
  bool supported = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
  if (supported) {
    int on = flags | FS_IMMUTABLE_FL;
    supported = ::ioctl(fd, FS_IOC_SETFLAGS, &on) == 0;
    if (supported) ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
  }
  ::close(fd);
  ::unlink(probe.constData());
  return supported;
}

// Clears the immutable attribute that an installation gives the viewer, on
// every file under `root`, so a scratch tree can be removed again.
inline void releaseImmutable(const QString& root) {
  QDirIterator all(root, QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks, QDirIterator::Subdirectories);
  while (all.hasNext()) {
    const int fd = ::open(QFile::encodeName(all.next()).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    int flags = 0;
    if (fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 && (flags & FS_IMMUTABLE_FL)) {
      flags &= ~FS_IMMUTABLE_FL;
      ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
    }
    if (fd >= 0) ::close(fd);
  }
}

}  // namespace zorpokaz::testfiles
