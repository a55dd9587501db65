#include "core/packagereader.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <memory>
#include <vector>

#include <unistd.h>

#include "document/linedruk.h"
#include "core/libraryfiles.h"
#include "core/newlibraryfile.h"
#include "platform/codepage.h"
#include "platform/files/filestream.h"
#include "platform/tfileverinfo.h"
#include "core/strtoint.h"

namespace zorpokaz {

namespace {

constexpr int kNameCodePage = 1250;
constexpr qsizetype kCopyChunk = 64 * 1024;
// The longest file name (in bytes) the usual Linux file systems take.
constexpr qsizetype kMaxFileName = 255;

EPackageError damaged(const QString& path, const TPackageRecord* record) {
  QString message = QStringLiteral("Plik: ") + path + QStringLiteral("\rPaczka z wydrukami jest uszkodzona");
  if (record) message += QStringLiteral(" (wydruk \"") + ShownRecordName(record->Name) + QStringLiteral("\")");
  return EPackageError((message + QStringLiteral(" !")).toStdString());
}

// Copies the record's data into a new file of `dir`, which takes the record's
// time; the file is moved onto its name only once complete, and a failure
// leaves nothing behind.
void writeTemporary(SeekableStream& package, const TPackageRecord& record, const QString& dest,
                    NewLibraryFile& out) {
  if (!out.open()) throw Error("Cannot create file " + dest.toStdString());
  std::int64_t size = record.Size;
  std::vector<char> buffer(static_cast<std::size_t>(std::min<std::int64_t>(size, kCopyChunk)));
  while (size > 0) {
    const auto piece = static_cast<qsizetype>(std::min<std::int64_t>(size, kCopyChunk));
    package.readBuffer(buffer.data(), static_cast<std::size_t>(piece));
    if (!out.write(buffer.data(), piece)) throw Error("Stream write error");
    size -= piece;
  }
  const QDateTime when = PackedDateTime(static_cast<std::uint32_t>(record.Time));
  if (when.isValid()) out.setModified(timespec{static_cast<time_t>(when.toSecsSinceEpoch()), 0});
}

// Asks until nothing stands under `dest` (a link counts) or the user keeps
// it; true when it is kept. "Tak" removes the entry itself, never what a link
// points to.
bool keepExisting(const QString& dest, ExtractHandler& handler, int& attempt) {
  for (; EntryExists(dest); ++attempt) {
    if (!handler.ConfirmOverwrite(dest, attempt)) return true;
    ::unlink(QFile::encodeName(dest).constData());
  }
  return false;
}

// The record's data into `dest`, unless the user keeps what stands there;
// true when written.
bool extractRecord(SeekableStream& package, const QString& path, const TPackageRecord& record, const QString& dir,
                   const QString& dest, ExtractHandler& handler) {
  int attempt = 0;
  if (keepExisting(dest, handler, attempt)) {
    handler.BeforeWrite();
    package.seek(package.position() + record.Size);
    return false;
  }
  handler.BeforeWrite();
  NewLibraryFile out(dir);
  try {
    writeTemporary(package, record, dest, out);
  } catch (const EReadError&) {
    throw damaged(path, &record);
  }
  // Something put under the name while the data was copied is asked about too.
  for (;;) {
    switch (out.commit(QFileInfo(dest).fileName(), false)) {
      case MoveResult::Done:
        return true;
      case MoveResult::Failed:
        throw Error("Cannot create file " + dest.toStdString());
      case MoveResult::Exists:
        if (keepExisting(dest, handler, attempt)) return false;
    }
  }
}

}  // namespace

ExtractHandler::~ExtractHandler() = default;

std::int64_t CheckPackage(const QString& path) {
  QString description, sizeText;
  {
    const TFileVerInfo info(path);
    description = info.StringByIndex(2);
    sizeText = info.StringByName(QStringLiteral("Rozmiar"));
  }
  const std::int64_t size = StrToIntOrZero(sizeText.toStdString());
  if (description != QString::fromUtf8(kPackageDescription))
    throw EPackageError(("Plik: " + path + "\rTo nie jest paczka z wydrukami Zorela !").toStdString());
  // A negative offset would read the stub itself as printout records.
  if (size <= 0)
    throw EPackageError(("Plik: " + path + "\rBrak informacji o rozmiarze paczki !").toStdString());
  return size;
}

TPackageRecord ReadPackageRecord(SeekableStream& package) {
  TPackageRecord record;
  record.Reserved = ReadInt32Exact(package);
  record.Name = ReadHeaderString(package);
  record.Time = ReadInt32Exact(package);
  record.Size = ReadInt32Exact(package);
  return record;
}

QString ShownRecordName(const QByteArray& name) {
  QString shown = decodeWindowsCodePage(name, kNameCodePage);
  for (QChar& c : shown)
    if (c.unicode() < 0x20 || c.unicode() == 0x7F) c = QLatin1Char('?');
  return shown;
}

QString RefusedNameReason(const QByteArray& name) {
  for (const char c : name)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
      return QStringLiteral("nazwa zawiera znaki sterujące");
  if (name.contains('/') || name.contains('\\') || name.contains(".."))
    return QStringLiteral("nazwa zawiera niedozwolone znaki (/ \\ ..)");
  const QString fileName = decodeWindowsCodePage(name, kNameCodePage) + QStringLiteral(".WYD");
  if (QFile::encodeName(fileName).size() > kMaxFileName) return QStringLiteral("nazwa jest za długa");
  return {};
}

QDateTime PackedDateTime(std::uint32_t packed) {
  if (packed == 0) return {};
  const std::uint32_t d = packed >> 16, t = packed & 0xFFFF;
  const QDate date(1980 + int(d >> 9), int((d >> 5) & 15), int(d & 31));
  const QTime time(int(t >> 11), int((t >> 5) & 63), int(t & 31) * 2);
  if (!date.isValid() || !time.isValid()) return {};
  return QDateTime(date, time);
}

void ExtractPrintouts(const QString& path, std::int64_t offset, const QString& dir,
                      ExtractHandler& handler) {
  FileStream package(path);
  ExtractPrintouts(package, path, offset, dir, handler);
}

void ExtractPrintouts(SeekableStream& package, const QString& path, std::int64_t offset, const QString& dir,
                      ExtractHandler& handler) {
  if (offset < 0 || offset > package.size()) throw damaged(path, nullptr);
  package.seek(offset);
  while (package.position() < package.size()) {
    TPackageRecord record;
    try {
      record = ReadPackageRecord(package);
    } catch (const EReadError&) {
      throw damaged(path, nullptr);
    }
    // Checked before anything is created: a record must hold all its data.
    if (record.Size < 0 || record.Size > package.size() - package.position()) throw damaged(path, &record);
    const QString why = RefusedNameReason(record.Name);
    if (!why.isEmpty()) {
      handler.NameRefused(QStringLiteral("Plik: ") + path + QStringLiteral("\rPominięto wydruk \"") +
                          ShownRecordName(record.Name) + QStringLiteral("\": ") + why + QStringLiteral(" !"));
      package.seek(package.position() + record.Size);
      continue;
    }
    const QString name = VisiblePrintoutName(decodeWindowsCodePage(record.Name, kNameCodePage));
    const QString dest = LibraryFile(dir, name, QStringLiteral(".WYD"));
    const bool kept = !extractRecord(package, path, record, dir, dest, handler);
    handler.Done(dest, !kept);
  }
}

}  // namespace zorpokaz
