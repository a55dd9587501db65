// The one little-endian reader of the binary formats: values where the bytes
// hold them, nothing (never a read past the end) where they do not, whatever
// offsets a damaged file names, the largest ones included.
#include "platform/bytereader.h"

#include <gtest/gtest.h>

#include <limits>

namespace zorpokaz {
namespace {

TEST(ByteReader, ReadsLittleEndianValuesOnlyWhereTheyFit) {
  const QByteArray data("\x01\x02\x03\x04\x05\x06\x07\x08\x09", 9);
  const ByteReader r(data);
  EXPECT_EQ(r.u16(0), 0x0201);
  EXPECT_EQ(r.u32(5), 0x09080706u);
  EXPECT_EQ(r.u64(1), 0x0908070605040302ull);
  EXPECT_EQ(r.le<std::int8_t>(8), 9);
  EXPECT_EQ(r.u16(8), std::nullopt);  // one byte short
  EXPECT_EQ(r.u64(2), std::nullopt);
  EXPECT_EQ(r.u32(9), std::nullopt);
  ASSERT_TRUE(r.slice(9, 0));
  EXPECT_TRUE(r.slice(9, 0)->isEmpty());
  EXPECT_EQ(r.slice(7, 2)->toByteArray(), QByteArray("\x08\x09"));
  EXPECT_EQ(r.slice(7, 3), std::nullopt);

  // Offsets and counts a damaged file makes up must not wrap round into the data.
  constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
  for (std::uint64_t at : {kMax, kMax - 1, kMax - 7, std::uint64_t(1) << 63, std::uint64_t(10)}) {
    EXPECT_EQ(r.u32(at), std::nullopt) << at;
    EXPECT_EQ(r.slice(at, 1), std::nullopt) << at;
  }
  EXPECT_EQ(r.slice(1, kMax), std::nullopt);
  EXPECT_FALSE(r.fits(2, kMax - 1));
  EXPECT_EQ(ByteReader(QByteArrayView()).u16(0), std::nullopt);
  // Signed values keep their sign.
  EXPECT_EQ(ByteReader(QByteArray("\xFE\xFF\xFF\xFF", 4)).le<std::int32_t>(0), -2);
}

TEST(ByteReader, Utf16TextEndsAtZeroOrAtTheLastWholeCharacter) {
  EXPECT_EQ(Utf16LeText(QByteArray("1\0.\0" "2\0\0\0x\0", 10)), QStringLiteral("1.2"));
  EXPECT_EQ(Utf16LeText(QByteArray("\x05\x01" "a\0" "b", 5)), QStringLiteral("ąa"));  // odd byte dropped
  EXPECT_EQ(Utf16LeText(QByteArray()), QString());
  EXPECT_EQ(Utf16LeText(QByteArray("\0\0a\0", 4)), QString());
}

}  // namespace
}  // namespace zorpokaz
