// TWorkingDlg: the please-wait window of a long operation. A component the
// owning window keeps; Open shows a TMsgOkienko without buttons, with the
// searching animation and optional progress strips, modelessly and without
// taking the keyboard from the user's window. The operation reports progress
// through it and keeps the event loop running itself.
//
// Owns at most one open window; destroying the component closes it.
#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QWidget;

namespace zorpokaz {

class TMsgOkienko;

class TWorkingDlg : public QObject {
  Q_OBJECT

 public:
  // owner: the window the please-wait window is centred over.
  explicit TWorkingDlg(QWidget* owner);
  ~TWorkingDlg() override;

  QString Caption = QStringLiteral(" Zaczekaj chwilę...");
  QString Tekst;
  bool JestPostepLbl = false;
  bool JestPostepLbl2 = false;
  bool JestPostepBar = false;
  bool ScreenCenter = false;
  // When positive the bar runs over 0..ZipAllSize32k instead of 0..100.
  int ZipAllSize32k = 0;

  int ProgressMax() const { return m_progressMax; }
  // While a window is open this also resets the bar's range to 0..100.
  void setProgressMax(int max);

  void Open();
  void OpenWithText(const QString& text, bool showLabel, bool showBar);
  // The label shows one space, the text and two spaces.
  void SetProgressText(const QString& text);
  // Bar position := value / ProgressMax x 100, truncated.
  void SetProgress(int value);
  // One more unit of the underlying value.
  void StepProgress();
  void CloseWindow();

  TMsgOkienko* Window() const { return m_window.get(); }

 private:
  QWidget* m_owner;
  int m_progressMax = 100;
  std::unique_ptr<TMsgOkienko> m_window;
};

}  // namespace zorpokaz
