// `zorpokaz-cli pack`: what it makes is read alike by the viewer's package
// reader (through `zorpokaz-cli unpack`) and by the launcher, and what it
// cannot pack it refuses without leaving a half-made package.
#include <gtest/gtest.h>

#include "launcher/packagecontent.h"
#include "launcher/runviewer.h"
#include "launcher/versionvalues.h"
#include "launcherfixture.h"

namespace zorpokaz::paczka {
namespace {

using namespace test;

using Pack = Launcher;

TEST_F(Pack, BothReadersFindThePrintoutsWithTheirNamesAndTimes) {
  const QString empty = printoutFile("pusty", "");
  const QString package = makePackage("p.run", "2.2.1.0", {faktura, ksiega, empty});
  EXPECT_TRUE(QFileInfo(package).isExecutable());
  EXPECT_EQ(VersionValue(package, "FileVersion"), "2.2.1.0");
  EXPECT_EQ(VersionValue(package, "FileDescription"), QStringLiteral("Przeglądarka Zorela 2001"));

  // The launcher's reader.
  LauncherState s;
  ASSERT_TRUE(StartUp(package, places, ui, s));
  QFile f(package);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly) && f.seek(s.RecordsOffset));
  QStringList names;
  RecordHeader r;
  while (ReadRecordHeader(f, r) == RecordRead::Record) {
    names << DecodeName(r.Name);
    EXPECT_EQ(PackedLocalTime(r.Time), kPrintoutTime);
    f.seek(f.pos() + r.Size);
  }
  EXPECT_EQ(names, (QStringList{"faktura", "Księga główna", "pusty"}));
  EXPECT_TRUE(f.atEnd());

  // The viewer's reader.
  const QString out = root + "/out";
  QDir().mkpath(out);
  const CliResult unpacked = runCli({"unpack", package, out});
  ASSERT_EQ(unpacked.status, 0) << unpacked.err.toStdString();
  EXPECT_EQ(readFile(out + "/faktura.WYD"), readFile(faktura));
  EXPECT_EQ(readFile(out + "/Księga główna.WYD"), readFile(ksiega));
  EXPECT_EQ(readFile(out + "/pusty.WYD"), readFile(empty));
}

// The launcher learns which shared libraries its viewer needs, and checks
// them the way the loader finds them.
TEST_F(Pack, RecordsTheLibrariesTheViewerNeeds) {
  LauncherState s;
  ASSERT_TRUE(StartUp(makePackage("real.run", {}, {faktura}, viewerPath()), places, ui, s));
  for (const char* name : {"libQt6Widgets.so.6", "libQt6PrintSupport.so.6", "libQt6Svg.so.6", "libemf2svg.so.1"})
    EXPECT_TRUE(s.ViewerLibraries.contains(name)) << name;
  EXPECT_EQ(MissingLibraries(s.ViewerLibraries), QStringList{});  // this machine runs the viewer

  const QString refused = root + "/src/refused";
  writeFile(refused, viewerRefusedByTheLoader());
  ASSERT_TRUE(StartUp(makePackage("refused.run", "1.0.0.0", {}, refused), places, ui, s));
  EXPECT_EQ(s.ViewerLibraries, QStringList{"libzpq.so"});
  EXPECT_EQ(MissingLibraries(s.ViewerLibraries + QStringList{"libc.so.6", "/nonexistent/lib.so"}),
            QStringList{"libzpq.so"});
  // A viewer that is a script needs no library.
  ASSERT_TRUE(StartUp(makePackage("script.run", "1.0.0.0", {}), places, ui, s));
  EXPECT_TRUE(s.ViewerLibraries.isEmpty());
}

TEST_F(Pack, RefusesWhatItCannotPackAndWritesNothing) {
  const QString out = root + "/bad.run";
  const QString notPrintout = root + "/src/lista.wyd";
  writeFile(notPrintout, "ZOREL2001 but not a printout");
  const QString foreign = root + "/src/日本.wyd";
  QFile::copy(faktura, foreign);
  const QStringList base{"pack", "--stub", launcherPath(), "--viewer", standIn, "-o", out};
  struct Case {
    const char* what;
    QStringList args;
    int status;
    const char* message;
  } cases[] = {
      {"no stub", {"pack", "--viewer", standIn, "-o", out}, 1, "--stub, --viewer and -o are required"},
      {"unknown option", base + QStringList{"--version", "1.0.0.0", "--fast"}, 1, "unknown option --fast"},
      {"viewer without a version", base, 1, "the viewer has no FileVersion"},
      {"version too long", base + QStringList{"--version", QString(24, '9')}, 2,
       "The launcher's version value FileVersion has room for 23 characters"},
      {"stub without placeholders", {"pack", "--stub", viewerPath(), "--viewer", standIn, "--version", "1", "-o", out},
       2, "The launcher has no version value"},
      {"stub without version values", {"pack", "--stub", standIn, "--viewer", standIn, "--version", "1", "-o", out},
       2, "No version values in the launcher"},
      {"not a printout", base + QStringList{"--version", "1.0.0.0", faktura, notPrintout}, 2, "Not a printout: "},
      {"name outside code page 1250", base + QStringList{"--version", "1.0.0.0", foreign}, 2,
       "has a character code page 1250 cannot hold"},
      {"missing printout", base + QStringList{"--version", "1.0.0.0", root + "/none.wyd"}, 2, "Cannot open file"},
  };
  for (const Case& c : cases) {
    const CliResult r = runCli(c.args);
    EXPECT_EQ(r.status, c.status) << c.what << ": " << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(c.message)) << c.what << ": " << r.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(out)) << c.what;
  }
}

}  // namespace
}  // namespace zorpokaz::paczka
