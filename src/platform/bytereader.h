// ByteReader: little-endian values at absolute offsets of a span of bytes, the
// one way the program decodes the binary formats it reads (version resources
// of PE files, ELF sections, EMF headers, package records). Every read is
// checked against the span first, in 64 bits so that no offset or count can
// wrap; a read that does not fit answers nullopt and reads nothing.
//
// The package launcher keeps a copy of its own (src/launcher/bytes.h): it
// shares no source with the viewer.
#pragma once

#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <optional>
#include <type_traits>

namespace zorpokaz {

// The little-endian value of sizeof(T) bytes the caller has checked are there.
template <typename T>
T LittleEndianAt(const void* bytes) {
  static_assert(std::is_integral_v<T>);
  const auto* b = static_cast<const unsigned char*>(bytes);
  std::uint64_t value = 0;
  for (std::size_t i = sizeof(T); i-- > 0;) value = (value << 8) | b[i];
  return static_cast<T>(value);
}

// UTF-16LE text up to its first zero character or the end of the bytes (an
// odd last byte is no character): how version resources keep their texts.
QString Utf16LeText(QByteArrayView bytes);

class ByteReader {
 public:
  explicit ByteReader(QByteArrayView bytes) : m_bytes(bytes) {}

  std::uint64_t size() const { return static_cast<std::uint64_t>(m_bytes.size()); }
  bool fits(std::uint64_t at, std::uint64_t count) const { return at <= size() && count <= size() - at; }

  template <typename T>
  std::optional<T> le(std::uint64_t at) const {
    if (!fits(at, sizeof(T))) return std::nullopt;
    return LittleEndianAt<T>(m_bytes.data() + at);
  }
  std::optional<std::uint16_t> u16(std::uint64_t at) const { return le<std::uint16_t>(at); }
  std::optional<std::uint32_t> u32(std::uint64_t at) const { return le<std::uint32_t>(at); }
  std::optional<std::uint64_t> u64(std::uint64_t at) const { return le<std::uint64_t>(at); }

  // [at, at + count), or nullopt when it reaches past the end.
  std::optional<QByteArrayView> slice(std::uint64_t at, std::uint64_t count) const {
    if (!fits(at, count)) return std::nullopt;
    return m_bytes.sliced(static_cast<qsizetype>(at), static_cast<qsizetype>(count));
  }

 private:
  QByteArrayView m_bytes;
};

}  // namespace zorpokaz
