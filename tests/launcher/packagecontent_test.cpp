// What follows the launcher in a package, read by the launcher's own code:
// record headers in every length form and every way of being cut short, the
// names it refuses, the packed time stamps and the streamed viewer.
#include <QBuffer>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <zlib.h>

#include "launcher/packagecontent.h"
#include "launcher/versionvalues.h"
#include "platform/codepage.h"
#include "platform/tfileverinfo.h"
#include "packagemaker.h"

namespace zorpokaz::paczka {
namespace {

using test::readFile;
using test::writeFile;

QByteArray le32(std::int32_t v) {
  QByteArray out;
  for (int i = 0; i < 4; ++i) out += char((std::uint32_t(v) >> (8 * i)) & 0xFF);
  return out;
}

QByteArray record(const QByteArray& nameField, std::int32_t time, std::int32_t size, const QByteArray& data) {
  return le32(0) + nameField + le32(time) + le32(size) + data;
}

QByteArray shortName(const QByteArray& name) { return char(name.size()) + name; }

class File {
 public:
  explicit File(const QByteArray& bytes) : m_file(m_dir.filePath("p")) {
    writeFile(m_dir.filePath("p"), bytes);
    m_file.open(QIODevice::ReadOnly);
  }
  QFile& operator*() { return m_file; }

