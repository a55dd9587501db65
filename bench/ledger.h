// The generated ledger the benchmarks lay out: accounts of entries of 8
// fields (date, document, description, accounts, three amounts and the page
// number), two levels of blocks with headings, 84 lines a page.
#pragma once

#include "support/printoutwriter.h"

namespace zorpokaz::writer {

inline WLine ledgerLine(int n) {
  const QByteArray num = QByteArray::number(n);
  return line({textField(0, 800, "2024-01-" + QByteArray::number(n % 18 + 10)),
               textField(820, 700, "PK " + num),
               textField(1540, 3200, "Sprzeda\xbf towar\xf3w wg faktury nr " + num),
               textField(4760, 600, QByteArray::number(n % 7) + "/" + QByteArray::number(n % 13)),
               textField(5400, 850, QByteArray::number(n * 37 % 100000) + ",00", "Domyslny", 1),
               textField(6300, 850, QByteArray::number(n * 53 % 100000) + ",50", "Domyslny", 1),
               textField(7200, 850, QByteArray::number(n * 11 % 100000) + ",25", "Domyslny", 1),
               textField(8100, 900, "Strona %n", "Domyslny", 2)});
}

inline WPrintout ledger(int accounts, int entriesPerAccount) {
  WPrintout p;
  p.root.heading = group({line({textField(0, 8000, "Ksi\xea ga g\xb3\xf3wna - zestawienie obrot\xf3w")}),
                          line({textField(0, 1200, "Data"), textField(1240, 2400, "Tre\x9c\xe6")})});
  int n = 0;
  for (int a = 0; a < accounts; ++a) {
    WBlock account;
    account.heading = group({line({textField(0, 3000, "Konto " + QByteArray::number(a))})});
    WBlock entries;
    std::vector<WLine> lines;
    lines.reserve(entriesPerAccount);
    for (int e = 0; e < entriesPerAccount; ++e) lines.push_back(ledgerLine(n++));
    entries.intro = group(std::move(lines), true);
    account.children.push_back(std::move(entries));
    account.closing = group({line({textField(0, 3000, "Razem konto"), textField(4280, 900, "1,00", "Domyslny", 1)})});
    p.root.children.push_back(std::move(account));
  }
  return p;
}

}  // namespace zorpokaz::writer
