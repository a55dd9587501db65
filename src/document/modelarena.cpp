#include "document/modelarena.h"

#include <algorithm>

namespace zorpokaz {

namespace {

// Large enough that the chunks' own overhead vanishes, small enough that the
// last, partly used one costs little in a short printout.
constexpr std::size_t kChunkSize = 256 * 1024;

}  // namespace

void* ModelArena::allocateInNewChunk(std::size_t size, std::size_t align) {
  // A piece larger than a chunk (a long text) gets a chunk of its own, and the
  // chunk being filled stays the one to fill.
  const std::size_t need = size + align;
  if (need > kChunkSize / 4 && m_next) {
    m_chunks.push_back(std::make_unique_for_overwrite<char[]>(need));
    m_held += need;
    const std::uintptr_t base = reinterpret_cast<std::uintptr_t>(m_chunks.back().get());
    return reinterpret_cast<void*>((base + (align - 1)) & ~std::uintptr_t(align - 1));
  }
  const std::size_t chunk = std::max(kChunkSize, need);
  m_chunks.push_back(std::make_unique_for_overwrite<char[]>(chunk));
  m_held += chunk;
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
}

}  // namespace zorpokaz
