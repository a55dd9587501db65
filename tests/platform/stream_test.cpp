#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <vector>

#include "platform/errors.h"
#include "platform/files/filestream.h"
#include "platform/files/memorystream.h"
#include "platform/files/zdecompressionstream.h"
#include "support/printoutwriter.h"

namespace zorpokaz {
namespace {

// Records the size of every read its source is asked for.
class CountingStream : public Stream {
 public:
  explicit CountingStream(QByteArray data) : m_inner(std::move(data)) {}
  std::size_t read(void* buffer, std::size_t count) override {
    requests.push_back(count);
    return m_inner.read(buffer, count);
  }
  std::vector<std::size_t> requests;

 private:
  MemoryStream m_inner;
};

QByteArray pattern(int size) {
  QByteArray data(size, Qt::Uninitialized);
  unsigned state = 12345;
  for (char& c : data) {
    state = state * 1103515245u + 12345u;
    c = static_cast<char>(state >> 24);
  }
  return data;
}

QByteArray readAll(Stream& stream, std::size_t piece = 1000) {
  QByteArray out;
  std::vector<char> buf(piece);
  while (std::size_t n = stream.read(buf.data(), buf.size())) out.append(buf.data(), n);
  return out;
}

TEST(MemoryStream, PlainReadReturnsWhatIsLeftAndExactReadFails) {
  MemoryStream s(QByteArray("abcdef"));
  char buf[8] = {};
  EXPECT_EQ(s.read(buf, 4), 4u);
  EXPECT_EQ(s.read(buf, 4), 2u);
  EXPECT_EQ(s.read(buf, 4), 0u);
  s.seek(3);
  EXPECT_EQ(s.position(), 3);
  try {
    s.readBuffer(buf, 4);
    FAIL() << "exact read past the end";
  } catch (const EReadError& e) {
    EXPECT_STREQ(e.what(), "Stream read error");
  }
}

TEST(FileStream, ReadsAFileAndReportsOneThatCannotBeOpened) {
  QTemporaryDir dir;
  const QString name = dir.filePath("x.bin");
  QFile f(name);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("hello");
  f.close();
  FileStream s(name);
  EXPECT_EQ(s.size(), 5);
  EXPECT_EQ(readAll(s), QByteArray("hello"));

  for (const QString& bad : {dir.filePath("missing.wyd"), dir.path()}) {
    try {
      FileStream missing(bad);
      FAIL() << "opened " << bad.toStdString();
    } catch (const EFOpenError& e) {
      EXPECT_EQ(std::string(e.what()), "Cannot open file " + bad.toStdString());
    }
  }
}

TEST(ZDecompressionStream, InflatesInSourceBlocksOf64KiB) {
  const QByteArray plain = pattern(300000);
  CountingStream source(writer::compressBody(plain, 1));
  ZDecompressionStream z(source);
  EXPECT_EQ(readAll(z, 7777), plain);
  EXPECT_TRUE(z.finished());
  ASSERT_FALSE(source.requests.empty());
  for (std::size_t r : source.requests) EXPECT_EQ(r, 65536u);
}

TEST(ZDecompressionStream, StopsAtTheEndOfTheZlibStream) {
  const QByteArray plain = pattern(1000);
  MemoryStream source(writer::compressBody(plain) + QByteArray("trailing bytes"));
  ZDecompressionStream z(source);
  char buf[2000];
  EXPECT_EQ(z.read(buf, sizeof buf), 1000u);
  EXPECT_EQ(z.read(buf, sizeof buf), 0u);
  EXPECT_EQ(z.read(buf, 1), 0u);
  EXPECT_THROW(z.readBuffer(buf, 1), EReadError);
}

TEST(ZDecompressionStream, ACutSourceIsAShortPlainRead) {
  const QByteArray plain = pattern(5000);
  const QByteArray packed = writer::compressBody(plain, 0);  // stored: bytes come out as they go in
  MemoryStream source(packed.left(packed.size() / 2));
  ZDecompressionStream z(source);
  const QByteArray got = readAll(z);
  EXPECT_GT(got.size(), 0);
  EXPECT_LT(got.size(), plain.size());
  EXPECT_EQ(got, plain.left(got.size()));
  EXPECT_FALSE(z.finished());
}

TEST(ZDecompressionStream, CorruptDataIsError) {
  struct Case {
    const char* what;
    QByteArray data;
  };
  QByteArray badBlock = writer::compressBody(pattern(2000));
  badBlock[2] = static_cast<char>(0xFF);  // reserved block type 3
  QByteArray badChecksum = writer::compressBody(pattern(2000));
  badChecksum[badChecksum.size() - 1] ^= 1;
  const Case cases[] = {
      {"bad header", QByteArray("\x78\x00 not zlib", 11)},
      {"bad block type", badBlock},
      {"bad adler-32", badChecksum},
      {"preset dictionary", QByteArray("\x78\xBB\x00\x00\x00\x01\x03\x00", 8)},
  };
  for (const Case& c : cases) {
    MemoryStream source(c.data);
    ZDecompressionStream z(source);
    try {
      readAll(z);
      ADD_FAILURE() << c.what << ": no error";
    } catch (const EDecompressionError& e) {
      EXPECT_STREQ(e.what(), "error") << c.what;
    }
  }
}

TEST(ZDecompressionStream, DamageSurfacesWithTheReadThatTakesTheLastGoodByte) {
  const QByteArray plain = pattern(200000);
  QByteArray packed = writer::compressBody(plain, 0);  // stored blocks
  const int firstLength = static_cast<unsigned char>(packed[3]) | static_cast<unsigned char>(packed[4]) << 8;
  const int second = 2 + 5 + firstLength;  // the second block's header
  packed[second + 3] ^= 1;                 // its NLEN no longer matches LEN
  {
    MemoryStream source(packed);
    ZDecompressionStream z(source);
    QByteArray got(firstLength - 1, Qt::Uninitialized);
    z.readBuffer(got.data(), static_cast<std::size_t>(got.size()));
    EXPECT_EQ(got, plain.left(firstLength - 1));
    char last;
    EXPECT_THROW(z.read(&last, 1), EDecompressionError);
    EXPECT_THROW(z.read(&last, 1), EDecompressionError);
  }
  MemoryStream source(packed);
  ZDecompressionStream z(source);
  std::size_t delivered = 0;
  char buf[1000];
  try {
    for (;;) delivered += z.read(buf, sizeof buf);
  } catch (const EDecompressionError& e) {
    EXPECT_STREQ(e.what(), "error");
  }
  EXPECT_LT(delivered, static_cast<std::size_t>(firstLength));
  EXPECT_GE(delivered + sizeof buf, static_cast<std::size_t>(firstLength));
}

// Delivers its first `good` bytes, then fails as a disk would.
class FailingStream : public Stream {
 public:
  FailingStream(QByteArray data, std::size_t good) : m_inner(std::move(data)), m_good(good) {}
  std::size_t read(void* buffer, std::size_t count) override {
    if (m_delivered >= m_good) throw EReadError("Stream read error");
    const std::size_t n = m_inner.read(buffer, std::min(count, m_good - m_delivered));
    m_delivered += n;
    return n;
  }

