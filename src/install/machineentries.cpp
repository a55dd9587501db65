#include "install/machineentries.h"

#include "install/shellquote.h"
#include "install/systemfiles.h"
#include "platform/errors.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <initializer_list>
#include <sys/stat.h>
#include <utility>

namespace zorpokaz {

namespace {

using Value = std::pair<const char*, QString>;

void writeKey(const QString& path, std::initializer_list<Value> values) {
  MakeDirs(QFileInfo(path).absolutePath());
  {
    QSettings key(path, QSettings::IniFormat);
    for (const auto& [name, value] : values) key.setValue(QLatin1String(name), value);
    key.sync();
    if (key.status() != QSettings::NoError) throw Error(("Cannot create file " + path).toStdString());
  }
  // Every user reads these, the package launcher to find the viewer.
  if (chmod(QFile::encodeName(path).constData(), 0644) != 0)
    throw Error(("Cannot create file " + path).toStdString());
}

}  // namespace

void WriteMachineEntries(const InstallPaths& paths) {
  writeKey(paths.machineKeyFile(), {{"Katalog", paths.programDir}});
  writeKey(paths.uninstallKeyFile(), {{"DisplayName", QString::fromUtf8(kDisplayName)},
                                      {"UninstallString", DoubleQuote(paths.exe) + QStringLiteral(" UNINST")}});
}

void RemoveMachineEntries(const InstallPaths& paths) {
  RemoveSystemFile(paths.machineKeyFile());
  RemoveSystemFile(paths.uninstallKeyFile());
  RemoveDirIfEmpty(QFileInfo(paths.machineKeyFile()).absolutePath());
}

}  // namespace zorpokaz
