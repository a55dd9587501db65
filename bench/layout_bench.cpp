// Layout benchmark: the dense ledger (84 lines a page, five fields an entry
// line; 10,000 pages unless told otherwise) read and laid out once in this
// process, pages handed out and not kept, as zorpokaz-cli pages does.
// Reports the time to read and to lay out with pages per second and
// microseconds per field, the time until the first page, the heap memory of
// the model per field and per line (also for a body of empty lines, where
// the line itself is all there is) and the size of the page images.
//
//   bench_layout [PAGES [KEEP.wyd]]   KEEP.wyd: also write the printout there
#include <QFile>
#include <QGuiApplication>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>

#include "document/tmlinewydruk.h"
#include "platform/gfx/pageimage.h"
#include "support/benchprintouts.h"
#include "support/heapusage.h"
#include "support/loadbytes.h"

using namespace zorpokaz;
using namespace zorpokaz::writer;
using Clock = std::chrono::steady_clock;

namespace {

double secondsSince(Clock::time_point t) { return std::chrono::duration<double>(Clock::now() - t).count(); }

// Peak resident memory of the process (the generated printout included).
long peakRssKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// Heap bytes of the model of a body of one million lines without fields.
double bytesPerEmptyLine() {
  constexpr int kLines = 1'000'000;
  BodyBuilder b;
  b.u8(0).f32(0.0f).i32(0).u8(0).i32(0).u8(3).u8(4).u8(1).u8(0).i32(kLines);
  for (int i = 0; i < kLines; ++i) b.u8(5).u8(0).u8(0);
  b.u8(4).u8(0).u8(0).i32(0).u8(12).i32(0).u8(4).u8(0).u8(0).i32(0).u8(4).u8(0).u8(0).i32(0);
  const QByteArray body = b.data();
  TMLineWydruk content;
  const std::size_t before = heapInUse();
  loadBody(body, content);
  return double(heapInUse() - before) / kLines;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const int wanted = argc > 1 ? std::atoi(argv[1]) : 10000;

  auto t = Clock::now();
  DenseLedgerCounts counts;
  const QByteArray file = denseLedgerFile(wanted, 6, &counts);
  std::printf("generated %.1f MB printout in %.2f s (%lld lines, %lld fields)\n", file.size() / 1e6, secondsSince(t),
              static_cast<long long>(counts.lines), static_cast<long long>(counts.fields));
  if (argc > 2) {
    QFile out(QString::fromLocal8Bit(argv[2]));
    if (out.open(QIODevice::WriteOnly)) out.write(file);
  }

  TMLineWydruk content;
  content.KeepPages = false;
  const std::size_t heapBefore = heapInUse();
  t = Clock::now();
  loadBytes(file, content);
  const double loadS = secondsSince(t);
  const double modelBytes = double(heapInUse() - heapBefore);

  double firstPageS = -1;
  size_t pageBytes = 0;
  size_t maxPageBytes = 0;
  const auto buildStart = Clock::now();
  content.OnPageDone = [&](TMLineWydruk&, const PageImage& page) {
    if (firstPageS < 0) firstPageS = secondsSince(buildStart);
    pageBytes += page.byteSize();
    maxPageBytes = std::max(maxPageBytes, page.byteSize());
  };
  content.Build();
  const double buildS = secondsSince(buildStart);

  const double fields = static_cast<double>(counts.fields);
  const int pages = content.PageCount();
  std::printf("pages:       %d\n", pages);
  std::printf("read:        %.2f s, %.3f us per field\n", loadS, loadS * 1e6 / fields);
  std::printf("lay out:     %.2f s, %.3f us per field, %.0f pages/s\n", buildS, buildS * 1e6 / fields, pages / buildS);
  std::printf("read + lay out: %.2f s, %.3f us per field, %.0f pages/s\n", loadS + buildS,
              (loadS + buildS) * 1e6 / fields, pages / (loadS + buildS));
  std::printf("first page:  %.1f ms after the layout started\n", firstPageS * 1e3);
  std::printf("model:       %.1f bytes per field, %.1f per line (%.0f MB)\n", modelBytes / fields,
              modelBytes / static_cast<double>(counts.lines), modelBytes / 1e6);
  std::printf("page image:  %.1f KB average, %.1f KB largest, %.1f bytes per field drawn\n",
              pageBytes / 1024.0 / std::max(pages, 1), maxPageBytes / 1024.0, double(pageBytes) / fields);
  std::printf("peak memory: %.0f MB\n", peakRssKb() / 1024.0);
  std::printf("empty lines: %.1f bytes per line of the model\n", bytesPerEmptyLine());
  return 0;
}
