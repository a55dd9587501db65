#include "support/samples.h"

#include <cmath>

#include "platform/codepage.h"
#include "support/libemfpictures.h"

namespace zorpokaz::writer {

QByteArray encodeText(const QString& text, int charset) {
  const int codePage = codePageForCharset(charset);
  QByteArray out;
  out.reserve(text.size());
  for (const QChar c : text) {
    if (c.unicode() < 0x80) {
      out.append(static_cast<char>(c.unicode()));
      continue;
    }
    char byte = '?';
    for (int b = 0x80; b < 0x100; ++b)
      if (codePageChar(codePage, static_cast<unsigned char>(b)) == c) {
        byte = static_cast<char>(b);
        break;
      }
    out.append(byte);
  }
  return out;
}

std::int32_t mmUnits(double mm) { return static_cast<std::int32_t>(std::lround(mm / 25.4 * 1200)); }

namespace {

constexpr std::uint8_t TStylBold = 1, TStylItalic = 2, TStylUnderline = 4;

// Polish texts of the samples are written in code page 1250 (charset 238).
QByteArray pl(const QString& text) { return encodeText(text, 238); }

WStyle style(QByteArray name, QByteArray font, int charsPerLine, float charHeight,
             std::uint8_t fontStyle = 0, std::int32_t charset = 238, std::uint32_t color = 0) {
  WStyle s;
  s.name = std::move(name);
  s.fontName = std::move(font);
  s.charsPerLine = charsPerLine;
  s.charWidth = 210.0f / static_cast<float>(charsPerLine);
  s.charHeight = charHeight;
  s.fontStyle = fontStyle;
  s.charset = charset;
  s.color = color;
  return s;
}

WField at(double xMm, double widthMm, const QString& text, QByteArray styleName = "Normalny",
          std::uint8_t kind = 0, std::uint8_t align = 0) {
  WField f = textField(mmUnits(xMm), mmUnits(widthMm), pl(text), std::move(styleName), kind);
  f.align = align;
  return f;
}

// A rule takes the height of its text: with a blank it is one line of its
// style high and drawn across the middle of it (a double rule's two lines
// apart), as the accounting system writes its rules.
WField rule(double xMm, double widthMm, std::uint8_t pattern, QByteArray styleName = "Normalny") {
  WField f = textField(mmUnits(xMm), mmUnits(widthMm), " ", std::move(styleName), 4);
  f.ruleStyle = pattern;
  return f;
}

// An empty line of a printout: one blank in the normal style (a line without
// fields takes no room at all).
WLine blank() { return line({at(10, 190, " ")}); }

WPrintout invoice() {
  WPrintout p;
  p.version = 6;
  p.styles = {style("Normalny", "Courier New", 132, 3.5f), style("Tytul", "Arial", 60, 7.0f, TStylBold),
              style("Gruby", "Courier New", 132, 3.5f, TStylBold), style("LOGO", "Times New Roman", 40, 10.0f,
                                                                         TStylBold | TStylItalic, 238, 0x00804000)};
  WBlock& r = p.root;
  r.name = "FAKTURA";
  r.intro = group({line({at(10, 190, "Hurtownia \"Żuraw\" Sp. z o.o.", "LOGO")}),
                   line({at(10, 90, "ul. Źródlana 7, 00-950 Łódź"), at(120, 80, "Łódź, 2024-03-15", "Normalny", 0, 1)}),
                   line({at(10, 90, "NIP 725-000-00-00")}),
                   blank(),
                   line({at(10, 190, "FAKTURA VAT nr 123/03/2024", "Tytul", 0, 2)}),
                   line({at(10, 190, "ORYGINAŁ", "Normalny", 0, 2)}),
                   line({at(10, 90, "Sprzedawca:", "Gruby"), at(110, 90, "Nabywca:", "Gruby")}),
                   line({at(10, 90, "Hurtownia \"Żuraw\" Sp. z o.o.\nul. Źródlana 7\n00-950 Łódź"),
                         at(110, 90, "Przedsiębiorstwo Handlowe \"Gęś\"\nul. Świętojańska 12/4\n81-368 Gdynia")}),
                   blank()});
  r.heading = group({line({rule(10, 190, 0)}),
                     line({at(10, 10, "Lp.", "Gruby"), at(22, 78, "Nazwa towaru lub usługi", "Gruby"),
                           at(102, 16, "Ilość", "Gruby", 0, 1), at(120, 10, "J.m.", "Gruby"),
                           at(132, 30, "Cena netto", "Gruby", 0, 1), at(164, 36, "Wartość netto", "Gruby", 0, 1)}),
                     line({rule(10, 190, 0)})});
  WBlock items;
  const char* const names[] = {"Papier ksero A4 80 g/m2, ryza 500 ark.", "Długopis żelowy, niebieski",
                               "Segregator A4/75 mm, zielony", "Koperty C5 samoklejące (op. 50 szt.)",
                               "Tusz do drukarki – zestaw CMYK", "Usługa transportowa"};
  const char* const qty[] = {"40", "120", "25", "10", "2", "1"};
  const char* const unit[] = {"ryza", "szt.", "szt.", "op.", "kpl.", "usł."};
  const char* const price[] = {"21,50", "3,20", "8,90", "6,40", "189,00", "60,00"};
  const char* const value[] = {"860,00", "384,00", "222,50", "64,00", "378,00", "60,00"};
  for (int i = 0; i < 6; ++i)
    items.intro.lines.push_back(line({at(10, 10, QString::number(i + 1) + "."),
                                      at(22, 78, QString::fromUtf8(names[i])),
                                      at(102, 16, QString::fromUtf8(qty[i]), "Normalny", 0, 1),
                                      at(120, 10, QString::fromUtf8(unit[i])),
                                      at(132, 30, QString::fromUtf8(price[i]), "Normalny", 0, 1),
                                      at(164, 36, QString::fromUtf8(value[i]), "Normalny", 0, 1)}));
  items.intro.splittable = true;
  items.name = "POZYCJE";
  r.children.push_back(items);
  r.closing = group({line({rule(10, 190, 2)}),
                     line({at(100, 60, "Razem netto:", "Gruby", 0, 1), at(164, 36, "1 968,50", "Gruby", 0, 1)}),
                     line({at(100, 60, "VAT 23%:", "Normalny", 0, 1), at(164, 36, "452,76", "Normalny", 0, 1)}),
                     line({at(100, 60, "Do zapłaty:", "Gruby", 0, 1), at(164, 36, "2 421,26 zł", "Gruby", 0, 1)}),
                     line({at(10, 190, "Słownie: dwa tysiące czterysta dwadzieścia jeden zł 26/100")}),
                     blank(),
                     line({at(10, 80, "Wystawił(a): Bożena Kowalczyk"), at(120, 80, "Odebrał(a):", "Normalny", 0, 1)}),
                     line({at(10, 190, "Strona %n", "Normalny", 2, 2)})});
  return p;
}

// An amount in grosze as a printout shows it: "1 234,56".
QString money(long long grosze) {
  QString whole = QString::number(std::llabs(grosze) / 100);
  for (qsizetype at = whole.size() - 3; at > 0; at -= 3) whole.insert(at, QLatin1Char(' '));
  return (grosze < 0 ? QStringLiteral("-") : QString()) + whole + QStringLiteral(",%1").arg(std::llabs(grosze) % 100, 2, 10, QChar('0'));
}

// Entries of one month of an account; adds them to the account's turnover.
WBlock ledgerMonth(int account, int month, int entries, long long& debits, long long& credits) {
  WBlock m;
  m.name = "MIESIAC";
  m.intro.splittable = true;
  m.intro.lines.push_back(line({at(10, 190, QString("Miesiąc %1/2024").arg(month, 2, 10, QChar('0')), "Gruby")}));
  long long monthDebits = 0, monthCredits = 0;
  for (int e = 1; e <= entries; ++e) {
    const int amount = (account * 7919 + month * 104729 + e * 1299709) % 100000;
    const bool debit = (e + month) % 3 != 0;
    (debit ? monthDebits : monthCredits) += amount;
    m.intro.lines.push_back(line({at(10, 22, QString("2024-%1-%2").arg(month, 2, 10, QChar('0')).arg(e, 2, 10, QChar('0'))),
                                  at(34, 24, QString("PK %1/%2").arg(month).arg(e)),
                                  at(60, 74, e % 4 == 0 ? "Zapłata przelewem – należność za towary"
                                                        : "Sprzedaż towarów wg faktury"),
                                  at(136, 30, debit ? money(amount) : "", "Normalny", 0, 1),
                                  at(168, 30, debit ? "" : money(amount), "Normalny", 0, 1)}));
  }
  debits += monthDebits;
  credits += monthCredits;
  m.closing = group({line({rule(136, 62, 1)}),
                     line({at(60, 74, "Obroty miesiąca", "Gruby", 0, 1), at(136, 30, money(monthDebits), "Gruby", 0, 1),
                           at(168, 30, money(monthCredits), "Gruby", 0, 1)})});
  return m;
}

WPrintout ledger() {
  WPrintout p;
  p.version = 6;
  p.lineSpacing = 0.5f;
  p.styles = {style("Normalny", "Courier New", 132, 3.5f), style("Gruby", "Courier New", 132, 3.5f, TStylBold),
              style("Tytul", "Arial", 70, 6.0f, TStylBold)};
  p.styles[1].alias = "BOLD";
  WBlock& r = p.root;
  r.name = "KSIEGA";
  r.intro = group({line({at(10, 190, "KSIĘGA GŁÓWNA – ZAPISY NA KONTACH", "Tytul", 0, 2)}),
                   line({at(10, 190, "Okres: 01.01.2024 – 30.04.2024", "Normalny", 0, 2)}), blank()});
  r.heading = group({line({at(10, 120, "Firma \"Żuraw\" – księga główna", "BOLD"),
                           at(150, 50, "Strona %n", "Normalny", 2)}),
                     line({rule(10, 190, 3)})});
  const char* const accounts[] = {"201-01 Rozrachunki z odbiorcami krajowymi", "202-01 Rozrachunki z dostawcami",
                                  "130 Rachunek bieżący", "700 Sprzedaż towarów"};
  for (int a = 0; a < 4; ++a) {
    WBlock acc;
    acc.name = "KONTO";
    acc.newPageBefore = a == 2;
    // The account's name heads its entries on every page it spans; the blank
    // line before it parts it from the account above and is left out at the
    // top of a page.
    WLine spacer = blank();
    spacer.skipWhenRepeated = true;
    acc.heading = group({spacer, line({at(10, 190, "Konto " + QString::fromUtf8(accounts[a]), "Gruby")}),
                         line({at(10, 22, "Data", "Gruby"), at(34, 24, "Dowód", "Gruby"), at(60, 74, "Treść", "Gruby"),
                               at(136, 30, "Wn", "Gruby", 0, 1), at(168, 30, "Ma", "Gruby", 0, 1)}),
                         line({rule(10, 190, 0)})});
    long long debits = 0, credits = 0;
    for (int month = 1; month <= 4; ++month) acc.children.push_back(ledgerMonth(a, month, 10 + 4 * a, debits, credits));
    acc.reserved = group({line({at(10, 190, "(wiersze zastrzeżone – nie są drukowane)")})});
    const long long balance = debits - credits;
    acc.closing = group({line({rule(10, 190, 2)}),
                         line({at(60, 74, "Obroty narastająco", "Gruby", 0, 1), at(136, 30, money(debits), "Gruby", 0, 1),
                               at(168, 30, money(credits), "Gruby", 0, 1)}),
                         line({at(60, 74, "Saldo końcowe konta", "Gruby", 0, 1),
                               at(136, 30, balance >= 0 ? money(balance) : "", "Gruby", 0, 1),
                               at(168, 30, balance < 0 ? money(-balance) : "", "Gruby", 0, 1)}),
                         blank()});
    r.children.push_back(acc);
  }
  r.closing = group({line({at(10, 190, "Koniec wydruku", "Normalny", 0, 2)})});
  return p;
}

WPrintout everyField() {
  WPrintout p;
  p.version = 6;
  p.styles = {style("Normalny", "Courier New", 132, 3.5f), style("Szeroki", "Courier New", 80, 5.0f),
              style("Czerwony", "Arial", 100, 4.0f, TStylBold | TStylUnderline, 238, 0x000000C0),
              style("LOGO", "Times New Roman", 50, 8.0f, TStylItalic)};
  WBlock& r = p.root;
  std::vector<WLine> lines;
  lines.push_back(line({at(10, 190, "Rodzaje pól i wzory linii", "Szeroki", 0, 2)}));
  const char* const kinds[] = {"tekst", "tekst do prawej", "numer strony", "ukryte", "linia", "tekst z kropkami",
                               "obrazek", "inny rodzaj"};
  for (int align = 0; align < 3; ++align) {
    lines.push_back(line({at(10, 40, QString("Wyrównanie %1:").arg(align)),
                          at(55, 45, "tekst", "Normalny", 0, align),
                          at(105, 45, "do prawej", "Normalny", 1, align),
                          at(155, 45, "str. %n z 1", "Normalny", 2, align)}));
  }
  lines.push_back(line({at(10, 60, "Pole ukryte obok ->"), at(80, 60, "NIEWIDOCZNE", "Normalny", 3)}));
  lines.push_back(line({at(10, 120, "Pozycja spisu treści", "Normalny", 5), at(130, 20, "12", "Normalny", 0, 1)}));
  lines.push_back(line({at(10, 80, QString::fromUtf8(kinds[7]) + " (7)", "Normalny", 7)}));
  for (int pattern = 0; pattern < 5; ++pattern) {
    const QString label = pattern < 4 ? QString("Wzór linii %1:").arg(pattern) : QString("Wzór 4 (nie rysuje nic):");
    lines.push_back(line({at(10, 44, label),
                          rule(55, 145, static_cast<std::uint8_t>(pattern), pattern == 2 ? "Szeroki" : "Normalny")}));
  }
  WField wrapped = at(10, 60, "Długi tekst, który zawija się w kilku wierszach w wąskim polu.");
  WField noWrap = at(75, 60, "Długi tekst bez zawijania, wychodzi poza pole.");
  noWrap.noWrap = true;
  WField bottom = at(140, 60, "Jeden wiersz u dołu");
  bottom.bottomSingleLine = true;
  lines.push_back(line({wrapped, noWrap, bottom}));
  WField ellipsis = at(10, 50, "Tekst za długi na pole, więc kończy się wielokropkiem");
  ellipsis.endEllipsis = true;
  lines.push_back(line({ellipsis, at(75, 125, "Czerwony, gruby, podkreślony", "Czerwony")}));
  lines.push_back(line({at(10, 110, "Styl LOGO", "LOGO"),
                        at(130, 70, "Styl LOGO stoi w połowie\nwysokości wiersza,\nten tekst ma trzy wiersze")}));
  r.intro = group(std::move(lines));
  return p;
}

WPrintout polishLetters() {
  WPrintout p;
  p.version = 6;
  p.styles = {style("CE", "Courier New", 100, 4.0f, 0, 238), style("Baltic", "Courier New", 100, 4.0f, 0, 186),
              style("ArialCE", "Arial", 100, 4.0f, 0, 238), style("ArialBaltic", "Arial", 100, 4.0f, 0, 186)};
  const QString pangram = QStringLiteral("Zażółć gęślą jaźń – ZAŻÓŁĆ GĘŚLĄ JAŹŃ");
  std::vector<WLine> lines;
  for (const char* name : {"CE", "ArialCE"})
    lines.push_back(line({textField(mmUnits(10), mmUnits(50), QByteArray(name) + " (238):", name),
                          textField(mmUnits(60), mmUnits(140), encodeText(pangram, 238), name)}));
  for (const char* name : {"Baltic", "ArialBaltic"})
    lines.push_back(line({textField(mmUnits(10), mmUnits(50), QByteArray(name) + " (186):", name),
                          textField(mmUnits(60), mmUnits(140), encodeText(pangram, 186), name)}));
  p.root.intro = group(std::move(lines));
  return p;
}

// A notice on the firm's letterhead: its logo (an EMF picture drawn through
// the platform's calls, here by libEMF) across the top of the page.
WPrintout picture() {
  WPrintout p;
  p.version = 4;
  p.styles = {style("Normalny", "Courier New", 132, 3.5f), style("Gruby", "Courier New", 132, 3.5f, TStylBold),
              style("Tytul", "Arial", 60, 7.0f, TStylBold)};
  WField logo = textField(0, 0, "", "Normalny", 6);
  const std::string emf = libemfLogo();
  logo.picture = QByteArray(emf.data(), static_cast<qsizetype>(emf.size()));
  p.root.intro = group({
      line({logo}),
      blank(),
      line({at(120, 80, "Łódź, 2024-04-02", "Normalny", 0, 1)}),
      line({at(110, 90, "Przedsiębiorstwo Handlowe \"Gęś\"\nul. Świętojańska 12/4\n81-368 Gdynia")}),
      blank(),
      line({at(10, 190, "POTWIERDZENIE SALDA", "Tytul", 0, 2)}),
      line({at(10, 190, "na dzień 31.03.2024", "Normalny", 0, 2)}),
      blank(),
      line({at(10, 190, "Uprzejmie informujemy, że według naszych ksiąg rachunkowych na dzień 31.03.2024 "
                        "saldo Państwa zobowiązań wobec naszej firmy wynosi:")}),
      blank(),
      line({at(10, 120, "Saldo (Wn)", "Gruby", 5), at(150, 50, "2 421,26 zł", "Gruby", 0, 1)}),
      blank(),
      line({at(10, 190, "Prosimy o potwierdzenie salda lub wskazanie różnic w terminie 14 dni.")}),
      blank(),
      line({at(120, 80, "Główna księgowa", "Normalny", 0, 2)}),
      line({at(120, 80, "Bożena Kowalczyk", "Normalny", 0, 2)}),
  });
  return p;
}

constexpr int kDocumentsPerStore = 42;

// A stock report over many pages: a repeated page heading with the page
// number, warehouses each starting on a new page, documents kept together as
// groups, leaders to the totals and rules of every kind.
WPrintout stockReport() {
  WPrintout p;
  p.version = 6;
  p.lineSpacing = 0.3f;
  p.styles = {style("Normalny", "Courier New", 132, 3.5f), style("Gruby", "Courier New", 132, 3.5f, TStylBold),
              style("Tytul", "Arial", 60, 7.0f, TStylBold), style("Maly", "Arial", 150, 3.0f, TStylItalic, 238, 0x00606060)};
  WBlock& r = p.root;
  r.name = "STANY";
  r.intro = group({line({at(10, 190, "ZESTAWIENIE STANÓW MAGAZYNOWYCH", "Tytul", 0, 2)}),
                   line({at(10, 190, "na dzień 31.12.2024", "Normalny", 0, 2)}), blank()});
  r.heading = group({line({at(10, 120, "Hurtownia \"Żuraw\" Sp. z o.o. – stany magazynowe", "Maly"),
                           at(150, 50, "Strona %n", "Maly", 2)}),
                     line({rule(10, 190, 0, "Maly")})});
  const char* const stores[] = {"Magazyn główny – Łódź", "Magazyn regionalny – Gdynia", "Magazyn zewnętrzny – Kraków"};
  const char* const goods[] = {"Papier ksero A4", "Segregator A4/75", "Długopis żelowy", "Koperty C5", "Tusz CMYK",
                               "Zszywacz biurowy", "Teczka wiązana", "Karteczki samoprzylepne"};
  int doc = 1;
  for (int s = 0; s < 3; ++s) {
    WBlock store;
    store.newPageBefore = s > 0;
    store.heading = group({line({at(10, 190, QString::fromUtf8(stores[s]), "Gruby")}),
                           line({at(10, 30, "Dokument", "Gruby"), at(42, 90, "Towar", "Gruby"),
                                 at(134, 30, "Ilość", "Gruby", 0, 1), at(166, 34, "Wartość", "Gruby", 0, 1)}),
                           line({rule(10, 190, 3)})});
    long long storeTotal = 0;
    for (int d = 0; d < kDocumentsPerStore; ++d, ++doc) {
      WBlock document;
      std::vector<WLine> lines;
      lines.push_back(line({at(10, 100, QString("PZ %1/2024 z dnia %2.12.2024").arg(doc).arg(d % 28 + 1, 2, 10, QChar('0')),
                               "Gruby")}));
      const int items = 2 + (doc * 7) % 4;
      int total = 0;
      for (int i = 0; i < items; ++i) {
        const int qty = 1 + (doc * 13 + i * 7) % 90;
        const int value = qty * (3 + (doc + i) % 17);
        total += value;
        lines.push_back(line({at(42, 90, QString::fromUtf8(goods[(doc + i) % 8])),
                              at(134, 30, QString::number(qty), "Normalny", 0, 1),
                              at(166, 34, money(100LL * value), "Normalny", 0, 1)}));
      }
      storeTotal += 100LL * total;
      lines.push_back(line({at(42, 120, "Razem dokument", "Normalny", 5), at(166, 34, money(100LL * total), "Gruby", 0, 1)}));
      document.intro = group(std::move(lines));  // a document never splits over two pages
      document.closing = group({line({rule(42, 158, 1)})});
      store.children.push_back(std::move(document));
    }
    store.closing = group({line({rule(10, 190, 2)}),
                           line({at(10, 150, "Razem " + QString::fromUtf8(stores[s]), "Gruby", 5),
                                 at(166, 34, money(storeTotal), "Gruby", 0, 1)}),
                           blank()});
    r.children.push_back(std::move(store));
  }
  r.closing = group({line({at(10, 190, "Koniec zestawienia", "Normalny", 0, 2)})});
  return p;
}

// A printout of the first body version. Its styles carry no character set,
// so they draw with the Baltic set (186): its Polish letters are written in
// that set's code page, 1257, as they must be to print right.
WPrintout oldVersion() {
  auto baltic = [](double xMm, double widthMm, const QString& text, std::uint8_t align = 0) {
    WField f = textField(mmUnits(xMm), mmUnits(widthMm), encodeText(text, 186), "Normalny");
    f.align = align;
    return f;
  };
  WPrintout p;
  p.version = 1;
  p.styles = {style("Normalny", "Courier New", 132, 3.5f)};
  std::vector<WLine> lines = {line({baltic(10, 190, "ZESTAWIENIE OBROTÓW KASY – styczeń 1999", 2)}), blank(),
                              line({baltic(10, 40, "Data"), baltic(50, 100, "Treść"), baltic(150, 50, "Kwota", 1)}),
                              line({rule(10, 190, 0)})};
  const char* const entries[][3] = {{"04.01.1999", "Wpłata gotówki – sprzedaż detaliczna", "1 250,00"},
                                    {"11.01.1999", "Wypłata zaliczki na podróż służbową", "-300,00"},
                                    {"18.01.1999", "Zakup materiałów biurowych (rachunek nr 12)", "-86,40"},
                                    {"25.01.1999", "Wpłata od odbiorcy – faktura 7/99", "2 000,00"}};
  for (const auto& e : entries)
    lines.push_back(line({baltic(10, 40, QString::fromUtf8(e[0])), baltic(50, 100, QString::fromUtf8(e[1])),
                          baltic(150, 50, QString::fromUtf8(e[2]), 1)}));
  lines.push_back(line({rule(10, 190, 0)}));
  lines.push_back(line({baltic(50, 100, "Stan kasy na koniec miesiąca:"), baltic(150, 50, "2 863,60", 1)}));
  p.root.intro = group(std::move(lines));
  return p;
}

}  // namespace

std::vector<Sample> makeSamples() {
  return {
      {"faktura.wyd", invoice()},        {"ksiega.wyd", ledger()},
      {"pola.wyd", everyField()},        {"litery.wyd", polishLetters()},
      {"obrazek.wyd", picture()},        {"stara-wersja.wyd", oldVersion()},
      {"zestawienie.wyd", stockReport()},
  };
}

}  // namespace zorpokaz::writer
