// TMsgOkienko: the program's own message window and please-wait window. A
// dialog with a large bold message, pictures on both sides, a row of buttons,
// optional progress strips, and a confirmation mode in which the user types
// T, A, K (the word for yes) in order. The message routines of okienko.h show
// it modally; TWorkingDlg shows it modelessly with an animation.
//
// Units: pixels. The window owns all its parts; it is owned by whoever
// creates it (the routines free it when the modal call returns).
#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace zorpokaz {

class TMsgOkienko : public QDialog {
  Q_OBJECT

 public:
  // Results, with the values the system's modal windows use.
  enum TModalResult { mrNone = 0, mrOk = 1, mrCancel = 2, mrNo = 7, mrAll = 8 };
  // Kinds (low four bits of the kind argument of ShowMessageWindow).
  enum TKind { kindInfo = 1, kindError = 2, kindQuestion = 3, kindConfirm = 4, kindPlain = 5 };
  static constexpr int kAutoClose = 16;  // kind flag: press the first button after 3 s
  // Button set bits.
  enum TButtons {
    btnsOk = 2, btnsTak = 1, btnsPowtorz = 4, btnsNie = 8, btnsAnuluj = 16, btnsCofnij = 32,
    btnsWszystkie = 64
  };

  // owner: the window the message belongs to; none makes it stay on top.
  explicit TMsgOkienko(QWidget* owner);
  ~TMsgOkienko() override;

  // Pictures, colours and buttons for a kind (with flags) and a button set.
  void Setup(const QString& title, const QString& message, int kind, int buttons);
  // The message; a vertical tab anywhere in it is dropped and left-aligns it.
  void setMessage(const QString& message);

  // Parts the working window switches on and off.
  QLabel* lbl() const { return m_lbl; }
  QWidget* panPostep() const { return m_panPostep; }
  QLabel* lblPostep() const { return m_lblPostep; }
  QProgressBar* pbar() const { return m_pbar; }
  QWidget* panPostep2() const { return m_panPostep2; }
  QLabel* lblPostep2() const { return m_lblPostep2; }
  QWidget* panBtns() const { return m_panBtns; }
  QWidget* panTAK() const { return m_panTAK; }
  QPushButton* btnOk() const { return m_btnOk; }
  QPushButton* btnNo() const { return m_btnNo; }
  QPushButton* btnCancel() const { return m_btnCancel; }
  QPushButton* btnAll() const { return m_btnAll; }
  QPushButton* btnT() const { return m_btnT; }
  QPushButton* btnA() const { return m_btnA; }
  QPushButton* btnK() const { return m_btnK; }
  QTimer* TimerClose() const { return m_timerClose; }
  void setPicturesVisible(bool visible);
  void setAnimationVisible(bool visible);

  // Sizes the message and the window and places every part; call before showing.
  void Arrange();
  // Places the strips and side pictures in the current size.
  void PlaceParts();
  // Client height the working window needs: the message plus its strips.
  int WorkingHeight() const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void build();
  QWidget* buildButtonRow();
  QWidget* buildConfirmStrip();
  void buildCloseTimer();
  void typeLetter(QChar letter);
  void resetTak();
  void arrangeMessage();
  void arrangeButtons();
  void arrangeConfirm();
  void nextAnimationFrame();

  bool m_multiLine = false;
  bool m_picturesVisible = true;
  QWidget* m_panLewy = nullptr;
  QWidget* m_panPrawy = nullptr;
  QLabel* m_iqmark1 = nullptr;
  QLabel* m_iqmark2 = nullptr;
  QLabel* m_iexclam1 = nullptr;
  QLabel* m_iexclam2 = nullptr;
  QLabel* m_ani = nullptr;
  QTimer* m_aniTimer = nullptr;
  int m_aniFrame = 8;
  QLabel* m_lbl = nullptr;
  QWidget* m_panPostep = nullptr;
  QLabel* m_lblPostep = nullptr;
  QProgressBar* m_pbar = nullptr;
  QWidget* m_panPostep2 = nullptr;
  QLabel* m_lblPostep2 = nullptr;
  QWidget* m_panBtns = nullptr;
  QPushButton* m_btnAll = nullptr;
  QPushButton* m_btnOk = nullptr;
  QPushButton* m_btnNo = nullptr;
  QPushButton* m_btnCancel = nullptr;
  QWidget* m_panTAK = nullptr;
  QLabel* m_lblTAK = nullptr;
  QWidget* m_pTAK = nullptr;
  QPushButton* m_btnT = nullptr;
  QPushButton* m_btnA = nullptr;
  QPushButton* m_btnK = nullptr;
  QPushButton* m_btnN = nullptr;
  QTimer* m_timerClose = nullptr;
};

}  // namespace zorpokaz
