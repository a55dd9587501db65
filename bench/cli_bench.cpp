// Command-line benchmark: zorpokaz-cli as a user runs it, in a process of its
// own, on the dense ledger.
//  - `pages` on 10,000 pages: wall time and peak memory (resident), with the
//    peak per field and microseconds per field beside them;
//  - the first page of 2,000 pages as PNG (`render --png DIR --pages 1`)
//    against poppler's first page of the same report as PDF (`pdftoppm -r
//    172.8`, the same 1429 x 2000 pixels), run alternately in one go; the
//    ratio of the two medians is the figure.
//
//   bench_cli [RUNS]   (5 runs of each by default)
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "support/benchprintouts.h"

using namespace zorpokaz;
using Clock = std::chrono::steady_clock;

namespace {

struct Run {
  double seconds = 0;
  double peakMb = 0;
  int status = -1;
};

// Runs a program with its output thrown away; its wall time and peak
// resident memory.
Run runProgram(const std::vector<QByteArray>& args) {
  std::vector<char*> argv;
  for (const QByteArray& a : args) argv.push_back(const_cast<char*>(a.constData()));
  argv.push_back(nullptr);
  std::fflush(stdout);  // what is buffered is not the child's to write
  const auto start = Clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    if (!freopen("/dev/null", "w", stdout) || !freopen("/dev/null", "w", stderr)) _exit(126);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  Run run;
  int status = 0;
  rusage usage{};
  if (pid > 0 && wait4(pid, &status, 0, &usage) == pid) {
    run.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    run.peakMb = usage.ru_maxrss / 1024.0;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  return run;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

bool writeLedger(int pages, const QString& path, writer::DenseLedgerCounts& counts) {
  QFile out(path);
  return out.open(QIODevice::WriteOnly) && out.write(writer::denseLedgerFile(pages, 6, &counts)) > 0;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  const QByteArray cli = ZP_CLI_PATH;
  QTemporaryDir dir;
  const QByteArray big = QFile::encodeName(dir.filePath("ledger-10000.wyd"));
  const QByteArray mid = QFile::encodeName(dir.filePath("ledger-2000.wyd"));
  const QByteArray pdf = QFile::encodeName(dir.filePath("ledger-2000.pdf"));
  writer::DenseLedgerCounts bigCounts, midCounts;
  if (!writeLedger(10000, big, bigCounts) || !writeLedger(2000, mid, midCounts)) return 1;

  std::vector<double> times, peaks;
  for (int i = 0; i < runs; ++i) {
    const Run r = runProgram({cli, "pages", big});
    if (r.status != 0) return std::printf("zorpokaz-cli pages failed (%d)\n", r.status), 1;
    times.push_back(r.seconds);
    peaks.push_back(r.peakMb);
  }
  const double fields = static_cast<double>(bigCounts.fields);
  const double t = median(times);
  std::printf("pages, 10,000 pages: %.2f s (best %.2f), %.3f us per field, %.0f pages/s\n", t,
              *std::min_element(times.begin(), times.end()), t * 1e6 / fields, 10000 / t);
  std::printf("pages, 10,000 pages: peak %.0f MB, %.1f bytes per field\n", median(peaks),
              median(peaks) * 1024 * 1024 / fields);

  if (runProgram({cli, "render", mid, "-o", pdf}).status != 0) return std::puts("render -o failed"), 1;
  const QByteArray pngDir = QFile::encodeName(dir.filePath("png"));
  const QByteArray ppmPrefix = QFile::encodeName(dir.filePath("poppler"));
  std::vector<double> ours, poppler;
  for (int i = 0; i < runs; ++i) {
    const Run a = runProgram({cli, "render", mid, "--png", pngDir, "--pages", "1"});
    const Run b = runProgram({"pdftoppm", "-r", "172.8", "-f", "1", "-l", "1", "-png", pdf, ppmPrefix});
    if (a.status != 0) return std::printf("render --png failed (%d)\n", a.status), 1;
    if (b.status != 0) return std::printf("pdftoppm failed (%d)\n", b.status), 1;
    ours.push_back(a.seconds);
    poppler.push_back(b.seconds);
  }
  std::printf("first page of 2,000 as PNG: %.0f ms, poppler %.0f ms: %.2f of poppler's time\n", median(ours) * 1e3,
              median(poppler) * 1e3, median(ours) / median(poppler));
  return 0;
}
