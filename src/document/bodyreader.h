// The one cursor the record readers use over the uncompressed body. Values are
// read with the plain read (a value the data cannot supply stays unchanged) and
// the reader remembers that the data ended, so a body that stops before its
// structure is complete is reported even where no marker check follows.
// Also carries the body-wide reading context: version, scale, nesting depth,
// the counts that bound what one body may hold (ContentLimits), and where
// the model's pieces go (the content's arena, style names and pictures).
//
// Bytes are parsed where they lie: in the inflater's own buffer when the
// stream shows it (Stream::peek), else in a buffer of the reader's, filled by
// reading ahead. Every read fails where a read of the stream itself would
// have failed: on corrupt compressed data, the read that reaches the damage.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <cstdint>
#include <cstring>
#include <vector>

#include "document/contentlimits.h"
#include "document/linedruk.h"
#include "document/modelarena.h"
#include "document/stylenames.h"
#include "document/tlinia.h"
#include "platform/gfx/emfpicture.h"

namespace zorpokaz {


class BodyReader {
 public:
  // Blocks nested deeper than this are refused (the stack and every later
  // recursive walk stay bounded).
  static constexpr int kMaxBlockDepth = 256;

  BodyReader(Stream& stream, const ContentLimits& limits, ModelArena& arena, StyleNames& names,
             std::vector<EmfPicture>& pictures);
  // Gives the stream back what was shown and not used.
  ~BodyReader();
  BodyReader(const BodyReader&) = delete;
  BodyReader& operator=(const BodyReader&) = delete;

  // Plain reads; on a short read the value keeps what it had.
  void read(std::uint8_t& value) {
    if (fits(1)) {
      value = *m_p++;
      return;
    }
    readSlow(&value, 1);
  }
  void read(bool& value) {  // one byte, non-zero = true
    std::uint8_t byte = value ? 1 : 0;
    read(byte);
    value = byte != 0;
  }
  void read(std::int32_t& value) { readLittleEndian(value); }
  void read(float& value) { readLittleEndian(value); }

  // The next n bytes where they lie, consumed, when they can all be taken
  // without reaching the end of what is at hand or damaged data; null (and
  // nothing consumed) otherwise, for the record to be read value by value.
  // A record read this way behaves as one read value by value: its marker is
  // checked first, and on a wrong marker nothing else matters.
  const unsigned char* tryTake(std::size_t n) {
    if (!fits(n)) return nullptr;
    const unsigned char* at = m_p;
    m_p += n;
    return at;
  }
  static std::int32_t int32At(const unsigned char* p) {
    return static_cast<std::int32_t>(std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
                                     std::uint32_t(p[3]) << 24);
  }

  // Reads the marker byte; throws "Błąd czytania z pliku [expected]" when it
  // differs or is missing.
  void expectMarker(std::uint8_t expected) {
    std::uint8_t marker = 0;
    if (fits(1)) {
      marker = *m_p++;
    } else if (!readSlow(&marker, 1)) {
      throw markerError(expected);
    }
    if (marker != expected) throw markerError(expected);
  }

  // A body string (ReadBodyString's rules and errors).
  QByteArray readString() { return bodyString().toByteArray(); }
  // The number of a style name among the content's names.
  std::uint32_t readName() { return m_names.intern(bodyString()); }
  // A field's text, stored in the arena: a 16-bit length and the bytes, and
  // room for `trailer` more bytes after them; null for an empty text without
  // a trailer (which takes no room).
  char* readText(std::size_t trailer) {
    const QByteArrayView text = bodyString();
    if (text.isEmpty() && trailer == 0) return nullptr;
    const auto length = static_cast<std::uint16_t>(text.size());
    char* stored = static_cast<char*>(m_arena.allocate(sizeof length + length + trailer, 1));
    std::memcpy(stored, &length, sizeof length);
    if (length > 0) std::memcpy(stored + sizeof length, text.data(), length);
    return stored;
  }
  // An EMF picture (exact reads), or the same picture read before.
  EmfPicture readPicture();
  // The number of a picture among the content's pictures.
  std::uint32_t keepPicture(const EmfPicture& picture);

