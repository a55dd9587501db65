// A read-only stream over bytes in memory. Holds a (shared, implicitly copied)
// QByteArray; wrap foreign memory with QByteArray::fromRawData to avoid a copy.
#pragma once

#include <QByteArray>

#include "platform/files/stream.h"

namespace zorpokaz {

class MemoryStream : public SeekableStream {
 public:
  explicit MemoryStream(QByteArray data);

  std::size_t read(void* buffer, std::size_t count) override;
  std::int64_t size() const override { return m_data.size(); }
  std::int64_t position() const override { return m_position; }
  void seek(std::int64_t position) override;

  const QByteArray& data() const { return m_data; }

 private:
  QByteArray m_data;
  std::int64_t m_position = 0;
};

}  // namespace zorpokaz
