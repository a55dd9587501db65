// Adding printouts with real windows: the copy with its questions and
// messages, unpacking with the overwrite question and the error report, and
// the whole adding run through the chooser and the please-wait window.
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include "library/addprintouts.h"
#include "library/copyprintout.h"
#include "library/tfrmlista.h"
#include "support/cirequire.h"
#include "support/modalscript.h"
#include "support/pefixture.h"
#include "support/printoutwriter.h"
#include "ui/apperror.h"
#include "ui/texplorer.h"
#include "ui/texplorerdlg.h"
#include "ui/thintbar.h"
#include "ui/tworkingdlg.h"
#include "util/bajery.h"

namespace zorpokaz {
namespace {

using fixtures::BuildPackage;
using fixtures::PackageRecord;
using fixtures::ReadFile;
using fixtures::WriteFile;
using fixtures::ModalScript;

class AddPrintoutsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    lib = tmp.path() + "/lib/";
    src = tmp.path() + "/zrodlo/";
    QDir().mkpath(lib);
    QDir().mkpath(src);
    previousReport = SetAppErrorReport([this](const QString& m) { reported << m; });
  }
  void TearDown() override { SetAppErrorReport(previousReport); }
  QString put(const QString& path, const QByteArray& bytes) {
    WriteFile(path, bytes);
    return path;
  }
  QStringList libraryFiles() const { return QDir(lib).entryList(QDir::Files | QDir::Hidden, QDir::Name); }

  QTemporaryDir tmp;
  QString lib, src;
  QStringList reported;
  AppErrorReport previousReport;
  const QByteArray wyd = writer::wrapBody("treść wydruku");
};

TEST_F(AddPrintoutsTest, CopyPrintoutQuestionsAndMessages) {
  // Already in the library: nothing to copy, nothing asked.
  const QString inLib = put(lib + "w.wyd", wyd);
  ModalScript none;
  EXPECT_TRUE(CopyPrintout(lib + "./w.wyd", lib));
  EXPECT_TRUE(CopyPrintout(inLib, lib));
  EXPECT_EQ(none.unexpected(), 0);

  const QString bad = put(src + "zly.wyd", "to nie wydruk");
  ModalScript err;
  err.ok();
  EXPECT_FALSE(CopyPrintout(bad, lib));
  EXPECT_EQ(err.messages(), QStringList{"Błąd|Plik: \"" + bad + "\"\nnie jest wydrukiem Zorela !"});

  // The library has w.wyd; the source is W.WYD's twin w.Wyd: the question is
  // about the existing file, and "Nie" leaves it alone.
  const QByteArray newer = writer::wrapBody("nowszy");
  const QString other = put(src + "w.Wyd", newer);
  ModalScript no;
  no.no();
  EXPECT_FALSE(CopyPrintout(other, lib));
  EXPECT_EQ(no.messages(),
            QStringList{"Potwierdź dokopiowanie pliku|Plik \"" + inLib + "\" już istnieje !\nCzy na pewno chcesz go pokryć ?"});
  EXPECT_EQ(ReadFile(inLib), wyd);

  {
    QFile f(other);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6)), QFileDevice::FileModificationTime));
  }
  ModalScript yes;
  yes.yes();
  EXPECT_TRUE(CopyPrintout(other, lib));
  EXPECT_EQ(ReadFile(inLib), newer);
  EXPECT_EQ(libraryFiles(), QStringList{"w.wyd"});
  EXPECT_EQ(QFileInfo(inLib).lastModified(), QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6)));
  EXPECT_TRUE(yes.done());
}

TEST_F(AddPrintoutsTest, CopyThatFailsIsReported) {
  QDir().mkpath(lib + "k.wyd");  // a directory where the printout should go
  const QString from = put(src + "k.wyd", wyd);
  ModalScript s;
  s.yes().ok();
  EXPECT_FALSE(CopyPrintout(from, lib));
  ASSERT_EQ(s.messages().size(), 2);
  EXPECT_EQ(s.messages()[1], "Bład !|Nie udało się skopiować pliku:\n" + from + "\ndo: " + lib + "k.wyd");
  EXPECT_THROW(CopyPrintout(src + "brak.wyd", lib), EFOpenError);
}

TEST_F(AddPrintoutsTest, UnpackPackageAsksAndReports) {
  ZP_REQUIRE(fixtures::MingwMissing().toStdString());
  put(lib + "a.WYD", "stary");
  const QString pkg = put(src + "P.exe", BuildPackage(PackageRecord("a", 0, "nowy a") + PackageRecord("b", 0, "nowy b") +
                                                      PackageRecord("../c", 0, "poza") +
                                                      PackageRecord("d", 0, "ucięty", 0, 100)));
  ModalScript s;
  s.no().ok();
  UnpackPackage(pkg, lib);
  EXPECT_TRUE(s.done());
  EXPECT_EQ(s.messages()[0],
            "Potwierdź rozpakowanie pliku|Plik \"" + lib + "a.WYD\" już istnieje !\nCzy na pewno chcesz go pokryć ?");
  EXPECT_TRUE(s.messages()[1].startsWith("Błąd|Plik: " + pkg + "\nPominięto wydruk \"../c\""));
  EXPECT_EQ(ReadFile(lib + "a.WYD"), "stary");
  EXPECT_EQ(ReadFile(lib + "b.WYD"), "nowy b");
  EXPECT_EQ(reported, QStringList{"Plik: " + pkg + "\rPaczka z wydrukami jest uszkodzona (wydruk \"d\") !"});
  EXPECT_EQ(libraryFiles(), (QStringList{"a.WYD", "b.WYD"}));

  fixtures::VersionValues abc;
  abc.rozmiar = "abc";
  reported.clear();
  UnpackPackage(put(src + "abc.exe", BuildPackage(PackageRecord("e", 0, "x"), abc)), lib);
  EXPECT_EQ(reported, QStringList{"'abc' is not a valid integer value"});
}

