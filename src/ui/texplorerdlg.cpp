#include "ui/texplorerdlg.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStyle>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cmath>

#include "ui/okienko.h"
#include "ui/tabbeditemdelegate.h"
#include "ui/thintbar.h"
#include "util/bajery.h"
#include "util/uifont.h"

namespace zorpokaz {

namespace {

constexpr int kDesignWidth = 538;
// The left pane alone makes a 250-pixel dialog.
constexpr int kLeftWidth = 250;
constexpr int kOverlayWidth = 450;
constexpr int kOverlayHeight = 101;

// List items keep "relative path<TAB>description"; they sort ignoring case in
// the user's collation.
class TListItem : public QListWidgetItem {
 public:
  using QListWidgetItem::QListWidgetItem;
  bool operator<(const QListWidgetItem& other) const override {
    return QString::localeAwareCompare(text().toLower(), other.text().toLower()) < 0;
  }
};

// A folder with a magnifying glass circling over it.
QPixmap searchFrame(int frame) {
  QPixmap pm(48, 40);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(120, 90, 20), 1));
  p.setBrush(QColor(240, 200, 80));
  p.drawRect(QRectF(4.5, 12.5, 36, 24));
  p.drawRect(QRectF(4.5, 8.5, 14, 4));
  const double t = frame * 2 * M_PI / 12;
  const QPointF lens(22 + 10 * std::cos(t), 22 + 6 * std::sin(t));
  p.setPen(QPen(QColor(90, 60, 20), 3, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(lens + QPointF(5, 5), lens + QPointF(10, 10));
  p.setPen(QPen(Qt::black, 1.5));
  p.setBrush(QColor(255, 255, 255, 160));
  p.drawEllipse(lens, 6.5, 6.5);
  return pm;
}

QString placeholderText() { return {}; }

}  // namespace

TExplorerDlg::TExplorerDlg(QWidget* owner) : QDialog(owner) {
  if (!owner) setWindowFlag(Qt::WindowStaysOnTopHint);
  build();
  resize(kDesignWidth, 380);
  m_dirs.aDirectory = TFindMode::fmYes;
  m_dirs.aReadOnly = TFindMode::fmDontCare;
  m_dirs2.aDirectory = TFindMode::fmYes;
  m_dirs2.aReadOnly = TFindMode::fmDontCare;
  m_files.OnAddFile = [this](TFileObj& file, bool& accept, bool&) { filesAddFile(file, accept); };
}

TExplorerDlg::~TExplorerDlg() = default;

void TExplorerDlg::build() {
  auto* panels = new QHBoxLayout;
  panels->setContentsMargins(4, 4, 4, 4);
  panels->setSpacing(4);
  panels->addWidget(buildLeftPane());
  panels->addWidget(buildRightPane(), 1);
  m_hb = new THintBar(this);
  m_hb->setObjectName(QStringLiteral("hb"));
  m_hb->setTextAccept(QStringLiteral("Wybierz"));
  m_hb->setTextCancel(QStringLiteral("Zamknij"));
  m_hb->setBtnWidth(80);
  m_hb->setHelpButton(false);
  m_hb->OnAccept = [this](QObject*) { hbAccept(); };
  m_hb->OnCancel = [this](QObject*) { reject(); };
  auto* main = new QVBoxLayout(this);
  main->setContentsMargins(0, 0, 0, 0);
  main->setSpacing(0);
  main->addLayout(panels, 1);
  main->addWidget(m_hb);
  buildSearchOverlay();
  fillDriveBox();
}

QWidget* TExplorerDlg::buildLeftPane() {
  m_panLewy = new QWidget(this);
  m_panLewy->setObjectName(QStringLiteral("panLewy"));
  m_panLewy->setFixedWidth(kLeftWidth - 8);
  auto* driveLabel = new QLabel(QStringLiteral("Wybierz &dysk:"), m_panLewy);
  m_btnMapuj = new QPushButton(QStringLiteral("Sieć"), m_panLewy);
  m_btnMapuj->setToolTip(QStringLiteral("Mapowanie dysków sieciowych"));
  m_btnMapuj->setFixedWidth(50);
  m_drives = new QComboBox(m_panLewy);
  driveLabel->setBuddy(m_drives);
  auto* dirLabel = new QLabel(QStringLiteral(" Wybierz &katalog:"), m_panLewy);
  m_btnSzukaj = new QPushButton(QStringLiteral("&Szukaj"), m_panLewy);
  m_btnSzukaj->setToolTip(QStringLiteral("Szukanie odpowiednich plików w podkatalogach zaznaczonego katalogu"));
  m_btnSzukaj->hide();
  m_tree = new QTreeWidget(m_panLewy);
  dirLabel->setBuddy(m_tree);
  m_tree->setHeaderHidden(true);
  m_tree->setIconSize(QSize(13, 13));
  m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
  m_tree->setExpandsOnDoubleClick(false);
  // Long names scroll sideways instead of being cut short.
  m_tree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  m_tree->header()->setStretchLastSection(false);
  // The selected directory stays marked while the focus is elsewhere.
  QPalette treePalette = m_tree->palette();
  for (const auto role : {QPalette::Highlight, QPalette::HighlightedText})
    treePalette.setColor(QPalette::Inactive, role, treePalette.color(QPalette::Active, role));
  m_tree->setPalette(treePalette);
  m_tree->installEventFilter(this);

  auto* top = new QHBoxLayout;
  top->addWidget(driveLabel, 1);
  top->addWidget(m_btnMapuj);
  auto* mid = new QHBoxLayout;
  mid->addWidget(dirLabel, 1);
  mid->addWidget(m_btnSzukaj);
  auto* layout = new QVBoxLayout(m_panLewy);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addLayout(top);
  layout->addWidget(m_drives);
  layout->addLayout(mid);
  layout->addWidget(m_tree, 1);

  connect(m_drives, &QComboBox::currentIndexChanged, this, &TExplorerDlg::drivesChange);
  connect(m_btnMapuj, &QPushButton::clicked, this, &TExplorerDlg::btnMapujClick);
  connect(m_btnSzukaj, &QPushButton::clicked, this, &TExplorerDlg::btnSzukajClick);
  connect(m_tree, &QTreeWidget::itemExpanded, this, &TExplorerDlg::treeExpanding);
  connect(m_tree, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* node) {
    if (node == m_tree->topLevelItem(0)) m_tree->expandItem(node);  // the root stays open
  });
  connect(m_tree, &QTreeWidget::currentItemChanged, this, &TExplorerDlg::treeChange);
  connect(m_tree, &QTreeWidget::itemDoubleClicked, this, [this] {
    if (!m_wyborPliku) hbAccept();
  });
  return m_panLewy;
}

