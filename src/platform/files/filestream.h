// A file opened for reading as a stream. Opening failures are reported as
// EFOpenError("Cannot open file <name>"). Owns the open file; closes it when
// destroyed.
#pragma once

#include <QFile>
#include <QString>

#include "platform/files/stream.h"

namespace zorpokaz {

class FileStream : public SeekableStream {
 public:
  explicit FileStream(const QString& fileName);
  ~FileStream() override;

  std::size_t read(void* buffer, std::size_t count) override;
  std::int64_t size() const override;
  std::int64_t position() const override;
  void seek(std::int64_t position) override;

  const QString& fileName() const { return m_fileName; }

 private:
  QString m_fileName;
  QFile m_file;
};

}  // namespace zorpokaz
