// THintBar: the black strip along the bottom of a window. Help button on the
// left, Accept and Cancel on the right, and between them a left text, a
// centred status/error message and a right text. Enter, Esc and F1 pressed on
// the bar become its Accept, Cancel and Help actions.
//
// Units: pixels. The bar owns its three buttons. L and R are the edges of the
// free text area between the buttons, recomputed by every layout.
#pragma once

#include <QString>
#include <QWidget>

#include <functional>

class QToolButton;

namespace zorpokaz {

class THintBar : public QWidget {
  Q_OBJECT

 public:
  // Sender: the button clicked, or the bar for a key pressed on it.
  using Handler = std::function<void(QObject* sender)>;

  explicit THintBar(QWidget* parent = nullptr);

  int BtnWidth() const { return m_btnWidth; }
  void setBtnWidth(int width);
  bool Active() const { return m_active; }
  void setActive(bool active);
  bool HelpButton() const { return m_helpButton; }
  void setHelpButton(bool show);

  // Captions of the Accept and Cancel buttons; empty hides the button.
  QString TextAccept() const;
  void setTextAccept(const QString& text);
  QString TextCancel() const;
  void setTextCancel(const QString& text);

  const QString& TextLeft() const { return m_textLeft; }
  void setTextLeft(const QString& text);
  const QString& TextCenter() const { return m_textCenter; }
  void setTextCenter(const QString& text);
  const QString& TextRight() const { return m_textRight; }
  void setTextRight(const QString& text);
  bool ErrorState() const { return m_errorState; }
  void setErrorState(bool error);

  QString HelpHint() const;
  void setHelpHint(const QString& hint);
  QString AcceptHint() const;
  void setAcceptHint(const QString& hint);
  QString CancelHint() const;
  void setCancelHint(const QString& hint);

  // The centred message in its normal colour.
  void ShowHintText(const QString& text);
  // The left text, painted at once: for windows busy outside the event loop.
  void ShowLeftText(const QString& text);

  int TextAreaLeft() const { return m_l; }
  int TextAreaRight() const { return m_r; }
  QToolButton* AcceptButton() const { return m_accept; }
  QToolButton* CancelButton() const { return m_cancel; }
  QToolButton* HelpButtonWidget() const { return m_help; }

  Handler OnAccept;
  Handler OnCancel;
  std::function<void()> OnHelp;

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void layoutButtons();
  void setText(QString& field, const QString& text);
  void repaintTextArea();
  QColor barColor() const;

  int m_btnWidth = 75;
  bool m_active = true;
  bool m_helpButton = true;
  QString m_textLeft;
  QString m_textCenter;
  QString m_textRight;
  bool m_errorState = false;
  int m_l = 0;
  int m_r = 0;
  QToolButton* m_help;
  QToolButton* m_accept;
  QToolButton* m_cancel;
};

}  // namespace zorpokaz
