// The launcher against what another user or a crafted package can set up:
// links planted under the printouts' names, a viewer stream that inflates
// without end, record names that would make hidden files, and a program
// directory shared with the users group while the viewer in it is replaced.
#include <QDirIterator>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "launcher/packagecontent.h"
#include "support/cirequire.h"
#include "launcher/programdir.h"
#include "launcher/runviewer.h"
#include "launcherfixture.h"

namespace zorpokaz::paczka {
namespace {

using namespace test;

const QString kDamagedViewer =
    "error|Nie udało się rozpakować programu przeglądarki!\rPrawdopodobnie zbiór paczki jest uszkodzony.";
const QString kInstalled =
    "info|Instalacja programu została zakończona.\rAby obejrzeć wydruki, uruchom przeglądarkę przy pomocy\r"
    "nowej ikonki \"ZorPokaz\" utworzonej teraz na pulpicie.";

QString question(const QString& path) {
  return "question|Plik \"" + path + "\" już istnieje!\rCzy na pewno mam go pokryć ?";
}

void plantLink(const QString& target, const QString& at) {
  ASSERT_EQ(::symlink(QFile::encodeName(target).constData(), QFile::encodeName(at).constData()), 0);
}

QStringList entries(const QString& dir) {
  return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

class Hostile : public Proceed {};

// A dangling link, a link to another user's file and a link to a directory,
// under the names of three printouts: each is asked about like a file, the
// one kept stays a link, and the ones replaced become files; nothing outside
// the directory is created or changed, not even a time stamp.
TEST_F(Hostile, LinksUnderPrintoutNamesAreAskedAboutAndNeverFollowed) {
  const QString dir = root + "/opt/ZorPokaz", outside = root + "/outside";
  QDir().mkpath(dir);
  QDir().mkpath(outside + "/katalog");
  writeFile(outside + "/cudzy", "someone else's");
  const QDateTime before = QFileInfo(outside + "/cudzy").lastModified();
  plantLink(outside + "/nowy", dir + "/faktura.wyd");
  plantLink(outside + "/cudzy", dir + "/Księga główna.wyd");
  plantLink(outside + "/katalog", dir + "/trzeci.wyd");
  const QString trzeci = root + "/src/trzeci.wyd";
  writeFile(trzeci, printout("trzeci"));
  const QString package = makePackage("p.run", "2.2.1.0", {faktura, ksiega, trzeci});
  ui.answers = {false, true, true};
  ASSERT_TRUE(run(package, false, dir));
  EXPECT_EQ(ui.shown, (QStringList{question(dir + "/faktura.wyd"), question(dir + "/Księga główna.wyd"),
                                   question(dir + "/trzeci.wyd"), kInstalled}));
  EXPECT_FALSE(QFileInfo::exists(outside + "/nowy"));
  EXPECT_TRUE(QFileInfo(dir + "/faktura.wyd").isSymLink());
  EXPECT_EQ(readFile(outside + "/cudzy"), "someone else's");
  EXPECT_EQ(QFileInfo(outside + "/cudzy").lastModified(), before);
  EXPECT_TRUE(entries(outside + "/katalog").isEmpty());
  for (const QString name : {"Księga główna.wyd", "trzeci.wyd"}) {
    EXPECT_FALSE(QFileInfo(dir + "/" + name).isSymLink()) << name.toStdString();
    EXPECT_TRUE(QFileInfo(dir + "/" + name).isFile()) << name.toStdString();
  }
  EXPECT_EQ(readFile(dir + "/trzeci.wyd"), printout("trzeci"));
  EXPECT_EQ(entries(outside), (QStringList{"cudzy", "katalog"}));
}

// A viewer stream that inflates beyond what any viewer is: refused before a
// byte of it is written, in both choices.
TEST_F(Hostile, ABombViewerIsRefusedBeforeAnythingIsWritten) {
  const QString bomb = root + "/src/bomb";
  {
    QFile f(bomb);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\n");
    ASSERT_TRUE(f.resize(kMaxViewerSize + 1));  // zeros, sparse on the disk
  }
  const QString package = makePackage("bomb.run", "2.2.1.0", {faktura}, bomb);
  EXPECT_FALSE(run(package, true));
  EXPECT_LT(state.RecordsOffset - state.ViewerOffset, kMaxViewerSize / 100);  // a small stream
  EXPECT_EQ(ui.shown, QStringList{kDamagedViewer});
  EXPECT_FALSE(QFileInfo::exists(scratch()));

  ui.shown.clear();
  const QString dir = root + "/opt/ZorPokaz";
  EXPECT_FALSE(run(package, false, dir));
  EXPECT_EQ(ui.shown, QStringList{kDamagedViewer});
  EXPECT_TRUE(entries(dir).isEmpty());
  EXPECT_TRUE(viewerRuns().isEmpty());
}

// Names that would be hidden files get visible ones; the same visible name
// twice is asked about like any printout already there.
TEST_F(Hostile, RecordNamesThatWouldBeHiddenGetVisibleNames) {
  const QString dir = root + "/opt/ZorPokaz";
  const QString package = makePackage("p.run", "2.2.1.0", {});
  QFile f(package);
  ASSERT_TRUE(f.open(QIODevice::Append));
  f.write(rawRecord("", printout("pusty")) + rawRecord(".", printout("kropka")) +
          rawRecord(".ukryty", printout("ukryty")));
  f.close();
  ASSERT_TRUE(run(package, false, dir));
  EXPECT_EQ(ui.shown, (QStringList{question(dir + "/bez nazwy.wyd"), kInstalled}));
  EXPECT_EQ(entries(dir), (QStringList{"bez nazwy.wyd", "ukryty.wyd", "zorpokaz"}));
  EXPECT_EQ(readFile(dir + "/bez nazwy.wyd"), printout("pusty"));
  EXPECT_EQ(readFile(dir + "/ukryty.wyd"), printout("ukryty"));
}

// Updating the viewer in a directory shared with the users group: the
// directory is closed to the group before the new viewer is written and
// stays closed while it runs INST (which opens it again once the viewer is
// protected); the old viewer's immutable attribute does not stop the update.
TEST_F(Hostile, UpdatingASharedDirectoryClosesItWhileTheViewerIsReplaced) {
  const QString dir = root + "/opt/ZorPokaz";
  install(dir, "2.1.0.0");
  ASSERT_EQ(::chmod(QFile::encodeName(dir).constData(), 02775), 0);
  const int old = ::open(QFile::encodeName(dir + "/zorpokaz").constData(), O_RDONLY);
  int flags = 0;
  if (geteuid() == 0 && testfiles::immutableSupported(root) && ::ioctl(old, FS_IOC_GETFLAGS, &flags) == 0) {
    flags |= FS_IMMUTABLE_FL;
    ASSERT_EQ(::ioctl(old, FS_IOC_SETFLAGS, &flags), 0);
  }
  ::close(old);
  const QString watching = root + "/src/watching.sh";
  writeFile(watching, "#!/bin/sh\nprintf '%s|%s\\n' \"$(stat -c %a \"$(dirname \"$(readlink -f \"$0\")\")\")\" \"$*\" "
                      ">> \"$ZP_VIEWER_LOG\"\n");
  const QString package = makePackage("p.run", "2.2.1.0", {faktura}, watching);
  ASSERT_TRUE(run(package, false)) << ui.shown.join('\n').toStdString();
  EXPECT_EQ(ui.shown, QStringList{kInstalled});
  EXPECT_EQ(viewerRuns(), QStringList{"2755|INST"});
  EXPECT_EQ(readFile(dir + "/zorpokaz"), readFile(watching));
  EXPECT_EQ(readFile(dir + "/faktura.wyd"), readFile(faktura));
}

// In a program directory shared with the users group, a printout unpacked
// later is the group's to change like the others.
TEST_F(Hostile, PrintoutsInASharedDirectoryAreTheGroupsToChange) {
  const QString dir = root + "/opt/ZorPokaz";
  install(dir, "2.2.1.0");
  ASSERT_EQ(::chmod(QFile::encodeName(dir).constData(), 02775), 0);
  ASSERT_TRUE(run(makePackage("p.run", "2.2.1.0", {faktura}), false));
  struct stat st {};
  ASSERT_EQ(::stat(QFile::encodeName(dir + "/faktura.wyd").constData(), &st), 0);
  EXPECT_EQ(st.st_mode & 0060, 0060u);
}

// What runs is the file that was written, even when another file has been
// put under its name since.
TEST_F(Hostile, TheViewerStartedIsTheFileWrittenNotWhatStandsUnderItsName) {
  const QString dir = root + "/opt/ZorPokaz";
  QDir().mkpath(dir);
  writeFile(dir + "/zorpokaz", "#!/bin/sh\necho \"written|$*\" >> \"$ZP_VIEWER_LOG\"\n");
  ::chmod(QFile::encodeName(dir + "/zorpokaz").constData(), 0755);
  const int fd = ::open(QFile::encodeName(dir + "/zorpokaz").constData(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  writeFile(root + "/planted", "#!/bin/sh\necho \"planted|$*\" >> \"$ZP_VIEWER_LOG\"\n");
  ::chmod(QFile::encodeName(root + "/planted").constData(), 0755);
  ASSERT_EQ(::rename(QFile::encodeName(root + "/planted").constData(), QFile::encodeName(dir + "/zorpokaz").constData()), 0);
  EXPECT_TRUE(RunViewer(nullptr, dir + "/zorpokaz", "INST", false, fd));
  ::close(fd);
  EXPECT_EQ(viewerRuns(), QStringList{"written|INST"});
}

// As root the launcher starts only from a directory nobody else can have
// put a qt.conf or a plugin directory into: not from /tmp, say.
TEST_F(Hostile, AsRootNotFromADirectoryOthersMayChange) {
  ZP_REQUIRE(fixtures::RootMissing("the check applies to root only"));
  const QString dir = root + "/pobrane";
  QDir().mkpath(dir + "/podkatalog");
  EXPECT_EQ(RootStartRefusal(dir), QString());
  const QString refused = "; jako administrator (root) paczka się stamtąd nie uruchomi.";
  ASSERT_EQ(::chmod(QFile::encodeName(dir + "/podkatalog").constData(), 0777), 0);
  EXPECT_EQ(RootStartRefusal(dir),
            "ZorPokazPaczka: w katalogu " + dir + " jest \"podkatalog\", który mogą zmieniać inni użytkownicy" + refused);
  ASSERT_EQ(::chmod(QFile::encodeName(dir).constData(), 01777), 0);
  EXPECT_EQ(RootStartRefusal(dir), "ZorPokazPaczka: katalog " + dir + " mogą zmieniać inni użytkownicy" + refused);
}

TEST(LauncherTarget, RoomOnTheDisk) {
  EXPECT_TRUE(HasRoomFor(QDir::tempPath(), 1));
  EXPECT_FALSE(HasRoomFor(QDir::tempPath(), std::int64_t(1) << 62));
}

}  // namespace
}  // namespace zorpokaz::paczka
