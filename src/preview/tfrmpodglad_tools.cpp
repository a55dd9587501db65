// The preview's commands beyond the page viewer's own: find (Ctrl+F, F3),
// go to page (Ctrl+G or a click on the counter), zoom readout and Ctrl+wheel,
// Ctrl++ and Ctrl+-, copy the page's text (Ctrl+C) and save as PDF (Ctrl+S),
// with the tools strip that offers them to the mouse.
#include "preview/tfrmpodglad.h"

#include "platform/gfx/pageimage.h"
#include "platform/gfx/pagetext.h"
#include "preview/temfviewer.h"
#include "preview/tfindbar.h"
#include "preview/toolicons.h"
#include "ui/apperror.h"
#include "ui/okienko.h"
#include "ui/tmsgokienko.h"
#include "ui/thintbar.h"
#include "ui/tworkingdlg.h"
#include "util/bajery.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QStandardPaths>
#include <QToolButton>

#include <algorithm>

namespace zorpokaz {

namespace {

constexpr int kToolButton = 22;
constexpr int kToolsGap = 2;

TFrmPodglad::PdfWriter& pdfWriter() {
  static TFrmPodglad::PdfWriter writer;
  return writer;
}

QToolButton* toolButton(QWidget* parent, const QIcon& icon, const QString& hint) {
  auto* b = new QToolButton(parent);
  b->setIcon(icon);
  b->setToolTip(hint);
  b->setAutoRaise(true);
  b->setFocusPolicy(Qt::NoFocus);
  b->setFixedSize(kToolButton, kToolButton);
  return b;
}

const char* zoomName(TEmfZoomLevel level) {
  switch (level) {
    case TEmfZoomLevel::zoomPageH:
      return "cała strona";
    case TEmfZoomLevel::zoomPageAvg:
      return "pośredni";
    case TEmfZoomLevel::zoomPageW:
      return "szerokość strony";
    case TEmfZoomLevel::zoomTextW:
      return "szerokość tekstu";
    case TEmfZoomLevel::zoomExtra1:
      return "powiększenie 1";
    case TEmfZoomLevel::zoomExtra2:
      return "powiększenie 2";
    case TEmfZoomLevel::zoomExtra3:
      return "powiększenie 3";
  }
  return "";
}

// Escape in the please-wait window, or closing it, stops the work it shows:
// a window manager may give that window the keyboard when it appears.
class StopOnEscape : public QObject {
 public:
  explicit StopOnEscape(bool& stop) : m_stop(stop) {}
  bool eventFilter(QObject*, QEvent* event) override {
    const bool escape = event->type() == QEvent::KeyPress &&
                        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape;
    if (!escape && event->type() != QEvent::Close) return false;
    m_stop = true;
    event->ignore();
    return true;
  }

