// Drawing-layer figures: text-routine calls per second for typical field
// texts (20–60 characters, word break on), bytes of a dense page image, and
// replay time of that page into a QImage at 100 % and 300 %, colour and mono.
// Prints its figures; asserts nothing.
#include "platform/gfx/dtflags.h"
#include "platform/gfx/pagecanvas.h"
#include "platform/gfx/pageimage.h"
#include "platform/gfx/units.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using namespace zorpokaz;
using Clock = std::chrono::steady_clock;

namespace {

LogFont fieldFont() {
  LogFont f;
  f.face = QStringLiteral("Courier New");
  f.height = -21;
  f.width = -11;
  f.charset = 238;
  return f;
}

std::vector<QString> fieldTexts() {
  const QString words[] = {QStringLiteral("Faktura"),   QStringLiteral("VAT"),        QStringLiteral("nr"),
                           QStringLiteral("12/2024"),   QStringLiteral("Należność"),  QStringLiteral("zł"),
                           QStringLiteral("1 234,56"),  QStringLiteral("kontrahent"), QStringLiteral("ul. Długa 5"),
                           QStringLiteral("Kraków"),    QStringLiteral("termin"),     QStringLiteral("zapłaty")};
  std::vector<QString> texts;
  for (int i = 0; i < 64; ++i) {
    QString t;
    const int target = 20 + (i * 7) % 41;  // 20..60 characters
    for (int w = 0; t.size() < target; ++w) t += words[(i * 5 + w) % 12] + u' ';
    texts.push_back(t.left(target).trimmed());
  }
  return texts;
}

double seconds(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double>(b - a).count(); }

void benchDrawText() {
  const std::vector<QString> texts = fieldTexts();
  PageImage page(PageSizePx(96).width(), PageSizePx(96).height());
  PageCanvas canvas(page, 96);
  canvas.selectFont(fieldFont());
  const unsigned measure = DT_CALCRECT | DT_NOCLIP | DT_NOPREFIX | DT_WORDBREAK | DT_EDITCONTROL;
  const unsigned draw = DT_NOCLIP | DT_NOPREFIX | DT_WORDBREAK | DT_EDITCONTROL;
  for (unsigned flags : {measure, draw}) {
    const int calls = 400000;
    const auto start = Clock::now();
    long long sink = 0;
    for (int i = 0; i < calls; ++i) {
      PxRect r{100, 200, 100 + 198, 210};  // 18 cells wide: most texts wrap
      sink += canvas.DrawText(texts[i % texts.size()], r, flags);
      if ((i & 1023) == 1023 && !(flags & DT_CALCRECT)) page.clear();
    }
    const double s = seconds(start, Clock::now());
    std::printf("DrawText %-26s %10.0f calls/s  (%.2f us/call, checksum %lld)\n",
                (flags & DT_CALCRECT) ? "measure (CALCRECT):" : "draw and record:", calls / s, s / calls * 1e6, sink);
  }
}

PageImage densePage() {
  const std::vector<QString> texts = fieldTexts();
  const QSize size = PageSizePx(96);
  PageImage page(size.width(), size.height());
  PageCanvas canvas(page, 96);
  canvas.selectFont(fieldFont());
  for (int line = 0; line < 84; ++line) {
    const int top = MmToPxY(96, line * 3.5f);
    for (int field = 0; field < 8; ++field) {
      canvas.setFontColor(field == 0 ? 0x800000 : 0);
      PxRect r{field * 178, top, field * 178 + 170, top + 23};
      canvas.DrawText(texts[(line * 8 + field) % texts.size()], r,
                      DT_NOPREFIX | DT_WORDBREAK | DT_EDITCONTROL | DT_NOCLIP);
    }
    canvas.setPen(0, 1);
    canvas.line(0, top + 22, size.width(), top + 22);
  }
  return page;
}

void benchReplay(const PageImage& page) {
  for (int zoom : {100, 300}) {
    for (bool mono : {false, true}) {
      QImage image(page.width() * zoom / 100, page.height() * zoom / 100, QImage::Format_RGB32);
      std::vector<double> times;
      for (int run = 0; run < (zoom == 100 ? 15 : 5); ++run) {
        image.fill(Qt::white);
        const auto start = Clock::now();
        QPainter p(&image);
        page.replay(p, QRectF(0, 0, image.width(), image.height()), mono);
        p.end();
        times.push_back(seconds(start, Clock::now()));
      }
      std::sort(times.begin(), times.end());
      std::printf("replay dense page at %3d %% %-6s %4d x %4d: median %7.1f ms (first %7.1f ms)\n", zoom,
                  mono ? "mono" : "colour", image.width(), image.height(), times[times.size() / 2] * 1e3,
                  times.front() * 1e3);
    }
  }
}

// A viewer at 300 % repaints one window-sized piece of the page at a time.
void benchViewport(const PageImage& page) {
  QImage image(1200, 900, QImage::Format_RGB32);
  std::vector<double> times;
  for (int run = 0; run < 15; ++run) {
    image.fill(Qt::white);
    const auto start = Clock::now();
    QPainter p(&image);
    p.setClipRect(image.rect());
    page.replay(p, QRectF(-1500, -2500, page.width() * 3.0, page.height() * 3.0));
    p.end();
    times.push_back(seconds(start, Clock::now()));
  }
  std::sort(times.begin(), times.end());
  std::printf("replay a 1200 x 900 viewport of the page at 300 %%: median %7.1f ms\n", times[times.size() / 2] * 1e3);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchDrawText();

  const auto start = Clock::now();
  const PageImage page = densePage();
  std::printf("record dense page (84 lines x 8 fields + rules): %.2f ms\n", seconds(start, Clock::now()) * 1e3);
  std::printf("dense page image: %zu items, %zu bytes\n", page.itemCount(), page.byteSize());
  const PageImage copy = page;
  std::printf("copy of a page image: %zu bytes (shares the stream until either changes)\n", copy.byteSize());
  benchReplay(page);
  benchViewport(page);
  return 0;
}
