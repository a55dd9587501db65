// Root starts the viewer only where nobody else can have put a file Qt reads
// on its own (qt.conf, qt6.conf, plugins in subdirectories), so no user of a
// shared library can make root run their code through it.
#include "library/rootstart.h"
#include "support/cirequire.h"
#include "support/testfiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <functional>

namespace zorpokaz {
namespace {

using testfiles::writeFile;

constexpr uid_t kOther = 54321;  // a user id no account has

class RootStart : public ::testing::Test {
 protected:
  void SetUp() override {
    ZP_REQUIRE(fixtures::RootMissing("the checks apply to root only"));
    dir = m_tmp.path() + "/Zor Pokaz/";
    QDir().mkpath(dir);
    writeFile(dir + "zorpokaz", "x");
    writeFile(dir + "faktura.wyd", "w");
  }
  static void chmodPath(const QString& path, mode_t mode) {
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0) << path.toStdString();
  }
  static void chownPath(const QString& path, uid_t uid) {
    ASSERT_EQ(::lchown(QFile::encodeName(path).constData(), uid, static_cast<gid_t>(-1)), 0) << path.toStdString();
  }
  QTemporaryDir m_tmp;
  QString dir;
};

TEST_F(RootStart, EveryWayAnotherUserCouldPlantWhatQtReads) {
  const QString shared = "ZorPokaz: katalog " + dir.chopped(1) + " mogą zmieniać inni użytkownicy";
  auto entry = [&](const char* name) {
    return "ZorPokaz: w katalogu " + dir.chopped(1) + " jest \"" + name + "\", który mogą zmieniać inni użytkownicy";
  };
  const QString refused = "; jako administrator (root) program się w nim nie uruchomi.";
  struct Case {
    const char* what;
    std::function<void()> setUp;
    QString refusal;
  } cases[] = {
      {"root's directory, printouts only", [] {}, ""},
      {"root's own qt.conf and plugin directory", [&] { writeFile(dir + "qt.conf", "[Paths]\n"), QDir().mkpath(dir + "styles"); }, ""},
      {"a dangling link", [&] { QFile::link(dir + "none", dir + "x.wyd"); }, ""},
      {"shared with the group", [&] { chmodPath(dir, 02775); }, shared},
      {"another owner", [&] { chownPath(dir, kOther); }, shared},
      {"a parent others may change", [&] { chmodPath(m_tmp.path(), 0777); }, shared},
      {"qt.conf of another user", [&] { writeFile(dir + "qt.conf", "x"), chownPath(dir + "qt.conf", kOther); }, entry("qt.conf")},
      {"qt6.conf anyone may write", [&] { writeFile(dir + "qt6.conf", "x"), chmodPath(dir + "qt6.conf", 0666); }, entry("qt6.conf")},
      {"qt.conf as a dangling link", [&] { QFile::link(dir + "none", dir + "qt.conf"); }, entry("qt.conf")},
      {"a plugin directory of another user", [&] { QDir().mkpath(dir + "platforms"), chownPath(dir + "platforms", kOther); }, entry("platforms")},
      {"a link to a directory others may write", [&] { QDir().mkpath(m_tmp.path() + "/w"), chmodPath(m_tmp.path() + "/w", 0777), QFile::link(m_tmp.path() + "/w", dir + "platformthemes"); }, entry("platformthemes")},
  };
  for (const Case& c : cases) {
    for (const QString extra : {"qt.conf", "qt6.conf", "x.wyd", "platforms", "platformthemes", "styles"}) {
      QFile::remove(dir + extra);
      QDir(dir + extra).removeRecursively();
    }
    chmodPath(dir, 0755);
    chmodPath(m_tmp.path(), 0700);
    chownPath(dir, 0);
    c.setUp();
    EXPECT_EQ(RootStartRefusal(dir, false), c.refusal.isEmpty() ? QString() : c.refusal + refused) << c.what;
  }
  QDir(m_tmp.path() + "/w").removeRecursively();
}

// INST and UNINST close a shared library first; then it is root's alone.
TEST_F(RootStart, InstallationClosesASharedLibraryFirst) {
  chmodPath(dir, 02775);
  EXPECT_EQ(RootStartRefusal(dir, true), QString());
  struct stat st {};
  ASSERT_EQ(::stat(QFile::encodeName(dir).constData(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 02755u);
}

}  // namespace
}  // namespace zorpokaz
