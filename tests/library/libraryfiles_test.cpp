#include "library/copyprintout.h"
#include "core/libraryfiles.h"
#include "listscript.h"
#include "platform/errors.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace zorpokaz {
namespace {

using namespace zorpokaz::listtest;

class LibraryFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_lib.isValid());
    ASSERT_TRUE(m_other.isValid());
    lib = m_lib.path() + "/";
    other = m_other.path() + "/";
  }
  QTemporaryDir m_lib, m_other;
  QString lib, other;
};

TEST(LibraryNames, CheckPrintoutName) {
  struct Case {
    QString text;
    NameFault fault;
  } cases[] = {
      {"raport 2024", NameFault::None},       {"Łódź-ąę", NameFault::None},
      {"a.b", NameFault::None},               {"..a", NameFault::Hidden},
      {"", NameFault::Hidden},                {".", NameFault::Hidden},
      {"..", NameFault::Hidden},              {"../etc/x", NameFault::ForbiddenChar},
      {"a/b", NameFault::ForbiddenChar},      {"a\\b", NameFault::ForbiddenChar},
      {"c:", NameFault::ForbiddenChar},       {"*", NameFault::ForbiddenChar},
      {"a?", NameFault::ForbiddenChar},       {"\"q\"", NameFault::ForbiddenChar},
      {"<a>", NameFault::ForbiddenChar},      {"a|b", NameFault::ForbiddenChar},
      {"a\nb", NameFault::ControlChar},       {QString("a") + QChar(0) + "b", NameFault::ControlChar},
      {QString("a") + QChar(127), NameFault::ControlChar}, {"\t", NameFault::ControlChar},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CheckPrintoutName(c.text), c.fault) << c.text.toStdString();
}

TEST(LibraryNames, PrintoutExtensionInAnyCase) {
  EXPECT_EQ(PrintoutName("x.WYD"), "x");
  EXPECT_EQ(PrintoutName("a.b.Wyd"), "a.b");
  EXPECT_EQ(PrintoutName("a.txt"), "a.txt");
  EXPECT_FALSE(HasPrintoutExtension("wyd"));
}

TEST_F(LibraryFilesTest, LibraryFileFindsTheExtensionInAnyCase) {
  writeFile(lib + "x.WYD", "1");
  EXPECT_EQ(LibraryFile(lib, "x", ".wyd"), lib + "x.WYD");
  EXPECT_EQ(LibraryFile(lib, "X", ".wyd"), lib + "X.wyd");  // the name itself keeps its case
  EXPECT_EQ(LibraryFile(lib, "y", ".WYD"), lib + "y.WYD");
  writeFile(lib + "x.wyd", "2");
  EXPECT_EQ(LibraryFile(lib, "x", ".wyd"), lib + "x.wyd");
}

// One file is the same device and inode, reached however; a name that only
// looks alike is not, and neither is a link standing in the library.
TEST_F(LibraryFilesTest, SameFileIsOneFileOnDisk) {
  writeFile(lib + "a.wyd", "1");
  writeFile(other + "r.wyd", "2");
  ASSERT_TRUE(QFile::link(m_lib.path(), other + "alias"));
  ASSERT_TRUE(QFile::link(other + "r.wyd", lib + "r.wyd"));
  EXPECT_TRUE(SamePrintoutPath(lib + "a.wyd", lib + "a.wyd"));
  EXPECT_TRUE(SamePrintoutPath(other + "alias/a.wyd", lib + "a.wyd"));
  EXPECT_TRUE(SamePrintoutPath(lib + "../" + QFileInfo(m_lib.path()).fileName() + "/a.wyd", lib + "a.wyd"));
  EXPECT_FALSE(SamePrintoutPath(lib + "A.WYD", lib + "a.wyd"));
  EXPECT_FALSE(SamePrintoutPath(other + "a.wyd", lib + "a.wyd"));
  EXPECT_FALSE(SamePrintoutPath(other + "r.wyd", lib + "r.wyd"));
}

// Other users of the library may plant links: a rename never goes onto one
// (dangling, to a file outside, to a directory), and renaming a link moves
// the link, never what it points to.
TEST_F(LibraryFilesTest, RenameNeverOntoALinkAndMovesALinkItself) {
  writeFile(lib + "a.wyd", "A");
  writeFile(other + "cudzy", "cudzy");
  QDir().mkpath(other + "katalog");
  ASSERT_TRUE(QFile::link(other + "nowy", lib + "d.wyd"));
  ASSERT_TRUE(QFile::link(other + "cudzy", lib + "o.wyd"));
  ASSERT_TRUE(QFile::link(other + "katalog", lib + "k.wyd"));
  for (const char* to : {"d.wyd", "D.WYD", "o.wyd", "k.wyd"})
    EXPECT_FALSE(RenameLibraryFile(lib + "a.wyd", lib + to)) << to;
  EXPECT_EQ(readFile(lib + "a.wyd"), "A");
  EXPECT_FALSE(QFileInfo::exists(other + "nowy"));
  EXPECT_EQ(readFile(other + "cudzy"), "cudzy");
  EXPECT_TRUE(QDir(other + "katalog").isEmpty());
  EXPECT_TRUE(RenameLibraryFile(lib + "o.wyd", lib + "p.wyd"));
  EXPECT_TRUE(QFileInfo(lib + "p.wyd").isSymLink());
  EXPECT_EQ(readFile(other + "cudzy"), "cudzy");
  EXPECT_TRUE(RenameLibraryFile(lib + "d.wyd", lib + "e.wyd"));  // a dangling link can be renamed too
  EXPECT_TRUE(QFileInfo(lib + "e.wyd").isSymLink());
}

