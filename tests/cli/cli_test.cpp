// Runs the built zorpokaz-cli (next to this test in the build tree) the way a
// user does, and checks its output, its messages and its exit status.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include "support/clirun.h"
#include "support/emfbuilder.h"
#include "support/printoutwriter.h"

namespace zorpokaz {
namespace {

using namespace writer;

using Result = testcli::CliResult;
using testcli::CliPath;
using testcli::RunCli;

QString samplesDir() { return qEnvironmentVariable("ZP_SOURCE_DIR", QDir::currentPath()) + "/samples"; }

class Cli : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(QFile::exists(CliPath())) << CliPath().toStdString() << " not built"; }
  QString write(const QByteArray& bytes) {
    const QString name = m_dir.filePath(QString("f%1.wyd").arg(m_count++));
    QFile f(name);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return name;
  }
  QTemporaryDir m_dir;
  int m_count = 0;
};

TEST_F(Cli, InfoJsonDescribesAPrintout) {
  WPrintout p;
  p.version = 5;
  p.units = 600;
  p.lineSpacing = 0.25f;
  WStyle s;
  s.name = "Gruby \xb3";  // "ł" in code page 1250
  s.alias = "B\"x";
  s.fontName = "Arial";
  s.charset = 186;
  p.styles = {s};
  WBlock child;
  child.heading = group({line({textField(0, 10, "a"), textField(0, 10, "b")})});
  child.reserved = group({line({})});
  p.root.children = {child, child};
  p.root.intro = group({line({textField(0, 10, "c")})});
  const Result r = RunCli({"info", write(writePrintout(p)), "--json"});
  ASSERT_EQ(r.status, 0) << r.err.toStdString();
  const QJsonObject o = QJsonDocument::fromJson(r.out).object();
  EXPECT_EQ(o["version"].toInt(), 5);
  EXPECT_EQ(o["units"].toInt(), 600);
  EXPECT_EQ(o["line_spacing"].toDouble(), 0.25);
  EXPECT_EQ(o["lines_per_page"].toInt(), 84);
  EXPECT_EQ(o["blocks"].toInt(), 3);
  EXPECT_EQ(o["lines"].toInt(), 5);
  EXPECT_EQ(o["fields"].toInt(), 5);
  const QJsonArray styles = o["styles"].toArray();
  ASSERT_EQ(styles.size(), 1);
  EXPECT_EQ(styles[0].toObject()["name"].toString(), QString::fromUtf8("Gruby ł"));
  EXPECT_EQ(styles[0].toObject()["alias"].toString(), "B\"x");
  EXPECT_EQ(styles[0].toObject()["font"].toString(), "Arial");
  EXPECT_EQ(styles[0].toObject()["charset"].toInt(), 186);
  EXPECT_TRUE(r.out.startsWith("{\"version\":5,\"units\":600,\"line_spacing\":0.25,\"lines_per_page\":84,"));
}

TEST_F(Cli, InfoReadsEverySample) {
  const QStringList files = QDir(samplesDir()).entryList({"*.wyd"}, QDir::Files);
  ASSERT_FALSE(files.isEmpty());
  for (const QString& f : files) {
    const Result text = RunCli({"info", samplesDir() + "/" + f});
    EXPECT_EQ(text.status, 0) << f.toStdString() << text.err.toStdString();
    EXPECT_TRUE(text.out.contains("blocks")) << f.toStdString();
    EXPECT_EQ(text.err, QByteArray()) << "quiet on success";
    const Result json = RunCli({"info", "--json", samplesDir() + "/" + f});
    EXPECT_EQ(json.status, 0) << f.toStdString();
    EXPECT_EQ(json.err, QByteArray());
    EXPECT_TRUE(QJsonDocument::fromJson(json.out).isObject()) << f.toStdString();
  }
}

