#include "ui/keycaps.h"

#include "ui/tzorbtn.h"

#include <QPainter>
#include <QPainterPath>

#include <array>

namespace zorpokaz {

namespace {

constexpr int kTypCount = static_cast<int>(TZorBtnTyp::sbSlash) + 1;

const QColor kCapColors[5] = {QColor(40, 70, 190), QColor(130, 40, 150), QColor(130, 130, 20),
                              QColor(30, 130, 50), QColor(190, 30, 30)};

QImage drawBackground(int kolor, bool enabled) {
  QImage img(kKeyCapWidth, kKeyCapHeight, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor base = enabled ? kCapColors[kolor] : QColor(150, 150, 150);
  const QRectF outer(0.5, 0.5, kKeyCapWidth - 1, kKeyCapHeight - 1);
  p.setPen(base.darker(170));
  p.setBrush(base.darker(130));
  p.drawRoundedRect(outer, 3, 3);
  // The top face of the key, lighter, with the lower rim showing under it.
  p.setPen(Qt::NoPen);
  p.setBrush(base.lighter(125));
  p.drawRoundedRect(QRectF(2, 1.5, kKeyCapWidth - 4, kKeyCapHeight - 5), 2, 2);
  return img;
}

QString labelText(TZorBtnTyp typ) {
  static const char* const letters = "ABCDEFGHIJKLMNOPRSTUWZ";
  const int n = static_cast<int>(typ);
  if (n <= static_cast<int>(TZorBtnTyp::sbZ)) return QString(QLatin1Char(letters[n]));
  if (n <= static_cast<int>(TZorBtnTyp::sbF12))
    return QStringLiteral("F%1").arg(n - static_cast<int>(TZorBtnTyp::sbF1) + 1);
  switch (typ) {
    case TZorBtnTyp::sbPlus: return QStringLiteral("+");
    case TZorBtnTyp::sbMinus: return QStringLiteral("-");
    case TZorBtnTyp::sbTab: return QStringLiteral("Tab");
    case TZorBtnTyp::sbGwiazdka: return QStringLiteral("*");
    case TZorBtnTyp::sbAltBkspc: return QStringLiteral("Alt");
    case TZorBtnTyp::sb1: return QStringLiteral("1");
    case TZorBtnTyp::sbSlash: return QStringLiteral("/");
    default: return {};
  }
}

// A left arrow for Backspace, a return arrow for Enter.
void drawArrow(QPainter& p, TZorBtnTyp typ, const QColor& c, QRectF area) {
  p.setPen(QPen(c, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  QPainterPath path;
  const double y = area.center().y();
  if (typ == TZorBtnTyp::sbEnter) {
    path.moveTo(area.right() - 3, area.top() + 2);
    path.lineTo(area.right() - 3, y);
    path.lineTo(area.left() + 3, y);
  } else {
    path.moveTo(area.right() - 3, y);
    path.lineTo(area.left() + 3, y);
  }
  p.drawPath(path);
  QPainterPath head;
  head.moveTo(area.left() + 2, y);
  head.lineTo(area.left() + 6, y - 3);
  head.lineTo(area.left() + 6, y + 3);
  head.closeSubpath();
  p.fillPath(head, c);
}

QImage drawLabel(TZorBtnTyp typ, bool enabled) {
  QImage img(kKeyLabelWidth, kKeyLabelHeight, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  const QColor ink = enabled ? QColor(Qt::white) : QColor(215, 215, 215);
  const QString text = labelText(typ);
  if (typ == TZorBtnTyp::sbBackspace || typ == TZorBtnTyp::sbEnter) {
    drawArrow(p, typ, ink, QRectF(0, 0, kKeyLabelWidth, kKeyLabelHeight));
  } else if (typ == TZorBtnTyp::sbAltBkspc) {
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(7);
    f.setBold(true);
    p.setFont(f);
    p.setPen(ink);
    p.drawText(QRect(0, 0, 11, kKeyLabelHeight), Qt::AlignCenter, text);
    drawArrow(p, TZorBtnTyp::sbBackspace, ink, QRectF(9, 0, 11, kKeyLabelHeight));
  } else if (!text.isEmpty()) {
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(text.size() > 2 ? 8 : 10);
    f.setBold(true);
    p.setFont(f);
    p.setPen(ink);
    p.drawText(QRect(0, 0, kKeyLabelWidth, kKeyLabelHeight), Qt::AlignCenter, text);
  }
  return img;
}

struct KeyCapSet {
  std::array<QImage, 5> bg[2];
  std::array<QImage, kTypCount> fg[2];
  KeyCapSet() {
    for (int e = 0; e < 2; ++e) {
      for (int k = 0; k < 5; ++k) bg[e][k] = drawBackground(k, e == 0);
      for (int t = 0; t < kTypCount; ++t) fg[e][t] = drawLabel(static_cast<TZorBtnTyp>(t), e == 0);
    }
  }
};

const KeyCapSet& keyCaps() {
  static const KeyCapSet set;
  return set;
}

}  // namespace

const QImage& KeyCapBackground(int kolor, bool enabled) {
  return keyCaps().bg[enabled ? 0 : 1][static_cast<size_t>(qBound(0, kolor, 4))];
}

const QImage& KeyCapLabel(TZorBtnTyp typ, bool enabled) {
  return keyCaps().fg[enabled ? 0 : 1][static_cast<size_t>(qBound(0, static_cast<int>(typ), kTypCount - 1))];
}

}  // namespace zorpokaz
