#include "install/removalscript.h"
#include "platform/errors.h"
#include "scratchtree.h"

#include <QDirIterator>
#include <QProcess>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zorpokaz {
namespace {

using installtest::readFile;
using installtest::ScratchTree;
using installtest::writeFile;

// Runs the script as the viewer's exit would let it run: standard input at
// its end at once.
int runScript(const QString& script, const QString& cwd) {
  QProcess sh;
  sh.setWorkingDirectory(cwd);
  sh.setStandardInputFile(QProcess::nullDevice());
  sh.start(QStringLiteral("/bin/sh"), {script});
  sh.waitForFinished(-1);
  EXPECT_EQ(sh.readAllStandardError(), QByteArray()) << script.toStdString();
  return sh.exitCode();
}

QString writeScript(const ScratchTree& tree, const QString& programDir) {
  const QString script = tree.root + "/tmp/ZorPokazRemove.sh";
  RemovalScript::Write(script, RemovalScript::Text(programDir, script));
  return script;
}

void fillProgramDir(const QString& dir, const QStringList& extra = {}) {
  QDir().mkpath(dir);
  for (const QString& name : QStringList{"zorpokaz", "a.wyd", "B.WYD", "c d.Wyd"} + extra)
    ASSERT_TRUE(writeFile(dir + name, "x")) << (dir + name).toStdString();
}

TEST(RemovalScript, TextQuotesEveryPath) {
  const QByteArray text = RemovalScript::Text(QStringLiteral("/opt/it's $x/"), QStringLiteral("/tmp/a b/ZorPokazRemove.sh"));
  EXPECT_EQ(text,
            "#!/bin/sh\n"
            "# Removes the ZorPokaz viewer once it has ended.\n"
            "cat >/dev/null\n"
            "if cd -P -- '/opt/it'\\''s $x' && [ \"$(pwd -P)\" = '/opt/it'\\''s $x' ]; then\n"
            "  rm -f -- ./'zorpokaz'\n"
            "  for f in ./*.[Ww][Yy][Dd] ./.zorpokaz-??????; do\n"
            "    if [ -f \"$f\" ] || [ -L \"$f\" ]; then rm -f -- \"$f\"; fi\n"
            "  done\n"
            "  cd / && rmdir -- '/opt/it'\\''s $x' 2>/dev/null\n"
            "fi\n"
            "rm -f -- '/tmp/a b/ZorPokazRemove.sh'\n");
}

// Directory names that would run commands or split words if a path were
// left unquoted anywhere in the script.
TEST(RemovalScript, DeletesProgramAndPrintoutsOfAnyDirectoryNameAndNothingElse) {
  const QStringList names = {"Zor Pokaz", "it's", "say \"hi\"", "$(touch PWNED)", "`touch PWNED`",
                             "$HOME", "a;b&c|d", "back\\slash", "line\nbreak", "*", "-rf", "zażółć"};
  for (const QString& name : names) {
    ScratchTree tree;
    const QString dir = tree.root + "/" + name + "/";
    fillProgramDir(dir);
    writeFile(tree.root + "/outside.wyd", "keep");  // a printout next to, not in, the directory
    writeFile(tree.root + "/zorpokaz", "keep");
    const QString script = writeScript(tree, dir);
    EXPECT_EQ(runScript(script, tree.root), 0) << name.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir)) << name.toStdString() << ": emptied directory stays";
    EXPECT_FALSE(QFileInfo::exists(script)) << name.toStdString();
    EXPECT_EQ(readFile(tree.root + "/outside.wyd"), "keep") << name.toStdString();
    EXPECT_EQ(readFile(tree.root + "/zorpokaz"), "keep") << name.toStdString();
    QDirIterator all(tree.root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System,
                     QDirIterator::Subdirectories);
    while (all.hasNext())
      EXPECT_NE(QFileInfo(all.next()).fileName(), "PWNED") << name.toStdString() << " ran a command";
  }
}

// Exactly what the program can have written goes: printouts under visible
// names and the temporary file of a copy cut short. Hidden files named like
// printouts are not the program's (it never makes one) and stay.
TEST(RemovalScript, ForeignFilesKeepTheDirectory) {
  ScratchTree tree;
  const QString dir = tree.root + "/Zor Pokaz/";
  fillProgramDir(dir, {"notatki.txt", "zorpokaz.wyd.bak", ".WYD", "..WYD", ".ukryty.wyd", ".zorpokaz-a1B2c3"});
  QDir().mkpath(dir + "podkatalog.wyd");  // a directory named like a printout
  writeFile(tree.root + "/cel", "target");
  ASSERT_EQ(symlink(QFile::encodeName(tree.root + "/cel").constData(), QFile::encodeName(dir + "link.wyd").constData()), 0);
  EXPECT_EQ(runScript(writeScript(tree, dir), tree.root), 0);
  QStringList left = QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System | QDir::Hidden);
  left.sort();
  EXPECT_EQ(left, QStringList({"..WYD", ".WYD", ".ukryty.wyd", "notatki.txt", "podkatalog.wyd", "zorpokaz.wyd.bak"}));
  EXPECT_EQ(readFile(tree.root + "/cel"), "target");  // the link went, not what it pointed to
}

TEST(RemovalScript, DirectorySwappedForALinkIsLeftAlone) {
  ScratchTree tree;
  const QString dir = tree.root + "/Swapped/";
  const QString elsewhere = tree.root + "/elsewhere/";
  fillProgramDir(elsewhere);
  const QString script = writeScript(tree, dir);
  ASSERT_EQ(symlink(QFile::encodeName(elsewhere).constData(), QFile::encodeName(tree.root + "/Swapped").constData()), 0);
  EXPECT_EQ(runScript(script, tree.root), 0);
  EXPECT_EQ(QDir(elsewhere).entryList(QDir::Files).size(), 4);
  EXPECT_FALSE(QFileInfo::exists(script));
}

TEST(RemovalScript, WriteReplacesAnEarlierFileAndNeverFollowsALink) {
  ScratchTree tree;
  const QString script = tree.root + "/tmp/ZorPokazRemove.sh";
  writeFile(tree.root + "/victim", "victim");
  ASSERT_EQ(symlink(QFile::encodeName(tree.root + "/victim").constData(), QFile::encodeName(script).constData()), 0);
  RemovalScript::Write(script, "one\n");
  EXPECT_EQ(readFile(tree.root + "/victim"), "victim");
  EXPECT_FALSE(QFileInfo(script).isSymLink());
  RemovalScript::Write(script, "two\n");
  EXPECT_EQ(readFile(script), "two\n");
  struct stat st {};
  ASSERT_EQ(stat(QFile::encodeName(script).constData(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0700u);
  EXPECT_THROW(RemovalScript::Write(tree.root + "/no such dir/x.sh", "x"), Error);
}

TEST(RemovalScript, StartedScriptWaitsForTheViewerThenRemoves) {
  ScratchTree tree;
  fillProgramDir(tree.programDir);
  const QString script = writeScript(tree, tree.programDir);
  pid_t pid = -1;
  {
    RemovalScript started = RemovalScript::Start(script);
    pid = started.pid();
    usleep(100 * 1000);
    int status = 0;
    EXPECT_EQ(waitpid(pid, &status, WNOHANG), 0) << "the script did not wait for the viewer";
    EXPECT_TRUE(QFileInfo::exists(tree.exe));
  }  // the viewer lets go
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_FALSE(QFileInfo::exists(tree.programDir));
  EXPECT_FALSE(QFileInfo::exists(script));
}

}  // namespace
}  // namespace zorpokaz