TEST_F(Cli, BadFilesExitTwoWithTheMessage) {
  auto header = [](QByteArray sig, QByteArray type) {
    FileOptions o;
    o.signature = std::move(sig);
    o.typeName = std::move(type);
    return o;
  };
  auto patched = [](std::uint8_t m, int occurrence, std::uint8_t v) {
    BodyOptions o;
    o.markers = {{m, occurrence, v}};
    return o;
  };
  WPrintout p;
  WStyle s;
  p.styles = {s};
  WField pic = textField(0, 0, "", "Domyslny", 6);
  pic.picture = makeEmf(1000, 1000);
  p.root.intro = group({line({textField(0, 100, "x"), pic})});
  p.root.children.emplace_back();
  WPrintout v2 = p;
  v2.version = 2;
  WPrintout v7 = p;
  v7.version = 7;
  WPrintout badEmf = p;
  badEmf.root.intro.lines[0].fields[1].picture[40] = 0;
  FileOptions corrupt;
  corrupt.corruptCompressedAt = 0;
  FileOptions cut;
  cut.truncateFileAt = writePrintout(p).size() / 2;
  const std::string notPrintout = "Plik nie zawiera prawidłowego wydruku Zorela";
  const struct {
    const char* what;
    QByteArray file;
    std::string message;
  } cases[] = {
      {"wrong signature", writePrintout(p, {}, header("ZOREL2002", "Wydruk")), notPrintout},
      {"lower-case signature", writePrintout(p, {}, header("zorel2001", "Wydruk")), notPrintout},
      {"WYDRUK", writePrintout(p, {}, header("ZOREL2001", "WYDRUK")), notPrintout},
      {"version 7", writePrintout(v7), "Błąd odczytu - nieznana wersja pliku [7]"},
      {"style marker", writePrintout(p, patched(1, 0, 2)), "Błąd czytania z pliku [1]"},
      {"block marker", writePrintout(p, patched(3, 1, 2)), "Błąd czytania z pliku [3]"},
      {"line-group marker", writePrintout(p, patched(4, 0, 2)), "Błąd czytania z pliku [4]"},
      {"line marker", writePrintout(p, patched(5, 0, 2)), "Błąd czytania z pliku [5]"},
      {"field marker", writePrintout(p, patched(6, 1, 2)), "Błąd czytania z pliku [6]"},
      {"marker 15 in version 2", writePrintout(v2, patched(15, 1, 2)), "Błąd czytania z pliku [15]"},
      {"body-string marker", writePrintout(p, patched(101, 3, 2)), "Błąd czytania z pliku [101]"},
      {"corrupt zlib data", writePrintout(p, {}, corrupt), "error"},
      {"bad EMF signature", writePrintout(badEmf), "Metafile is not valid"},
      {"truncated inside the signature", writePrintout(p).left(7), "Stream read error"},
      {"truncated body", writePrintout(p, {}, cut), "Błąd czytania z pliku [101]"},
  };
  for (const auto& c : cases) {
    const Result r = RunCli({"info", write(c.file)});
    EXPECT_EQ(r.status, 2) << c.what;
    EXPECT_EQ(r.err.toStdString(), c.message + "\n") << c.what;
    EXPECT_TRUE(r.out.isEmpty()) << c.what;
  }
  EXPECT_EQ(RunCli({"info", write(writePrintout(p, {}, header("ZOREL2000", "Wydruk")))}).status, 0);
  const QString missing = m_dir.filePath("brak.wyd");
  const Result r = RunCli({"info", missing});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err.toStdString(), "Cannot open file " + missing.toStdString() + "\n");
}

// Under a sanitizer the address space cannot be limited (its shadow memory
// alone is larger than any limit), and allocations that fail end the program.
#if !defined(__SANITIZE_ADDRESS__)
// A printout that needs more memory than the process may have is a printout
// that cannot be read, in the program's words, never the C++ library's.
TEST_F(Cli, RunningOutOfMemoryIsAPrintoutThatCannotBeRead) {
  const QString wide = qEnvironmentVariable("ZP_SOURCE_DIR", QDir::currentPath()) + "/tests/corpus/wide-lines.wyd";
  const QString png = m_dir.filePath("png");
  // 160 MB of address space: a sample lays out and renders in it, the 6.1
  // million fields of the wide printout need more (24 bytes each alone).
  auto limited = [](QProcess& p) {
    p.setChildProcessModifier([] {
      const rlimit limit{160u << 20, 160u << 20};
      setrlimit(RLIMIT_AS, &limit);
    });
  };
  {
    QProcess p;
    limited(p);
    p.start(CliPath(), {"render", samplesDir() + "/ksiega.wyd", "--png", png});
    ASSERT_TRUE(p.waitForFinished(120000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
  }
  for (const QStringList& args : {QStringList{"info", wide}, QStringList{"pages", wide, "--json"},
                                  QStringList{"render", wide, "--png", png}}) {
    QProcess p;
    limited(p);
    p.start(CliPath(), args);
    ASSERT_TRUE(p.waitForFinished(120000)) << args.join(' ').toStdString();
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << args.join(' ').toStdString();
    EXPECT_EQ(p.exitCode(), 2) << args.join(' ').toStdString();
    const QByteArray err = p.readAllStandardError();
    // Qt may add its own warnings about the environment; the answer is a line of its own.
    EXPECT_TRUE(err.startsWith("Plik nie zawiera prawidłowego wydruku Zorela\n") ||
                err.contains("\nPlik nie zawiera prawidłowego wydruku Zorela\n"))
        << err.toStdString();
    EXPECT_FALSE(err.contains("std::")) << err.toStdString();
  }
}
#endif

TEST_F(Cli, UsageErrorsExitOne) {
  const QString good = samplesDir() + "/faktura.wyd";
  for (const QStringList& args : {QStringList{}, QStringList{"nosuch"}, QStringList{"info"},
                                  QStringList{"info", "--json"}, QStringList{"info", good, good},
                                  QStringList{"info", good, "--xml"}}) {
    const Result r = RunCli(args);
    EXPECT_EQ(r.status, 1) << args.join(' ').toStdString();
    EXPECT_TRUE(r.err.contains("usage")) << args.join(' ').toStdString();
  }
}

// Asked for, help and version are answers: standard output, success. The
// help names every command, the version is the program's.
TEST_F(Cli, HelpAndVersionAnswerOnStandardOutput) {
  const Result version = RunCli({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.toStdString(), std::string("zorpokaz-cli ") + ZP_VERSION + "\n");
  EXPECT_TRUE(version.err.isEmpty());
  for (const char* flag : {"--help", "-h"}) {
    const Result help = RunCli({flag});
    EXPECT_EQ(help.status, 0) << flag;
    EXPECT_TRUE(help.err.isEmpty()) << flag;
    for (const char* command : {"info FILE", "pages FILE", "render FILE", "unpack PACKAGE DIR", "pack --stub",
                                "rights DIR [--release]", "--version"})
      EXPECT_TRUE(help.out.contains(command)) << flag << " lacks " << command;
  }
  // Anywhere but first, they are no options of a command.
  EXPECT_EQ(RunCli({"info", "--version"}).status, 1);
}

}  // namespace
}  // namespace zorpokaz