 private:
  bool& m_stop;
};

// A text field with something selected copies that, not the page.
bool fieldWithSelection(QWidget* w) {
  if (auto* spin = qobject_cast<QAbstractSpinBox*>(w)) w = spin->findChild<QLineEdit*>();
  auto* edit = qobject_cast<QLineEdit*>(w);
  return edit && edit->hasSelectedText();
}

}  // namespace

void TFrmPodglad::SetPdfWriter(PdfWriter writer) { pdfWriter() = std::move(writer); }

QString TFrmPodglad::DocumentsDir() {
  const QString fromEnv = qEnvironmentVariable("XDG_DOCUMENTS_DIR");
  if (!fromEnv.isEmpty() && QFileInfo(fromEnv).isDir()) return fromEnv;
  const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (!desktop.isEmpty() && QFileInfo(desktop).isDir()) return desktop;
  return QDir::homePath();
}

void TFrmPodglad::buildTools(QWidget* pGora) {
  m_pNarzedzia = new QWidget(pGora);
  auto* row = new QHBoxLayout(m_pNarzedzia);
  row->setContentsMargins(0, 1, 0, 1);
  row->setSpacing(1);
  m_btnZnajdz = toolButton(m_pNarzedzia, FindIcon(), QStringLiteral("Ctrl+F - Znajdź tekst w wydruku"));
  m_btnPdf = toolButton(m_pNarzedzia, PdfIcon(), QStringLiteral("Ctrl+S - Zapisz jako PDF…"));
  m_btnKopiuj = toolButton(m_pNarzedzia, CopyIcon(), QStringLiteral("Ctrl+C - Kopiuj tekst strony do schowka"));
  m_btnZoom = new QToolButton(m_pNarzedzia);
  m_btnZoom->setFocusPolicy(Qt::NoFocus);
  m_btnZoom->setPopupMode(QToolButton::InstantPopup);
  m_btnZoom->setFixedHeight(kToolButton);
  for (QWidget* w : std::initializer_list<QWidget*>{m_btnZnajdz, m_btnPdf, m_btnKopiuj, m_btnZoom}) row->addWidget(w);
  connect(m_btnZnajdz, &QToolButton::clicked, this, &TFrmPodglad::OpenFind);
  connect(m_btnPdf, &QToolButton::clicked, this, &TFrmPodglad::SaveAsPdf);
  connect(m_btnKopiuj, &QToolButton::clicked, this, &TFrmPodglad::CopyPageText);

  // Every command in one menu, also where the strip has room for the readout alone.
  m_menu = new QMenu(m_btnZoom);
  m_menu->addAction(FindIcon(), QStringLiteral("Znajdź…\tCtrl+F"), this, &TFrmPodglad::OpenFind);
  m_menu->addAction(QStringLiteral("Przejdź do strony…\tCtrl+G"), this, &TFrmPodglad::OpenGoToPage);
  m_actPdf = m_menu->addAction(PdfIcon(), QStringLiteral("Zapisz jako PDF…\tCtrl+S"), this, &TFrmPodglad::SaveAsPdf);
  m_menu->addAction(CopyIcon(), QStringLiteral("Kopiuj tekst strony\tCtrl+C"), this, &TFrmPodglad::CopyPageText);
  m_menu->addSeparator();
  m_menu->addAction(QStringLiteral("Powiększ\tCtrl++"), m_viewer, &TEmfViewer::ZoomIn);
  m_menu->addAction(QStringLiteral("Pomniejsz\tCtrl+−"), m_viewer, &TEmfViewer::ZoomOut);
  m_btnZoom->setMenu(m_menu);

  m_edStrona = new QLineEdit(m_lblStrona->parentWidget());
  m_edStrona->setObjectName(QStringLiteral("edStrona"));
  m_edStrona->setFont(m_lblStrona->font());
  m_edStrona->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  m_edStrona->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,9}")), m_edStrona));
  m_edStrona->setToolTip(QStringLiteral("Enter - Przejście do strony o tym numerze, Esc - rezygnacja"));
  m_edStrona->hide();
  connect(m_edStrona, &QLineEdit::editingFinished, this, [this] {
    if (m_edStrona->isVisible() && !m_edStrona->hasFocus()) closeGoTo();  // left with the mouse
  });
  m_lblStrona->setCursor(Qt::PointingHandCursor);
  m_lblStrona->setToolTip(QStringLiteral("Ctrl+G - Przejście do strony o podanym numerze"));

  connect(m_viewer, &TEmfViewer::OnZoom, this, &TFrmPodglad::zoomChanged);
  connect(m_viewer, &TEmfViewer::OnMove, this, &TFrmPodglad::zoomChanged);  // a new sheet size moves
  zoomChanged();
  updateTools();
}

TFrmPodglad::ToolsLayout TFrmPodglad::LayOutTools(int room, int buttonsWidth, int readoutWidth) {
  ToolsLayout l;
  if (room >= buttonsWidth + readoutWidth + 2 * kToolsGap) {
    l.buttonsShown = l.readoutShown = true;
    l.width = buttonsWidth + readoutWidth;
  } else if (room >= readoutWidth + 2 * kToolsGap) {
    l.readoutShown = true;
    l.width = readoutWidth;
  }
  return l;
}