// The chooser picks every offered file; one package is damaged, one file is
// not offered at all. The good printouts arrive and the list is refreshed.
TEST_F(AddPrintoutsTest, WholeRunThroughTheChooser) {
  ZP_REQUIRE(fixtures::MingwMissing().toStdString());
  put(src + "jeden.wyd", wyd);
  put(src + "DWA.Wyd", wyd);
  put(src + "nie-wydruk.wyd", "śmieci");
  put(src + "uszkodzona.exe", BuildPackage(PackageRecord("z", 0, "x", 0, 50)));
  put(src + "dobra.RUN", BuildPackage(PackageRecord("trzy", 0, "3")));
  TExplorer explorer;
  ConfigureExplorer(explorer, src);
  QWidget owner;
  TWorkingDlg working(&owner);
  ConfigureWorkingDlg(working);
  QStringList listed;
  ModalScript s;
  s.then([&](QWidget* w) {
    auto* dlg = qobject_cast<TExplorerDlg*>(w);
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(dlg->windowTitle(), "Dokopiowanie wydruków");
    EXPECT_EQ(dlg->hb()->TextCenter(), "Wskaż plik wydruku/paczki");
    for (int i = 0; i < dlg->lb()->count(); ++i) listed << dlg->lb()->item(i)->text();
    dlg->lb()->selectAll();
    dlg->hb()->AcceptButton()->click();
  });
  int refreshed = 0;
  AddPrintouts(explorer, working, lib, [&] { ++refreshed; });
  EXPECT_EQ(listed, (QStringList{"dobra.RUN\t", "DWA.Wyd\t", "jeden.wyd\t", "uszkodzona.exe\t"}));
  EXPECT_EQ(libraryFiles(), (QStringList{"DWA.Wyd", "jeden.wyd", "trzy.WYD"}));
  ASSERT_EQ(reported.size(), 1);
  EXPECT_TRUE(reported[0].contains("uszkodzona"));
  EXPECT_EQ(refreshed, 1);
  EXPECT_EQ(working.Window(), nullptr);
  EXPECT_EQ(BusyCount(), 0);
  EXPECT_EQ(explorer.Katalog, src);
}

// A chosen printout that vanished before the copy ends the run: reported,
// the window closed, the cursor back, and no refresh.
TEST_F(AddPrintoutsTest, OpenErrorEndsTheRun) {
  put(src + "a.wyd", wyd);
  put(src + "b.wyd", wyd);
  TExplorer explorer;
  ConfigureExplorer(explorer, src);
  TWorkingDlg working(nullptr);
  ModalScript s;
  s.then([&](QWidget* w) {
    auto* dlg = static_cast<TExplorerDlg*>(w);
    dlg->lb()->selectAll();
    QFile::remove(src + "a.wyd");
    dlg->hb()->AcceptButton()->click();
  });
  int refreshed = 0;
  AddPrintouts(explorer, working, lib, [&] { ++refreshed; });
  EXPECT_EQ(reported, QStringList{"Cannot open file " + src + "a.wyd"});
  EXPECT_EQ(refreshed, 0);
  EXPECT_TRUE(libraryFiles().isEmpty());
  EXPECT_EQ(working.Window(), nullptr);
  EXPECT_EQ(BusyCount(), 0);

  ModalScript cancel;
  cancel.then([](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
  AddPrintouts(explorer, working, lib, [&] { ++refreshed; });
  EXPECT_EQ(refreshed, 1);  // a cancelled chooser still refreshes
}

// F7 in the list window: the chooser opens, the printout picked in another
// directory is copied and the list shows it.
TEST_F(AddPrintoutsTest, F7InTheListWindow) {
  put(src + "nowy.wyd", wyd);
  TFrmLista window(QString(), lib);
  window.show();
  QApplication::processEvents();
  EXPECT_EQ(window.lista()->count(), 0);
  ModalScript s;
  s.then([&](QWidget* w) {
    auto* dlg = qobject_cast<TExplorerDlg*>(w);
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(dlg->SelectedDir(), QDir::homePath() + "/");
    dlg->NavigateTo(src);
    dlg->lb()->selectAll();
    dlg->hb()->AcceptButton()->click();
  });
  QTest::keyClick(&window, Qt::Key_F7);
  EXPECT_TRUE(s.done());
  EXPECT_EQ(libraryFiles(), QStringList{"nowy.wyd"});
  ASSERT_EQ(window.lista()->count(), 1);
  EXPECT_TRUE(window.lista()->item(0)->text().startsWith("nowy\t"));
}

}  // namespace
}  // namespace zorpokaz