 private:
  QTemporaryDir m_dir;
  QFile m_file;
};

TEST(LauncherRecords, EveryLengthFormIsReadAndTheDataFollows) {
  const QByteArray n253(253, 'a'), n254(254, 'b'), n300(300, 'c');
  struct Case {
    const char* what;
    QByteArray nameField;
    QByteArray name;
  } cases[] = {
      {"empty name", shortName(""), ""},
      {"253 bytes, one length byte", shortName(n253), n253},
      {"254 bytes, marker 254 and uint16", QByteArray("\xFE\xFE\x00", 3) + n254, n254},
      {"300 bytes, marker 255 and int32", "\xFF" + le32(300) + n300, n300},
      {"short name in the four-byte form", "\xFF" + le32(3) + "abc", "abc"},
  };
  for (const Case& c : cases) {
    File f(record(c.nameField, 0x5A8B6000, 3, "xyz") + record(shortName("z"), 0, 0, ""));
    RecordHeader r;
    ASSERT_EQ(ReadRecordHeader(*f, r), RecordRead::Record) << c.what;
    EXPECT_EQ(r.Name, c.name) << c.what;
    EXPECT_EQ(r.Time, 0x5A8B6000u) << c.what;
    EXPECT_EQ(r.Size, 3) << c.what;
    EXPECT_EQ((*f).read(3), "xyz") << c.what;
    ASSERT_EQ(ReadRecordHeader(*f, r), RecordRead::Record) << c.what;
    EXPECT_EQ(r.Size, 0) << c.what;  // an empty printout is still a record
    EXPECT_EQ(ReadRecordHeader(*f, r), RecordRead::End) << c.what;
  }
}

TEST(LauncherRecords, EveryCutAndEveryLyingLengthIsDamaged) {
  const QByteArray whole = record(shortName("faktura"), 1, 4, "data");
  for (qsizetype cut = 1; cut < whole.size(); ++cut) {
    File f(whole.left(cut));
    RecordHeader r;
    // Cut inside the data: the size no longer fits what is left.
    EXPECT_EQ(ReadRecordHeader(*f, r), RecordRead::Damaged) << "cut at " << cut;
  }
  const QByteArray lies[] = {
      record(shortName("a"), 0, -1, ""),
      record(shortName("a"), 0, 0x7FFFFFFF, "x"),
      le32(0) + "\xFF" + le32(-5) + "a" + le32(0) + le32(0),
      le32(0) + "\xFF" + le32(0x7FFFFFFF) + "a",
      le32(0) + QByteArray("\xFE\xFF\xFF", 3) + "a",
  };
  for (const QByteArray& bytes : lies) {
    File f(bytes);
    RecordHeader r;
    EXPECT_EQ(ReadRecordHeader(*f, r), RecordRead::Damaged) << bytes.toHex().toStdString();
  }
}

TEST(LauncherRecords, NamesAreCodePage1250LikeTheViewerReadsThem) {
  QByteArray all;
  for (int b = 0; b < 256; ++b) all += char(b);
  EXPECT_EQ(DecodeName(all), decodeWindowsCodePage(all, 1250));
  EXPECT_EQ(DecodeName("\xA3\xF3\x64\x9F"), QStringLiteral("Łódź"));
}

TEST(LauncherRecords, NamesThatCouldLeaveTheDirectoryAreRefused) {
  struct Case {
    QByteArray name;
    const char* reason;
  } cases[] = {
      {"faktura 2026", ""},
      {"", ""},
      {"a.b", ""},
      {"..", "nazwa zawiera niedozwolone znaki (/ \\ ..)"},
      {"..\\..\\etc\\x", "nazwa zawiera niedozwolone znaki (/ \\ ..)"},
      {"../x", "nazwa zawiera niedozwolone znaki (/ \\ ..)"},
      {"a/b", "nazwa zawiera niedozwolone znaki (/ \\ ..)"},
      {"a\nb", "nazwa zawiera znaki sterujące"},
      {QByteArray("a\0b", 3), "nazwa zawiera znaki sterujące"},
      {QByteArray(251, 'x'), ""},
      {QByteArray(252, 'x'), "nazwa jest za długa"},
      // Two bytes each once written as UTF-8.
      {QByteArray(125, '\xB3'), ""},
      {QByteArray(126, '\xB3'), "nazwa jest za długa"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(RefusedNameReason(c.name), QString::fromUtf8(c.reason)) << c.name.toHex().toStdString();
}

TEST(LauncherRecords, NamesThatWouldBeHiddenBecomeVisible) {
  const std::pair<const char*, const char*> cases[] = {
      {"faktura", "faktura"}, {"", "bez nazwy"}, {".", "bez nazwy"}, {"...", "bez nazwy"},
      {".ukryty", "ukryty"},  {"a.b.", "a.b."},  {" .x", " .x"},
  };
  for (const auto& [name, visible] : cases) EXPECT_EQ(VisibleName(name), QString(visible)) << name;
}

TEST(LauncherRecords, PackedTimeIsLocalTimeAndImpossibleValuesAreNone) {
  // 2026-12-07 10:30:44: date ((46 << 9) | (12 << 5) | 7), time ((10 << 11) | (30 << 5) | 22).
  const std::uint32_t packed = ((46u << 9 | 12u << 5 | 7u) << 16) | (10u << 11 | 30u << 5 | 22u);
  EXPECT_EQ(PackedLocalTime(packed), QDateTime(QDate(2026, 12, 7), QTime(10, 30, 44)));
  EXPECT_FALSE(PackedLocalTime(0).isValid());
  EXPECT_FALSE(PackedLocalTime((46u << 9 | 13u << 5 | 7u) << 16).isValid());    // month 13
  EXPECT_FALSE(PackedLocalTime(((46u << 9 | 2u << 5 | 30u) << 16)).isValid());  // 30 February
  EXPECT_FALSE(PackedLocalTime(((46u << 9 | 1u << 5 | 1u) << 16) | (24u << 11)).isValid());

  QTemporaryDir dir;
  const QString file = dir.filePath("a.wyd");
  writeFile(file, "x");
  ASSERT_TRUE(SetPackedFileTime(file, packed));
  EXPECT_EQ(QFileInfo(file).lastModified(), QDateTime(QDate(2026, 12, 7), QTime(10, 30, 44)));
  EXPECT_FALSE(SetPackedFileTime(file, 0));
  // A link is never followed to another file.
  ASSERT_EQ(::symlink(QFile::encodeName(file).constData(), QFile::encodeName(dir.filePath("l.wyd")).constData()), 0);
  EXPECT_FALSE(SetPackedFileTime(dir.filePath("l.wyd"), packed ^ 1));
  EXPECT_EQ(QFileInfo(file).lastModified(), QDateTime(QDate(2026, 12, 7), QTime(10, 30, 44)));
}

QByteArray zlibOf(const QByteArray& data) {
  uLongf size = compressBound(uLong(data.size()));
  QByteArray out(qsizetype(size), Qt::Uninitialized);
  compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(data.constData()),
            uLong(data.size()), 6);
  out.resize(qsizetype(size));
  return out;
}

TEST(LauncherViewerStream, InflatesInPiecesAndTellsShortFromDamaged) {
  // Larger than one read and one output block, and than the original fixed buffer.
  QByteArray viewer;
  for (int i = 0; viewer.size() < 900'000; ++i) viewer += QByteArray::number(i * 7919 % 100003) + ' ';
  const QByteArray stream = zlibOf(viewer);
  const QByteArray stub = "STUB";
  const qint64 from = stub.size(), to = from + stream.size();

  struct Case {
    const char* what;
    QByteArray file;
    InflateResult result;
  } cases[] = {
      {"whole, records after it", stub + stream + "records", InflateResult::Done},
      {"file ends inside the stream", stub + stream.left(stream.size() / 2), InflateResult::Short},
      {"stream ends before its end", stub + stream.left(stream.size() - 10) + QByteArray(10, 'r'),
       InflateResult::Damaged},
      {"not a zlib stream", stub + QByteArray(stream.size(), 'x'), InflateResult::Damaged},
  };
  for (const Case& c : cases) {
    File f(c.file);
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    EXPECT_EQ(InflateViewer(*f, from, to, out), c.result) << c.what;
    if (c.result == InflateResult::Done) {
      EXPECT_EQ(out.data(), viewer) << c.what;
    }
  }
  // A writer that gives up.
  File f(stub + stream);
  QBuffer closed;
  EXPECT_EQ(InflateViewer(*f, from, to, closed), InflateResult::WriteFailed);
  std::int64_t size = -1;
  EXPECT_EQ(MeasureViewer(*f, from, to, size), InflateResult::Done);
  EXPECT_EQ(size, viewer.size());
}

// Counts what it is given and keeps nothing.
class CountingDevice : public QIODevice {
 public:
  CountingDevice() { open(QIODevice::WriteOnly); }
  qint64 written = 0;

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char*, qint64 n) override {
    written += n;
    return n;
  }
};

// A stream of zeros that inflates past the cap: damaged, and no more than
// the cap was handed to the writer.
TEST(LauncherViewerStream, ABombStopsAtTheCap) {
  z_stream z{};
  ASSERT_EQ(deflateInit(&z, 9), Z_OK);
  const QByteArray zeros(1 << 20, '\0');
  QByteArray stream(1 << 20, Qt::Uninitialized);
  z.next_out = reinterpret_cast<Bytef*>(stream.data());
  z.avail_out = uInt(stream.size());
  for (std::int64_t left = kMaxViewerSize + zeros.size(); left > 0; left -= zeros.size()) {
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zeros.constData()));
    z.avail_in = uInt(zeros.size());
    ASSERT_EQ(deflate(&z, left > zeros.size() ? Z_NO_FLUSH : Z_FINISH), left > zeros.size() ? Z_OK : Z_STREAM_END);
  }
  stream.resize(qsizetype(z.total_out));
  deflateEnd(&z);
  File f("STUB" + stream);
  CountingDevice out;
  EXPECT_EQ(InflateViewer(*f, 4, 4 + stream.size(), out), InflateResult::Damaged);
  EXPECT_LE(out.written, kMaxViewerSize);
  EXPECT_GT(out.written, kMaxViewerSize - (1 << 20));
  std::int64_t size = 0;
  EXPECT_EQ(MeasureViewer(*f, 4, 4 + stream.size(), size), InflateResult::Damaged);
}

TEST(LauncherVersionValues, IntegersParseAsTheSystemParsesThem) {
  struct Case {
    const char* text;
    std::int32_t value;
  } cases[] = {
      {"0000041472", 41472}, {"316128", 316128}, {"  12", 12}, {"-7", -7},    {"+7", 7},
      {"$1F", 31},           {"$ff", 255},       {"", 0},      {"12a", 0},    {"1 2", 0},
      {"12 ", 0},            {"2147483647", 2147483647},       {"2147483648", 0},
      {"-2147483648", std::numeric_limits<std::int32_t>::min()}, {"$", 0},   {"$FFFFFFFF", -1},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseInteger(QString::fromLatin1(c.text)), c.value) << c.text;
}

// The built programs carry their values where both readers find them, and a
// damaged executable gives nothing rather than a crash.
TEST(LauncherVersionValues, BuiltProgramsAndDamagedCopies) {
  const QString launcher = test::launcherPath();
  ASSERT_TRUE(QFileInfo::exists(launcher));
  EXPECT_EQ(VersionValue(launcher, "FileDescription"), QStringLiteral("Przeglądarka Zorela 2001"));
  EXPECT_EQ(VersionValue(launcher, "rozmiar0"), "0000000000");
  EXPECT_EQ(VersionValue(launcher, "Nothing"), "");
  const QString viewer = test::viewerPath();
  const QString version = VersionValue(viewer, "FileVersion");
  EXPECT_FALSE(version.isEmpty());
  EXPECT_EQ(version, TFileVerInfo(viewer).StringByName("FileVersion"));

  const QByteArray elf = readFile(launcher);
  QTemporaryDir dir;
  const QString copy = dir.filePath("damaged");
  // Section table offset, count and names index pointing anywhere.
  for (const int at : {0x28, 0x2C, 0x3A, 0x3C, 0x3E, 0x04}) {
    for (const char value : {'\x00', '\x7F', '\xFF'}) {
      QByteArray bytes = elf;
      for (int i = 0; i < 2; ++i) bytes[at + i] = value;
      ASSERT_TRUE(writeFile(copy, bytes));
      const QString text = VersionValue(copy, "FileDescription");
      EXPECT_TRUE(text.isEmpty() || text == QStringLiteral("Przeglądarka Zorela 2001")) << at;
    }
  }
  for (const qsizetype size : {qsizetype(0), qsizetype(10), qsizetype(64), elf.size() / 2}) {
    ASSERT_TRUE(writeFile(copy, elf.left(size)));
    EXPECT_EQ(VersionValue(copy, "FileDescription"), "") << size;
  }
}

}  // namespace
}  // namespace zorpokaz::paczka
