// Writing and removing the files installation owns. A file is replaced in one
// step (never left half-written, never written through a link planted in its
// place) and gets the given permissions whatever the umask, so that entries
// written by root stay readable by every user.
#pragma once

#include <QByteArray>
#include <QString>

#include <sys/types.h>

namespace zorpokaz {

// Creates the missing directories of `dir`, each readable by everyone.
// Throws Error "Cannot create directory <dir>".
void MakeDirs(const QString& dir);

// Writes a new file next to `path` and renames it over `path`, all through a
// descriptor of the directory, so that nothing another user does inside that
// directory meanwhile makes root change a different file. The file belongs
// to `owner` and `group` when they are not -1. Throws Error "Cannot create
// file <path>".
void WriteSystemFile(const QString& path, const QByteArray& bytes, mode_t mode = 0644,
                     uid_t owner = static_cast<uid_t>(-1), gid_t group = static_cast<gid_t>(-1));

// Writes all of `bytes` to a descriptor; false on any failure.
bool WriteAll(int fd, const QByteArray& bytes);

// Removes a file or a link (never what a link points to). False when there
// was nothing to remove; throws Error "Cannot delete file <path>" otherwise.
bool RemoveSystemFile(const QString& path);

// Removes the directory only if it is empty; quietly keeps it otherwise.
void RemoveDirIfEmpty(const QString& dir);

}  // namespace zorpokaz
