#include "core/libraryfiles.h"

#include "core/newlibraryfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zorpokaz {

namespace {

const QString kWyd = QStringLiteral(".wyd");

bool lstatOf(const QString& path, struct stat& st) {
  return ::lstat(QFile::encodeName(path).constData(), &st) == 0;
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
  if (EntryExists(preferred)) return preferred;
  // Whatever stands there counts, a link or a directory too: the caller
  // asks about it rather than making a second name that differs in case.
  const QStringList entries = QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
  for (const QString& entry : entries)
    if (entry.size() == name.size() + kWyd.size() && entry.startsWith(name) && HasPrintoutExtension(entry))
      return dir + entry;
  return preferred;
}

bool SamePrintoutPath(const QString& path, const QString& inLibrary) {
  struct stat sp {}, sl {};
  if (::stat(QFile::encodeName(path).constData(), &sp) != 0 || !lstatOf(inLibrary, sl)) return false;
  return S_ISREG(sl.st_mode) && sp.st_dev == sl.st_dev && sp.st_ino == sl.st_ino;
}

bool EntryExists(const QString& path) {
  struct stat st {};
  return lstatOf(path, st);
}

QString VisiblePrintoutName(const QString& name) {
  qsizetype dots = 0;
  while (dots < name.size() && name[dots] == u'.') ++dots;
  return dots == name.size() ? QStringLiteral("bez nazwy") : name.mid(dots);
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
  if (oldInfo.absolutePath() != newInfo.absolutePath() || !EntryExists(oldPath)) return false;
  if (oldPath == newPath) return true;
  const QString newName = newInfo.fileName();
  const QStringList entries =
      QDir(oldInfo.absolutePath()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
  for (const QString& entry : entries)
    if (entry != oldInfo.fileName() && entry.compare(newName, Qt::CaseInsensitive) == 0) return false;
  const int dirFd = ::open(QFile::encodeName(oldInfo.absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd < 0) return false;
  const QByteArray from = QFile::encodeName(oldInfo.fileName()), to = QFile::encodeName(newName);
  // Never onto anything that stands under the new name, whatever appeared
  // since the look above, except the file itself where names ignore case.
  MoveResult moved = MoveInDirectory(dirFd, from, to, false);
  if (moved == MoveResult::Exists && SamePrintoutPath(oldPath, newPath)) moved = MoveInDirectory(dirFd, from, to, true);
  ::close(dirFd);
  return moved == MoveResult::Done;
}

}  // namespace zorpokaz
