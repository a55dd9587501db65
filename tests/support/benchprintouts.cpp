#include "support/benchprintouts.h"

#include <QString>
#include <algorithm>
#include <array>
#include <functional>

#include "support/printoutwriter.h"
#include "support/samples.h"

namespace zorpokaz::writer {

namespace {

// An account fills twenty pages at 96 dpi and starts on a page of its own;
// the last account takes what is left of the pages asked for.
constexpr int kPagesPerAccount = 20;
constexpr int kMonthsPerAccount = 10;
constexpr int kEntriesPerPage = 79;

QByteArray pl(const char* utf8) { return encodeText(QString::fromUtf8(utf8), 238); }

// "12 345,67"
QByteArray money(long long grosze) {
  QByteArray whole = QByteArray::number(grosze / 100);
  for (qsizetype at = whole.size() - 3; at > 0; at -= 3) whole.insert(at, ' ');
  const int cents = static_cast<int>(grosze % 100);
  return whole + ',' + char('0' + cents / 10) + char('0' + cents % 10);
}

class LedgerWriter {
 public:
  explicit LedgerWriter(DenseLedgerCounts& counts) : m_counts(counts) {}

  QByteArray run(int pages) {
    m_b.u8(6).i32(1200).f32(0.0f).i32(0).u8(0).i32(84);
    m_b.i32(4);
    style("Normalny", "Courier New", 132, 3.5f, 0);
    style("Gruby", "Courier New", 132, 3.5f, 1);
    style("Opis", "Arial", 132, 3.5f, 0);
    style("Tytul", "Arial", 70, 6.0f, 1);

    const int accounts = (pages + kPagesPerAccount - 1) / kPagesPerAccount;
    m_b.u8(3);
    group(false, {[&] { fields({{10, 190, pl("KSIĘGA GŁÓWNA – ZAPISY NA KONTACH"), "Tytul", 0, 2}}); },
                  [&] { fields({{10, 190, "Okres: 01.01.2024 - 31.12.2024", "Normalny", 0, 2}}); }});
    group(false, {[&] {
            fields({{10, 130, pl("Przedsiębiorstwo Handlowe \"Żuraw\" sp. z o.o. – księga główna"), "Gruby", 0, 0},
                    {150, 48, "Strona %n", "Normalny", 2, 0}});
          }});
    m_b.u8(12).i32(accounts);
    for (int a = 0; a < accounts; ++a) {
      const int left = pages - a * kPagesPerAccount;
      account(a, std::min(left, kPagesPerAccount) * kEntriesPerPage);
    }
    group(false, {});
    group(false, {[&] { fields({{10, 190, "Koniec wydruku", "Normalny", 0, 2}}); }});
    m_b.u8(15).str("KSIEGA").u8(0);
    return m_b.data();
  }

 private:
  struct F {
    double x;
    double width;
    QByteArray text;
    const char* style;
    std::uint8_t kind;
    std::uint8_t align;
  };
  using LineFn = std::function<void()>;

  void style(const char* name, const char* font, int charsPerLine, float height, std::uint8_t fontStyle) {
    m_b.u8(1).i32(0).f32(height).i32(charsPerLine).f32(210.0f / static_cast<float>(charsPerLine));
    m_b.u8(fontStyle).i32(-1).i32(238).str(font).str(name).str("");
  }

  void fields(std::initializer_list<F> list) {
    m_b.u8(5).u8(0).u8(static_cast<std::uint8_t>(list.size()));
    for (const F& f : list) {
      m_b.u8(6).i32(mmUnits(f.x)).i32(mmUnits(f.width)).u8(f.kind).u8(f.align).u8(0).u8(0).u8(0);
      m_b.u8(f.kind == 4 ? 2 : 0).str(f.style).str(f.text);
    }
    ++m_counts.lines;
    m_counts.fields += static_cast<std::int64_t>(list.size());
  }

  // A rule with a blank for its text takes one line of its style.
  void rule(std::uint8_t pattern) {
    m_b.u8(5).u8(0).u8(1);
    m_b.u8(6).i32(mmUnits(10)).i32(mmUnits(188)).u8(4).u8(0).u8(0).u8(0).u8(0).u8(pattern).str("Normalny").str(" ");
    ++m_counts.lines;
    ++m_counts.fields;
  }

  void group(bool splittable, std::initializer_list<LineFn> lines) {
    m_b.u8(4).u8(splittable).u8(0).i32(static_cast<std::int32_t>(lines.size()));
    for (const LineFn& l : lines) l();
  }

