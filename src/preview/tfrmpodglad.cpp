#include "preview/tfrmpodglad.h"

#include "document/twydruk.h"
#include "platform/freememory.h"
#include "platform/gfx/pageimage.h"
#include "preview/temfviewer.h"
#include "preview/tfindbar.h"
#include "ui/apperror.h"
#include "ui/okienko.h"
#include "ui/thintbar.h"
#include "ui/tzorbtn.h"
#include "util/bajery.h"
#include "util/uifont.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QSpinBox>
#include <QTimer>

#include <chrono>

namespace zorpokaz {

namespace {

// Posted to itself when shown, so that loading starts with the window on screen.
constexpr QEvent::Type WM_STARTLOAD = static_cast<QEvent::Type>(1024 + 656);

// The event queue is pumped at most this often while pages are being built:
// often enough for the user, rarely enough that painting does not slow the build.
constexpr std::chrono::milliseconds kPumpInterval{10};

// How long a shown window waits for a window manager's frame.
constexpr int kFrameWaitMs = 2500;

TFrmPodglad::PrintHandler& printHandler() {
  static TFrmPodglad::PrintHandler handler;
  return handler;
}

qint64 nowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// The library file of a printout name: the existing file whatever the case of
// its extension, else name + ".WYD".
QString libraryFile(const QString& dir, const QString& name) {
  const QString upper = dir + name + QStringLiteral(".WYD");
  if (QFileInfo::exists(upper)) return upper;
  const QStringList files = QDir(dir).entryList(QDir::Files | QDir::Hidden);
  for (const QString& f : files)
    if (f.size() == name.size() + 4 && f.startsWith(name) &&
        f.endsWith(QLatin1String(".wyd"), Qt::CaseInsensitive))
      return dir + f;
  return upper;
}

}  // namespace

const char* const TFrmPodglad::kHelpAddress = "http://www.zorel.pl/";

void TFrmPodglad::SetPrintHandler(PrintHandler handler) { printHandler() = std::move(handler); }

TFrmPodglad::TFrmPodglad(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("ZorPokaz - Podgląd wydruku"));
  setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
  setFont(CharHeightFont(QStringLiteral("MS Sans Serif"), 11, false));
  buildLayout();

  const QRect wa = GetWorkArea();
  SetOuterBounds(QRect(wa.left() + 150, wa.top() + 5, wa.width() - 300, wa.height() - 10));
  LoadSettings();
  watchKeys();
  layoutTopPanel();
}

TFrmPodglad::~TFrmPodglad() {
  // The page list empties without telling a window that is going away.
  m_viewer->disconnect(this);
  m_viewer->FreePages();
}

void TFrmPodglad::OpenFile(const QString& path) {
  m_fileName = path;
  // A name like "raport.2001.wyd" keeps everything before the last dot.
  const QString file = QFileInfo(path).fileName();
  const qsizetype dot = file.lastIndexOf(QLatin1Char('.'));
  m_printoutName = dot >= 0 ? file.left(dot) : file;
}

void TFrmPodglad::OpenByName(const QString& name) {
  // The printout library is the directory of the program.
  const QString dir = QCoreApplication::applicationDirPath() + QLatin1Char('/');
  m_fileName = libraryFile(dir, name);
  m_printoutName = name;
}

void TFrmPodglad::watchKeys() {
  // Enter, Escape and F1 belong to the window whichever control has the focus.
  installEventFilter(this);
  for (QWidget* w : findChildren<QWidget*>())
    if (!qobject_cast<QMenu*>(w)) w->installEventFilter(this);  // a menu's Enter and Esc are its own
}

bool TFrmPodglad::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (toolKey(watched, *key)) return true;
    if ((key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
      switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
          hbAccept();
          return true;
        case Qt::Key_Escape:
          hbCancel();
          return true;
        case Qt::Key_F1:
          hbHelp();
          return true;
        default:
          break;
      }
    }
  } else if (watched == m_lblMarg && event->type() == QEvent::MouseButtonRelease) {
    lblMargClick();
  } else if (watched == m_lblStrona && event->type() == QEvent::MouseButtonRelease) {
    OpenGoToPage();
  }
  return QDialog::eventFilter(watched, event);
}

void TFrmPodglad::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous() || m_started) return;
  QCoreApplication::postEvent(this, new QEvent(WM_STARTLOAD));
  // A window manager that frames the window reports the frame by moving it;
  // one that never does is waited for a moment only.
  m_fitFrame = true;
  m_appliedSize = size();
  for (int ms : {100, 400, 1000, 2000}) QTimer::singleShot(ms, this, [this] { boundsChanged(); });
  QTimer::singleShot(kFrameWaitMs, this, [this] { m_fitFrame = false; });
}

void TFrmPodglad::moveEvent(QMoveEvent* event) {
  QDialog::moveEvent(event);
  boundsChanged();
}

void TFrmPodglad::customEvent(QEvent* event) {
  if (event->type() == WM_STARTLOAD)
    startLoad();
  else
    QDialog::customEvent(event);
}

void TFrmPodglad::startLoad() {
  // Closed before the message came, or shown a second time: nothing to load.
  if (m_started || m_loadAborted || !isVisible()) return;
  m_started = true;
  setWindowTitle(QStringLiteral("%1 \"%2\"").arg(windowTitle(), m_printoutName));
  repaint();
  m_viewer->setFocus();
  LoadPrintout();
}

