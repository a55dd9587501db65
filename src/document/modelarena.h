// Storage of the many small, fixed pieces of a printout's model: the field
// arrays of the lines and the texts of the fields. Handed out from large
// chunks by bumping a pointer and freed only all at once, with the content:
// a ledger holds millions of fields, and a heap block of their own would cost
// each of them more than the field itself. What is stored here must not need
// destroying. Pieces never move.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace zorpokaz {

class ModelArena {
 public:
  ModelArena() = default;
  ModelArena(const ModelArena&) = delete;
  ModelArena& operator=(const ModelArena&) = delete;

  // `size` bytes aligned to `align` (a power of two, at most 16).
  void* allocate(std::size_t size, std::size_t align) {
    const std::uintptr_t at = (reinterpret_cast<std::uintptr_t>(m_next) + (align - 1)) & ~std::uintptr_t(align - 1);
    if (m_next && at + size <= reinterpret_cast<std::uintptr_t>(m_end)) {
      m_next = reinterpret_cast<char*>(at + size);
      return reinterpret_cast<void*>(at);
    }
    return allocateInNewChunk(size, align);
  }

  // Frees everything at once.
  void clear();
  // Bytes taken from the system.
  std::size_t bytesHeld() const { return m_held; }

 private:
  void* allocateInNewChunk(std::size_t size, std::size_t align);

  struct FreeChunk {
    void operator()(char* chunk) const;
  };
  std::vector<std::unique_ptr<char, FreeChunk>> m_chunks;
  std::size_t m_lastChunkSize = 0;
  char* m_next = nullptr;
  char* m_end = nullptr;
  std::size_t m_held = 0;
};

}  // namespace zorpokaz
