// Reading speed of the printout reader: a generated printout with about 50 MB
// of uncompressed body, read from memory (inflate + records), against plain
// zlib inflate of the same compressed body — the floor any reader stands on —
// and against the records alone from an already inflated body.
#include <malloc.h>
#include <zlib.h>

#include <chrono>
#include <memory>
#include <cstdio>
#include <vector>

#include "document/linedruk.h"
#include "document/tmlinewydruk.h"
#include "platform/files/memorystream.h"
#include "support/benchprintouts.h"

using namespace zorpokaz;
using namespace zorpokaz::writer;

namespace {

// One timed run; `f` gets a fresh content, freed after the clock stops
// (freeing a model is not reading it).
template <typename F>
double seconds(F& f) {
  auto content = std::make_unique<TMLineWydruk>();
  malloc_trim(0);  // the previous run's frees are not this run's cost
  const auto t0 = std::chrono::steady_clock::now();
  f(*content);
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

}  // namespace

int main() {
  const QByteArray body = writeBody(readBenchPrintout(300));
  FileOptions options;
  options.zlibLevel = 6;
  const QByteArray file = wrapBody(body, options);
  const double mb = body.size() / 1e6;
  std::printf("body %.1f MB uncompressed, file %.1f MB\n", mb, file.size() / 1e6);

  const qsizetype start = 16;  // "ZOREL2001" + type name
  std::vector<unsigned char> out(65536);
  auto inflateOnly = [&](TMLineWydruk&) {
    z_stream z{};
    inflateInit(&z);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(file.constData() + start));
    z.avail_in = static_cast<uInt>(file.size() - start);
    int rc = Z_OK;
    while (rc == Z_OK) {
      z.next_out = out.data();
      z.avail_out = static_cast<uInt>(out.size());
      rc = inflate(&z, Z_NO_FLUSH);
    }
    inflateEnd(&z);
    if (rc != Z_STREAM_END) std::puts("inflate failed");
  };
  int lines = 0;
  auto reading = [&](TMLineWydruk& content) {
    MemoryStream stream(file);
    auto inflater = OpenBodyOf(stream);
    content.LoadFromStream(*inflater);
    lines = content.TotalLines();
  };
  auto recordsOnly = [&](TMLineWydruk& content) {
    MemoryStream stream(body);
    content.LoadFromStream(stream);
  };
  // The best of seven runs of each, taken in turns, so that what else the
  // machine does weighs on all three alike.
  double best[3] = {1e9, 1e9, 1e9};
  for (int round = 0; round < 7; ++round) {
    best[0] = std::min(best[0], seconds(inflateOnly));
    best[1] = std::min(best[1], seconds(reading));
    best[2] = std::min(best[2], seconds(recordsOnly));
  }
  const double inflateS = best[0], readingS = best[1], recordsS = best[2];

  std::printf("plain zlib inflate     %8.1f MB/s  (%.3f s)\n", mb / inflateS, inflateS);
  std::printf("read printout          %8.1f MB/s  (%.3f s, %d countable lines): %.0f %% of plain inflate\n",
              mb / readingS, readingS, lines, 100.0 * inflateS / readingS);
  std::printf("records only, inflated %8.1f MB/s  (%.3f s)\n", mb / recordsS, recordsS);
  return 0;
}
