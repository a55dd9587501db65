#include "library/tfrmlista.h"

#include "library/copyprintout.h"
#include "core/libraryfiles.h"
#include "ui/tabbeditemdelegate.h"
#include "preview/tfrmpodglad.h"
#include "ui/apperror.h"
#include "ui/okienko.h"
#include "ui/tfindfiles.h"
#include "ui/thintbar.h"
#include "ui/tzorbtn.h"
#include "util/bajery.h"
#include "util/uifont.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QRadioButton>
#include <QScreen>

#include <utility>

namespace zorpokaz {

namespace {

constexpr int kFileRole = Qt::UserRole;

QString itemName(const QListWidgetItem* item) {
  return item ? item->text().section(QLatin1Char('\t'), 0, 0) : QString();
}

}  // namespace

const QString TFrmLista::kCaption = QStringLiteral("ZorPokaz - Przeglądarka wydruków Zorela");

TFrmLista::TFrmLista(const QString& argument, const QString& libraryDir, QWidget* parent)
    : QWidget(parent, Qt::Window), m_dir(libraryDir) {
  setFont(CharHeightFont(QStringLiteral("Arial"), 11, true));
  buildLayout();
  watchKeys(this);
  setMinimumSize(370, 300);
  resize(420, 300);
  setWindowTitle(kCaption + QStringLiteral("  [") + ProgramVersion(ProgramFile()) + QLatin1Char(']'));
  handleStartArgument(argument);
}

TFrmLista::~TFrmLista() = default;

// Start-up argument: TEMP, or a printout to copy into the library or to show.
void TFrmLista::handleStartArgument(const QString& argument) {
  m_tempMode = argument == QLatin1String("TEMP");
  if (m_tempMode) {
    m_pIkonki->hide();
    for (TZorBtn* b : {m_btnPopraw, m_btnDodaj, m_btnUsun}) b->setEnabled(false);
    return;
  }
  const QFileInfo file(argument);
  if (argument.isEmpty() || !file.isFile()) return;
  const QString inLibrary = m_dir + file.fileName();
  if (SamePrintoutPath(file.absoluteFilePath(), inLibrary) || SamePrintoutPath(argument, inLibrary)) {
    m_openOnStart = argument;
    return;
  }
  if (AskYesNo(QStringLiteral("ZorPokaz - ") + argument,
               QStringLiteral("Czy skopiować wydruk do katalogu przeglądarki\r(") + m_dir + QStringLiteral(") ?")))
    m_copyOnStart = argument;
  else
    m_openOnStart = argument;
}

void TFrmLista::watchKeys(QWidget* root) {
  root->installEventFilter(this);
  for (QWidget* w : root->findChildren<QWidget*>()) w->installEventFilter(this);
}

bool TFrmLista::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && handleKey(key->key())) return true;
  } else if (watched == m_lista && event->type() == QEvent::Resize) {
    const int average = QFontMetrics(m_lista->font()).averageCharWidth();
    m_tabWidth = ListTabWidth(m_lista->width(), average);
    m_delegate->setTabDistance(m_tabWidth * average / 4);
    m_lista->viewport()->update();
  }
  return QWidget::eventFilter(watched, event);
}

// The window's own keys, ahead of the focused control; true when consumed.
bool TFrmLista::handleKey(int key) {
  auto clickIfUsable = [](TZorBtn* b) {
    if (b->isVisible() && b->isEnabled()) b->Click();
  };
  switch (key) {
    case Qt::Key_F2:
      clickIfUsable(m_btnPopraw);
      return true;
    case Qt::Key_F7:
      clickIfUsable(m_btnDodaj);
      return true;
    case Qt::Key_F8:
      clickIfUsable(m_btnUsun);
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (!m_hb->TextAccept().isEmpty()) OpenSelected();
      return true;
    case Qt::Key_Escape:
      close();
      return true;
    case Qt::Key_F1:
      help();
      return true;
    default:
      return false;
  }
}

bool TFrmLista::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) queueActivation();
  return QWidget::event(event);
}

// Activation work runs from the event loop, not inside the activation
// itself: it may open modal windows, which activate and deactivate again.
void TFrmLista::queueActivation() {
  if (m_activatePending) return;
  m_activatePending = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        m_activatePending = false;
        activated();
      },
      Qt::QueuedConnection);
}

void TFrmLista::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (m_shown) return;
  m_shown = true;
  if (const QScreen* s = screen()) {
    QRect r = frameGeometry();
    r.moveCenter(s->availableGeometry().center());
    move(r.topLeft());
  }
  // A desktop without a window manager may never activate the window; the
  // first showing counts as its first activation.
  activateWindow();
  queueActivation();
}

void TFrmLista::activated() {
  // An activation queued before a preview opened must not act inside it.
  if (!isVisible() || m_inPreview || QApplication::activeModalWidget()) return;
  if (!m_openOnStart.isEmpty()) {
    showOnStart();
    return;
  }
  Refresh();
  for (QRadioButton* rb : {m_rbWgNazw, m_rbWgDat}) rb->setFocusPolicy(Qt::ClickFocus);
}

