// A file written into the printout library, a directory that every member
// of the users group may change. Nothing is ever opened under a name someone
// could have put there beforehand: the file is created under a new hidden
// temporary name and moved onto its own name only once it is complete. The
// move replaces a link standing under that name (never what the link points
// to), and only when the caller says so. A file not committed is removed. In
// a directory shared with its group (set-group-ID, group-writable) the file
// is writable by the group too.
#pragma once

#include <QByteArray>
#include <QString>

#include <ctime>

namespace zorpokaz {

enum class MoveResult { Done, Exists, Failed };

// Renames `from` to `to` inside the directory open as `dirFd`. Without
// `replace` nothing standing under `to` (a file, a link, a directory) is ever
// replaced: Exists. Links are never followed.
MoveResult MoveInDirectory(int dirFd, const QByteArray& from, const QByteArray& to, bool replace);

class NewLibraryFile {
 public:
  explicit NewLibraryFile(const QString& dir);  // the directory, ending with "/"
  ~NewLibraryFile();
  NewLibraryFile(const NewLibraryFile&) = delete;
  NewLibraryFile& operator=(const NewLibraryFile&) = delete;

  // Creates the temporary file; false when the directory cannot take one.
  bool open();
  bool write(const char* data, qint64 size);
  // The modification time the file will have.
  bool setModified(const timespec& when);
  // Moves the finished file onto `fileName` in the directory (see
  // MoveInDirectory); Done leaves it there for good. After Exists it may be
  // called again, with `replace` once the user agreed.
  MoveResult commit(const QString& fileName, bool replace);

 private:
  QByteArray m_dir;
  QByteArray m_temp;
  int m_dirFd = -1;
  int m_fd = -1;
  bool m_failed = false;
  bool m_forGroup = false;  // the directory is shared with its group
};

}  // namespace zorpokaz
