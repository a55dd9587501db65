// The one cursor the record readers use over the uncompressed body. Values are
// read with the plain read (a value the data cannot supply stays unchanged) and
// the reader remembers that the data ended, so a body that stops before its
// structure is complete is reported even where no marker check follows.
// Also carries the body-wide reading context: version, scale, nesting depth,
// and the counts that bound what one body may hold (ContentLimits).
#pragma once

#include <QByteArray>
#include <QHash>
#include <array>
#include <cstdint>

#include "document/contentlimits.h"
#include "document/linedruk.h"
#include "platform/gfx/emfpicture.h"

namespace zorpokaz {

class BodyReader {
 public:
  // Blocks nested deeper than this are refused (the stack and every later
  // recursive walk stay bounded).
  static constexpr int kMaxBlockDepth = 256;

  BodyReader(Stream& stream, const ContentLimits& limits) : m_stream(stream), m_limits(limits) {}

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

  // Count the records about to be read; past a limit they throw the
  // record's read error ("Błąd czytania z pliku [marker]").
  void countStyle() { count(m_styles, 1, m_limits.Styles, kMarkerStyle); }
  void countBlock() { count(m_blocks, 1, m_limits.Blocks, kMarkerBlock); }
  void countLine() { count(m_lines, 1, m_limits.Lines, kMarkerLine); }
  void countFields(int n) { count(m_fields, n, m_limits.Fields, kMarkerField); }

  std::int64_t lines() const { return m_lines; }
  std::int64_t fields() const { return m_fields; }

  // The picture read before with the same bytes, or this one, kept for the
  // next: a logo repeated on every page is held, and converted for drawing,
  // once.
  EmfPicture sharedPicture(EmfPicture picture);

  int Version = 0;
  float Scale = 180.0f / 1200;
  int Depth = 0;  // nesting depth of the block being read (root = 1)

 private:
  static void count(std::int64_t& counter, int n, std::int64_t limit, std::uint8_t marker) {
    counter += n;
    if (counter > limit) throw markerError(marker);
  }

  Stream& m_stream;
  const ContentLimits& m_limits;
  bool m_ended = false;
  std::int64_t m_styles = 0;
  std::int64_t m_blocks = 0;
  std::int64_t m_lines = 0;
  std::int64_t m_fields = 0;
  QHash<QByteArray, EmfPicture> m_pictures;
  std::array<QByteArray, 8> m_names;  // recently read names, round robin
  std::size_t m_nextName = 0;
  QByteArray m_scratch;
};

}  // namespace zorpokaz