  void entry(int account, int month, int e, long long& debits, long long& credits) {
    const int n = account * 100000 + month * 1000 + e;
    const long long amount = (static_cast<long long>(n) * 7919 % 9999991) % 2000000 + 100;
    const bool debit = (e + month) % 3 != 0;
    (debit ? debits : credits) += amount;
    const QByteArray day = QByteArray::number(e % 28 + 1).rightJustified(2, '0');
    const QByteArray mm = QByteArray::number(month).rightJustified(2, '0');
    static const std::array<QByteArray, 5> kinds = {pl("Sprzedaż towarów wg faktury FV/"), pl("Zapłata przelewem za fakturę FV/"),
                                                    pl("Zakup materiałów biurowych, rachunek "),
                                                    pl("Przeksięgowanie salda na koniec okresu "),
                                                    pl("Korekta faktury sprzedaży z tytułu zwrotu części towaru przez odbiorcę, dokument KOR/")};
    // One entry in 37 has a description long enough to take two lines.
    const QByteArray& what = kinds[e % 37 == 0 ? 4 : e % 4];
    fields({{10, 20, "2024-" + mm + "-" + day, "Normalny", 0, 0},
            {31, 24, "PK " + QByteArray::number(e) + "/" + mm, "Normalny", 0, 0},
            {56, 84, what + QByteArray::number(n % 9973) + "/2024", "Opis", 0, 0},
            {141, 28, debit ? money(amount) : QByteArray(), "Normalny", 0, 1},
            {170, 28, debit ? QByteArray() : money(amount), "Normalny", 0, 1}});
  }

  void month(int account, int m, int entries, long long& debits, long long& credits) {
    long long monthDebits = 0;
    long long monthCredits = 0;
    m_b.u8(3);
    m_b.u8(4).u8(1).u8(0).i32(entries + 1);
    fields({{10, 60, pl("Miesiąc ") + QByteArray::number(m) + "/2024", "Gruby", 0, 0}});
    for (int e = 1; e <= entries; ++e) entry(account, m, e, monthDebits, monthCredits);
    group(false, {});
    m_b.u8(12).i32(0);
    group(false, {});
    group(false, {[&] { rule(1); },
                  [&] {
                    fields({{56, 84, pl("Obroty miesiąca"), "Gruby", 0, 1},
                            {141, 28, money(monthDebits), "Gruby", 0, 1},
                            {170, 28, money(monthCredits), "Gruby", 0, 1}});
                  }});
    m_b.u8(15).str("MIESIAC").u8(0);
    debits += monthDebits;
    credits += monthCredits;
  }

  void account(int a, int entries) {
    m_b.u8(3);
    group(false, {});
    const QByteArray name = "Konto " + QByteArray::number(200 + a % 700) + "-" + QByteArray::number(a + 1).rightJustified(3, '0');
    group(false, {[&] { fields({{10, 188, name + pl(" Rozrachunki z odbiorcami krajowymi"), "Gruby", 0, 0}}); },
                  [&] {
                    fields({{10, 20, "Data", "Gruby", 0, 0},
                            {31, 24, pl("Dowód"), "Gruby", 0, 0},
                            {56, 84, pl("Treść"), "Gruby", 0, 0},
                            {141, 28, "Wn", "Gruby", 0, 1},
                            {170, 28, "Ma", "Gruby", 0, 1}});
                  },
                  [&] { rule(0); }});
    // Month blocks open with a title and close with a rule and totals: three
    // lines besides the entries.
    const int months = std::max(1, std::min(kMonthsPerAccount, entries / 40));
    const int perMonth = std::max(1, entries / months - 3);
    m_b.u8(12).i32(months);
    long long debits = 0;
    long long credits = 0;
    for (int m = 1; m <= months; ++m) month(a, m, perMonth, debits, credits);
    group(false, {});
    group(false, {[&] { rule(2); },
                  [&] {
                    fields({{56, 84, pl("Obroty narastająco"), "Gruby", 0, 1},
                            {141, 28, money(debits), "Gruby", 0, 1},
                            {170, 28, money(credits), "Gruby", 0, 1}});
                  }});
    m_b.u8(15).str("KONTO").u8(a > 0);
  }

  DenseLedgerCounts& m_counts;
  BodyBuilder m_b;
};

}  // namespace

QByteArray denseLedgerBody(int pages, DenseLedgerCounts* counts) {
  DenseLedgerCounts local;
  return LedgerWriter(counts ? *counts : local).run(std::max(pages, 1));
}

WPrintout readBenchPrintout(int months) {
  WPrintout p;
  WStyle s;
  s.name = "Normalny";
  p.styles = {s};
  WBlock month;
  month.heading = group({line({textField(100, 2000, "Data"), textField(2200, 4000, pl("Treść operacji"))})});
  for (int i = 0; i < 1000; ++i) {
    const QByteArray n = QByteArray::number(i);
    month.intro.lines.push_back(line({textField(100, 1000, "2024-03-" + n), textField(1200, 1000, "PK " + n + "/03"),
                                      textField(2300, 4000, pl("Sprzedaż towarów wg faktury nr ") + n, "Normalny"),
                                      textField(6400, 1500, n + "123,45", "Normalny", 1),
                                      textField(8000, 1500, "", "Normalny", 1)}));
  }
  month.closing = group({line({textField(100, 9000, "", "Normalny", 4)})});
  p.root.children.assign(months, month);
  return p;
}

QByteArray denseLedgerFile(int pages, int zlibLevel, DenseLedgerCounts* counts) {
  FileOptions options;
  options.zlibLevel = zlibLevel;
  return wrapBody(denseLedgerBody(pages, counts), options);
}

}  // namespace zorpokaz::writer
