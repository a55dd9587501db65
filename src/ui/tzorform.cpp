#include "ui/tzorform.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolButton>
#include <QWindow>

#include <algorithm>

#include "platform/errors.h"
#include "ui/thintbar.h"
#include "util/bajery.h"
#include "util/uifont.h"

namespace zorpokaz {

namespace {

constexpr int kCaptionHeight = 21;
constexpr int kHintBarHeight = 24;
const QColor kActiveCaption(0, 0, 128);
const QColor kInactiveCaption(128, 128, 128);
const QColor kInactiveCaptionText(192, 192, 192);

QToolButton* captionButton(QWidget* parent, const QString& glyph, const QString& hint) {
  auto* b = new QToolButton(parent);
  b->setText(glyph);
  b->setToolTip(hint);
  b->setAutoRaise(false);
  b->setFocusPolicy(Qt::NoFocus);
  b->setGeometry(0, 1, 17, 15);
  return b;
}

void frameHitTest(TPanelEx&, int, int, THitTest& result) { result = THitTest::Transparent; }

bool isCorner(THitTest h) {
  return h == THitTest::TopLeft || h == THitTest::TopRight || h == THitTest::BottomLeft ||
         h == THitTest::BottomRight;
}

Qt::Edges edgesOf(THitTest h) {
  switch (h) {
    case THitTest::Left: return Qt::LeftEdge;
    case THitTest::Right: return Qt::RightEdge;
    case THitTest::Top: return Qt::TopEdge;
    case THitTest::Bottom: return Qt::BottomEdge;
    case THitTest::TopLeft: return Qt::TopEdge | Qt::LeftEdge;
    case THitTest::TopRight: return Qt::TopEdge | Qt::RightEdge;
    case THitTest::BottomLeft: return Qt::BottomEdge | Qt::LeftEdge;
    case THitTest::BottomRight: return Qt::BottomEdge | Qt::RightEdge;
    default: return {};
  }
}

// One edge dragged to `wanted`, the opposite edge fixed, the size kept in
// [min, max] (max 0: unlimited).
int limitEdge(int fixed, int wanted, int minSize, int maxSize, bool growsForward) {
  int size = growsForward ? wanted - fixed : fixed - wanted;
  size = std::max(size, minSize);
  if (maxSize > 0)
    size = std::min(size, maxSize);
  return growsForward ? fixed + size : fixed - size;
}

}  // namespace

TZorForm::TZorForm(QWidget* owner, const char* className)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint) {
  auto* ownerFrame = qobject_cast<TZorForm*>(owner);
  if (ownerFrame && ownerFrame->m_subWindow) {
    const QString open = ownerFrame->m_subWindow->property("zpClassName").toString();
    throw Error(QStringLiteral("%1.Create - próba utworzenia drugiego podokna przed zamknięciem "
                               "poprzedniego (%2)")
                    .arg(QString::fromLatin1(className), open)
                    .toStdString());
  }
  setProperty("zpClassName", QString::fromLatin1(className));
  setAttribute(Qt::WA_DeleteOnClose);
  setFont(CellHeightFont(QStringLiteral("MS Sans Serif"), 11, false));
  buildFrame();
  layoutCaptionButtons();
  applySizeLimits();
  CenterOnWorkArea(300, 200);
  if (ownerFrame) {
    m_parentFrame = ownerFrame;
    ownerFrame->m_subWindow = this;
  }
  qApp->installEventFilter(this);
}

TZorForm::~TZorForm() {
  if (m_helpMode) endHelpMode();
  qApp->removeEventFilter(this);
  delete m_subWindow.data();
  if (m_parentFrame && m_parentFrame->m_subWindow == this)
    m_parentFrame->m_subWindow = nullptr;
}

