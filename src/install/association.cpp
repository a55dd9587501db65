#include "install/association.h"

#include "install/freedesktop.h"
#include "install/icons.h"
#include "install/runhidden.h"
#include "install/systemfiles.h"
#include "platform/errors.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <sys/stat.h>

namespace zorpokaz {

namespace {

void runIfPresent(const QStringList& command) {
  if (QStandardPaths::findExecutable(command.first()).isEmpty()) return;
  try {
    RunHidden(command);
  } catch (const Error&) {
    // The files are in place; the next cache update of the system finds them.
  }
}

void updateCaches(const InstallPaths& paths) {
  if (QFileInfo(paths.mimeDir()).isDir())
    runIfPresent({QStringLiteral("update-mime-database"), paths.mimeDir()});
  if (QFileInfo(paths.applicationsDir()).isDir())
    runIfPresent({QStringLiteral("update-desktop-database"), QStringLiteral("-q"), paths.applicationsDir()});
  // A theme without a cache is read directly; one with a stale cache is not.
  if (QFileInfo::exists(paths.iconThemeDir() + QStringLiteral("/icon-theme.cache")))
    runIfPresent({QStringLiteral("gtk-update-icon-cache"), QStringLiteral("-q"), QStringLiteral("-t"),
                  QStringLiteral("-f"), paths.iconThemeDir()});
}

// The system mimeapps.list is shared with everything else installed: only the
// one line for our type is ever changed, the rest of the file is kept.
void setDefaultApplication(const InstallPaths& paths, bool on) {
  const QString path = paths.mimeappsListFile();
  QFile file(path);
  const bool exists = file.exists();
  if (!on && !exists) return;
  QString text;
  if (exists) {
    if (!file.open(QIODevice::ReadOnly)) throw Error(("Cannot open file " + path).toStdString());
    text = QString::fromUtf8(file.readAll());
    file.close();
  }
  const QString type = QLatin1String(kMimeType), id = QLatin1String(kDesktopId);
  const QString changed = on ? WithDefaultApplication(text, type, id) : WithoutDefaultApplication(text, type, id);
  if (changed == text) return;
  if (!on && IsBlankList(changed)) {
    RemoveSystemFile(path);
    return;
  }
  struct stat st {};
  const mode_t mode = exists && stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0644;
  WriteSystemFile(path, changed.toUtf8(), mode);
}

}  // namespace

void InstallAssociation(const InstallPaths& paths) {
  WriteSystemFile(paths.mimePackageFile(), MimePackageXml());
  WriteSystemFile(paths.typeIconFile(), TypeIconSvg());
  WriteSystemFile(paths.appIconFile(), AppIconSvg());
  WriteSystemFile(paths.desktopEntryFile(), AssociationEntry(paths.exe));
  setDefaultApplication(paths, true);
  updateCaches(paths);
}

void RemoveAssociation(const InstallPaths& paths) {
  RemoveSystemFile(paths.mimePackageFile());
  RemoveSystemFile(paths.typeIconFile());
  RemoveSystemFile(paths.appIconFile());
  RemoveSystemFile(paths.desktopEntryFile());
  setDefaultApplication(paths, false);
  updateCaches(paths);
}

}  // namespace zorpokaz
