#include "ui/tpanelex.h"

#include "util/bajery.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>

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

// A transparent point belongs to the window beneath: the event goes on to the
// parent as if the panel were not there.
bool TPanelEx::passesThrough(QMouseEvent* event) {
  if (HitTest(event->position().toPoint()) != THitTest::Transparent)
    return false;
  event->ignore();
  return true;
}

void TPanelEx::mousePressEvent(QMouseEvent* event) {
  if (!passesThrough(event))
    QWidget::mousePressEvent(event);
}

void TPanelEx::mouseReleaseEvent(QMouseEvent* event) {
  if (!passesThrough(event))
    QWidget::mouseReleaseEvent(event);
}

void TPanelEx::mouseMoveEvent(QMouseEvent* event) {
  if (!passesThrough(event))
    QWidget::mouseMoveEvent(event);
}

void TPanelEx::mouseDoubleClickEvent(QMouseEvent* event) {
  if (OnDblClick && HitTest(event->position().toPoint()) != THitTest::Transparent) {
    OnDblClick(*this);
    return;
  }
  if (!passesThrough(event))
    QWidget::mouseDoubleClickEvent(event);
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
