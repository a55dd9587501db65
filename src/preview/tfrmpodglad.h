// TFrmPodglad: the print-preview window. Given one printout file, it loads it
// through a TWydruk once it is on screen, shows every page in its viewer as
// soon as the document has made it (while the user may already scroll, zoom,
// change margins or close), lets the user set the page margins and page
// through, and hands the loaded pages to printing. It reads the saved window,
// margin and print settings when created and writes them when closed.
//
// Ownership: the window owns its controls and its private copies of the page
// images (shared with the viewer); the document lives only while loading.
// Units: margins in millimetres, window bounds in screen pixels. The bounds
// the window keeps, stores and defaults to are its outer bounds, frame and
// title bar included, as are its minimum 350 × 500.
#pragma once

#include <QDialog>
#include <QMargins>
#include <QRect>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

#include "sheets/pagesnapshot.h"

class QFrame;
class QLabel;
class QLineEdit;
class QAction;
class QKeyEvent;
class QMenu;
class QSpinBox;
class QTimer;
class QToolButton;

namespace zorpokaz {

class PageImage;
class TEmfViewer;
class TFindBar;
class THintBar;
class TWydruk;
class TZorBtn;

class TFrmPodglad : public QDialog {
  Q_OBJECT

 public:
  // How the pages of a preview window are printed (InstallPrintDialog);
  // until a handler is set, the print command says that it cannot print.
  using PrintHandler = std::function<void(TFrmPodglad& window)>;
  static void SetPrintHandler(PrintHandler handler);

  // How the pages are written as a PDF (InstallPdfWriter): the writer gets
  // the file and the viewer's pages with its margins (millimetres), reports
  // each page done (false from the callback stops it) and returns whether the
  // file was written; it throws when it cannot write it.
  struct PdfRequest {
    QString path;
    PageSnapshot pages;
    std::function<bool(int pagesDone)> progress;
  };
  using PdfWriter = std::function<bool(const PdfRequest& request)>;
  static void SetPdfWriter(PdfWriter writer);
  // Where "Zapisz jako PDF..." proposes to save: XDG_DOCUMENTS_DIR, else the
  // documents directory the desktop names, else home.
  static QString DocumentsDir();

  explicit TFrmPodglad(QWidget* parent = nullptr);
  ~TFrmPodglad() override;

  // A printout given by its full path.
  void OpenFile(const QString& path);
  // A printout of the library directory, given by its name.
  void OpenByName(const QString& name);
  // The window will not write its settings when it closes (TEMP mode).
  void SkipSettingsSave() { m_skipSave = true; }

  const QString& FileName() const { return m_fileName; }
  const QString& PrintoutName() const { return m_printoutName; }
  bool LoadAborted() const { return m_loadAborted; }
  bool Loading() const { return m_loading; }

  // The window's parts, as the print dialog and the tests reach them.
  TEmfViewer* viewer() const { return m_viewer; }
  THintBar* hb() const { return m_hb; }
  QSpinBox* margT() const { return m_margT; }
  QSpinBox* margL() const { return m_margL; }
  QSpinBox* margR() const { return m_margR; }
  QSpinBox* margB() const { return m_margB; }
  QLabel* lblMarg() const { return m_lblMarg; }
  QLabel* lblStrona() const { return m_lblStrona; }
  QFrame* pMarginesy() const { return m_pMarginesy; }
  TZorBtn* btnStronaUp() const { return m_btnStronaUp; }
  TZorBtn* btnStronaDn() const { return m_btnStronaDn; }
  QTimer* timerStrona() const { return m_timerStrona; }
  TFindBar* findBar() const { return m_findBar; }
  QLineEdit* edStrona() const { return m_edStrona; }
  QToolButton* btnZoom() const { return m_btnZoom; }
  QToolButton* btnZnajdz() const { return m_btnZnajdz; }
  QToolButton* btnPdf() const { return m_btnPdf; }
  QToolButton* btnKopiuj() const { return m_btnKopiuj; }
  QWidget* pNarzedzia() const { return m_pNarzedzia; }
  bool Saving() const { return m_saving; }

  // The preview's own commands beyond printing: each has its key and a place
  // to click (the tool buttons, the zoom menu, the page counter).
  void OpenFind();
  void OpenGoToPage();
  void GoToPage(qint64 pageNr);  // clamped to 1..PageCount
  void CopyPageText();
  void SaveAsPdf();
  // The zoom readout: the sheet's width against the real page at the screen's
  // resolution, in percent.
  QString ZoomText() const;

