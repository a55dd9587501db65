// A viewer that came with the system package: the package manager owns the
// program, the handler of printouts and the record of the directory, so INST
// adds only the shortcut and the rights, and UNINST sends the user to the
// package manager instead of deleting what it owns.
#include "library/install.h"
#include "install/owningpackage.h"
#include "scratchtree.h"

#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <gtest/gtest.h>

#include <grp.h>
#include <sys/stat.h>

namespace zorpokaz {
namespace {

using installtest::readFile;
using installtest::ScratchTree;
using installtest::whenShown;
using installtest::writeFile;

TEST(Packaged, InstallLeavesHandlerAndRecordToThePackage) {
  ZP_REQUIRE_ROOT();
  ScratchTree tree;
  InstallPaths paths = tree.paths();
  paths.owningPackage = "zorpokaz";
  Install(paths);
  EXPECT_TRUE(QFileInfo::exists(tree.root + "/home/Pulpit/ZorPokaz.desktop"));
  struct stat dir {};
  ASSERT_EQ(stat(QFile::encodeName(tree.programDir).constData(), &dir), 0);
  if (const group* users = getgrnam("users")) {
    EXPECT_EQ(dir.st_gid, users->gr_gid);
  }
  for (const QString& file : {paths.machineKeyFile(), paths.uninstallKeyFile(), paths.desktopEntryFile(),
                              paths.mimePackageFile(), paths.appIconFile(), paths.mimeappsListFile()})
    EXPECT_FALSE(QFileInfo::exists(file)) << file.toStdString();
}

TEST(Packaged, UninstallNamesThePackageAndChangesNothing) {
  ZP_REQUIRE_ROOT();
  ScratchTree tree;
  InstallPaths paths = tree.paths();
  paths.owningPackage = "zorpokaz";
  Install(paths);
  writeFile(tree.programDir + "faktura.wyd", "w");
  writeFile(paths.userSettingsFiles.first(), "[General]\n");
  QString shown;
  whenShown([&shown](TMsgOkienko& w, const QString& text) {
    shown = text;
    w.btnOk()->click();
  });
  Uninstall(paths);
  EXPECT_EQ(shown, "Odinstalowanie przeglądarki wydruków Zorela 2001|Program ZorPokaz został zainstalowany z "
                   "pakietu \"zorpokaz\".\rAby go odinstalować, użyj menedżera pakietów:\rapt remove zorpokaz");
  EXPECT_TRUE(QFileInfo::exists(tree.root + "/home/Pulpit/ZorPokaz.desktop"));
  EXPECT_TRUE(QFileInfo::exists(paths.userSettingsFiles.first()));
  EXPECT_TRUE(QFileInfo::exists(tree.programDir + "faktura.wyd"));
  EXPECT_TRUE(tree.startedScripts.isEmpty());
  EXPECT_FALSE(QFileInfo::exists(paths.removalScriptFile()));
}

TEST(OwningPackage, DpkgNamesTheOwnerOfASystemFileOnly) {
  const QString query = QStandardPaths::findExecutable("dpkg-query");
  if (query.isEmpty()) GTEST_SKIP() << "no dpkg on this machine";
  EXPECT_EQ(OwningPackage(QFileInfo(query).canonicalFilePath()), "dpkg");
  QTemporaryFile mine;
  ASSERT_TRUE(mine.open());
  EXPECT_EQ(OwningPackage(mine.fileName()), "");
  // A name with pattern characters is no pattern; a relative name is nobody's.
  EXPECT_EQ(OwningPackage(QFileInfo(query).canonicalPath() + "/dpkg-quer?"), "");
  EXPECT_EQ(OwningPackage(QFileInfo(query).canonicalPath() + "/dpkg-*"), "");
  EXPECT_EQ(OwningPackage("dpkg-query"), "");
}

TEST(OwningPackage, SearchAnswerNamesTheFirstOwnerOfThatFile) {
  const QString file = "/opt/ZorPokaz/zorpokaz";
  const struct {
    const char* output;
    const char* package;
  } cases[] = {
      {"zorpokaz: /opt/ZorPokaz/zorpokaz\n", "zorpokaz"},
      {"zorpokaz:amd64: /opt/ZorPokaz/zorpokaz\n", "zorpokaz"},
      {"zorpokaz, other: /opt/ZorPokaz/zorpokaz\n", "zorpokaz"},
      {"diversion by other from: /opt/ZorPokaz/zorpokaz\n"
       "diversion by other to: /opt/ZorPokaz/zorpokaz.real\nzorpokaz: /opt/ZorPokaz/zorpokaz\n",
       "zorpokaz"},
      {"local diversion from: /opt/ZorPokaz/zorpokaz\n", ""},
      {"zorpokaz: /opt/ZorPokaz/zorpokaz-old\n", ""},
      {"zorpokaz: /opt/ZorPokaz\n", ""},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(PackageInSearchOutput(c.output, file), c.package) << c.output;
}

}  // namespace
}  // namespace zorpokaz
