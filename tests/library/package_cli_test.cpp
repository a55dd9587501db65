// zorpokaz-cli unpack, run as a user runs it: no questions, existing
// printouts kept unless --overwrite, refused names on standard error, damaged
// packages and usage errors with their exit status.
#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "support/clirun.h"
#include "support/cirequire.h"
#include "support/modalscript.h"
#include "support/pefixture.h"

namespace zorpokaz {
namespace {

using fixtures::BuildPackage;
using fixtures::PackageRecord;
using fixtures::ReadFile;
using fixtures::WriteFile;

struct CliRun {
  int status;
  QString out, err;
};

CliRun unpack(const QStringList& args) {
  const testcli::CliResult r = testcli::RunCli(QStringList{"unpack"} + args);
  return {r.status, QString::fromUtf8(r.out), QString::fromUtf8(r.err)};
}

TEST(UnpackCommand, KeepsOverwritesRefusesAndFails) {
  ZP_REQUIRE(fixtures::MingwMissing().toStdString());
  QTemporaryDir tmp;
  const QString lib = tmp.path() + "/lib/";
  QDir().mkpath(lib);
  const QString pkg = tmp.filePath("p.exe");
  WriteFile(pkg, BuildPackage(PackageRecord("a", 0, "A1") + PackageRecord("../b", 0, "B") + PackageRecord("c", 0, "C")));

  CliRun r = unpack({pkg, lib});
  EXPECT_EQ(r.status, 0) << r.err.toStdString();
  EXPECT_EQ(r.out.toStdString(), QString("written: " + lib + "a.WYD\nwritten: " + lib + "c.WYD\n").toStdString());
  EXPECT_EQ(r.err, "skipped: Plik: " + pkg + " Pominięto wydruk \"../b\": nazwa zawiera niedozwolone znaki (/ \\ ..) !\n");

  WriteFile(lib + "a.WYD", "mój");
  r = unpack({pkg, lib});
  EXPECT_EQ(r.out.toStdString(), QString("kept: " + lib + "a.WYD\nkept: " + lib + "c.WYD\n").toStdString());
  EXPECT_EQ(ReadFile(lib + "a.WYD"), "mój");
  r = unpack({"--overwrite", pkg, lib});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(ReadFile(lib + "a.WYD"), "A1");

  WriteFile(pkg, BuildPackage(PackageRecord("d", 0, "D", 0, 99)));
  r = unpack({pkg, lib});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "Plik: " + pkg + "\rPaczka z wydrukami jest uszkodzona (wydruk \"d\") !\n");
  EXPECT_FALSE(QFile::exists(lib + "d.WYD"));

  EXPECT_EQ(unpack({pkg}).status, 1);
  EXPECT_EQ(unpack({pkg, tmp.filePath("brak")}).status, 1);
  EXPECT_EQ(unpack({tmp.filePath("brak.exe"), lib}).status, 2);
}

}  // namespace
}  // namespace zorpokaz
