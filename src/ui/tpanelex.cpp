#include "ui/tpanelex.h"

#include "util/bajery.h"

#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace zorpokaz {

namespace {

// One bevel ring of width w: light on the top/left for a raised cut.
void drawBevel(QPainter& p, QRect& r, TBevelCut cut, int w) {
  if (cut == TBevelCut::None)
    return;
  const QColor light = cut == TBevelCut::Raised ? QColor(Qt::white) : QColor(128, 128, 128);
  const QColor dark = cut == TBevelCut::Raised ? QColor(128, 128, 128) : QColor(Qt::white);
  for (int i = 0; i < w; ++i) {
    p.setPen(light);
    p.drawLine(r.left(), r.top(), r.right(), r.top());
    p.drawLine(r.left(), r.top(), r.left(), r.bottom());
    p.setPen(dark);
    p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    p.drawLine(r.right(), r.top(), r.right(), r.bottom());
    r.adjust(1, 1, -1, -1);
  }
}

}  // namespace

TPanelEx::TPanelEx(QWidget* parent) : QWidget(parent) {
  setAutoFillBackground(false);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);  // the cursor is chosen as the pointer moves
}

void TPanelEx::setCaption(const QString& caption) {
  if (caption == m_caption)
    return;
  m_caption = caption;
  update();
}

void TPanelEx::setAlignment(Qt::Alignment alignment) {
  m_alignment = alignment;
  update();
}

void TPanelEx::setBevelOuter(TBevelCut cut) {
  m_bevelOuter = cut;
  update();
}

void TPanelEx::setBevelInner(TBevelCut cut) {
  m_bevelInner = cut;
  update();
}

void TPanelEx::setBevelWidth(int width) {
  m_bevelWidth = qMax(1, width);
  update();
}

void TPanelEx::setBorderWidth(int width) {
  m_borderWidth = qMax(0, width);
  update();
}

QColor TPanelEx::Color() const { return palette().color(QPalette::Window); }

void TPanelEx::setColor(const QColor& color) {
  QPalette pal = palette();
  pal.setColor(QPalette::Window, color);
  setPalette(pal);
  update();
}

QColor TPanelEx::FontColor() const { return palette().color(QPalette::WindowText); }

void TPanelEx::setFontColor(const QColor& color) {
  QPalette pal = palette();
  pal.setColor(QPalette::WindowText, color);
  setPalette(pal);
  update();
}

void TPanelEx::setCaption2(const QString& text) {
  if (text == m_caption2)
    return;
  m_caption2 = text;
  update();
  applyAutoHeight();
}

void TPanelEx::setAutoHeight(bool on) {
  m_autoHeight = on;
  applyAutoHeight();
}

void TPanelEx::setMinWidth(int width) {
  m_minWidth = qMax(0, width);
  setMinimumWidth(m_minWidth);
  if (m_minWidth > 0 && this->width() < m_minWidth)
    resize(m_minWidth, height());
}

int TPanelEx::FrameWidth() const {
  const int bevels = (m_bevelOuter != TBevelCut::None ? m_bevelWidth : 0) +
                     (m_bevelInner != TBevelCut::None ? m_bevelWidth : 0);
  return bevels + m_borderWidth;
}

QRect TPanelEx::InnerRect() const {
  const int f = FrameWidth();
  return rect().adjusted(f, f, -f, -f);
}

QRect TPanelEx::caption2Rect() const {
  return rect().adjusted(m_borderWidth, m_borderWidth, -m_borderWidth, -m_borderWidth);
}

void TPanelEx::applyAutoHeight() {
  if (!m_autoHeight || m_caption2.isEmpty())
    return;
  const QRect r = caption2Rect();
  // Measured as the panel's own painting will draw it: same font, same dpi.
  QImage scratch(1, 1, QImage::Format_RGB32);
  scratch.setDotsPerMeterX(qRound(logicalDpiX() / 0.0254));
  scratch.setDotsPerMeterY(qRound(logicalDpiY() / 0.0254));
  QPainter canvas(&scratch);
  canvas.setFont(font());
  const int textHeight = DrawTextIn(canvas, r, m_caption2, true);
  setFixedHeight(qMax(0, height() - r.height() + textHeight));
}

