#include "platform/bytereader.h"

namespace zorpokaz {

QString Utf16LeText(QByteArrayView bytes) {
  const ByteReader reader(bytes);
  QString text;
  for (std::uint64_t at = 0; const auto c = reader.u16(at); at += 2) {
    if (*c == 0) break;
    text += QChar(char16_t(*c));
  }
  return text;
}

}  // namespace zorpokaz
