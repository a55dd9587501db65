// Fuzz target: raw bytes as an uncompressed printout body, straight to the
// record readers (no zlib in the way, so mutations reach the records).
#include <cstddef>
#include <cstdint>

#include "document/tmlinewydruk.h"
#include "platform/errors.h"
#include "platform/files/memorystream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zorpokaz;
  MemoryStream body(QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
  TMLineWydruk content;
  try {
    content.LoadFromStream(body);
    content.TotalLines();
  } catch (const Error&) {
  }
  return 0;
}
