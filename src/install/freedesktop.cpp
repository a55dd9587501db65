#include "install/freedesktop.h"

#include "install/installpaths.h"
#include "install/shellquote.h"

#include <QStringList>

namespace zorpokaz {

namespace {

const QString kDefaultSection = QStringLiteral("[Default Applications]");

QString entryKey(const QString& line) {
  const qsizetype eq = line.indexOf(QLatin1Char('='));
  return eq < 0 ? QString() : line.left(eq).trimmed();
}

bool isSection(const QString& line) { return line.trimmed().startsWith(QLatin1Char('[')); }

// Lines of the text; a final line break does not make an extra empty line.
QStringList linesOf(const QString& text) {
  QStringList lines = text.split(QLatin1Char('\n'));
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  return lines;
}

QString joined(const QStringList& lines) {
  return lines.isEmpty() ? QString() : lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

// The desktop entry of the handler; `visibility` holds the lines that say
// whether and where menus show it.
QByteArray applicationEntry(const QString& exe, const char* visibility) {
  return (QStringLiteral("[Desktop Entry]\n"
                         "Type=Application\n"
                         "Name=ZorPokaz\n"
                         "GenericName=Przeglądarka wydruków\n"
                         "Comment=ZorPokaz - przeglądarka wydruków Zorela\n"
                         "Exec=") +
          DesktopExec(exe, QStringLiteral("%f")) +
          QStringLiteral("\n"
                         "Icon=%1\n"
                         "Terminal=false\n")
              .arg(QLatin1String(kAppIconName)) +
          QString::fromUtf8(visibility) + QStringLiteral("MimeType=%1;\n").arg(QLatin1String(kMimeType)))
      .toUtf8();
}

}  // namespace

QByteArray MimePackageXml() {
  return QStringLiteral(
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
             "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
             "  <mime-type type=\"%1\">\n"
             "    <comment>Wydruk z programu ZOREL 2001</comment>\n"
             "    <icon name=\"%2\"/>\n"
             "    <glob pattern=\"*.wyd\"/>\n"
             "  </mime-type>\n"
             "</mime-info>\n")
      .arg(QLatin1String(kMimeType), QLatin1String(kTypeIconName))
      .toUtf8();
}

QByteArray AssociationEntry(const QString& exe) { return applicationEntry(exe, "NoDisplay=true\n"); }

QByteArray MenuEntry(const QString& exe) {
  return applicationEntry(exe, "Categories=Office;Viewer;\nKeywords=wydruk;Zorel;drukowanie;podgląd;\n");
}

QByteArray ShortcutEntry(const QString& exe, const QString& programDir) {
  return (QStringLiteral("[Desktop Entry]\n"
                         "Type=Application\n"
                         "Name=ZorPokaz\n"
                         "Exec=") +
          DesktopExec(exe) + QStringLiteral("\nPath=") + KeyFileString(programDir) +
          QStringLiteral("\nIcon=%1\nTerminal=false\n").arg(QLatin1String(kAppIconName)))
      .toUtf8();
}

QString WithDefaultApplication(const QString& text, const QString& type, const QString& desktopId) {
  QStringList lines = linesOf(WithoutDefaultApplication(text, type, QString()));
  const QString entry = type + QLatin1Char('=') + desktopId + QLatin1Char(';');
  qsizetype section = 0;
  while (section < lines.size() && lines[section].trimmed() != kDefaultSection) ++section;
  if (section < lines.size()) {
    lines.insert(section + 1, entry);
  } else {
    if (!lines.isEmpty() && !lines.last().trimmed().isEmpty()) lines << QString();
    lines << kDefaultSection << entry;
  }
  return joined(lines);
}

QString WithoutDefaultApplication(const QString& text, const QString& type, const QString& desktopId) {
  QStringList kept;
  bool inDefaults = false;
  for (const QString& line : linesOf(text)) {
    if (isSection(line)) inDefaults = line.trimmed() == kDefaultSection;
    if (inDefaults && entryKey(line) == type) {
      // An empty desktopId takes every handler of the type.
      const QString value = line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed();
      if (desktopId.isEmpty() || value == desktopId || value == desktopId + QLatin1Char(';')) continue;
    }
    kept << line;
  }
  return joined(kept);
}

bool IsBlankList(const QString& text) {
  for (const QString& line : linesOf(text)) {
    const QString t = line.trimmed();
    if (!t.isEmpty() && !t.startsWith(QLatin1Char('['))) return false;
  }
  return true;
}

}  // namespace zorpokaz
