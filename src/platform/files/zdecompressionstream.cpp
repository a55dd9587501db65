#include "platform/files/zdecompressionstream.h"

#include <zlib.h>

#include <climits>
#include <vector>

#include "platform/errors.h"

namespace zorpokaz {

struct ZDecompressionStream::State {
  Stream& source;
  z_stream z{};
  std::vector<unsigned char> block;
  bool finished = false;
  bool sourceEnded = false;

  explicit State(Stream& s) : source(s), block(kSourceBlockSize) {}
};

ZDecompressionStream::ZDecompressionStream(Stream& source)
    : m_state(std::make_unique<State>(source)) {
  if (inflateInit(&m_state->z) != Z_OK) throw EDecompressionError("error");
}

ZDecompressionStream::~ZDecompressionStream() { inflateEnd(&m_state->z); }

bool ZDecompressionStream::finished() const { return m_state->finished; }

std::size_t ZDecompressionStream::read(void* buffer, std::size_t count) {
  State& s = *m_state;
  z_stream& z = s.z;
  auto* out = static_cast<unsigned char*>(buffer);
  std::size_t total = 0;
  while (total < count && !s.finished) {
    if (z.avail_in == 0) {
      if (s.sourceEnded) break;
      const std::size_t got = s.source.read(s.block.data(), s.block.size());
      if (got == 0) {
        s.sourceEnded = true;  // compressed data cut short: a plain short read
        break;
      }
      z.next_in = s.block.data();
      z.avail_in = static_cast<uInt>(got);
    }
    const std::size_t want = std::min<std::size_t>(count - total, UINT_MAX);
    z.next_out = out + total;
    z.avail_out = static_cast<uInt>(want);
    const int rc = inflate(&z, Z_NO_FLUSH);
    total += want - z.avail_out;
    if (rc == Z_STREAM_END) {
      s.finished = true;
    } else if (rc != Z_OK) {
      // Z_DATA_ERROR, Z_MEM_ERROR, Z_NEED_DICT (no dictionary is ever given)
      // and Z_BUF_ERROR (no progress possible) all end the body.
      throw EDecompressionError("error");
    }
  }
  return total;
}

}  // namespace zorpokaz
