#include "ui/tworkingdlg.h"

#include "ui/tmsgokienko.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace zorpokaz {

TWorkingDlg::TWorkingDlg(QWidget* owner) : QObject(owner), m_owner(owner) {}

TWorkingDlg::~TWorkingDlg() { CloseWindow(); }

void TWorkingDlg::setProgressMax(int max) {
  m_progressMax = max;
  if (m_window) m_window->pbar()->setRange(0, 100);
}

void TWorkingDlg::OpenWithText(const QString& text, bool showLabel, bool showBar) {
  Tekst = text;
  JestPostepLbl = showLabel;
  JestPostepBar = showBar;
  Open();
}

void TWorkingDlg::Open() {
  CloseWindow();
  QWidget* previous = QApplication::activeWindow();
  m_window = std::make_unique<TMsgOkienko>(m_owner ? m_owner->window() : nullptr);
  TMsgOkienko& w = *m_window;
  w.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   (m_owner ? Qt::WindowFlags() : Qt::WindowStaysOnTopHint));
  w.setAttribute(Qt::WA_ShowWithoutActivating);
  w.pbar()->setRange(0, ZipAllSize32k > 0 ? ZipAllSize32k : 100);
  w.pbar()->setValue(0);

  w.setPicturesVisible(false);
  w.panBtns()->hide();
  w.panPostep()->setVisible(JestPostepLbl || JestPostepBar);
  w.panPostep2()->setVisible(JestPostepLbl2);
  w.lblPostep()->setVisible(JestPostepLbl);
  w.pbar()->setVisible(JestPostepBar);
  w.setAnimationVisible(true);
  w.setWindowTitle(Caption);
  w.setMessage(Tekst);
  w.Arrange();
  if (ZipAllSize32k > 0 && JestPostepLbl) {
    const int keep = QFontMetrics(w.lblPostep()->font()).horizontalAdvance(QStringLiteral("WWWWWWWWWWW"));
    w.lblPostep()->setFixedWidth(keep);
  }
  w.lblPostep()->clear();
  w.resize(w.width(), w.WorkingHeight());
  w.PlaceParts();

  QRect area;
  if (ScreenCenter || !m_owner) {
    if (const QScreen* s = QGuiApplication::primaryScreen()) area = s->geometry();
  } else {
    area = QRect(m_owner->mapToGlobal(QPoint(0, 0)), m_owner->size());
  }
  QRect r = w.frameGeometry();
  r.moveCenter(area.center());
  w.move(r.topLeft());

  w.show();
  w.repaint();
  // The user's window keeps the keyboard.
  if (previous && previous != &w) previous->activateWindow();
}

void TWorkingDlg::SetProgressText(const QString& text) {
  if (m_window) m_window->lblPostep()->setText(QLatin1Char(' ') + text + QStringLiteral("  "));
}

void TWorkingDlg::SetProgress(int value) {
  if (!m_window || m_progressMax == 0) return;
  const double pos = static_cast<double>(value) / m_progressMax * 100.0;
  m_window->pbar()->setValue(static_cast<int>(std::trunc(pos)));
}

void TWorkingDlg::StepProgress() {
  if (!m_window || m_progressMax == 0) return;
  QProgressBar* bar = m_window->pbar();
  const double units = bar->value() * static_cast<double>(m_progressMax) * 0.01 + 1.0;
  bar->setValue(static_cast<int>(std::nearbyint(units * 100.0 / m_progressMax)));
}

void TWorkingDlg::CloseWindow() { m_window.reset(); }

}  // namespace zorpokaz
