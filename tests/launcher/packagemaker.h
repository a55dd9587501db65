// Packages for the launcher's tests, made the way users get them: the built
// launcher, a viewer (a stand-in script that records how it was started, or
// the built viewer) and printouts, put together by `zorpokaz-cli pack`.
#pragma once

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>
#include <optional>

#include "launcher/launcherui.h"
#include "support/printoutwriter.h"
#include "support/testfiles.h"

namespace zorpokaz::paczka::test {

inline QString builtProgram(const char* name) {
  return QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../src/" + name);
}
inline QString cliPath() { return builtProgram("zorpokaz-cli"); }
inline QString launcherPath() { return builtProgram("zorpokaz-paczka"); }
inline QString viewerPath() { return builtProgram("zorpokaz"); }

using testfiles::readFile;
using testfiles::writeFile;

// A small valid printout whose one field says `text`.
inline QByteArray printout(const QByteArray& text) {
  using namespace writer;
  WPrintout p;
  WStyle style;
  style.name = "Domyslny";
  p.styles.push_back(style);
  p.root.intro = group({line({textField(0, 1000, text)})});
  return writePrintout(p);
}

// A stand-in viewer: appends "<its path>|<arguments>|<its directory's files,
// each followed by "/">" as one line to $ZP_VIEWER_LOG. The path is where its
// file is now, also when it was started from a descriptor (/proc/self/fd/N).
inline QByteArray standInViewer() {
  return "#!/bin/sh\n"
         "p=$(readlink -f \"$0\")\n"
         "d=$(dirname \"$p\")\n"
         "printf '%s|%s|%s\\n' \"$p\" \"$*\" \"$(ls -A \"$d\" | tr '\\n' '/')\" >> \"$ZP_VIEWER_LOG\"\n";
}

// A program the dynamic loader refuses to start: a copy of the system's
// `true` whose C library is named "libzpq.so", a library no machine has.
inline QByteArray viewerRefusedByTheLoader() {
  QByteArray bytes = readFile(QStringLiteral("/bin/true"));
  const QByteArray libc("libc.so.6\0", 10);
  const qsizetype at = bytes.indexOf(libc);
  if (at >= 0) bytes.replace(at, libc.size(), QByteArray("libzpq.so\0", 10));
  return bytes;
}

struct CliResult {
  int status = -1;
  QByteArray out, err;
};

inline CliResult runCli(const QStringList& args) {
  QProcess p;
  p.start(cliPath(), args);
  if (!p.waitForFinished(120000)) return {-1, {}, "did not finish"};
  return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
          p.readAllStandardError()};
}

// Packs `viewer` (a file) with `printouts` into `out`; fails the test when
// pack does not succeed.
inline void pack(const QString& viewer, const QString& version, const QString& out,
                 const QStringList& printouts = {}) {
  QStringList args{"--stub", launcherPath(), "--viewer", viewer, "-o", out};
  if (!version.isEmpty()) args << "--version" << version;
  const CliResult r = runCli(QStringList{"pack"} + args + printouts);
  ASSERT_EQ(r.status, 0) << r.err.toStdString();
}

// Messages the launcher shows, as "<kind>|<text>"; questions answered from
// `answers` (true = Yes), in turn, No when none is left.
class RecordingUi : public LauncherUi {
 public:
  void ErrorBox(const QString& text) override { shown << "error|" + text; }
  void ErrorBoxWithDetails(const QString& text, const QString& why) override {
    shown << "error|" + text;
    details << why;
  }
  void InformationBox(const QString& text) override { shown << "info|" + text; }
  bool OverwriteQuestion(const QString& text) override {
    shown << "question|" + text;
    if (answers.isEmpty()) return false;
    return answers.takeFirst();
  }
  void RightsBox(const QString& text) override { shown << "rights|" + text; }

  QStringList shown;
  QStringList details;  // of the error boxes that carry them
  QList<bool> answers;
};

// Environment variables set for a test's life and put back afterwards.
class ScopedEnv {
 public:
  ~ScopedEnv() {
    for (const auto& [name, value] : m_saved) {
      if (value)
        qputenv(name.constData(), *value);
      else
        qunsetenv(name.constData());
    }
  }
  void set(const char* name, const QString& value) {
    if (!m_saved.count(name))
      m_saved[name] = qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt;
    qputenv(name, QFile::encodeName(value));
  }

 private:
  std::map<QByteArray, std::optional<QByteArray>> m_saved;
};

}  // namespace zorpokaz::paczka::test
