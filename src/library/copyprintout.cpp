#include "library/copyprintout.h"

#include "document/linedruk.h"
#include "library/libraryfiles.h"
#include "platform/files/filestream.h"
#include "ui/okienko.h"
#include "util/bajery.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace zorpokaz {

namespace {

bool isPrintout(const QString& path) {
  // Only a regular file is opened: a pipe or a device would block or never end.
  if (!QFileInfo(path).isFile())
    throw EFOpenError(("Cannot open file " + path).toStdString());
  FileStream stream(path);
  try {
    return CheckSignature(stream, "Wydruk");
  } catch (const EReadError&) {
    return false;  // shorter than a signature: not a printout
  }
}

bool copyFile(const QString& from, const QString& to) {
  QFile in(from);
  if (!in.open(QIODevice::ReadOnly)) return false;
  QSaveFile out(to);
  if (!out.open(QIODevice::WriteOnly)) return false;
  QByteArray buffer(64 * 1024, Qt::Uninitialized);
  for (;;) {
    const qint64 n = in.read(buffer.data(), buffer.size());
    if (n < 0) return false;
    if (n == 0) break;
    if (out.write(buffer.constData(), n) != n) return false;
  }
  const QDateTime modified = QFileInfo(in).lastModified();
  if (!out.commit()) return false;
  QFile done(to);
  if (done.open(QIODevice::ReadWrite)) done.setFileTime(modified, QFileDevice::FileModificationTime);
  return true;
}

}  // namespace

QString PrintoutDestination(const QString& path, const QString& libraryDir) {
  const QString fileName = QFileInfo(path).fileName();
  if (!HasPrintoutExtension(fileName)) return libraryDir + fileName;
  return LibraryFile(libraryDir, PrintoutName(fileName), fileName.right(4));
}

bool CopyPrintout(const QString& path, const QString& libraryDir) {
  if (!isPrintout(path)) {
    ShowError(QStringLiteral("Błąd"),
              QStringLiteral("Plik: \"") + path + QStringLiteral("\"\rnie jest wydrukiem Zorela !"));
    return false;
  }
  const QString dest = PrintoutDestination(path, libraryDir);
  if (SamePrintoutPath(path, dest)) return true;
  if (QFileInfo::exists(dest) &&
      !AskYesNo(QStringLiteral("Potwierdź dokopiowanie pliku"),
                QStringLiteral("Plik \"") + dest + QStringLiteral("\" już istnieje !\r") +
                    QStringLiteral("Czy na pewno chcesz go pokryć ?")))
    return false;
  RepaintAllForms();
  if (!copyFile(path, dest)) {
    ShowError(QStringLiteral("Bład !"), QStringLiteral("Nie udało się skopiować pliku:\r") + path +
                                             QStringLiteral("\rdo: ") + dest);
    return false;
  }
  return true;
}

}  // namespace zorpokaz