QWidget* TExplorerDlg::buildRightPane() {
  m_panPrawy = new QWidget(this);
  m_panPrawy->setObjectName(QStringLiteral("panPrawy"));
  m_lblPliki = new QLabel(m_panPrawy);
  m_lb = new QListWidget(m_panPrawy);
  m_lb->setSortingEnabled(true);
  m_lb->setFont(CellHeightFont(QStringLiteral("MS Sans Serif"), 16, false));
  m_tabs = new TabbedItemDelegate(0, m_lb);
  m_tabs->setTabDistance(m_tabStop);
  m_lb->setItemDelegate(m_tabs);
  m_lb->installEventFilter(this);
  m_lblPliki->setBuddy(m_lb);
  m_panImg = new QWidget(m_panPrawy);
  m_panImg->setMinimumHeight(30);
  m_panImg->resize(m_panImg->width(), 100);
  m_img = new QLabel(m_panImg);
  m_panImg->installEventFilter(this);
  m_splitter = new QSplitter(Qt::Vertical, m_panPrawy);
  m_splitter->addWidget(m_lb);
  m_splitter->addWidget(m_panImg);
  m_splitter->setStretchFactor(0, 1);
  auto* layout = new QVBoxLayout(m_panPrawy);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(m_lblPliki);
  layout->addWidget(m_splitter, 1);
  connect(m_lb, &QListWidget::itemDoubleClicked, this, &TExplorerDlg::hbAccept);
  connect(m_lb, &QListWidget::currentRowChanged, this, &TExplorerDlg::lbClick);
  return m_panPrawy;
}

