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

WLine ledgerLine(int n) {
  const QByteArray num = QByteArray::number(n);
  return line({textField(0, 800, "2024-01-" + QByteArray::number(n % 18 + 10)),
               textField(820, 700, "PK " + num),
               textField(1540, 3200, "Sprzeda\xbf towar\xf3w wg faktury nr " + num),
               textField(4760, 600, QByteArray::number(n % 7) + "/" + QByteArray::number(n % 13)),
               textField(5400, 850, QByteArray::number(n * 37 % 100000) + ",00", "Domyslny", 1),
               textField(6300, 850, QByteArray::number(n * 53 % 100000) + ",50", "Domyslny", 1),
               textField(7200, 850, QByteArray::number(n * 11 % 100000) + ",25", "Domyslny", 1),
               textField(8100, 900, "Strona %n", "Domyslny", 2)});
}

WPrintout ledger(int accounts, int entriesPerAccount) {
  WPrintout p;
  p.root.heading = group({line({textField(0, 8000, "Ksi\xea ga g\xb3\xf3wna - zestawienie obrot\xf3w")}),
                          line({textField(0, 1200, "Data"), textField(1240, 2400, "Tre\x9c\xe6")})});
  int n = 0;
  for (int a = 0; a < accounts; ++a) {
    WBlock account;
    account.heading = group({line({textField(0, 3000, "Konto " + QByteArray::number(a))})});
    WBlock entries;
    std::vector<WLine> lines;
    lines.reserve(entriesPerAccount);
    for (int e = 0; e < entriesPerAccount; ++e) lines.push_back(ledgerLine(n++));
    entries.intro = group(std::move(lines), true);
    account.children.push_back(std::move(entries));
    account.closing = group({line({textField(0, 3000, "Razem konto"), textField(4280, 900, "1,00", "Domyslny", 1)})});
    p.root.children.push_back(std::move(account));
  }
  return p;
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