void TZorForm::buildFrame() {
  m_pFrame = new TPanelEx(this);
  m_pFrame->setObjectName(QStringLiteral("pFrame"));
  m_pFrame->setBevelWidth(2);
  m_pFrame->setBorderWidth(2);
  m_pFrame->OnHitTest = frameHitTest;

  m_pCaption = new TPanelEx(m_pFrame);
  m_pCaption->setObjectName(QStringLiteral("pCaption"));
  m_pCaption->setBevelOuter(TBevelCut::Lowered);
  m_pCaption->setBorderWidth(1);
  m_pCaption->setAlignment(Qt::AlignLeft);
  m_pCaption->setCursor(Qt::PointingHandCursor);
  QFont bold = font();
  bold.setBold(true);
  m_pCaption->setFont(bold);
  m_pCaption->OnHitTest = frameHitTest;

  m_pCapIkona = new TPanelEx(m_pCaption);
  m_pCapIkona->setGeometry(2, 2, 18, 17);
  m_pCapIkona->setFont(CellHeightFont(QStringLiteral("Courier New"), 18, true));
  m_pCapIkona->OnDblClick = [this](TPanelEx&) { close(); };
  m_pCapIkona->hide();

  m_pCapText = new TPanelEx(m_pCaption);
  m_pCapText->setBevelOuter(TBevelCut::None);
  m_pCapText->setAlignment(Qt::AlignLeft);
  m_pCapText->OnHitTest = frameHitTest;

  m_pCaptionBtns = new TPanelEx(m_pCaption);
  m_pCaptionBtns->setBevelOuter(TBevelCut::None);
  m_pCaptionBtns->OnHitTest = frameHitTest;
  m_btnCapHelp = captionButton(m_pCaptionBtns, QStringLiteral("?"),
                               QStringLiteral("Pomoc do elementów ekranu"));
  m_btnCapHelp->setAutoRaise(true);   // flat
  m_btnCapHelp->setCheckable(true);   // stays down while the pick mode runs
  connect(m_btnCapHelp, &QToolButton::clicked, this, [this] { btnCapHelpClick(); });
  m_btnCapMinimize = captionButton(m_pCaptionBtns, QStringLiteral("_"),
                                   QStringLiteral("Minimalizuj"));
  m_btnCapMaximize = captionButton(m_pCaptionBtns, QString(QChar(0x25A1)),
                                   QStringLiteral("Ctrl+Enter - Maksymalizuj"));
  m_btnCapClose = captionButton(m_pCaptionBtns, QString(QChar(0x00D7)),
                                QStringLiteral("Ctrl+F4 - Zamknij"));
  connect(m_btnCapMinimize, &QToolButton::clicked, this,
          [this] { SetSizeState(TSizeState::Minimized); });
  connect(m_btnCapMaximize, &QToolButton::clicked, this, [this] { btnCapMaximizeClick(); });
  connect(m_btnCapClose, &QToolButton::clicked, this, [this] { close(); });

  m_hb = new THintBar(m_pFrame);
  m_hb->setObjectName(QStringLiteral("hb"));
  m_hb->setTextCancel(QStringLiteral("Zamknij"));
  m_hb->setHelpHint(QStringLiteral("F1"));
  m_hb->setAcceptHint(QStringLiteral("Enter"));
  m_hb->setCancelHint(QStringLiteral("Esc"));
  m_hb->OnAccept = [this](QObject*) { hbAccept(); };
  m_hb->OnCancel = [this](QObject*) { hbCancel(); };
  m_hb->OnHelp = [this] { hbHelp(); };
  m_hb->setActive(false);
  setCaptionLook();
}

void TZorForm::layoutCaptionButtons() {
  // The window offers help only: no minimize or maximize button.
  m_btnCapHelp->hide();
  m_btnCapMinimize->hide();
  m_btnCapMaximize->hide();
  m_btnCapClose->move(0, 1);
  m_pCaptionBtns->resize(m_btnCapClose->geometry().right() + 2, 17);
}

void TZorForm::layoutFrame() {
  m_pFrame->setGeometry(rect());
  const int f = m_pFrame->FrameWidth();
  const int inner = width() - 2 * f;
  m_pCaption->setGeometry(f, f, inner, kCaptionHeight);
  const int cf = m_pCaption->FrameWidth();
  const int btnsWidth = m_pCaptionBtns->width();
  m_pCaptionBtns->move(inner - cf - btnsWidth, cf);
  const int textLeft = cf + (m_pCapIkona->isVisible() ? m_pCapIkona->width() : 0);
  m_pCapText->setGeometry(textLeft, cf, inner - cf - btnsWidth - textLeft, 17);
  m_hb->setGeometry(f, height() - f - kHintBarHeight, inner, kHintBarHeight);
}

