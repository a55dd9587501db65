// Bytes of heap memory the process holds right now, from the allocator's own
// books (glibc's, or the sanitizer's in a sanitizer build), for tests and
// benchmarks that measure what a model or a page costs. Not a page count:
// memory mapped but not allocated does not appear.
#pragma once

#include <cstddef>

namespace zorpokaz::writer {

std::size_t heapInUse();

}  // namespace zorpokaz::writer