  static const char* const kHelpAddress;
  static constexpr int kMinOuterWidth = 350;
  static constexpr int kMinOuterHeight = 500;

  // The window's outer bounds, frame included (the frame is known only once
  // the window is on screen under a window manager; until then it counts 0).
  QRect OuterBounds() const { return frameGeometry(); }
  void SetOuterBounds(const QRect& bounds);

  // The top strip's page panel: normally 149 wide; wider, as far as the room
  // right of the margins panel allows, when "Strona:" and the counter need
  // it; when even that is too narrow, "Strona:" gives way so that the counter
  // keeps every digit. Panel coordinates; the step buttons sit at its right.
  struct PagesPanelLayout {
    int width = 0;
    bool labelShown = true;
    QRect label;
    QRect counter;
  };
  static PagesPanelLayout LayOutPagesPanel(int room, int labelWidth, int counterWidth);

  // The tools strip between the margins and the page panel, right against the
  // page panel: the tool buttons and the zoom readout when the room allows,
  // else only the readout (whose menu holds every command), else nothing.
  struct ToolsLayout {
    int width = 0;
    bool buttonsShown = false;
    bool readoutShown = false;
  };
  static ToolsLayout LayOutTools(int room, int buttonsWidth, int readoutWidth);

 protected:
  void showEvent(QShowEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void customEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildLayout();
  void buildTopPanel(QWidget* pGora);
  void buildPagesPanel(QWidget* pGora);
  void layoutTopPanel();
  void layoutPagesPanel(int room);
  QMargins frameExtents() const;
  void applyOuterBounds();
  void boundsChanged();
  void watchKeys();
  void startLoad();
  void LoadPrintout();
  void progress(TWydruk& document, int percent);
  void addPageCopy(const PageImage& page);
  void hbAccept();
  void hbCancel();
  void hbHelp();
  void margChange();
  void viewerChange();
  void viewerMove();
  void timerStronaTimer();
  void btnStronaMouseDown(int step);
  void btnStronaMouseUp();
  void lblMargClick();
  void LoadSettings();
  void SaveSettings();
  void buildTools(QWidget* pGora);
  void layoutTools(int room);
  bool toolKey(QObject* watched, const QKeyEvent& key);
  bool zoomKey(const QKeyEvent& key);
  void closeGoTo();
  void goToTyped();
  void updateTools();
  void writePdf(const QString& path);
  void zoomChanged();
  double screenDpi() const;

  QString m_fileName;
  QString m_printoutName;
  bool m_loadAborted = false;
  bool m_loading = false;
  bool m_started = false;
  bool m_skipSave = false;
  int m_pageStep = 0;
  TZorBtn* m_stepButton = nullptr;
  qint64 m_lastPump = 0;
  // Outer bounds asked for, and the frame they were applied with; while
  // m_fitFrame is set a frame that appears or changes applies them again.
  QRect m_outerBounds;
  QMargins m_appliedFrame;
  bool m_fitFrame = false;
  bool m_applyingBounds = false;
  QSize m_appliedSize;

  QWidget* m_pGora = nullptr;
  QFrame* m_pMarginesy = nullptr;
  QLabel* m_lblMarg = nullptr;
  QLabel* m_lblMargT = nullptr;
  QLabel* m_lblMargL = nullptr;
  QLabel* m_lblMargR = nullptr;
  QLabel* m_lblMargB = nullptr;
  QSpinBox* m_margT = nullptr;
  QSpinBox* m_margL = nullptr;
  QSpinBox* m_margR = nullptr;
  QSpinBox* m_margB = nullptr;
  QFrame* m_pStrony = nullptr;
  QLabel* m_lblStrona1 = nullptr;
  QLabel* m_lblStrona = nullptr;
  TZorBtn* m_btnStronaUp = nullptr;
  TZorBtn* m_btnStronaDn = nullptr;
  QFrame* m_pViewer = nullptr;
  TEmfViewer* m_viewer = nullptr;
  THintBar* m_hb = nullptr;
  QTimer* m_timerStrona = nullptr;
  TFindBar* m_findBar = nullptr;
  QLineEdit* m_edStrona = nullptr;
  QWidget* m_pNarzedzia = nullptr;
  QToolButton* m_btnZnajdz = nullptr;
  QToolButton* m_btnPdf = nullptr;
  QToolButton* m_btnKopiuj = nullptr;
  QToolButton* m_btnZoom = nullptr;
  QMenu* m_menu = nullptr;
  QAction* m_actPdf = nullptr;
  bool m_saving = false;
  bool m_saveCancelled = false;
};

}  // namespace zorpokaz
