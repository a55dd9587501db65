#include "ui/tzorbtn.h"

#include "ui/keycaps.h"
#include "util/bajery.h"
#include "util/uifont.h"

#include <QBitmap>
#include <QEnterEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcutEvent>

namespace zorpokaz {

namespace {

enum class Edge { RaisedInner, SunkenOuter, Raised, Sunken };

// One ring of a 3-D edge: light on the top and left, dark on the bottom and right.
void ring(QPainter& p, const QRect& r, const QColor& topLeft, const QColor& bottomRight) {
  p.setPen(topLeft);
  p.drawLine(r.left(), r.bottom() - 1, r.left(), r.top());
  p.drawLine(r.left(), r.top(), r.right() - 1, r.top());
  p.setPen(bottomRight);
  p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
  p.drawLine(r.right(), r.top(), r.right(), r.bottom());
}

// The platform's edges: one ring for a single edge, two for raised and
// sunken. "Soft" changes the top-left colours (a raised inner edge gets the
// 3-D light instead of the highlight), which is all that tells a hot key-cap
// button from a cold one where the 3-D light differs from the face.
void drawEdgeStyle(QPainter& p, const QRect& r, Edge e, bool soft, const QPalette& pal) {
  const QColor hilight = pal.color(QPalette::Light);  // button highlight
  const QColor light = pal.color(QPalette::Midlight);  // 3-D light
  const QColor shadow = pal.color(QPalette::Dark);     // button shadow
  const QColor dark = pal.color(QPalette::Shadow);     // 3-D dark shadow
  switch (e) {
    case Edge::RaisedInner: ring(p, r, soft ? light : hilight, shadow); break;
    case Edge::SunkenOuter: ring(p, r, soft ? dark : shadow, hilight); break;
    case Edge::Raised:
      ring(p, r, soft ? hilight : light, dark);
      ring(p, r.adjusted(1, 1, -1, -1), soft ? light : hilight, shadow);
      break;
    case Edge::Sunken:
      ring(p, r, soft ? dark : shadow, hilight);
      ring(p, r.adjusted(1, 1, -1, -1), soft ? shadow : dark, light);
      break;
  }
}

// Half of the own picture with its top-left colour made transparent.
QPixmap ownPictureHalf(const QPixmap& pic, bool enabled) {
  const int half = pic.width() / 2;
  QPixmap part = pic.copy(enabled ? 0 : half, 0, half, pic.height());
  const QImage img = part.toImage();
  if (img.isNull()) return part;
  part.setMask(QBitmap::fromImage(img.createMaskFromColor(img.pixel(0, 0), Qt::MaskInColor)));
  return part;
}

}  // namespace

TZorBtn::TZorBtn(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setCursor(Qt::PointingHandCursor);
  setFont(CellHeightFont(QStringLiteral("Arial"), 11, true));
  m_colorDown = palette().color(QPalette::Light);
  resize(40, 33);
}

void TZorBtn::setTyp(TZorBtnTyp typ) {
  if (typ == m_typ) return;
  m_typ = typ;
  update();
}

void TZorBtn::setKolor(int kolor) {
  kolor = qBound(0, kolor, 4);
  if (kolor == m_kolor) return;
  m_kolor = kolor;
  update();
}

void TZorBtn::setOpis(const QString& opis) {
  if (opis == m_opis) return;
  m_opis = opis;
  grabAccelerator();
  update();
}

void TZorBtn::setMargines(int margin) {
  if (margin == m_margines) return;
  m_margines = margin;
  update();
}

void TZorBtn::setColorDown(const QColor& color) {
  if (color == m_colorDown) return;
  m_colorDown = color;
  update();
}

void TZorBtn::setDown(bool down) {
  if (down == m_down) return;
  m_down = down;
  update();
}

void TZorBtn::setIkonka(const QPixmap& picture) {
  m_ikonka = picture;
  update();
}

void TZorBtn::setShowFrame(bool show) {
  if (show == m_showFrame) return;
  m_showFrame = show;
  update();
}

void TZorBtn::setHot(bool hot) {
  if (hot == m_hot) return;
  m_hot = hot;
  update();
}

void TZorBtn::Click() {
  if (OnClick) OnClick(*this);
  m_hot = false;
  m_pressed = false;
  update();
}

void TZorBtn::grabAccelerator() {
  if (m_shortcutId) releaseShortcut(m_shortcutId);
  m_shortcutId = 0;
  const QKeySequence seq = QKeySequence::mnemonic(m_opis);
  if (!seq.isEmpty()) m_shortcutId = grabShortcut(seq);
}

bool TZorBtn::event(QEvent* e) {
  if (e->type() == QEvent::Shortcut &&
      static_cast<QShortcutEvent*>(e)->shortcutId() == m_shortcutId) {
    if (isVisible() && isEnabled()) Click();
    return true;
  }
  return QWidget::event(e);
}

TZorBtn::Arrangement TZorBtn::ArrangementFor(QSize size) {
  if (size.height() > 2 * size.width()) return Arrangement::Vertical;
  if (size.height() < 30) return Arrangement::Horizontal;
  return Arrangement::Stacked;
}

QSize TZorBtn::pictureSize() const {
  if (m_typ != TZorBtnTyp::sbWlasny) return {kKeyCapWidth, kKeyCapHeight};
  return {m_ikonka.width() / 2, m_ikonka.height()};
}

QPoint TZorBtn::picturePos(QSize pic, bool pressedLook) const {
  QPoint at;
  switch (arrangement()) {
    case Arrangement::Stacked: at = {(width() - pic.width()) / 2, m_margines}; break;
    case Arrangement::Horizontal: at = {m_margines, (height() - pic.height()) / 2}; break;
    case Arrangement::Vertical:
      at = {(width() - pic.width()) / 2, height() - pic.height() - m_margines};
      break;
  }
  return pressedLook ? at + QPoint(1, 1) : at;
}

void TZorBtn::drawPicture(QPainter& p, QPoint at) const {
  if (m_typ != TZorBtnTyp::sbWlasny) {
    p.drawImage(at, KeyCapBackground(m_kolor, isEnabled()));
    p.drawImage(at + QPoint(1, 2), KeyCapLabel(m_typ, isEnabled()));
  } else if (m_ikonka.width() >= 2) {
    p.drawPixmap(at, ownPictureHalf(m_ikonka, isEnabled()));
  }
}

void TZorBtn::drawText(QPainter& p, QSize pic, bool pressedLook) const {
  if (m_opis.isEmpty()) return;
  const int w = width();
  const int h = height();
  const bool noPicture = m_typ == TZorBtnTyp::sbWlasny && m_ikonka.isNull();
  const QFontMetrics fm(font());
  QRect r;
  int flags = Qt::TextSingleLine | Qt::TextDontClip;
  const Arrangement a = arrangement();
  switch (a) {
    case Arrangement::Stacked:
      r = QRect(QPoint(1, h - fm.height() - m_margines), QPoint(w - 2, h - 2));
      flags |= Qt::AlignHCenter | Qt::AlignTop | Qt::TextShowMnemonic;
      break;
    case Arrangement::Horizontal: {
      const int m = qMax(0, m_margines);
      const int left = noPicture ? m : m * 2 + pic.width();
      r = QRect(QPoint(left, 0), QPoint(w - 2, h - 2));
      flags |= Qt::AlignVCenter | Qt::TextShowMnemonic;
      flags |= m_margines < 0 ? Qt::AlignHCenter : Qt::AlignLeft;
      break;
    }
    case Arrangement::Vertical: {
      const int bottom = noPicture ? h - m_margines : h - pic.height() - 2 * m_margines;
      r = QRect(QPoint(1, 1), QPoint(w - 2, bottom - 1));
      break;
    }
  }
  if (pressedLook) r.translate(1, 1);

  auto paintAt = [&](const QRect& rr, const QColor& c) {
    p.setPen(c);
    if (a != Arrangement::Vertical) {
      p.drawText(rr, flags, m_opis);
      return;
    }
    // Read from bottom to top, centred across, starting at the bottom.
    TextOutRotated(p, QPoint(rr.left() + (rr.width() - fm.height()) / 2, rr.bottom()), m_opis,
                   CreateRotatedFont(font(), 90));
  };
  p.setFont(font());
  if (isEnabled()) {
    paintAt(r, palette().color(QPalette::WindowText));
  } else {
    paintAt(r.translated(1, 1), palette().color(QPalette::Light));
    paintAt(r, palette().color(QPalette::Dark));
  }
}

void TZorBtn::drawEdge(QPainter& p, bool pressedLook) const {
  const bool hot = m_hot && isEnabled();
  if (!m_showFrame && !hot) {
    const QColor parentColor =
        parentWidget() ? parentWidget()->palette().color(QPalette::Window) : palette().color(QPalette::Window);
    p.setPen(parentColor);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    return;
  }
  // Systems whose 3-D light equals the face colour get stronger hot edges;
  // elsewhere the cold edge is the soft one.
  const bool setA = palette().color(QPalette::Midlight) != palette().color(QPalette::Button);
  Edge e = pressedLook ? Edge::SunkenOuter : Edge::RaisedInner;
  bool soft = setA;
  if (hot) {
    soft = !setA;
    if (!setA) e = pressedLook ? Edge::Sunken : Edge::Raised;
  }
  drawEdgeStyle(p, rect(), e, soft, palette());
}

void TZorBtn::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), m_down ? m_colorDown : palette().color(QPalette::Window));
  const bool pressedLook = (m_hot && m_pressed) || m_down;
  const QSize pic = pictureSize();
  drawPicture(p, picturePos(pic, pressedLook));
  drawText(p, pic, pressedLook);
  if (OnPaint) {
    QRect r(QPoint(1, 1), QPoint(width() - 2, height() - 2));
    if (pressedLook) r.translate(1, 1);
    OnPaint(*const_cast<TZorBtn*>(this), p, r);
  }
  drawEdge(p, pressedLook);
}

void TZorBtn::enterEvent(QEnterEvent*) {
  if (OnMouseEnter) OnMouseEnter(*this);
  setHot(true);
}

void TZorBtn::leaveEvent(QEvent*) {
  if (OnMouseLeave) OnMouseLeave(*this);
  setHot(false);
}

void TZorBtn::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    m_pressed = true;
    m_hot = rect().contains(event->position().toPoint());
    update();
  }
  if (OnMouseDown) OnMouseDown(*this);
}

void TZorBtn::mouseDoubleClickEvent(QMouseEvent* event) {
  // A double click is two clicks.
  mousePressEvent(event);
}

void TZorBtn::mouseMoveEvent(QMouseEvent* event) {
  setHot(rect().contains(event->position().toPoint()));
}

void TZorBtn::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    const bool wasPressed = m_pressed;
    m_pressed = false;
    update();
    if (wasPressed && rect().contains(event->position().toPoint())) Click();
  }
  if (OnMouseUp) OnMouseUp(*this);
}

}  // namespace zorpokaz
