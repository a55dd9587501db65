// A virtual X display (Xvfb) for one test, on a display number the server
// picks itself (-displayfd), so that tests running side by side never meet on
// one display; stopped with the test, and with the test program if it dies.
#pragma once

#include <QProcess>
#include <QString>

#include <poll.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <csignal>

namespace zorpokaz::testing {

class VirtualDisplay {
 public:
  QString start() {
    int fds[2];
    if (pipe(fds) != 0)
      return QStringLiteral("no pipe");
    m_server.setChildProcessModifier([fds] {
      dup2(fds[1], 3);
      close(fds[0]);
      prctl(PR_SET_PDEATHSIG, SIGTERM);  // gone with a test killed half way
    });
    m_server.start(QStringLiteral("Xvfb"), {"-displayfd", "3", "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
    close(fds[1]);
    QByteArray number;
    pollfd pfd{fds[0], POLLIN, 0};
    while (!number.endsWith('\n') && poll(&pfd, 1, 15000) > 0) {
      char c;
      if (read(fds[0], &c, 1) != 1)
        break;
      number += c;
    }
    close(fds[0]);
    if (number.trimmed().isEmpty())
      return QStringLiteral("Xvfb gave no display");
    name = QLatin1Char(':') + QString::fromLatin1(number.trimmed());
    return QString();
  }
  ~VirtualDisplay() {
    if (m_server.state() != QProcess::NotRunning) {
      m_server.terminate();
      if (!m_server.waitForFinished(5000))
        m_server.kill();
      m_server.waitForFinished();
    }
  }
  QString name;

 private:
  QProcess m_server;
};

}  // namespace zorpokaz::testing
