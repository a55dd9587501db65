// `info FILE [--json]`: the body header, the styles read from the file and the
// size of the block tree. `blocks` counts the root; `lines` and `fields` count
// every record of the file, reserved and heading lines included.
#include <charconv>
#include <cmath>

#include "cli/commands.h"
#include "document/linedruk.h"
#include "document/tmlinewydruk.h"
#include "platform/codepage.h"

namespace zorpokaz::cli {

namespace {

// Names in a printout are in the user's code page.
constexpr int kNameCodePage = 1250;

struct Counts {
  int blocks = 0;
  long long lines = 0;
  long long fields = 0;
};

void count(const TMLine& block, Counts& c) {
  ++c.blocks;
  for (const TLinie* g : {&block.Intro, &block.Heading, &block.ReservedLines, &block.Closing}) {
    c.lines += g->Count();
    for (const auto& line : g->Lines) c.fields += static_cast<long long>(line.Fields().size());
  }
  for (const auto& child : block.Children) count(*child, c);
}

QString name(const QByteArray& bytes) { return decodeWindowsCodePage(bytes, kNameCodePage); }

// Shortest text that reads back as the same float32; JSON has no inf or NaN.
QString number(float v) {
  if (!std::isfinite(v)) return "null";
  char buf[64];
  const auto end = std::to_chars(buf, buf + sizeof buf, v).ptr;
  QString s = QString::fromLatin1(buf, end - buf);
  if (!s.contains('.') && !s.contains('e')) s += ".0";
  return s;
}

QString jsonString(const QString& s) {
  QString r = "\"";
  for (const QChar c : s) {
    switch (c.unicode()) {
      case '"': r += "\\\""; break;
      case '\\': r += "\\\\"; break;
      case '\n': r += "\\n"; break;
      case '\r': r += "\\r"; break;
      case '\t': r += "\\t"; break;
      default:
        if (c.unicode() < 0x20)
          r += QString("\\u%1").arg(c.unicode(), 4, 16, QChar('0'));
        else
          r += c;
    }
  }
  return r + "\"";
}

QString json(const TMLineWydruk& w, const Counts& c) {
  QString styles;
  for (int i = 1; i < w.Styles.Count(); ++i) {
    const TStyl& s = *w.Styles.Item(i);
    if (i > 1) styles += ",";
    styles += QString("{\"name\":%1,\"alias\":%2,\"font\":%3,\"charset\":%4}")
                  .arg(jsonString(name(s.Name)), jsonString(name(s.Alias)), jsonString(name(s.FontName())))
                  .arg(s.Charset);
  }
  return QString("{\"version\":%1,\"units\":%2,\"line_spacing\":%3,\"lines_per_page\":%4,\"styles\":[%5],"
                 "\"blocks\":%6,\"lines\":%7,\"fields\":%8}\n")
      .arg(w.Version)
      .arg(w.Units)
      .arg(number(w.LineSpacing))
      .arg(w.LinesPerPage)
      .arg(styles)
      .arg(c.blocks)
      .arg(c.lines)
      .arg(c.fields);
}

QString text(const QString& file, const TMLineWydruk& w, const Counts& c) {
  QString t;
  t += QString("file            %1\n").arg(file);
  t += QString("version         %1\n").arg(w.Version);
  t += QString("units           %1 per inch\n").arg(w.Units);
  t += QString("line spacing    %1 mm\n").arg(number(w.LineSpacing));
  t += QString("lines per page  %1\n").arg(w.LinesPerPage);
  t += QString("styles          %1\n").arg(w.Styles.Count() - 1);
  for (int i = 1; i < w.Styles.Count(); ++i) {
    const TStyl& s = *w.Styles.Item(i);
    t += QString("  \"%1\"  alias \"%2\"  font \"%3\"  charset %4  cell %5 x %6 mm%7%8%9\n")
             .arg(name(s.Name), name(s.Alias), name(s.FontName()))
             .arg(s.Charset)
             .arg(number(s.CharWidth), number(s.CharHeight))
             .arg(s.FontStyle() & TStyl::kBold ? "  bold" : "", s.FontStyle() & TStyl::kItalic ? "  italic" : "",
                  s.FontStyle() & TStyl::kUnderline ? "  underline" : "");
  }
  t += QString("blocks          %1\n").arg(c.blocks);
  t += QString("lines           %1\n").arg(c.lines);
  t += QString("fields          %1\n").arg(c.fields);
  return t;
}

}  // namespace

int cmdInfo(const QStringList& args) {
  QString file;
  bool asJson = false;
  for (const QString& a : args) {
    if (a == "--json")
      asJson = true;
    else if (a.startsWith("--") || !file.isEmpty())
      throw UsageError("unexpected argument '" + a.toStdString() + "'");
    else
      file = a;
  }
  if (file.isEmpty()) throw UsageError("no file given");

  TMLineWydruk content;
  {
    OpenedBody opened = OpenBody(file);
    content.LoadFromStream(*opened.Body);
  }
  Counts c;
  count(content.Root, c);
  out(asJson ? json(content, c) : text(file, content, c));
  return 0;
}

}  // namespace zorpokaz::cli
