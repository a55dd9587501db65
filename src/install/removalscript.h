// The script that removes the viewer's files after the viewer has ended: it
// deletes the executable and the printouts of ProgramDir (with what a copy
// cut short may have left), the directory when
// nothing else is left in it, and itself. It never touches anything outside
// ProgramDir: every path in it is quoted, and it does nothing when ProgramDir
// is no longer the directory it was written for.
#pragma once

#include <QByteArray>
#include <QString>

#include <sys/types.h>

namespace zorpokaz {

class RemovalScript {
 public:
  // The script's text for the viewer in `programDir` (ending with "/"), the
  // script itself stored at `scriptPath`.
  static QByteArray Text(const QString& programDir, const QString& scriptPath);

  // Replaces any earlier file at `path` by a new one only root's process can
  // change; a link planted there is removed, never followed. Throws Error
  // "Cannot create file <path>".
  static void Write(const QString& path, const QByteArray& text);

  // Starts the script detached from this process. It waits until the returned
  // object lets go of its standard input (release, or the end of this process
  // after keepUntilExit). Throws Error when it cannot be started.
  static RemovalScript Start(const QString& path);

  RemovalScript(RemovalScript&& other) noexcept;
  RemovalScript& operator=(RemovalScript&&) = delete;
  ~RemovalScript();  // releases unless keepUntilExit was called

  pid_t pid() const { return m_pid; }
  void release();
  void keepUntilExit();

 private:
  RemovalScript(pid_t pid, int hold) : m_pid(pid), m_hold(hold) {}
  pid_t m_pid = -1;
  int m_hold = -1;  // write end of the script's standard input
};

}  // namespace zorpokaz
