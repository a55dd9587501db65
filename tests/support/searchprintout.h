// A printout to search, copy and save: page k holds "Faktura nr k/2024",
// "Żółw morski nr k", a row of three fields "Lp.", "Nazwa", "Kwota k,00" and,
// on the page `greenPage`, a second turtle "Zielony ŻÓŁW". Polish letters in
// code page 1250, as the accounting system writes them.
#pragma once

#include <QByteArray>

#include "support/printoutwriter.h"
#include "support/samples.h"

namespace zorpokaz::writer {

inline QByteArray searchPrintout(int pages, int greenPage = -1) {
  WPrintout p;
  WStyle s;
  s.name = "Domyslny";
  p.styles = {s};
  auto text = [](const QString& t) { return encodeText(t, 238); };
  for (int k = 1; k <= pages; ++k) {
    const QByteArray n = QByteArray::number(k);
    std::vector<WLine> lines = {
        line({textField(0, 6000, "Faktura nr " + n + "/2024")}),
        line({textField(0, 6000, text(QStringLiteral("Żółw morski nr ")) + n)}),
        line({textField(0, 600, "Lp."), textField(1200, 2400, "Nazwa"), textField(4800, 1200, "Kwota " + n + ",00")}),
    };
    if (k == greenPage) lines.push_back(line({textField(0, 6000, text(QStringLiteral("Zielony ŻÓŁW")))}));
    WBlock page;
    page.newPageBefore = k > 1;
    page.intro = group(lines);
    p.root.children.push_back(page);
  }
  return writePrintout(p);
}

}  // namespace zorpokaz::writer
