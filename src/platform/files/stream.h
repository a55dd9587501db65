// Byte streams the readers work on. Two read operations, as the file format
// distinguishes them: the plain read returns fewer bytes at the end of the data,
// the exact read fails with "Stream read error" when the data ends first.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zorpokaz {

class Stream {
 public:
  Stream() = default;
  Stream(const Stream&) = delete;
  Stream& operator=(const Stream&) = delete;
  virtual ~Stream();

  // Reads up to `count` bytes into `buffer`; returns how many were read
  // (0 at the end of the data).
  virtual std::size_t read(void* buffer, std::size_t count) = 0;

  // Reads exactly `count` bytes or throws EReadError("Stream read error").
  void readBuffer(void* buffer, std::size_t count);

  // For readers that parse bytes where they lie. A stream that keeps what it
  // is about to deliver in a buffer of its own shows it: `data` and `size`
  // are the bytes read() would deliver next, the buffer filled first when it
  // is empty; `damagedAfter` says that the data is known to be damaged right
  // after them, so that the read reaching that point fails as read() would
  // fail there. Nothing left: size 0 (and damagedAfter when the next read
  // would fail). The view stays valid until the next call on the stream.
  struct Piece {
    const unsigned char* data = nullptr;
    std::size_t size = 0;
    bool damagedAfter = false;
  };
  // False when the stream keeps no such buffer (the reader then reads).
  virtual bool peek(Piece& piece);
  // Consumes `count` bytes of what peek() showed.
  virtual void skip(std::size_t count);
};

// A stream with a known size and a movable position (files, memory).
class SeekableStream : public Stream {
 public:
  virtual std::int64_t size() const = 0;
  virtual std::int64_t position() const = 0;
  // Moves to an absolute position, clamped to 0..size().
  virtual void seek(std::int64_t position) = 0;
};

}  // namespace zorpokaz
