// Fuzz target: raw bytes as a whole printout file, through the public reading
// path (signature, type name, inflating, every record). Any reading error is
// an expected outcome; crashes, hangs, leaks and unbounded allocations are not.
#include <cstddef>
#include <cstdint>

#include "document/linedruk.h"
#include "document/tmlinewydruk.h"
#include "platform/files/memorystream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zorpokaz;
  MemoryStream file(QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
  TMLineWydruk content;
  try {
    auto body = OpenBodyOf(file);
    content.LoadFromStream(*body);
    content.TotalLines();
  } catch (const Error&) {
  }
  return 0;
}