// --- size limits -----------------------------------------------------------

void TZorForm::applySizeLimits() {
  setMinimumSize(m_minFormWidth, m_minFormHeight);
  setMaximumSize(m_maxFormWidth > 0 ? m_maxFormWidth : QWIDGETSIZE_MAX,
                 m_maxFormHeight > 0 ? m_maxFormHeight : QWIDGETSIZE_MAX);
  layoutFrame();
}

void TZorForm::setMinFormWidth(int value) {
  m_minFormWidth = std::max(value, 20);
  if (m_maxFormWidth >= 1 && m_maxFormWidth < m_minFormWidth)
    m_maxFormWidth = m_minFormWidth;
  m_normalWidth = std::max(m_normalWidth, m_minFormWidth);
  applySizeLimits();
}

void TZorForm::setMaxFormWidth(int value) {
  m_maxFormWidth = value;
  if (value > 0) {
    m_minFormWidth = std::min(m_minFormWidth, value);
    m_normalWidth = std::min(m_normalWidth, value);
  }
  applySizeLimits();
}

void TZorForm::setMinFormHeight(int value) {
  m_minFormHeight = std::max(value, 20);
  if (m_maxFormHeight >= 1 && m_maxFormHeight < m_minFormHeight)
    m_maxFormHeight = m_minFormHeight;
  m_normalHeight = std::max(m_normalHeight, m_minFormHeight);
  applySizeLimits();
}

void TZorForm::setMaxFormHeight(int value) {
  m_maxFormHeight = value;
  if (value > 0) {
    m_minFormHeight = std::min(m_minFormHeight, value);
    m_normalHeight = std::min(m_normalHeight, value);
  }
  applySizeLimits();
}

void TZorForm::SetBounds(const QRect& bounds) {
  int w = std::max(bounds.width(), m_minFormWidth);
  if (m_maxFormWidth > 0)
    w = std::min(w, m_maxFormWidth);
  int h = std::max(bounds.height(), m_minFormHeight);
  if (m_maxFormHeight > 0)
    h = std::min(h, m_maxFormHeight);
  setGeometry(bounds.x(), bounds.y(), w, h);
  // A hidden window gets its resize event only when shown; its parts must be
  // in place before that for hit-testing and for the descendants' layout.
  layoutFrame();
}

// --- work area ---------------------------------------------------------------

QRect TZorForm::CenteredRect(const QRect& area, int width, int height) {
  const int areaRight = area.x() + area.width();
  const int areaBottom = area.y() + area.height();
  const int left = std::max(area.x(), (area.x() + areaRight - width) / 2);
  const int top = std::max(area.y(), (area.y() + areaBottom - height) / 2);
  return QRect(left, top, width, height);
}

QRect TZorForm::KeepRectOnWorkArea(QRect b, const QRect& a, int minWidth, int minHeight) {
  // Edges as the system keeps them: right and bottom exclusive.
  int left = b.x(), top = b.y(), width = b.width(), height = b.height();
  const int aRight = a.x() + a.width(), aBottom = a.y() + a.height();
  if (int d = top + height - aBottom; d > 0) {
    const int give = std::clamp(height - minHeight, 0, d);
    height -= give;
    top -= d - give;
  }
  if (int d = left + width - aRight; d > 0) {
    const int give = std::clamp(width - minWidth, 0, d);
    width -= give;
    left -= d - give;
  }
  if (int d = a.y() - top; d > 0) {
    height -= std::clamp(height - minHeight, 0, d);
    top += d;
  }
  if (int d = a.x() - left; d > 0) {
    width -= std::clamp(width - minWidth, 0, d);
    left += d;
  }
  return QRect(left, top, width, height);
}

void TZorForm::CenterOnWorkArea(int width, int height) {
  const QRect area = GetWorkArea();
  int w = width == 0 ? area.width() : width;
  int h = height == 0 ? area.height() : height;
  w = std::max(w, m_minFormWidth);
  if (m_maxFormWidth > 0)
    w = std::min(w, m_maxFormWidth);
  h = std::max(h, m_minFormHeight);
  if (m_maxFormHeight > 0)
    h = std::min(h, m_maxFormHeight);
  SetBounds(CenteredRect(area, w, h));
  KeepOnWorkArea();
}

