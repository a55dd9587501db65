// TZorBtn: the program's own push button. Its usual look is a small coloured
// key-cap picture ("F2", "F7", "Enter"...) with a description under or beside
// it, so every button shows the key that does the same; it can show a picture
// of its own instead, stay down as a latched mode button, and turns hot under
// the pointer. A click is a press and a release on the button.
//
// Units: pixels. The key-cap pictures are drawn once per process and shared by
// every button; each button owns only its own picture (Ikonka).
#pragma once

#include <QColor>
#include <QPixmap>
#include <QString>
#include <QWidget>

#include <functional>

namespace zorpokaz {

enum class TZorBtnTyp {
  sbA, sbB, sbC, sbD, sbE, sbF, sbG, sbH, sbI, sbJ, sbK, sbL, sbM, sbN, sbO, sbP,
  sbR, sbS, sbT, sbU, sbW, sbZ,
  sbF1, sbF2, sbF3, sbF4, sbF5, sbF6, sbF7, sbF8, sbF9, sbF10, sbF11, sbF12,
  sbBackspace, sbEnter, sbPlus, sbMinus, sbTab, sbGwiazdka, sbAltBkspc, sb1, sbPusty,
  sbWlasny, sbSlash,
};

class TZorBtn : public QWidget {
  Q_OBJECT

 public:
  enum class Arrangement { Stacked, Horizontal, Vertical };
  using Notify = std::function<void(TZorBtn& sender)>;
  using PaintHook = std::function<void(TZorBtn& sender, QPainter& canvas, const QRect& rect)>;

  explicit TZorBtn(QWidget* parent = nullptr);

  TZorBtnTyp Typ() const { return m_typ; }
  void setTyp(TZorBtnTyp typ);
  int Kolor() const { return m_kolor; }
  void setKolor(int kolor);  // clamped into 0..4
  const QString& Opis() const { return m_opis; }
  void setOpis(const QString& opis);
  int Margines() const { return m_margines; }
  void setMargines(int margin);
  QColor ColorDown() const { return m_colorDown; }
  void setColorDown(const QColor& color);
  bool Down() const { return m_down; }
  void setDown(bool down);
  // Left half: the enabled image, right half: the disabled one; the colour of
  // the top-left pixel is transparent.
  const QPixmap& Ikonka() const { return m_ikonka; }
  void setIkonka(const QPixmap& picture);
  bool ShowFrame() const { return m_showFrame; }
  void setShowFrame(bool show);

  bool Hot() const { return m_hot; }
  bool Pressed() const { return m_pressed; }

  // Runs OnClick, then drops the hot and pressed looks.
  void Click();

  // How a button of this size arranges picture and text.
  static Arrangement ArrangementFor(QSize size);
  Arrangement arrangement() const { return ArrangementFor(size()); }
  QSize sizeHint() const override { return {40, 33}; }

  Notify OnClick;
  Notify OnMouseDown;
  Notify OnMouseUp;
  Notify OnMouseEnter;
  Notify OnMouseLeave;
  PaintHook OnPaint;

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  void setHot(bool hot);
  QSize pictureSize() const;
  QPoint picturePos(QSize picture, bool pressedLook) const;
  void drawPicture(QPainter& p, QPoint at) const;
  void drawText(QPainter& p, QSize picture, bool pressedLook) const;
  void drawEdge(QPainter& p, bool pressedLook) const;
  void grabAccelerator();

  TZorBtnTyp m_typ = TZorBtnTyp::sbWlasny;
  int m_kolor = 0;
  QString m_opis;
  int m_margines = 2;
  QColor m_colorDown;
  bool m_down = false;
  QPixmap m_ikonka;
  bool m_showFrame = true;
  bool m_hot = false;
  bool m_pressed = false;
  int m_shortcutId = 0;
};

}  // namespace zorpokaz
