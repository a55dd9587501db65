// `unpack PACKAGE DIR [--overwrite]`: takes the printouts out of a package the
// way the viewer does, without questions. Existing printouts are kept unless
// --overwrite; records whose names could leave DIR are skipped. One line per
// record on standard output ("written", "kept") or standard error ("skipped").
#include <QDir>
#include <QFileInfo>
#include <cstdio>

#include "cli/commands.h"
#include "core/packagereader.h"

namespace zorpokaz::cli {

namespace {

class CliExtractHandler : public ExtractHandler {
 public:
  explicit CliExtractHandler(bool overwrite) : m_overwrite(overwrite) {}

  // Asked again only when the file could not be deleted: then it stays.
  bool ConfirmOverwrite(const QString&, int attempt) override { return m_overwrite && attempt == 0; }

  void NameRefused(const QString& message) override {
    QString text = message;
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    const QByteArray utf8 = (QStringLiteral("skipped: ") + text + QLatin1Char('\n')).toUtf8();
    std::fwrite(utf8.constData(), 1, static_cast<std::size_t>(utf8.size()), stderr);
  }

  void Done(const QString& dest, bool written) override {
    out((written ? QStringLiteral("written: ") : QStringLiteral("kept: ")) + dest + QLatin1Char('\n'));
  }

 private:
  bool m_overwrite;
};

}  // namespace

int cmdUnpack(const QStringList& args) {
  QStringList paths;
  bool overwrite = false;
  for (const QString& a : args) {
    if (a == QLatin1String("--overwrite"))
      overwrite = true;
    else if (a.startsWith(QLatin1String("--")))
      throw UsageError("unknown option " + a.toStdString());
    else
      paths << a;
  }
  if (paths.size() != 2) throw UsageError("expected PACKAGE and DIR");
  const QFileInfo dir(paths[1]);
  if (!dir.isDir()) throw UsageError("not a directory: " + paths[1].toStdString());
  QString target = QDir::cleanPath(dir.absoluteFilePath());
  if (!target.endsWith(QLatin1Char('/'))) target += QLatin1Char('/');
  const std::int64_t offset = CheckPackage(paths[0]);
  CliExtractHandler handler(overwrite);
  ExtractPrintouts(paths[0], offset, target, handler);
  return 0;
}

}  // namespace zorpokaz::cli