void TZorForm::KeepOnWorkArea() {
  SetBounds(KeepRectOnWorkArea(geometry(), GetWorkArea(), m_minFormWidth, m_minFormHeight));
}

QRect TZorForm::DefaultNormalRect() {
  const QRect area = GetWorkArea();
  const int right = area.x() + area.width(), bottom = area.y() + area.height();
  const int w = m_normalWidth > 0 ? std::min(m_normalWidth, area.width()) : right * 2 / 3;
  const int h = m_normalHeight > 0 ? std::min(m_normalHeight, area.height()) : bottom * 2 / 3;
  return CenteredRect(area, w, h);
}

void TZorForm::SetSizeState(TSizeState state) {
  if (state == m_sizeState)
    return;
  if (m_sizeState == TSizeState::Normal)
    m_restoreRect = geometry();
  if (state == TSizeState::Maximized) {
    if (isActiveWindow())
      raise();
    SetBounds(GetWorkArea());
  } else if (state == TSizeState::Normal) {
    SetBounds(geometry() == m_restoreRect || m_restoreRect.isEmpty() ? DefaultNormalRect()
                                                                     : m_restoreRect);
  }
  m_sizeState = state;
  setWindowState(state == TSizeState::Minimized ? Qt::WindowMinimized : Qt::WindowNoState);
  FormResize();
}

void TZorForm::btnCapMaximizeClick() {
  if (!m_btnCapMaximize->isVisible() || !m_btnCapMaximize->isEnabled())
    return;
  SetSizeState(m_sizeState == TSizeState::Normal ? TSizeState::Maximized : TSizeState::Normal);
}

// --- hit-testing and the mouse ------------------------------------------------

THitTest TZorForm::HitTestAt(QPoint p) const {
  THitTest h = THitTest::Client;
  const QRect caption(m_pCaption->mapTo(this, QPoint(0, 0)), m_pCaption->size());
  const QRect frame = m_pFrame->geometry();
  const int f = m_pFrame->FrameWidth();
  const int w = width(), ht = height();
  if (caption.contains(p)) {
    h = THitTest::Caption;
  } else if (frame.contains(p) && !frame.adjusted(f, f, -f, -f).contains(p)) {
    const int c = kCornerSize;
    if (p.y() < c)
      h = p.x() < c ? THitTest::TopLeft : p.x() > w - 11 ? THitTest::TopRight : THitTest::Top;
    else if (p.y() > ht - 11)
      h = p.x() < c ? THitTest::BottomLeft
                    : p.x() > w - 11 ? THitTest::BottomRight : THitTest::Bottom;
    else if (p.x() < c)
      h = THitTest::Left;
    else if (p.x() > w - 11)
      h = THitTest::Right;
  }
  const bool fixedW = m_minFormWidth != 0 && m_minFormWidth == m_maxFormWidth;
  const bool fixedH = m_minFormHeight != 0 && m_minFormHeight == m_maxFormHeight;
  if ((h == THitTest::Caption && m_sizeState == TSizeState::Maximized) ||
      ((h == THitTest::Left || h == THitTest::Right) && fixedW) ||
      ((h == THitTest::Top || h == THitTest::Bottom) && fixedH) ||
      (isCorner(h) && fixedW && fixedH))
    h = THitTest::Border;
  return h;
}

void TZorForm::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QDialog::mousePressEvent(event);
    return;
  }
  if (m_sizeState == TSizeState::Minimized) {
    btnCapMaximizeClick();
    return;
  }
  const THitTest h = HitTestAt(event->position().toPoint());
  if (h != THitTest::Caption && edgesOf(h) == Qt::Edges()) {
    QDialog::mousePressEvent(event);
    return;
  }
  // The window manager moves and sizes best; by hand where it cannot.
  QWindow* handle = windowHandle();
  if (handle && (h == THitTest::Caption ? handle->startSystemMove()
                                        : handle->startSystemResize(edgesOf(h))))
    return;
  m_dragKind = h;
  m_dragStart = event->globalPosition().toPoint();
  m_dragBounds = geometry();
}

