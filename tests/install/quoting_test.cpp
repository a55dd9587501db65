#include "install/freedesktop.h"
#include "install/shellquote.h"
#include "install/userdirs.h"
#include "scratchtree.h"

#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include "support/cirequire.h"

namespace zorpokaz {
namespace {

using installtest::ScratchTree;

// Names a directory may have that a careless quoting would run or split.
const QStringList kNastyNames = {
    QStringLiteral("plain"),
    QStringLiteral("with space"),
    QStringLiteral("it's"),
    QStringLiteral("say \"hi\""),
    QStringLiteral("$(touch PWNED)"),
    QStringLiteral("`touch PWNED`"),
    QStringLiteral("${HOME}$PATH"),
    QStringLiteral("back\\slash\\"),
    QStringLiteral("semi;colon&amp|pipe>out<in"),
    QStringLiteral("line\nbreak\ttab"),
    QStringLiteral("100% -- *.wyd ~ !x"),
    QStringLiteral("zażółć gęślą jaźń"),
    QStringLiteral("'\"'$'\\'`'"),
};

QByteArray shellEcho(const QString& quoted, const QString& dir) {
  QProcess sh;
  sh.setWorkingDirectory(dir);
  sh.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("printf '%s' ") + quoted});
  sh.waitForFinished(-1);
  return sh.readAllStandardOutput();
}

TEST(Quoting, EveryNameReachesTheShellAsOneLiteralWord) {
  ScratchTree tree;
  for (const QString& name : kNastyNames) {
    const QByteArray expected = QFile::encodeName(name);
    EXPECT_EQ(shellEcho(ShellQuote(name), tree.root), expected) << name.toStdString();
    EXPECT_EQ(shellEcho(DoubleQuote(name), tree.root), expected) << name.toStdString();
  }
  EXPECT_FALSE(QFile::exists(tree.root + "/PWNED")) << "a quoted name ran a command";
}

