// The libraries pack records for a viewer: read from real programs as the
// dynamic loader reads them, and nothing but an empty list (never a crash or
// a read past the end) from files that are cut short or are no programs.
#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <gtest/gtest.h>

#include "cli/elfneeded.h"
#include "support/testfiles.h"

namespace zorpokaz::cli {
namespace {

QByteArray builtViewer() {
  return testfiles::readFile(QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../src/zorpokaz"));
}

TEST(NeededLibraries, AreThoseOfTheProgramInItsOrder) {
  const QByteArray viewer = builtViewer();
  ASSERT_FALSE(viewer.isEmpty()) << "viewer not built";
  QStringList needed = NeededLibraries(viewer);
  for (const char* name : {"libQt6Widgets.so.6", "libQt6PrintSupport.so.6", "libQt6Svg.so.6", "libemf2svg.so.1",
                           "libz.so.1", "libc.so.6"})
    EXPECT_TRUE(needed.contains(name)) << name << " in " << needed.join(' ').toStdString();
  EXPECT_EQ(needed.removeDuplicates(), 0);  // each once, as the file names it
  // A program of the system, made by another toolchain than ours.
  EXPECT_TRUE(NeededLibraries(testfiles::readFile("/bin/sh")).contains("libc.so.6"));
}

// The CLI runs where there is no display and no widget library: neither it nor
// anything it loads pulls in QtWidgets (or QtPrintSupport, which needs it).
TEST(NeededLibraries, TheCliLoadsNoWidgets) {
  const QString cli = QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../src/zorpokaz-cli");
  const QStringList needed = NeededLibraries(testfiles::readFile(cli));
  ASSERT_TRUE(needed.contains("libQt6Gui.so.6")) << "CLI not built: " << cli.toStdString();
  EXPECT_FALSE(needed.contains("libQt6Widgets.so.6"));
  EXPECT_FALSE(needed.contains("libQt6PrintSupport.so.6"));
  QProcess ldd;
  ldd.start(QStringLiteral("ldd"), {cli});
  ASSERT_TRUE(ldd.waitForFinished(60000));
  const QString loaded = QString::fromLocal8Bit(ldd.readAllStandardOutput());
  ASSERT_TRUE(loaded.contains("libQt6Core")) << loaded.toStdString();
  EXPECT_FALSE(loaded.contains("libQt6Widgets")) << loaded.toStdString();
  EXPECT_FALSE(loaded.contains("libQt6PrintSupport")) << loaded.toStdString();
}

TEST(NeededLibraries, DamagedOrForeignFilesGiveNone) {
  EXPECT_TRUE(NeededLibraries("").isEmpty());
  EXPECT_TRUE(NeededLibraries("#!/bin/sh\necho viewer\n").isEmpty());
  EXPECT_TRUE(NeededLibraries(QByteArray(4096, '\0')).isEmpty());
  QByteArray bigEndian = builtViewer().left(4096);
  bigEndian[5] = 2;
  EXPECT_TRUE(NeededLibraries(bigEndian).isEmpty());

  // Cut anywhere, the file yields a part of the list at most.
  const QByteArray viewer = builtViewer();
  const QStringList all = NeededLibraries(viewer);
  for (qsizetype cut = 0; cut < viewer.size(); cut += viewer.size() / 97 + 1) {
    for (const QString& name : NeededLibraries(viewer.left(cut)))
      EXPECT_TRUE(all.contains(name)) << name.toStdString() << " cut at " << cut;
  }
  // A section table past the end; more sections than the file holds.
  QByteArray lying = viewer;
  lying.replace(0x28, 8, QByteArray(8, '\xff'));
  EXPECT_TRUE(NeededLibraries(lying).isEmpty());
  lying = viewer;
  lying.replace(0x3C, 2, QByteArray(2, '\xff'));
  for (const QString& name : NeededLibraries(lying)) EXPECT_TRUE(all.contains(name)) << name.toStdString();
}

}  // namespace
}  // namespace zorpokaz::cli
