#include "preview/temfviewer.h"

#include "platform/gfx/pageimage.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QStyle>
#include <QToolButton>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace zorpokaz {

namespace {

constexpr int kSmallStep = 30;
constexpr int kButtonHeight = 15;
const QColor kSilver(192, 192, 192);

// An arrow pointing at a bar: the "to the start" glyph, or mirrored, "to the end".
QIcon edgeArrowIcon(bool toStart) {
  QPixmap pm(11, 9);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing, false);
  const int barY = toStart ? 0 : 7;
  p.fillRect(QRect(1, barY, 9, 2), Qt::black);
  QPainterPath tri;
  if (toStart) {
    tri.moveTo(5.5, 2.5);
    tri.lineTo(10, 8.5);
    tri.lineTo(1, 8.5);
  } else {
    tri.moveTo(5.5, 6.5);
    tri.lineTo(10, 0.5);
    tri.lineTo(1, 0.5);
  }
  tri.closeSubpath();
  p.setRenderHint(QPainter::Antialiasing, true);
  p.fillPath(tri, Qt::black);
  return QIcon(pm);
}

QToolButton* makeEdgeButton(QWidget* parent, bool toStart, const QString& hint) {
  auto* b = new QToolButton(parent);
  b->setFocusPolicy(Qt::NoFocus);
  b->setIcon(edgeArrowIcon(toStart));
  b->setIconSize(QSize(11, 9));
  b->setToolTip(hint);
  b->setCursor(Qt::ArrowCursor);
  return b;
}

}  // namespace

TEmfViewer::TEmfViewer(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::ClickFocus);
  setCursor(Qt::PointingHandCursor);
  setMouseTracking(true);

  m_btnStart = makeEdgeButton(this, true, QStringLiteral("Przejście na początek"));
  m_btnEnd = makeEdgeButton(this, false, QStringLiteral("Przejście na koniec"));
  connect(m_btnStart, &QToolButton::clicked, this, [this] { sendKeyFromButton(Qt::Key_Home); });
  connect(m_btnEnd, &QToolButton::clicked, this, [this] { sendKeyFromButton(Qt::Key_End); });

  m_vBar = new QScrollBar(Qt::Vertical, this);
  m_hBar = new QScrollBar(Qt::Horizontal, this);
  for (QScrollBar* bar : {m_vBar, m_hBar}) {
    bar->setFocusPolicy(Qt::NoFocus);
    bar->setCursor(Qt::ArrowCursor);
    bar->setRange(0, 0);
    bar->setSingleStep(kSmallStep);
    connect(bar, &QScrollBar::valueChanged, this, &TEmfViewer::scrollChanged);
  }
  m_hBar->hide();
  Relayout(false);
}

TEmfViewer::~TEmfViewer() = default;

int TEmfViewer::AddPage(PagePtr page) {
  m_pages.push_back(std::move(page));
  // Pages mostly arrive below the view while it is being read: repaint only
  // when the new sheet shows.
  relayout(false, false);
  if (emfgeo::SheetTop(PageCount() - 1, VertPos(), m_sheet) < height()) update();
  Q_EMIT OnChange();
  return PageCount() - 1;
}

void TEmfViewer::ClearPages() {
  if (m_pages.empty()) return;
  m_pages.clear();
  Relayout(false);
  Q_EMIT OnChange();
}

void TEmfViewer::FreePages() { ClearPages(); }

int TEmfViewer::HorzPos() const { return m_hBar->value(); }
int TEmfViewer::VertPos() const { return m_vBar->value(); }
void TEmfViewer::setVertPos(int pos) { m_vBar->setValue(pos); }

emfgeo::PagePoint TEmfViewer::PageAt(QPoint viewPoint) const {
  return emfgeo::PageAt(viewPoint.x(), viewPoint.y(), HorzPos(), VertPos(), m_viewW, m_sheet);
}