void TFrmPodglad::layoutTools(int room) {
  const int buttons = 3 * (kToolButton + 1);
  const int readout = std::max(m_btnZoom->sizeHint().width(), 56);
  m_btnZoom->setFixedWidth(readout);
  const ToolsLayout l = LayOutTools(room, buttons, readout);
  for (QToolButton* b : {m_btnZnajdz, m_btnPdf, m_btnKopiuj}) b->setVisible(l.buttonsShown);
  m_pNarzedzia->setVisible(l.readoutShown);
  const int right = width() - m_lblStrona->parentWidget()->width() - kToolsGap;
  m_pNarzedzia->setGeometry(right - l.width, 1, l.width, m_lblStrona->parentWidget()->height() - 2);
  if (m_edStrona->isVisible()) m_edStrona->setGeometry(m_lblStrona->geometry());
}

double TFrmPodglad::screenDpi() const {
  const QScreen* s = screen();
  const double dpi = s ? s->logicalDotsPerInchX() : 96.0;
  return dpi > 0 ? dpi : 96.0;
}

QString TFrmPodglad::ZoomText() const {
  return QStringLiteral("%1%").arg(emfgeo::ZoomPercent(m_viewer->SheetSize(), screenDpi()));
}

void TFrmPodglad::zoomChanged() {
  if (!m_btnZoom) return;
  const QString text = ZoomText();
  if (m_btnZoom->text() == text) return;
  m_btnZoom->setText(text);
  m_btnZoom->setToolTip(QStringLiteral("Powiększenie: %1 (Ctrl+kółko myszy, Ctrl++, Ctrl+−)")
                            .arg(QString::fromUtf8(zoomName(m_viewer->ZoomLevel()))));
  layoutTopPanel();
}

void TFrmPodglad::updateTools() {
  // Like Drukuj: only once every page is made.
  const bool complete = !m_hb->TextAccept().isEmpty() && !m_loading;
  m_btnPdf->setEnabled(complete && !m_saving);
  m_actPdf->setEnabled(complete && !m_saving);
}

bool TFrmPodglad::zoomKey(const QKeyEvent& key) {
  const Qt::KeyboardModifiers mods = key.modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
  if (mods != Qt::ControlModifier) return false;
  switch (key.key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:  // the plus key without Shift on most layouts
      m_viewer->ZoomIn();
      return true;
    case Qt::Key_Minus:
    case Qt::Key_Underscore:
      m_viewer->ZoomOut();
      return true;
    default:
      return false;
  }
}

bool TFrmPodglad::toolKey(QObject* watched, const QKeyEvent& key) {
  const Qt::KeyboardModifiers mods = key.modifiers() & ~Qt::KeypadModifier;
  const int k = key.key();
  const bool enter = k == Qt::Key_Return || k == Qt::Key_Enter;
  if (watched == m_edStrona) {
    if (enter && mods == Qt::NoModifier) goToTyped();
    if (k == Qt::Key_Escape && mods == Qt::NoModifier) closeGoTo();
    return (enter || k == Qt::Key_Escape) && mods == Qt::NoModifier;
  }
  if (watched == m_findBar->edZnajdz() && enter && (mods == Qt::NoModifier || mods == Qt::ShiftModifier)) {
    mods == Qt::ShiftModifier ? m_findBar->FindPrevious() : m_findBar->FindNext();
    return true;
  }
  if (k == Qt::Key_Escape && mods == Qt::NoModifier && m_findBar->IsOpen()) {
    m_findBar->Close();  // the second Escape closes the window, as ever
    return true;
  }
  if (k == Qt::Key_F3 && (mods == Qt::NoModifier || mods == Qt::ShiftModifier)) {
    if (!m_findBar->IsOpen()) m_findBar->Open();
    mods == Qt::ShiftModifier ? m_findBar->FindPrevious() : m_findBar->FindNext();
    return true;
  }
  if (zoomKey(key)) return true;
  if (mods != Qt::ControlModifier) return false;
  switch (k) {
    case Qt::Key_F:
      OpenFind();
      return true;
    case Qt::Key_G:
      OpenGoToPage();
      return true;
    case Qt::Key_S:
      SaveAsPdf();
      return true;
    case Qt::Key_C:
      if (fieldWithSelection(QApplication::focusWidget())) return false;
      CopyPageText();
      return true;
    default:
      return false;
  }
}