void TExplorerDlg::buildSearchOverlay() {
  m_panSzukanie = new QFrame(this);
  m_panSzukanie->setObjectName(QStringLiteral("panSzukanie"));
  m_panSzukanie->setFrameStyle(QFrame::Panel | QFrame::Raised);
  m_panSzukanie->setLineWidth(2);
  m_panSzukanie->setAutoFillBackground(true);
  m_panSzukanie->setFixedSize(kOverlayWidth, kOverlayHeight);
  m_ani = new QLabel(m_panSzukanie);
  m_ani->setGeometry(8, 8, 48, 40);
  m_ani->setPixmap(searchFrame(0));
  m_aniTimer = new QTimer(this);
  m_aniTimer->setInterval(90);
  connect(m_aniTimer, &QTimer::timeout, this, [this] {
    m_aniFrame = (m_aniFrame + 1) % 12;
    m_ani->setPixmap(searchFrame(m_aniFrame));
  });
  auto* text = new QLabel(QStringLiteral("Czekaj cierpliwie...\nTrwa przeszukiwanie katalogów:"), m_panSzukanie);
  text->setGeometry(64, 6, 280, 34);
  m_lblSzukKat = new QLabel(m_panSzukanie);
  m_lblSzukKat->setGeometry(64, 42, kOverlayWidth - 72, 18);
  m_btnPrzerwij = new QPushButton(QStringLiteral("Przerwij"), m_panSzukanie);
  m_btnPrzerwij->setGeometry(kOverlayWidth - 96, 10, 84, 26);
  m_btnPrzerwij->setCursor(Qt::PointingHandCursor);
  connect(m_btnPrzerwij, &QPushButton::clicked, this, [this] { m_stopRequested = true; });
  m_pbSzukanie = new QProgressBar(m_panSzukanie);
  m_pbSzukanie->setGeometry(8, 68, kOverlayWidth - 16, 20);
  m_pbSzukanie->setRange(0, 100);
  m_panSzukanie->hide();
}

void TExplorerDlg::Setup(const TExplorer& e) {
  setWindowTitle(e.Caption);
  if (e.PlikiWidoczne()) m_hb->ShowHintText(e.Hint);
  m_onSprawdzKatalog = e.OnSprawdzKatalog;
  m_onDodajPlik = e.OnDodajPlik;
  m_wyborPliku = e.WyborPliku();
  m_wyborKatalogu = e.WyborKatalogu();
  m_plikiWidoczne = e.PlikiWidoczne();
  m_podgladWidoczny = e.PodgladWidoczny();
  m_files.Mask = e.Filtr;
  m_tabStop = e.SzerPlikow - e.SzerOpisow;
  m_tabs->setTabDistance(m_tabStop);

  m_btnSzukaj->setVisible(e.Szukanie());
  m_lb->setEnabled(m_wyborPliku);
  QPalette pal = m_lb->palette();
  pal.setColor(QPalette::Base, palette().color(m_wyborPliku ? QPalette::Base : QPalette::Button));
  m_lb->setPalette(pal);
  m_lb->setSelectionMode(e.MultiWybor() ? QAbstractItemView::ExtendedSelection
                                        : QAbstractItemView::SingleSelection);
  m_lblPliki->setText(!m_wyborPliku      ? QStringLiteral(" Lista plików w katalogu:")
                      : e.MultiWybor() ? QStringLiteral(" &Zaznacz pliki:")
                                       : QStringLiteral(" &Zaznacz plik:"));
  int width = e.SzerPlikow + 274;
  if (!m_wyborKatalogu) {
    m_panLewy->hide();
    width = e.SzerPlikow + 24;
  } else if (!m_plikiWidoczne) {
    m_panPrawy->hide();
    width = 250;
  }
  m_panImg->setVisible(m_podgladWidoczny);
  resize(width, e.Wysokosc());
  NavigateTo(e.Katalog);
}

