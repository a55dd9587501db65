// Streaming zlib inflate over a source stream, which it reads in blocks of
// 65,536 bytes from the source's current position. Corrupt data throws
// EDecompressionError("error"). After the end of the zlib stream it delivers no
// more bytes (trailing source bytes are ignored). A source that ends before the
// zlib stream does makes read() return fewer bytes, like any plain read.
// Does not own the source; the source must outlive it. From the first read or
// peek on, a thread of the stream's own reads the source and inflates a few
// blocks ahead; the source is not to be used otherwise until the stream is
// gone (before that first read it stays where it was).
#pragma once

#include <memory>

#include "platform/files/stream.h"

namespace zorpokaz {

class ZDecompressionStream : public Stream {
 public:
  static constexpr std::size_t kSourceBlockSize = 65536;

  explicit ZDecompressionStream(Stream& source);
  ~ZDecompressionStream() override;

  std::size_t read(void* buffer, std::size_t count) override;
  // The inflated bytes not yet delivered (inflating the next ones when none
  // are left); damagedAfter when the inflater met corrupt data right after.
  bool peek(Piece& piece) override;
  void skip(std::size_t count) override;

  // True once the zlib stream's end (with its checksum) has been reached.
  bool finished() const;

 private:
  struct State;
  std::unique_ptr<State> m_state;
};

}  // namespace zorpokaz
