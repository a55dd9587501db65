#include "document/linedruk.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace zorpokaz {

namespace {

// Text of a header string is read in pieces of this size, so a length field
// that promises more than the file holds costs at most one piece of memory.
constexpr std::size_t kHeaderChunk = 65536;

template <typename T>
bool readPlain(Stream& stream, T& value) {
  unsigned char bytes[sizeof(T)];
  std::size_t got = 0;
  // A stream may deliver in pieces (the inflater at block edges); only a read
  // that delivers nothing means the end of the data.
  while (got < sizeof(T)) {
    const std::size_t n = stream.read(bytes + got, sizeof(T) - got);
    if (n == 0) return false;
    got += n;
  }
  std::make_unsigned_t<std::conditional_t<std::is_floating_point_v<T>, std::uint32_t, T>> raw = 0;
  for (std::size_t i = 0; i < sizeof(T); ++i) raw |= decltype(raw)(bytes[i]) << (8 * i);
  std::memcpy(&value, &raw, sizeof(T));
  return true;
}

template <typename T>
T readExact(Stream& stream) {
  T value{};
  if (!readPlain(stream, value)) throw EReadError("Stream read error");
  return value;
}

}  // namespace

EReadFileError markerError(int expectedMarker) {
  return EReadFileError("Błąd czytania z pliku [" + std::to_string(expectedMarker) + "]");
}

EReadFileError versionError(int version) {
  return EReadFileError("Błąd odczytu - nieznana wersja pliku [" + std::to_string(version) + "]");
}

EReadError notReadableError() { return EReadError("Plik nie zawiera prawidłowego wydruku Zorela"); }

bool ReadUInt8(Stream& stream, std::uint8_t& value) { return readPlain(stream, value); }
bool ReadUInt16(Stream& stream, std::uint16_t& value) { return readPlain(stream, value); }
bool ReadInt32(Stream& stream, std::int32_t& value) { return readPlain(stream, value); }
bool ReadFloat32(Stream& stream, float& value) { return readPlain(stream, value); }

std::uint8_t ReadUInt8Exact(Stream& stream) { return readExact<std::uint8_t>(stream); }
std::uint16_t ReadUInt16Exact(Stream& stream) { return readExact<std::uint16_t>(stream); }
std::int32_t ReadInt32Exact(Stream& stream) { return readExact<std::int32_t>(stream); }

QByteArray ReadHeaderString(Stream& stream) {
  std::int64_t length = ReadUInt8Exact(stream);
  if (length == 254)
    length = ReadUInt16Exact(stream);
  else if (length == 255)
    length = ReadInt32Exact(stream);
  QByteArray text;
  if (length <= 0) return text;
  while (length > 0) {
    const auto piece = static_cast<qsizetype>(std::min<std::int64_t>(length, kHeaderChunk));
    const qsizetype at = text.size();
    text.resize(at + piece);
    stream.readBuffer(text.data() + at, static_cast<std::size_t>(piece));
    length -= piece;
  }
  return text;
}

bool CheckSignature(Stream& stream, QByteArrayView typeName) {
  char signature[9];
  stream.readBuffer(signature, sizeof signature);
  const QByteArrayView got(signature, sizeof signature);
  if (got != QByteArrayView("ZOREL2001") && got != QByteArrayView("ZOREL2000")) return false;
  return ReadHeaderString(stream) == typeName;
}

namespace {

// Reads a body string's marker and length, then lets `fill` read the
// characters. Whatever goes wrong inside a body string (a short read, the
// inflater failing on the way) is reported as the string's own error.
template <typename Fill>
void readBodyString(Stream& stream, Fill fill) {
  try {
    std::uint8_t marker = 0;
    std::size_t length = 0;
    if (!ReadUInt8(stream, marker)) throw markerError(kMarkerShortString);
    if (marker == kMarkerShortString) {
      std::uint8_t n = 0;
      if (!ReadUInt8(stream, n)) throw markerError(kMarkerShortString);
      length = n;
    } else if (marker == kMarkerLongString) {
      std::uint16_t n = 0;
      if (!ReadUInt16(stream, n)) throw markerError(kMarkerShortString);
      length = n;
    } else {
      throw markerError(kMarkerShortString);
    }
    // At most 65,535 bytes: bounded, so it can be allocated up front.
    fill(static_cast<qsizetype>(length));
  } catch (const EReadFileError&) {
    throw;
  } catch (const Error&) {
    throw markerError(kMarkerShortString);
  }
}

}  // namespace

void ReadBodyString(Stream& stream, QByteArray& text) {
  readBodyString(stream, [&](qsizetype length) {
    text.resize(length);
    if (length > 0) stream.readBuffer(text.data(), static_cast<std::size_t>(length));
  });
}

QByteArray ReadBodyString(Stream& stream) {
  QByteArray text;
  readBodyString(stream, [&](qsizetype length) {
    if (length == 0) return;
    // Exactly the length: the model keeps millions of these.
    text = QByteArray(length, Qt::Uninitialized);
    stream.readBuffer(text.data(), static_cast<std::size_t>(length));
  });
  return text;
}

std::unique_ptr<ZDecompressionStream> OpenBodyOf(Stream& file) {
  if (!CheckSignature(file, kTypeNameWydruk))
    throw notReadableError();
  return std::make_unique<ZDecompressionStream>(file);
}

OpenedBody OpenBody(const QString& fileName) {
  OpenedBody opened;
  opened.File = std::make_unique<FileStream>(fileName);
  opened.Body = OpenBodyOf(*opened.File);
  return opened;
}

}  // namespace zorpokaz
