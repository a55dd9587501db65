#include "launcher/launcherstate.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include "launcher/launcherui.h"
#include "launcher/versionvalues.h"

namespace zorpokaz::paczka {

namespace {

QString withSlash(QString dir) {
  if (!dir.endsWith(QLatin1Char('/'))) dir += QLatin1Char('/');
  return dir;
}

}  // namespace

LauncherPlaces LauncherPlaces::FromEnvironment() {
  LauncherPlaces places;
  const QString dirs = qEnvironmentVariable("XDG_CONFIG_DIRS");
  const QString first = dirs.section(QLatin1Char(':'), 0, 0);
  places.configDir = first.isEmpty() ? QStringLiteral("/etc/xdg") : first;
  places.programFilesDir = QStringLiteral("/opt");
  places.tempDir = QDir::tempPath();
  return places;
}

QString LauncherPlaces::katalogFile() const { return withSlash(configDir) + QStringLiteral("ZorPokaz/ZorPokaz.conf"); }

QString InstalledDirectory(const LauncherPlaces& places) {
  if (!QFileInfo(places.katalogFile()).isFile()) return {};
  const QSettings key(places.katalogFile(), QSettings::IniFormat);
  const QVariant value = key.value(QStringLiteral("Katalog"));
  if (value.typeId() != QMetaType::QString) return {};
  const QString dir = value.toString();
  if (dir.isEmpty() || dir.size() > 1024) return {};
  return withSlash(dir);
}

bool VersionOlder(const QString& installed, const QString& package) {
  return QString::compare(installed, package, Qt::CaseSensitive) < 0;
}

bool StartUp(const QString& exe, const LauncherPlaces& places, LauncherUi& ui, LauncherState& state) {
  state = LauncherState{};
  state.Exe = exe;
  const QFileInfo file(exe);
  const qint64 fileSize = file.isFile() ? file.size() : -1;
  const QByteArray block = VersionBlockOfFile(exe);
  state.PackageVersion = VersionValueInBlock(block, QStringLiteral("FileVersion"));
  state.ViewerOffset = ParseInteger(VersionValueInBlock(block, QStringLiteral("Rozmiar0")));
  state.RecordsOffset = ParseInteger(VersionValueInBlock(block, QStringLiteral("Rozmiar")));
  state.ViewerLibraries =
      VersionValueInBlock(block, QStringLiteral("Biblioteki")).split(QLatin1Char(' '), Qt::SkipEmptyParts);
  if (state.ViewerOffset >= state.RecordsOffset || fileSize == state.ViewerOffset ||
      fileSize < state.RecordsOffset) {
    ui.ErrorBox(QStringLiteral("Błąd odczytu informacji o zawartości paczki!"));
    return false;
  }
  state.NoPrintouts = fileSize == state.RecordsOffset;
  state.TargetDir = InstalledDirectory(places);
  state.Installed = !state.TargetDir.isEmpty();
  if (state.Installed) {
    const QString installed =
        VersionValue(state.TargetDir + QLatin1String(kViewerName), QStringLiteral("FileVersion"));
    state.NeedsViewer = VersionOlder(installed, state.PackageVersion);
    if (!state.NeedsViewer && state.NoPrintouts) {
      ui.InformationBox(QStringLiteral("Ta sama (lub nowsza) wersja ZorPokaz\rjest już zainstalowana w systemie !"));
      return false;
    }
  } else {
    state.TargetDir = withSlash(places.programFilesDir) + QStringLiteral("ZorPokaz/");
    state.NeedsViewer = true;
  }
  state.PackageVersion = state.PackageVersion.left(5);
  return true;
}

}  // namespace zorpokaz::paczka