TEST_F(LibraryFilesTest, RenameNeverReplacesAnotherFile) {
  writeFile(lib + "a.wyd", "A");
  writeFile(lib + "b.wyd", "B");
  writeFile(lib + "C.WYD", "C");
  struct Case {
    const char* from;
    const char* to;
    bool ok;
  } cases[] = {
      {"a.wyd", "b.wyd", false},  // onto an existing printout
      {"a.wyd", "B.wyd", false},  // differs only in case from an existing one
      {"a.wyd", "c.wyd", false},  // C.WYD is there
      {"a.wyd", "A.wyd", true},   // case-only rename of the same file
      {"A.wyd", "a.wyd", true},
      {"a.wyd", "a.wyd", true},   // unchanged
      {"missing.wyd", "m.wyd", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(RenameLibraryFile(lib + c.from, lib + c.to), c.ok) << c.from << " -> " << c.to;
  EXPECT_EQ(readFile(lib + "a.wyd"), "A");
  EXPECT_EQ(readFile(lib + "b.wyd"), "B");
  EXPECT_EQ(readFile(lib + "C.WYD"), "C");
  EXPECT_FALSE(RenameLibraryFile(lib + "a.wyd", other + "a.wyd"));  // never out of the directory
  EXPECT_TRUE(QFileInfo::exists(lib + "a.wyd"));
  EXPECT_TRUE(RenameLibraryFile(lib + "a.wyd", lib + "nowy.wyd"));
  EXPECT_EQ(readFile(lib + "nowy.wyd"), "A");
}

TEST_F(LibraryFilesTest, CopyPrintoutCopiesKeepingTheTime) {
  const QDateTime when(QDate(2022, 3, 4), QTime(5, 6, 7));
  writeFile(other + "r.wyd", printoutBytes(), when);
  ListScript none;
  EXPECT_TRUE(CopyPrintout(other + "r.wyd", lib));
  EXPECT_EQ(readFile(lib + "r.wyd"), printoutBytes());
  EXPECT_EQ(QFileInfo(lib + "r.wyd").lastModified(), when);
  EXPECT_TRUE(none.seen.isEmpty());
}

TEST_F(LibraryFilesTest, CopyPrintoutOfAFileAlreadyInTheLibraryAsksNothing) {
  writeFile(lib + "r.wyd", printoutBytes());
  ASSERT_TRUE(QFile::link(m_lib.path(), other + "alias"));
  ListScript none;
  EXPECT_TRUE(CopyPrintout(lib + "r.wyd", lib));
  // Another name of the same file must never be copied onto itself.
  EXPECT_TRUE(CopyPrintout(other + "alias/r.wyd", lib));
  EXPECT_EQ(readFile(lib + "r.wyd"), printoutBytes());
  EXPECT_TRUE(none.seen.isEmpty());
}

TEST_F(LibraryFilesTest, CopyPrintoutAsksBeforeOverwriting) {
  writeFile(lib + "r.WYD", printoutBytes("stary"));
  writeFile(other + "r.wyd", printoutBytes("nowy"));
  {
    ListScript script;
    script.no();
    EXPECT_FALSE(CopyPrintout(other + "r.wyd", lib));
    ASSERT_EQ(script.seen.size(), 1);
    // The library's file of that name, whatever the case of its extension.
    EXPECT_EQ(script.seen[0], "Potwierdź dokopiowanie pliku|Plik \"" + lib +
                                  "r.WYD\" już istnieje !\rCzy na pewno chcesz go pokryć ?");
  }
  EXPECT_EQ(readFile(lib + "r.WYD"), printoutBytes("stary"));
  {
    ListScript script;
    script.yes();
    EXPECT_TRUE(CopyPrintout(other + "r.wyd", lib));
  }
  EXPECT_EQ(readFile(lib + "r.WYD"), printoutBytes("nowy"));
  EXPECT_FALSE(QFileInfo::exists(lib + "r.wyd"));
}

// Under the destination's name: a dangling link, a link to another file
// outside, a link to a directory, a link to the source itself. Each is asked
// about; "Nie" changes nothing, "Tak" replaces the link with the copy, and
// nothing it pointed to is created or changed.
TEST_F(LibraryFilesTest, CopyPrintoutNeverWritesThroughALink) {
  writeFile(other + "r.wyd", printoutBytes("nowy"));
  writeFile(other + "cudzy", "cudzy");
  QDir().mkpath(other + "katalog");
  for (const QString& target : {other + "nowy", other + "cudzy", other + "katalog", other + "r.wyd"}) {
    QFile::remove(lib + "r.wyd");
    ASSERT_TRUE(QFile::link(target, lib + "r.wyd"));
    const QString question = "Potwierdź dokopiowanie pliku|Plik \"" + lib + "r.wyd\" już istnieje !\rCzy na pewno chcesz go pokryć ?";
    {
      ListScript script;
      script.no();
      EXPECT_FALSE(CopyPrintout(other + "r.wyd", lib));
      EXPECT_EQ(script.seen, QStringList{question});
    }
    EXPECT_TRUE(QFileInfo(lib + "r.wyd").isSymLink());
    {
      ListScript script;
      script.yes();
      EXPECT_TRUE(CopyPrintout(other + "r.wyd", lib)) << target.toStdString();
    }
    EXPECT_FALSE(QFileInfo(lib + "r.wyd").isSymLink());
    EXPECT_EQ(readFile(lib + "r.wyd"), printoutBytes("nowy"));
    EXPECT_FALSE(QFileInfo::exists(other + "nowy"));
    EXPECT_EQ(readFile(other + "cudzy"), "cudzy");
    EXPECT_TRUE(QDir(other + "katalog").isEmpty());
    EXPECT_EQ(readFile(other + "r.wyd"), printoutBytes("nowy"));
  }
}

// In a library shared with its group, a new printout is the group's to
// change, as those there at installation are.
TEST_F(LibraryFilesTest, CopyIntoASharedLibraryIsTheGroupsToChange) {
  writeFile(other + "r.wyd", printoutBytes());
  ASSERT_EQ(::chmod(QFile::encodeName(m_lib.path()).constData(), 02775), 0);
  ListScript none;
  ASSERT_TRUE(CopyPrintout(other + "r.wyd", lib));
  struct stat st {};
  ASSERT_EQ(::stat(QFile::encodeName(lib + "r.wyd").constData(), &st), 0);
  EXPECT_EQ(st.st_mode & 0060, 0060u);
}

// A hidden printout file copied in gets a name the list shows.
TEST_F(LibraryFilesTest, CopyPrintoutOfAHiddenFileMakesItVisible) {
  writeFile(other + ".ukryty.wyd", printoutBytes("u"));
  writeFile(other + ".wyd", printoutBytes("p"));
  ListScript none;
  EXPECT_TRUE(CopyPrintout(other + ".ukryty.wyd", lib));
  EXPECT_TRUE(CopyPrintout(other + ".wyd", lib));
  EXPECT_EQ(QDir(lib).entryList(QDir::Files | QDir::Hidden, QDir::Name), (QStringList{"bez nazwy.wyd", "ukryty.wyd"}));
  EXPECT_EQ(PrintoutDestination(other + ".ukryty.wyd", lib), lib + "ukryty.wyd");
}

TEST_F(LibraryFilesTest, CopyPrintoutFailures) {
  writeFile(other + "zly.wyd", "ZOREL2001\x06Inny__");
  writeFile(other + "krotki.wyd", "ZOR");
  writeFile(other + "d.wyd", printoutBytes());
  ASSERT_TRUE(QDir().mkdir(lib + "d.wyd"));  // a destination that cannot be written
  ListScript script;
  script.ok().ok().yes().ok();
  EXPECT_FALSE(CopyPrintout(other + "zly.wyd", lib));
  EXPECT_FALSE(CopyPrintout(other + "krotki.wyd", lib));
  EXPECT_FALSE(CopyPrintout(other + "d.wyd", lib));
  EXPECT_EQ(script.seen, (QStringList{
                             "Błąd|Plik: \"" + other + "zly.wyd\"\rnie jest wydrukiem Zorela !",
                             "Błąd|Plik: \"" + other + "krotki.wyd\"\rnie jest wydrukiem Zorela !",
                             "Potwierdź dokopiowanie pliku|Plik \"" + lib +
                                 "d.wyd\" już istnieje !\rCzy na pewno chcesz go pokryć ?",
                             "Bład !|Nie udało się skopiować pliku:\r" + other + "d.wyd\rdo: " + lib + "d.wyd",
                         }));
  EXPECT_TRUE(QFileInfo(lib + "d.wyd").isDir());
  EXPECT_TRUE(QDir(lib).entryList(QDir::Files | QDir::Hidden).isEmpty());  // no temporary left behind
  ASSERT_EQ(::mkfifo((other + "pipe.wyd").toLocal8Bit().constData(), 0644), 0);
  EXPECT_THROW(CopyPrintout(other + "pipe.wyd", lib), EFOpenError);
  EXPECT_THROW(CopyPrintout(other + "brak.wyd", lib), EFOpenError);
}

}  // namespace
}  // namespace zorpokaz
