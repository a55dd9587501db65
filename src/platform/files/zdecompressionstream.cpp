#include "platform/files/zdecompressionstream.h"

#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <condition_variable>
#include <cstring>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/errors.h"

namespace zorpokaz {

// Output is inflated ahead into blocks of this size, so the many tiny reads
// of the record readers do not each cost an inflate call.
static constexpr std::size_t kOutputBlockSize = 65536;
// Blocks inflated ahead of the reader by a thread of their own: inflating
// (with its checksum) takes about as long as parsing what it gives, and the
// two then run side by side. The reader sees the same blocks, with the same
// ends, damage and errors, as if it inflated each when it needed it.
static constexpr std::size_t kBlocksAhead = 4;
// How long the reader waits for the next block before it sleeps (each turn
// a pause of the processor, some tens of nanoseconds).
static constexpr int kSpins = 2000;

namespace {

struct Block {
  std::vector<unsigned char> bytes = std::vector<unsigned char>(kOutputBlockSize);
  std::size_t end = 0;
  bool failed = false;    // corrupt data right after `end`
  bool finished = false;  // the zlib stream's end (checksum included) reached
  std::exception_ptr error;  // the source's read failed after `end` bytes
};

void pause() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_ia32_pause();
#else
  std::this_thread::yield();
#endif
}

}  // namespace

struct ZDecompressionStream::State {
  Stream& source;
  z_stream z{};
  std::vector<unsigned char> input = std::vector<unsigned char>(kSourceBlockSize);
  bool sourceEnded = false;

  // The inflating side's blocks (a ring) and what the reader has taken.
  Block ring[kBlocksAhead];
  std::atomic<std::size_t> produced = 0;
  std::size_t taken = 0;
  std::size_t released = 0;
  std::atomic<bool> last = false;  // the block after which the inflating side stopped is produced
  bool stop = false;
  std::mutex mutex;
  std::condition_variable changed;
  std::thread inflater;
  bool started = false;
  bool threaded = false;

  // The reader's block.
  const Block* current = nullptr;
  std::size_t outPos = 0;
  std::size_t outEnd = 0;
  bool failed = false;
  bool finished = false;
  std::exception_ptr error;  // of the block the inflating side stopped after

  explicit State(Stream& s) : source(s) {}

  static bool isLast(const Block& b, bool sourceEnded) { return b.failed || b.finished || b.error || sourceEnded; }
  void fillBlock(Block& b);
  void inflateAhead();
  void take(const Block& b);
  void start();
  void nextBlock();
};

// One block as far as the data goes: full, or short at the zlib stream's
// end, at corrupt data, or where the source ends or fails.
void ZDecompressionStream::State::fillBlock(Block& b) {
  b.end = 0;
  try {
    while (b.end < b.bytes.size() && !b.finished) {
      if (z.avail_in == 0) {
        if (sourceEnded) return;
        const std::size_t got = source.read(input.data(), input.size());
        if (got == 0) {
          sourceEnded = true;  // compressed data cut short: a plain short read
          return;
        }
        z.next_in = input.data();
        z.avail_in = static_cast<uInt>(got);
      }
      z.next_out = b.bytes.data() + b.end;
      z.avail_out = static_cast<uInt>(b.bytes.size() - b.end);
      const int rc = inflate(&z, Z_NO_FLUSH);
      b.end = b.bytes.size() - z.avail_out;
      if (rc == Z_STREAM_END) {
        b.finished = true;
      } else if (rc != Z_OK) {
        // Z_DATA_ERROR, Z_MEM_ERROR, Z_NEED_DICT (no dictionary is ever given)
        // and Z_BUF_ERROR (no progress possible) all end the data here.
        b.failed = true;
        return;
      }
    }
  } catch (...) {
    b.error = std::current_exception();
  }
}

void ZDecompressionStream::State::inflateAhead() {
  for (;;) {
    std::unique_lock lock(mutex);
    changed.wait(lock, [this] { return stop || produced - released < kBlocksAhead; });
    if (stop) return;
    Block& b = ring[produced.load() % kBlocksAhead];
    lock.unlock();
    fillBlock(b);
    lock.lock();
    ++produced;
    last = isLast(b, sourceEnded);
    changed.notify_all();
    if (last) return;
  }
}

void ZDecompressionStream::State::take(const Block& b) {
  current = &b;
  outPos = 0;
  outEnd = b.end;
  failed = b.failed;
  finished = b.finished;
  if (b.error) {
    error = b.error;
    std::rethrow_exception(error);  // its bytes stay to be read
  }
}

// The next block, as inflating on demand would have made it: after the
// source has ended every further block is empty; after the source failed,
// every further one fails again.
void ZDecompressionStream::State::nextBlock() {
  outPos = outEnd = 0;
  if (!started) start();
  if (!threaded) {
    if (error) std::rethrow_exception(error);
    Block& b = ring[0];
    fillBlock(b);
    take(b);
    return;
  }
  std::unique_lock lock(mutex);
  if (current) {
    current = nullptr;
    ++released;
    changed.notify_all();
  }
  if (produced.load() == taken && !last.load()) {
    // The next block is usually a few microseconds away: waiting for it
    // without going to sleep saves waking up for every block.
    lock.unlock();
    for (int spin = 0; spin < kSpins && produced.load(std::memory_order_acquire) == taken && !last.load(); ++spin)
      pause();
    lock.lock();
  }
  changed.wait(lock, [this] { return produced > taken || last; });
  if (produced > taken) {
    const Block& b = ring[taken++ % kBlocksAhead];
    lock.unlock();
    take(b);
    return;
  }
  if (error) std::rethrow_exception(error);
}

// From the first block on: until then the source stays where the caller
// left it.
void ZDecompressionStream::State::start() {
  started = true;
  try {
    inflater = std::thread([this] { inflateAhead(); });
    threaded = true;
  } catch (const std::system_error&) {
    // No thread to be had: blocks are inflated when they are needed.
  }
}

ZDecompressionStream::ZDecompressionStream(Stream& source)
    : m_state(std::make_unique<State>(source)) {
  if (inflateInit(&m_state->z) != Z_OK) throw EDecompressionError("error");
}

ZDecompressionStream::~ZDecompressionStream() {
  State& s = *m_state;
  if (s.threaded) {
    {
      std::lock_guard lock(s.mutex);
      s.stop = true;
    }
    s.changed.notify_all();
    s.inflater.join();
  }
  inflateEnd(&s.z);
}

bool ZDecompressionStream::finished() const { return m_state->finished && m_state->outPos == m_state->outEnd; }

bool ZDecompressionStream::peek(Piece& piece) {
  State& s = *m_state;
  if (s.outPos == s.outEnd && !s.failed && !s.finished) s.nextBlock();
  static const unsigned char kNothing[1] = {0};
  piece.data = s.current ? s.current->bytes.data() + s.outPos : kNothing;
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
      s.nextBlock();
      if (s.outPos == s.outEnd && !s.failed) break;
      continue;
    }
    const std::size_t n = std::min(count - total, s.outEnd - s.outPos);
    std::memcpy(out + total, s.current->bytes.data() + s.outPos, n);
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
