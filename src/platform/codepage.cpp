#include "platform/codepage.h"

#include "platform/codepage_tables.h"

namespace zorpokaz {

namespace {

const char16_t* upperHalf(int codePage) {
  using namespace codepage_tables;
  switch (codePage) {
    case 874: return kCp874;
    case 1251: return kCp1251;
    case 1252: return kCp1252;
    case 1253: return kCp1253;
    case 1254: return kCp1254;
    case 1255: return kCp1255;
    case 1256: return kCp1256;
    case 1257: return kCp1257;
    case 1258: return kCp1258;
    default: return kCp1250;
  }
}

}  // namespace

int codePageForCharset(int charset) {
  switch (charset) {
    case 0: return 1252;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    default: return 1250;
  }
}

QChar codePageChar(int codePage, unsigned char byte) {
  return QChar(byte < 0x80 ? char16_t(byte) : upperHalf(codePage)[byte - 0x80]);
}

QString decodeWindowsCodePage(QByteArrayView bytes, int codePage) {
  const char16_t* upper = upperHalf(codePage);
  QString text(bytes.size(), Qt::Uninitialized);
  QChar* out = text.data();
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    *out++ = QChar(b < 0x80 ? char16_t(b) : upper[b - 0x80]);
  }
  return text;
}

QString decodeCodePage(QByteArrayView bytes, int charset) {
  return decodeWindowsCodePage(bytes, codePageForCharset(charset));
}

}  // namespace zorpokaz