int TEmfViewer::PageNr() const {
  const emfgeo::PagePoint p = PageAt(QPoint(m_viewW / 2, m_viewH / 2));
  return static_cast<int>(std::trunc(p.page)) + 1;
}

void TEmfViewer::setPageNr(int pageNr) { m_vBar->setValue(emfgeo::PageNrToPos(pageNr, m_sheet)); }

void TEmfViewer::setZoomLevel(TEmfZoomLevel level) {
  if (level == m_zoom) return;
  m_zoom = level;
  Relayout(true);
  Q_EMIT OnZoom();
}

void TEmfViewer::ZoomIn() {
  if (m_zoom < TEmfZoomLevel::zoomExtra3)
    setZoomLevel(static_cast<TEmfZoomLevel>(static_cast<int>(m_zoom) + 1));
}

void TEmfViewer::ZoomOut() {
  if (m_zoom > TEmfZoomLevel::zoomPageH)
    setZoomLevel(static_cast<TEmfZoomLevel>(static_cast<int>(m_zoom) - 1));
  if (m_zoom == TEmfZoomLevel::zoomPageH) AlignToPage();
}

void TEmfViewer::AlignToPage() {
  const emfgeo::PagePoint p = PageAt(QPoint(m_viewW / 2, m_viewH / 2));
  m_vBar->setValue(emfgeo::AlignToPageV(p.page, m_sheet));
}

void TEmfViewer::ScrollToPoint(QPoint viewPoint, float fraction, float page) {
  if (extraZoom()) m_hBar->setValue(emfgeo::ScrollToPointH(viewPoint.x(), fraction, m_sheet));
  m_vBar->setValue(emfgeo::ScrollToPointV(viewPoint.y(), page, m_sheet));
}

void TEmfViewer::setMargin(int& field, int mm) {
  if (field == mm) return;
  field = mm;
  update();
  if (m_zoom == TEmfZoomLevel::zoomTextW) Relayout(true);
}

void TEmfViewer::setMargLeft(int mm) { setMargin(m_margLeft, mm); }
void TEmfViewer::setMargRight(int mm) { setMargin(m_margRight, mm); }
void TEmfViewer::setMargTop(int mm) { setMargin(m_margTop, mm); }
void TEmfViewer::setMargBottom(int mm) { setMargin(m_margBottom, mm); }

void TEmfViewer::setShowPageNr(bool show) {
  if (show == m_showPageNr) return;
  m_showPageNr = show;
  update();
}

void TEmfViewer::Relayout(bool keep) { relayout(keep, true); }

void TEmfViewer::relayout(bool keep, bool repaintAll) {
  const int w = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_vBar);
  m_viewW = std::max(0, width() - w);
  m_viewH = height();

  m_btnStart->setGeometry(m_viewW, 0, w, kButtonHeight);
  m_btnEnd->setGeometry(m_viewW, kButtonHeight, w, kButtonHeight);
  m_vBar->setGeometry(m_viewW, 2 * kButtonHeight, w, std::max(0, height() - 2 * kButtonHeight));
  m_hBar->setGeometry(0, m_viewH, m_viewW, 0);

  const emfgeo::SheetSize oldSheet = m_sheet;
  m_sheet = emfgeo::SheetSizeFor(m_zoom, m_viewW, m_viewH, m_margLeft, m_margRight);

  const int hMax = emfgeo::HorizontalMax(m_sheet, m_viewW);
  const int vMax = emfgeo::VerticalMax(m_sheet, PageCount(), m_viewH);
  const int oldH = m_hBar->value();
  const int oldV = m_vBar->value();
  int h = keep ? emfgeo::RescalePosition(oldH, m_hBar->maximum(), hMax) : oldH;
  const int v = keep ? emfgeo::RescalePosition(oldV, m_vBar->maximum(), vMax) : oldV;
  switch (m_zoom) {
    case TEmfZoomLevel::zoomPageH:
    case TEmfZoomLevel::zoomPageAvg:
    case TEmfZoomLevel::zoomPageW:
      h = 0;
      break;
    case TEmfZoomLevel::zoomTextW:
      h = emfgeo::TextWidthHorizontalPos(m_sheet, m_margLeft);
      break;
    default:
      break;
  }

  // One notification for the whole change rather than one per bar property.
  {
    const QSignalBlocker bh(m_hBar);
    const QSignalBlocker bv(m_vBar);
    m_hBar->setRange(0, hMax);
    m_hBar->setPageStep(std::max(1, m_viewW));
    m_hBar->setValue(h);
    m_vBar->setRange(0, vMax);
    m_vBar->setPageStep(std::max(1, m_viewH));
    m_vBar->setValue(v);
  }
  const bool sheetChanged = oldSheet.width != m_sheet.width || oldSheet.height != m_sheet.height;
  const bool moved = m_hBar->value() != oldH || m_vBar->value() != oldV;
  if (repaintAll || moved || sheetChanged) update();
  // The page at the centre depends on the sheet size too, so listeners of the
  // position also hear about a new sheet size.
  if (moved || sheetChanged) Q_EMIT OnMove();
}

