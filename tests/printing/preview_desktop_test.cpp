// The preview's own commands as a person uses them: the real zorpokaz on a
// virtual X display, on a printout of 2,000 pages, driven by keys sent through
// the window system (xdotool). Found text and a page gone to are checked by
// what Ctrl+C then puts on the clipboard (read back with xclip), the zoom
// keys by the window's picture changing, and the PDF saved with Ctrl+S
// against the one zorpokaz-cli render writes with the preview's margins.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include "support/cirequire.h"
#include "support/searchprintout.h"
#include "support/virtualdisplay.h"
#include "support/xdotool.h"

namespace zorpokaz {
namespace {

class PreviewDesktop : public ::testing::Test {
 protected:
  void SetUp() override {
    ZP_REQUIRE(fixtures::ToolMissing({"Xvfb", "xdotool"}, "xvfb, xdotool"));
    ZP_REQUIRE(fixtures::ToolMissing({"xclip"}, "xclip"));
    ZP_REQUIRE(fixtures::ToolMissing({"pdfinfo", "pdftotext", "pdftoppm"}, "poppler-utils"));
    const QString why = display.start();
    ASSERT_TRUE(why.isEmpty()) << why.toStdString();
    env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", display.name);
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("HOME", scratch.filePath("home"));
    env.insert("XDG_CONFIG_HOME", scratch.filePath("config"));
    env.insert("XDG_DOCUMENTS_DIR", scratch.filePath("Dokumenty"));
    env.insert("TMPDIR", scratch.path());
    xdo.setEnvironment(env);
    QDir().mkpath(scratch.filePath("home"));
    QDir().mkpath(scratch.filePath("Dokumenty"));
    printout = scratch.filePath("faktury.wyd");
    QFile f(printout);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(writer::searchPrintout(2000, 1500)) > 0);
  }
  void TearDown() override {
    if (viewer.state() != QProcess::NotRunning) {
      viewer.kill();
      viewer.waitForFinished();
    }
  }

  QByteArray tool(const QString& program, const QStringList& args) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    if (!p.waitForFinished(120000)) {
      p.kill();
      p.waitForFinished();
      ADD_FAILURE() << program.toStdString() << " did not finish";
      return {};
    }
    return p.readAllStandardOutput();
  }
  // The visible window whose title holds `title`, with the keyboard.
  QByteArray focus(const QString& title) {
    const QByteArray window = xdo.waitForWindow(title, [this] { return viewer.state() == QProcess::Running; });
    if (!window.isEmpty()) xdo.focus(window);
    return window;
  }
  void keys(const QStringList& keys) { xdo.keys(keys, 150); }
  void type(const QString& text) {
    xdo.type(text, 60);
    QThread::msleep(300);
  }
  QString clipboard() {
    return QString::fromUtf8(tool(QStringLiteral("xclip"), {"-o", "-selection", "clipboard"}));
  }
  QByteArray windowPicture(const QByteArray& window) { return tool(QStringLiteral("xwd"), {"-id", window, "-silent"}); }

  testing::VirtualDisplay display;
  testing::Xdotool xdo;
  QTemporaryDir scratch;
  QProcessEnvironment env;
  QString printout;
  QProcess viewer;
};

