// Little-endian decoding for the launcher. The viewer decodes every binary
// format through platform/bytereader.h; the launcher keeps this copy only
// because it shares no source with the viewer (it is shipped alone inside
// every package and must build without the viewer's layers).
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace zorpokaz::paczka {

// The little-endian value of sizeof(T) bytes the caller has checked are there.
template <typename T>
T LittleEndianAt(const void* bytes) {
  static_assert(std::is_integral_v<T>);
  const auto* b = static_cast<const unsigned char*>(bytes);
  std::uint64_t value = 0;
  for (std::size_t i = sizeof(T); i-- > 0;) value = (value << 8) | b[i];
  return static_cast<T>(value);
}

}  // namespace zorpokaz::paczka