void TEmfViewer::scrollChanged() {
  update();
  Q_EMIT OnMove();
}

void TEmfViewer::resizeEvent(QResizeEvent*) { Relayout(true); }

void TEmfViewer::paintEvent(QPaintEvent* event) {
  // The children (scroll bar, buttons) repaint over the strip right of the view.
  const QRect dirty = event->rect() & QRect(0, 0, m_viewW, m_viewH);
  if (dirty.isEmpty()) return;
  QPainter painter(this);
  painter.setClipRect(dirty);
  painter.fillRect(dirty, kSilver);

  const emfgeo::SheetMargins margins =
      emfgeo::MarginsPx(m_sheet, m_margLeft, m_margTop, m_margRight, m_margBottom);
  const int x = emfgeo::SheetLeft(m_sheet, m_viewW, HorzPos());
  const int slot = emfgeo::SheetSlot(m_sheet);
  int i = std::max(0, emfgeo::FirstSheet(VertPos(), m_sheet));
  int y = emfgeo::SheetTop(i, VertPos(), m_sheet);
  // Only the sheets that intersect the view are drawn.
  while (y < height() && i < PageCount()) {
    const QRect sheet(x, y, m_sheet.width, m_sheet.height);
    // With its frame and shadow.
    if (sheet.adjusted(-1, -1, 4, 4).intersects(dirty)) drawSheet(painter, i, sheet, margins);
    ++i;
    y += slot;
  }
}

void TEmfViewer::drawSheet(QPainter& painter, int index, const QRect& r,
                           const emfgeo::SheetMargins& m) const {
  painter.fillRect(r.translated(4, 4), Qt::black);
  // A one-pixel black frame just outside the sheet, white inside.
  painter.fillRect(r.adjusted(-1, -1, 1, 1), Qt::black);
  painter.fillRect(r, Qt::white);

  const QRectF target(r.left() + m.left, r.top() + m.top,
                      r.width() - m.left - m.right, r.height() - m.top - m.bottom);
  // Margins wider than the sheet leave no room; a flipped target would mirror the page.
  if (target.width() > 0 && target.height() > 0) {
    m_pages[static_cast<size_t>(index)]->replay(painter, target);
    if (m_marks) drawMarks(painter, index, target);
  }

  if (m_showPageNr) {
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPointSize(6);
    painter.setFont(f);
    painter.setPen(QColor(255, 0, 0));
    const QString label = emfgeo::PageLabel(index + 1);
    const QFontMetrics fm(f);
    const int tx = (r.left() + r.right() + 1 - fm.horizontalAdvance(label)) / 2;
    painter.drawText(tx, r.top() + fm.ascent(), label);
  }
}

