// zorpokaz-cli pages FILE [--dpi N] [--json]: lays a printout out and dumps
// every page image, item by item, as the layout recorded it.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "cli/commands.h"
#include "cli/pageoptions.h"
#include "document/tmlinewydruk.h"
#include "document/twydruk.h"
#include "platform/gfx/pageimage.h"
#include "platform/gfx/realizedfont.h"

namespace zorpokaz::cli {

namespace {

QJsonArray rectJson(const PxRect& r) { return {r.left, r.top, r.right, r.bottom}; }

// "used" is the family that drew the text, so a missing typeface shows.
QJsonObject fontJson(const LogFont& f) {
  return {{"face", f.face},     {"used", RealizedFont::get(f).familyName()},
          {"height", f.height}, {"width", f.width},
          {"weight", f.weight}, {"italic", f.italic},
          {"underline", f.underline}, {"charset", f.charset}};
}

QJsonObject itemJson(const PageImage::Item& item) {
  switch (item.kind) {
    case PageImage::ItemKind::Text: {
      QJsonArray lines;
      for (const auto& l : item.lines) lines.append(QJsonObject{{"text", l.text}, {"x", l.x}, {"baseline", l.baseline}});
      return {{"kind", "text"},
              {"text", item.text},
              {"rect", rectJson(item.rect)},
              {"flags", static_cast<int>(item.flags)},
              {"color", colorRefName(item.color)},
              {"font", fontJson(item.font)},
              {"lines", lines}};
    }
    case PageImage::ItemKind::Line:
      return {{"kind", "line"},
              {"from", QJsonArray{item.from.x(), item.from.y()}},
              {"to", QJsonArray{item.to.x(), item.to.y()}},
              {"width", item.penWidth},
              {"color", colorRefName(item.color)}};
    case PageImage::ItemKind::Picture:
      return {{"kind", "picture"}, {"rect", rectJson(item.rect)}};
  }
  return {};
}

}  // namespace

QJsonObject pageJson(int number, const PageImage& page) {
  QJsonArray items;
  for (const auto& item : page.items()) items.append(itemJson(item));
  return {{"number", number}, {"items", items}};
}

int cmdPages(const QStringList& argsIn) {
  QStringList args = argsIn;
  const int dpi = parseInt(takeOption(args, QStringLiteral("--dpi"), QStringLiteral("96")), "--dpi", 24, 1200);
  const bool json = takeFlag(args, QStringLiteral("--json"));
  if (args.size() != 1) throw UsageError("expected one printout file");

  TWydruk doc;
  doc.setResolution(dpi);
  doc.LoadFromFile(args.front());
  // Each page is written, or summed up, as the layout finishes it and is not
  // kept: memory holds the printout's model and one page.
  doc.Tekst().KeepPages = false;
  const QSize size = PageSizePx(dpi);
  if (!json) {
    std::vector<std::pair<size_t, size_t>> pages;  // items, bytes
    doc.OnNextPage = [&](TWydruk&, const PageImage& page) { pages.emplace_back(page.itemCount(), page.byteSize()); };
    doc.BuildPages();
    out(QStringLiteral("%1 page(s) of %2 x %3 px at %4 dpi\n").arg(pages.size()).arg(size.width()).arg(size.height()).arg(dpi));
    for (size_t i = 0; i < pages.size(); ++i)
      out(QStringLiteral("page %1: %2 item(s), %3 bytes\n").arg(i + 1).arg(pages[i].first).arg(pages[i].second));
    return 0;
  }
  out(QStringLiteral("{\"dpi\":%1,\"width\":%2,\"height\":%3,\"pages\":[").arg(dpi).arg(size.width()).arg(size.height()));
  int number = 0;
  doc.OnNextPage = [&](TWydruk&, const PageImage& page) {
    if (number > 0) out(QStringLiteral(","));
    outBytes(QJsonDocument(pageJson(++number, page)).toJson(QJsonDocument::Compact));
  };
  doc.BuildPages();
  out(QStringLiteral("]}\n"));
  return 0;
}

}  // namespace zorpokaz::cli