void TFrmPodglad::OpenFind() { m_findBar->Open(); }

void TFrmPodglad::OpenGoToPage() {
  if (m_viewer->PageCount() == 0) return;
  m_edStrona->setGeometry(m_lblStrona->geometry());
  m_edStrona->setText(QString::number(m_viewer->PageNr()));
  m_edStrona->show();
  m_edStrona->raise();
  m_edStrona->setFocus(Qt::ShortcutFocusReason);
  m_edStrona->selectAll();
}

void TFrmPodglad::GoToPage(qint64 pageNr) {
  if (m_viewer->PageCount() == 0) return;
  m_viewer->setPageNr(static_cast<int>(std::clamp<qint64>(pageNr, 1, m_viewer->PageCount())));
}

void TFrmPodglad::goToTyped() {
  const QString typed = m_edStrona->text();
  closeGoTo();
  if (!typed.isEmpty()) GoToPage(typed.toLongLong());
}

void TFrmPodglad::closeGoTo() {
  const bool hadFocus = m_edStrona->hasFocus();
  m_edStrona->hide();
  if (hadFocus) m_viewer->setFocus(Qt::OtherFocusReason);
}

void TFrmPodglad::CopyPageText() {
  const int index = m_viewer->PageNr() - 1;
  if (index < 0 || index >= m_viewer->PageCount()) return;
  QGuiApplication::clipboard()->setText(PageText(m_viewer->Page(index)));
  m_hb->ShowHintText(QStringLiteral("Tekst strony %1 skopiowano do schowka").arg(index + 1));
}

void TFrmPodglad::SaveAsPdf() {
  if (m_hb->TextAccept().isEmpty() || m_loading || m_saving || !pdfWriter()) return;
  QFileDialog dialog(this, QStringLiteral("Zapisz jako PDF"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilter(QStringLiteral("Dokumenty PDF (*.pdf)"));
  dialog.setDefaultSuffix(QStringLiteral("pdf"));
  dialog.setDirectory(DocumentsDir());
  dialog.selectFile(QDir(DocumentsDir()).filePath(m_printoutName + QStringLiteral(".pdf")));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  writePdf(dialog.selectedFiles().constFirst());
}

void TFrmPodglad::writePdf(const QString& path) {
  PdfRequest request;
  request.path = path;
  request.pages = PageSnapshot(*m_viewer);

  TWorkingDlg progress(this);
  progress.Tekst = QStringLiteral("Trwa zapisywanie wydruku do pliku PDF");
  progress.JestPostepBar = true;
  progress.setProgressMax(request.pages.PageCount());
  QElapsedTimer pumped;
  pumped.start();
  request.progress = [&](int done) {
    progress.SetProgress(done);
    // The window stays alive; Escape or closing it stops the saving.
    if (pumped.elapsed() >= 30) {
      pumped.restart();
      HandleOneMessage();
    }
    return !m_saveCancelled;
  };
  m_saving = true;
  m_saveCancelled = false;
  updateTools();
  SetBusy(true, true);
  progress.Open();
  StopOnEscape stopper(m_saveCancelled);
  if (progress.Window()) progress.Window()->installEventFilter(&stopper);
  // The file dialog has gone: the preview takes the keyboard back before the
  // work starts, so that Escape reaches it.
  activateWindow();
  RepaintAllForms();
  bool written = false;
  QString failure;
  try {
    written = pdfWriter()(request);
  } catch (const std::exception&) {
    failure = QStringLiteral("Nie udało się zapisać pliku:\r%1").arg(QDir::toNativeSeparators(path));
  }
  progress.CloseWindow();
  SetBusy(false, true);
  m_saving = false;
  updateTools();
  if (!failure.isEmpty())
    ShowError(QStringLiteral("Błąd zapisu"), failure);
  else if (written)
    m_hb->ShowHintText(QStringLiteral("Zapisano plik %1").arg(QDir::toNativeSeparators(path)));
  else if (m_saveCancelled)
    m_hb->ShowHintText(QStringLiteral("Zapisywanie pliku PDF przerwano"));
}

}  // namespace zorpokaz
