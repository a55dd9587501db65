#include "library/tfrmlista.h"

#include "ui/tabbeditemdelegate.h"
#include "listscript.h"
#include "platform/usersettings.h"
#include "ui/apperror.h"
#include "ui/thintbar.h"
#include "ui/tzorbtn.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

namespace zorpokaz {
namespace {

using namespace zorpokaz::listtest;

const QDateTime kT0(QDate(2023, 5, 1), QTime(12, 0));

// Receives what the desktop would open in a browser.
class UrlCatcher : public QObject {
  Q_OBJECT

 public:
  QList<QUrl> urls;

 public Q_SLOTS:
  void open(const QUrl& url) { urls << url; }
};

class ListaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_root.isValid());
    ASSERT_TRUE(m_cfg.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_cfg.path());
    lib = m_root.path() + "/lib/";
    other = m_root.path() + "/inny/";
    ASSERT_TRUE(QDir().mkpath(lib));
    ASSERT_TRUE(QDir().mkpath(other));
    m_previousReport = SetAppErrorReport([this](const QString& m) { reported << m; });
  }
  void TearDown() override { SetAppErrorReport(m_previousReport); }

  void put(const QString& name, int minutes) { writeFile(lib + name, printoutBytes(), kT0.addSecs(60 * minutes)); }
  static void settle() {
    for (int i = 0; i < 10; ++i) QCoreApplication::processEvents();
  }
  // Shows the window; its first showing counts as an activation and fills
  // the list (or opens what the start-up asked for).
  static void showList(TFrmLista& w) {
    w.show();
    settle();
  }
  // Waits until the window has closed itself (or the script is done).
  static void waitClosed(TFrmLista& w) {
    for (int i = 0; i < 400 && w.isVisible(); ++i) QTest::qWait(5);
  }
  static QStringList names(const TFrmLista& w) {
    QStringList out;
    for (int i = 0; i < w.lista()->count(); ++i) out << w.lista()->item(i)->text().section('\t', 0, 0);
    return out;
  }
  static void key(TFrmLista& w, Qt::Key k) {
    QTest::keyClick(w.lista(), k);
    settle();
  }

  QTemporaryDir m_root, m_cfg;
  QString lib, other;
  QStringList reported;
  AppErrorReport m_previousReport;
};

TEST_F(ListaTest, EmptyLibrary) {
  TFrmLista w(QString(), lib);
  ListScript none;
  showList(w);
  EXPECT_TRUE(w.windowTitle().startsWith(TFrmLista::kCaption + "  ["));
  EXPECT_EQ(w.lista()->count(), 0);
  EXPECT_EQ(w.lista()->currentRow(), -1);
  EXPECT_TRUE(w.hb()->TextAccept().isEmpty());
  EXPECT_FALSE(w.btnPopraw()->isEnabled());
  EXPECT_FALSE(w.btnUsun()->isEnabled());
  EXPECT_TRUE(w.btnDodaj()->isEnabled());
  key(w, Qt::Key_Return);  // nothing to open
  key(w, Qt::Key_F2);
  key(w, Qt::Key_F8);
  EXPECT_TRUE(none.seen.isEmpty());
  EXPECT_TRUE(w.hasFocus() || w.lista()->hasFocus());
  key(w, Qt::Key_Escape);
  EXPECT_FALSE(w.isVisible());
}

