// Fuzz target: raw bytes as the printout records of a package, taken out into
// a scratch directory with overwrite answers drawn from the data. Damaged
// records are an expected outcome; a crash, a hang, an unbounded allocation or
// any file written outside the scratch directory is not.
#include <QDir>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/packagereader.h"
#include "platform/files/memorystream.h"

namespace {

struct Answers : zorpokaz::ExtractHandler {
  std::uint8_t bits = 0;
  bool ConfirmOverwrite(const QString&, int attempt) override { return attempt == 0 && ((bits >>= 1) & 1); }
  void NameRefused(const QString&) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zorpokaz;
  static QTemporaryDir scratch;
  const QString lib = scratch.path() + "/lib/";
  QDir().mkpath(lib);
  MemoryStream package(QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
  Answers answers;
  answers.bits = size > 0 ? data[size - 1] : 0;
  try {
    ExtractPrintouts(package, "fuzz.exe", 0, lib, answers);
  } catch (const Error&) {
  }
  // Only the library directory may exist beside nothing else.
  if (QDir(scratch.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot) !=
      QStringList{"lib"})
    std::abort();
  QDir(lib).removeRecursively();
  return 0;
}
