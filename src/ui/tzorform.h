// TZorForm: the base window of the program's own dialogs. No system border or
// caption: it draws its frame (pFrame), its caption strip (pCaption with the
// text and the caption buttons) and a hint bar (hb) along the bottom, moves and
// sizes itself by hit-testing its own points, keeps inside the desktop work
// area and inside its minimum and maximum sizes, and allows one sub-window at
// a time over itself. Enter and Esc go to the hint bar's Accept and Cancel
// before any control sees them. A closed frame window deletes itself.
//
// Units: pixels, window coordinates unless said otherwise. Ownership: the
// window owns its panels, buttons and hint bar; descendants put their controls
// into pFrame, at coordinates inside the window. A sub-window is destroyed
// with the window it was opened over.
#pragma once

#include <QDialog>
#include <QEvent>
#include <QPointer>
#include <QRect>

#include "ui/tpanelex.h"

class QToolButton;

namespace zorpokaz {

class THintBar;

class TZorForm : public QDialog {
  Q_OBJECT

 public:
  enum class TSizeState { Normal, Minimized, Maximized };
  // The window's own posted messages.
  static constexpr QEvent::Type WM_FRAMESTATE = static_cast<QEvent::Type>(QEvent::User + 1001);
  static constexpr QEvent::Type WM_AFTERSHOW = static_cast<QEvent::Type>(QEvent::User + 1002);
  static constexpr int kCornerSize = 10;

  // owner: the window this one is opened over (a TZorForm owner gets it as its
  // SubWindow). className names the descendant in the one-sub-window error,
  // which is thrown here when the owner already has a sub-window open.
  explicit TZorForm(QWidget* owner = nullptr, const char* className = "TZorForm");
  ~TZorForm() override;

  int MinFormWidth() const { return m_minFormWidth; }
  void setMinFormWidth(int value);
  int MaxFormWidth() const { return m_maxFormWidth; }
  void setMaxFormWidth(int value);
  int MinFormHeight() const { return m_minFormHeight; }
  void setMinFormHeight(int value);
  int MaxFormHeight() const { return m_maxFormHeight; }
  void setMaxFormHeight(int value);
  int NormalWidth() const { return m_normalWidth; }
  int NormalHeight() const { return m_normalHeight; }

  // Zero means the whole work area in that direction.
  void CenterOnWorkArea(int width, int height);
  void KeepOnWorkArea();
  // Bounds clamped into the size limits, as every size request is.
  void SetBounds(const QRect& bounds);
  TSizeState SizeState() const { return m_sizeState; }
  void SetSizeState(TSizeState state);
  bool FrameActive() const { return m_frameActive; }
  TZorForm* ParentFrame() const { return m_parentFrame; }
  TZorForm* SubWindow() const { return m_subWindow; }

  // What a point in window coordinates is: caption, a border or edge, or
  // client; downgraded to a plain border where the size or state forbids it.
  THitTest HitTestAt(QPoint windowPos) const;

  // The work-area rules as pure functions, for the window and its tests.
  static QRect KeepRectOnWorkArea(QRect bounds, const QRect& area, int minWidth, int minHeight);
  static QRect CenteredRect(const QRect& area, int width, int height);

  // The context-help pick mode started by btnCapHelp: the button stays down,
  // the pointer is the help pointer and the window takes every input of the
  // program until a key is released (F1: help for the button itself) or the
  // left button is pressed (help for the control under the pointer).
  bool HelpMode() const { return m_helpMode; }

  TPanelEx* pFrame() const { return m_pFrame; }
  TPanelEx* pCaption() const { return m_pCaption; }
  TPanelEx* pCapIkona() const { return m_pCapIkona; }
  TPanelEx* pCapText() const { return m_pCapText; }
  TPanelEx* pCaptionBtns() const { return m_pCaptionBtns; }
  QToolButton* btnCapHelp() const { return m_btnCapHelp; }
  QToolButton* btnCapMinimize() const { return m_btnCapMinimize; }
  QToolButton* btnCapMaximize() const { return m_btnCapMaximize; }
  QToolButton* btnCapClose() const { return m_btnCapClose; }
  THintBar* hb() const { return m_hb; }

 protected:
  // Repaints the active or inactive look; when active every control in pFrame
  // is enabled again (labels keep their state).
  virtual void UpdateFrameState();
  // A help text for a control; the walk goes up the parents until one answers.
  virtual QString HelpTextFor(QWidget* control);
  virtual QRect DefaultNormalRect();
  // Called when the window is shown, before WM_AFTERSHOW is posted.
  virtual void AfterShow() {}
  // WM_AFTERSHOW: the window is on screen; descendants finish their set-up.
  virtual void WMAfterShow() {}

  virtual void hbAccept() {}
  virtual void hbCancel() { close(); }
  void hbHelp();
  void btnCapHelpClick();

  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void changeEvent(QEvent* event) override;
  void customEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  void buildFrame();
  void layoutCaptionButtons();
  void layoutFrame();
  void FormResize();
  void btnCapMaximizeClick();
  bool FormKeyDown(QKeyEvent* event);
  void applySizeLimits();
  void setCaptionLook();
  QRect draggedBounds(QPoint globalNow) const;
  void HelpFor(QWidget* start);
  bool helpModeEvent(QEvent* event);
  void endHelpMode();

  int m_minFormWidth = 300;
  int m_maxFormWidth = 0;
  int m_minFormHeight = 200;
  int m_maxFormHeight = 0;
  int m_normalWidth = 300;
  int m_normalHeight = 200;
  TSizeState m_sizeState = TSizeState::Normal;
  QRect m_restoreRect;
  bool m_frameActive = false;
  bool m_lookStale = false;
  bool m_helpMode = false;
  QPointer<TZorForm> m_parentFrame;
  QPointer<TZorForm> m_subWindow;

  // A move or size by the mouse when the platform cannot run one itself.
  THitTest m_dragKind = THitTest::Nowhere;
  QPoint m_dragStart;
  QRect m_dragBounds;

  TPanelEx* m_pFrame = nullptr;
  TPanelEx* m_pCaption = nullptr;
  TPanelEx* m_pCapIkona = nullptr;
  TPanelEx* m_pCapText = nullptr;
  TPanelEx* m_pCaptionBtns = nullptr;
  QToolButton* m_btnCapHelp = nullptr;
  QToolButton* m_btnCapMinimize = nullptr;
  QToolButton* m_btnCapMaximize = nullptr;
  QToolButton* m_btnCapClose = nullptr;
  THintBar* m_hb = nullptr;
};

}  // namespace zorpokaz
