// Reading what follows the launcher inside a package: the compressed viewer
// (one zlib stream between the two offsets of the version values) and the
// printout records after it. Records: reserved int32, name as a header string
// (length byte 0..253, or 254 + uint16, or 255 + int32, then code page 1250
// bytes), packed local time int32, size int32, then the data. Nothing here
// trusts a length: every size is checked against what is left of the file
// before anything is allocated or created.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QString>
#include <cstdint>
#include <functional>

namespace zorpokaz::paczka {

// The largest viewer a package may carry: room for a viewer built with debug
// information (about 30 MB; a shipped one is a few MB), and all a crafted
// stream can make the launcher write, which is never more than fits on the
// target.
constexpr std::int64_t kMaxViewerSize = std::int64_t(64) << 20;

struct RecordHeader {
  QByteArray Name;  // code page 1250 bytes
  std::uint32_t Time = 0;
  std::int64_t Size = 0;  // the data follows at the file's position
};

enum class RecordRead { Record, End, Damaged };

// Reads the next record's header at the file's position. Damaged when the
// header is cut short or the size is negative or larger than what is left.
RecordRead ReadRecordHeader(QFile& package, RecordHeader& record);

// A name's bytes as text (code page 1250; undefined bytes become U+FFFD).
QString DecodeName(const QByteArray& name);

// The name a printout is written under: a name that is empty or starts with
// "." would make a hidden file nobody sees in the viewer's list, so its
// leading dots are dropped, and a name left empty becomes "bez nazwy" (the
// viewer's reader does the same).
QString VisibleName(const QString& name);

// Why a record's name must not become a file: control characters, "/", "\",
// ".." or a file name too long for the file system. Empty when it is fine.
QString RefusedNameReason(const QByteArray& name);

// The packed date and time (high word: date, low word: time, local time) as a
// moment; invalid for 0 or impossible fields.
QDateTime PackedLocalTime(std::uint32_t packed);

// Sets the modification time of the existing regular file at `path` (never
// through a symbolic link, never waiting on a pipe); false when it cannot, or
// the time stamp is 0 or invalid.
bool SetPackedFileTime(const QString& path, std::uint32_t packed);

enum class InflateResult { Done, Short, Damaged, WriteFailed };

// Inflates the zlib stream in [from, to) of `package` into `out` a block at a
// time. Short: the file ends before `to`; Damaged: the stream is not one
// complete zlib stream, or inflates to more than kMaxViewerSize (of which
// nothing beyond that size is written).
InflateResult InflateViewer(QFile& package, std::int64_t from, std::int64_t to, QIODevice& out);
// The same without writing anything: Done with the inflated size in `size`.
InflateResult MeasureViewer(QFile& package, std::int64_t from, std::int64_t to, std::int64_t& size);

}  // namespace zorpokaz::paczka
