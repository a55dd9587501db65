// The explorer component and its dialog with real widgets: flag rules, start
// directory, lazy tree, file list with descriptions, recursive search with
// stop, confirmation rules and the result lists.
#include "ui/texplorer.h"

#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "support/modalscript.h"
#include "ui/drivelist.h"
#include "ui/texplorerdlg.h"
#include "ui/thintbar.h"
#include "ui/tmsgokienko.h"

namespace zorpokaz {
namespace {

using fixtures::ModalScript;

void touch(const QString& path) {
  QDir().mkpath(QFileInfo(path).path());
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

QStringList items(QListWidget* lb) {
  QStringList out;
  for (int i = 0; i < lb->count(); ++i) out << lb->item(i)->text();
  return out;
}

TEST(Explorer, SettersKeepTheFlagsConsistent) {
  struct Flags {
    bool wyborPliku, wyborKatalogu, plikiWidoczne, podglad, szukanie;
  };
  const struct {
    const char* what;
    std::function<void(TExplorer&)> set;
    Flags expected;
  } cases[] = {
      {"defaults", [](TExplorer&) {}, {false, true, false, false, false}},
      {"WyborPliku on", [](TExplorer& e) { e.setWyborPliku(true); }, {true, true, true, false, false}},
      {"WyborPliku off", [](TExplorer& e) { e.setWyborKatalogu(false); e.setWyborPliku(false); },
       {false, true, true, false, false}},
      {"WyborKatalogu off", [](TExplorer& e) { e.setSzukanie(true); e.setWyborKatalogu(false); },
       {true, false, true, false, false}},
      {"PlikiWidoczne off",
       [](TExplorer& e) {
         e.setPodgladWidoczny(true);
         e.setSzukanie(true);
         e.setPlikiWidoczne(false);
       },
       {false, true, false, false, false}},
      {"PodgladWidoczny on", [](TExplorer& e) { e.setPodgladWidoczny(true); }, {true, true, true, true, false}},
      {"Szukanie on", [](TExplorer& e) { e.setSzukanie(true); }, {false, true, true, false, true}},
  };
  for (const auto& c : cases) {
    TExplorer e;
    c.set(e);
    EXPECT_EQ(e.WyborPliku(), c.expected.wyborPliku) << c.what;
    EXPECT_EQ(e.WyborKatalogu(), c.expected.wyborKatalogu) << c.what;
    EXPECT_EQ(e.PlikiWidoczne(), c.expected.plikiWidoczne) << c.what;
    EXPECT_EQ(e.PodgladWidoczny(), c.expected.podglad) << c.what;
    EXPECT_EQ(e.Szukanie(), c.expected.szukanie) << c.what;
  }
  TExplorer e;
  e.setWysokosc(40);
  EXPECT_EQ(e.Wysokosc(), 100);
}

TEST(Explorer, DriveList) {
  const QString mounts =
      "/dev/sda1 / ext4 rw 0 0\n"
      "proc /proc proc rw 0 0\n"
      "/dev/sdb1 /media/jan/PENDRIVE vfat rw 0 0\n"
      "//serwer/dane /srv/dane\\040firmy cifs rw 0 0\n"
      "tmpfs /run tmpfs rw 0 0\n";
  const QList<TDrive> drives = ListDrives(mounts);
  QStringList roots;
  for (const TDrive& d : drives) roots << d.root;
  EXPECT_EQ(roots, (QStringList{"/", QDir::homePath() + "/", "/media/jan/PENDRIVE/", "/srv/dane firmy/"}));
  EXPECT_EQ(DriveOf(drives, "/media/jan/PENDRIVE/x/"), 2);
  EXPECT_EQ(DriveOf(drives, "/etc/"), 0);
}

class ExplorerDlg : public ::testing::Test {
 protected:
  void SetUp() override { root = QDir(tmp.path()).canonicalPath() + "/"; }
  QTemporaryDir tmp;
  QString root;
};

TEST_F(ExplorerDlg, StartDirectoryTreeAndList) {
  touch(root + "a/b/x.wyd");
  touch(root + "a/Y.WYD");
  touch(root + "a/z.txt");
  touch(root + "a/.ukryty/k.wyd");
  QDir().mkpath(root + "a/pusty");
  TExplorer e;
  e.setWyborPliku(true);
  e.Filtr = "*.wyd";
  e.SzerPlikow = 300;
  e.Katalog = root + "a";
  e.OnDodajPlik = [](const QString& file, QString& opis, bool& accept) {
    opis = "opis " + QFileInfo(file).fileName();
    accept = !file.endsWith("x.wyd");
  };
  ModalScript s;
  s.then([&](QWidget* w) {
    auto* dlg = static_cast<TExplorerDlg*>(w);
    EXPECT_EQ(dlg->SelectedDir(), root + "a/");
    EXPECT_EQ(items(dlg->lb()), QStringList{"Y.WYD\topis Y.WYD"});
    EXPECT_EQ(dlg->lb()->currentRow(), 0);
    EXPECT_EQ(dlg->width(), 300 + 274);
    EXPECT_EQ(dlg->lblPliki()->text(), " &Zaznacz plik:");
    QTreeWidgetItem* a = dlg->tree()->currentItem();
    ASSERT_EQ(a->childCount(), 1);  // not loaded until it is opened
    EXPECT_EQ(a->child(0)->text(0), "");
    dlg->tree()->expandItem(a);
    QStringList children;
    for (int i = 0; i < a->childCount(); ++i) children << a->child(i)->text(0);
    ASSERT_EQ(children, (QStringList{"b", "pusty"}));  // hidden directories are not listed
    EXPECT_EQ(a->child(0)->childCount(), 0);          // b has no sub-directory: no expand button
    EXPECT_EQ(a->child(1)->childCount(), 0);
    QTest::keyClick(dlg->tree(), Qt::Key_Return);  // file choice: Enter moves on to the list
    EXPECT_EQ(dlg->focusWidget(), dlg->lb());
    QTest::keyClick(dlg->lb(), Qt::Key_Return);
  });
  ASSERT_TRUE(e.Execute());
  EXPECT_EQ(e.WybranyPlik(), root + "a/Y.WYD");
  EXPECT_EQ(e.Katalog, root + "a/");

  e.Katalog = root + "nie-ma-takiego";
  ModalScript esc;
  esc.then([&](QWidget* w) {
    EXPECT_EQ(static_cast<TExplorerDlg*>(w)->SelectedDir(), "/");
    QTest::keyClick(w, Qt::Key_Escape);
  });
  EXPECT_FALSE(e.Execute());
  EXPECT_EQ(e.Katalog, root + "nie-ma-takiego");  // a cancelled dialog changes nothing
}

TEST_F(ExplorerDlg, DirectoryChoiceAndRefusal) {
  QDir().mkpath(root + "k1/k2");
  TExplorer e;
  e.Katalog = root + "k1";
  int asked = 0;
  e.OnSprawdzKatalog = [&](const QString& dir, bool& mozeByc) {
    EXPECT_EQ(dir, root + "k1/");
    mozeByc = ++asked > 1;
  };
  ModalScript s;
  s.then([&](QWidget* w) {
    auto* dlg = static_cast<TExplorerDlg*>(w);
    EXPECT_EQ(dlg->width(), 250);
    EXPECT_TRUE(dlg->panPrawy()->isHidden());
    EXPECT_EQ(dlg->tree()->currentItem()->childCount(), 1);  // k2, loaded when k1 opens
    dlg->hb()->AcceptButton()->click();
    EXPECT_TRUE(dlg->isVisible());  // refused
    QTest::keyClick(dlg->tree(), Qt::Key_Return);
  });
  EXPECT_TRUE(e.Execute());
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(e.Katalog, root + "k1/");
}

TEST_F(ExplorerDlg, SearchMultipleChoiceAndMessages) {
  touch(root + "s/c.wyd");
  touch(root + "s/a/b/x.WYD");
  touch(root + "s/a/d.wyd");
  QDir().mkpath(root + "s/pusty/gleboki");
  TExplorer e;
  e.setSzukanie(true);
  e.setWyborPliku(true);
  e.setMultiWybor(true);
  e.Filtr = "*.WYD";
  e.Katalog = root + "s";
  ModalScript s;
  s.then([&](QWidget* w) {
    auto* dlg = static_cast<TExplorerDlg*>(w);
    EXPECT_FALSE(dlg->btnSzukaj()->isHidden());
    EXPECT_EQ(dlg->lblPliki()->text(), " &Zaznacz pliki:");
    dlg->lb()->clearSelection();
    dlg->hb()->AcceptButton()->click();  // nothing selected: message, the dialog stays
    EXPECT_TRUE(dlg->isVisible());
    dlg->btnSzukaj()->click();
    EXPECT_TRUE(dlg->panSzukanie()->isHidden());
    EXPECT_EQ(items(dlg->lb()), (QStringList{"a/b/x.WYD\t", "a/d.wyd\t", "c.wyd\t"}));
    EXPECT_EQ(dlg->pbSzukanie()->value(), 100);
    dlg->lb()->clearSelection();
    dlg->lb()->item(2)->setSelected(true);
    dlg->lb()->item(0)->setSelected(true);
    dlg->lb()->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    dlg->hb()->AcceptButton()->click();
  });
  s.ok();
  ASSERT_TRUE(e.Execute());
  EXPECT_EQ(s.messages(), QStringList{"Wybierz plik|Nie zaznaczono żadnego pliku !"});
  EXPECT_EQ(e.WybranePliki(), (QStringList{root + "s/a/b/x.WYD", root + "s/c.wyd"}));
  EXPECT_EQ(e.WybranyPlik(), root + "s/a/b/x.WYD");

  e.Katalog = root + "s/pusty";
  ModalScript empty;
  empty.then([&](QWidget* w) {
    auto* dlg = static_cast<TExplorerDlg*>(w);
    dlg->btnSzukaj()->click();
    EXPECT_TRUE(dlg->lb()->count() == 0);
    dlg->reject();
  });
  empty.ok();
  EXPECT_FALSE(e.Execute());
  EXPECT_EQ(empty.messages(),
            QStringList{"Nie znaleziono|Nie znalazłem w tym katalogu i jego podkatalogach żadnego pliku"});
}

// "Przerwij" pressed while the search runs: what was found stays, no message,
// nothing re-selected; Esc during the search only stops it.
TEST_F(ExplorerDlg, StoppedSearchKeepsWhatItFound) {
  for (int i = 0; i < 30; ++i) touch(root + QString("t/d%1/p%1.wyd").arg(i, 2, 10, QChar('0')));
  TExplorer e;
  e.setSzukanie(true);
  e.setWyborPliku(true);
  e.Filtr = "*.wyd";
  e.Katalog = root + "t";
  TExplorerDlg* dialog = nullptr;
  int seen = 0;
  e.OnDodajPlik = [&](const QString&, QString&, bool&) {
    if (dialog && dialog->Searching() && ++seen == 3) QTest::keyClick(dialog, Qt::Key_Escape);
  };
  ModalScript s;
  s.then([&](QWidget* w) {
    dialog = static_cast<TExplorerDlg*>(w);
    dialog->btnSzukaj()->click();
    EXPECT_GE(dialog->lb()->count(), 3);
    EXPECT_LT(dialog->lb()->count(), 30);
    EXPECT_EQ(dialog->lb()->currentRow(), -1);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(dialog->panLewy()->isEnabled());
    dialog->reject();
  });
  EXPECT_FALSE(e.Execute());
  EXPECT_EQ(s.unexpected(), 0);
}

TEST_F(ExplorerDlg, DirectoryThatCannotBeEntered) {
  QDir().mkpath(root + "znika/pod");
  TExplorer e;
  e.setWyborPliku(true);
  e.Katalog = root + "znika";
  ModalScript s;
  s.then([&](QWidget* w) {
    auto* dlg = static_cast<TExplorerDlg*>(w);
    dlg->tree()->expandItem(dlg->tree()->currentItem());
    QTreeWidgetItem* pod = dlg->tree()->currentItem()->child(0);
    ASSERT_EQ(pod->text(0), "pod");
    QDir(root + "znika").removeRecursively();
    dlg->tree()->setCurrentItem(pod);
    EXPECT_EQ(dlg->lb()->count(), 0);
    dlg->reject();
  });
  s.ok();
  EXPECT_FALSE(e.Execute());
  EXPECT_EQ(s.messages(), QStringList{"Błąd !|Brak dostępu do katalogu: \n" + root + "znika/pod/"});
}

// A drive that cannot be read: "&Powtórz" asks again, "&Anuluj" goes back
// to the drive of the selected directory.
TEST_F(ExplorerDlg, UnreadableDrive) {
  TExplorer e;
  e.Katalog = root;
  ModalScript s;
  s.then([&](QWidget* w) {
    auto* dlg = static_cast<TExplorerDlg*>(w);
    dlg->setDriveList({{"/", "/"}, {root + "nie-ma/", "pendrive"}});
    const QString before = dlg->SelectedDir();
    dlg->drives()->setCurrentIndex(1);
    EXPECT_EQ(dlg->drives()->currentIndex(), 0);
    EXPECT_EQ(dlg->SelectedDir(), before);
    dlg->reject();
  });
  s.yes();
  s.then([](QWidget* w) { static_cast<TMsgOkienko*>(w)->btnCancel()->click(); });
  EXPECT_FALSE(e.Execute());
  const QString message = "Błąd|Błąd przy odczycie dysku " + root + "nie-ma:";
  EXPECT_EQ(s.messages(), (QStringList{message, message}));
}

// The picture preview: the chosen picture fitted into the pane, proportions kept.
TEST_F(ExplorerDlg, PicturePreview) {
  QImage picture(400, 100, QImage::Format_RGB32);
  picture.fill(Qt::red);
  QDir().mkpath(root + "obrazy");
  ASSERT_TRUE(picture.save(root + "obrazy/logo.png"));
  TExplorer e;
  e.setPodgladWidoczny(true);
  e.Filtr = "*.png";
  e.Katalog = root + "obrazy";
  ModalScript s;
  s.then([&](QWidget* w) {
    auto* dlg = static_cast<TExplorerDlg*>(w);
    ASSERT_FALSE(dlg->panImg()->isHidden());
    const QSize room = dlg->panImg()->size() - QSize(2, 2);
    const QPixmap shown = dlg->img()->pixmap();
    ASSERT_FALSE(shown.isNull());
    EXPECT_TRUE(shown.width() == room.width() || shown.height() == room.height());
    EXPECT_NEAR(double(shown.width()) / shown.height(), 4.0, 0.1);
    dlg->reject();
  });
  EXPECT_FALSE(e.Execute());
}

}  // namespace
}  // namespace zorpokaz
