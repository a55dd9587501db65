#include "sheets/pageset.h"

#include <algorithm>
#include <string>

#include "sheets/eprintdlgerror.h"
#include "core/strtoint.h"

namespace zorpokaz {

namespace {

// Reads a page set's ranges as the print dialog does, calling `range` with
// the digits of the first and the second number of each ("5" is "5-5").
template <typename Range>
void forEachRange(const QString& text, Range range) {
  std::string first;
  std::string second;
  bool dash = false;
  auto flush = [&] {
    if (second.empty())
      second = first;
    range(first, second);
    first.clear();
    second.clear();
    dash = false;
  };
  for (const QChar c : text) {
    const char16_t u = c.unicode();
    if (u == u',') {
      flush();
    } else if (u == u'-') {
      dash = true;
    } else if (u >= u'0' && u <= u'9') {
      (dash ? second : first).push_back(static_cast<char>(u));
    }
    // Anything else (blanks, letters, dots, other scripts' digits) is skipped
    // without ending the number: "1 2" is 12.
  }
  if (!first.empty())
    flush();
}

}  // namespace

void AddPageNumber(PageList& list, std::int32_t p, std::int32_t n) {
  if (p > n)
    throw EPrintDlgError("Podany numer strony (" + std::to_string(p) +
                         ")\rprzekracza ilość dostepnych stron !");
  if (p < 1)
    throw EPrintDlgError("Podany numer strony (" + std::to_string(p) + ") jest za mały !");
  // The system scans linearly for the first number not smaller than p; the list
  // is always ascending, so lower_bound finds the same position.
  const auto at = std::lower_bound(list.begin(), list.end(), p);
  if (at != list.end() && *at == p)
    throw EPrintDlgError("Strona " + std::to_string(p) + " jest podana kilka razy !");
  list.insert(at, p);
}

PageList ParsePageSet(const QString& text, std::int32_t n) {
  if (text.isEmpty())
    throw EPrintDlgError("Nie podano zestawu stron !");
  // No capacity is reserved for n here: a set names few pages, and n is
  // only a bound the text has to respect.
  PageList list;
  forEachRange(text, [&](const std::string& first, const std::string& second) {
    // The first number is converted first, so "-5, 7" names the empty first text.
    const std::int32_t a = StrToInt(first);
    const std::int32_t b = StrToInt(second);
    if (b < a)
      throw EPrintDlgError("Podany zakres stron (" + first + "-" + second +
                           ") jest nieprawidłowy !");
    // 64-bit counter: b may be 2147483647, and p must not wrap past it. In
    // practice AddPageNumber stops the loop at n + 1.
    for (std::int64_t p = a; p <= b; ++p)
      AddPageNumber(list, static_cast<std::int32_t>(p), n);
  });
  if (list.empty())
    throw EPrintDlgError("Podane numery stron (" + text.toStdString() +
                         ")\rsą nieprawidłowe !");
  return list;
}

std::int32_t HighestPageNamed(const QString& text) {
  std::int32_t highest = 0;
  try {
    forEachRange(text, [&](const std::string& first, const std::string& second) {
      highest = std::max({highest, StrToInt(first), StrToInt(second)});
    });
  } catch (const std::exception&) {
    return 0;  // a number that does not convert: the same error for any n
  }
  return highest;
}

PageList BuildPageList(const PageRangeChoice& choice) {
  switch (choice.range) {
    case PageRange::All: {
      PageList list;
      list.reserve(static_cast<std::size_t>(std::max(choice.pageCount, 0)));
      for (std::int32_t p = 1; p <= choice.pageCount; ++p)
        list.push_back(p);
      return list;
    }
    case PageRange::Current: {
      PageList list;
      AddPageNumber(list, choice.currentPage, choice.pageCount);
      return list;
    }
    case PageRange::Set:
      return ParsePageSet(TrimBlanks(choice.pageSetText), choice.pageCount);
  }
  return {};
}

QString TrimBlanks(const QString& text) {
  qsizetype begin = 0;
  qsizetype end = text.size();
  while (begin < end && text.at(begin).unicode() <= 0x20)
    ++begin;
  while (end > begin && text.at(end - 1).unicode() <= 0x20)
    --end;
  return text.mid(begin, end - begin);
}

}  // namespace zorpokaz
