// TWydrukiDrukuj: the print dialog. The user picks the printer, the pages, the
// number of copies, colour, the mode (Normalnie, Zmniejszone, Książeczka) and
// the troubleshooting options; Drukuj runs the print job over the pages of the
// page source (the preview's viewer) with its margins, and the choices go into
// the process-wide print settings record. A fixed-size frame window: the controls of the
// original 640 x 380 layout keep their places, and a column on the right
// shows the sheets the chosen mode and range will print (TSheetPicture).
//
// Ownership: the dialog owns its controls and the progress window; it borrows
// the page source (Source), takes a snapshot of its pages when it shows, and
// uses the process's PrinterSystem. Margins in millimetres.
#pragma once

#include <QString>

#include <functional>

#include "sheets/pageset.h"
#include "sheets/pagesnapshot.h"
#include "sheets/printjob.h"
#include "ui/tzorform.h"

class QCheckBox;
class QFrame;
class QGroupBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace zorpokaz {

class PrinterSystem;
class TSheetPicture;
class TWorkingDlg;
class TZorBtn;

class TWydrukiDrukuj : public TZorForm {
  Q_OBJECT

 public:
  explicit TWydrukiDrukuj(QWidget* owner = nullptr);
  ~TWydrukiDrukuj() override;

  QString PrintoutTitle;
  const PageSource* Source = nullptr;

  // The message routines the print action asks through; tests replace them.
  std::function<bool(const QString& title, const QString& text)> AskYesNoFn;
  std::function<bool(const QString& title, const QString& text)> AskOkCancelFn;
  std::function<void(const QString& title, const QString& text)> ShowErrorFn;

  bool CancelRequested() const { return m_cancelRequested; }
  PrintMode Mode() const;
  void UpdateControls();

  // The controls, as the tests and screenshots reach them.
  QGroupBox* gbDrukarka = nullptr;
  QComboBox* cbDrukarki = nullptr;
  TZorBtn* btnWlasciwosci = nullptr;
  QGroupBox* gbStrony = nullptr;
  QRadioButton* rbStrony1 = nullptr;
  QRadioButton* rbStrony2 = nullptr;
  QRadioButton* rbStrony4 = nullptr;
  QLineEdit* edStrony = nullptr;
  QLabel* Label4 = nullptr;
  QFrame* pKopie = nullptr;
  QLabel* Label1 = nullptr;
  QSpinBox* edKopie = nullptr;
  QCheckBox* cbKolorowy = nullptr;
  TPanelEx* pOpcje1 = nullptr;
  TZorBtn* btnNormalne = nullptr;
  TZorBtn* btnZmniejszone = nullptr;
  TZorBtn* btnKsiazeczka = nullptr;
  QCheckBox* cbOdwrotnie = nullptr;
  QLabel* lblOdwrotnie = nullptr;
  QCheckBox* cbDwustronnie = nullptr;
  QLabel* lblDwustronnie1 = nullptr;
  QLabel* lblDwustronnie2 = nullptr;
  TZorBtn* btnOpcje2Pokaz = nullptr;
  TPanelEx* pOpcje2 = nullptr;
  QCheckBox* cbNoAbortProc = nullptr;
  QLabel* Label3 = nullptr;
  QRadioButton* rbEmfMode = nullptr;
  QLabel* Label2 = nullptr;
  QRadioButton* rbBmpMode = nullptr;
  QLabel* Label5 = nullptr;
  TZorBtn* ZorBtn1 = nullptr;
  QGroupBox* gbKartki = nullptr;
  TSheetPicture* pKartki = nullptr;
  TWorkingDlg* WorkingDlg = nullptr;

  // The dialog's size: the original 640 x 380 and the sheets column.
  static constexpr int kWidth = 880;
  static constexpr int kHeight = 380;

 protected:
  void UpdateFrameState() override;
  void WMAfterShow() override;
  void hbAccept() override;
  void hbCancel() override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildLayout();
  void buildPrinterGroup();
  void buildRangeGroup();
  void buildCopiesArea();
  void buildOptions();
  void buildAdvancedOptions();
  void buildSheetsColumn();
  void refreshSheets();
  void FillPrinterList();
  void cbDrukarkiChange(int index);
  void btnWlasciwosciClick();
  void btnTrybClick(TZorBtn& sender);
  void btnOpcje2PokazClick();
  void ZorBtn1Click();
  void storeChoices(bool withMode);
  PageRangeChoice rangeChoice() const;
  PrintJobSettings jobSettings() const;
  PrintJobHooks jobHooks();
  bool buildList(const PageRangeChoice& range, PageList& list);
  void endPrintAction(QWidget* focused);

  PrinterSystem& m_system;
  PageSnapshot m_pages;  // taken from Source when the dialog shows
  bool m_hasPages = false;
  bool m_cancelRequested = false;
  bool m_printing = false;  // a print action runs: no choice may change
};

}  // namespace zorpokaz
