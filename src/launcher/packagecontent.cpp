#include "launcher/packagecontent.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <vector>
#include <zlib.h>

#include "launcher/bytes.h"

namespace zorpokaz::paczka {

namespace {

constexpr qint64 kBlock = 64 * 1024;
constexpr qsizetype kMaxFileName = 255;  // bytes, as the usual Linux file systems take

// Code page 1250, bytes 0x80..0xFF; 0xFFFD where the code page defines nothing.
constexpr std::array<char16_t, 128> kHighHalf = {
    0x20AC, 0xFFFD, 0x201A, 0xFFFD, 0x201E, 0x2026, 0x2020, 0x2021, 0xFFFD, 0x2030, 0x0160, 0x2039, 0x015A,
    0x0164, 0x017D, 0x0179, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0xFFFD, 0x2122,
    0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6,
    0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B, 0x00B0, 0x00B1, 0x02DB, 0x0142,
    0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C, 0x0154,
    0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, 0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD,
    0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA,
    0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF, 0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4,
    0x0151, 0x00F6, 0x00F7, 0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9};

bool readExact(QFile& f, void* out, qint64 count) { return f.read(static_cast<char*>(out), count) == count; }

template <typename T>
bool readLe(QFile& f, T& value) {
  unsigned char b[sizeof(T)];
  if (!readExact(f, b, sizeof b)) return false;
  value = LittleEndianAt<T>(b);
  return true;
}

}  // namespace

RecordRead ReadRecordHeader(QFile& package, RecordHeader& record) {
  if (package.atEnd() || package.pos() >= package.size()) return RecordRead::End;
  auto left = [&] { return package.size() - package.pos(); };
  std::int32_t reserved = 0, time = 0, size = 0;
  std::uint8_t marker = 0;
  if (!readLe(package, reserved) || !readLe(package, marker)) return RecordRead::Damaged;
  std::int64_t length = marker;
  if (marker == 254) {
    std::uint16_t n = 0;
    if (!readLe(package, n)) return RecordRead::Damaged;
    length = n;
  } else if (marker == 255) {
    std::int32_t n = 0;
    if (!readLe(package, n)) return RecordRead::Damaged;
    length = n;
  }
  if (length < 0 || length > left()) return RecordRead::Damaged;
  record.Name.resize(qsizetype(length));
  if (!readExact(package, record.Name.data(), length) || !readLe(package, time) || !readLe(package, size))
    return RecordRead::Damaged;
  if (size < 0 || size > left()) return RecordRead::Damaged;
  record.Time = std::uint32_t(time);
  record.Size = size;
  return RecordRead::Record;
}

QString DecodeName(const QByteArray& name) {
  QString text;
  text.reserve(name.size());
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    text += QChar(byte < 0x80 ? char16_t(byte) : kHighHalf[byte - 0x80]);
  }
  return text;
}

QString VisibleName(const QString& name) {
  qsizetype dots = 0;
  while (dots < name.size() && name[dots] == u'.') ++dots;
  return dots == name.size() ? QStringLiteral("bez nazwy") : name.mid(dots);
}

QString RefusedNameReason(const QByteArray& name) {
  for (const char c : name)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return QStringLiteral("nazwa zawiera znaki sterujące");
  if (name.contains('/') || name.contains('\\') || name.contains(".."))
    return QStringLiteral("nazwa zawiera niedozwolone znaki (/ \\ ..)");
  if (QFile::encodeName(DecodeName(name) + QStringLiteral(".wyd")).size() > kMaxFileName)
    return QStringLiteral("nazwa jest za długa");
  return {};
}

QDateTime PackedLocalTime(std::uint32_t packed) {
  if (packed == 0) return {};
  const std::uint32_t d = packed >> 16, t = packed & 0xFFFF;
  const QDate date(1980 + int(d >> 9), int((d >> 5) & 15), int(d & 31));
  const QTime time(int(t >> 11), int((t >> 5) & 63), int(t & 31) * 2);
  if (!date.isValid() || !time.isValid()) return {};
  return QDateTime(date, time);
}

bool SetPackedFileTime(const QString& path, std::uint32_t packed) {
  const QDateTime when = PackedLocalTime(packed);
  if (!when.isValid()) return false;
  // Opened for writing, as the time may only change on a file we could write;
  // a symbolic link planted in a shared directory is not followed.
  const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return false;
  }
  const std::int64_t ms = when.toMSecsSinceEpoch();
  timespec times[2];
  times[0].tv_sec = 0;
  times[0].tv_nsec = UTIME_OMIT;
  times[1].tv_sec = time_t(ms / 1000);
  times[1].tv_nsec = 0;
  const bool done = ::futimens(fd, times) == 0;
  ::close(fd);
  return done;
}

namespace {

// Inflates block by block, handing each piece to `sink` (false: it could not
// take it). Stops before a piece would take the total past kMaxViewerSize.
InflateResult inflateInto(QFile& package, std::int64_t from, std::int64_t to,
                          const std::function<bool(const char*, qint64)>& sink) {
  if (from < 0 || to < from || !package.seek(from)) return InflateResult::Short;
  z_stream z{};
  if (inflateInit(&z) != Z_OK) return InflateResult::Damaged;
  std::vector<char> in(kBlock), buffer(kBlock);
  std::int64_t left = to - from, written = 0;
  InflateResult result = InflateResult::Damaged;
  for (;;) {
    if (z.avail_in == 0 && left > 0) {
      const qint64 got = package.read(in.data(), std::min<std::int64_t>(left, kBlock));
      if (got <= 0) {
        result = InflateResult::Short;
        break;
      }
      left -= got;
      z.next_in = reinterpret_cast<Bytef*>(in.data());
      z.avail_in = uInt(got);
    }
    z.next_out = reinterpret_cast<Bytef*>(buffer.data());
    z.avail_out = uInt(buffer.size());
    const int status = inflate(&z, Z_NO_FLUSH);
    if (status != Z_OK && status != Z_STREAM_END && status != Z_BUF_ERROR) break;
    const qint64 produced = qint64(buffer.size()) - z.avail_out;
    written += produced;
    if (written > kMaxViewerSize) break;
    if (!sink(buffer.data(), produced)) {
      result = InflateResult::WriteFailed;
      break;
    }
    if (status == Z_STREAM_END) {
      result = InflateResult::Done;
      break;
    }
    // No progress with all input used: the stream ends before its end.
    if (status == Z_BUF_ERROR && z.avail_in == 0 && left == 0) break;
  }
  inflateEnd(&z);
  return result;
}

}  // namespace

InflateResult InflateViewer(QFile& package, std::int64_t from, std::int64_t to, QIODevice& out) {
  return inflateInto(package, from, to, [&out](const char* data, qint64 n) { return out.write(data, n) == n; });
}

InflateResult MeasureViewer(QFile& package, std::int64_t from, std::int64_t to, std::int64_t& size) {
  size = 0;
  return inflateInto(package, from, to, [&size](const char*, qint64 n) {
    size += n;
    return true;
  });
}

}  // namespace zorpokaz::paczka
