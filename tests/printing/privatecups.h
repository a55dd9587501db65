// A CUPS scheduler of the test's own: cupsd started on a socket in a scratch
// directory, with one cups-pdf queue (the scheduler's default) that writes
// its PDFs there too. The machine's own scheduler, queues and settings are
// never touched: the only file written outside the scratch directory is the
// queue's cups-pdf configuration (cups-pdf reads it from /etc/cups only),
// which did not exist before and is removed with everything else.
//
// This process talks to the private scheduler from start() on; programs
// started by the test get childEnvironment(). Needs root (cupsd runs the
// cups-pdf backend as root only), cupsd and printer-driver-cups-pdf.
#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

#include <map>
#include <vector>

namespace zorpokaz::testing {

struct QueueJob {
  int id = 0;
  QString state;                          // "completed", "aborted", ...
  std::map<QString, QString> attributes;  // every job attribute, as text
  QString pdf;                            // what cups-pdf wrote, empty if nothing
  QString spool;                          // the document as the program handed it in
  QString name() const { return attributes.count("job-name") ? attributes.at("job-name") : QString(); }
};

class PrivateCups {
 public:
  PrivateCups() = default;
  ~PrivateCups();
  PrivateCups(const PrivateCups&) = delete;
  PrivateCups& operator=(const PrivateCups&) = delete;

  // Starts the scheduler and adds the queue; empty on success, else why not.
  QString start();

  QString queue() const { return m_queue; }
  // Deletes the queue, as an administrator might while the program runs.
  QString removeQueue() { return run(QStringLiteral("lpadmin"), {QStringLiteral("-x"), m_queue}); }
  QProcessEnvironment childEnvironment() const;

  // The queue's jobs once `count` of them have finished, oldest first; fewer
  // when the time runs out.
  std::vector<QueueJob> waitForJobs(int count, int timeoutMs = 120000);

 private:
  QString path(const QString& name) const { return m_dir.filePath(name); }
  QString writeConfiguration();
  QString run(const QString& program, const QStringList& args);
  std::map<QString, QString> jobAttributes(int id);
  QString outputOf(int id) const;

  QTemporaryDir m_dir;
  QProcess m_cupsd;
  QString m_queue;
  QString m_pdfConf;  // /etc/cups/cups-pdf-<queue>.conf, once written
};

// Starts `cups` or ends the test: a skip on a developer's machine without
// root or CUPS, a failure in CI (CI=true), where the queue must be there.
#define ZP_START_PRIVATE_CUPS(cups)                                                   \
  do {                                                                                \
    const QString why_ = (cups).start();                                              \
    if (!why_.isEmpty()) {                                                            \
      if (qEnvironmentVariable("CI") == QLatin1String("true"))                        \
        FAIL() << "no CUPS queue: " << why_.toStdString();                            \
      GTEST_SKIP() << "no CUPS queue: " << why_.toStdString();                        \
    }                                                                                 \
  } while (false)

}  // namespace zorpokaz::testing
