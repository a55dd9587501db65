// Fuzz target: raw bytes as a printout — a whole file when they begin with a
// signature, an uncompressed body otherwise — read, laid out into pages, and
// every page replayed (in colour and in black and white) and enumerated as
// the page dump does. Fields far off the page, rules as wide as an int32,
// heights that overflow and headings repeated without end are only reachable
// here. A reading or layout error is an expected outcome; a crash, a hang or
// an unbounded allocation is not.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "document/linedruk.h"
#include "document/tmlinewydruk.h"
#include "platform/errors.h"
#include "platform/files/memorystream.h"
#include "platform/gfx/pageimage.h"

namespace {

// Small images: replay cost scales with their size, not with the page's.
void replayPage(const zorpokaz::PageImage& page) {
  static QImage image(143, 200, QImage::Format_RGB32);
  for (bool mono : {false, true}) {
    image.fill(Qt::white);
    QPainter painter(&image);
    page.replay(painter, QRectF(0, 0, image.width(), image.height()), mono);
  }
  // A quarter of the page, magnified, with a clip: the viewer's repaint.
  QPainter painter(&image);
  painter.setClipRect(QRect(0, 0, 143, 100));
  page.replay(painter, QRectF(-143, -200, 4.0 * image.width(), 4.0 * image.height()));
  (void)page.items();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication app(*argc, *argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zorpokaz;
  const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  TMLineWydruk content;
  // Repetition is bounded relative to the content anyway; a smaller
  // allowance keeps each input quick.
  content.Limits.LayoutAllowance = 1 << 14;
  content.Resolution = size % 2 ? 120 : 96;
  content.OnPageDone = [](TMLineWydruk&, const PageImage& page) { replayPage(page); };
  content.KeepPages = false;
  try {
    MemoryStream stream(bytes);
    if (bytes.startsWith("ZOREL")) {
      auto body = OpenBodyOf(stream);
      content.LoadFromStream(*body);
    } else {
      content.LoadFromStream(stream);
    }
    content.Build();
  } catch (const Error&) {
  }
  return 0;
}
