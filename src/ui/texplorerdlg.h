// TExplorerDlg: the modal window behind TExplorer. Left pane: the drive box
// (with "Sieć", which looks for newly mounted network file systems), the
// lazily filled directory tree and "&Szukaj"; right pane: the sorted list of
// matching files of the selected directory (or of its whole sub-tree after a
// search) with their descriptions, and an optional picture preview; at the
// bottom the hint bar. A search shows an overlay with progress and
// "Przerwij" and keeps the window alive by pumping events from the finder.
//
// Units: pixels. Directories end with "/". The dialog owns its widgets and
// its three finders; it lives for one Execute of its component.
#pragma once

#include <QDialog>
#include <QList>
#include <QPixmap>

#include "ui/drivelist.h"
#include "ui/texplorer.h"
#include "ui/tfindfiles.h"

class QComboBox;
class QFrame;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QSplitter;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;

namespace zorpokaz {

class TabbedItemDelegate;
class THintBar;

class TExplorerDlg : public QDialog {
  Q_OBJECT

 public:
  explicit TExplorerDlg(QWidget* owner);
  ~TExplorerDlg() override;

  // Takes over the component's settings and moves to its Katalog.
  void Setup(const TExplorer& explorer);
  // Selects the drive of `dir` and walks the tree down to it, as far as the
  // directories exist.
  void NavigateTo(const QString& dir);

  // The selected tree node's path; empty when nothing is selected.
  QString SelectedDir() const;
  // Selected directory + the current item's relative path.
  QString ChosenFile() const;
  // Every selected item's full path, in list order.
  QStringList SelectedFiles() const;

  const QList<TDrive>& DriveList() const { return m_driveList; }
  // Replaces what the drive box offers without a drive change (the system's
  // list is read when the dialog is made and by "Sieć").
  void setDriveList(const QList<TDrive>& drives);
  bool Searching() const { return m_searching; }

  QComboBox* drives() const { return m_drives; }
  QTreeWidget* tree() const { return m_tree; }
  QListWidget* lb() const { return m_lb; }
  QLabel* lblPliki() const { return m_lblPliki; }
  QPushButton* btnSzukaj() const { return m_btnSzukaj; }
  QPushButton* btnMapuj() const { return m_btnMapuj; }
  QPushButton* btnPrzerwij() const { return m_btnPrzerwij; }
  QFrame* panSzukanie() const { return m_panSzukanie; }
  QLabel* lblSzukKat() const { return m_lblSzukKat; }
  QProgressBar* pbSzukanie() const { return m_pbSzukanie; }
  QWidget* panLewy() const { return m_panLewy; }
  QWidget* panPrawy() const { return m_panPrawy; }
  QWidget* panImg() const { return m_panImg; }
  QLabel* img() const { return m_img; }
  THintBar* hb() const { return m_hb; }

 public Q_SLOTS:
  void reject() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void build();
  QWidget* buildLeftPane();
  QWidget* buildRightPane();
  void buildSearchOverlay();
  void fillDriveBox();
  void showDrives();
  void drivesChange(int index);
  void treeExpanding(QTreeWidgetItem* node);
  void treeChange(QTreeWidgetItem* current, QTreeWidgetItem* previous);
  bool hasSubdirectories(const QString& dir);
  QString pathOf(const QTreeWidgetItem* node) const;
  // False when the directory could not be entered (after saying so).
  bool fillList(bool recurse);
  void filesAddFile(TFileObj& file, bool& accept);
  void filesProgress(int progress, const QString& dir, bool& stop);
  void btnSzukajClick();
  void btnMapujClick();
  void selectFirstOrNone();
  void lbClick();
  void fitPicture();
  void hbAccept();

  QWidget* m_panLewy = nullptr;
  QWidget* m_panPrawy = nullptr;
  QComboBox* m_drives = nullptr;
  QPushButton* m_btnMapuj = nullptr;
  QPushButton* m_btnSzukaj = nullptr;
  QTreeWidget* m_tree = nullptr;
  QLabel* m_lblPliki = nullptr;
  QListWidget* m_lb = nullptr;
  QSplitter* m_splitter = nullptr;
  QWidget* m_panImg = nullptr;
  QLabel* m_img = nullptr;
  THintBar* m_hb = nullptr;
  QFrame* m_panSzukanie = nullptr;
  QLabel* m_ani = nullptr;
  QTimer* m_aniTimer = nullptr;
  int m_aniFrame = 0;
  QLabel* m_lblSzukKat = nullptr;
  QPushButton* m_btnPrzerwij = nullptr;
  QProgressBar* m_pbSzukanie = nullptr;

  TFindFiles m_files;
  TFindFiles m_dirs;
  TFindFiles m_dirs2;
  QList<TDrive> m_driveList;
  QPixmap m_picture;

  bool m_wyborPliku = false;
  bool m_wyborKatalogu = true;
  bool m_plikiWidoczne = false;
  bool m_podgladWidoczny = false;
  int m_tabStop = 400;
  TabbedItemDelegate* m_tabs = nullptr;  // owned by m_lb
  TExplorer::TExplorerSprawdzKat m_onSprawdzKatalog;
  TExplorer::TExplorerDodajPlik m_onDodajPlik;
  bool m_searching = false;
  bool m_stopRequested = false;
};

}  // namespace zorpokaz