 private:
  MemoryStream m_inner;
  std::size_t m_good;
  std::size_t m_delivered = 0;
};

TEST(ZDecompressionStream, ASourceThatFailsFailsTheReadsThatNeedItsBytesAfterTheGoodOnes) {
  // The source is read ahead of the reader: its failure must still reach
  // the reader only where the bytes run out, and every read after it.
  const QByteArray plain = pattern(400000);
  FailingStream source(writer::compressBody(plain, 0), 2 * ZDecompressionStream::kSourceBlockSize);
  ZDecompressionStream z(source);
  QByteArray got;
  char buf[1];  // byte by byte: a read that fails takes nothing
  auto readUntilFailure = [&] {
    try {
      for (;;) got.append(buf, static_cast<qsizetype>(z.read(buf, sizeof buf)));
    } catch (const EReadError& e) {
      EXPECT_STREQ(e.what(), "Stream read error");
      return true;
    }
  };
  ASSERT_TRUE(readUntilFailure());
  const qsizetype first = got.size();
  EXPECT_GT(first, 60000);
  // What was inflated before the source failed is still delivered.
  ASSERT_TRUE(readUntilFailure());
  EXPECT_GT(got.size(), first);
  EXPECT_LT(got.size(), plain.size());
  EXPECT_EQ(got, plain.left(got.size()));
  EXPECT_THROW(z.read(buf, sizeof buf), EReadError);
  ZDecompressionStream::Piece piece;
  EXPECT_THROW(z.peek(piece), EReadError);
}

TEST(ZDecompressionStream, LeavesTheSourceWhereItWasUntilTheFirstRead) {
  const QByteArray packed = writer::compressBody(pattern(300000), 1);
  MemoryStream source(QByteArray("head") + packed);
  char head[4];
  source.readBuffer(head, 4);
  ZDecompressionStream z(source);
  EXPECT_EQ(source.position(), 4);
  EXPECT_EQ(readAll(z, 3000), pattern(300000));
}

}  // namespace
}  // namespace zorpokaz
