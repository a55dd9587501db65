#include "document/modelarena.h"

#include <algorithm>
#include <cstdlib>
#include <new>

namespace zorpokaz {

namespace {

// Chunks grow from small (a short printout costs little) to 2 MB, which a
// long printout fills by the hundred. They are not asked to be huge pages:
// where the system makes such a request wait for memory to be compacted (as
// it may after another large process has ended), reading a long printout
// took twice as long, for a few per cent in the best case.
constexpr std::size_t kFirstChunk = 64 * 1024;
constexpr std::size_t kLargestChunk = 2 * 1024 * 1024;

char* newChunk(std::size_t size) {
  void* chunk = std::malloc(size);
  if (!chunk) throw std::bad_alloc();
  return static_cast<char*>(chunk);
}

}  // namespace

void ModelArena::FreeChunk::operator()(char* chunk) const { std::free(chunk); }

void* ModelArena::allocateInNewChunk(std::size_t size, std::size_t align) {
  const std::size_t need = size + align;
  const std::size_t next = std::min(kLargestChunk, m_chunks.empty() ? kFirstChunk : 2 * m_lastChunkSize);
  // A piece larger than the next chunk would be (a long text) gets a chunk of
  // its own, and the chunk being filled stays the one to fill.
  if (need > next / 4 && m_next) {
    m_chunks.emplace_back(newChunk(need));
    m_held += need;
    const std::uintptr_t base = reinterpret_cast<std::uintptr_t>(m_chunks.back().get());
    return reinterpret_cast<void*>((base + (align - 1)) & ~std::uintptr_t(align - 1));
  }
  const std::size_t chunk = std::max(next, need);
  m_chunks.emplace_back(newChunk(chunk));
  m_held += chunk;
  m_lastChunkSize = chunk;
  m_next = m_chunks.back().get();
  m_end = m_next + chunk;
  return allocate(size, align);
}

void ModelArena::clear() {
  m_chunks.clear();
  m_chunks.shrink_to_fit();
  m_next = nullptr;
  m_end = nullptr;
  m_held = 0;
  m_lastChunkSize = 0;
}

}  // namespace zorpokaz
