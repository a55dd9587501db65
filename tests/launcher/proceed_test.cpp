// Both choices of the launcher carried out against a scratch tree: what lands
// where, what the viewer is started with, which message the user sees, and
// that a damaged package or a hostile record never loses or escapes anything.
#include <QApplication>
#include <QProcess>
#include <QSet>
#include <QDirIterator>
#include <QLineEdit>
#include <QRadioButton>
#include <gtest/gtest.h>

#include "support/cirequire.h"

#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

#include "launcher/launcherwindow.h"
#include "launcher/versionvalues.h"
#include "launcherfixture.h"

namespace zorpokaz::paczka {
namespace {

using namespace test;

const QString kDamagedRecords =
    "error|Nie udało się wypakować załączonych wydruków!\rPrawdopodobnie zbiór paczki jest uszkodzony.";
const QString kDamagedViewer =
    "error|Nie udało się rozpakować programu przeglądarki!\rPrawdopodobnie zbiór paczki jest uszkodzony.";
const QString kInstalled =
    "info|Instalacja programu została zakończona.\rAby obejrzeć wydruki, uruchom przeglądarkę przy pomocy\r"
    "nowej ikonki \"ZorPokaz\" utworzonej teraz na pulpicie.";
const QString kUnpacked =
    "info|Instalacja została zakończona.\rAby obejrzeć wydruki, uruchom teraz przeglądarkę\r"
    "przy pomocy ikonki \"ZorPokaz\" na pulpicie.";

TEST_F(Proceed, ViewRunsTheViewerInTheScratchDirectoryAndRemovesItAfterwards) {
  const QString package = makePackage("p.run", "2.2.1.0", {faktura, ksiega});
  ASSERT_TRUE(run(package, true));
  EXPECT_TRUE(ui.shown.isEmpty()) << ui.shown.join('\n').toStdString();
  const QStringList runs = viewerRuns();
  ASSERT_EQ(runs.size(), 1);
  const QStringList parts = runs[0].split('|');
  ASSERT_EQ(parts.size(), 3);
  EXPECT_EQ(parts[0], scratch() + "/zorpokaz") << parts[0].toStdString();
  EXPECT_EQ(parts[1], "TEMP");
  EXPECT_EQ(filesIn(parts[2]), (QSet<QString>{"faktura.wyd", "Księga główna.wyd", "zorpokaz"}));
  EXPECT_FALSE(QFileInfo::exists(scratch()));
  EXPECT_TRUE(QFileInfo(places.tempDir).isDir());
}

TEST_F(Proceed, InstallUnpacksTheViewerAndThePrintoutsAndAsksBeforeReplacing) {
  const QString dir = root + "/opt/Zor Pokaz";
  QDir().mkpath(dir);
  // The same printout under another letter case is the same file.
  const QString old = dir + "/FAKTURA.WYD";
  writeFile(old, "old");
  {
    QFile f(old);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.setFileTime(QDateTime(QDate(2020, 1, 2), QTime(3, 4, 6)), QFileDevice::FileModificationTime);
  }
  const QString package = makePackage("p.run", "2.2.1.0", {faktura, ksiega});

  ASSERT_TRUE(run(package, false, dir));
  EXPECT_EQ(ui.shown, (QStringList{"question|Plik \"" + old + "\" już istnieje!\rCzy na pewno mam go pokryć ?",
                                   kInstalled}));
  // Declined: the content stays, the time is the record's.
  EXPECT_EQ(readFile(old), "old");
  EXPECT_EQ(QFileInfo(old).lastModified(), kPrintoutTime);
  EXPECT_FALSE(QFileInfo::exists(dir + "/faktura.wyd"));
  EXPECT_EQ(readFile(dir + "/Księga główna.wyd"), readFile(ksiega));
  EXPECT_EQ(QFileInfo(dir + "/Księga główna.wyd").lastModified(), kPrintoutTime);
  EXPECT_EQ(readFile(dir + "/zorpokaz"), readFile(standIn));
  EXPECT_TRUE(QFileInfo(dir + "/zorpokaz").isExecutable());
  EXPECT_EQ(viewerRuns().value(0).section('|', 0, 1), dir + "/zorpokaz|INST");
  // Nothing half-written stays behind.
  EXPECT_EQ(QDir(dir).entryList(QDir::Files | QDir::Hidden).size(), 3);

  // Yes replaces it.
  ui.shown.clear();
  ui.answers = {true};
  ASSERT_TRUE(run(package, false, dir));
  EXPECT_EQ(readFile(old), readFile(faktura));
}

TEST_F(Proceed, WithTheCurrentViewerInstalledOnlyThePrintoutsAreUnpacked) {
  const QString dir = root + "/Zor Pokaz";
  install(dir, "2.2.1.0");
  const QByteArray installed = readFile(dir + "/zorpokaz");
  const QString package = makePackage("p.run", "2.2.1.0", {faktura});
  // No rights needed for printouts alone.
  ASSERT_TRUE(run(package, false, std::nullopt, false));
  EXPECT_EQ(ui.shown, QStringList{kUnpacked});
  EXPECT_EQ(readFile(dir + "/zorpokaz"), installed);
  EXPECT_EQ(readFile(dir + "/faktura.wyd"), readFile(faktura));
  EXPECT_TRUE(viewerRuns().isEmpty());
}

TEST_F(Proceed, StopsLeaveTheWindowForAnotherChoice) {
  const QString package = makePackage("p.run", "2.2.1.0", {faktura});
  struct Case {
    const char* what;
    QString dir;
    bool admin;
    QString message;
  } cases[] = {
      {"no rights", root + "/opt/ZorPokaz", false,
       "rights|Aby zainstalować przeglądarkę w systemie,\rmusisz wywołać program z konta administratora."},
      {"parent missing", root + "/none/ZorPokaz", true, "error|Nie można utworzyć katalogu:\r" + root + "/none/ZorPokaz/"},
      {"empty directory box", "", true, "error|Nie można utworzyć katalogu:\r"},
  };
  for (const Case& c : cases) {
    ui.shown.clear();
    EXPECT_FALSE(run(package, false, c.dir, c.admin)) << c.what;
    EXPECT_EQ(ui.shown, QStringList{c.message}) << c.what;
    EXPECT_TRUE(window->isVisible()) << c.what;
    EXPECT_FALSE(QFileInfo::exists(c.dir + "/zorpokaz")) << c.what;
  }
  EXPECT_FALSE(QFileInfo::exists(root + "/zorpokaz"));
  EXPECT_TRUE(viewerRuns().isEmpty());
}

TEST_F(Proceed, ADamagedViewerStopsAndLeavesNoScratchDirectory) {
  const QString package = makePackage("p.run", "2.2.1.0", {faktura});
  LauncherState s;
  ASSERT_TRUE(StartUp(package, places, ui, s));
  QByteArray bytes = readFile(package);
  const qsizetype middle = (s.ViewerOffset + s.RecordsOffset) / 2;
  for (int i = 0; i < 8; ++i) bytes[middle + i] = char(~bytes[middle + i]);
  writeFile(package, bytes);
  EXPECT_FALSE(run(package, true));
  EXPECT_EQ(ui.shown, QStringList{kDamagedViewer});
  EXPECT_TRUE(window->isVisible());
  EXPECT_FALSE(QFileInfo::exists(scratch()));
  EXPECT_TRUE(viewerRuns().isEmpty());
}

TEST_F(Proceed, ADamagedRecordEndsThePrintoutsButKeepsTheEarlierOnes) {
  const QString dir = root + "/opt/ZorPokaz";
  const QString package = makePackage("p.run", "2.2.1.0", {faktura, ksiega});
  QFile f(package);
  ASSERT_TRUE(f.resize(f.size() - 10));  // cut inside the second record's data
  ASSERT_TRUE(run(package, false, dir));
  EXPECT_EQ(ui.shown, (QStringList{kDamagedRecords, kInstalled}));
  EXPECT_EQ(readFile(dir + "/faktura.wyd"), readFile(faktura));
  EXPECT_FALSE(QFileInfo::exists(dir + "/Księga główna.wyd"));
  EXPECT_EQ(QDir(dir).entryList(QDir::Files | QDir::Hidden), (QStringList{"faktura.wyd", "zorpokaz"}));
}

TEST_F(Proceed, ARecordNameThatLeavesTheDirectoryIsRefusedAndTheNextOneWritten) {
  const QString dir = root + "/opt/ZorPokaz";
  const QString package = makePackage("p.run", "2.2.1.0", {faktura});
  QFile f(package);
  ASSERT_TRUE(f.open(QIODevice::Append));
  f.write(rawRecord("..\\..\\zly", printout("zly")) + rawRecord("../zly", printout("zly")) +
          rawRecord("dobry", printout("dobry")));
  f.close();
  ASSERT_TRUE(run(package, false, dir));
  const QString refused = "\": nazwa zawiera niedozwolone znaki (/ \\ ..) !";
  EXPECT_EQ(ui.shown, (QStringList{"error|Pominięto wydruk \"..\\..\\zly" + refused,
                                   "error|Pominięto wydruk \"../zly" + refused, kInstalled}));
  EXPECT_EQ(readFile(dir + "/dobry.wyd"), printout("dobry"));
  QDirIterator all(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
  while (all.hasNext()) EXPECT_FALSE(all.next().contains("zly")) << all.filePath().toStdString();
}

TEST_F(Proceed, AFileThatCannotBeWrittenIsReportedAndTheNextOneWritten) {
  const QString dir = root + "/opt/ZorPokaz";
  QDir().mkpath(dir + "/faktura.wyd/inside");  // a directory where the printout goes
  const QString package = makePackage("p.run", "2.2.1.0", {faktura, ksiega});
  ui.answers = {true};
  ASSERT_TRUE(run(package, false, dir));
  EXPECT_EQ(ui.shown, (QStringList{"question|Plik \"" + dir + "/faktura.wyd\" już istnieje!\rCzy na pewno mam go pokryć ?",
                                   "error|Nie udało się zapisać pliku:\r" + dir + "/faktura.wyd", kInstalled}));
  EXPECT_TRUE(QFileInfo(dir + "/faktura.wyd/inside").isDir());
  EXPECT_EQ(readFile(dir + "/Księga główna.wyd"), readFile(ksiega));
  EXPECT_EQ(QDir(dir).entryList(QDir::Files | QDir::Hidden).size(), 2);  // no temporary file left
}

// Neither a viewer the system cannot execute nor one the dynamic loader
// refuses (a library missing here) counts as started; the user learns why.
TEST_F(Proceed, AViewerThatCannotStartIsReportedWithTheReason) {
  const QString refused = root + "/src/refused";
  writeFile(refused, viewerRefusedByTheLoader());
  QFile::setPermissions(refused, QFile::permissions(refused) | QFile::ExeOwner);
  writeFile(standIn, "#!/nonexistent/interpreter\n");
  const struct {
    QString viewer;
    QString reason;
  } viewers[] = {{standIn, "/zorpokaz: "}, {refused, "libzpq.so"}};
  for (const auto& v : viewers) {
    const QString dir = root + "/opt/" + QFileInfo(v.viewer).fileName();
    const QString package = makePackage("p.run", "2.2.1.0", {faktura}, v.viewer);
    ui.shown.clear();
    ui.details.clear();
    EXPECT_FALSE(run(package, true));
    EXPECT_EQ(ui.shown, QStringList{"error|Nie można uruchomić programu !"});
    EXPECT_TRUE(ui.details.value(0).contains(v.reason)) << ui.details.join('\n').toStdString();
    EXPECT_TRUE(window->isVisible());  // shown again after hiding
    EXPECT_FALSE(QFileInfo::exists(scratch()));

    ui.shown.clear();
    ui.details.clear();
    EXPECT_FALSE(run(package, false, dir));
    EXPECT_EQ(ui.shown, QStringList{"error|Podczas instalacji programu wystąpił błąd !"});
    EXPECT_TRUE(ui.details.value(0).contains(v.reason)) << ui.details.join('\n').toStdString();
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(QFileInfo::exists(dir + "/faktura.wyd"));
  }
  // What the package recorded names every library the loader lacks.
  EXPECT_EQ(ui.details.value(0), "Brakuje bibliotek potrzebnych przeglądarce:\rlibzpq.so\r"
                                 "Zainstaluj pakiety systemu, które je zawierają,\ri uruchom paczkę ponownie.");
}

// Another user could plant the scratch directory's name in a shared
// temporary directory; nothing is written through it, and it is not emptied.
TEST_F(Proceed, APlantedScratchLinkIsNeitherUsedNorEmptied) {
  const QString victim = root + "/victim";
  QDir().mkpath(victim);
  writeFile(victim + "/keep.txt", "keep");
  ASSERT_EQ(::symlink(QFile::encodeName(victim).constData(), QFile::encodeName(scratch()).constData()), 0);
  const QString package = makePackage("p.run", "2.2.1.0", {faktura});
  EXPECT_FALSE(run(package, true));
  EXPECT_EQ(ui.shown, QStringList{"error|Nie można utworzyć katalogu:\r" + scratch() + "/"});
  EXPECT_EQ(QDir(victim).entryList(QDir::Files), QStringList{"keep.txt"});
  EXPECT_TRUE(QFileInfo(scratch()).isSymLink());
  EXPECT_TRUE(viewerRuns().isEmpty());
}

// The built viewer, packed as it is shipped (without debug information) and
// installed into the scratch tree: it records the directory, opens it to the
// users group with itself protected, and the next package finds it
// installed and current.
TEST_F(Proceed, TheRealViewerInstallsItselfWhereTheNextPackageFindsIt) {
  ZP_REQUIRE(fixtures::RootMissing("the viewer installs only as root"));
  for (const char* d : {"/usr/share", "/home/Pulpit", "/home/.config", "/home/.local/share"})
    QDir().mkpath(root + d);
  m_env.set("XDG_CONFIG_DIRS", places.configDir);
  m_env.set("XDG_DATA_DIRS", root + "/usr/share");
  m_env.set("XDG_DATA_HOME", root + "/home/.local/share");
  m_env.set("XDG_CONFIG_HOME", root + "/home/.config");
  m_env.set("XDG_DESKTOP_DIR", root + "/home/Pulpit");
  m_env.set("HOME", root + "/home");
  m_env.set("TMPDIR", places.tempDir);
  const QString viewer = root + "/src/zorpokaz";
  ASSERT_EQ(QProcess::execute("objcopy", {"--strip-debug", viewerPath(), viewer}), 0);
  const QString version = VersionValue(viewerPath(), "FileVersion");
  const QString package = makePackage("real.run", {}, {faktura}, viewer);
  const QString dir = root + "/opt/ZorPokaz";
  ASSERT_TRUE(run(package, false, dir)) << ui.shown.join('\n').toStdString();
  EXPECT_EQ(ui.shown, QStringList{kInstalled});
  EXPECT_EQ(readFile(dir + "/zorpokaz"), readFile(viewer));
  EXPECT_EQ(InstalledDirectory(places), dir + "/");
  EXPECT_TRUE(QFileInfo::exists(root + "/home/Pulpit/ZorPokaz.desktop"));
  struct stat st {};
  ASSERT_EQ(::stat(QFile::encodeName(dir).constData(), &st), 0);
  const bool immutable = testfiles::immutableSupported(root);
  EXPECT_EQ(st.st_mode & 07070, S_ISGID | 0070 | (immutable ? 0 : S_ISVTX));
  const int exe = ::open(QFile::encodeName(dir + "/zorpokaz").constData(), O_RDONLY);
  int flags = 0;
  EXPECT_EQ(::ioctl(exe, FS_IOC_GETFLAGS, &flags) == 0 && (flags & FS_IMMUTABLE_FL), immutable);
  ::close(exe);

  const QString next = makePackage("next.run", {}, {ksiega}, viewer);
  LauncherState s;
  ASSERT_TRUE(StartUp(next, places, ui, s));
  EXPECT_TRUE(s.Installed);
  EXPECT_FALSE(s.NeedsViewer);
  EXPECT_EQ(s.PackageVersion, version.left(5));
  EXPECT_EQ(s.TargetDir, dir + "/");
}

}  // namespace
}  // namespace zorpokaz::paczka