THitTest TPanelEx::HitTest(QPoint local) {
  THitTest result = THitTest::Client;
  if (OnHitTest) {
    const QPoint global = mapToGlobal(local);
    OnHitTest(*this, global.x(), global.y(), result);
  }
  return result;
}

void TPanelEx::paintEvent(QPaintEvent*) {
  QPainter p(this);
  // Erasing: a panel with a second caption paints all of itself at once.
  bool erase = m_caption2.isEmpty();
  if (OnEraseBkgnd)
    OnEraseBkgnd(*this, erase);
  if (erase)
    p.fillRect(rect(), Color());
  p.setFont(font());
  p.setBrush(Color());
  bool doDefault = true;
  if (OnBeforePaint)
    OnBeforePaint(*this, p, doDefault);
  if (doDefault)
    paintDefault(p);
  if (OnAfterPaint)
    OnAfterPaint(*this, p);
}

void TPanelEx::paintDefault(QPainter& p) {
  // Drawn whole into one buffer by Qt's backing store, so Caption2 does not
  // flicker while it changes.
  p.fillRect(rect(), Color());
  if (!m_caption2.isEmpty()) {
    p.setPen(FontColor());
    DrawTextIn(p, caption2Rect(), m_caption2, false);
    return;
  }
  QRect r = rect();
  drawBevel(p, r, m_bevelOuter, m_bevelWidth);
  r.adjust(m_borderWidth, m_borderWidth, -m_borderWidth, -m_borderWidth);
  drawBevel(p, r, m_bevelInner, m_bevelWidth);
  if (!m_caption.isEmpty()) {
    p.setPen(isEnabled() ? FontColor() : palette().color(QPalette::Disabled, QPalette::WindowText));
    p.drawText(r, static_cast<int>(m_alignment | Qt::AlignVCenter) | Qt::TextSingleLine,
               m_caption);
  }
}

namespace {

bool isNonClient(THitTest h) {
  return h != THitTest::Client && h != THitTest::Transparent && h != THitTest::Nowhere;
}

bool isMoveOrSize(THitTest h) { return isNonClient(h) && h != THitTest::Border; }

}  // namespace

QRect TPanelEx::DraggedBounds(const QRect& bounds, THitTest kind, QPoint d) {
  if (kind == THitTest::Caption)
    return bounds.translated(d);
  QRect r = bounds;
  const bool left = kind == THitTest::Left || kind == THitTest::TopLeft || kind == THitTest::BottomLeft;
  const bool right = kind == THitTest::Right || kind == THitTest::TopRight || kind == THitTest::BottomRight;
  const bool top = kind == THitTest::Top || kind == THitTest::TopLeft || kind == THitTest::TopRight;
  const bool bottom = kind == THitTest::Bottom || kind == THitTest::BottomLeft || kind == THitTest::BottomRight;
  if (left)
    r.setLeft(std::min(r.left() + d.x(), r.right()));
  if (right)
    r.setRight(std::max(r.right() + d.x(), r.left()));
  if (top)
    r.setTop(std::min(r.top() + d.y(), r.bottom()));
  if (bottom)
    r.setBottom(std::max(r.bottom() + d.y(), r.top()));
  return r;
}

// A transparent point belongs to the window beneath: the event goes on to the
// parent as if the panel were not there.
bool TPanelEx::passesThrough(QMouseEvent* event) {
  if (HitTest(event->position().toPoint()) != THitTest::Transparent)
    return false;
  event->ignore();
  return true;
}

void TPanelEx::chooseCursor(QPoint local) {
  if (!OnSetCursor)
    return;
  QCursor chosen(Qt::ArrowCursor);
  OnSetCursor(*this, HitTest(local), chosen);
  if (chosen.shape() != Qt::ArrowCursor) {
    m_hookCursor = true;
    setCursor(chosen);
  } else if (m_hookCursor) {
    m_hookCursor = false;
    unsetCursor();
  }
}

