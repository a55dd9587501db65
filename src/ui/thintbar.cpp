#include "ui/thintbar.h"

#include "util/uifont.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>

namespace zorpokaz {

namespace {

constexpr int kButtonHeight = 20;
const QColor kGrey(128, 128, 128);
const QColor kSilver(192, 192, 192);

enum class Glyph { Accept, Cancel, Help };

// The three marks on black: a green tick, a red cross, a yellow question mark.
QIcon glyphIcon(Glyph g) {
  const int size = g == Glyph::Help ? 12 : 16;
  QPixmap pm(size, size);
  pm.fill(Qt::black);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  switch (g) {
    case Glyph::Accept: {
      p.setPen(QPen(QColor(0, 220, 0), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      QPainterPath tick;
      tick.moveTo(3, 8.5);
      tick.lineTo(6.5, 12);
      tick.lineTo(13, 4);
      p.drawPath(tick);
      break;
    }
    case Glyph::Cancel:
      p.setPen(QPen(QColor(230, 0, 0), 2.6, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(4, 4), QPointF(12, 12));
      p.drawLine(QPointF(12, 4), QPointF(4, 12));
      break;
    case Glyph::Help: {
      QFont f(QStringLiteral("Liberation Sans"));
      f.setPixelSize(12);
      f.setBold(true);
      p.setFont(f);
      p.setPen(QColor(255, 255, 0));
      p.drawText(QRect(0, 0, 12, 12), Qt::AlignCenter, QStringLiteral("?"));
      break;
    }
  }
  return QIcon(pm);
}

QToolButton* makeButton(QWidget* bar, Glyph g, const QColor& textColor) {
  auto* b = new QToolButton(bar);
  b->setAutoRaise(true);
  b->setFocusPolicy(Qt::NoFocus);
  b->setCursor(Qt::PointingHandCursor);
  b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  b->setIcon(glyphIcon(g));
  b->setIconSize(g == Glyph::Help ? QSize(12, 12) : QSize(16, 16));
  b->setFont(CellHeightFont(QStringLiteral("MS Sans Serif"), 12, true));
  b->setStyleSheet(QStringLiteral("QToolButton { color: %1; background: black; border: 1px solid black;"
                                  " padding-left: 2px; }"
                                  "QToolButton:hover { border: 1px solid #808080; }"
                                  "QToolButton:pressed { border: 1px solid #c0c0c0; }"
                                  "QToolButton:disabled { color: #c0c0c0; background: #808080; }")
                       .arg(textColor.name()));
  return b;
}

}  // namespace

THintBar::THintBar(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::TabFocus);
  setFixedHeight(24);
  m_help = makeButton(this, Glyph::Help, Qt::white);
  m_help->setText(QStringLiteral("Pomoc"));
  m_accept = makeButton(this, Glyph::Accept, QColor(255, 255, 0));
  m_cancel = makeButton(this, Glyph::Cancel, QColor(255, 255, 0));
  m_help->setToolTip(QStringLiteral("F1"));
  m_accept->setToolTip(QStringLiteral("Enter"));
  m_cancel->setToolTip(QStringLiteral("Esc"));
  connect(m_accept, &QToolButton::clicked, this, [this] {
    if (OnAccept) OnAccept(m_accept);
  });
  connect(m_cancel, &QToolButton::clicked, this, [this] {
    if (OnCancel) OnCancel(m_cancel);
  });
  connect(m_help, &QToolButton::clicked, this, [this] {
    if (OnHelp) OnHelp();
  });
  layoutButtons();
}

QSize THintBar::sizeHint() const { return {400, height()}; }

void THintBar::setBtnWidth(int width) {
  if (width == m_btnWidth) return;
  m_btnWidth = width;
  layoutButtons();
}

void THintBar::setActive(bool active) {
  if (active == m_active) return;
  m_active = active;
  for (QToolButton* b : {m_help, m_accept, m_cancel}) b->setEnabled(active);
  update();
}

void THintBar::setHelpButton(bool show) {
  if (show == m_helpButton) return;
  m_helpButton = show;
  layoutButtons();
}

QString THintBar::TextAccept() const { return m_accept->text(); }
QString THintBar::TextCancel() const { return m_cancel->text(); }

void THintBar::setTextAccept(const QString& text) {
  if (text == m_accept->text()) return;
  m_accept->setText(text);
  layoutButtons();
}

void THintBar::setTextCancel(const QString& text) {
  if (text == m_cancel->text()) return;
  m_cancel->setText(text);
  layoutButtons();
}

void THintBar::setText(QString& field, const QString& text) {
  if (field == text) return;
  field = text;
  repaintTextArea();
}

void THintBar::setTextLeft(const QString& text) { setText(m_textLeft, text); }
void THintBar::setTextCenter(const QString& text) { setText(m_textCenter, text); }
void THintBar::setTextRight(const QString& text) { setText(m_textRight, text); }

void THintBar::setErrorState(bool error) {
  if (error == m_errorState) return;
  m_errorState = error;
  repaintTextArea();
}

QString THintBar::HelpHint() const { return m_help->toolTip(); }
QString THintBar::AcceptHint() const { return m_accept->toolTip(); }
QString THintBar::CancelHint() const { return m_cancel->toolTip(); }
void THintBar::setHelpHint(const QString& hint) { m_help->setToolTip(hint); }
void THintBar::setAcceptHint(const QString& hint) { m_accept->setToolTip(hint); }
void THintBar::setCancelHint(const QString& hint) { m_cancel->setToolTip(hint); }

void THintBar::ShowHintText(const QString& text) {
  setTextCenter(text);
  setErrorState(false);
}

void THintBar::ShowLeftText(const QString& text) {
  if (text == m_textLeft) return;
  m_textLeft = text;
  repaint(QRect(m_l, 0, qMax(0, m_r - m_l), height()));
}

void THintBar::repaintTextArea() { update(QRect(m_l, 0, qMax(0, m_r - m_l), height())); }

QColor THintBar::barColor() const { return m_active ? QColor(Qt::black) : kGrey; }

void THintBar::layoutButtons() {
  const int m = (height() - kButtonHeight) / 2;
  m_l = m;
  if (m_helpButton) {
    m_help->setGeometry(m_l, m, m_btnWidth, kButtonHeight);
    m_l += m_btnWidth + 3;
  }
  m_help->setVisible(m_helpButton);
  m_r = width() - m;
  auto place = [&](QToolButton* b) {
    const bool shown = !b->text().isEmpty();
    if (shown) {
      b->setGeometry(m_r - m_btnWidth, m, m_btnWidth, kButtonHeight);
      m_r -= m_btnWidth + 3;
    }
    b->setVisible(shown);
  };
  place(m_cancel);
  place(m_accept);
  update();
}

void THintBar::resizeEvent(QResizeEvent*) { layoutButtons(); }

void THintBar::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QColor bar = barColor();
  p.fillRect(rect(), bar);

  const QFont sideFont = CellHeightFont(QStringLiteral("Arial"), 16, true);
  const QFontMetrics sfm(sideFont);
  const int sideTop = (height() - sfm.height()) / 2;
  p.setFont(sideFont);
  p.setPen(m_active ? QColor(Qt::white) : kSilver);
  const int leftW = m_textLeft.isEmpty() ? 0 : sfm.horizontalAdvance(m_textLeft);
  const int rightW = m_textRight.isEmpty() ? 0 : sfm.horizontalAdvance(m_textRight);
  if (leftW) p.drawText(m_l, sideTop + sfm.ascent(), m_textLeft);
  if (rightW) p.drawText(m_r - rightW, sideTop + sfm.ascent(), m_textRight);

  if (m_textCenter.isEmpty()) return;
  const QFont centreFont = CellHeightFont(QStringLiteral("MS Sans Serif"), 16, true);
  const QFontMetrics cfm(centreFont);
  const int own = cfm.horizontalAdvance(m_textCenter);
  const int x = (m_l + leftW + m_r - rightW - own) / 2;
  // A message that does not fit between the side texts is not shown at all.
  if (x < m_l + leftW) return;
  const int baseline = (height() - cfm.height()) / 2 + cfm.ascent();
  p.setClipRect(QRect(m_l + leftW, 0, qMax(0, m_r - rightW - m_l - leftW), height()));
  p.setFont(centreFont);
  if (!m_active)
    p.setPen(kSilver);
  else
    p.setPen(m_errorState ? QColor(255, 0, 0) : QColor(0, 255, 0));
  p.drawText(x, baseline, m_textCenter);
  if (m_active && m_errorState) {
    p.setPen(QColor(255, 255, 0));
    p.drawText(x + 1, baseline + 1, m_textCenter);
  }
}

void THintBar::keyPressEvent(QKeyEvent* event) {
  const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
  const int key = event->key();
  const bool ours = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape ||
                    key == Qt::Key_F1;
  if (!ours || mods != Qt::NoModifier) {
    QWidget::keyPressEvent(event);
    return;
  }
  if ((key == Qt::Key_Return || key == Qt::Key_Enter) && OnAccept)
    OnAccept(this);
  else if (key == Qt::Key_Escape && OnCancel)
    OnCancel(this);
  else if (key == Qt::Key_F1 && OnHelp)
    OnHelp();
  event->accept();
}

}  // namespace zorpokaz
