// The launcher's one window: a choice between looking at the package's
// printouts without installing anything and installing (or updating) the
// viewer with the printouts next to it, then "&Dalej". Positions are client
// pixels of a 492 × 233 client area, as the window was drawn for.
#pragma once

#include <QDialog>
#include <functional>

#include "launcher/launcherstate.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace zorpokaz::paczka {

class LauncherUi;

class LauncherWindow : public QDialog {
  Q_OBJECT

 public:
  // `state` comes from the start-up checks; `tempDir` receives the scratch
  // directory of the view choice. Messages go through `ui`.
  LauncherWindow(const LauncherState& state, const QString& tempDir, LauncherUi& ui);

  // Installing the viewer needs root; tests put another answer in.
  void SetAdminCheck(std::function<bool()> isAdmin) { m_isAdmin = std::move(isAdmin); }

  // The choice made with the window as it stands. True when it succeeded and
  // the window is closing; after a stop the window stays for another choice.
  bool Proceed();

  const LauncherState& State() const { return m_state; }
  QRadioButton* ViewOption() const { return m_viewOption; }
  QRadioButton* InstallOption() const { return m_installOption; }
  QLabel* ViewText() const { return m_viewText; }
  QLabel* InstallText() const { return m_installText; }
  QLineEdit* DirectoryEdit() const { return m_dirEdit; }
  QPushButton* HelpButton() const { return m_helpButton; }
  QPushButton* NextButton() const { return m_nextButton; }
  QPushButton* CloseButton() const { return m_closeButton; }

  static QString Title(const LauncherState& state);

 Q_SIGNALS:
  void Closed();

 public Q_SLOTS:
  void reject() override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool focusNextPrevChild(bool next) override;

 private:
  void createControls();
  void createButtons(const QFont& bold);
  void applyState();
  QList<QWidget*> tabOrder() const;
  bool proceedView();
  bool proceedInstall();
  void reportStartFailure(const QString& text, const QString& why);

  LauncherState m_state;
  QString m_tempDir;
  LauncherUi& m_ui;
  std::function<bool()> m_isAdmin;

  QGroupBox* m_frame = nullptr;
  QRadioButton* m_viewOption = nullptr;
  QLabel* m_viewText = nullptr;
  QRadioButton* m_installOption = nullptr;
  QLabel* m_installText = nullptr;
  QLabel* m_dirLabel = nullptr;
  QLineEdit* m_dirEdit = nullptr;
  QPushButton* m_helpButton = nullptr;
  QPushButton* m_nextButton = nullptr;
  QPushButton* m_closeButton = nullptr;
};

}  // namespace zorpokaz::paczka