QString TExplorerDlg::pathOf(const QTreeWidgetItem* node) const {
  QString path;
  for (; node && node->parent(); node = node->parent()) path = node->text(0) + QLatin1Char('/') + path;
  return node ? node->text(0) + path : QString();
}

QString TExplorerDlg::SelectedDir() const { return pathOf(m_tree->currentItem()); }

QString TExplorerDlg::ChosenFile() const {
  const QListWidgetItem* item = m_lb->currentItem();
  if (!item || !item->isSelected()) {
    const auto selected = m_lb->selectedItems();
    item = selected.isEmpty() ? nullptr : selected.first();
  }
  if (!item) return {};
  return SelectedDir() + item->text().section(QLatin1Char('\t'), 0, 0);
}

QStringList TExplorerDlg::SelectedFiles() const {
  QStringList files;
  const QString dir = SelectedDir();
  for (int row = 0; row < m_lb->count(); ++row)
    if (m_lb->item(row)->isSelected()) files << dir + m_lb->item(row)->text().section(QLatin1Char('\t'), 0, 0);
  return files;
}

void TExplorerDlg::fillDriveBox() {
  m_driveList = ListDrives();
  showDrives();
}

void TExplorerDlg::setDriveList(const QList<TDrive>& drives) {
  m_driveList = drives;
  showDrives();
}

void TExplorerDlg::showDrives() {
  const QSignalBlocker block(m_drives);
  const QString root = m_tree->topLevelItemCount() ? m_tree->topLevelItem(0)->text(0) : QString();
  m_drives->clear();
  for (const TDrive& d : m_driveList) m_drives->addItem(d.caption, d.root);
  m_drives->setCurrentIndex(root.isEmpty() ? -1 : m_drives->findData(root));
}

void TExplorerDlg::NavigateTo(const QString& start) {
  QString dir = start;
  if (dir.isEmpty() || dir.startsWith(QStringLiteral("//")) || !QFileInfo(dir).isDir())
    dir = QStringLiteral("/");
  dir = QDir::cleanPath(QFileInfo(dir).absoluteFilePath());
  if (!dir.endsWith(QLatin1Char('/'))) dir += QLatin1Char('/');
  const int drive = std::max(DriveOf(m_driveList, dir), 0);
  if (m_drives->currentIndex() != drive)
    m_drives->setCurrentIndex(drive);  // builds the tree of that drive
  else
    drivesChange(drive);
  QTreeWidgetItem* node = m_tree->topLevelItem(0);
  if (!node || !dir.startsWith(node->text(0))) return;
  for (const QString& part : dir.mid(node->text(0).size()).split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
    m_tree->expandItem(node);
    QTreeWidgetItem* next = nullptr;
    for (int i = 0; i < node->childCount() && !next; ++i)
      if (node->child(i)->text(0) == part) next = node->child(i);
    if (!next) break;
    node = next;
    m_tree->setCurrentItem(node);
  }
  m_tree->scrollToItem(node);
}