void TEmfViewer::drawMarks(QPainter& painter, int index, const QRectF& target) const {
  const PageImage& page = *m_pages[static_cast<size_t>(index)];
  if (page.width() <= 0 || page.height() <= 0) return;
  const std::vector<Mark> marks = m_marks(index);
  if (marks.empty()) return;
  const double sx = target.width() / page.width(), sy = target.height() / page.height();
  painter.save();
  // Multiplied over the page, so the text under a mark stays as dark as it was.
  painter.setCompositionMode(QPainter::CompositionMode_Multiply);
  for (const Mark& mark : marks) {
    const QRectF r(target.left() + mark.rect.left() * sx, target.top() + mark.rect.top() * sy,
                   mark.rect.width() * sx, mark.rect.height() * sy);
    painter.fillRect(r.adjusted(-1, 0, 1, 0), mark.current ? QColor(255, 150, 40) : QColor(255, 235, 60));
  }
  painter.restore();
}

QRectF TEmfViewer::pageTarget(const QRect& sheet) const {
  const emfgeo::SheetMargins m = emfgeo::MarginsPx(m_sheet, m_margLeft, m_margTop, m_margRight, m_margBottom);
  return QRectF(sheet.left() + m.left, sheet.top() + m.top, sheet.width() - m.left - m.right,
                sheet.height() - m.top - m.bottom);
}

void TEmfViewer::setMarkSource(MarkSource source) {
  m_marks = std::move(source);
  update();
}

QRectF TEmfViewer::PageRectInView(int index, const QRectF& pageRect) const {
  if (index < 0 || index >= PageCount()) return {};
  const PageImage& page = Page(index);
  const QRect sheet(emfgeo::SheetLeft(m_sheet, m_viewW, HorzPos()), emfgeo::SheetTop(index, VertPos(), m_sheet),
                    m_sheet.width, m_sheet.height);
  const QRectF target = pageTarget(sheet);
  if (page.width() <= 0 || page.height() <= 0) return target;
  const double sx = target.width() / page.width(), sy = target.height() / page.height();
  return QRectF(target.left() + pageRect.left() * sx, target.top() + pageRect.top() * sy, pageRect.width() * sx,
                pageRect.height() * sy);
}

void TEmfViewer::ScrollIntoView(int index, const QRectF& pageRect) {
  const QRectF r = PageRectInView(index, pageRect);
  if (r.isNull()) return;
  // A third of the view stays above the line found, for its context.
  if (r.top() < 0 || r.bottom() > m_viewH) m_vBar->setValue(VertPos() + static_cast<int>(r.top()) - m_viewH / 3);
  if (extraZoom() && (r.left() < 0 || r.right() > m_viewW))
    m_hBar->setValue(HorzPos() + static_cast<int>(r.left()) - m_viewW / 3);
}

bool TEmfViewer::handleScrollKey(int key, bool keypad) {
  auto is = [&](int plain, int pad) { return key == plain || (keypad && key == pad); };
  if (is(Qt::Key_Up, Qt::Key_8)) {
    m_vBar->setValue(VertPos() - m_vBar->singleStep());
  } else if (is(Qt::Key_Down, Qt::Key_2)) {
    m_vBar->setValue(VertPos() + m_vBar->singleStep());
  } else if (is(Qt::Key_PageUp, Qt::Key_9)) {
    m_vBar->setValue(VertPos() - m_vBar->pageStep());
  } else if (is(Qt::Key_PageDown, Qt::Key_3)) {
    m_vBar->setValue(VertPos() + m_vBar->pageStep());
  } else if (is(Qt::Key_Home, Qt::Key_7)) {
    m_vBar->setValue(0);
  } else if (is(Qt::Key_End, Qt::Key_1)) {
    m_vBar->setValue(m_vBar->maximum());
  } else if (is(Qt::Key_Left, Qt::Key_4)) {
    if (extraZoom()) m_hBar->setValue(HorzPos() - m_hBar->singleStep());
  } else if (is(Qt::Key_Right, Qt::Key_6)) {
    if (extraZoom()) m_hBar->setValue(HorzPos() + m_hBar->singleStep());
  } else {
    return false;
  }
  return true;
}

