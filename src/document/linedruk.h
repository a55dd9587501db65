// Reading routines of the printout file: the signature check, header and body
// strings, little-endian integer readers and opening of the compressed body,
// plus the reader's own error class.
//
// Two kinds of integer reader, as the file format distinguishes them:
//  - plain (Read*): return false when the data ends first and then leave the
//    value unchanged (only the record marker checks notice the end);
//  - exact (Read*Exact): throw EReadError("Stream read error") when short.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <memory>

#include "platform/errors.h"
#include "platform/files/filestream.h"
#include "platform/files/zdecompressionstream.h"

namespace zorpokaz {

// A malformed printout body; the message is the user-facing text.
class EReadFileError : public Error {
 public:
  using Error::Error;
};

// Highest body version this reader accepts.
inline constexpr int kMaxBodyVersion = 6;

// Record markers of the body.
enum Marker : std::uint8_t {
  kMarkerStyle = 1,
  kMarkerBlock = 3,
  kMarkerGroup = 4,
  kMarkerLine = 5,
  kMarkerField = 6,
  kMarkerBlockChildren = 12,
  kMarkerBlockName = 15,
  kMarkerShortString = 101,
  kMarkerLongString = 102,
};

// The type name printouts carry after the signature.
inline constexpr char kTypeNameWydruk[] = "Wydruk";

// "Błąd czytania z pliku [<marker>]"
EReadFileError markerError(int expectedMarker);
// "Błąd odczytu - nieznana wersja pliku [<version>]"
EReadFileError versionError(int version);
// "Plik nie zawiera prawidłowego wydruku Zorela": the file is no printout, or
// it is one that cannot be read here (its layout goes past what any printout
// can be, or memory runs out on it).
EReadError notReadableError();

// Plain little-endian readers.
bool ReadUInt8(Stream& stream, std::uint8_t& value);
bool ReadUInt16(Stream& stream, std::uint16_t& value);
bool ReadInt32(Stream& stream, std::int32_t& value);
bool ReadFloat32(Stream& stream, float& value);

// Exact little-endian readers.
std::uint8_t ReadUInt8Exact(Stream& stream);
std::uint16_t ReadUInt16Exact(Stream& stream);
std::int32_t ReadInt32Exact(Stream& stream);

// True when the stream starts with "ZOREL2001" or "ZOREL2000" followed by the
// header string `typeName` (both case-sensitive). Reads the type name only when
// the signature matched; on true the stream stands at the first body byte.
// Exact reads: a stream shorter than that throws "Stream read error".
bool CheckSignature(Stream& stream, QByteArrayView typeName);

// Header string: length byte 0..253, or 254 + uint16, or 255 + int32; a length
// of 0 or less is empty. Exact reads; the text is read in bounded chunks so a
// lying length never allocates more than the data delivers.
QByteArray ReadHeaderString(Stream& stream);

// Body string: marker 101 + uint8 length or 102 + uint16 length, then the
// bytes. Any other marker, or data that ends inside it, throws
// EReadFileError("Błąd czytania z pliku [101]").
QByteArray ReadBodyString(Stream& stream);
// The same into `text`, whose buffer is reused when it is not shared.
void ReadBodyString(Stream& stream, QByteArray& text);

// The opened printout: the file and the decompression stream that stands at
// the first byte of the uncompressed body. Destroying it closes both (body
// first).
struct OpenedBody {
  std::unique_ptr<FileStream> File;
  std::unique_ptr<ZDecompressionStream> Body;
};

// Checks the signature and type name "Wydruk" at the stream's position
// (EReadError "Plik nie zawiera prawidłowego wydruku Zorela" when wrong) and
// returns a decompression stream over the rest. `file` must outlive it.
std::unique_ptr<ZDecompressionStream> OpenBodyOf(Stream& file);

// Opens `fileName` read-only, checks the signature and type name "Wydruk"
// (EReadError "Plik nie zawiera prawidłowego wydruku Zorela" when wrong) and
// starts inflating the body. EFOpenError when the file cannot be opened.
OpenedBody OpenBody(const QString& fileName);

}  // namespace zorpokaz
