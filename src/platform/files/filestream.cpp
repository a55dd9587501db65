#include "platform/files/filestream.h"

#include <algorithm>

#include "platform/errors.h"

namespace zorpokaz {

FileStream::FileStream(const QString& fileName) : m_fileName(fileName), m_file(fileName) {
  if (!m_file.open(QIODevice::ReadOnly))
    throw EFOpenError("Cannot open file " + fileName.toStdString());
}

FileStream::~FileStream() = default;

std::size_t FileStream::read(void* buffer, std::size_t count) {
  std::size_t total = 0;
  auto* out = static_cast<char*>(buffer);
  while (total < count) {
    const qint64 got = m_file.read(out + total, static_cast<qint64>(count - total));
    if (got < 0) throw EReadError("Stream read error");
    if (got == 0) break;
    total += static_cast<std::size_t>(got);
  }
  return total;
}

std::int64_t FileStream::size() const { return m_file.size(); }

std::int64_t FileStream::position() const { return m_file.pos(); }

void FileStream::seek(std::int64_t position) {
  m_file.seek(std::clamp<std::int64_t>(position, 0, m_file.size()));
}

}  // namespace zorpokaz