TEST_F(PreviewDesktop, FindGoToZoomCopyAndSaveOnTwoThousandPages) {
  viewer.setProcessEnvironment(env);
  viewer.setProcessChannelMode(QProcess::ForwardedChannels);
  viewer.start(QCoreApplication::applicationDirPath() + QStringLiteral("/../src/zorpokaz"), {printout});
  ASSERT_TRUE(viewer.waitForStarted(10000));
  focus(QStringLiteral("ZorPokaz - ") + printout);
  keys({"Escape"});  // "Nie": show it at once
  const QByteArray window = focus(QStringLiteral("\"faktury\""));
  QThread::msleep(1000);  // the first pages made; finding works on those made so far

  // Find, as you type, without the Polish letters; the view goes there.
  keys({"ctrl+f"});
  type(QStringLiteral("zielony zolw"));
  keys({"Escape", "ctrl+c"});
  QString copied = clipboard();
  EXPECT_TRUE(copied.contains(QStringLiteral("Zielony ŻÓŁW"))) << copied.toStdString();
  EXPECT_TRUE(copied.startsWith(QStringLiteral("Faktura nr 1500/2024\n"))) << copied.toStdString();
  EXPECT_TRUE(copied.contains(QStringLiteral("Lp.\tNazwa\tKwota 1500,00\n")));

  // F3 from there finds the next turtle, on the next page.
  keys({"ctrl+f"});
  type(QStringLiteral("morski"));
  keys({"F3", "Escape", "ctrl+c"});
  EXPECT_TRUE(clipboard().startsWith(QStringLiteral("Faktura nr 1501/2024\n")));

  // Go to page, a number beyond the last one taken as the last.
  keys({"ctrl+g"});
  type(QStringLiteral("1999"));
  keys({"Return", "ctrl+c"});
  EXPECT_TRUE(clipboard().startsWith(QStringLiteral("Faktura nr 1999/2024\n")));
  keys({"ctrl+g"});
  type(QStringLiteral("77777"));
  keys({"Return", "ctrl+c"});
  EXPECT_TRUE(clipboard().startsWith(QStringLiteral("Faktura nr 2000/2024\n")));

  // Zoom in and out again with Ctrl++ and Ctrl+-: the picture changes and comes back.
  const QByteArray before = windowPicture(window);
  keys({"ctrl+plus", "ctrl+plus"});
  QThread::msleep(500);
  const QByteArray zoomed = windowPicture(window);
  EXPECT_NE(zoomed, before);
  keys({"ctrl+minus", "ctrl+minus"});
  QThread::msleep(500);
  EXPECT_EQ(windowPicture(window), before);

  // Save as PDF: the name proposed in the documents directory, Enter saves.
  // (Ctrl+S does nothing until every page is made; a slow machine may still
  // be making them.)
  QByteArray dialog;
  for (int attempt = 0; attempt < 30 && dialog.isEmpty(); ++attempt) {
    keys({"ctrl+s"});
    QThread::msleep(1000);
    dialog = xdo.run({"search", "--onlyvisible", "--name", "Zapisz jako PDF"});
  }
  ASSERT_FALSE(dialog.isEmpty()) << "Ctrl+S opened no file dialog";
  focus(QStringLiteral("Zapisz jako PDF"));
  keys({"Return"});
  const QString pdf = scratch.filePath("Dokumenty/faktury.pdf");
  QElapsedTimer waited;
  waited.start();
  while (!QFile::exists(pdf) && waited.elapsed() < 120000) QThread::msleep(200);
  ASSERT_TRUE(QFile::exists(pdf));
  focus(QStringLiteral("\"faktury\""));
  keys({"Escape"});
  EXPECT_TRUE(viewer.waitForFinished(30000)) << "the program did not end";

  // The same document zorpokaz-cli render writes with the preview's margins.
  const QString cli = scratch.filePath("cli.pdf");
  tool(QCoreApplication::applicationDirPath() + QStringLiteral("/../src/zorpokaz-cli"),
       {"render", printout, "-o", cli, "--margins", "10,15,10,25"});
  ASSERT_TRUE(QFile::exists(cli));
  const QByteArray info = tool(QStringLiteral("pdfinfo"), {pdf});
  EXPECT_TRUE(info.contains("Pages:           2000")) << info.toStdString();
  EXPECT_EQ(tool(QStringLiteral("pdftotext"), {pdf, "-"}), tool(QStringLiteral("pdftotext"), {cli, "-"}));
  for (const char* page : {"1", "1500", "2000"}) {
    const QStringList args = {"-f", page, "-l", page, "-r", "30", "-gray"};
    EXPECT_EQ(tool(QStringLiteral("pdftoppm"), args + QStringList{pdf}), tool(QStringLiteral("pdftoppm"), args + QStringList{cli}))
        << "page " << page;
  }
}

}  // namespace
}  // namespace zorpokaz
