// TPanelEx: a bevelled panel that a frameless window builds its frame and
// caption from. It says what kind of area a point is (OnHitTest may change
// the answer; "transparent" hands the point to the window beneath, which is
// how a caption strip becomes a drag area), lets hooks paint before and after
// it, and can show a word-wrapped second caption (Caption2) instead of its
// caption and bevels, growing its height to fit when AutoHeight is set.
//
// Units: pixels. Owns nothing but its own painting state; children are the
// Qt children placed in it.
#pragma once

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

  THitTestEvent OnHitTest;
  TBeforePaintEvent OnBeforePaint;
  TAfterPaintEvent OnAfterPaint;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TNotifyEvent OnDblClick;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  void paintDefault(QPainter& p);
  void applyAutoHeight();
  QRect caption2Rect() const;
  bool passesThrough(QMouseEvent* event);

  QString m_caption;
  Qt::Alignment m_alignment = Qt::AlignCenter;
  TBevelCut m_bevelOuter = TBevelCut::Raised;
  TBevelCut m_bevelInner = TBevelCut::None;
  int m_bevelWidth = 1;
  int m_borderWidth = 0;
  QString m_caption2;
  bool m_autoHeight = false;
  int m_minWidth = 0;
};

}  // namespace zorpokaz
