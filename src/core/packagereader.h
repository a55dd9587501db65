// Reading packages of printouts: a Windows executable (or our own launcher)
// whose version values identify it and give the offset of the first printout
// record ("Rozmiar"), followed by records of reserved int32, name (header
// string, code page 1250), packed local date-time, size and data.
//
// A package is input from outside: record names that could leave the target
// directory are refused, sizes are checked against what the file holds before
// anything is created, data is copied in bounded pieces, and a printout is
// only ever visible complete (it is written beside its place and moved there).
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <cstdint>

#include "platform/errors.h"
#include "platform/files/stream.h"

namespace zorpokaz {

// A package that is not one, or whose records are damaged.
class EPackageError : public Error {
 public:
  using Error::Error;
};

inline constexpr char kPackageDescription[] = "Przeglądarka Zorela 2001";

// Offset of the first printout record. Throws EFileVerInfoError (no usable
// version resource), EConvertError ("Rozmiar" is not an integer) or
// EPackageError ("To nie jest paczka z wydrukami Zorela !", "Brak informacji o
// rozmiarze paczki !" for a missing, zero or negative "Rozmiar").
std::int64_t CheckPackage(const QString& path);

struct TPackageRecord {
  std::int32_t Reserved = 0;
  QByteArray Name;  // code page 1250
  std::int32_t Time = 0;
  std::int32_t Size = 0;
};

// Reads a record header at the stream's position (exact reads: "Stream read
// error" when the package ends inside it). Leaves the stream at the data.
TPackageRecord ReadPackageRecord(SeekableStream& package);

// The record name as the user reads it: code page 1250, control characters
// shown as "?".
QString ShownRecordName(const QByteArray& name);

// Empty when name + ".WYD" can be created in a directory; otherwise the
// reason it cannot: a "/", "\", "..", a control character, or a file name
// too long for the file system.
QString RefusedNameReason(const QByteArray& name);

// A packed local date-time (date in the high 16 bits, time in the low) as a
// moment; invalid for 0 or a value that is no date.
QDateTime PackedDateTime(std::uint32_t packed);

// The decisions the caller makes while printouts are taken out.
class ExtractHandler {
 public:
  virtual ~ExtractHandler();
  // `dest` exists; true replaces it. Asked again (attempt 1, 2, ...) while a
  // replaced file could not be deleted.
  virtual bool ConfirmOverwrite(const QString& dest, int attempt) = 0;
  // A record skipped because of its name; `message` says why.
  virtual void NameRefused(const QString& message) = 0;
  // Just before a printout file is written.
  virtual void BeforeWrite() {}
  // A record handled: written to `dest`, or kept as it was.
  virtual void Done(const QString& dest, bool written) { (void)dest, (void)written; }
};

// Takes every record from `offset` to the end of the package at `path` into
// `dir` (ending with "/") as name + ".WYD" (an existing printout of that name
// whatever the case of its extension; a name that would be hidden made
// visible with VisiblePrintoutName). Nothing is written through a link that
// stands under a printout's name: it is asked about like a file. Throws EFOpenError for a package that
// cannot be opened, EPackageError for a damaged record and Error for a file
// that cannot be written; printouts written before stay.
void ExtractPrintouts(const QString& path, std::int64_t offset, const QString& dir,
                      ExtractHandler& handler);
// The same over an open package; `path` only names it in messages.
void ExtractPrintouts(SeekableStream& package, const QString& path, std::int64_t offset, const QString& dir,
                      ExtractHandler& handler);

}  // namespace zorpokaz
