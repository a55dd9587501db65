// The fuzz targets without libFuzzer: every file given, or found under a
// directory given, is fed to LLVMFuzzerTestOneInput once. Built with the
// ordinary compiler, so that the sanitizer build replays every corpus file
// through every target and a fault that fuzzing once found stays found.
#include <QByteArray>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) __attribute__((weak));

namespace {

bool feed(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
    return false;
  }
  // A copy of exactly the file's size, so that a read past the end is seen.
  const QByteArray bytes = f.readAll();
  std::vector<std::uint8_t> copy(bytes.begin(), bytes.end());
  LLVMFuzzerTestOneInput(copy.data(), copy.size());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
  int fed = 0;
  bool ok = true;
  for (int i = 1; i < argc; ++i) {
    const QString arg = QString::fromLocal8Bit(argv[i]);
    if (QFileInfo(arg).isDir()) {
      QDirIterator it(arg, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
      QStringList files;
      while (it.hasNext()) files << it.next();
      files.sort();
      for (const QString& file : files) ok = feed(file) && ok, ++fed;
    } else {
      ok = feed(arg) && ok;
      ++fed;
    }
  }
  std::printf("%d input(s) replayed\n", fed);
  return ok && fed > 0 ? 0 : 1;
}