void TExplorerDlg::drivesChange(int index) {
  if (index < 0 || index >= m_driveList.size()) return;
  const QString root = m_driveList[index].root;
  if (m_tree->topLevelItemCount() && m_tree->topLevelItem(0)->text(0) == root) return;
  QString name = root;
  if (name.size() > 1) name.chop(1);
  while (!QFileInfo(root).isDir()) {
    if (AskRetryCancel(QStringLiteral("Błąd"), QStringLiteral("Błąd przy odczycie dysku ") + name + QLatin1Char(':')))
      continue;
    const QSignalBlocker block(m_drives);
    m_drives->setCurrentIndex(SelectedDir().isEmpty() ? -1 : DriveOf(m_driveList, SelectedDir()));
    return;
  }
  {
    const QSignalBlocker block(m_tree);
    m_tree->clear();
  }
  auto* rootNode = new QTreeWidgetItem(m_tree, {root});
  new QTreeWidgetItem(rootNode, {placeholderText()});
  m_tree->setCurrentItem(rootNode);
  m_tree->expandItem(rootNode);
}

bool TExplorerDlg::hasSubdirectories(const QString& dir) {
  m_dirs2.Directory = dir;
  m_dirs2.OnAddFile = [](TFileObj&, bool& accept, bool& stop) {
    accept = false;
    stop = true;
  };
  try {
    m_dirs2.Execute();
  } catch (const EAbort&) {
    return true;
  } catch (const std::exception&) {
  }
  return false;
}

void TExplorerDlg::treeExpanding(QTreeWidgetItem* node) {
  if (node->childCount() > 0 && !node->child(0)->text(0).isEmpty()) return;
  SetBusy(true);
  m_tree->setUpdatesEnabled(false);
  qDeleteAll(node->takeChildren());
  const QString dir = pathOf(node);
  m_dirs.Directory = dir;
  try {
    m_dirs.Execute();
    m_dirs.FoundFiles.sort(TFileList::skPathNoCase);
  } catch (const std::exception&) {
  }
  for (const auto& found : m_dirs.FoundFiles) {
    auto* child = new QTreeWidgetItem(node, {found->fileName()});
    child->setIcon(0, style()->standardIcon(QStyle::SP_DirClosedIcon));
    if (hasSubdirectories(dir + found->fileName() + QLatin1Char('/')))
      new QTreeWidgetItem(child, {placeholderText()});
  }
  m_dirs.FoundFiles.clear();
  m_tree->setUpdatesEnabled(true);
  SetBusy(false);
}

void TExplorerDlg::treeChange(QTreeWidgetItem* current, QTreeWidgetItem* previous) {
  if (previous) previous->setIcon(0, style()->standardIcon(QStyle::SP_DirClosedIcon));
  if (current) current->setIcon(0, style()->standardIcon(QStyle::SP_DirOpenIcon));
  // A placeholder stands for children not read yet; it names no directory.
  if (!m_plikiWidoczne || !current || (current->parent() && current->text(0).isEmpty())) return;
  SetBusy(true);
  fillList(false);
  SetBusy(false);
  selectFirstOrNone();
}

bool TExplorerDlg::fillList(bool recurse) {
  m_lb->clear();
  m_files.Directory = SelectedDir();
  m_files.Recurse = recurse;
  m_files.OnProgress = nullptr;
  if (recurse)
    m_files.OnProgress = [this](int progress, const QString& dir, bool& stop) { filesProgress(progress, dir, stop); };
  struct Clear {
    TFileList& list;
    ~Clear() { list.clear(); }
  } clear{m_files.FoundFiles};
  try {
    m_files.Execute();  // a stop request leaves as EAbort, keeping what was found
  } catch (const EFindFilesError&) {
    ShowError(QStringLiteral("Błąd !"), QStringLiteral("Brak dostępu do katalogu: \r") + m_files.Directory);
    return false;
  }
  return true;
}

void TExplorerDlg::filesAddFile(TFileObj& file, bool& accept) {
  QString description;
  if (m_onDodajPlik) m_onDodajPlik(file.fullPath(), description, accept);
  if (accept) m_lb->addItem(new TListItem(file.relPath() + QLatin1Char('\t') + description));
}

void TExplorerDlg::filesProgress(int progress, const QString& dir, bool& stop) {
  m_pbSzukanie->setValue(progress);
  m_lblSzukKat->setText(dir);
  HandleOneMessage();
  if (m_stopRequested) stop = true;
}

