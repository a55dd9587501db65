#include "support/heapusage.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZP_HEAP_FROM_SANITIZER 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define ZP_HEAP_FROM_SANITIZER 1
#endif

#ifdef ZP_HEAP_FROM_SANITIZER
// The sanitizer runtime's own count (gcc ships no header for it).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

namespace zorpokaz::writer {

std::size_t heapInUse() {
#ifdef ZP_HEAP_FROM_SANITIZER
  return __sanitizer_get_current_allocated_bytes();
#else
  const struct mallinfo2 info = mallinfo2();
  // Small blocks and the blocks big enough to get their own mapping.
  return info.uordblks + info.hblkhd;
#endif
}

}  // namespace zorpokaz::writer