TEST_F(ListaTest, ListsPrintoutsByNameOrDateKeepingTheSelection) {
  put("b.wyd", 0);
  put("A.WYD", 2);
  put("c.wyd", 1);
  writeFile(lib + "x.txt", "x");
  put(".ukryty.wyd", 3);
  ASSERT_TRUE(QDir().mkdir(lib + "katalog.wyd"));
  TFrmLista w(QString(), lib);
  showList(w);
  EXPECT_EQ(names(w), (QStringList{"A", "b", "c"}));
  EXPECT_EQ(w.lista()->item(0)->text(), "A\t" + kT0.addSecs(120).toString("yyyy-MM-dd hh:mm"));
  EXPECT_EQ(w.SelectedName(), "A");
  EXPECT_EQ(w.hb()->TextAccept(), "Wyświetl");
  EXPECT_TRUE(w.btnPopraw()->isEnabled());

  w.lista()->setCurrentRow(2);
  QTest::mouseClick(w.rbWgDat(), Qt::LeftButton);
  settle();
  EXPECT_EQ(names(w), (QStringList{"b", "c", "A"}));
  EXPECT_EQ(w.SelectedName(), "c");
  EXPECT_EQ(w.rbWgDat()->focusPolicy(), Qt::ClickFocus);
  QTest::mouseClick(w.rbWgNazw(), Qt::LeftButton);
  settle();
  EXPECT_EQ(names(w), (QStringList{"A", "b", "c"}));
  EXPECT_EQ(w.SelectedName(), "c");
  // The accelerator of "Sortuj według &dat" from the list.
  QTest::keyClick(w.lista(), Qt::Key_D, Qt::AltModifier);
  // An accelerator clicks with a short animated press.
  EXPECT_TRUE(QTest::qWaitFor([&] { return w.rbWgDat()->isChecked(); }));
  settle();
  EXPECT_TRUE(w.rbWgDat()->isChecked());
  EXPECT_EQ(names(w), (QStringList{"b", "c", "A"}));
}

