// Page viewer benchmark: the time to paint one frame of a 1000 × 800 view at
// each zoom level, and the frame rate of wheel scrolling over 1,000 pages.
// Pages come from the ledger sample, repeated.
#include <QApplication>
#include <QImage>
#include <QWheelEvent>

#include <chrono>
#include <cstdio>

#include "document/tmlinewydruk.h"
#include "document/twydruk.h"
#include "platform/gfx/pageimage.h"
#include "preview/temfviewer.h"

using namespace zorpokaz;
using Clock = std::chrono::steady_clock;

namespace {

double msSince(Clock::time_point t) { return std::chrono::duration<double, std::milli>(Clock::now() - t).count(); }

const char* const kZoomNames[] = {"zoomPageH", "zoomPageAvg", "zoomPageW", "zoomTextW",
                                  "zoomExtra1", "zoomExtra2", "zoomExtra3"};

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const QString sample = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                  : qEnvironmentVariable("ZP_SOURCE_DIR", ".") + "/samples/ksiega.wyd";
  TWydruk doc;
  doc.LoadFromFile(sample);
  doc.BuildPages();
  const auto& pages = doc.Tekst().Pages();
  if (pages.empty()) return 1;

  TEmfViewer viewer;
  viewer.resize(1000, 800);
  for (int i = 0; i < 1000; ++i) viewer.AddPage(std::make_shared<const PageImage>(pages[i % pages.size()]));
  viewer.show();
  QImage frame(viewer.size(), QImage::Format_RGB32);

  std::printf("one frame of a %dx%d view (%zu items on the page):\n", viewer.width(), viewer.height(),
              pages[0].itemCount());
  for (int z = 0; z < 7; ++z) {
    viewer.setZoomLevel(static_cast<TEmfZoomLevel>(z));
    viewer.setPageNr(2);
    viewer.render(&frame);  // warm the caches
    const auto t = Clock::now();
    const int frames = 20;
    for (int i = 0; i < frames; ++i) viewer.render(&frame);
    std::printf("  %-12s %6.2f ms\n", kZoomNames[z], msSince(t) / frames);
  }

  std::printf("wheel scrolling over 1,000 pages:\n");
  for (int z : {0, 2, 4}) {
    viewer.setZoomLevel(static_cast<TEmfZoomLevel>(z));
    viewer.setPageNr(1);
    const QPointF at(500, 400);
    const auto t = Clock::now();
    int frames = 0;
    while (frames < 400 && msSince(t) < 5000) {
      QWheelEvent wheel(at, viewer.mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                        Qt::NoScrollPhase, false);
      QApplication::sendEvent(&viewer, &wheel);
      viewer.render(&frame);
      ++frames;
    }
    std::printf("  %-12s %6.0f frames/s (scrolled %d px in %d frames)\n", kZoomNames[z],
                frames * 1000.0 / msSince(t), viewer.VertPos(), frames);
  }
  return 0;
}
