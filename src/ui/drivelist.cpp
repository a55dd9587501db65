#include "ui/drivelist.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QStringList>
#include <algorithm>
#include <unistd.h>

namespace zorpokaz {

namespace {

QString withSlash(QString path) {
  if (!path.endsWith(QLatin1Char('/'))) path += QLatin1Char('/');
  return path;
}

// The mounts table escapes blanks and backslashes as octal (\040).
QString unescape(const QString& field) {
  QString out;
  for (qsizetype i = 0; i < field.size(); ++i) {
    if (field[i] == QLatin1Char('\\') && i + 3 < field.size()) {
      bool ok = false;
      const int code = field.mid(i + 1, 3).toInt(&ok, 8);
      if (ok) {
        out += QChar(code);
        i += 3;
        continue;
      }
    }
    out += field[i];
  }
  return out;
}

bool isNetworkType(const QString& type) {
  static const QSet<QString> kTypes = {"nfs", "nfs4", "cifs", "smb3", "smbfs", "sshfs", "fuse.sshfs",
                                       "9p", "afs", "ncpfs", "davfs", "fuse.davfs2", "fuse.rclone"};
  return kTypes.contains(type);
}

bool isRemovablePlace(const QString& mountPoint) {
  for (const char* base : {"/media/", "/run/media/", "/mnt/"})
    if (mountPoint.startsWith(QLatin1String(base)) && mountPoint.size() > qsizetype(qstrlen(base))) return true;
  return false;
}

}  // namespace

QList<TDrive> ListDrives(const QString& mounts) {
  QString table = mounts;
  if (table.isEmpty()) {
    QFile f(QStringLiteral("/proc/self/mounts"));
    if (f.open(QIODevice::ReadOnly)) table = QString::fromLocal8Bit(f.readAll());
  }
  QList<TDrive> drives{{QStringLiteral("/"), QStringLiteral("/")}};
  const QString home = withSlash(QDir::homePath());
  if (home != QLatin1String("/")) drives.append({home, QStringLiteral("~  ") + home});
  QList<TDrive> found;
  QSet<QString> seen{QStringLiteral("/"), home};
  for (const QString& line : table.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
    const QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (fields.size() < 3) continue;
    const QString point = withSlash(unescape(fields[1]));
    const QString type = fields[2];
    const bool desktopMount = point.startsWith(QStringLiteral("/run/user/%1/gvfs/").arg(getuid()));
    if (!isNetworkType(type) && !isRemovablePlace(point) && !desktopMount) continue;
    if (seen.contains(point)) continue;
    seen.insert(point);
    found.append({point, point + QStringLiteral("  [") + type + QLatin1Char(']')});
  }
  std::sort(found.begin(), found.end(), [](const TDrive& a, const TDrive& b) { return a.root < b.root; });
  return drives + found;
}

int DriveOf(const QList<TDrive>& drives, const QString& path) {
  int best = -1;
  for (int i = 0; i < drives.size(); ++i)
    if (path.startsWith(drives[i].root) && (best < 0 || drives[i].root.size() > drives[best].root.size()))
      best = i;
  return best;
}

}  // namespace zorpokaz
