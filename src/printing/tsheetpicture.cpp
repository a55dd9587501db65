#include "printing/tsheetpicture.h"

#include <QPainter>

#include <algorithm>

#include "util/bajery.h"

namespace zorpokaz {

namespace {

constexpr int kGap = 5;
constexpr int kCaption = 16;
constexpr int kRowsPerPass = 2;

QString pageText(int page) { return page > 0 ? QString::number(page) : QStringLiteral("_"); }

}  // namespace

TSheetPicture::TSheetPicture(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TSheetPicture::setPreview(const SheetPreview& preview) {
  m_preview = preview;
  m_note.clear();
  setAccessibleDescription(Describe());
  update();
}

void TSheetPicture::setNote(const QString& note) {
  m_preview = {};
  m_note = note;
  setAccessibleDescription(note);
  update();
}

std::vector<int> TSheetPicture::ShownSides(int n, int slots) {
  std::vector<int> shown;
  if (n <= slots) {
    for (int i = 0; i < n; ++i) shown.push_back(i);
    return shown;
  }
  for (int i = 0; i < std::max(slots - 2, 0); ++i) shown.push_back(i);
  shown.push_back(-1);
  shown.push_back(n - 1);
  return shown;
}

QSize TSheetPicture::glyphSize() const { return m_preview.halves ? QSize(42, 30) : QSize(24, 33); }

int TSheetPicture::slotsPerPass() const {
  const int perRow = std::max(1, (width() - 8 + kGap) / (glyphSize().width() + kGap));
  return perRow * kRowsPerPass;
}

QString TSheetPicture::Describe() const {
  if (!m_note.isEmpty()) return m_note;
  auto pass = [&](const std::vector<PreviewSide>& sides) {
    QStringList out;
    for (int i : ShownSides(static_cast<int>(sides.size()), slotsPerPass())) {
      if (i < 0) {
        out << QStringLiteral("…");
        continue;
      }
      const PreviewSide& s = sides[static_cast<size_t>(i)];
      out << (m_preview.halves ? pageText(s.left) + QLatin1Char('|') + pageText(s.right) : pageText(s.left));
    }
    return out.join(QLatin1Char(' '));
  };
  QString text = pass(m_preview.firstPass);
  if (m_preview.turn) text += QStringLiteral(" / ") + pass(m_preview.secondPass);
  return text;
}

void TSheetPicture::drawSide(QPainter& p, const QRect& r, const PreviewSide& side) const {
  p.fillRect(r.translated(2, 2), QColor(128, 128, 128));
  p.fillRect(r, Qt::white);
  p.setPen(Qt::black);
  p.drawRect(r.adjusted(0, 0, -1, -1));
  if (!m_preview.halves) {
    if (side.left > 0) p.drawText(r, Qt::AlignCenter, QString::number(side.left));
    return;
  }
  const QRect left(r.left(), r.top(), r.width() / 2, r.height());
  const QRect right(left.right() + 1, r.top(), r.width() - left.width(), r.height());
  p.setPen(QPen(QColor(160, 160, 160), 1, Qt::DotLine));
  p.drawLine(right.left(), r.top() + 2, right.left(), r.bottom() - 2);
  p.setPen(Qt::black);
  if (side.left > 0) p.drawText(left, Qt::AlignCenter, QString::number(side.left));
  if (side.right > 0) p.drawText(right, Qt::AlignCenter, QString::number(side.right));
}

int TSheetPicture::drawPass(QPainter& p, int top, const QString& caption, const std::vector<PreviewSide>& sides) const {
  p.setPen(palette().color(QPalette::WindowText));
  p.drawText(QRect(4, top, width() - 8, kCaption), Qt::AlignLeft | Qt::AlignVCenter, caption);
  top += kCaption;
  const QSize g = glyphSize();
  const int perRow = slotsPerPass() / kRowsPerPass;
  int slot = 0;
  for (int i : ShownSides(static_cast<int>(sides.size()), slotsPerPass())) {
    const QRect r(4 + (slot % perRow) * (g.width() + kGap), top + (slot / perRow) * (g.height() + kGap), g.width(),
                  g.height());
    if (i < 0)
      p.drawText(r, Qt::AlignCenter, QStringLiteral("…"));
    else
      drawSide(p, r, sides[static_cast<size_t>(i)]);
    ++slot;
  }
  const int rows = std::max(1, (slot + perRow - 1) / perRow);
  return top + rows * (g.height() + kGap) + 2;
}

void TSheetPicture::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().color(QPalette::Window));
  QFont small = font();
  small.setPixelSize(11);
  small.setBold(false);
  p.setFont(small);
  if (!m_note.isEmpty() || m_preview.firstPass.empty()) {
    p.setPen(palette().color(QPalette::Disabled, QPalette::WindowText));
    p.drawText(rect().adjusted(4, 4, -4, -4), Qt::AlignCenter | Qt::TextWordWrap, m_note);
    return;
  }
  int top = 0;
  if (m_preview.turn) {
    top = drawPass(p, top, QStringLiteral("1. przebieg:"), m_preview.firstPass);
    top = drawPass(p, top, QStringLiteral("2. przebieg (po odwróceniu kartek):"), m_preview.secondPass);
  } else {
    top = drawPass(p, top, QStringLiteral("Kolejność wydruku:"), m_preview.firstPass);
  }
  const int n = m_preview.sheets();
  p.setPen(palette().color(QPalette::WindowText));
  p.drawText(QRect(4, top, width() - 8, kCaption), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("Razem: %1 %2").arg(n).arg(PluralForm(n, QStringLiteral("kartka"), QStringLiteral("kartki"),
                                                                  QStringLiteral("kartek"))));
}

}  // namespace zorpokaz
