#include "printing/twydrukidrukuj.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>
#include <QSpinBox>

#include "platform/gfx/pageimage.h"
#include "sheets/eprintdlgerror.h"
#include "printing/printersystem.h"
#include "printing/printsettings.h"
#include "sheets/printtarget.h"
#include "sheets/sheetpreview.h"
#include "printing/tsheetpicture.h"
#include "ui/apperror.h"
#include "ui/okienko.h"
#include "ui/thintbar.h"
#include "ui/tworkingdlg.h"
#include "ui/tzorbtn.h"
#include "util/bajery.h"

namespace zorpokaz {

TWydrukiDrukuj::TWydrukiDrukuj(QWidget* owner)
    : TZorForm(owner, "TWydrukiDrukuj"), m_system(ThePrinterSystem()) {
  AskYesNoFn = AskYesNo;
  AskOkCancelFn = AskOkCancel;
  ShowErrorFn = ShowError;
  setWindowTitle(QStringLiteral("Wybierz drukarkę i parametry drukowania"));
  setMinFormWidth(kWidth);
  setMaxFormWidth(MinFormWidth());
  setMinFormHeight(kHeight);
  setMaxFormHeight(MinFormHeight());
  CenterOnWorkArea(0, 0);
  buildLayout();

  const TPrintSettings& s = PrintSettings();
  if (s.PrintDlg_Tryb == 2)
    btnTrybClick(*btnZmniejszone);
  else if (s.PrintDlg_Tryb == 3)
    btnTrybClick(*btnKsiazeczka);
  else if (s.PrintDlg_Tryb == 1)
    btnTrybClick(*btnNormalne);
  cbOdwrotnie->setChecked(s.PrintDlg_Odwrotnie);
  cbDwustronnie->setChecked(s.PrintDlg_Dwustronnie);
  cbKolorowy->setChecked(s.PrintDlg_Kolor);
  edKopie->setValue(s.PrintDlg_Kopie);
}

TWydrukiDrukuj::~TWydrukiDrukuj() = default;

PrintMode TWydrukiDrukuj::Mode() const {
  if (btnZmniejszone->Down())
    return PrintMode::Zmniejszone;
  if (btnKsiazeczka->Down())
    return PrintMode::Ksiazeczka;
  return PrintMode::Normalnie;
}

void TWydrukiDrukuj::WMAfterShow() {
  repaint();
  SetBusy(true);
  try {
    if (m_system.Printers().empty())
      throw ESafeException("Brak zainstalowanej drukarki !");
    cbDrukarki->setCurrentIndex(-1);
    FillPrinterList();
    const TPrintSettings& s = PrintSettings();
    cbNoAbortProc->setChecked(s.PrintDlg_NoAbort);
    rbEmfMode->setChecked(!s.PrintDlg_NoEMF);
    rbBmpMode->setChecked(s.PrintDlg_NoEMF);
    if (Source) {
      m_pages = PageSnapshot(*Source);
      m_hasPages = true;
    }
    if (!m_hasPages)
      throw EPrintDlgError("Nie ustawiono listy stron !");
    if (m_pages.PageCount() == 0)
      throw EPrintDlgError("Liczba stron jest równa zeru !");
    const int n = m_pages.PageCount();
    rbStrony1->setText(QStringLiteral("&Całość (%1 %2)")
                           .arg(n)
                           .arg(PluralForm(n, QStringLiteral("strona"), QStringLiteral("strony"),
                                           QStringLiteral("stron"))));
    rbStrony2->setText(QStringLiteral("&Bieżąca strona (%1)").arg(m_pages.CurrentPage()));
    UpdateControls();
    refreshSheets();
  } catch (const std::exception& e) {
    SetBusy(false);
    ReportException(e);
    close();
    return;
  }
  SetBusy(false);
}

void TWydrukiDrukuj::FillPrinterList() {
  cbDrukarki->clear();
  const PrinterListing listing = ListPrinters(m_system.Printers(), m_system.CurrentIndex(),
                                              PrintSettings().PrintDlg_NazwaDruk);
  for (const QString& entry : listing.entries)
    cbDrukarki->addItem(entry);
  m_system.Select(listing.choice);
  cbDrukarki->setCurrentIndex(listing.choice);
}

void TWydrukiDrukuj::UpdateControls() {
  rbStrony2->setEnabled(m_pages.CurrentPage() != -1);
  const bool twoSidedChoice = !btnKsiazeczka->Down();
  cbDwustronnie->setEnabled(twoSidedChoice);
  lblDwustronnie1->setVisible(twoSidedChoice);
  lblDwustronnie2->setVisible(!twoSidedChoice);
}

void TWydrukiDrukuj::UpdateFrameState() {
  TZorForm::UpdateFrameState();
  // The frame enables every control; the dialog's own rules come after.
  if (FrameActive())
    UpdateControls();
}

void TWydrukiDrukuj::btnTrybClick(TZorBtn& sender) {
  for (TZorBtn* b : {btnNormalne, btnZmniejszone, btnKsiazeczka})
    b->setDown(false);
  sender.setDown(true);
  UpdateControls();
  refreshSheets();
}

// The picture is planned from the dialog's controls as they stand, by the
// same steps the print action takes, so it shows what the paper will get.
void TWydrukiDrukuj::refreshSheets() {
  if (!pKartki)
    return;
  if (m_pages.PageCount() == 0) {
    pKartki->setNote(QString());
    return;
  }
  try {
    const SheetOptions options{Mode(), cbDwustronnie->isChecked(), cbOdwrotnie->isChecked()};
    pKartki->setPreview(PreviewSheets(BuildPageList(rangeChoice()), options));
  } catch (const std::exception&) {
    pKartki->setNote(QStringLiteral("Popraw zestaw stron, aby zobaczyć kartki."));
  }
}

void TWydrukiDrukuj::cbDrukarkiChange(int index) {
  m_system.Select(index);
  // A newly chosen printer starts without the troubleshooting options.
  cbNoAbortProc->setChecked(false);
  rbEmfMode->setChecked(true);
}

void TWydrukiDrukuj::btnWlasciwosciClick() {
  try {
    m_system.Select(cbDrukarki->currentIndex());
    bool monochrome = false;
    if (m_system.ShowProperties(this, cbKolorowy->isChecked(), monochrome) && monochrome)
      cbKolorowy->setChecked(false);
  } catch (const std::exception& e) {
    ReportException(e);
  }
}

void TWydrukiDrukuj::btnOpcje2PokazClick() {
  pOpcje2->setGeometry(pOpcje1->geometry());
  pOpcje1->hide();
  pOpcje2->show();
}

void TWydrukiDrukuj::ZorBtn1Click() {
  pOpcje1->show();
  pOpcje2->hide();
}

bool TWydrukiDrukuj::eventFilter(QObject* watched, QEvent* event) {
  // edStronyEnter: typing a page set selects that option. Not while a print
  // action runs: disabling the focused control hands the focus on along the
  // chain, and the page-set field must not take the range for itself then.
  if (watched == edStrony && event->type() == QEvent::FocusIn && !m_printing)
    rbStrony4->setChecked(true);
  return TZorForm::eventFilter(watched, event);
}

void TWydrukiDrukuj::storeChoices(bool withMode) {
  TPrintSettings& s = PrintSettings();
  if (withMode)
    s.PrintDlg_Tryb = static_cast<int>(Mode());
  s.PrintDlg_NazwaDruk = cbDrukarki->currentText();
  s.PrintDlg_Odwrotnie = cbOdwrotnie->isChecked();
  s.PrintDlg_Dwustronnie = cbDwustronnie->isChecked();
  s.PrintDlg_NoAbort = cbNoAbortProc->isChecked();
  s.PrintDlg_NoEMF = rbBmpMode->isChecked();
  s.PrintDlg_Kolor = cbKolorowy->isChecked();
  s.PrintDlg_Kopie = edKopie->value();
}

void TWydrukiDrukuj::hbCancel() {
  // Esc while printing is the close request that cancels the action; the
  // choices it runs with stay as they were read.
  if (!m_printing)
    storeChoices(false);
  TZorForm::hbCancel();
}

void TWydrukiDrukuj::closeEvent(QCloseEvent* event) {
  if (!pFrame()->isEnabled()) {
    // A print action is running: it stops after the page being drawn.
    event->ignore();
    m_cancelRequested = true;
    return;
  }
  TZorForm::closeEvent(event);
}

PageRangeChoice TWydrukiDrukuj::rangeChoice() const {
  PageRangeChoice c;
  c.range = rbStrony2->isChecked()   ? PageRange::Current
            : rbStrony4->isChecked() ? PageRange::Set
                                     : PageRange::All;
  c.pageCount = m_pages.PageCount();
  c.currentPage = m_pages.CurrentPage();
  c.pageSetText = edStrony->text();
  return c;
}

PrintJobSettings TWydrukiDrukuj::jobSettings() const {
  const TPrintSettings& s = PrintSettings();
  PrintJobSettings j;
  j.sheet = {static_cast<PrintMode>(s.PrintDlg_Tryb), s.PrintDlg_Dwustronnie,
             s.PrintDlg_Odwrotnie};
  j.colour = s.PrintDlg_Kolor;
  j.bitmap = s.PrintDlg_NoEMF;
  j.noAbort = s.PrintDlg_NoAbort;
  j.copies = s.PrintDlg_Kopie;
  return j;
}

PrintJobHooks TWydrukiDrukuj::jobHooks() {
  PrintJobHooks h;
  h.askAnotherCopy = [this] {
    return AskYesNoFn(QStringLiteral("Drukowac kopie?"),
                      QStringLiteral("Czy chcesz wydrukować kolejną kopię? Jeśli tak, proszę "
                                     "przygotować papier."));
  };
  h.askBooklet = [this](int n, int N) {
    return AskYesNoFn(bookletQuestionTitle(), bookletQuestionText(n, N));
  };
  h.askTurnStack = [this] {
    return AskOkCancelFn(
        QStringLiteral("Czekam na odwrócenie kartek ..."),
        QStringLiteral("1. Zaczekaj aż drukarka skończy pierwszą część wydruku.\r2. Przełóż cały "
                       "powstały plik kartek spowrotem\r   w taki sposób, aby drukować po ich "
                       "drugiej stronie.\r3. Dopiero wtedy kliknij OK."));
  };
  h.stepProgress = [this] { WorkingDlg->StepProgress(); };
  h.cancelRequested = [this] { return m_cancelRequested; };
  h.reportError = [](const std::exception& e) { ReportException(e); };
  h.pumpEvents = [] { HandleOneMessage(); };
  return h;
}

// Page-set errors are shown here and leave the dialog open for correction;
// anything else goes on to the print action's own report.
bool TWydrukiDrukuj::buildList(const PageRangeChoice& range, PageList& list) {
  try {
    list = BuildPageList(range);
    return true;
  } catch (const EPrintDlgError& e) {
    ShowErrorFn(QStringLiteral("Błąd w podanym zestawie stron !"), QString::fromUtf8(e.what()));
    return false;
  }
}

void TWydrukiDrukuj::endPrintAction(QWidget* focused) {
  WorkingDlg->CloseWindow();
  repaint();
  SetBusy(false);
  EnableControls(pFrame(), true, false);
  UpdateControls();
  // The dialog stays open after a failure: the focus goes back where the
  // person left it, still without any effect on the choices.
  if (focused && focused->isVisible() && focused->isEnabled())
    focused->setFocus(Qt::OtherFocusReason);
  m_printing = false;
}

void TWydrukiDrukuj::hbAccept() {
  if (m_printing || !pFrame()->isEnabled())
    return;  // Enter while a print action runs
  // Every choice is read here, before anything is disabled; what the frame
  // then does to focus and enabled states cannot change what prints.
  storeChoices(true);
  const PageRangeChoice range = rangeChoice();
  const PrintJobSettings settings = jobSettings();
  try {
    m_system.ApplyColorSetting(settings.colour);
  } catch (const std::exception& e) {
    ReportException(e);
    return;
  }
  m_cancelRequested = false;
  m_printing = true;
  const QPointer<QWidget> focused = QApplication::focusWidget();
  EnableControls(pFrame(), false, false);
  SetBusy(true);
  bool printed = false;
  bool pageSetError = false;
  try {
    PageList list;
    if (buildList(range, list)) {
      PrintJob job(m_system.Target(), m_pages, PrintoutTitle, settings, jobHooks());
      job.ComputeRects();
      WorkingDlg->setProgressMax(PrintJob::progressMax(list, settings.copies));
      WorkingDlg->SetProgress(0);
      WorkingDlg->Open();
      job.PrintCopies(list);
      printed = true;
    } else {
      pageSetError = true;
    }
  } catch (const std::exception& e) {
    endPrintAction(focused);
    ReportException(e);
    return;
  }
  endPrintAction(focused);
  if (pageSetError)
    SafeSetFocus(edStrony);
  if (printed)
    close();
}

}  // namespace zorpokaz
