// Pages told apart by their ink, for PDFs that carry no text any more (a
// queue that distils the document again, bitmap mode): page k carries k
// separate black blocks. A PDF is rendered with pdftoppm (poppler-utils) and
// each sheet side becomes the number of blocks on it: "k" for a portrait
// side, "a|b" for the left and right half of a landscape side, "_" for none.
//
// A landscape side reaches portrait paper turned a quarter counter-clockwise,
// as a printer turns it (its top along the paper's left edge): its left half
// is then the bottom of the paper. Read that way, a side turned the other way
// or not laid out along the long edge gives the wrong numbers.
#pragma once

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <vector>

#include "platform/gfx/pagecanvas.h"
#include "platform/gfx/pageimage.h"
#include "sheets/printjob.h"

namespace zorpokaz::testing {

// 1429 x 2000 pixels at 96 dpi, blocks of 150 x 150 in rows of four.
inline std::shared_ptr<PageImage> makeBlockPage(int k) {
  auto page = std::make_shared<PageImage>(1429, 2000);
  PageCanvas canvas(*page, 96);
  canvas.setPen(0x00000000, 150);
  for (int i = 0; i < k; ++i) {
    const int x = 200 + (i % 4) * 260;
    const int y = 300 + (i / 4) * 300;
    canvas.line(x, y + 75, x + 150, y + 75);
  }
  return page;
}

inline PageImageList makeBlockPages(int n) {
  PageImageList pages;
  for (int k = 1; k <= n; ++k)
    pages.push_back(makeBlockPage(k));
  return pages;
}

// Separate dark areas of `image` inside `area` (4-connected, specks ignored).
inline int inkBlocks(const QImage& image, const QRect& area) {
  const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
  const QRect a = area.intersected(grey.rect());
  std::vector<char> seen(static_cast<std::size_t>(grey.width()) * grey.height(), 0);
  auto dark = [&](int x, int y) { return grey.constScanLine(y)[x] < 128; };
  int blocks = 0;
  for (int y = a.top(); y <= a.bottom(); ++y)
    for (int x = a.left(); x <= a.right(); ++x) {
      if (seen[y * grey.width() + x] || !dark(x, y))
        continue;
      int size = 0;
      std::vector<QPoint> todo{{x, y}};
      seen[y * grey.width() + x] = 1;
      while (!todo.empty()) {
        const QPoint p = todo.back();
        todo.pop_back();
        ++size;
        for (const QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
          const QPoint q = p + d;
          if (!a.contains(q) || seen[q.y() * grey.width() + q.x()] || !dark(q.x(), q.y()))
            continue;
          seen[q.y() * grey.width() + q.x()] = 1;
          todo.push_back(q);
        }
      }
      blocks += size >= 6 ? 1 : 0;
    }
  return blocks;
}

inline QString blockText(int n) { return n ? QString::number(n) : QStringLiteral("_"); }

inline QStringList inkSheets(const QString& pdf, bool landscapeSides = false) {
  QTemporaryDir dir;
  QProcess p;
  p.start(QStringLiteral("pdftoppm"),
          {QStringLiteral("-r"), QStringLiteral("50"), QStringLiteral("-gray"), pdf, dir.filePath("p")});
  if (!p.waitForFinished(60000) || p.exitCode() != 0)
    return {QStringLiteral("<pdftoppm failed>")};
  QStringList sides;
  for (const QString& file : QDir(dir.path()).entryList({QStringLiteral("p-*.pgm")}, QDir::Files, QDir::Name)) {
    const QImage page(dir.filePath(file));
    const int w = page.width();
    const int h = page.height();
    if (!landscapeSides)
      sides << blockText(inkBlocks(page, page.rect()));
    else if (w > h)
      sides << blockText(inkBlocks(page, QRect(0, 0, w / 2, h))) + '|' +
                   blockText(inkBlocks(page, QRect(w / 2, 0, w - w / 2, h)));
    else
      sides << blockText(inkBlocks(page, QRect(0, h / 2, w, h - h / 2))) + '|' +
                   blockText(inkBlocks(page, QRect(0, 0, w, h / 2)));
  }
  return sides;
}

}  // namespace zorpokaz::testing
