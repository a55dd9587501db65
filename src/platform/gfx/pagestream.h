// The byte stream a PageImage keeps its items in: writing it while a page is
// recorded, and reading it back for replay and enumeration. Internal to
// PageImage.
//
// Records, integers as LEB128 varints (signed ones zigzagged):
//   text:      1 flags font color left top width height len8 utf8[len8] nlines
//              { head (bit0 literal, bit1 underline, rest len8) [start8 | utf8]
//                x−left baseline−top [ux−x uw] } × nlines
//   text line: 16+f font color left top−previous width height len8 utf8[len8]
//              x−left baseline−top
//              (a text drawn as one line that is all of it, without an
//              underline, the common case of a printout; f is the number of
//              its flag word in the page's table, below 112; previous is the
//              top of the text record before it, 0 for the first)
//   line:      2 color penWidth x1 y1 x2−x1 y2−y1
//   picture:   3 picture left top width height
#pragma once

#include "platform/gfx/pxrect.h"

#include <QByteArray>
#include <QStringView>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <vector>

namespace zorpokaz::pagestream {

enum Tag : uint8_t { kText = 1, kLine = 2, kPicture = 3, kTextLine = 16 };
// Flag words a text line record can name: its tag is read as a varint like
// every value, so it stays below 128 to be one byte.
constexpr size_t kTextLineFlags = 128 - kTextLine;
constexpr qsizetype kVarint = 10;  // the most bytes of one value

inline int toInt(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, INT_MIN, INT_MAX)); }

// Appends to the stream through a pointer: room for the most a record can
// take is made first, and what was not used is cut off at the end.
class Writer {
 public:
  Writer(QByteArray& stream, qsizetype most) : m_stream(stream), m_start(stream.size()) {
    stream.resize(m_start + most);
    m_p = stream.data() + m_start;
  }
  ~Writer() { m_stream.truncate(m_p - m_stream.constData()); }
  Writer(const Writer&) = delete;
  Writer& operator=(const Writer&) = delete;

  void byte(uint8_t b) { *m_p++ = static_cast<char>(b); }
  void u(uint64_t v) {
    while (v >= 0x80) {
      *m_p++ = static_cast<char>((v & 0x7F) | 0x80);
      v >>= 7;
    }
    *m_p++ = static_cast<char>(v);
  }
  void s(int64_t v) { u((static_cast<uint64_t>(v) << 1) ^ static_cast<uint64_t>(v >> 63)); }
  void bytes(const char* data, qsizetype n) {
    if (n > 0) std::memcpy(m_p, data, static_cast<size_t>(n));
    m_p += n;
  }
  char* at() { return m_p; }
  void advance(qsizetype n) { m_p += n; }

 private:
  QByteArray& m_stream;
  qsizetype m_start;
  char* m_p;
};

class Reader {
 public:
  explicit Reader(const QByteArray& s)
      : m_p(reinterpret_cast<const uint8_t*>(s.constData())), m_end(m_p + s.size()) {}
  bool atEnd() const { return m_p >= m_end; }
  uint64_t u() {
    uint64_t v = 0;
    for (int shift = 0; m_p < m_end && shift < 64; shift += 7) {
      const uint8_t b = *m_p++;
      v |= static_cast<uint64_t>(b & 0x7F) << shift;
      if (!(b & 0x80)) return v;
    }
    m_p = m_end;
    return v;
  }
  int64_t s() {
    const uint64_t v = u();
    return static_cast<int64_t>(v >> 1) ^ -static_cast<int64_t>(v & 1);
  }
  // A view of n bytes (fewer at a corrupt end).
  const char* bytes(uint64_t n, int* got) {
    const uint64_t left = static_cast<uint64_t>(m_end - m_p);
    n = std::min(n, left);
    const char* p = reinterpret_cast<const char*>(m_p);
    m_p += n;
    *got = static_cast<int>(n);
    return p;
  }
  // The top of the last text record read (text line records count from it).
  int64_t lastTop = 0;

 private:
  const uint8_t* m_p;
  const uint8_t* m_end;
};

struct DecodedLine {
  const char* utf8;
  int len8;
  int x;
  int baseline;
  int underlineX;
  int underlineWidth;
};

struct DecodedText {
  unsigned flags;
  int font;
  int color;
  PxRect rect;
  const char* utf8;
  int len8;
  std::vector<DecodedLine> lines;
};

// Reads the rest of a text or text line record whose tag was `tag`; flag
// words of text lines from `flagWords`.
void readText(Reader& r, uint64_t tag, const std::vector<uint32_t>& flagWords, DecodedText& t);

// UTF-8 of the 256 bytes of a code page.
struct Utf8Table {
  uint8_t length[256];
  char bytes[256][3];
};
const Utf8Table& utf8Table(int codePage);

// UTF-8 length of a UTF-16 range.
int utf8Length(QStringView s);

}  // namespace zorpokaz::pagestream
