#include "platform/files/memorystream.h"

#include <algorithm>
#include <cstring>

namespace zorpokaz {

MemoryStream::MemoryStream(QByteArray data) : m_data(std::move(data)) {}

std::size_t MemoryStream::read(void* buffer, std::size_t count) {
  const auto left = static_cast<std::size_t>(m_data.size() - m_position);
  const std::size_t n = std::min(count, left);
  if (n > 0) std::memcpy(buffer, m_data.constData() + m_position, n);
  m_position += static_cast<std::int64_t>(n);
  return n;
}

void MemoryStream::seek(std::int64_t position) {
  m_position = std::clamp<std::int64_t>(position, 0, m_data.size());
}

}  // namespace zorpokaz
