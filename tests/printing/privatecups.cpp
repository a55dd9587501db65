#include "printing/privatecups.h"

#include <cups/cups.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cerrno>
#include <csignal>

namespace zorpokaz::testing {

namespace {

const QString kPpd = QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd");
const QString kBackend = QStringLiteral("/usr/lib/cups/backend/cups-pdf");
const QString kPdfConfDir = QStringLiteral("/etc/cups");
const QString kQueuePrefix = QStringLiteral("zorpokaz-test-");

bool writeFile(const QString& file, const QString& text, QIODevice::OpenMode mode = QIODevice::WriteOnly) {
  QFile f(file);
  return f.open(mode) && f.write(text.toUtf8()) == text.toUtf8().size();
}

// Configurations left by a test that was killed: their process is gone.
void removeStalePdfConfigurations() {
  const QStringList left = QDir(kPdfConfDir).entryList({"cups-pdf-" + kQueuePrefix + "*.conf"}, QDir::Files);
  for (const QString& name : left) {
    const int pid = name.section('-', 4, 4).section('.', 0, 0).toInt();
    if (pid > 0 && kill(pid, 0) != 0 && errno == ESRCH)
      QFile::remove(kPdfConfDir + '/' + name);
  }
}

}  // namespace

PrivateCups::~PrivateCups() {
  if (m_cupsd.state() != QProcess::NotRunning) {
    m_cupsd.terminate();
    if (!m_cupsd.waitForFinished(10000))
      m_cupsd.kill();
    m_cupsd.waitForFinished(5000);
  }
  if (!m_pdfConf.isEmpty())
    QFile::remove(m_pdfConf);
  cupsSetServer(nullptr);
  qunsetenv("CUPS_SERVER");
}

QString PrivateCups::start() {
  if (geteuid() != 0)
    return QStringLiteral("the scheduler runs the cups-pdf backend only as root");
  for (const QString& needed : {QStringLiteral("/usr/sbin/cupsd"), QStringLiteral("/usr/sbin/lpadmin"), kBackend, kPpd})
    if (!QFileInfo::exists(needed))
      return needed + QStringLiteral(" is missing (cups, printer-driver-cups-pdf)");
  if (!m_dir.isValid())
    return QStringLiteral("no scratch directory");
  // For a look at the scheduler's logs and spool after a failure.
  if (qEnvironmentVariableIsSet("ZP_KEEP_PRIVATE_CUPS")) {
    m_dir.setAutoRemove(false);
    fprintf(stderr, "private CUPS in %s\n", qPrintable(m_dir.path()));
  }
  removeStalePdfConfigurations();
  if (QString why = writeConfiguration(); !why.isEmpty())
    return why;

  m_cupsd.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  // A test killed half way (a time limit) takes its scheduler with it.
  m_cupsd.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
  m_cupsd.start(QStringLiteral("/usr/sbin/cupsd"),
                {"-f", "-c", path("etc/cupsd.conf"), "-s", path("etc/cups-files.conf")});
  if (!m_cupsd.waitForStarted(10000))
    return QStringLiteral("cupsd did not start");
  const QByteArray socket = QFile::encodeName(path("cups.sock"));
  QElapsedTimer waited;
  waited.start();
  bool up = false;
  while (!up && waited.elapsed() < 20000 && m_cupsd.state() == QProcess::Running) {
    if (http_t* http = httpConnect2(socket.constData(), 0, nullptr, AF_LOCAL, HTTP_ENCRYPTION_NEVER, 1, 1000, nullptr)) {
      httpClose(http);
      up = true;
    } else {
      QThread::msleep(100);
    }
  }
  if (!up)
    return QStringLiteral("cupsd does not answer on ") + path("cups.sock");
  qputenv("CUPS_SERVER", socket);
  cupsSetServer(socket.constData());

  m_queue = kQueuePrefix + QString::number(getpid());
  m_pdfConf = kPdfConfDir + "/cups-pdf-" + m_queue + ".conf";
  const QString pdfConf = QStringLiteral("Out %1\nAnonDirName %1\nSpool %2\nLog %3\n")
                              .arg(path("out"), path("pdfspool"), path("log"));
  if (!writeFile(m_pdfConf, pdfConf, QIODevice::WriteOnly | QIODevice::NewOnly)) {
    m_pdfConf.clear();
    return QStringLiteral("cannot write the queue's cups-pdf configuration in ") + kPdfConfDir;
  }
  if (QString why = run("lpadmin", {"-p", m_queue, "-E", "-v", "cups-pdf:/" + m_queue, "-P", kPpd});
      !why.isEmpty())
    return why;
  return run("lpadmin", {"-d", m_queue});
}

QString PrivateCups::writeConfiguration() {
  QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                          QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                          QFile::ExeOther);
  for (const char* sub : {"etc/ppd", "spool", "tmp", "cache", "state", "log", "out", "pdfspool"})
    QDir().mkpath(path(sub));
  // Filters run as the scheduler's unprivileged user and write temporary files.
  chmod(QFile::encodeName(path("tmp")).constData(), 01777);
  const QString files =
      QStringLiteral(
          "ServerRoot %1/etc\nRequestRoot %1/spool\nTempDir %1/tmp\nCacheDir %1/cache\n"
          "StateDir %1/state\nAccessLog %1/log/access_log\nErrorLog %1/log/error_log\n"
          "PageLog %1/log/page_log\nServerBin /usr/lib/cups\nDataDir /usr/share/cups\n"
          "FileDevice No\nSystemGroup root\n")
          .arg(m_dir.path());
  const QString daemon = QStringLiteral(
                             "LogLevel info\nListen %1/cups.sock\nBrowsing No\nWebInterface No\n"
                             "DefaultAuthType None\nPreserveJobFiles Yes\nPreserveJobHistory Yes\n"
                             "ErrorPolicy abort-job\n"
                             "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                             "<Policy default>\n  JobPrivateAccess all\n  JobPrivateValues none\n"
                             "  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n")
                             .arg(m_dir.path());
  if (!writeFile(path("etc/cups-files.conf"), files) || !writeFile(path("etc/cupsd.conf"), daemon))
    return QStringLiteral("cannot write the scheduler's configuration");
  return QString();
}

