// End to end with the desktop's real tools: after installation a printout
// file is of the viewer's type and that type opens with the viewer; after
// removal neither holds.
#include "library/install.h"
#include "scratchtree.h"

#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include "support/cirequire.h"

namespace zorpokaz {
namespace {

using installtest::readFile;
using installtest::ScratchTree;
using installtest::typeKeys;
using installtest::whenShown;

QString run(const QStringList& command) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  // No desktop session: xdg-mime answers from the freedesktop files alone.
  for (const char* name : {"XDG_CURRENT_DESKTOP", "XDG_SESSION_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION",
                           "GNOME_DESKTOP_SESSION_ID", "MATE_DESKTOP_SESSION_ID", "DISPLAY", "WAYLAND_DISPLAY",
                           "DBUS_SESSION_BUS_ADDRESS"})
    env.remove(QLatin1String(name));
  QProcess p;
  p.setProcessEnvironment(env);
  p.start(command.first(), command.mid(1));
  p.waitForFinished(-1);
  return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

QString defaultApplication() {
  return run({QStringLiteral("xdg-mime"), QStringLiteral("query"), QStringLiteral("default"),
              QString::fromLatin1(kMimeType)});
}

// The type of *.wyd in the database update-mime-database compiled.
QString globType(const InstallPaths& paths) {
  for (const QByteArray& line : readFile(paths.mimeDir() + "/globs2").split('\n')) {
    const QList<QByteArray> fields = line.split(':');
    if (fields.size() >= 3 && fields[2] == "*.wyd") return QString::fromLatin1(fields[1]);
  }
  return QString();
}

TEST(DesktopDatabase, PrintoutsOpenWithTheViewerUntilRemoval) {
  ZP_REQUIRE_ROOT();
  ZP_REQUIRE(fixtures::ToolMissing({"update-mime-database", "update-desktop-database", "xdg-mime"},
                                    "shared-mime-info, desktop-file-utils, xdg-utils"));
  ScratchTree tree(QStringLiteral("Zor Pokaz $HOME 'x' \"y\" `z`"));
  const InstallPaths paths = tree.paths();
  ASSERT_TRUE(defaultApplication().isEmpty());
  Install(paths);
  EXPECT_EQ(globType(paths), QString::fromLatin1(kMimeType));
  EXPECT_EQ(defaultApplication(), QString::fromLatin1(kDesktopId));
  // The desktop entry is in update-desktop-database's cache too, so the type
  // resolves even where the mimeapps.list default is not read.
  EXPECT_TRUE(readFile(paths.applicationsDir() + "/mimeinfo.cache").contains("application/x-zorpokaz-wydruk=zorpokaz.desktop;"));
  if (const QString gio = QStandardPaths::findExecutable(QStringLiteral("gio")); !gio.isEmpty()) {
    installtest::writeFile(tree.root + "/Faktura 7.WYD", "ZOREL2001");
    EXPECT_TRUE(run({gio, "info", "-a", "standard::content-type", tree.root + "/Faktura 7.WYD"}).endsWith(QString::fromLatin1(kMimeType)));
  }

  whenShown([](TMsgOkienko& w, const QString&) { typeKeys(w, "tak"); });
  Uninstall(paths);
  EXPECT_TRUE(globType(paths).isEmpty());
  EXPECT_TRUE(defaultApplication().isEmpty());
  EXPECT_FALSE(readFile(paths.applicationsDir() + "/mimeinfo.cache").contains("zorpokaz"));
}

}  // namespace
}  // namespace zorpokaz
