#include "install/removalscript.h"

#include "install/installpaths.h"
#include "install/shellquote.h"
#include "install/systemfiles.h"
#include "platform/errors.h"

#include <QFile>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <unistd.h>

extern char** environ;

namespace zorpokaz {

namespace {

QString withoutTrailingSlash(const QString& dir) {
  return dir.size() > 1 && dir.endsWith(QLatin1Char('/')) ? dir.left(dir.size() - 1) : dir;
}

[[noreturn]] void cannotCreate(const QString& path) {
  throw Error(("Cannot create file " + path).toStdString());
}

}  // namespace

QByteArray RemovalScript::Text(const QString& programDir, const QString& scriptPath) {
  const QString dir = ShellQuote(withoutTrailingSlash(programDir));
  // The viewer keeps the other end of standard input open until it exits, so
  // reading to the end is waiting for it. The directory is entered without
  // following links and checked, so a directory swapped for a link since the
  // script was written is left alone; inside, only relative names are used.
  QString text = QStringLiteral(
      "#!/bin/sh\n"
      "# Removes the ZorPokaz viewer once it has ended.\n"
      "cat >/dev/null\n");
  text += QStringLiteral("if cd -P -- %1 && [ \"$(pwd -P)\" = %1 ]; then\n").arg(dir);
  text += QStringLiteral("  rm -f -- ./%1\n").arg(ShellQuote(QLatin1String(kViewerFileName)));
  // Exactly what the program can have written: printouts under visible
  // names (it never makes a hidden one) and the temporary files of a copy
  // that was cut short. A hidden "*.wyd" is someone else's file.
  text += QStringLiteral(
      "  for f in ./*.[Ww][Yy][Dd] ./.zorpokaz-??????; do\n"
      "    if [ -f \"$f\" ] || [ -L \"$f\" ]; then rm -f -- \"$f\"; fi\n"
      "  done\n");
  text += QStringLiteral("  cd / && rmdir -- %1 2>/dev/null\n").arg(dir);
  text += QStringLiteral("fi\n");
  text += QStringLiteral("rm -f -- %1\n").arg(ShellQuote(scriptPath));
  return QFile::encodeName(text);
}

void RemovalScript::Write(const QString& path, const QByteArray& text) {
  const QByteArray native = QFile::encodeName(path);
  if (unlink(native.constData()) != 0 && errno != ENOENT) cannotCreate(path);
  // Exclusive creation: in a shared temporary directory another user could
  // otherwise have put a file or a link there for root to write into.
  const int fd = open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0700);
  if (fd < 0) cannotCreate(path);
  const bool ok = WriteAll(fd, text) && fchmod(fd, 0700) == 0;
  if (close(fd) != 0 || !ok) cannotCreate(path);
}

RemovalScript RemovalScript::Start(const QString& path) {
  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC) != 0) throw Error("Cannot start " + path.toStdString());
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[0], STDIN_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  sigset_t none, all;
  sigemptyset(&none);
  sigfillset(&all);
  posix_spawnattr_setsigmask(&attr, &none);
  posix_spawnattr_setsigdefault(&attr, &all);
  // A session of its own: closing the viewer's terminal does not stop it.
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  const QByteArray script = QFile::encodeName(path);
  char sh[] = "/bin/sh";
  char* argv[] = {sh, const_cast<char*>(script.constData()), nullptr};
  pid_t pid = -1;
  const int error = posix_spawn(&pid, sh, &actions, &attr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attr);
  close(pipeFds[0]);
  if (error != 0) {
    close(pipeFds[1]);
    throw Error("Cannot start " + path.toStdString());
  }
  return RemovalScript(pid, pipeFds[1]);
}

RemovalScript::RemovalScript(RemovalScript&& other) noexcept : m_pid(other.m_pid), m_hold(other.m_hold) {
  other.m_hold = -1;
}

RemovalScript::~RemovalScript() { release(); }

void RemovalScript::release() {
  if (m_hold >= 0) close(m_hold);
  m_hold = -1;
}

void RemovalScript::keepUntilExit() { m_hold = -1; }

}  // namespace zorpokaz
