// A file the launcher writes into a target directory: created under a new
// hidden temporary name (never opened through a name someone may have put
// there), and moved onto its own name only once complete, so a half-written
// file never stands under that name and a link planted there is replaced,
// never followed. Removed when it goes uncommitted.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QIODevice>
#include <QString>

#include <sys/types.h>

namespace zorpokaz::paczka {

enum class CommitResult { Done, Exists, Failed };

class NewFile {
 public:
  explicit NewFile(const QString& dir) : m_dir(dir) {}
  ~NewFile();
  NewFile(const NewFile&) = delete;
  NewFile& operator=(const NewFile&) = delete;

  bool open();
  QIODevice& device() { return m_file; }
  // The modification time the file will have (local time).
  bool setModified(const QDateTime& when);
  // Gives the file `mode` (less the umask; in a directory shared with its
  // group, writable by the group) and moves it onto `path`. Without
  // `replace` nothing standing there (a link included) is replaced: Exists,
  // and it may be called again.
  CommitResult commit(const QString& path, mode_t mode, bool replace);
  // After a commit: a read-only descriptor of the file itself (the caller
  // closes it), or -1.
  int reopenReadOnly();

 private:
  QString m_dir;
  QByteArray m_temp;  // the temporary name, while the file is not committed
  int m_fd = -1;
  QFile m_file;  // writes through m_fd
  int m_readOnly = -1;
};

}  // namespace zorpokaz::paczka
