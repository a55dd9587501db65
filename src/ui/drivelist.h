// What the explorer dialog's drive box offers on a system without drive
// letters: the root of the file system, the user's home directory, and every
// mounted removable or network file system (mount points under /media,
// /run/media and /mnt, network file system types, and the desktop's own
// network mounts under /run/user/<uid>/gvfs).
#pragma once

#include <QList>
#include <QString>

namespace zorpokaz {

struct TDrive {
  QString root;     // absolute, ending with "/"
  QString caption;  // as the drive box shows it
};

// The drives in the box's order: "/", home, then the mounts sorted by path.
// `mounts` is the text of a mounts table (/proc/self/mounts format); empty
// reads the running system's.
QList<TDrive> ListDrives(const QString& mounts = {});

// The drive whose root is the longest prefix of `path` (an absolute
// directory ending with "/"); -1 when none is.
int DriveOf(const QList<TDrive>& drives, const QString& path);

}  // namespace zorpokaz