// A printout from the command line that the user did not copy: shown, then
// the program ends.
void TFrmLista::showOnStart() {
  const QString path = std::exchange(m_openOnStart, QString());
  m_inPreview = true;
  {
    TFrmPodglad preview(this);
    preview.OpenFile(path);
    preview.exec();
  }
  m_inPreview = false;
  close();
}

void TFrmLista::sortClick() {
  Refresh();
  for (QRadioButton* rb : {m_rbWgNazw, m_rbWgDat}) rb->setFocusPolicy(Qt::ClickFocus);
}

void TFrmLista::Refresh() {
  // A modal question inside a refresh lets activation in again; the outer
  // refresh lists the directory as it is afterwards anyway.
  if (m_refreshing) return;
  m_refreshing = true;
  SetBusy(true);
  try {
    QString selectFile = selectedFile();
    copyOnStart(selectFile);
    fillList(selectFile);
    m_lastRefreshError.clear();
  } catch (const EAbort&) {
  } catch (const std::exception& e) {
    reportRefreshError(e);
  }
  SetBusy(false);
  m_refreshing = false;
  afterFill();
}

// Every activation refreshes, and closing the error report activates the
// window again: the same failure is reported once, not in an endless round.
void TFrmLista::reportRefreshError(const std::exception& error) {
  const QString message = QString::fromUtf8(error.what());
  if (message == m_lastRefreshError) return;
  m_lastRefreshError = message;
  ReportException(error);
}

void TFrmLista::copyOnStart(QString& selectFile) {
  if (m_copyOnStart.isEmpty()) return;
  const QString path = std::exchange(m_copyOnStart, QString());
  try {
    if (CopyPrintout(path, m_dir)) selectFile = QFileInfo(PrintoutDestination(path, m_dir)).fileName();
  } catch (const EAbort&) {
  } catch (const std::exception& e) {
    ReportException(e);
  }
}

void TFrmLista::fillList(const QString& selectFile) {
  m_lista->clear();
  TFindFiles finder;
  finder.Directory = m_dir;
  finder.Mask = QStringLiteral("*.wyd");
  finder.Recurse = false;
  finder.Execute();
  finder.FoundFiles.sort(m_rbWgDat->isChecked() ? TFileList::skModified : TFileList::skPathNoCase);
  // The view may make the first new row current by itself; the remembered
  // printout is chosen here, after all rows are in.
  int select = -1;
  for (const auto& file : finder.FoundFiles) {
    auto* item = new QListWidgetItem(file->name + QLatin1Char('\t') +
                                     file->modified.toString(QStringLiteral("yyyy-MM-dd hh:mm")));
    item->setData(kFileRole, file->fileName());
    m_lista->addItem(item);
    if (select < 0 && file->fileName() == selectFile) select = m_lista->count() - 1;
  }
  m_lista->setCurrentRow(select);
  if (select < 0) m_lista->clearSelection();
}

void TFrmLista::afterFill() {
  const bool hasItems = m_lista->count() > 0;
  m_btnPopraw->setEnabled(hasItems && !m_tempMode);
  m_btnUsun->setEnabled(hasItems && !m_tempMode);
  m_btnDodaj->setEnabled(!m_tempMode);
  m_hb->setTextAccept(hasItems ? QStringLiteral("Wyświetl") : QString());
  if (hasItems && m_lista->currentRow() < 0) m_lista->setCurrentRow(0);
  m_lista->setFocus();
  if (!m_tempMode) return;
  if (!hasItems) {
    ShowInfo(QStringLiteral("Błąd!"), QStringLiteral("Nie znaleziono żadnych wydruków!"));
    close();
  } else if (m_lista->count() == 1) {
    QCoreApplication::postEvent(m_lista, new QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier));
  }
}

QString TFrmLista::SelectedName() const { return itemName(m_lista->currentItem()); }

QString TFrmLista::selectedFile() const {
  const QListWidgetItem* item = m_lista->currentItem();
  return item ? item->data(kFileRole).toString() : QString();
}

QString TFrmLista::selectedPath() const {
  const QString file = selectedFile();
  return file.isEmpty() ? QString() : m_dir + file;
}

void TFrmLista::OpenSelected() {
  const QString path = selectedPath();
  // One preview at a time: a second Enter queued behind the first waits.
  if (path.isEmpty() || m_inPreview) return;
  m_inPreview = true;
  {
    TFrmPodglad preview(this);
    // The listed file itself, whatever the case of its extension; the
    // preview shows it under the printout's name.
    preview.OpenFile(path);
    if (m_tempMode) preview.SkipSettingsSave();
    preview.exec();
  }
  m_inPreview = false;
  if (m_tempMode && m_lista->count() == 1) close();
}

void TFrmLista::help() { ShellOpen(QLatin1String(TFrmPodglad::kHelpAddress)); }

}  // namespace zorpokaz
