#include "cli/pageoptions.h"

#include "cli/commands.h"
#include "platform/errors.h"

namespace zorpokaz::cli {

QString takeOption(QStringList& args, const QString& name, const QString& fallback) {
  const qsizetype at = args.indexOf(name);
  if (at < 0) return fallback;
  if (at + 1 >= args.size()) throw UsageError(QStringLiteral("%1 needs a value").arg(name).toStdString());
  const QString value = args.at(at + 1);
  args.remove(at, 2);
  return value;
}

bool takeFlag(QStringList& args, const QString& name) { return args.removeAll(name) > 0; }

int parseInt(const QString& text, const QString& option, int min, int max) {
  bool ok = false;
  const int value = text.toInt(&ok);
  if (!ok || value < min || value > max)
    throw UsageError(QStringLiteral("%1 takes a whole number from %2 to %3, not '%4'")
                         .arg(option)
                         .arg(min)
                         .arg(max)
                         .arg(text)
                         .toStdString());
  return value;
}

PageList choosePages(const QString& pageSet, int pageCount) {
  PageList chosen;
  if (pageSet.isEmpty()) {
    for (int i = 1; i <= pageCount; ++i) chosen.push_back(i);
    return chosen;
  }
  try {
    return ParsePageSet(TrimBlanks(pageSet), pageCount);
  } catch (const Error& e) {  // the page-set messages and the conversion error
    throw UsageError(QString::fromUtf8(e.what()).replace(QLatin1Char('\r'), QLatin1Char(' ')).toStdString());
  }
}

std::unique_ptr<TWydruk> buildPrintout(const QString& file, int dpi) {
  auto doc = std::make_unique<TWydruk>();
  doc->setResolution(dpi);
  doc->LoadFromFile(file);
  doc->BuildPages();
  return doc;
}

}  // namespace zorpokaz::cli
