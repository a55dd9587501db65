// Preview benchmark: the preview window opens the dense ledger (10,000 pages
// unless told otherwise) as a user opens it. Reports the time from the
// window showing to the first page painted in its viewer (reading the file is
// part of it), the time until every page is in, and the memory the process
// holds once loading is over: resident memory, and that less what the same
// process held with the window open before loading (the program itself).
// The ratio beside the first page is the share of the whole load it took.
//
//   bench_preview [PAGES | FILE.wyd]
// The printout is written by a child process (bench_preview --write PAGES
// FILE), so that making it costs this process no memory.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPaintEvent>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <unistd.h>

#include "preview/temfviewer.h"
#include "preview/tfrmpodglad.h"
#include "support/benchprintouts.h"

using namespace zorpokaz;
using Clock = std::chrono::steady_clock;

namespace {

double msBetween(Clock::time_point a, Clock::time_point b) {
  return std::chrono::duration<double, std::milli>(b - a).count();
}

// Resident memory now, from /proc/self/statm.
double residentMb() {
  std::ifstream statm("/proc/self/statm");
  long size = 0, resident = 0;
  statm >> size >> resident;
  return resident * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1e6;
}

// Notes when the window shows and when its viewer has painted a page.
class WatchingApp : public QApplication {
 public:
  using QApplication::QApplication;
  TFrmPodglad* window = nullptr;
  Clock::time_point shown{};
  Clock::time_point firstPage{};
  bool pagePainted = false;

  bool notify(QObject* receiver, QEvent* event) override {
    const bool isShow = window && receiver == window && event->type() == QEvent::Show;
    if (isShow && shown == Clock::time_point{}) shown = Clock::now();
    const bool result = QApplication::notify(receiver, event);
    if (!pagePainted && window && receiver == window->viewer() && event->type() == QEvent::Paint &&
        window->viewer()->PageCount() > 0) {
      pagePainted = true;
      firstPage = Clock::now();
    }
    return result;
  }
};

int writeLedger(int pages, const QString& path) {
  QFile out(path);
  if (!out.open(QIODevice::WriteOnly)) return 1;
  out.write(writer::denseLedgerFile(pages));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && QByteArray(argv[1]) == "--write") return writeLedger(std::atoi(argv[2]), QString::fromLocal8Bit(argv[3]));
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir scratch;
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(scratch.path()));  // settings of a fresh user
  WatchingApp app(argc, argv);

  QString file = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
  if (file.isEmpty() || !file.endsWith(QLatin1String(".wyd"), Qt::CaseInsensitive)) {
    const QString pages = file.isEmpty() ? QStringLiteral("10000") : file;
    file = scratch.filePath(QStringLiteral("ledger.wyd"));
    if (QProcess::execute(QCoreApplication::applicationFilePath(), {"--write", pages, file}) != 0) return 1;
  }

  TFrmPodglad window;
  window.SkipSettingsSave();
  window.OpenFile(file);
  app.window = &window;
  const double before = residentMb();
  window.show();
  // Loading runs inside the window's start message; when it returns, every
  // page is in.
  while (app.shown == Clock::time_point{} || !window.viewer()->PageCount() || window.Loading())
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  const auto loaded = Clock::now();
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
  const double after = residentMb();

  const double firstMs = msBetween(app.shown, app.firstPage);
  const double allMs = msBetween(app.shown, loaded);
  std::printf("pages:        %d\n", window.viewer()->PageCount());
  std::printf("first page:   %.0f ms after the window showed (%.1f %% of the whole load)\n", firstMs,
              100.0 * firstMs / allMs);
  std::printf("all pages:    %.0f ms after the window showed\n", allMs);
  std::printf("memory:       %.0f MB resident after loading, %.0f MB more than the open window before it"
              " (%.1f KB a page)\n",
              after, after - before, (after - before) * 1e3 / std::max(1, window.viewer()->PageCount()));
  window.close();
  return 0;
}
