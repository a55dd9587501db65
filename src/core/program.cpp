#include "core/program.h"

#include "platform/bytereader.h"
#include "platform/tfileverinfo.h"

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
  // The viewer carries no version resource of its own; it knows its version.
  if (file.exists() && file.canonicalFilePath() == runningExecutable())
    return QStringLiteral(ZP_VERSION).left(5);
  try {
    const TFileVerInfo info(exePath);
    QByteArray value;
    if (!info.QueryValue(QStringLiteral("\\StringFileInfo\\041504E2\\FileVersion"), value)) return QString();
    return Utf16LeText(value).left(5);
  } catch (const Error&) {
    return QString();
  }
}

}  // namespace zorpokaz
