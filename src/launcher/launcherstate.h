// What the launcher finds out before its window opens: the package's own
// offsets and version, and whether and where the viewer is installed.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

namespace zorpokaz::paczka {

class LauncherUi;

// Name of the viewer's executable in its program directory (the installed
// viewer's removal deletes exactly this name).
inline constexpr char kViewerName[] = "zorpokaz";

// Where things are on this machine; tests point them into a scratch tree.
struct LauncherPlaces {
  QString configDir;        // system settings: <configDir>/ZorPokaz/ZorPokaz.conf holds Katalog
  QString programFilesDir;  // parent of the proposed program directory
  QString tempDir;          // parent of the scratch directory of the view choice

  // XDG_CONFIG_DIRS (first entry, else /etc/xdg), /opt, TMPDIR (else /tmp).
  static LauncherPlaces FromEnvironment();
  QString katalogFile() const;
};

struct LauncherState {
  QString Exe;             // the package file
  QString TargetDir;       // ends with "/" once files are written
  QString PackageVersion;  // "FileVersion"; its first five characters after start-up
  std::int32_t ViewerOffset = 0;
  std::int32_t RecordsOffset = 0;
  bool Installed = false;
  bool NeedsViewer = false;
  bool NoPrintouts = false;
  QStringList ViewerLibraries;  // "Biblioteki": the shared libraries the viewer needs
};

// "Katalog" of the system settings with a "/" ensured at its end; empty when
// missing, not a single text or longer than 1024 characters.
QString InstalledDirectory(const LauncherPlaces& places);

// Ordinal comparison of version texts; a proper prefix is smaller.
bool VersionOlder(const QString& installed, const QString& package);

// The start-up checks. False when the program must end; the reason has then
// been shown through `ui`.
bool StartUp(const QString& exe, const LauncherPlaces& places, LauncherUi& ui, LauncherState& state);

}  // namespace zorpokaz::paczka