TEST(Quoting, DesktopExecEscapesQuotesPercentAndKeyFileCharacters) {
  struct Case {
    const char* exe;
    const char* fieldCodes;
    const char* exec;
  } cases[] = {
      {"/opt/ZorPokaz/zorpokaz", "%f", R"("/opt/ZorPokaz/zorpokaz" %f)"},
      {"/opt/Zor Pokaz/zorpokaz", "%f", R"("/opt/Zor Pokaz/zorpokaz" %f)"},
      {"/opt/a\"b/zorpokaz", "", R"("/opt/a\\"b/zorpokaz")"},
      {"/opt/$x`y`/zorpokaz", "", R"("/opt/\\$x\\`y\\`/zorpokaz")"},
      {"/opt/a\\b/zorpokaz", "", R"("/opt/a\\\\b/zorpokaz")"},
      {"/opt/100%/zorpokaz", "%f", R"("/opt/100%%/zorpokaz" %f)"},
      {"/opt/a\nb/zorpokaz", "", R"("/opt/a\nb/zorpokaz")"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(DesktopExec(QString::fromUtf8(c.exe), QString::fromUtf8(c.fieldCodes)), QString::fromUtf8(c.exec))
        << c.exe;
}

// The desktop's own validator parses the Exec key exactly as launchers do.
TEST(Quoting, DesktopEntriesForNastyPathsPassTheValidator) {
  ZP_REQUIRE(fixtures::ToolMissing({"desktop-file-validate"}, "desktop-file-utils"));
  const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
  ScratchTree tree;
  int n = 0;
  for (const QString& name : kNastyNames) {
    const QString dir = tree.root + "/" + name + "/";
    for (const auto& [kind, text] : {std::pair{"association", AssociationEntry(dir + "zorpokaz")},
                                     std::pair{"menu", MenuEntry(dir + "zorpokaz")},
                                     std::pair{"shortcut", ShortcutEntry(dir + "zorpokaz", dir)}}) {
      const QString file = tree.root + QStringLiteral("/entry%1.desktop").arg(++n);
      ASSERT_TRUE(installtest::writeFile(file, text));
      QProcess p;
      p.setProcessChannelMode(QProcess::MergedChannels);
      p.start(validator, {file});
      p.waitForFinished(-1);
      EXPECT_EQ(p.exitCode(), 0) << kind << " for " << name.toStdString() << ":\n"
                                 << text.toStdString() << p.readAll().toStdString();
    }
  }
}

TEST(MimeappsList, DefaultLineAddedOnceAndRemovedWithoutTouchingTheRest) {
  const QString type = QStringLiteral("application/x-zorpokaz-wydruk");
  const QString id = QStringLiteral("zorpokaz.desktop");
  struct Case {
    const char* what;
    const char* before;
    const char* installed;
    const char* removed;
  } cases[] = {
      {"no file", "", "[Default Applications]\napplication/x-zorpokaz-wydruk=zorpokaz.desktop;\n", "[Default Applications]\n"},
      {"other sections kept",
       "# admin\n[Added Associations]\napplication/x-zorpokaz-wydruk=other.desktop;\n[Default Applications]\ntext/plain=gedit.desktop\n",
       "# admin\n[Added Associations]\napplication/x-zorpokaz-wydruk=other.desktop;\n[Default Applications]\n"
       "application/x-zorpokaz-wydruk=zorpokaz.desktop;\ntext/plain=gedit.desktop\n",
       "# admin\n[Added Associations]\napplication/x-zorpokaz-wydruk=other.desktop;\n[Default Applications]\ntext/plain=gedit.desktop\n"},
      {"installed twice stays one line",
       "[Default Applications]\napplication/x-zorpokaz-wydruk=zorpokaz.desktop;\n",
       "[Default Applications]\napplication/x-zorpokaz-wydruk=zorpokaz.desktop;\n", "[Default Applications]\n"},
      {"older handler replaced, no final line break",
       "[Default Applications]\napplication/x-zorpokaz-wydruk=old.desktop\ntext/plain=a.desktop",
       "[Default Applications]\napplication/x-zorpokaz-wydruk=zorpokaz.desktop;\ntext/plain=a.desktop\n",
       "[Default Applications]\ntext/plain=a.desktop\n"},
      {"section appended after other text", "[Added Associations]\nimage/png=viewer.desktop;",
       "[Added Associations]\nimage/png=viewer.desktop;\n\n[Default Applications]\n"
       "application/x-zorpokaz-wydruk=zorpokaz.desktop;\n",
       "[Added Associations]\nimage/png=viewer.desktop;\n\n[Default Applications]\n"},
  };
  for (const Case& c : cases) {
    const QString installed = WithDefaultApplication(QString::fromUtf8(c.before), type, id);
    EXPECT_EQ(installed, QString::fromUtf8(c.installed)) << c.what;
    EXPECT_EQ(WithoutDefaultApplication(installed, type, id), QString::fromUtf8(c.removed)) << c.what;
  }
  // Removal leaves a default the administrator gave to another program.
  const QString other = QStringLiteral("[Default Applications]\napplication/x-zorpokaz-wydruk=other.desktop;\n");
  EXPECT_EQ(WithoutDefaultApplication(other, type, id), other);
  EXPECT_TRUE(IsBlankList(QStringLiteral("[Default Applications]\n\n")));
  EXPECT_FALSE(IsBlankList(QStringLiteral("# kept by the admin\n[Default Applications]\n")));
}

TEST(UserDirs, DesktopEntryOfUserDirsFile) {
  const QString home = QStringLiteral("/home/jan");
  struct Case {
    const char* text;
    const char* expected;
  } cases[] = {
      {"XDG_DESKTOP_DIR=\"$HOME/Pulpit\"\n", "/home/jan/Pulpit"},
      {"# c\nXDG_DOWNLOAD_DIR=\"$HOME/Pobrane\"\n  XDG_DESKTOP_DIR=\"$HOME/Mój pulpit\"  \n", "/home/jan/Mój pulpit"},
      {"XDG_DESKTOP_DIR=\"/srv/desk\"", "/srv/desk"},
      {"XDG_DESKTOP_DIR=\"$HOME\"", "/home/jan"},
      {"XDG_DESKTOP_DIR=\"$HOME/a\\\"b\"", "/home/jan/a\"b"},
      {"XDG_DESKTOP_DIR=\"relative/dir\"", ""},
      {"XDG_DESKTOP_DIR=$HOME/unquoted", ""},
      {"XDG_DESKTOP_DIRX=\"$HOME/x\"", ""},
      {"", ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(UserDirsValue(QByteArray(c.text), "XDG_DESKTOP_DIR", home), QString::fromUtf8(c.expected)) << c.text;
}

TEST(UserDirs, DesktopOfTheEnvironmentFirstThenUserDirsThenHome) {
  ScratchTree tree;  // sets XDG_DESKTOP_DIR
  DesktopUser user{tree.root + "/jan", tree.root + "/jan/.config"};
  EXPECT_EQ(DesktopDirectory(user), tree.root + "/home/Pulpit");
  qunsetenv("XDG_DESKTOP_DIR");
  EXPECT_EQ(DesktopDirectory(user), tree.root + "/jan/Desktop");
  installtest::writeFile(tree.root + "/jan/.config/user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/Biurko\"\n");
  EXPECT_EQ(DesktopDirectory(user), tree.root + "/jan/Biurko");
}

TEST(UserDirs, SettingsFilesOfEveryAccountWithAHome) {
  ScratchTree tree;
  QStringList files = UserSettingsFiles();
  ASSERT_FALSE(files.isEmpty());
  EXPECT_EQ(files.first(), tree.root + "/home/.config/ZorPokaz.conf");  // XDG_CONFIG_HOME
  if (QFileInfo(QStringLiteral("/root")).isDir() && geteuid() == 0) {
    EXPECT_TRUE(files.contains(QStringLiteral("/root/.config/ZorPokaz.conf")));
  }
  EXPECT_EQ(files.removeDuplicates(), 0);
  EXPECT_FALSE(files.contains(QStringLiteral("/nonexistent/.config/ZorPokaz.conf")));
}

}  // namespace
}  // namespace zorpokaz