TEST_F(ListaTest, EnterOpensThePreviewOfTheListedFile) {
  put("A.WYD", 0);
  TFrmLista w(QString(), lib);
  showList(w);
  QString file, name;
  ListScript script;
  script.preview(&file, &name);
  key(w, Qt::Key_Return);
  EXPECT_EQ(file, lib + "A.WYD");
  EXPECT_EQ(name, "A");
  // Double click does the same.
  script.preview(&file, &name);
  const QPoint at = w.lista()->visualItemRect(w.lista()->item(0)).center();
  QTest::mouseClick(w.lista()->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(w.lista()->viewport(), Qt::LeftButton, {}, at);
  settle();
  EXPECT_TRUE(script.done());
  EXPECT_TRUE(w.isVisible());
}

TEST_F(ListaTest, RenameChecksTheNameAndKeepsTheSelection) {
  put("a.wyd", 0);
  put("m.wyd", 0);
  TFrmLista w(QString(), lib);
  showList(w);
  ASSERT_EQ(w.SelectedName(), "a");
  QString shownAgain;
  ListScript script;
  script.type("x/y").ok()
      .then([&](QWidget& box) { shownAgain = box.findChild<QLineEdit*>()->text(); QTest::keyClick(&box, Qt::Key_Escape); });
  key(w, Qt::Key_F2);
  EXPECT_EQ(script.seen.value(0), "Zmiana nazwy pliku wydruku");
  EXPECT_EQ(script.seen.value(1),
            "Błędna nazwa pliku|Nazwa pliku nie może zawierać znaków:\r\\  /  :  *  ?  \"  <  >  |");
  EXPECT_EQ(shownAgain, "x/y");
  EXPECT_TRUE(QFileInfo::exists(lib + "a.wyd"));

  script.type("").ok().type("..").ok().type("z");
  script.seen.clear();
  key(w, Qt::Key_F2);
  EXPECT_EQ(script.seen.value(1),
            "Błędna nazwa pliku|Nazwa pliku nie może być pusta ani zaczynać się od kropki.");
  EXPECT_EQ(script.seen.value(3), script.seen.value(1));
  EXPECT_EQ(names(w), (QStringList{"m", "z"}));
  EXPECT_EQ(w.SelectedName(), "z");
  EXPECT_TRUE(QFileInfo::exists(lib + "z.wyd"));
  EXPECT_FALSE(QFileInfo::exists(lib + "a.wyd"));
}

TEST_F(ListaTest, RenameOntoAnotherPrintoutFailsAndDestroysNothing) {
  writeFile(lib + "a.wyd", "A", kT0);
  writeFile(lib + "b.wyd", "B", kT0);
  TFrmLista w(QString(), lib);
  showList(w);
  ListScript script;
  script.type("B").ok();
  key(w, Qt::Key_F2);
  EXPECT_EQ(script.seen.value(1), "Błąd - Nie można zmienić nazwy !|Wystąpił błąd zmiany nazwy pliku\rz \"" + lib +
                                      "a.wyd\"\rna \"" + lib + "B.wyd\".");
  EXPECT_EQ(readFile(lib + "a.wyd"), "A");
  EXPECT_EQ(readFile(lib + "b.wyd"), "B");
  EXPECT_EQ(names(w), (QStringList{"a", "b"}));
  EXPECT_EQ(w.SelectedName(), "a");
  // Only the letter case changes: allowed.
  script.type("A");
  key(w, Qt::Key_F2);
  EXPECT_EQ(names(w), (QStringList{"A", "b"}));
  EXPECT_EQ(w.SelectedName(), "A");
  EXPECT_EQ(readFile(lib + "A.wyd"), "A");
  EXPECT_TRUE(script.done());
}

TEST_F(ListaTest, ArrowKeysMoveTheSelectionTheCommandsActOn) {
  put("a.wyd", 0);
  put("b.wyd", 0);
  put("c.wyd", 0);
  TFrmLista w(QString(), lib);
  showList(w);
  key(w, Qt::Key_Down);
  key(w, Qt::Key_Down);
  EXPECT_EQ(w.SelectedName(), "c");
  ASSERT_EQ(w.lista()->selectedItems().size(), 1);
  EXPECT_EQ(w.lista()->selectedItems()[0], w.lista()->item(2));
  ListScript script;
  script.no();
  key(w, Qt::Key_F8);
  EXPECT_EQ(script.seen.value(0), "Potwierdź usunięcie pliku ?|Czy na pewno chcesz usunąć plik\r" + lib + "c.wyd ?");
  EXPECT_EQ(w.SelectedName(), "c");  // still there after the refresh
}

TEST_F(ListaTest, DeleteAsksFirst) {
  put("a.wyd", 0);
  put("b.wyd", 0);
  TFrmLista w(QString(), lib);
  showList(w);
  w.lista()->setCurrentRow(1);
  ListScript script;
  script.no();
  key(w, Qt::Key_F8);
  EXPECT_EQ(script.seen.value(0), "Potwierdź usunięcie pliku ?|Czy na pewno chcesz usunąć plik\r" + lib + "b.wyd ?");
  EXPECT_TRUE(QFileInfo::exists(lib + "b.wyd"));
  script.yes();
  key(w, Qt::Key_F8);
  EXPECT_FALSE(QFileInfo::exists(lib + "b.wyd"));
  EXPECT_EQ(names(w), QStringList{"a"});
  EXPECT_EQ(w.SelectedName(), "a");
  script.yes();
  key(w, Qt::Key_F8);
  EXPECT_EQ(w.lista()->count(), 0);
  EXPECT_FALSE(w.btnUsun()->isEnabled());
  EXPECT_TRUE(w.hb()->TextAccept().isEmpty());
}

TEST_F(ListaTest, F1OpensTheMakersPage) {
  TFrmLista w(QString(), lib);
  showList(w);
  UrlCatcher catcher;
  QDesktopServices::setUrlHandler("http", &catcher, "open");
  key(w, Qt::Key_F1);
  QDesktopServices::unsetUrlHandler("http");
  EXPECT_EQ(catcher.urls, QList<QUrl>{QUrl("http://www.zorel.pl/")});
  EXPECT_EQ(w.hb()->HelpHint(), "F1 - http://www.zorel.pl/");
}

TEST_F(ListaTest, F7OpensTheChooserAndCancellingChangesNothing) {
  put("a.wyd", 0);
  TFrmLista w(QString(), lib);
  showList(w);
  ListScript script;
  script.then([](QWidget& chooser) { QTest::keyClick(&chooser, Qt::Key_Escape); });
  key(w, Qt::Key_F7);
  EXPECT_EQ(script.seen, QStringList{"Dokopiowanie wydruków"});
  EXPECT_EQ(names(w), QStringList{"a"});
  EXPECT_TRUE(w.isVisible());
}

TEST_F(ListaTest, TempModeWithNoPrintoutsSaysSoAndEnds) {
  TFrmLista w("TEMP", lib);
  ListScript script;
  script.ok();
  showList(w);
  waitClosed(w);
  EXPECT_EQ(script.seen, QStringList{"Błąd!|Nie znaleziono żadnych wydruków!"});
  EXPECT_FALSE(w.isVisible());
}

TEST_F(ListaTest, TempModeWithOnePrintoutShowsItAndEnds) {
  put("jedyny.wyd", 0);
  TFrmLista w("TEMP", lib);
  QString file;
  ListScript script;
  script.preview(&file);
  showList(w);
  waitClosed(w);
  EXPECT_EQ(file, lib + "jedyny.wyd");
  EXPECT_FALSE(w.isVisible());
  EXPECT_EQ(OpenUserKey(false), nullptr);  // the preview saved no settings
}

TEST_F(ListaTest, TempModeWithTwoPrintoutsOffersNoChanges) {
  put("a.wyd", 0);
  put("b.wyd", 0);
  TFrmLista w("TEMP", lib);
  ListScript none;
  showList(w);
  EXPECT_TRUE(w.TempMode());
  EXPECT_TRUE(w.isVisible());
  EXPECT_FALSE(w.pIkonki()->isVisible());
  for (TZorBtn* b : {w.btnPopraw(), w.btnDodaj(), w.btnUsun()}) EXPECT_FALSE(b->isEnabled());
  key(w, Qt::Key_F2);
  key(w, Qt::Key_F7);
  key(w, Qt::Key_F8);
  EXPECT_TRUE(none.seen.isEmpty());
  EXPECT_TRUE(QFileInfo::exists(lib + "a.wyd"));
}

TEST_F(ListaTest, ArgumentOutsideTheLibraryAsksToCopy) {
  writeFile(other + "r.wyd", printoutBytes(), kT0);
  put("a.wyd", 0);
  const QString arg = other + "r.wyd";
  ListScript script;
  script.yes();
  TFrmLista w(arg, lib);
  EXPECT_EQ(script.seen, QStringList{"ZorPokaz - " + arg + "|Czy skopiować wydruk do katalogu przeglądarki\r(" +
                                     lib + ") ?"});
  EXPECT_EQ(w.CopyOnStart(), arg);
  EXPECT_TRUE(w.OpenOnStart().isEmpty());
  showList(w);
  EXPECT_EQ(names(w), (QStringList{"a", "r"}));
  EXPECT_EQ(w.SelectedName(), "r");
  EXPECT_TRUE(w.CopyOnStart().isEmpty());
  EXPECT_EQ(readFile(lib + "r.wyd"), printoutBytes());
}

TEST_F(ListaTest, ArgumentNotCopiedIsShownAndTheProgramEnds) {
  writeFile(other + "r.wyd", printoutBytes());
  QString file, name;
  ListScript script;
  script.no().preview(&file, &name);
  TFrmLista w(other + "r.wyd", lib);
  EXPECT_EQ(w.OpenOnStart(), other + "r.wyd");
  showList(w);
  waitClosed(w);
  EXPECT_EQ(file, other + "r.wyd");
  EXPECT_EQ(name, "r");
  EXPECT_FALSE(w.isVisible());
  EXPECT_FALSE(QFileInfo::exists(lib + "r.wyd"));
}

TEST_F(ListaTest, ArgumentInsideTheLibraryInOtherLetterCaseOpensWithoutAQuestion) {
  put("a.wyd", 0);
  // The library directory reached through a name in capitals.
  const QString upper = m_root.path() + "/LIB";
  ASSERT_TRUE(QFile::link(m_root.path() + "/lib", upper));
  QString file;
  ListScript script;
  script.preview(&file);
  TFrmLista w(upper + "/a.wyd", lib);
  EXPECT_EQ(w.OpenOnStart(), upper + "/a.wyd");
  showList(w);
  waitClosed(w);
  EXPECT_EQ(script.seen.size(), 1);
  EXPECT_EQ(file, upper + "/a.wyd");
}

TEST_F(ListaTest, CopyOfTheSameNameProtectsTheLibraryPrintout) {
  writeFile(lib + "r.wyd", printoutBytes("stary"), kT0);
  writeFile(other + "r.wyd", printoutBytes("nowy"));
  ListScript script;
  script.yes().no();  // copy: yes; overwrite: no
  TFrmLista w(other + "r.wyd", lib);
  showList(w);
  EXPECT_EQ(script.seen.value(1), "Potwierdź dokopiowanie pliku|Plik \"" + lib +
                                      "r.wyd\" już istnieje !\rCzy na pewno chcesz go pokryć ?");
  EXPECT_EQ(readFile(lib + "r.wyd"), printoutBytes("stary"));
  EXPECT_TRUE(w.isVisible());
}

TEST_F(ListaTest, FailedCopyIsReportedAndTheListOpensAnyway) {
  writeFile(other + "zly.wyd", "nie wydruk");
  put("a.wyd", 0);
  ListScript script;
  script.yes().ok();
  TFrmLista w(other + "zly.wyd", lib);
  showList(w);
  EXPECT_EQ(script.seen.value(1), "Błąd|Plik: \"" + other + "zly.wyd\"\rnie jest wydrukiem Zorela !");
  EXPECT_EQ(names(w), QStringList{"a"});
  EXPECT_TRUE(w.isVisible());
}

TEST_F(ListaTest, ArgumentsThatAreNoFileChangeNothing) {
  for (const QString& arg : {QString("inst"), other + "brak.wyd", other, QString("UNINST ")}) {
    ListScript none;
    TFrmLista w(arg, lib);
    EXPECT_FALSE(w.TempMode());
    EXPECT_TRUE(w.CopyOnStart().isEmpty()) << arg.toStdString();
    EXPECT_TRUE(w.OpenOnStart().isEmpty()) << arg.toStdString();
    EXPECT_TRUE(w.pIkonki()->isVisibleTo(&w));
  }
}

TEST_F(ListaTest, TabWidthFollowsTheListWidth) {
  TFrmLista w(QString(), lib);
  showList(w);
  const int average = QFontMetrics(w.lista()->font()).averageCharWidth();
  EXPECT_EQ(w.TabWidth(), ListTabWidth(w.lista()->width(), average));
  const int before = w.TabWidth();
  w.resize(800, 400);
  settle();
  EXPECT_EQ(w.TabWidth(), ListTabWidth(w.lista()->width(), average));
  EXPECT_GT(w.TabWidth(), before);
  EXPECT_EQ(ListTabWidth(412, 11), 42);  // (412 - 180) * 4 div 22
  EXPECT_EQ(ListTabWidth(181, 11), 0);
}

TEST_F(ListaTest, AMissingLibraryIsReportedOnceNotOnEveryActivation) {
  put("a.wyd", 0);
  TFrmLista w(QString(), lib);
  showList(w);
  ASSERT_TRUE(QDir(lib).removeRecursively());
  w.Refresh();
  w.Refresh();
  EXPECT_EQ(reported, QStringList{"Can not access the directory \"" + lib + "\"."});
  EXPECT_EQ(w.lista()->count(), 0);
  EXPECT_TRUE(w.hb()->TextAccept().isEmpty());
}

}  // namespace
}  // namespace zorpokaz

#include "tfrmlista_test.moc"
