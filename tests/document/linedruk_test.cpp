// Signature, header strings, body strings and integer readers.
#include <gtest/gtest.h>

#include "document/linedruk.h"
#include "platform/files/memorystream.h"
#include "support/printoutwriter.h"

namespace zorpokaz {
namespace {

using writer::BodyBuilder;
using writer::headerString;

template <typename F>
std::string errorOf(F f) {
  try {
    f();
  } catch (const Error& e) {
    return e.what();
  }
  return {};
}

TEST(CheckSignature, AcceptsBothSignaturesAndOnlyTheExactTypeName) {
  struct Case {
    QByteArray bytes;
    bool result;
    qint64 positionAfter;  // -1: not checked
  };
  const QByteArray wydruk = headerString("Wydruk");
  const Case cases[] = {
      {"ZOREL2001" + wydruk + "BODY", true, 16},
      {"ZOREL2000" + wydruk + "BODY", true, 16},
      {"zorel2001" + wydruk, false, 9},  // type name not read
      {"ZOREL2002" + wydruk, false, 9},
      {"ZOREL2001" + headerString("WYDRUK"), false, -1},
      {"ZOREL2001" + headerString("wydruk"), false, -1},
      {"ZOREL2001" + headerString("Wydruk "), false, -1},
      {"ZOREL2001" + headerString("Wydruk", 254) + "B", true, 18},
      {"ZOREL2001" + headerString("Wydruk", 255) + "B", true, 20},
  };
  for (const Case& c : cases) {
    MemoryStream s(c.bytes);
    EXPECT_EQ(CheckSignature(s, "Wydruk"), c.result) << c.bytes.toStdString();
    if (c.positionAfter >= 0) {
      EXPECT_EQ(s.position(), c.positionAfter) << c.bytes.toStdString();
    }
  }
}

TEST(CheckSignature, ShortDataIsAStreamReadError) {
  for (const QByteArray& bytes : {QByteArray("ZOREL200"), QByteArray(), QByteArray("ZOREL2001"),
                                  QByteArray("ZOREL2001\x06Wydr"), QByteArray("ZOREL2001\xfe\x06")}) {
    MemoryStream s(bytes);
    EXPECT_EQ(errorOf([&] { CheckSignature(s, "Wydruk"); }), "Stream read error") << bytes.toStdString();
  }
}

TEST(ReadHeaderString, LengthForms) {
  struct Case {
    QByteArray bytes;
    QByteArray text;
  };
  const Case cases[] = {
      {QByteArray("\x00rest", 5), ""},
      {"\x03" "abcd", "abc"},
      {QByteArray(1, char(253)) + QByteArray(253, 'x'), QByteArray(253, 'x')},
      {BodyBuilder().u8(254).u16(300).data() + QByteArray(300, 'y'), QByteArray(300, 'y')},
      {BodyBuilder().u8(254).u16(0).data() + "z", ""},
      {BodyBuilder().u8(255).i32(5).data() + "hello!", "hello"},
      {BodyBuilder().u8(255).i32(0).data() + "z", ""},
      {BodyBuilder().u8(255).i32(-7).data() + "z", ""},
      {BodyBuilder().u8(255).i32(INT32_MIN).data(), ""},
  };
  for (const Case& c : cases) {
    MemoryStream s(c.bytes);
    EXPECT_EQ(ReadHeaderString(s), c.text);
  }
}

TEST(ReadHeaderString, ALengthBeyondTheDataFailsWithoutAllocatingIt) {
  // 2 GiB promised, 10 bytes present: read error, no 2 GiB buffer.
  MemoryStream s(BodyBuilder().u8(255).i32(INT32_MAX).data() + "0123456789");
  EXPECT_EQ(errorOf([&] { ReadHeaderString(s); }), "Stream read error");
  MemoryStream s2(BodyBuilder().u8(254).u16(11).data() + "0123456789");
  EXPECT_EQ(errorOf([&] { ReadHeaderString(s2); }), "Stream read error");
}

TEST(ReadBodyString, MarkersAndFailures) {
  struct Case {
    QByteArray bytes;
    QByteArray text;  // expected when no error
    bool fails;
  };
  const QByteArray longText(65535, 'L');
  const Case cases[] = {
      {BodyBuilder().str("abc").data() + "x", "abc", false},
      {BodyBuilder().str("").data(), "", false},
      {BodyBuilder().str("abc", true).data(), "abc", false},
      {BodyBuilder().str(longText).data(), longText, false},
      {BodyBuilder().u8(101).u8(255).data() + QByteArray(255, 'a'), QByteArray(255, 'a'), false},
      {BodyBuilder().u8(100).u8(1).data() + "a", "", true},
      {BodyBuilder().u8(103).u8(1).data() + "a", "", true},
      {BodyBuilder().u8(101).u8(5).data() + "abc", "", true},     // text cut short
      {BodyBuilder().u8(102).u16(65535).data() + "abc", "", true},
      {BodyBuilder().u8(102).u8(1).data(), "", true},            // length cut short
      {BodyBuilder().u8(101).data(), "", true},
      {QByteArray(), "", true},
  };
  for (const Case& c : cases) {
    MemoryStream s(c.bytes);
    QByteArray got;
    const std::string error = errorOf([&] { got = ReadBodyString(s); });
    if (c.fails) {
      EXPECT_EQ(error, "Błąd czytania z pliku [101]") << c.bytes.left(8).toHex().toStdString();
    } else {
      EXPECT_EQ(error, "");
      EXPECT_EQ(got, c.text);
    }
  }
}

TEST(IntegerReaders, LittleEndianPlainAndExact) {
  MemoryStream s(BodyBuilder().u8(0xAB).u16(0xBEEF).i32(-2).f32(1.5f).u8(7).data());
  std::uint8_t b = 0;
  std::uint16_t w = 0;
  std::int32_t i = 0;
  float f = 0;
  EXPECT_TRUE(ReadUInt8(s, b));
  EXPECT_TRUE(ReadUInt16(s, w));
  EXPECT_TRUE(ReadInt32(s, i));
  EXPECT_TRUE(ReadFloat32(s, f));
  EXPECT_EQ(b, 0xAB);
  EXPECT_EQ(w, 0xBEEF);
  EXPECT_EQ(i, -2);
  EXPECT_EQ(f, 1.5f);
  // A short plain read leaves the value as it was.
  i = 42;
  EXPECT_FALSE(ReadInt32(s, i));
  EXPECT_EQ(i, 42);
  EXPECT_EQ(errorOf([&] { ReadUInt8Exact(s); }), "Stream read error");

  MemoryStream e(BodyBuilder().u8(9).u16(0x1234).i32(INT32_MIN).u8(1).data());
  EXPECT_EQ(ReadUInt8Exact(e), 9);
  EXPECT_EQ(ReadUInt16Exact(e), 0x1234);
  EXPECT_EQ(ReadInt32Exact(e), INT32_MIN);
  EXPECT_EQ(errorOf([&] { ReadUInt16Exact(e); }), "Stream read error");
}

}  // namespace
}  // namespace zorpokaz
