#include "platform/files/zdecompressionstream.h"

#include <zlib.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

#include "platform/errors.h"

namespace zorpokaz {

// Output is inflated ahead into a buffer of this size, so the many tiny reads
// of the record readers do not each cost an inflate call.
static constexpr std::size_t kOutputBlockSize = 65536;

struct ZDecompressionStream::State {
  Stream& source;
  z_stream z{};
  std::vector<unsigned char> block;  // source bytes
  std::vector<unsigned char> out;    // inflated, not yet delivered
  std::size_t outPos = 0;
  std::size_t outEnd = 0;
  bool finished = false;
  bool sourceEnded = false;
  bool failed = false;  // the inflater reported corrupt data after outEnd

  explicit State(Stream& s) : source(s), block(kSourceBlockSize), out(kOutputBlockSize) {}

  void fill();
};

void ZDecompressionStream::State::fill() {
  outPos = outEnd = 0;
  while (outEnd < out.size() && !finished) {
    if (z.avail_in == 0) {
      if (sourceEnded) return;
      const std::size_t got = source.read(block.data(), block.size());
      if (got == 0) {
        sourceEnded = true;  // compressed data cut short: a plain short read
        return;
      }
      z.next_in = block.data();
      z.avail_in = static_cast<uInt>(got);
    }
    z.next_out = out.data() + outEnd;
    z.avail_out = static_cast<uInt>(out.size() - outEnd);
    const int rc = inflate(&z, Z_NO_FLUSH);
    outEnd = out.size() - z.avail_out;
    if (rc == Z_STREAM_END) {
      finished = true;
    } else if (rc != Z_OK) {
      // Z_DATA_ERROR, Z_MEM_ERROR, Z_NEED_DICT (no dictionary is ever given)
      // and Z_BUF_ERROR (no progress possible) all end the data here.
      failed = true;
      return;
    }
  }
}

ZDecompressionStream::ZDecompressionStream(Stream& source)
    : m_state(std::make_unique<State>(source)) {
  if (inflateInit(&m_state->z) != Z_OK) throw EDecompressionError("error");
}

ZDecompressionStream::~ZDecompressionStream() { inflateEnd(&m_state->z); }

bool ZDecompressionStream::finished() const { return m_state->finished && m_state->outPos == m_state->outEnd; }

bool ZDecompressionStream::peek(Piece& piece) {
  State& s = *m_state;
  if (s.outPos == s.outEnd && !s.failed && !s.finished) s.fill();
  piece.data = s.out.data() + s.outPos;
  piece.size = s.outEnd - s.outPos;
  piece.damagedAfter = s.failed;
  return true;
}

void ZDecompressionStream::skip(std::size_t count) {
  State& s = *m_state;
  s.outPos += std::min(count, s.outEnd - s.outPos);
}

std::size_t ZDecompressionStream::read(void* buffer, std::size_t count) {
  State& s = *m_state;
  auto* out = static_cast<unsigned char*>(buffer);
  std::size_t total = 0;
  while (total < count) {
    if (s.outPos == s.outEnd) {
      if (s.failed) throw EDecompressionError("error");
      if (s.finished) break;
      s.fill();
      if (s.outPos == s.outEnd && !s.failed) break;
      continue;
    }
    const std::size_t n = std::min(count - total, s.outEnd - s.outPos);
    std::memcpy(out + total, s.out.data() + s.outPos, n);
    s.outPos += n;
    total += n;
  }
  // Inflating on demand, the call that delivered the last good byte would
  // already have met the damage behind it (a bad code, a bad checksum): so
  // does the read that takes the last good byte here.
  if (s.failed && s.outPos == s.outEnd && total > 0) throw EDecompressionError("error");
  return total;
}

}  // namespace zorpokaz
