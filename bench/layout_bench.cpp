// Layout benchmark: a generated ledger of about 5,000 pages (84 lines a page,
// 8 fields a line, two levels of blocks with headings), laid out once.
// Reports pages per second, microseconds per field, the time until the first
// page is delivered, peak memory, bytes per page image, and the heap memory
// the model takes per field and per line (also for a body of empty lines,
// where the line itself is all there is).
#include <QFile>
#include <QGuiApplication>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>

#include "document/tmlinewydruk.h"
#include "platform/gfx/pageimage.h"
#include "support/heapusage.h"
#include "support/loadbytes.h"
#include "support/printoutwriter.h"
#include "ledger.h"

using namespace zorpokaz;
using namespace zorpokaz::writer;
using Clock = std::chrono::steady_clock;

namespace {

double secondsSince(Clock::time_point t) { return std::chrono::duration<double>(Clock::now() - t).count(); }

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
  const int accounts = argc > 1 ? std::atoi(argv[1]) : 500;
  const int entries = argc > 2 ? std::atoi(argv[2]) : 800;

  auto t = Clock::now();
  const QByteArray file = writePrintout(ledger(accounts, entries));
  std::printf("generated %.1f MB printout in %.2f s\n", file.size() / 1e6, secondsSince(t));
  if (argc > 3) {  // keep the printout for a look with zorpokaz-cli
    QFile out(QString::fromLocal8Bit(argv[3]));
    if (out.open(QIODevice::WriteOnly)) out.write(file);
  }

  TMLineWydruk content;
  const std::size_t heapBefore = heapInUse();
  t = Clock::now();
  loadBytes(file, content);
  const double loadS = secondsSince(t);
  const double modelBytes = double(heapInUse() - heapBefore);

  double firstPageS = -1;
  const auto buildStart = Clock::now();
  content.OnPageDone = [&](TMLineWydruk&, const PageImage&) {
    if (firstPageS < 0) firstPageS = secondsSince(buildStart);
  };
  content.Build();
  const double buildS = secondsSince(buildStart);

  size_t bytes = 0;
  size_t maxBytes = 0;
  for (const auto& page : content.Pages()) {
    bytes += page.byteSize();
    maxBytes = std::max(maxBytes, page.byteSize());
  }
  const long long fields = static_cast<long long>(accounts) * (entries * 8 + 3);
  const int pages = content.PageCount();
  std::printf("read:        %.2f s\n", loadS);
  std::printf("pages:       %d (%.0f pages/s)\n", pages, pages / buildS);
  std::printf("build:       %.2f s, %.2f us per field (%lld fields)\n", buildS, buildS * 1e6 / fields, fields);
  std::printf("first page:  %.1f ms after the build started\n", firstPageS * 1e3);
  std::printf("page image:  %.1f KB average, %.1f KB largest\n", bytes / 1024.0 / std::max(pages, 1), maxBytes / 1024.0);
  const long long lines = static_cast<long long>(accounts) * (entries + 2) + 2;
  std::printf("model:       %.0f bytes per field, %.0f per line (%.0f MB)\n", modelBytes / fields,
              modelBytes / lines, modelBytes / 1e6);
  std::printf("pages:       %.0f bytes per field drawn\n", double(bytes) / fields);
  std::printf("empty lines: %.0f bytes per line of the model\n", bytesPerEmptyLine());
  std::printf("peak memory: %.0f MB\n", peakRssKb() / 1024.0);
  return 0;
}