QProcessEnvironment PrivateCups::childEnvironment() const {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("CUPS_SERVER", path("cups.sock"));
  // No client.conf or lpoptions of the machine's: the private queue is the default.
  env.insert("CUPS_SERVERROOT", path("etc"));
  env.remove("PRINTER");
  env.remove("LPDEST");
  return env;
}

QString PrivateCups::run(const QString& program, const QStringList& args) {
  QProcess p;
  p.setProcessEnvironment(childEnvironment());
  p.start(program, args);
  if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
    return program + ' ' + args.join(' ') + ": " + QString::fromLocal8Bit(p.readAllStandardError());
  return QString();
}

std::map<QString, QString> PrivateCups::jobAttributes(int id) {
  ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
  const QByteArray uri = "ipp://localhost/jobs/" + QByteArray::number(id);
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri.constData());
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr, "all");
  ipp_t* response = cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/");
  std::map<QString, QString> attributes;
  for (ipp_attribute_t* a = ippFirstAttribute(response); a; a = ippNextAttribute(response)) {
    if (!ippGetName(a) || ippGetGroupTag(a) != IPP_TAG_JOB)
      continue;
    char text[4096];
    ippAttributeString(a, text, sizeof text);
    attributes[QString::fromUtf8(ippGetName(a))] = QString::fromUtf8(text);
  }
  ippDelete(response);
  return attributes;
}

QString PrivateCups::outputOf(int id) const {
  // cups-pdf names its file after the title and ends it with the job number.
  const QStringList files =
      QDir(path("out")).entryList({QStringLiteral("*-job_%1.pdf").arg(id)}, QDir::Files);
  return files.isEmpty() ? QString() : QDir(path("out")).filePath(files.front());
}

std::vector<QueueJob> PrivateCups::waitForJobs(int count, int timeoutMs) {
  QElapsedTimer waited;
  waited.start();
  std::vector<QueueJob> done;
  for (;;) {
    cups_job_t* jobs = nullptr;
    const QByteArray queue = m_queue.toUtf8();
    const int n = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queue.constData(), 0, CUPS_WHICHJOBS_ALL);
    done.clear();
    bool busy = false;
    for (int i = 0; i < n; ++i) {
      if (jobs[i].state < IPP_JSTATE_STOPPED) {
        busy = true;
        continue;
      }
      QueueJob job;
      job.id = jobs[i].id;
      job.state = QString::fromUtf8(ippEnumString("job-state", jobs[i].state));
      done.push_back(job);
    }
    cupsFreeJobs(n, jobs);
    if ((!busy && static_cast<int>(done.size()) >= count) || waited.elapsed() > timeoutMs)
      break;
    QThread::msleep(250);
  }
  std::sort(done.begin(), done.end(), [](const QueueJob& a, const QueueJob& b) { return a.id < b.id; });
  for (QueueJob& job : done) {
    job.attributes = jobAttributes(job.id);
    job.pdf = outputOf(job.id);
    job.spool = path(QStringLiteral("spool/d%1-001").arg(job.id, 5, 10, QLatin1Char('0')));
  }
  return done;
}

}  // namespace zorpokaz::testing
