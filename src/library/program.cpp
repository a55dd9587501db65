#include "library/program.h"

#include <QFileInfo>

namespace zorpokaz {

namespace {

// The kernel's link to the running image names it even when the program was
// started through a relative path or a symbolic link.
QString runningExecutable() {
  static const QString file = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
  return file;
}

}  // namespace

QString ProgramFile() { return runningExecutable(); }

QString ProgramDir() {
  static const QString dir = QFileInfo(runningExecutable()).absolutePath() + QLatin1Char('/');
  return dir;
}

QString ProgramVersion(const QString& exePath) {
  const QFileInfo file(exePath);
  if (file.exists() && file.canonicalFilePath() == runningExecutable())
    return QStringLiteral(ZP_VERSION).left(5);
  return QString();
}

}  // namespace zorpokaz