void TFrmPodglad::LoadPrintout() {
  SetBusy(true, true);
  m_loading = true;
  auto document = std::make_unique<TWydruk>();
  try {
    const QScreen* s = screen();
    const int dpi = s ? qRound(s->logicalDotsPerInchX()) : 96;
    document->setResolution(dpi > 0 ? dpi : 96);
    m_hb->setTextAccept(QString());
    updateTools();
    m_hb->ShowLeftText(QStringLiteral("Wczytywanie pliku..."));
    document->LoadFromFile(m_fileName);
    m_hb->ShowLeftText(QStringLiteral("Tworzenie stron..."));
    m_loadAborted = false;
    m_lastPump = 0;
    document->OnProgress = [this](TWydruk& d, bool, int percent) { progress(d, percent); };
    document->OnNextPage = [this](TWydruk&, const PageImage& page) { addPageCopy(page); };
    document->BuildPages();
    if (!m_loadAborted) m_hb->setTextAccept(QStringLiteral("Drukuj"));
  } catch (const std::exception& e) {
    document.reset();
    m_hb->ShowLeftText(QString());
    m_loading = false;
    updateTools();
    SetBusy(false, true);
    ReportException(e);
    return;
  }
  document.reset();
  // The document's model was the largest thing the window had: what it
  // freed goes back to the system, leaving the window with its pages.
  ReturnFreeMemory();
  m_hb->ShowLeftText(QString());
  m_loading = false;
  updateTools();
  SetBusy(false, true);
}

void TFrmPodglad::progress(TWydruk& document, int percent) {
  if (QCoreApplication::closingDown()) m_loadAborted = true;
  if (m_loadAborted) {
    document.AbortBuild();
    return;
  }
  m_hb->ShowLeftText(QStringLiteral("Tworzenie stron... %1%").arg(percent));
  const qint64 now = nowMs();
  if (now - m_lastPump < kPumpInterval.count()) return;
  m_lastPump = now;
  HandleOneMessage();
}

void TFrmPodglad::addPageCopy(const PageImage& page) {
  TEmfViewer::PagePtr copy;
  try {
    copy = std::make_shared<const PageImage>(page);
  } catch (const std::exception&) {
    return;  // a page that cannot be copied is left out without a word
  }
  m_viewer->AddPage(std::move(copy));
  // The first page is shown at the next line laid out, not a pump interval
  // later: it is what the person waits for.
  if (m_viewer->PageCount() == 1) m_lastPump = 0;
}

void TFrmPodglad::hbAccept() {
  if (m_hb->TextAccept().isEmpty()) return;
  if (printHandler()) {
    printHandler()(*this);
    return;
  }
  ShowInfo(QStringLiteral("ZorPokaz"), QStringLiteral("Drukowanie nie jest jeszcze dostępne."));
}

void TFrmPodglad::hbCancel() {
  m_loadAborted = true;
  close();
}

void TFrmPodglad::hbHelp() { ShellOpen(QLatin1String(kHelpAddress)); }

void TFrmPodglad::closeEvent(QCloseEvent* event) {
  if (m_saving) {
    // Closing while a PDF is written stops the writing; the window stays.
    m_saveCancelled = true;
    event->ignore();
    return;
  }
  m_loadAborted = true;
  if (!m_skipSave) {
    try {
      SaveSettings();
    } catch (const std::exception& e) {
      ReportException(e);
    }
  }
  QDialog::closeEvent(event);
}

void TFrmPodglad::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  layoutTopPanel();
  boundsChanged();
}

void TFrmPodglad::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  // Minimizing the preview minimizes the whole program, the list window with it.
  if (event->type() == QEvent::WindowStateChange && isMinimized()) {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w != this && w->isVisible() && !w->isMinimized() && w->windowType() == Qt::Window)
        w->showMinimized();
  }
}

void TFrmPodglad::margChange() {
  m_viewer->setMargTop(m_margT->value());
  m_viewer->setMargLeft(m_margL->value());
  m_viewer->setMargRight(m_margR->value());
  m_viewer->setMargBottom(m_margB->value());
}

void TFrmPodglad::viewerChange() {
  m_lblStrona->setVisible(m_viewer->PageCount() > 0);
  viewerMove();
}

void TFrmPodglad::viewerMove() {
  const int nr = m_viewer->PageNr();
  const int count = m_viewer->PageCount();
  m_lblStrona->setText(QStringLiteral("%1/%2").arg(nr).arg(count));
  layoutTopPanel();  // the counter takes the room its digits need
  m_btnStronaUp->setEnabled(nr > 1);
  m_btnStronaDn->setEnabled(count > nr);
}

void TFrmPodglad::btnStronaMouseDown(int step) {
  m_pageStep = step;
  m_stepButton = step < 0 ? m_btnStronaUp : m_btnStronaDn;
  timerStronaTimer();
  m_timerStrona->start();
}

void TFrmPodglad::btnStronaMouseUp() { m_timerStrona->stop(); }

void TFrmPodglad::timerStronaTimer() {
  // A button disabled at the first or last page never hears the mouse-up, so
  // the repeat ends with it.
  if (m_stepButton && !m_stepButton->isEnabled()) {
    m_timerStrona->stop();
    return;
  }
  m_viewer->setPageNr(m_viewer->PageNr() + m_pageStep);
}

}  // namespace zorpokaz
