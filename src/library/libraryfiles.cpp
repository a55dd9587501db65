#include "library/libraryfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace zorpokaz {

namespace {

const QString kWyd = QStringLiteral(".wyd");

bool sameFileOnDisk(const QString& a, const QString& b) {
  struct stat sa {}, sb {};
  if (::stat(QFile::encodeName(a).constData(), &sa) != 0) return false;
  if (::stat(QFile::encodeName(b).constData(), &sb) != 0) return false;
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

}  // namespace

bool HasPrintoutExtension(const QString& fileName) {
  return fileName.endsWith(kWyd, Qt::CaseInsensitive);
}

QString PrintoutName(const QString& fileName) {
  return HasPrintoutExtension(fileName) ? fileName.chopped(kWyd.size()) : fileName;
}

QString LibraryFile(const QString& dir, const QString& name, const QString& preferredExt) {
  const QString preferred = dir + name + preferredExt;
  if (QFileInfo::exists(preferred)) return preferred;
  const QStringList entries = QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System);
  for (const QString& entry : entries)
    if (entry.size() == name.size() + kWyd.size() && entry.startsWith(name) && HasPrintoutExtension(entry))
      return dir + entry;
  return preferred;
}

bool SamePrintoutPath(const QString& a, const QString& b) {
  if (sameFileOnDisk(a, b)) return true;
  // Names may differ in letter case (a printout is one file whatever the case
  // of its name), but only inside one directory: here "Docs" and "docs" are
  // two directories, and treating them as one would skip a needed copy.
  const QFileInfo fa(a);
  const QFileInfo fb(b);
  return fa.fileName().compare(fb.fileName(), Qt::CaseInsensitive) == 0 &&
         (fa.absolutePath() == fb.absolutePath() || sameFileOnDisk(fa.absolutePath(), fb.absolutePath()));
}

NameFault CheckPrintoutName(const QString& text) {
  static const QString forbidden = QStringLiteral("\\/:*?\"<>|");
  for (const QChar c : text)
    if (forbidden.contains(c)) return NameFault::ForbiddenChar;
  for (const QChar c : text)
    if (c.unicode() < 32 || c.unicode() == 127) return NameFault::ControlChar;
  if (text.isEmpty() || text.startsWith(u'.')) return NameFault::Hidden;
  return NameFault::None;
}

bool RenameLibraryFile(const QString& oldPath, const QString& newPath) {
  const QFileInfo oldInfo(oldPath);
  const QFileInfo newInfo(newPath);
  if (oldInfo.absolutePath() != newInfo.absolutePath() || !oldInfo.exists()) return false;
  if (oldPath == newPath) return true;
  const QString newName = newInfo.fileName();
  const QStringList entries =
      QDir(oldInfo.absolutePath()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
  for (const QString& entry : entries)
    if (entry != oldInfo.fileName() && entry.compare(newName, Qt::CaseInsensitive) == 0) return false;
  // QFile::rename never replaces an existing file; it only renames in place.
  return QFile::rename(oldPath, newPath);
}

}  // namespace zorpokaz
