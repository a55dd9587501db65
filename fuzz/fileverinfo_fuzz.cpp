// Fuzz target: raw bytes as an executable whose version resource is read (PE
// resource tree or ELF section, then the version block). Refusing the file is
// an expected outcome; a crash, a hang or an unbounded allocation is not.
#include <cstddef>
#include <cstdint>

#include "platform/files/memorystream.h"
#include "platform/tfileverinfo.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zorpokaz;
  MemoryStream file(QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
  try {
    TFileVerInfo info(file, "fuzz.exe");
    for (int i = 0; i < TFileVerInfo::kStringNameCount; ++i) info.StringByIndex(i);
    info.StringByName("Rozmiar");
    QByteArray value;
    info.QueryValue("\\StringFileInfo", value);
  } catch (const Error&) {
  }
  return 0;
}
