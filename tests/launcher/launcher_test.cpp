// The launcher over packages made by `zorpokaz-cli pack`: its start-up
// checks, its window, and both choices carried out against a scratch tree,
// with a stand-in viewer that records how it was started.
#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "launcher/launcherstate.h"
#include "launcher/launcherwindow.h"
#include "launcher/unpack.h"
#include "launcher/versionvalues.h"
#include "launcherfixture.h"

namespace zorpokaz::paczka {
namespace {

using namespace test;

const QString kViewText =
    "Szybkie wyświetlenie dołączonych do paczki wydruków.  Wybierz,\n"
    "jeśli nie chcesz instalować przeglądarki do późniejszego wykorzystania.";
const QString kInstallText =
    "Zainstalowanie przeglądarki i rozpakowanie dołączonych wydruków\n"
    "w podanym niżej katalogu. Wydruki będzie można obejrzeć później\n"
    "uruchamiając program z ikonki utworzonej na pulpicie.";
const QString kUnpackText =
    "Rozpakowanie dołączonych wydruków w katalogu zainstalowanej\n"
    "wcześniej przeglądarki. Wydruki będzie można obejrzeć później\n"
    "uruchamiając program z ikonki \"ZorPokaz\" na pulpicie.";
const QString kDamagedRecords =
    "error|Nie udało się wypakować załączonych wydruków!\rPrawdopodobnie zbiór paczki jest uszkodzony.";
const QString kDamagedViewer =
    "error|Nie udało się rozpakować programu przeglądarki!\rPrawdopodobnie zbiór paczki jest uszkodzony.";

TEST_F(Launcher, StartUpReadsTheOffsetsTheVersionAndTheInstalledViewer) {
  const QString package = makePackage("p.run", "2.2.1.0", {faktura, ksiega});
  LauncherState s;
  ASSERT_TRUE(startUp(package, s)) << ui.shown.join(';').toStdString();
  EXPECT_EQ(s.ViewerOffset, QFileInfo(launcherPath()).size());
  EXPECT_GT(s.RecordsOffset, s.ViewerOffset);
  EXPECT_LT(s.RecordsOffset, QFileInfo(package).size());
  EXPECT_EQ(s.PackageVersion, "2.2.1");
  EXPECT_FALSE(s.Installed);
  EXPECT_TRUE(s.NeedsViewer);
  EXPECT_FALSE(s.NoPrintouts);
  EXPECT_EQ(s.TargetDir, root + "/opt/ZorPokaz/");
  EXPECT_TRUE(ui.shown.isEmpty());

  struct Case {
    const char* what;
    const char* installed;  // nullptr: nothing installed
    bool printouts;
    bool result;
    bool needsViewer;
  } cases[] = {
      {"older installed", "2.1.0.0", true, true, true},
      {"same installed, printouts", "2.2.1.0", true, true, false},
      {"newer installed", "2.3.0.0", true, true, false},
      {"installed 2.10 is older than 2.9 as text", "2.10.0.0", true, true, true},
      {"same installed, no printouts", "2.2.1.0", false, false, false},
      {"older installed, no printouts", "2.2.0.0", false, true, true},
      {"nothing installed, no printouts", nullptr, false, true, true},
  };
  for (const Case& c : cases) {
    const QString version = QString(c.installed).startsWith("2.10") ? "2.9.0.0" : "2.2.1.0";
    QFile::remove(places.katalogFile());
    if (c.installed) install(root + "/Zor Pokaz", c.installed, root + "/Zor Pokaz");
    const QString p = makePackage("c.run", version, c.printouts ? QStringList{faktura} : QStringList{});
    ui.shown.clear();
    LauncherState st;
    EXPECT_EQ(startUp(p, st), c.result) << c.what;
    if (c.result) {
      EXPECT_EQ(st.NeedsViewer, c.needsViewer) << c.what;
      EXPECT_EQ(st.Installed, c.installed != nullptr) << c.what;
      EXPECT_EQ(st.NoPrintouts, !c.printouts) << c.what;
      // The installed directory, with the "/" the settings lacked.
      EXPECT_EQ(st.TargetDir, c.installed ? root + "/Zor Pokaz/" : root + "/opt/ZorPokaz/") << c.what;
      EXPECT_TRUE(ui.shown.isEmpty()) << c.what;
    } else {
      EXPECT_EQ(ui.shown, QStringList{"info|Ta sama (lub nowsza) wersja ZorPokaz\rjest już zainstalowana w systemie !"})
          << c.what;
    }
  }
}

TEST_F(Launcher, InconsistentSizesEndTheProgramWithTheirMessage) {
  const QString package = makePackage("p.run", "2.2.1.0", {faktura});
  LauncherState good;
  ASSERT_TRUE(startUp(package, good));
  const QByteArray bytes = readFile(package);
  struct Case {
    const char* what;
    QByteArray file;
  } cases[] = {
      {"the launcher alone: both offsets 0", readFile(launcherPath())},
      {"ends where the viewer starts", bytes.left(good.ViewerOffset)},
      {"ends inside the viewer (still being written)", bytes.left(good.RecordsOffset - 1)},
      {"not an executable", QByteArray(5000, 'x')},
  };
  for (const Case& c : cases) {
    const QString path = root + "/bad.run";
    writeFile(path, c.file);
    ui.shown.clear();
    LauncherState s;
    EXPECT_FALSE(startUp(path, s)) << c.what;
    EXPECT_EQ(ui.shown, QStringList{"error|Błąd odczytu informacji o zawartości paczki!"}) << c.what;
  }
  ui.shown.clear();
  LauncherState s;
  EXPECT_FALSE(startUp(root + "/missing.run", s));
  EXPECT_EQ(ui.shown, QStringList{"error|Błąd odczytu informacji o zawartości paczki!"});
}

TEST_F(Launcher, KatalogCountsOnlyAsOneTextOfAtMost1024Characters) {
  struct Case {
    QByteArray ini;
    QString dir;
  } cases[] = {
      {"[General]\nKatalog=/opt/Zor/\n", "/opt/Zor/"},
      {"[General]\nKatalog=/opt/Zor\n", "/opt/Zor/"},
      {"[General]\nKatalog=\n", ""},
      {"[General]\nKatalog=a, b\n", ""},  // a list, not one text
      {"[General]\nKatalog=/" + QByteArray(1023, 'x') + "\n", "/" + QString(1023, 'x') + "/"},
      {"[General]\nKatalog=/" + QByteArray(1024, 'x') + "\n", ""},
      {"[General]\nInny=/opt\n", ""},
  };
  for (const Case& c : cases) {
    writeFile(places.katalogFile(), c.ini);
    EXPECT_EQ(InstalledDirectory(places), c.dir) << c.ini.left(40).toStdString();
  }
  QFile::remove(places.katalogFile());
  EXPECT_EQ(InstalledDirectory(places), "");
  EXPECT_TRUE(VersionOlder("", "2.2.1"));
  EXPECT_TRUE(VersionOlder("2.2", "2.2.1"));
  EXPECT_FALSE(VersionOlder("2.2.1", "2.2.1"));
  EXPECT_TRUE(VersionOlder("2.10.", "2.9.0"));
}

struct WindowCase {
  const char* what;
  bool noPrintouts, installed, needsViewer;
  const char* title;
  bool viewEnabled, viewChecked;
  const char* installCaption;
  bool editEnabled;
};

TEST_F(Launcher, WindowShowsTheChoicesTheStateAllows) {
  const WindowCase cases[] = {
      {"fresh machine, printouts", false, false, true, "Przeglądarka ZorPokaz - Paczka z wydrukami  [wersja 2.2.1]",
       true, true, "&Zainstaluj przeglądarkę w systemie", true},
      {"fresh machine, no printouts", true, false, true,
       "Przeglądarka ZorPokaz - Instalator programu  [wersja 2.2.1]", false, false,
       "&Zainstaluj przeglądarkę w systemie", true},
      {"older viewer installed", false, true, true, "Przeglądarka ZorPokaz - Paczka z wydrukami  [wersja 2.2.1]",
       true, false, "&Zainstaluj przeglądarkę w systemie", true},
      {"current viewer installed", false, true, false,
       "Przeglądarka ZorPokaz - Paczka z wydrukami  [wersja 2.2.1]", true, false,
       "&Rozpakowanie dołączonych wydruków", false},
  };
  for (const WindowCase& c : cases) {
    LauncherState s;
    s.PackageVersion = "2.2.1";
    s.TargetDir = "/opt/Zor Pokaz/";
    s.NoPrintouts = c.noPrintouts;
    s.Installed = c.installed;
    s.NeedsViewer = c.needsViewer;
    LauncherWindow w(s, places.tempDir, ui);
    w.show();
    EXPECT_EQ(w.windowTitle(), QString::fromUtf8(c.title)) << c.what;
    EXPECT_EQ(w.ViewOption()->isEnabled(), c.viewEnabled) << c.what;
    EXPECT_EQ(w.ViewText()->isEnabled(), c.viewEnabled) << c.what;
    EXPECT_EQ(w.ViewOption()->isChecked(), c.viewChecked) << c.what;
    EXPECT_EQ(w.InstallOption()->isChecked(), !c.viewChecked) << c.what;
    EXPECT_EQ(w.focusWidget(), c.viewChecked ? w.ViewOption() : w.InstallOption()) << c.what;
    EXPECT_EQ(w.InstallOption()->text(), QString::fromUtf8(c.installCaption)) << c.what;
    EXPECT_EQ(w.InstallText()->text(), c.needsViewer ? kInstallText : kUnpackText) << c.what;
    EXPECT_EQ(w.ViewText()->text(), kViewText) << c.what;
    // Every line of the texts is seen whole in its box, 16 pixels apart.
    for (const QLabel* text : {w.ViewText(), w.InstallText()}) {
      const QStringList lines = text->text().split('\n');
      EXPECT_LE(lines.size() * 16, text->height() + 2) << c.what;
      for (const QString& line : lines)
        EXPECT_LE(QFontMetrics(text->font()).horizontalAdvance(line), text->width()) << line.toStdString();
    }
    EXPECT_EQ(w.DirectoryEdit()->text(), "/opt/Zor Pokaz/") << c.what;
    EXPECT_EQ(w.DirectoryEdit()->isEnabled(), c.editEnabled) << c.what;
    EXPECT_EQ(w.NextButton()->text(), "&Dalej");
    EXPECT_TRUE(w.NextButton()->isDefault());
    EXPECT_EQ(w.geometry().size(), QSize(492, 233));
    EXPECT_EQ(w.CloseButton()->geometry(), QRect(492 - 130, 233 - 35, 120, 25));
  }
}

TEST_F(Launcher, KeyboardVisitsBothChoicesEnterProceedsEscCloses) {
  LauncherState s;
  s.PackageVersion = "2.2.1";
  s.TargetDir = root + "/opt/ZorPokaz/";
  s.NeedsViewer = true;
  LauncherWindow w(s, places.tempDir, ui);
  w.SetAdminCheck([] { return false; });  // Proceed then stops at once with its message
  w.show();
  QApplication::setActiveWindow(&w);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  ASSERT_EQ(QApplication::focusWidget(), w.ViewOption());

  QList<QWidget*> visited;
  for (int i = 0; i < 6; ++i) {
    visited << QApplication::focusWidget();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  }
  const QList<QWidget*> order{w.ViewOption(), w.InstallOption(), w.DirectoryEdit(),
                              w.HelpButton(), w.NextButton(),    w.CloseButton()};
  EXPECT_EQ(visited, order);
  EXPECT_EQ(QApplication::focusWidget(), w.ViewOption());  // round again

  // Enter on a choice and in the directory box does what "&Dalej" does.
  w.InstallOption()->setFocus();
  QTest::keyClick(w.InstallOption(), Qt::Key_Down);
  QTest::keyClick(w.InstallOption(), Qt::Key_Space);
  ASSERT_TRUE(w.InstallOption()->isChecked());
  QTest::keyClick(w.InstallOption(), Qt::Key_Return);
  w.DirectoryEdit()->setFocus();
  QTest::keyClick(w.DirectoryEdit(), Qt::Key_Return);
  const QString rights =
      "rights|Aby zainstalować przeglądarkę w systemie,\rmusisz wywołać program z konta administratora.";
  EXPECT_EQ(ui.shown, (QStringList{rights, rights}));
  EXPECT_TRUE(w.isVisible());  // a stop leaves the window for another choice

  QSignalSpy closed(&w, &LauncherWindow::Closed);
  QTest::keyClick(w.DirectoryEdit(), Qt::Key_Escape);
  EXPECT_EQ(closed.count(), 1);
  EXPECT_FALSE(w.isVisible());
}

}  // namespace
}  // namespace zorpokaz::paczka