  // Room for a line's fields, constructed.
  TPole* newFields(int count);
  // Lines of the group being read are gathered here first, so that the
  // group keeps exactly as many as it has.
  std::vector<TLinia>& lineScratch() { return m_lines; }

  // True once any plain read came up short.
  bool ended() const { return m_ended; }

  // Count the records about to be read; past a limit they throw the
  // record's read error ("Błąd czytania z pliku [marker]").
  void countStyle() { count(m_styles, 1, m_limits.Styles, kMarkerStyle); }
  void countBlock() { count(m_blocks, 1, m_limits.Blocks, kMarkerBlock); }
  void countLine() { count(m_lineCount, 1, m_limits.Lines, kMarkerLine); }
  void countFields(int n) { count(m_fieldCount, n, m_limits.Fields, kMarkerField); }

  std::int64_t lines() const { return m_lineCount; }
  std::int64_t fields() const { return m_fieldCount; }

  int Version = 0;
  float Scale = 180.0f / 1200;
  int Depth = 0;  // nesting depth of the block being read (root = 1)

 private:
  static void count(std::int64_t& counter, int n, std::int64_t limit, std::uint8_t marker) {
    counter += n;
    if (counter > limit) throw markerError(marker);
  }

  std::size_t available() const { return static_cast<std::size_t>(m_end - m_p); }
  // n bytes can be taken here without reaching damaged data.
  bool fits(std::size_t n) const { return available() >= n + static_cast<std::size_t>(m_damaged); }

  template <typename T>
  void readLittleEndian(T& value) {
    unsigned char bytes[sizeof(T)];
    if (fits(sizeof(T))) {
      std::memcpy(bytes, m_p, sizeof(T));
      m_p += sizeof(T);
    } else if (!readSlow(bytes, sizeof(T))) {
      return;
    }
    std::uint32_t raw = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i) raw |= std::uint32_t(bytes[i]) << (8 * i);
    std::memcpy(&value, &raw, sizeof(T));
  }

  // The plain read of n bytes: false (the data ended) when fewer came.
  bool readSlow(void* buffer, std::size_t n);
  // As the stream's read: up to n bytes, fewer at the end of the data.
  std::size_t take(void* buffer, std::size_t n);
  void takeExact(void* buffer, std::size_t n);
  bool nextWindow();
  // A body string's bytes: a view valid until the next read. Where it lies
  // whole before the end of what is at hand, as it lies.
  QByteArrayView bodyString() {
    const std::size_t avail = available();
    if (avail >= 2) {
      std::size_t head = 0;
      std::size_t length = 0;
      if (m_p[0] == kMarkerShortString) {
        head = 2;
        length = m_p[1];
      } else if (m_p[0] == kMarkerLongString && avail >= 3) {
        head = 3;
        length = m_p[1] | (std::size_t(m_p[2]) << 8);
      }
      if (head > 0 && fits(head + length)) {
        const QByteArrayView view(reinterpret_cast<const char*>(m_p + head), static_cast<qsizetype>(length));
        m_p += head + length;
        return view;
      }
    }
    return bodyStringSlow();
  }
  QByteArrayView bodyStringSlow();

  Stream& m_stream;
  const ContentLimits& m_limits;
  ModelArena& m_arena;
  StyleNames& m_names;
  std::vector<EmfPicture>& m_pictures;
  bool m_peeks = true;  // the stream shows its buffer
  const unsigned char* m_window = nullptr;
  const unsigned char* m_p = nullptr;
  const unsigned char* m_end = nullptr;
  bool m_damaged = false;  // the data is damaged right after m_end
  bool m_ended = false;
  QByteArray m_buffer;   // read ahead, for a stream that shows nothing
  QByteArray m_scratch;  // a body string that straddles two windows
  std::vector<TLinia> m_lines;
  std::int64_t m_styles = 0;
  std::int64_t m_blocks = 0;
  std::int64_t m_lineCount = 0;
  std::int64_t m_fieldCount = 0;
  QHash<QByteArray, std::uint32_t> m_pictureIndex;
};

}  // namespace zorpokaz