QRect TZorForm::draggedBounds(QPoint now) const {
  const QPoint d = now - m_dragStart;
  const QRect b = m_dragBounds;
  if (m_dragKind == THitTest::Caption)
    return b.translated(d);
  int left = b.x(), top = b.y(), right = b.x() + b.width(), bottom = b.y() + b.height();
  const Qt::Edges e = edgesOf(m_dragKind);
  if (e & Qt::BottomEdge)
    bottom = limitEdge(top, bottom + d.y(), m_minFormHeight, m_maxFormHeight, true);
  if (e & Qt::TopEdge)
    top = limitEdge(bottom, top + d.y(), m_minFormHeight, m_maxFormHeight, false);
  if (e & Qt::RightEdge)
    right = limitEdge(left, right + d.x(), m_minFormWidth, m_maxFormWidth, true);
  if (e & Qt::LeftEdge)
    left = limitEdge(right, left + d.x(), m_minFormWidth, m_maxFormWidth, false);
  return QRect(left, top, right - left, bottom - top);
}

void TZorForm::mouseMoveEvent(QMouseEvent* event) {
  if (m_dragKind == THitTest::Nowhere) {
    QDialog::mouseMoveEvent(event);
    return;
  }
  SetBounds(draggedBounds(event->globalPosition().toPoint()));
}

void TZorForm::mouseReleaseEvent(QMouseEvent* event) {
  m_dragKind = THitTest::Nowhere;
  QDialog::mouseReleaseEvent(event);
}

void TZorForm::mouseDoubleClickEvent(QMouseEvent* event) {
  if (HitTestAt(event->position().toPoint()) == THitTest::Caption ||
      QRect(m_pCaption->mapTo(this, QPoint(0, 0)), m_pCaption->size())
          .contains(event->position().toPoint()))
    btnCapMaximizeClick();
  else
    QDialog::mouseDoubleClickEvent(event);
}

// --- state, look and messages --------------------------------------------------

void TZorForm::FormResize() {
  layoutFrame();
  m_hb->update();
  if (m_sizeState != TSizeState::Minimized)
    m_sizeState = geometry() == GetWorkArea() ? TSizeState::Maximized : TSizeState::Normal;
  const bool maximized = m_sizeState == TSizeState::Maximized;
  m_btnCapMaximize->setText(QString(QChar(maximized ? 0x2750 : 0x25A1)));
  m_btnCapMaximize->setToolTip(maximized ? QStringLiteral("Ctrl+Enter - Przywróć")
                                         : QStringLiteral("Ctrl+Enter - Maksymalizuj"));
}

void TZorForm::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  FormResize();
}

void TZorForm::moveEvent(QMoveEvent* event) {
  QDialog::moveEvent(event);
  FormResize();
}

void TZorForm::setCaptionLook() {
  const bool active = m_frameActive;
  for (TPanelEx* p : {m_pCaption, m_pCapText, m_pCaptionBtns}) {
    p->setColor(active ? kActiveCaption : kInactiveCaption);
    p->setFontColor(active ? QColor(Qt::white) : kInactiveCaptionText);
  }
  m_hb->setActive(active);
}

void TZorForm::UpdateFrameState() {
  EnableControls(m_pFrame, m_frameActive, false);
  m_btnCapHelp->setEnabled(m_frameActive);
  m_btnCapMinimize->setEnabled(false);
  m_btnCapMaximize->setEnabled(false);
  setCaptionLook();
}

void TZorForm::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::WindowTitleChange)
    m_pCapText->setCaption(QLatin1Char(' ') + windowTitle());
}

void TZorForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous())
    return;
  m_frameActive = true;
  m_lookStale = true;
  QCoreApplication::postEvent(this, new QEvent(WM_FRAMESTATE));
  AfterShow();
  QCoreApplication::postEvent(this, new QEvent(WM_AFTERSHOW));
}

void TZorForm::customEvent(QEvent* event) {
  if (event->type() == WM_FRAMESTATE) {
    if (m_lookStale) {
      m_lookStale = false;
      UpdateFrameState();
      repaint();
    }
  } else if (event->type() == WM_AFTERSHOW) {
    WMAfterShow();
  } else {
    QDialog::customEvent(event);
  }
}

void TZorForm::closeEvent(QCloseEvent* event) {
  // WA_DeleteOnClose: every close that goes through frees the window.
  QDialog::closeEvent(event);
}

}  // namespace zorpokaz
