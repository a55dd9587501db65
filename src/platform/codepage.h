// Decoding of single-byte texts stored in printouts. A style's character set
// number selects the Windows code page the bytes are in.
#pragma once

#include <QByteArrayView>
#include <QString>

namespace zorpokaz {

// Code page for a font character set number: 0->1252, 161->1253, 162->1254,
// 177->1255, 178->1256, 186->1257, 204->1251, 238->1250, 222->874, 163->1258;
// 1 (the default set) and anything else -> 1250.
int codePageForCharset(int charset);

// Decodes `bytes` in the code page of `charset`. Bytes the code page leaves
// undefined become U+FFFD.
QString decodeCodePage(QByteArrayView bytes, int charset);

// One byte of code page `codePage` as a character.
QChar codePageChar(int codePage, unsigned char byte);

// Decodes `bytes` in code page `codePage` (one of the ten above; others are
// treated as 1250).
QString decodeWindowsCodePage(QByteArrayView bytes, int codePage);

}  // namespace zorpokaz
