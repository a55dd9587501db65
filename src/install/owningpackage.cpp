#include "install/owningpackage.h"

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

namespace zorpokaz {

namespace {

// dpkg-query takes a search argument as a shell pattern: a directory named
// with "*" or "?" must not match other files.
QString escapedPattern(const QString& file) {
  QString out;
  for (const QChar c : file) {
    if (c == QLatin1Char('*') || c == QLatin1Char('?') || c == QLatin1Char('[') || c == QLatin1Char('\\'))
      out += QLatin1Char('\\');
    out += c;
  }
  return out;
}

}  // namespace

QString PackageInSearchOutput(const QString& output, const QString& file) {
  const QString suffix = QStringLiteral(": ") + file;
  for (const QString& line : output.split(QLatin1Char('\n'))) {
    // "diversion by ..." and "local diversion ..." lines name no owner.
    if (!line.endsWith(suffix) || line.startsWith(QLatin1String("diversion ")) ||
        line.startsWith(QLatin1String("local diversion ")))
      continue;
    const QString owners = line.left(line.size() - suffix.size());
    const QString first = owners.section(QStringLiteral(", "), 0, 0);
    const QString name = first.section(QLatin1Char(':'), 0, 0).trimmed();
    if (!name.isEmpty() && !name.contains(QLatin1Char(' '))) return name;
  }
  return {};
}

QString OwningPackage(const QString& file) {
  const QString query = QStandardPaths::findExecutable(QStringLiteral("dpkg-query"));
  if (query.isEmpty() || !file.startsWith(QLatin1Char('/'))) return {};
  QProcess process;
  process.setStandardInputFile(QProcess::nullDevice());
  process.setStandardErrorFile(QProcess::nullDevice());
  process.start(query, {QStringLiteral("--search"), escapedPattern(file)});
  if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
    process.kill();
    return {};
  }
  return PackageInSearchOutput(QString::fromLocal8Bit(process.readAllStandardOutput()), file);
}

}  // namespace zorpokaz
