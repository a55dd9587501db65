#include "core/program.h"

#include "support/cirequire.h"
#include "support/pefixture.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace zorpokaz {
namespace {

TEST(Program, DirectoryOfTheRunningExecutable) {
  EXPECT_EQ(ProgramDir(), QCoreApplication::applicationDirPath() + "/");
  EXPECT_EQ(ProgramFile(), QCoreApplication::applicationFilePath());
  EXPECT_EQ(ProgramVersion(ProgramFile()), QStringLiteral(ZP_VERSION).left(5));
}

TEST(Program, VersionOfOtherExecutables) {
  ZP_REQUIRE(fixtures::MingwMissing().toStdString());
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  struct Case {
    const char* what;
    fixtures::VersionValues values;
    bool elf;
    QString expected;
  } cases[] = {
      {"PE", {}, false, "2.2.1"},
      {"ELF section", {}, true, "2.2.1"},
      {"short version", {.fileVersion = "3.0"}, false, "3.0"},
      {"no FileVersion", {.fileVersion = std::nullopt}, false, ""},
      {"English table only", {.stringTable = "040904E4"}, false, ""},
  };
  for (const auto& c : cases) {
    const QString path = dir.filePath(c.what);
    fixtures::WriteFile(path, c.elf ? fixtures::BuildElf(c.values) : fixtures::BuildPe(c.values));
    EXPECT_EQ(ProgramVersion(path), c.expected) << c.what;
  }
  fixtures::WriteFile(dir.filePath("text"), "not an executable");
  EXPECT_EQ(ProgramVersion(dir.filePath("text")), QString());
  EXPECT_EQ(ProgramVersion(dir.filePath("missing")), QString());
}

}  // namespace
}  // namespace zorpokaz
