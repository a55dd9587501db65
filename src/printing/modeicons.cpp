#include "printing/modeicons.h"

#include <QPainter>
#include <QPainterPath>

namespace zorpokaz {

namespace {

constexpr int kSize = 40;

// The colours of one half of the picture. The disabled half is drawn in
// opaque greys: anything blended over the transparent colour would show it.
struct Inks {
  QColor outline;
  QColor paper;
  QColor text;
  QColor shade;
};

const Inks kEnabled{Qt::black, Qt::white, QColor(0, 0, 160), QColor(220, 220, 220)};
const Inks kDisabled{QColor(128, 128, 128), QColor(236, 236, 236), QColor(168, 168, 168),
                     QColor(208, 208, 208)};

// Text lines on a page, as short strokes.
void lines(QPainter& p, const QRect& page, const Inks& inks) {
  p.setPen(QPen(inks.text, 1));
  for (int y = page.top() + 5; y < page.bottom() - 3; y += 4)
    p.drawLine(page.left() + 4, y, page.right() - 4, y);
}

void page(QPainter& p, const QRect& r, const Inks& inks) {
  p.setPen(QPen(inks.outline, 1));
  p.setBrush(inks.paper);
  p.drawRect(r);
  lines(p, r, inks);
}

void drawMode(QPainter& p, PrintMode mode, const Inks& inks) {
  switch (mode) {
    case PrintMode::Normalnie:
      page(p, QRect(10, 3, 20, 32), inks);
      break;
    case PrintMode::Zmniejszone:
      p.setPen(QPen(inks.outline, 1));
      p.setBrush(inks.paper);
      p.drawRect(2, 8, 36, 24);
      page(p, QRect(5, 11, 14, 18), inks);
      page(p, QRect(21, 11, 14, 18), inks);
      break;
    case PrintMode::Ksiazeczka: {
      // An open booklet: two leaves meeting at the fold, the back sheet peeking out.
      p.setPen(QPen(inks.outline, 1));
      p.setBrush(inks.shade);
      p.drawRect(3, 8, 34, 26);
      QPainterPath left, right;
      left.moveTo(20, 8);
      left.lineTo(5, 5);
      left.lineTo(5, 30);
      left.lineTo(20, 33);
      left.closeSubpath();
      right.moveTo(20, 8);
      right.lineTo(35, 5);
      right.lineTo(35, 30);
      right.lineTo(20, 33);
      right.closeSubpath();
      p.setBrush(inks.paper);
      p.drawPath(left);
      p.drawPath(right);
      p.setPen(QPen(inks.text, 1));
      for (int y = 11; y < 29; y += 4) {
        p.drawLine(8, y, 17, y + 1);
        p.drawLine(23, y + 1, 32, y);
      }
      break;
    }
  }
}

}  // namespace

QPixmap ModeIcon(PrintMode mode) {
  QPixmap both(2 * kSize, kSize);
  both.fill(QColor(255, 0, 255));  // the top-left pixel's colour is transparent
  QPainter p(&both);
  drawMode(p, mode, kEnabled);
  p.translate(kSize, 0);
  drawMode(p, mode, kDisabled);
  return both;
}

}  // namespace zorpokaz
