// The installed library as a member of the users group meets it: every
// printout can be renamed, deleted and changed, root's too, but the viewer
// that root runs can never be replaced, moved or changed. The member is a
// real unprivileged process (its own user id, the users group), trying what
// an attacker would.
#include "install/directoryrights.h"
#include "library/install.h"
#include "platform/errors.h"
#include "scratchtree.h"

#include <QProcess>
#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace zorpokaz {
namespace {

using installtest::immutableSupported;
using installtest::readFile;
using installtest::ScratchTree;
using installtest::writeFile;

// A user id no account has: the kernel checks only ids and groups.
constexpr uid_t kMember = 54321;

gid_t usersGid() {
  const group* g = getgrnam(kUsersGroup);
  return g ? g->gr_gid : static_cast<gid_t>(-1);
}

mode_t modeOf(const QString& path) {
  struct stat st {};
  lstat(QFile::encodeName(path).constData(), &st);
  return st.st_mode;
}

// Runs `act` as the member (its own ids, supplementary group users) in a
// child process; the result is 0 when every step `act` took succeeded,
// otherwise the errno of the first that failed. Only system calls run there.
int asMember(const std::function<int()>& act) {
  const gid_t users = usersGid();
  const pid_t pid = fork();
  if (pid == 0) {
    if (setgroups(1, &users) != 0 || setresgid(users, users, users) != 0 ||
        setresuid(kMember, kMember, kMember) != 0)
      _exit(200);
    _exit(act());
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int errorOf(int result) { return result == 0 ? 0 : errno; }

class Rights : public ::testing::Test {
 protected:
  void SetUp() override {
    ZP_REQUIRE_ROOT();
    ASSERT_NE(usersGid(), static_cast<gid_t>(-1)) << "no users group";
    // A member must reach the tree to act in it.
    ASSERT_EQ(chmod(QFile::encodeName(tree.root).constData(), 0755), 0);
    writeFile(tree.exe, "#!/bin/sh\necho viewer\n");
    chmod(QFile::encodeName(tree.exe).constData(), 0755);
    for (const char* name : {"faktura.wyd", "stary.WYD", "zmien.wyd"}) writeFile(tree.programDir + name, "root's");
  }
  QByteArray path(const char* name) const { return QFile::encodeName(tree.programDir + name); }

  ScratchTree tree;
};

TEST_F(Rights, MembersChangeEveryPrintoutButNeverTheViewer) {
  const bool immutable = immutableSupported(tree.root);
  const ViewerProtection protection = ShareLibrary(tree.programDir, tree.exe);
  EXPECT_EQ(protection, immutable ? ViewerProtection::Immutable : ViewerProtection::Sticky);
  EXPECT_EQ(modeOf(tree.programDir) & 07070, S_ISGID | 0070 | (immutable ? 0 : S_ISVTX));

  const QByteArray exe = path("zorpokaz"), faktura = path("faktura.wyd"), renamed = path("nowa.wyd"),
                   stary = path("stary.WYD"), zmien = path("zmien.wyd"), own = path("moj.wyd"),
                   aside = path("odlozony");
  // Adding a printout of their own works in either case.
  EXPECT_EQ(asMember([&] {
              const int fd = open(own.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
              return fd < 0 ? errno : (close(fd), 0);
            }),
            0);
  // Root's printouts: the content is the group's to change; renaming and
  // deleting them is only possible without the sticky bit.
  EXPECT_EQ(asMember([&] {
              const int fd = open(zmien.constData(), O_WRONLY | O_TRUNC);
              return fd < 0 ? errno : (close(fd), 0);
            }),
            0);
  const int renameRoots = asMember([&] { return errorOf(rename(faktura.constData(), renamed.constData())); });
  const int deleteRoots = asMember([&] { return errorOf(unlink(stary.constData())); });
  EXPECT_EQ(renameRoots, immutable ? 0 : EPERM);
  EXPECT_EQ(deleteRoots, immutable ? 0 : EPERM);
  EXPECT_EQ(QFileInfo::exists(tree.programDir + "nowa.wyd"), immutable);
  EXPECT_EQ(QFileInfo::exists(tree.programDir + "stary.WYD"), !immutable);

  // The viewer: not moved aside, not deleted, not replaced by a file of
  // theirs, not written, not given other rights.
  EXPECT_NE(asMember([&] { return errorOf(rename(exe.constData(), aside.constData())); }), 0);
  EXPECT_NE(asMember([&] { return errorOf(unlink(exe.constData())); }), 0);
  EXPECT_NE(asMember([&] { return errorOf(rename(own.constData(), exe.constData())); }), 0);
  EXPECT_NE(asMember([&] {
              const int fd = open(exe.constData(), O_WRONLY);
              return fd < 0 ? errno : (close(fd), 0);
            }),
            0);
  EXPECT_NE(asMember([&] { return errorOf(chmod(exe.constData(), 0777)); }), 0);
  EXPECT_EQ(readFile(tree.exe), "#!/bin/sh\necho viewer\n");
  EXPECT_EQ(modeOf(tree.exe) & 07777, 0755u);
}

// The executable must be the viewer root is running (or, for a package's
// scripts, root's own file); otherwise the directory is never opened to the
// group, so nothing a member put there can be protected and then run.
TEST_F(Rights, ADirectoryWithAForeignViewerStaysClosed) {
  writeFile(tree.root + "/other", "x");
  EXPECT_THROW(ShareLibrary(tree.programDir, tree.root + "/other"), Error);
  EXPECT_EQ(modeOf(tree.programDir) & 0022, 0u);
  ASSERT_EQ(chown(path("zorpokaz").constData(), kMember, usersGid()), 0);
  EXPECT_THROW(ShareLibrary(tree.programDir, QString()), Error);
  EXPECT_EQ(modeOf(tree.programDir) & 0022, 0u);
  QFile::remove(tree.exe);
  EXPECT_THROW(ShareLibrary(tree.programDir, QString()), Error);
  EXPECT_EQ(modeOf(tree.programDir) & 0022, 0u);
  // A link in the viewer's place is never taken for it.
  ASSERT_EQ(symlink("/bin/sh", path("zorpokaz").constData()), 0);
  EXPECT_THROW(ShareLibrary(tree.programDir, QStringLiteral("/bin/sh")), Error);
  EXPECT_EQ(modeOf(tree.programDir) & 0022, 0u);
}

// The way an update and a removal go: released, the directory is closed to
// the group and root may replace the viewer; shared again, it is protected.
TEST_F(Rights, ReleasedForAnUpdateAndSharedAgain) {
  ShareLibrary(tree.programDir, tree.exe);
  ASSERT_TRUE(ReleaseViewer(tree.programDir));
  EXPECT_EQ(modeOf(tree.programDir) & 0022, 0u);
  const QByteArray own = path("moj.wyd");
  EXPECT_EQ(asMember([&] {
              const int fd = open(own.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
              return fd < 0 ? errno : (close(fd), 0);
            }),
            EACCES);
  writeFile(tree.root + "/new", "#!/bin/sh\necho new\n");
  ASSERT_EQ(rename(QFile::encodeName(tree.root + "/new").constData(), path("zorpokaz").constData()), 0);
  EXPECT_EQ(ShareLibrary(tree.programDir, tree.exe), ShareLibrary(tree.programDir, tree.exe));
  EXPECT_EQ(modeOf(tree.programDir) & 0070, 0070u);
  EXPECT_EQ(readFile(tree.exe), "#!/bin/sh\necho new\n");
  EXPECT_FALSE(ReleaseViewer(tree.root + "/none"));
}

// What a package's maintainer scripts run: the same rights from the command
// line, for an executable that belongs to root.
TEST_F(Rights, CommandLineSharesAndReleases) {
  const QString cli = QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../src/zorpokaz-cli");
  QProcess p;
  p.start(cli, {"rights", tree.programDir});
  ASSERT_TRUE(p.waitForFinished(60000));
  EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
  EXPECT_EQ(QString::fromUtf8(p.readAllStandardOutput()),
            tree.programDir + (immutableSupported(tree.root)
                                   ? ": shared with the users group, the viewer immutable\n"
                                   : ": shared with the users group, sticky (no immutable attribute here)\n"));
  EXPECT_EQ(modeOf(tree.programDir) & 0070, 0070u);
  p.start(cli, {"rights", "--release", tree.programDir});
  ASSERT_TRUE(p.waitForFinished(60000));
  EXPECT_EQ(p.exitCode(), 0);
  EXPECT_EQ(modeOf(tree.programDir) & 0022, 0u);
  EXPECT_TRUE(QFile::remove(tree.exe));
  p.start(cli, {"rights", tree.programDir});
  ASSERT_TRUE(p.waitForFinished(60000));
  EXPECT_EQ(p.exitCode(), 2);
  EXPECT_EQ(p.readAllStandardError(), "No viewer in " + QFile::encodeName(tree.programDir) + "\n");
}

}  // namespace
}  // namespace zorpokaz
