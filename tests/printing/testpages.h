// Page images for printing tests: page k carries "Strona k" in large letters
// and a thick rule, in a colour of choice (0x00BBGGRR), at 96 dpi.
#pragma once

#include <QImage>

#include <memory>

#include "platform/gfx/dtflags.h"
#include "platform/gfx/pagecanvas.h"
#include "platform/gfx/pageimage.h"
#include "sheets/printjob.h"

namespace zorpokaz::testing {

inline std::shared_ptr<PageImage> makeTextPage(int k, uint32_t colorRef = 0x000000FF) {
  auto page = std::make_shared<PageImage>(1429, 2000);
  PageCanvas canvas(*page, 96);
  canvas.selectFont(LogFont{QStringLiteral("Arial"), -160, 0, 700});
  canvas.setFontColor(colorRef);
  PxRect r{100, 200, 1329, 600};
  canvas.DrawText(QStringLiteral("Strona %1").arg(k), r, DT_SINGLELINE | DT_NOPREFIX);
  canvas.setPen(colorRef, 40);
  canvas.line(100, 1000, 1329, 1000);
  return page;
}

inline PageImageList makeTextPages(int n, uint32_t colorRef = 0x000000FF) {
  PageImageList pages;
  for (int k = 1; k <= n; ++k)
    pages.push_back(makeTextPage(k, colorRef));
  return pages;
}

// Pixels of the image inside `area` matching a predicate.
template <typename Pred>
int countPixels(const QImage& image, const QRect& area, Pred pred) {
  int n = 0;
  const QImage img = image.convertToFormat(QImage::Format_RGB32);
  const QRect a = area.intersected(img.rect());
  for (int y = a.top(); y <= a.bottom(); ++y)
    for (int x = a.left(); x <= a.right(); ++x)
      n += pred(QColor::fromRgb(img.pixel(x, y))) ? 1 : 0;
  return n;
}

}  // namespace zorpokaz::testing
