// TPanelEx: a bevelled panel that a frameless window builds its frame and
// caption from. It says what kind of area a point is (OnHitTest may change
// the answer; "transparent" hands the point to the window beneath, which is
// how a caption strip becomes a drag area; a caption or edge answer lets the
// user move or size the panel itself), hands the system's messages on as
// events (cursor, moving, sizing, erasing, painting, non-client clicks, focus
// moves, keys), and can show a word-wrapped second caption (Caption2) instead
// of its caption and bevels, growing its height to fit when AutoHeight is set.
//
// Units: pixels. Owns nothing but its own painting state; children are the
// Qt children placed in it.
#pragma once

#include <QCursor>
#include <QRect>
#include <QString>
#include <QWidget>

#include <functional>

class QPainter;

namespace zorpokaz {

// What a point of a window is, as the window frame decides it.
enum class THitTest {
  Nowhere, Client, Caption, Transparent, Border,
  Left, Right, Top, TopLeft, TopRight, Bottom, BottomLeft, BottomRight,
};

enum class TBevelCut { None, Lowered, Raised };

class TPanelEx : public QWidget {
  Q_OBJECT

 public:
  using THitTestEvent = std::function<void(TPanelEx& sender, int x, int y, THitTest& result)>;
  using TBeforePaintEvent = std::function<void(TPanelEx& sender, QPainter& canvas, bool& doDefault)>;
  using TAfterPaintEvent = std::function<void(TPanelEx& sender, QPainter& canvas)>;
  using TNotifyEvent = std::function<void(TPanelEx& sender)>;
  // The cursor starts as the default arrow; another choice is shown.
  using TSetCursorEvent = std::function<void(TPanelEx& sender, THitTest hitTest, QCursor& cursor)>;
  // The bounds proposed while the user moves or sizes the panel (parent
  // coordinates); the handler may change them.
  using TPanelMoveEvent = std::function<void(TPanelEx& sender, QRect& bounds)>;
  using TEraseBkEvent = std::function<void(TPanelEx& sender, bool& erase)>;
  // Key events; a handler that sets the key to 0 (or a null character)
  // consumes it.
  using TKeyEvent = std::function<void(TPanelEx& sender, int& key, Qt::KeyboardModifiers modifiers)>;
  using TKeyPressEvent = std::function<void(TPanelEx& sender, QChar& key)>;

  explicit TPanelEx(QWidget* parent = nullptr);

  const QString& Caption() const { return m_caption; }
  void setCaption(const QString& caption);
  Qt::Alignment Alignment() const { return m_alignment; }
  void setAlignment(Qt::Alignment alignment);
  TBevelCut BevelOuter() const { return m_bevelOuter; }
  void setBevelOuter(TBevelCut cut);
  TBevelCut BevelInner() const { return m_bevelInner; }
  void setBevelInner(TBevelCut cut);
  int BevelWidth() const { return m_bevelWidth; }
  void setBevelWidth(int width);
  int BorderWidth() const { return m_borderWidth; }
  void setBorderWidth(int width);
  QColor Color() const;
  void setColor(const QColor& color);
  QColor FontColor() const;
  void setFontColor(const QColor& color);

  const QString& Caption2() const { return m_caption2; }
  void setCaption2(const QString& text);
  bool AutoHeight() const { return m_autoHeight; }
  void setAutoHeight(bool on);
  int MinWidth() const { return m_minWidth; }
  void setMinWidth(int width);

  // The frame's own width: bevels plus border.
  int FrameWidth() const;
  // The client rectangle shrunk by the bevels and the border.
  QRect InnerRect() const;

  // The answer for a point in panel coordinates: Client, then OnHitTest
  // (x, y are screen coordinates, as the system gives them).
  THitTest HitTest(QPoint local);

  // Where a move (caption) or a size (edge, corner) by delta takes bounds.
  static QRect DraggedBounds(const QRect& bounds, THitTest kind, QPoint delta);

  THitTestEvent OnHitTest;
  TBeforePaintEvent OnBeforePaint;
  TAfterPaintEvent OnAfterPaint;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TNotifyEvent OnDblClick;
  TSetCursorEvent OnSetCursor;
  TPanelMoveEvent OnPanelMove;
  TPanelMoveEvent OnPanelResize;
  TNotifyEvent OnExitSizeMove;
  TEraseBkEvent OnEraseBkgnd;
  TNotifyEvent OnNCLMouseUp;
  TNotifyEvent OnNCLMouseDblClk;
  TNotifyEvent OnNextDlgCtl;
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  bool focusNextPrevChild(bool next) override;

 private:
  void paintDefault(QPainter& p);
  void applyAutoHeight();
  QRect caption2Rect() const;
  bool passesThrough(QMouseEvent* event);
  void chooseCursor(QPoint local);
  void dragTo(QPoint global);
  void endDrag();

  QString m_caption;
  Qt::Alignment m_alignment = Qt::AlignCenter;
  TBevelCut m_bevelOuter = TBevelCut::Raised;
  TBevelCut m_bevelInner = TBevelCut::None;
  int m_bevelWidth = 1;
  int m_borderWidth = 0;
  QString m_caption2;
  bool m_autoHeight = false;
  int m_minWidth = 0;
  // A move or size by the user: what is dragged, from where.
  THitTest m_drag = THitTest::Nowhere;
  QPoint m_dragStart;
  QRect m_dragBounds;
  bool m_hookCursor = false;  // OnSetCursor's choice is showing
};

}  // namespace zorpokaz
