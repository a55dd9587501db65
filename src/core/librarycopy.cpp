#include "core/librarycopy.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

#include "core/libraryfiles.h"
#include "core/newlibraryfile.h"
#include "document/linedruk.h"
#include "platform/files/filestream.h"

namespace zorpokaz {

bool IsPrintoutFile(const QString& path) {
  if (!QFileInfo(path).isFile())
    throw EFOpenError(("Cannot open file " + path).toStdString());
  FileStream stream(path);
  try {
    return CheckSignature(stream, "Wydruk");
  } catch (const EReadError&) {
    return false;  // shorter than a signature: not a printout
  }
}

QString PrintoutDestination(const QString& path, const QString& libraryDir) {
  const QString fileName = QFileInfo(path).fileName();
  if (!HasPrintoutExtension(fileName)) return libraryDir + VisiblePrintoutName(fileName);
  return LibraryFile(libraryDir, VisiblePrintoutName(PrintoutName(fileName)), fileName.right(4));
}

bool WriteLibraryCopy(const QString& from, NewLibraryFile& out) {
  QFile in(from);
  if (!in.open(QIODevice::ReadOnly) || !out.open()) return false;
  QByteArray buffer(64 * 1024, Qt::Uninitialized);
  for (;;) {
    const qint64 n = in.read(buffer.data(), buffer.size());
    if (n < 0) return false;
    if (n == 0) break;
    if (!out.write(buffer.constData(), n)) return false;
  }
  struct stat st {};
  return fstat(in.handle(), &st) == 0 && out.setModified(st.st_mtim);
}

}  // namespace zorpokaz
