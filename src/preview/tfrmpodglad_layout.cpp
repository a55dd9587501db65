// The preview window's controls: the top strip with the margin fields and the
// page counter, the viewer panel and the hint bar, and the narrow-window rule.
#include "preview/tfrmpodglad.h"

#include "preview/temfviewer.h"
#include "preview/tfindbar.h"
#include "ui/thintbar.h"
#include "ui/tzorbtn.h"
#include "util/uifont.h"

#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace zorpokaz {

namespace {

constexpr int kTopHeight = 26;
constexpr int kMarginsWide = 440;
constexpr int kMarginsNarrow = 75;
constexpr int kPagesWidth = 149;
// Inside the page panel: "Strona:" from its left, the counter after it, the
// step buttons in the last 21 pixels.
constexpr int kLabelLeft = 5;
constexpr int kLabelGap = 4;
constexpr int kButtonsRoom = 21;
constexpr int kNarrowBelow = 600;

QFrame* loweredPanel(QWidget* parent) {
  auto* f = new QFrame(parent);
  f->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  f->setLineWidth(1);
  return f;
}

QSpinBox* marginField(QWidget* parent, int value) {
  auto* s = new QSpinBox(parent);
  s->setRange(0, 99);
  s->setValue(value);
  s->setAlignment(Qt::AlignRight);
  s->setFixedHeight(18);
  s->setFixedWidth(40);
  return s;
}

// The page buttons show an up or down triangle.
void drawStepTriangle(TZorBtn& b, QPainter& p, const QRect& r, bool up) {
  const QColor ink = b.isEnabled() ? QColor(Qt::black) : b.palette().color(QPalette::Dark);
  const QPointF c = QRectF(r).center();
  QPainterPath tri;
  if (up) {
    tri.moveTo(c.x(), c.y() - 2.5);
    tri.lineTo(c.x() + 4, c.y() + 2);
    tri.lineTo(c.x() - 4, c.y() + 2);
  } else {
    tri.moveTo(c.x(), c.y() + 2.5);
    tri.lineTo(c.x() + 4, c.y() - 2);
    tri.lineTo(c.x() - 4, c.y() - 2);
  }
  tri.closeSubpath();
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  p.fillPath(tri, ink);
  p.restore();
}

TZorBtn* stepButton(QWidget* parent, bool up) {
  auto* b = new TZorBtn(parent);
  b->resize(15, 11);
  b->setKolor(3);
  b->OnPaint = [up](TZorBtn& s, QPainter& p, const QRect& r) { drawStepTriangle(s, p, r, up); };
  return b;
}

}  // namespace

void TFrmPodglad::buildLayout() {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  m_pGora = new QWidget(this);
  m_pGora->setFixedHeight(kTopHeight);
  buildTopPanel(m_pGora);
  layout->addWidget(m_pGora);

  m_pViewer = loweredPanel(this);
  m_pViewer->setContentsMargins(2, 2, 2, 2);
  auto* inner = new QVBoxLayout(m_pViewer);
  inner->setContentsMargins(1, 1, 1, 1);
  m_viewer = new TEmfViewer(m_pViewer);
  m_viewer->setObjectName(QStringLiteral("viewer"));
  m_viewer->setZoomLevel(TEmfZoomLevel::zoomPageH);
  m_viewer->setMargLeft(10);
  m_viewer->setMargRight(10);
  m_viewer->setMargTop(15);
  m_viewer->setMargBottom(25);
  m_viewer->setPageNr(1);
  m_viewer->setFocusPolicy(Qt::StrongFocus);
  inner->addWidget(m_viewer);
  layout->addWidget(m_pViewer, 1);
  connect(m_viewer, &TEmfViewer::OnMove, this, &TFrmPodglad::viewerMove);
  connect(m_viewer, &TEmfViewer::OnChange, this, &TFrmPodglad::viewerChange);

  // Shown on demand between the pages and the hint bar; the viewer gives it the room.
  m_findBar = new TFindBar(m_viewer, this);
  layout->addWidget(m_findBar);

  m_hb = new THintBar(this);
  m_hb->setBtnWidth(85);
  m_hb->setTextAccept(QStringLiteral("Drukuj"));
  m_hb->setTextCancel(QStringLiteral("Zamknij"));
  m_hb->setAcceptHint(QStringLiteral("Enter - Wysłanie wydruku do drukarki"));
  m_hb->setCancelHint(QStringLiteral("Esc - Zamknięcie podglądu wydruku"));
  m_hb->setHelpHint(QStringLiteral("F1 - ") + QLatin1String(kHelpAddress));
  m_hb->OnAccept = [this](QObject*) { hbAccept(); };
  m_hb->OnCancel = [this](QObject*) { hbCancel(); };
  m_hb->OnHelp = [this] { hbHelp(); };
  layout->addWidget(m_hb);

  buildTools(m_pGora);

  m_timerStrona = new QTimer(this);
  m_timerStrona->setInterval(100);
  connect(m_timerStrona, &QTimer::timeout, this, &TFrmPodglad::timerStronaTimer);
}

