#include <gtest/gtest.h>

#include "platform/codepage.h"

namespace zorpokaz {
namespace {

TEST(CodePage, CharsetSelectsTheWindowsCodePage) {
  const std::pair<int, int> table[] = {{0, 1252},   {161, 1253}, {162, 1254}, {163, 1258}, {177, 1255},
                                       {178, 1256}, {186, 1257}, {204, 1251}, {222, 874},  {238, 1250},
                                       {1, 1250},   {2, 1250},   {77, 1250},  {-1, 1250}};
  for (auto [charset, codePage] : table) EXPECT_EQ(codePageForCharset(charset), codePage) << charset;
}

TEST(CodePage, DecodesBytesOfEachCodePage) {
  struct Case {
    int charset;
    const char* bytes;
    const char* utf8;
  };
  const Case cases[] = {
      {238, "Za\xbf\xf3\xb3\xe6 g\xea\x9cl\xb9 ja\x9f\xf1", "Zażółć gęślą jaźń"},
      {186, "Za\xfd\xf3\xf9\xe3 g\xe6\xfal\xe0 ja\xea\xf1", "Zażółć gęślą jaźń"},
      {0, "\x80 caf\xe9 \x9f", "€ café Ÿ"},
      {204, "\xcf\xf0\xe8\xe2\xe5\xf2", "Привет"},
      {161, "\xc1\xe8\xe7\xe1", "Αθηα"},
      {162, "\xd0\xfe\xdd", "Ğşİ"},
      {177, "\xf9\xec\xe5\xed", "שלום"},
      {178, "\xc7\xe1\xda\xd1\xc8\xed\xc9", "العربية"},
      {222, "\xca\xc7\xd1\xca\xb4\xd5", "สวัสดี"},
      {163, "Vi\xea\xd2t", "Viểt"},
      {1, "\xa5\xb9", "Ąą"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(decodeCodePage(QByteArrayView(c.bytes), c.charset), QString::fromUtf8(c.utf8)) << c.charset;
}

TEST(CodePage, UndefinedBytesBecomeReplacementCharacters) {
  EXPECT_EQ(decodeCodePage("\x81", 0), QString(QChar(0xFFFD)));
  EXPECT_EQ(decodeCodePage("\xdb", 222), QString(QChar(0xFFFD)));
  EXPECT_EQ(decodeCodePage(QByteArrayView("a\0b", 3), 238), QString::fromUtf16(u"a\0b", 3));
}

}  // namespace
}  // namespace zorpokaz
