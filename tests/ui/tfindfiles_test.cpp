#include "ui/tfindfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace zorpokaz {
namespace {

void touch(const QString& path, const QDateTime& modified = {}) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
  f.write("x");
  f.close();
  if (modified.isValid()) {
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(modified, QFileDevice::FileModificationTime));
  }
}

QStringList relPaths(const TFileList& list) {
  QStringList out;
  for (const auto& f : list) out << f->relPath();
  return out;
}

class FindFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_tmp.isValid());
    m_root = m_tmp.path() + "/";
  }
  QString path(const QString& rel) const { return m_root + rel; }
  void mkdir(const QString& rel) { ASSERT_TRUE(QDir().mkpath(path(rel))); }

  QTemporaryDir m_tmp;
  QString m_root;
};

TEST(FindFilesMask, WindowsStyleMasks) {
  struct Case {
    const char* name;
    const char* mask;
    bool match;
  } cases[] = {
      {"a.wyd", "*.wyd", true},      {"x.WYD", "*.wyd", true},      {"X.Wyd", "*.WYD", true},
      {"a.wydx", "*.wyd", false},    {"a.wyd.bak", "*.wyd", false}, {"wyd", "*.wyd", false},
      {"noext", "*.*", true},        {"a.b.c", "*.*", true},        {"noext", "noext.*", true},
      {"noext.txt", "noext.*", true}, {"ab.wyd", "?b.WYD", true},   {"b.wyd", "?b.wyd", false},
      {"raport 1.wyd", "r*1*", true}, {"Łódź.wyd", "łÓDŹ.*", true}, {"a.wyd", " *.wyd", false},
      {"aaaaaaaaaaaaaaaaaaaaaaaaaaaaab", "*a*a*a*a*a*a*a*a*a*c", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TFindFiles::MatchesMask(QString::fromUtf8(c.name), QString::fromUtf8(c.mask)), c.match)
        << c.name << " ~ " << c.mask;
}

TEST_F(FindFilesTest, TwoMasksInOnePassWydFirstInEachDirectory) {
  mkdir("sub");
  for (const char* f : {"b.exe", "a.WYD", "c.txt", "sub/p.EXE", "sub/q.wyd"}) touch(path(f));
  TFindFiles ff;
  ff.Directory = m_tmp.path();
  ff.Mask = "*.WYD;*.EXE";
  ff.Recurse = true;
  ff.Execute();
  EXPECT_EQ(relPaths(ff.FoundFiles), (QStringList{"a.WYD", "b.exe", "sub/q.wyd", "sub/p.EXE"}));
  const TFileObj& q = ff.FoundFiles[2];
  EXPECT_EQ(q.rootDir, m_root);
  EXPECT_EQ(q.relDir, "sub/");
  EXPECT_EQ(q.fullDir, m_root + "sub/");
  EXPECT_EQ(q.name, "q");
  EXPECT_EQ(q.ext, ".wyd");
  EXPECT_EQ(q.fullPath(), m_root + "sub/q.wyd");
  EXPECT_EQ(q.size, 1);
}

TEST_F(FindFilesTest, AFileMatchingTwoMasksIsAddedTwice) {
  touch(path("a.wyd"));
  TFindFiles ff;
  ff.Directory = m_root;
  ff.Mask = "*.wyd;a.*";
  ff.Execute();
  EXPECT_EQ(relPaths(ff.FoundFiles), (QStringList{"a.wyd", "a.wyd"}));
}

TEST_F(FindFilesTest, AttributeModes) {
  mkdir("dir");
  mkdir(".hiddendir");
  touch(path("plain.wyd"));
  touch(path(".hidden.wyd"));
  touch(path("ro.wyd"));
  ASSERT_TRUE(QFile::setPermissions(path("ro.wyd"), QFile::ReadOwner | QFile::ReadGroup));
  struct Case {
    const char* what;
    TFindMode readOnly, hidden, directory, archive;
    QStringList expected;
  } cases[] = {
      {"defaults: hidden left out, read-only kept", TFindMode::fmNo, TFindMode::fmNo, TFindMode::fmNo,
       TFindMode::fmDontCare, {"plain.wyd", "ro.wyd"}},
      {"read-only only", TFindMode::fmYes, TFindMode::fmNo, TFindMode::fmNo, TFindMode::fmDontCare,
       {"ro.wyd"}},
      {"hidden allowed", TFindMode::fmNo, TFindMode::fmDontCare, TFindMode::fmNo, TFindMode::fmDontCare,
       {".hidden.wyd", "plain.wyd", "ro.wyd"}},
      {"hidden only", TFindMode::fmNo, TFindMode::fmYes, TFindMode::fmNo, TFindMode::fmDontCare,
       {".hidden.wyd"}},
      {"directories only", TFindMode::fmNo, TFindMode::fmNo, TFindMode::fmYes, TFindMode::fmNo, {"dir"}},
      {"hidden directories too", TFindMode::fmNo, TFindMode::fmDontCare, TFindMode::fmYes, TFindMode::fmNo,
       {".hiddendir", "dir"}},
      {"nothing requested", TFindMode::fmNo, TFindMode::fmNo, TFindMode::fmNo, TFindMode::fmNo, {}},
  };
  for (const auto& c : cases) {
    TFindFiles ff;
    ff.Directory = m_root;
    ff.aReadOnly = c.readOnly;
    ff.aHidden = c.hidden;
    ff.aDirectory = c.directory;
    ff.aArchive = c.archive;
    ff.Execute();
    EXPECT_EQ(relPaths(ff.FoundFiles), c.expected) << c.what;
  }
  TFindFiles ff;
  ff.Directory = m_root;
  ff.Mask = "ro.*";
  ff.Execute();
  ASSERT_EQ(ff.FoundFiles.count(), 1);
  EXPECT_TRUE(ff.FoundFiles[0].has(faReadOnly));
  EXPECT_TRUE(ff.FoundFiles[0].has(faArchive));
  EXPECT_FALSE(ff.FoundFiles[0].has(faSystem));
}

TEST_F(FindFilesTest, StopAtTheThirdFileKeepsThreeAndAborts) {
  for (const char* f : {"1.wyd", "2.wyd", "3.wyd", "4.wyd", "5.wyd"}) touch(path(f));
  TFindFiles ff;
  ff.Directory = m_root;
  int seen = 0;
  ff.OnAddFile = [&](TFileObj&, bool&, bool& stop) { stop = ++seen == 3; };
  EXPECT_THROW(ff.Execute(), EAbort);
  EXPECT_EQ(relPaths(ff.FoundFiles), (QStringList{"1.wyd", "2.wyd", "3.wyd"}));
}

TEST_F(FindFilesTest, RefusedOrFailingEntriesAreDroppedAndTheSearchGoesOn) {
  for (const char* f : {"a.wyd", "b.wyd", "c.wyd", "d.wyd"}) touch(path(f));
  TFindFiles ff;
  ff.Directory = m_root;
  ff.OnAddFile = [](TFileObj& f, bool& accept, bool&) {
    if (f.name == "a") accept = false;
    if (f.name == "c") throw Error("broken");
  };
  ff.Execute();
  EXPECT_EQ(relPaths(ff.FoundFiles), (QStringList{"b.wyd", "d.wyd"}));
}

TEST_F(FindFilesTest, RecursiveProgressNeverGoesBackAndEndsAt100) {
  for (const char* d : {"a/x/y", "a/z", "b", "c/d/e/f", ".h"}) mkdir(d);
  touch(path("c/d/e/f/deep.wyd"));
  TFindFiles ff;
  ff.Directory = m_root;
  ff.Recurse = true;
  std::vector<int> values;
  QStringList dirs;
  ff.OnProgress = [&](int p, const QString& dir, bool&) {
    values.push_back(p);
    dirs << dir;
  };
  ff.Execute();
  ASSERT_EQ(values.size(), 12u);  // root + 10 directories + the final call
  EXPECT_EQ(values.front(), 0);
  EXPECT_EQ(values.back(), 100);
  EXPECT_TRUE(std::is_sorted(values.begin(), values.end()));
  EXPECT_EQ(dirs.front(), m_root);
  EXPECT_EQ(dirs.back(), QString());
  // Breadth first: every first-level directory before any deeper one.
  EXPECT_LT(dirs.indexOf(m_root + "b/"), dirs.indexOf(m_root + "a/x/"));
  EXPECT_EQ(relPaths(ff.FoundFiles), QStringList{"c/d/e/f/deep.wyd"});
}

TEST_F(FindFilesTest, StopFromProgressAborts) {
  mkdir("a");
  touch(path("a/x.wyd"));
  TFindFiles ff;
  ff.Directory = m_root;
  ff.Recurse = true;
  ff.OnProgress = [&](int, const QString& dir, bool& stop) { stop = dir.endsWith("a/"); };
  EXPECT_THROW(ff.Execute(), EAbort);
  EXPECT_EQ(ff.FoundFiles.count(), 0);
}

TEST_F(FindFilesTest, ErrorsAndTheCurrentDirectoryIsNeverChanged) {
  const QString cwd = QDir::currentPath();
  TFindFiles ff;
  auto message = [&] {
    try {
      ff.Execute();
    } catch (const EFindFilesError& e) {
      return std::string(e.what());
    }
    return std::string("no error");
  };
  EXPECT_EQ(message(), "Missing \"Directory\" property");
  ff.Directory = m_root + "missing";
  ff.Mask = "";
  EXPECT_EQ(message(), "Missing \"Mask\" property");
  ff.Mask = "*.wyd";
  EXPECT_EQ(message(), "Can not access the directory \"" + (m_root + "missing").toStdString() + "\".");
  touch(path("file.wyd"));
  ff.Directory = path("file.wyd");
  EXPECT_EQ(message(), "Can not access the directory \"" + path("file.wyd").toStdString() + "\".");
  EXPECT_EQ(QDir::currentPath(), cwd);

  // A relative start directory is taken from the current one and expanded.
  ASSERT_TRUE(QDir::setCurrent(m_root));
  ff.Directory = ".";
  ff.Execute();
  ASSERT_TRUE(QDir::setCurrent(cwd));
  ASSERT_EQ(ff.FoundFiles.count(), 1);
  EXPECT_EQ(ff.FoundFiles[0].rootDir, QDir(m_root).canonicalPath() + "/");
}

TEST_F(FindFilesTest, LinksLoopsAndSpecialFilesNeverTrapTheWalk) {
  mkdir("a");
  touch(path("a/x.wyd"));
  ASSERT_TRUE(QFile::link(path("a"), path("a/loop")));
  ASSERT_TRUE(QFile::link(path("nowhere.wyd"), path("dangling.wyd")));
  ASSERT_EQ(::mkfifo(path("pipe.wyd").toLocal8Bit().constData(), 0644), 0);
  TFindFiles ff;
  ff.Directory = m_root;
  ff.Recurse = true;
  ff.aDirectory = TFindMode::fmDontCare;
  ff.Execute();
  EXPECT_EQ(relPaths(ff.FoundFiles), (QStringList{"a", "a/loop", "a/x.wyd"}));
}

TEST_F(FindFilesTest, SortKeys) {
  const QDateTime t0(QDate(2023, 5, 1), QTime(12, 0));
  touch(path("b.wyd"), t0);
  touch(path("A.wyd"), t0.addSecs(120));
  touch(path("c.wyd"), t0.addSecs(60));
  TFindFiles ff;
  ff.Directory = m_root;
  ff.Execute();
  auto names = [&] {
    QStringList out;
    for (const auto& f : ff.FoundFiles) out << f->name;
    return out;
  };
  ff.FoundFiles.sort(TFileList::skModified);
  EXPECT_EQ(names(), (QStringList{"b", "c", "A"}));
  ff.FoundFiles.sort(TFileList::skPathNoCase);
  EXPECT_EQ(names(), (QStringList{"A", "b", "c"}));
  ff.FoundFiles.sort(7);
  EXPECT_EQ(names(), (QStringList{"A", "b", "c"}));
  EXPECT_EQ(ff.FoundFiles[2].modified, t0.addSecs(60));
}

}  // namespace
}  // namespace zorpokaz