bool TEmfViewer::handleZoomKey(int key, bool keypad) {
  if (!keypad) return false;
  switch (key) {
    case Qt::Key_Plus:
      ZoomIn();
      return true;
    case Qt::Key_Minus:
      ZoomOut();
      return true;
    case Qt::Key_Asterisk:
      setZoomLevel(TEmfZoomLevel::zoomPageW);
      return true;
    case Qt::Key_Slash:
      setZoomLevel(TEmfZoomLevel::zoomPageH);
      return true;
    case Qt::Key_Period:
    case Qt::Key_Comma:  // the keypad's decimal key under a comma locale
      AlignToPage();
      return true;
    default:
      return false;
  }
}

void TEmfViewer::keyPressEvent(QKeyEvent* event) {
  const bool keypad = event->modifiers().testFlag(Qt::KeypadModifier);
  const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
  const int key = event->key();
  bool consumed = false;
  if (mods == Qt::NoModifier) {
    consumed = handleScrollKey(key, keypad);
    // Zoom keys act and still travel on, like any key the viewer does not scroll with.
    if (!consumed) handleZoomKey(key, keypad);
  } else if (mods == Qt::ControlModifier && (key == Qt::Key_Home || key == Qt::Key_End)) {
    if (extraZoom()) m_hBar->setValue(key == Qt::Key_Home ? 0 : m_hBar->maximum());
    consumed = true;
  }
  if (consumed)
    event->accept();
  else
    QWidget::keyPressEvent(event);
}

void TEmfViewer::sendKeyFromButton(int key) {
  // The same road as a typed key: event filters of the window see it first and
  // modifier keys held down count.
  QKeyEvent press(QEvent::KeyPress, key, QGuiApplication::keyboardModifiers());
  QCoreApplication::sendEvent(this, &press);
}

void TEmfViewer::wheelEvent(QWheelEvent* event) {
  const int delta = event->angleDelta().y();
  if (event->modifiers().testFlag(Qt::ControlModifier)) {
    // Ctrl+wheel zooms a level per notch, as the keypad's + and -; turning
    // away from the user zooms in.
    m_wheelZoom += delta;
    for (; m_wheelZoom >= 120; m_wheelZoom -= 120) ZoomIn();
    for (; m_wheelZoom <= -120; m_wheelZoom += 120) ZoomOut();
    event->accept();
    return;
  }
  m_vBar->setValue(VertPos() - emfgeo::roundEven(3.0 * delta / 120.0 * m_vBar->singleStep()));
  event->accept();
}

void TEmfViewer::mousePressEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  if (event->button() == Qt::LeftButton) {
    m_leftPressed = true;
    // A press can arrive without a hover move before it (a window just raised,
    // a touch screen); the click tolerance is measured from the press then.
    m_last = pos;
  } else if (event->button() == Qt::RightButton) {
    m_rightPressed = true;
  }
  event->accept();
}

void TEmfViewer::mouseMoveEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  if (!m_leftPressed) {
    m_last = pos;
    return;
  }
  if (!m_dragging && std::abs(m_last.x() - pos.x()) <= 2 && std::abs(m_last.y() - pos.y()) <= 2)
    return;
  m_dragging = true;
  if (extraZoom()) m_hBar->setValue(HorzPos() + 3 * (m_last.x() - pos.x()));
  m_vBar->setValue(VertPos() + 3 * (m_last.y() - pos.y()));
  m_last = pos;
}

void TEmfViewer::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  if (event->button() == Qt::LeftButton && m_leftPressed) {
    m_leftPressed = false;
    if (m_dragging) {
      m_dragging = false;
      return;
    }
    const emfgeo::PagePoint p = PageAt(pos);
    ZoomIn();
    ScrollToPoint(pos, p.fraction, p.page);
  } else if (event->button() == Qt::RightButton && m_rightPressed) {
    m_rightPressed = false;
    const emfgeo::PagePoint p = PageAt(pos);
    ZoomOut();
    ScrollToPoint(pos, p.fraction, p.page);
  }
}

}  // namespace zorpokaz