void TPanelEx::dragTo(QPoint global) {
  QRect r = DraggedBounds(m_dragBounds, m_drag, global - m_dragStart);
  if (m_drag == THitTest::Caption) {
    if (OnPanelMove)
      OnPanelMove(*this, r);
  } else {
    if (m_minWidth > 0 && r.width() < m_minWidth)
      r.setWidth(m_minWidth);
    if (OnPanelResize)
      OnPanelResize(*this, r);
  }
  setGeometry(r);
}

void TPanelEx::endDrag() {
  if (isMoveOrSize(m_drag)) {
    if (m_minWidth > width())
      resize(m_minWidth, height());
    if (OnExitSizeMove)
      OnExitSizeMove(*this);
  }
  m_drag = THitTest::Nowhere;
  if (OnNCLMouseUp)
    OnNCLMouseUp(*this);
}

// A left press on a caption or edge answer is the system's non-client press:
// it moves or sizes the panel until the button is released.
void TPanelEx::mousePressEvent(QMouseEvent* event) {
  if (passesThrough(event))
    return;
  const THitTest h = HitTest(event->position().toPoint());
  if (event->button() == Qt::LeftButton && isNonClient(h)) {
    m_drag = h;
    m_dragStart = event->globalPosition().toPoint();
    m_dragBounds = geometry();
    return;
  }
  QWidget::mousePressEvent(event);
}

void TPanelEx::mouseReleaseEvent(QMouseEvent* event) {
  if (m_drag != THitTest::Nowhere && event->button() == Qt::LeftButton) {
    endDrag();
    return;
  }
  if (!passesThrough(event))
    QWidget::mouseReleaseEvent(event);
}

void TPanelEx::mouseMoveEvent(QMouseEvent* event) {
  if (isMoveOrSize(m_drag)) {
    dragTo(event->globalPosition().toPoint());
    return;
  }
  chooseCursor(event->position().toPoint());
  if (!passesThrough(event))
    QWidget::mouseMoveEvent(event);
}

void TPanelEx::mouseDoubleClickEvent(QMouseEvent* event) {
  const THitTest h = HitTest(event->position().toPoint());
  if (isNonClient(h) && event->button() == Qt::LeftButton) {
    if (OnNCLMouseDblClk)
      OnNCLMouseDblClk(*this);
    return;
  }
  if (OnDblClick && h != THitTest::Transparent) {
    OnDblClick(*this);
    return;
  }
  if (!passesThrough(event))
    QWidget::mouseDoubleClickEvent(event);
}

void TPanelEx::keyPressEvent(QKeyEvent* event) {
  int key = event->key();
  if (OnKeyDown)
    OnKeyDown(*this, key, event->modifiers());
  QChar typed = event->text().isEmpty() ? QChar() : event->text().front();
  if (key != 0 && OnKeyPress && !typed.isNull())
    OnKeyPress(*this, typed);
  if (key == 0 || (OnKeyPress && !event->text().isEmpty() && typed.isNull()))
    return;  // consumed
  QWidget::keyPressEvent(event);
}

void TPanelEx::keyReleaseEvent(QKeyEvent* event) {
  int key = event->key();
  if (OnKeyUp)
    OnKeyUp(*this, key, event->modifiers());
  if (key != 0)
    QWidget::keyReleaseEvent(event);
}

bool TPanelEx::focusNextPrevChild(bool next) {
  if (OnNextDlgCtl)
    OnNextDlgCtl(*this);
  return QWidget::focusNextPrevChild(next);
}

void TPanelEx::enterEvent(QEnterEvent* event) {
  QWidget::enterEvent(event);
  if (OnMouseEnter)
    OnMouseEnter(*this);
}

void TPanelEx::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  if (OnMouseLeave)
    OnMouseLeave(*this);
}

}  // namespace zorpokaz
