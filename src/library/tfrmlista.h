// TFrmLista: the viewer's main window, the printout library. Lists the
// printouts lying directly in the library directory (by name or by date) and
// opens, renames, adds and deletes them; at start-up it acts on the first
// command-line argument: a printout path (copy it into the library, or show
// it at once and end) or TEMP (the package launcher's view-only mode).
//
// Every item is "name<TAB>yyyy-mm-dd hh:mm"; the item also keeps the file it
// stands for, so a printout is always the file that was listed. Units:
// pixels. The window owns its controls; preview windows are created, shown
// modally and freed by it.
#pragma once

#include "core/program.h"

#include <QString>
#include <QWidget>

#include <exception>

class QFrame;
class QListWidget;
class QListWidgetItem;
class QRadioButton;

namespace zorpokaz {

class TabbedItemDelegate;
class THintBar;
class TWorkingDlg;
class TZorBtn;

class TFrmLista : public QWidget {
  Q_OBJECT

 public:
  // argument: the program's first command-line argument (empty when none).
  // libraryDir: the printout library, ending with "/".
  explicit TFrmLista(const QString& argument, const QString& libraryDir = ProgramDir(),
                     QWidget* parent = nullptr);
  ~TFrmLista() override;

  bool TempMode() const { return m_tempMode; }
  const QString& CopyOnStart() const { return m_copyOnStart; }
  const QString& OpenOnStart() const { return m_openOnStart; }
  const QString& LibraryDir() const { return m_dir; }

  void Refresh();
  void OpenSelected();
  void RenameSelected();
  void AddPrintouts();
  void DeleteSelected();

  // The selected printout's name (item text up to the first TAB); empty when
  // nothing is selected.
  QString SelectedName() const;
  // The list's tab width in quarters of the list font's average character width.
  int TabWidth() const { return m_tabWidth; }

  THintBar* hb() const { return m_hb; }
  QWidget* pIkonki() const { return m_pIkonki; }
  TZorBtn* btnPopraw() const { return m_btnPopraw; }
  TZorBtn* btnDodaj() const { return m_btnDodaj; }
  TZorBtn* btnUsun() const { return m_btnUsun; }
  QRadioButton* rbWgNazw() const { return m_rbWgNazw; }
  QRadioButton* rbWgDat() const { return m_rbWgDat; }
  QListWidget* lista() const { return m_lista; }
  TWorkingDlg* WorkingDlg() const { return m_workingDlg; }

  static const QString kCaption;

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void buildLayout();
  void buildButtonPanel();
  void buildList();
  void buildHintBar();
  void watchKeys(QWidget* root);
  bool handleKey(int key);
  void handleStartArgument(const QString& argument);
  void queueActivation();
  void activated();
  void showOnStart();
  void sortClick();
  void copyOnStart(QString& selectFile);
  void fillList(const QString& selectFile);
  void afterFill();
  QString selectedFile() const;
  QString selectedPath() const;
  bool askNewName(QString& text);
  void help();
  void reportRefreshError(const std::exception& error);

  QString m_dir;
  bool m_tempMode = false;
  QString m_copyOnStart;
  QString m_openOnStart;
  bool m_activatePending = false;
  bool m_refreshing = false;
  bool m_inPreview = false;
  bool m_shown = false;
  QString m_lastRefreshError;
  int m_tabWidth = 0;

  THintBar* m_hb = nullptr;
  QWidget* m_pIkonki = nullptr;
  TZorBtn* m_btnPopraw = nullptr;
  TZorBtn* m_btnDodaj = nullptr;
  TZorBtn* m_btnUsun = nullptr;
  QFrame* m_bevel1 = nullptr;
  QRadioButton* m_rbWgNazw = nullptr;
  QRadioButton* m_rbWgDat = nullptr;
  QFrame* m_pLista = nullptr;
  QListWidget* m_lista = nullptr;
  TabbedItemDelegate* m_delegate = nullptr;
  TWorkingDlg* m_workingDlg = nullptr;
};

}  // namespace zorpokaz
