#include "platform/files/stream.h"

#include "platform/errors.h"

namespace zorpokaz {

Stream::~Stream() = default;

void Stream::readBuffer(void* buffer, std::size_t count) {
  auto* out = static_cast<char*>(buffer);
  // A stream may deliver less than asked before its end (the inflater does at
  // block edges), so keep asking until it delivers nothing.
  while (count > 0) {
    const std::size_t got = read(out, count);
    if (got == 0) throw EReadError("Stream read error");
    out += got;
    count -= got;
  }
}

bool Stream::peek(Piece&) { return false; }

void Stream::skip(std::size_t) {}

}  // namespace zorpokaz