void TExplorerDlg::btnSzukajClick() {
  if (m_searching) return;
  m_searching = true;
  m_stopRequested = false;
  m_panLewy->setEnabled(false);
  m_panPrawy->setEnabled(false);
  SetBusy(true, true);
  m_panSzukanie->move((width() - kOverlayWidth) / 2, (height() - kOverlayHeight) / 2);
  m_pbSzukanie->setValue(0);
  m_lblSzukKat->clear();
  m_aniTimer->start();
  m_panSzukanie->show();
  m_panSzukanie->raise();
  m_btnPrzerwij->setFocus();
  bool completed = false, entered = false;
  try {
    entered = fillList(true);
    completed = entered;
  } catch (const EAbort&) {
  }
  m_panSzukanie->hide();
  m_aniTimer->stop();
  SetBusy(false);
  m_panLewy->setEnabled(true);
  m_panPrawy->setEnabled(true);
  m_searching = false;
  if (completed && m_lb->count() == 0)
    ShowError(QStringLiteral("Nie znaleziono"),
              QStringLiteral("Nie znalazłem w tym katalogu i jego podkatalogach żadnego pliku"));
  if (completed) selectFirstOrNone();
}

void TExplorerDlg::btnMapujClick() {
  // Network shares are connected by the system (mount, or the desktop's file
  // manager); this looks for the ones that appeared since the box was filled.
  fillDriveBox();
}

void TExplorerDlg::selectFirstOrNone() {
  if (m_wyborPliku && m_lb->count() > 0) {
    m_lb->setCurrentRow(0);
  } else {
    m_lb->setCurrentRow(-1);
    m_lb->clearSelection();
  }
  lbClick();
}

void TExplorerDlg::lbClick() {
  if (!m_podgladWidoczny) return;
  SetBusy(true);
  m_picture = QPixmap();
  if (m_lb->currentItem() && m_lb->currentItem()->isSelected()) m_picture.load(ChosenFile());
  fitPicture();
  SetBusy(false);
}

void TExplorerDlg::fitPicture() {
  if (m_picture.isNull() || m_picture.width() <= 0 || m_picture.height() <= 0) {
    m_img->clear();
    return;
  }
  const QSize room = m_panImg->size() - QSize(2, 2);
  const QPixmap scaled = m_picture.scaled(room.expandedTo(QSize(1, 1)), Qt::KeepAspectRatio, Qt::SmoothTransformation);
  m_img->setPixmap(scaled);
  m_img->setGeometry((m_panImg->width() - scaled.width()) / 2, (m_panImg->height() - scaled.height()) / 2,
                     scaled.width(), scaled.height());
}

void TExplorerDlg::hbAccept() {
  if (m_searching) return;
  if (!m_wyborPliku) {
    bool mozeByc = true;
    if (m_onSprawdzKatalog) m_onSprawdzKatalog(SelectedDir(), mozeByc);
    if (mozeByc) accept();
    return;
  }
  if (m_lb->count() > 0 && !m_lb->selectedItems().isEmpty()) {
    accept();
    return;
  }
  ShowError(QStringLiteral("Wybierz plik"), QStringLiteral("Nie zaznaczono żadnego pliku !"));
}

void TExplorerDlg::reject() {
  // Closing in the middle of a search would pull the list from under the
  // finder; it is a stop request instead.
  if (m_searching) {
    m_stopRequested = true;
    return;
  }
  QDialog::reject();
}

bool TExplorerDlg::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_panImg && event->type() == QEvent::Resize) {
    fitPicture();
  } else if (event->type() == QEvent::KeyPress && (watched == m_tree || watched == m_lb)) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (enter && key->modifiers() == Qt::NoModifier) {
      if (watched == m_tree && m_wyborPliku)
        SafeSetFocus(m_lb);
      else
        hbAccept();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace zorpokaz
