#include "library/copyprintout.h"

#include "document/linedruk.h"
#include "library/libraryfiles.h"
#include "library/newlibraryfile.h"
#include "platform/files/filestream.h"
#include "ui/okienko.h"
#include "util/bajery.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

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

bool askOverwrite(const QString& dest) {
  return AskYesNo(QStringLiteral("Potwierdź dokopiowanie pliku"),
                  QStringLiteral("Plik \"") + dest + QStringLiteral("\" już istnieje !\r") +
                      QStringLiteral("Czy na pewno chcesz go pokryć ?"));
}

// The source's bytes and modification time into the new library file.
bool writeCopy(const QString& from, NewLibraryFile& out) {
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

// Moves the finished copy onto `dest`, asking again when something appeared
// under that name since the first look. True when it is there.
bool commitCopy(NewLibraryFile& out, const QString& dest, bool replace, bool& declined) {
  for (;;) {
    switch (out.commit(QFileInfo(dest).fileName(), replace)) {
      case MoveResult::Done:
        return true;
      case MoveResult::Failed:
        return false;
      case MoveResult::Exists:
        if (!askOverwrite(dest)) {
          declined = true;
          return false;
        }
        replace = true;
    }
  }
}

}  // namespace

QString PrintoutDestination(const QString& path, const QString& libraryDir) {
  const QString fileName = QFileInfo(path).fileName();
  if (!HasPrintoutExtension(fileName)) return libraryDir + VisiblePrintoutName(fileName);
  return LibraryFile(libraryDir, VisiblePrintoutName(PrintoutName(fileName)), fileName.right(4));
}

bool CopyPrintout(const QString& path, const QString& libraryDir) {
  if (!isPrintout(path)) {
    ShowError(QStringLiteral("Błąd"),
              QStringLiteral("Plik: \"") + path + QStringLiteral("\"\rnie jest wydrukiem Zorela !"));
    return false;
  }
  const QString dest = PrintoutDestination(path, libraryDir);
  if (SamePrintoutPath(path, dest)) return true;
  // Whatever stands under the name, a link or a dangling link too, is a file
  // the user is asked about; "Tak" replaces that entry, never a link's target.
  const bool replace = EntryExists(dest);
  if (replace && !askOverwrite(dest)) return false;
  RepaintAllForms();
  NewLibraryFile out(libraryDir);
  bool declined = false;
  if (writeCopy(path, out) && commitCopy(out, dest, replace, declined)) return true;
  if (!declined)
    ShowError(QStringLiteral("Bład !"), QStringLiteral("Nie udało się skopiować pliku:\r") + path +
                                             QStringLiteral("\rdo: ") + dest);
  return false;
}

}  // namespace zorpokaz