void TFrmPodglad::buildTopPanel(QWidget* pGora) {
  m_pMarginesy = loweredPanel(pGora);
  m_lblMarg = new QLabel(QStringLiteral("Marginesy:"), m_pMarginesy);
  QFont bold = font();
  bold.setBold(true);
  m_lblMarg->setFont(bold);
  m_lblMarg->installEventFilter(this);
  m_lblMargT = new QLabel(QStringLiteral("&górny ="), m_pMarginesy);
  m_margT = marginField(m_pMarginesy, 15);
  m_lblMargL = new QLabel(QStringLiteral("&lewy ="), m_pMarginesy);
  m_margL = marginField(m_pMarginesy, 10);
  m_lblMargR = new QLabel(QStringLiteral("&prawy ="), m_pMarginesy);
  m_margR = marginField(m_pMarginesy, 10);
  m_lblMargB = new QLabel(QStringLiteral("&dolny ="), m_pMarginesy);
  m_margB = marginField(m_pMarginesy, 25);
  const std::pair<QLabel*, QSpinBox*> pairs[] = {
      {m_lblMargT, m_margT}, {m_lblMargL, m_margL}, {m_lblMargR, m_margR}, {m_lblMargB, m_margB}};
  for (const auto& [label, field] : pairs) {
    label->setBuddy(field);
    connect(field, &QSpinBox::valueChanged, this, &TFrmPodglad::margChange);
  }

  // Fixed places inside the panel; only its width follows the window.
  const QFontMetrics fm(font());
  const QFontMetrics fb(bold);
  const int mid = (kTopHeight - 18) / 2;
  m_lblMarg->setGeometry(6, 0, fb.horizontalAdvance(m_lblMarg->text()) + 4, kTopHeight);
  int x = kMarginsNarrow + 4;
  for (const auto& [label, field] : pairs) {
    const int w = fm.horizontalAdvance(label->text().remove(QLatin1Char('&'))) + 3;
    label->setGeometry(x, 0, w, kTopHeight);
    x += w + 1;
    field->move(x, mid);
    x += field->width() + 8;
  }
  buildPagesPanel(pGora);
}

void TFrmPodglad::buildPagesPanel(QWidget* pGora) {
  m_pStrony = loweredPanel(pGora);
  const QFont big = CellHeightFont(QStringLiteral("Arial"), 20, true);
  m_lblStrona1 = new QLabel(QStringLiteral("Strona:"), m_pStrony);
  m_lblStrona1->setFont(big);
  m_lblStrona = new QLabel(m_pStrony);
  m_lblStrona->setFont(big);
  m_lblStrona->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  m_lblStrona->hide();
  m_btnStronaUp = stepButton(m_pStrony, true);
  m_btnStronaDn = stepButton(m_pStrony, false);
  m_btnStronaUp->OnMouseDown = [this](TZorBtn&) { btnStronaMouseDown(-1); };
  m_btnStronaDn->OnMouseDown = [this](TZorBtn&) { btnStronaMouseDown(+1); };
  m_btnStronaUp->OnMouseUp = [this](TZorBtn&) { btnStronaMouseUp(); };
  m_btnStronaDn->OnMouseUp = [this](TZorBtn&) { btnStronaMouseUp(); };
  m_btnStronaUp->setEnabled(false);
  m_btnStronaDn->setEnabled(false);
}

TFrmPodglad::PagesPanelLayout TFrmPodglad::LayOutPagesPanel(int room, int labelWidth, int counterWidth) {
  PagesPanelLayout l;
  const int needed = kLabelLeft + labelWidth + kLabelGap + counterWidth + kButtonsRoom;
  l.width = std::max(kPagesWidth, std::min(needed, room));
  l.labelShown = needed <= l.width;
  l.label = QRect(kLabelLeft, 1, labelWidth, kTopHeight - 2);
  const int left = l.labelShown ? kLabelLeft + labelWidth + kLabelGap : kLabelLeft;
  l.counter = QRect(left, 1, l.width - kButtonsRoom - left, kTopHeight - 2);
  return l;
}

void TFrmPodglad::layoutPagesPanel(int room) {
  const QFontMetrics fm(m_lblStrona->font());
  // A pixel to spare on each side for the glyphs' overhang.
  const int labelWidth = fm.horizontalAdvance(m_lblStrona1->text()) + 2;
  const int counterWidth = fm.horizontalAdvance(m_lblStrona->text()) + 2;
  const PagesPanelLayout l = LayOutPagesPanel(room, labelWidth, counterWidth);
  m_pStrony->setGeometry(width() - l.width, 0, l.width, kTopHeight);
  m_lblStrona1->setGeometry(l.label);
  m_lblStrona1->setVisible(l.labelShown);
  m_lblStrona->setGeometry(l.counter);
  m_btnStronaUp->move(l.width - 18, 2);
  m_btnStronaDn->move(l.width - 18, 13);
}

void TFrmPodglad::layoutTopPanel() {
  const bool narrow = width() < kNarrowBelow;
  const int marginsWidth = narrow ? kMarginsNarrow : kMarginsWide;
  m_pMarginesy->setGeometry(0, 0, marginsWidth, kTopHeight);
  m_lblMarg->setCursor(narrow ? Qt::PointingHandCursor : Qt::ArrowCursor);
  for (QSpinBox* field : {m_margT, m_margL, m_margR, m_margB}) field->setEnabled(!narrow);
  layoutPagesPanel(width() - marginsWidth);
  if (m_pNarzedzia) layoutTools(width() - marginsWidth - m_pStrony->width());
}

void TFrmPodglad::lblMargClick() {
  if (width() < kNarrowBelow) resize(kNarrowBelow, height());
}

}  // namespace zorpokaz
