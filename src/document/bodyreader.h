// The one cursor the record readers use over the uncompressed body. Values are
// read with the plain read (a value the data cannot supply stays unchanged) and
// the reader remembers that the data ended, so a body that stops before its
// structure is complete is reported even where no marker check follows.
// Also carries the body-wide reading context: version, scale, nesting depth.
#pragma once

#include <QByteArray>
#include <array>
#include <cstdint>

#include "document/linedruk.h"

namespace zorpokaz {

class BodyReader {
 public:
  // Blocks nested deeper than this are refused (the stack and every later
  // recursive walk stay bounded).
  static constexpr int kMaxBlockDepth = 256;

  explicit BodyReader(Stream& stream) : m_stream(stream) {}

  Stream& stream() { return m_stream; }

  // Plain reads; on a short read the value keeps what it had.
  void read(std::uint8_t& value);
  void read(bool& value);  // one byte, non-zero = true
  void read(std::int32_t& value);
  void read(float& value);

  // Reads the marker byte; throws "Błąd czytania z pliku [expected]" when it
  // differs or is missing.
  void expectMarker(std::uint8_t expected);
  QByteArray readString();  // ReadBodyString
  // ReadBodyString for names that repeat (style names of fields): equal names
  // share one buffer.
  QByteArray readName();

  // True once any plain read came up short.
  bool ended() const { return m_ended; }

  int Version = 0;
  float Scale = 180.0f / 1200;
  int Depth = 0;  // nesting depth of the block being read (root = 1)

 private:
  Stream& m_stream;
  bool m_ended = false;
  std::array<QByteArray, 8> m_names;  // recently read names, round robin
  std::size_t m_nextName = 0;
  QByteArray m_scratch;
};

}  // namespace zorpokaz
