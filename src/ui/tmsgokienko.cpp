#include "ui/tmsgokienko.h"

#include "util/uifont.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>

#include <cmath>

namespace zorpokaz {

namespace {

constexpr int kLeftStrip = 41;
constexpr int kRightStrip = 40;
constexpr int kAniWidth = 56;
constexpr int kPostepHeight = 21;
constexpr int kPostep2Height = 18;
constexpr int kBtnsHeight = 50;
constexpr int kTakHeight = 80;
constexpr int kDesignWidth = 400;
constexpr int kDesignHeight = 219;
constexpr int kAniFrames = 16;
const QColor kNavy(0, 0, 128);
const QColor kDarkRed(160, 0, 0);

QLabel* pictureLabel(QWidget* parent, QStyle::StandardPixmap which) {
  auto* l = new QLabel(parent);
  l->setPixmap(parent->style()->standardIcon(which).pixmap(32, 32));
  l->setAlignment(Qt::AlignCenter);
  return l;
}

QPushButton* rowButton(QWidget* parent, const QString& text, int width) {
  auto* b = new QPushButton(text, parent);
  b->setCursor(Qt::PointingHandCursor);
  b->setFixedSize(width, 26);
  b->hide();
  return b;
}

// A monitor with a magnifying glass sweeping across it: the "searching" picture.
QPixmap animationFrame(int frame) {
  QPixmap pm(kAniWidth, 44);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(QColor(200, 200, 200));
  p.drawRoundedRect(QRectF(6.5, 4.5, 40, 28), 2, 2);
  p.setBrush(QColor(0, 128, 128));
  p.drawRect(QRectF(10.5, 8.5, 32, 20));
  p.setBrush(QColor(170, 170, 170));
  p.drawRect(QRectF(18.5, 33.5, 16, 4));
  const double t = frame * 2 * M_PI / kAniFrames;
  const QPointF lens(27 + 14 * std::cos(t), 20 + 7 * std::sin(t));
  p.setPen(QPen(QColor(90, 60, 20), 3, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(lens + QPointF(5, 5), lens + QPointF(11, 11));
  p.setPen(QPen(Qt::black, 1.5));
  p.setBrush(QColor(255, 255, 255, 150));
  p.drawEllipse(lens, 6.5, 6.5);
  return pm;
}

}  // namespace

TMsgOkienko::TMsgOkienko(QWidget* owner) : QDialog(owner) {
  if (!owner) setWindowFlag(Qt::WindowStaysOnTopHint);
  build();
  resize(kDesignWidth, kDesignHeight);
}

TMsgOkienko::~TMsgOkienko() = default;

void TMsgOkienko::build() {
  m_panLewy = new QWidget(this);
  m_panPrawy = new QWidget(this);
  m_iqmark1 = pictureLabel(m_panLewy, QStyle::SP_MessageBoxQuestion);
  m_iexclam1 = pictureLabel(m_panLewy, QStyle::SP_MessageBoxWarning);
  m_iqmark2 = pictureLabel(m_panPrawy, QStyle::SP_MessageBoxQuestion);
  m_iexclam2 = pictureLabel(m_panPrawy, QStyle::SP_MessageBoxWarning);
  m_iexclam1->hide();
  m_iexclam2->hide();

  m_ani = new QLabel(this);
  m_ani->setPixmap(animationFrame(m_aniFrame));
  m_ani->hide();
  m_aniTimer = new QTimer(this);
  m_aniTimer->setInterval(90);
  connect(m_aniTimer, &QTimer::timeout, this, &TMsgOkienko::nextAnimationFrame);

  m_lbl = new QLabel(this);
  m_lbl->setFont(CharHeightFont(QStringLiteral("Times New Roman"), 17, true));
  m_lbl->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  m_lbl->setWordWrap(true);
  QPalette pal = m_lbl->palette();
  pal.setColor(QPalette::WindowText, kNavy);
  m_lbl->setPalette(pal);

  m_panPostep = new QWidget(this);
  m_lblPostep = new QLabel(m_panPostep);
  m_lblPostep->setFont(CharHeightFont(QStringLiteral("Arial"), 11, false));
  m_pbar = new QProgressBar(m_panPostep);
  m_pbar->setRange(0, 100);
  m_pbar->setTextVisible(false);
  m_panPostep->hide();
  m_panPostep2 = new QWidget(this);
  m_lblPostep2 = new QLabel(m_panPostep2);
  m_lblPostep2->setFont(CharHeightFont(QStringLiteral("Courier New"), 11, false));
  m_panPostep2->hide();

  m_panBtns = buildButtonRow();
  m_panTAK = buildConfirmStrip();
  m_panTAK->hide();
  buildCloseTimer();
}

void TMsgOkienko::buildCloseTimer() {
  m_timerClose = new QTimer(this);
  m_timerClose->setInterval(3000);
  m_timerClose->setSingleShot(true);
  connect(m_timerClose, &QTimer::timeout, this, [this] {
    // The first visible button of the row, in row order.
    for (QPushButton* b : {m_btnAll, m_btnOk, m_btnNo, m_btnCancel})
      if (!b->isHidden()) {
        b->click();
        return;
      }
  });
}

QWidget* TMsgOkienko::buildButtonRow() {
  auto* row = new QWidget(this);
  row->setFont(CellHeightFont(QStringLiteral("Arial"), 16, true));
  m_btnAll = rowButton(row, QStringLiteral("&Wszystkie"), 100);
  m_btnOk = rowButton(row, QStringLiteral("&Ok"), 80);
  m_btnNo = rowButton(row, QStringLiteral("&Nie"), 80);
  m_btnCancel = rowButton(row, QStringLiteral("&Anuluj"), 80);
  connect(m_btnAll, &QPushButton::clicked, this, [this] { done(mrAll); });
  connect(m_btnOk, &QPushButton::clicked, this, [this] { done(mrOk); });
  connect(m_btnNo, &QPushButton::clicked, this, [this] { done(mrNo); });
  connect(m_btnCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
  return row;
}

QWidget* TMsgOkienko::buildConfirmStrip() {
  auto* strip = new QWidget(this);
  m_lblTAK = new QLabel(QStringLiteral("Aby potwierdzić, naciśnij kolejno trzy klawisze: T, A, K."), strip);
  m_lblTAK->setFont(CellHeightFont(QStringLiteral("MS Sans Serif"), 13, true));
  QPalette pal = m_lblTAK->palette();
  pal.setColor(QPalette::WindowText, Qt::blue);
  m_lblTAK->setPalette(pal);
  m_pTAK = new QWidget(strip);
  const QFont capFont = CellHeightFont(QStringLiteral("Arial"), 16, true);
  auto latch = [&](const QString& text, QChar letter, QWidget* parent, int width) {
    auto* b = new QPushButton(text, parent);
    b->setFont(capFont);
    b->setCheckable(true);
    b->setAutoDefault(false);
    b->setFocusPolicy(Qt::NoFocus);
    b->setFixedSize(width, 29);
    connect(b, &QPushButton::clicked, this, [this, letter] { typeLetter(letter); });
    return b;
  };
  m_btnT = latch(QStringLiteral("T"), QLatin1Char('T'), m_pTAK, 30);
  m_btnA = latch(QStringLiteral("A"), QLatin1Char('A'), m_pTAK, 30);
  m_btnK = latch(QStringLiteral("K"), QLatin1Char('K'), m_pTAK, 30);
  m_btnT->move(0, 0);
  m_btnA->move(34, 0);
  m_btnK->move(68, 0);
  m_pTAK->resize(98, 29);
  m_btnN = latch(QStringLiteral("N I E"), QLatin1Char('N'), strip, 100);
  m_btnN->setCheckable(false);
  return strip;
}

void TMsgOkienko::Setup(const QString& title, const QString& message, int kind, int buttons) {
  setWindowTitle(title);
  setMessage(message);
  const int k = kind & 0x0f;
  const bool exclam = k == kindInfo || k == kindError;
  m_iqmark1->setVisible(!exclam);
  m_iqmark2->setVisible(!exclam);
  m_iexclam1->setVisible(exclam);
  m_iexclam2->setVisible(exclam);
  setPicturesVisible(k != kindPlain);
  if (k == kindError) {
    QPalette pal = m_lbl->palette();
    pal.setColor(QPalette::WindowText, kDarkRed);
    m_lbl->setPalette(pal);
  }
  if (exclam && buttons == 0) buttons = btnsOk;

  if (buttons & btnsOk) {
    m_btnOk->setText(QStringLiteral("&Ok"));
    m_btnOk->setFixedWidth(80);
  } else if (buttons & btnsTak) {
    m_btnOk->setText(QStringLiteral("&Tak"));
    m_btnOk->setFixedWidth(80);
  } else if (buttons & btnsPowtorz) {
    m_btnOk->setText(QStringLiteral("&Powtórz"));
    m_btnOk->setFixedWidth(90);
  }
  m_btnOk->setVisible(buttons & (btnsOk | btnsTak | btnsPowtorz));
  m_btnNo->setVisible(buttons & btnsNie);
  m_btnCancel->setVisible(buttons & (btnsAnuluj | btnsCofnij));
  if (buttons & btnsCofnij) m_btnCancel->setText(QStringLiteral("Cofnij"));
  m_btnAll->setVisible(buttons & btnsWszystkie);
  for (QPushButton* b : {m_btnAll, m_btnOk, m_btnNo, m_btnCancel})
    if (!b->isHidden()) {
      b->setDefault(true);
      break;
    }

  const bool confirm = k == kindConfirm;
  m_panBtns->setVisible(!confirm);
  m_panTAK->setVisible(confirm);
  if (kind & kAutoClose) m_timerClose->start();
}

void TMsgOkienko::setMessage(const QString& message) {
  QString text = message;
  const bool left = text.contains(QChar(11));
  text.remove(QChar(11));
  m_multiLine = text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
  // A CR LF pair is one line break; a lone CR is one as well.
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  m_lbl->setText(text);
  m_lbl->setTextFormat(Qt::PlainText);
  m_lbl->setAlignment((left ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignTop);
}

void TMsgOkienko::setPicturesVisible(bool visible) {
  m_picturesVisible = visible;
  m_panLewy->setVisible(visible);
  m_panPrawy->setVisible(visible);
}

void TMsgOkienko::setAnimationVisible(bool visible) {
  m_ani->setVisible(visible);
  if (visible)
    m_aniTimer->start();
  else
    m_aniTimer->stop();
}

void TMsgOkienko::nextAnimationFrame() {
  m_aniFrame = (m_aniFrame + 1) % kAniFrames;
  m_ani->setPixmap(animationFrame(m_aniFrame));
}

int TMsgOkienko::WorkingHeight() const {
  int h = m_lbl->height() + 20;
  if (!m_panPostep->isHidden()) h += kPostepHeight;
  if (!m_panPostep2->isHidden()) h += kPostep2Height;
  return h;
}

void TMsgOkienko::Arrange() {
  arrangeMessage();
  if (!m_panTAK->isHidden())
    arrangeConfirm();
  else if (!m_panBtns->isHidden())
    arrangeButtons();
  PlaceParts();
}

void TMsgOkienko::PlaceParts() {
  // Strips from the bottom up: buttons, confirmation, second status, progress.
  const int w = width();
  int bottom = height();
  auto stack = [&](QWidget* strip, int h) {
    if (strip->isHidden()) return;
    bottom -= h;
    strip->setGeometry(0, bottom, w, h);
  };
  stack(m_panBtns, kBtnsHeight);
  stack(m_panTAK, kTakHeight);
  stack(m_panPostep2, kPostep2Height);
  stack(m_panPostep, kPostepHeight);
  m_panLewy->setGeometry(0, 0, kLeftStrip, bottom);
  m_panPrawy->setGeometry(w - kRightStrip, 0, kRightStrip, bottom);
  for (QLabel* pic : {m_iqmark1, m_iexclam1, m_iqmark2, m_iexclam2})
    pic->setGeometry(0, 0, pic->parentWidget()->width(), bottom);
  const bool bar = !m_pbar->isHidden();
  const bool label = !m_lblPostep->isHidden();
  const int barLeft = label ? w / 2 : 4;
  m_lblPostep->setGeometry(4, 0, bar ? barLeft - 8 : w - 8, kPostepHeight);
  m_pbar->setGeometry(barLeft, 3, w - barLeft - 4, kPostepHeight - 6);
  m_lblPostep2->setGeometry(4, 0, w - 8, kPostep2Height);
}

void TMsgOkienko::arrangeMessage() {
  const int side = m_picturesVisible ? kLeftStrip + kRightStrip : 0;
  const int ani = m_ani->isHidden() ? 0 : kAniWidth;
  int w = qMax(width(), kDesignWidth);
  QFont f = m_lbl->font();
  auto measure = [&](int wrapWidth) {
    const QFontMetrics fm(f);
    const int flags = m_multiLine ? 0 : Qt::TextWordWrap;
    return fm.boundingRect(QRect(0, 0, wrapWidth, 100000), flags, m_lbl->text()).size();
  };
  QSize s;
  int labelW;
  if (m_multiLine) {
    m_lbl->setWordWrap(false);
    s = measure(100000);
    labelW = qMax(200, s.width() + 10);
    if (labelW > 500) {
      f.setPointSize(11);
      s = measure(100000);
      labelW = qMax(200, s.width() + 10);
    }
    w = qMax(w, side + ani + labelW + 8);
  } else {
    m_lbl->setWordWrap(true);
    labelW = w - side - ani - 8;
    s = measure(labelW);
  }
  if (s.height() > 200) {
    f.setPointSize(11);
    s = measure(m_multiLine ? 100000 : labelW);
    if (m_multiLine) labelW = qMax(200, s.width() + 10);
  }
  m_lbl->setFont(f);
  const int labelH = s.height();
  int strips = 0;
  if (!m_panBtns->isHidden()) strips += kBtnsHeight;
  if (!m_panTAK->isHidden()) strips += kTakHeight;
  if (!m_panPostep->isHidden()) strips += kPostepHeight;
  if (!m_panPostep2->isHidden()) strips += kPostep2Height;
  const int top = qMax(labelH + 8, m_picturesVisible ? 48 : 0);
  resize(w, top + strips);
  const int left = (m_picturesVisible ? kLeftStrip : 0) + ani;
  const int avail = w - side - ani;
  m_lbl->setGeometry(left + (avail - labelW) / 2, 4, labelW, labelH);
  m_ani->setGeometry(m_picturesVisible ? kLeftStrip : 0, 2, kAniWidth, 44);
}

void TMsgOkienko::arrangeButtons() {
  QList<QPushButton*> shown;
  int sum = 0;
  for (QPushButton* b : {m_btnAll, m_btnOk, m_btnNo, m_btnCancel})
    if (!b->isHidden()) {
      shown << b;
      sum += b->width();
    }
  if (shown.isEmpty()) return;
  if (width() < sum + 30) resize(sum + 30, height());
  const int gap = (width() - sum) / (static_cast<int>(shown.size()) + 1);
  int x = 0;
  for (QPushButton* b : shown) {
    x += gap;
    b->move(x, 12);
    x += b->width();
  }
}

void TMsgOkienko::arrangeConfirm() {
  if (width() < kDesignWidth) resize(kDesignWidth, height());
  const int w = width();
  m_lblTAK->adjustSize();
  m_lblTAK->move((w - m_lblTAK->width()) / 2, 10);
  const int gap = (w - m_pTAK->width() - m_btnN->width()) / 3;
  m_pTAK->move(gap, 40);
  m_btnN->move(2 * gap + m_pTAK->width(), 40);
}

void TMsgOkienko::resetTak() {
  m_btnT->setChecked(false);
  m_btnA->setChecked(false);
  m_btnK->setChecked(false);
}

void TMsgOkienko::typeLetter(QChar letter) {
  switch (letter.toUpper().unicode()) {
    case 'T':
      m_btnT->setChecked(true);
      m_btnA->setChecked(false);
      m_btnK->setChecked(false);
      break;
    case 'A':
      if (m_btnT->isChecked()) {
        m_btnA->setChecked(true);
        m_btnK->setChecked(false);
      } else {
        resetTak();
      }
      break;
    case 'K':
      if (m_btnA->isChecked())
        done(mrOk);
      else
        resetTak();
      break;
    case 'N':
      done(mrNo);
      break;
    default:
      resetTak();
      break;
  }
}

void TMsgOkienko::keyPressEvent(QKeyEvent* event) {
  const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
  if (event->key() == Qt::Key_Escape && mods == Qt::NoModifier) {
    done(mrCancel);
    return;
  }
  if (!m_panTAK->isHidden() && !event->text().isEmpty() && event->text().at(0).isPrint()) {
    typeLetter(event->text().at(0));
    return;
  }
  QDialog::keyPressEvent(event);
}

void TMsgOkienko::mousePressEvent(QMouseEvent* event) {
  if (!m_panTAK->isHidden()) resetTak();
  QDialog::mousePressEvent(event);
}

}  // namespace zorpokaz
