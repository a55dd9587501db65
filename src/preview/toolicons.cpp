#include "preview/toolicons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace zorpokaz {

namespace {

constexpr int kSize = 16;

QIcon drawn(const std::function<void(QPainter&)>& draw) {
  QPixmap pm(kSize, kSize);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  draw(p);
  p.end();
  return QIcon(pm);
}

void sheet(QPainter& p, const QRectF& r) {
  QPainterPath path;
  path.moveTo(r.left(), r.top());
  path.lineTo(r.right() - 3, r.top());
  path.lineTo(r.right(), r.top() + 3);
  path.lineTo(r.right(), r.bottom());
  path.lineTo(r.left(), r.bottom());
  path.closeSubpath();
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(Qt::white);
  p.drawPath(path);
}

}  // namespace

QIcon FindIcon() {
  return drawn([](QPainter& p) {
    p.setPen(QPen(Qt::black, 1.6));
    p.setBrush(QColor(200, 225, 255));
    p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
    p.setPen(QPen(Qt::black, 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(9.5, 9.5), QPointF(14.5, 14.5));
  });
}

QIcon PdfIcon() {
  return drawn([](QPainter& p) {
    sheet(p, QRectF(2.5, 0.5, 11, 15));
    p.fillRect(QRectF(0.5, 7, 15, 6.5), QColor(200, 30, 30));
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(6);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(0.5, 7, 15, 6.5), Qt::AlignCenter, QStringLiteral("PDF"));
  });
}

QIcon CopyIcon() {
  return drawn([](QPainter& p) {
    sheet(p, QRectF(0.5, 0.5, 9, 11));
    sheet(p, QRectF(5.5, 4.5, 9, 11));
    p.setPen(QPen(QColor(90, 90, 90), 1));
    for (double y : {8.5, 10.5, 12.5}) p.drawLine(QPointF(7.5, y), QPointF(12.5, y));
  });
}

}  // namespace zorpokaz
