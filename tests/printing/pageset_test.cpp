// Page sets: every edge case worth pinning, to its page list
// or to its exact message and exception class.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sheets/eprintdlgerror.h"
#include "sheets/pageset.h"
#include "core/strtoint.h"

namespace zorpokaz {
namespace {

enum class Outcome { Pages, PrintDlgError, ConvertError };

struct Result {
  Outcome outcome = Outcome::Pages;
  PageList pages;
  std::string message;
};

template <typename F>
Result capture(F&& f) {
  try {
    return {Outcome::Pages, f(), {}};
  } catch (const EPrintDlgError& e) {
    return {Outcome::PrintDlgError, {}, e.what()};
  } catch (const EConvertError& e) {
    return {Outcome::ConvertError, {}, e.what()};
  }
}

PageList range(int from, int to) {
  PageList list;
  for (int p = from; p <= to; ++p)
    list.push_back(p);
  return list;
}

struct Case {
  const char* name;
  QString text;
  int n;
  Outcome outcome;
  PageList pages;            // for Outcome::Pages
  std::string message = {};  // otherwise
};

std::ostream& operator<<(std::ostream& os, const Case& c) { return os << c.name; }

Case pages(const char* name, QString text, int n, PageList list) {
  return {name, std::move(text), n, Outcome::Pages, std::move(list)};
}
Case dlgError(const char* name, QString text, int n, std::string message) {
  return {name, std::move(text), n, Outcome::PrintDlgError, {}, std::move(message)};
}
Case convError(const char* name, QString text, int n, std::string message) {
  return {name, std::move(text), n, Outcome::ConvertError, {}, std::move(message)};
}

const std::string kEmptyNumber = "'' is not a valid integer value";

class ParsePageSetTable : public ::testing::TestWithParam<Case> {};

TEST_P(ParsePageSetTable, GivesListOrExactError) {
  const Case& c = GetParam();
  const Result r = capture([&] { return ParsePageSet(c.text, c.n); });
  ASSERT_EQ(r.outcome, c.outcome) << r.message;
  if (c.outcome == Outcome::Pages)
    EXPECT_EQ(r.pages, c.pages);
  else
    EXPECT_EQ(r.message, c.message);
}

// The known edge cases, in order.
INSTANTIATE_TEST_SUITE_P(
    PartEdgeCases, ParsePageSetTable,
    ::testing::Values(
        pages("hint_example", "5-10, 12, 15", 15, {5, 6, 7, 8, 9, 10, 12, 15}),
        pages("typed_order_does_not_matter", "15, 5-10", 20, {5, 6, 7, 8, 9, 10, 15}),
        pages("open_range_is_first_number", "3-", 20, {3}),
        pages("single_number", "3", 20, {3}),
        dlgError("reversed_range", "10-5", 20,
                 "Podany zakres stron (10-5) jest nieprawidłowy !"),
        dlgError("reversed_range_as_typed", "010-5", 20,
                 "Podany zakres stron (010-5) jest nieprawidłowy !"),
        dlgError("overlap_with_range", "1-3, 2", 20, "Strona 2 jest podana kilka razy !"),
        dlgError("repeated_page", "4, 4", 20, "Strona 4 jest podana kilka razy !"),
        dlgError("page_zero", "0", 20, "Podany numer strony (0) jest za mały !"),
        dlgError("above_page_count", "21", 20,
                 "Podany numer strony (21)\rprzekracza ilość dostepnych stron !"),
        dlgError("range_past_end_names_first_missing", "18-25", 20,
                 "Podany numer strony (21)\rprzekracza ilość dostepnych stron !"),
        pages("blank_joins_digits", "1 2", 20, {12}),
        pages("second_hyphen_continues_range", "1-2-3", 30, range(1, 23)),
        dlgError("dash_without_first_number", "-5", 20,
                 "Podane numery stron (-5)\rsą nieprawidłowe !"),
        convError("dash_without_first_then_comma", "-5, 7", 20, kEmptyNumber),
        convError("leading_comma", ",5", 20, kEmptyNumber),
        convError("double_comma", "5,,6", 20, kEmptyNumber),
        pages("trailing_comma", "5,", 20, {5}),
        dlgError("letters_only", "abc", 20, "Podane numery stron (abc)\rsą nieprawidłowe !"),
        dlgError("empty", "", 20, "Nie podano zestawu stron !")),
    [](const auto& info) { return std::string(info.param.name); });

// Further syntax: separators, ignored characters, range shapes.
INSTANTIATE_TEST_SUITE_P(
    Syntax, ParsePageSetTable,
    ::testing::Values(
        pages("two_ranges", "1-3,5-7", 20, {1, 2, 3, 5, 6, 7}),
        pages("descending_singles_sorted", "10,9,8", 20, {8, 9, 10}),
        pages("range_of_one", "7-7", 20, {7}),
        pages("whole_printout", "1-20", 20, range(1, 20)),
        pages("blanks_around_dash", "5 - 7", 20, {5, 6, 7}),
        pages("semicolon_is_ignored_not_separator", "5;6", 100, {56}),
        pages("dot_is_ignored", "5.6", 100, {56}),
        pages("letters_around_digits", "x5y", 20, {5}),
        pages("en_dash_is_not_a_hyphen", QStringLiteral("1\u20133"), 20, {13}),
        pages("open_range_before_comma", "5-,9", 20, {5, 9}),
        pages("trailing_dash_after_range", "1-3-", 20, {1, 2, 3}),
        pages("dash_after_comma_is_dropped_at_end", "1,-3", 20, {1}),
        pages("leading_zeros", "0005", 20, {5}),
        pages("many_leading_zeros_do_not_overflow", "000000000000000000000000000003", 20, {3}),
        pages("tab_and_newline_ignored_inside", "1\t,\n2", 20, {1, 2}),
        pages("last_page", "20", 20, {20}),
        dlgError("dash_alone", "-", 20, "Podane numery stron (-)\rsą nieprawidłowe !"),
        dlgError("dash_number_dash_has_no_first_number", "-3-", 20,
                 "Podane numery stron (-3-)\rsą nieprawidłowe !"),
        dlgError("fullwidth_digit_is_no_digit", QStringLiteral("\uFF11"), 20,
                 "Podane numery stron (\xEF\xBC\x91)\rsą nieprawidłowe !"),
        dlgError("arabic_indic_digit_is_no_digit", QStringLiteral("\u0663"), 20,
                 "Podane numery stron (\xD9\xA3)\rsą nieprawidłowe !"),
        dlgError("blanks_only_when_untrimmed", "   ", 20,
                 "Podane numery stron (   )\rsą nieprawidłowe !"),
        dlgError("reversed_single_digits", "3-1", 20,
                 "Podany zakres stron (3-1) jest nieprawidłowy !"),
        dlgError("reversed_after_good_range", "1-2, 9-8", 20,
                 "Podany zakres stron (9-8) jest nieprawidłowy !"),
        dlgError("ranges_overlap", "1-3, 3-5", 20, "Strona 3 jest podana kilka razy !"),
        dlgError("range_covers_earlier_single", "7, 5-9", 20, "Strona 7 jest podana kilka razy !"),
        dlgError("range_from_zero", "0-3", 20, "Podany numer strony (0) jest za mały !"),
        dlgError("first_error_wins", "21, 0", 20,
                 "Podany numer strony (21)\rprzekracza ilość dostepnych stron !"),
        dlgError("any_page_exceeds_empty_printout", "1", 0,
                 "Podany numer strony (1)\rprzekracza ilość dostepnych stron !"),
        dlgError("zero_with_no_pages_is_too_small", "0", 0,
                 "Podany numer strony (0) jest za mały !"),
        convError("comma_alone", ",", 20, kEmptyNumber),
        convError("dash_number_comma", "-3,", 20, kEmptyNumber)),
    [](const auto& info) { return std::string(info.param.name); });

// Numbers that do not fit in 32 bits: the runtime's message, never wrap-around.
INSTANTIATE_TEST_SUITE_P(
    Overflow, ParsePageSetTable,
    ::testing::Values(
        dlgError("int_max_fits_then_exceeds", "2147483647", 20,
                 "Podany numer strony (2147483647)\rprzekracza ilość dostepnych stron !"),
        convError("int_max_plus_one", "2147483648", 20,
                  "'2147483648' is not a valid integer value"),
        convError("uint_max", "4294967295", 20, "'4294967295' is not a valid integer value"),
        convError("two_to_the_32", "4294967296", 20, "'4294967296' is not a valid integer value"),
        convError("twenty_digits", "99999999999999999999", 20,
                  "'99999999999999999999' is not a valid integer value"),
        convError("huge_second_number", "5-99999999999", 20,
                  "'99999999999' is not a valid integer value"),
        convError("huge_first_with_open_range", "2147483648-", 20,
                  "'2147483648' is not a valid integer value"),
        convError("huge_first_before_huge_second", "3000000000-4000000000", 20,
                  "'3000000000' is not a valid integer value"),
        convError("blank_joined_digits_overflow", "2147 483 648", 20,
                  "'2147483648' is not a valid integer value"),
        dlgError("range_to_int_max_stops_at_n", "1-2147483647", 5,
                 "Podany numer strony (6)\rprzekracza ilość dostepnych stron !"),
        dlgError("range_at_int_max", "2147483647-2147483647", 20,
                 "Podany numer strony (2147483647)\rprzekracza ilość dostepnych stron !"),
        pages("int_max_pages_printout_accepts_int_max", "2147483647", 2147483647,
              {2147483647})),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PageSetErrors, ConversionErrorIsNotAPrintDialogError) {
  try {
    ParsePageSet(",5", 20);
    FAIL() << "no exception";
  } catch (const Error& e) {
    EXPECT_EQ(dynamic_cast<const EPrintDlgError*>(&e), nullptr);
    EXPECT_NE(dynamic_cast<const EConvertError*>(&e), nullptr);
  }
}

TEST(AddPageNumber, KeepsListAscendingWhateverTheOrder) {
  PageList list;
  for (int p : {5, 3, 9, 1, 4})
    AddPageNumber(list, p, 10);
  EXPECT_EQ(list, (PageList{1, 3, 4, 5, 9}));
}

TEST(AddPageNumber, ChecksExceedingBeforeTooSmallBeforeRepeated) {
  // With a (nonsensical) page count below 1 even page 0 "exceeds" it:
  // p > n is checked first.
  PageList list;
  Result r = capture([&] { AddPageNumber(list, 0, -1); return list; });
  EXPECT_EQ(r.message, "Podany numer strony (0)\rprzekracza ilość dostepnych stron !");
  r = capture([&] { AddPageNumber(list, -7, 10); return list; });
  EXPECT_EQ(r.message, "Podany numer strony (-7) jest za mały !");
  list = {2, 4};
  r = capture([&] { AddPageNumber(list, 4, 10); return list; });
  EXPECT_EQ(r.message, "Strona 4 jest podana kilka razy !");
  EXPECT_EQ(list, (PageList{2, 4})) << "a refused page leaves the list as it was";
}

TEST(AddPageNumber, ExtremeValuesAreReportedNotWrapped) {
  PageList list;
  Result r = capture([&] { AddPageNumber(list, INT32_MIN, 10); return list; });
  EXPECT_EQ(r.message, "Podany numer strony (-2147483648) jest za mały !");
  r = capture([&] { AddPageNumber(list, INT32_MAX, 10); return list; });
  EXPECT_EQ(r.message, "Podany numer strony (2147483647)\rprzekracza ilość dostepnych stron !");
}

TEST(BuildPageList, WholePrintout) {
  EXPECT_EQ(BuildPageList({PageRange::All, 1, -1, {}}), (PageList{1}));
  EXPECT_EQ(BuildPageList({PageRange::All, 4, 2, "99"}), (PageList{1, 2, 3, 4}))
      << "the page-set text is not looked at";
  EXPECT_TRUE(BuildPageList({PageRange::All, 0, -1, {}}).empty());
}

TEST(BuildPageList, CurrentPage) {
  EXPECT_EQ(BuildPageList({PageRange::Current, 10, 7, "1-3"}), (PageList{7}));
  EXPECT_EQ(BuildPageList({PageRange::Current, 10, 10, {}}), (PageList{10}));
  // Unreachable through the dialog (the button is disabled without a viewer),
  // but an error rather than a page -1 in the list.
  const Result r = capture([] { return BuildPageList({PageRange::Current, 10, -1, {}}); });
  EXPECT_EQ(r.outcome, Outcome::PrintDlgError);
  EXPECT_EQ(r.message, "Podany numer strony (-1) jest za mały !");
}

TEST(BuildPageList, PageSetIsTrimmedOfBlanksAndControls) {
  EXPECT_EQ(BuildPageList({PageRange::Set, 20, -1, "\t 5-7, 9 \r\n"}), (PageList{5, 6, 7, 9}));
  for (const QString& blank : {QString(), QString("   "), QString(" \t\r\n\x01 ")}) {
    const Result r = capture([&] { return BuildPageList({PageRange::Set, 20, -1, blank}); });
    EXPECT_EQ(r.outcome, Outcome::PrintDlgError);
    EXPECT_EQ(r.message, "Nie podano zestawu stron !") << blank.toStdString();
  }
  // The message quotes the trimmed text.
  const Result r = capture([] { return BuildPageList({PageRange::Set, 20, -1, "  abc  "}); });
  EXPECT_EQ(r.message, "Podane numery stron (abc)\rsą nieprawidłowe !");
}

TEST(TrimBlanks, RemovesCodesUpToSpaceOnly) {
  EXPECT_EQ(TrimBlanks(" \x01\x1f 5 6\t\x7f"), "5 6\t\x7f") << "DEL is above the space";
  EXPECT_EQ(TrimBlanks(QStringLiteral("\u00a05\u00a0")), QStringLiteral("\u00a05\u00a0"));
  EXPECT_EQ(TrimBlanks("  "), "");
  EXPECT_EQ(TrimBlanks(""), "");
}

TEST(BuildPageList, NoBreakSpaceIsNotTrimmed) {
  const Result r =
      capture([] { return BuildPageList({PageRange::Set, 20, -1, QStringLiteral("\u00a0")}); });
  EXPECT_EQ(r.message, "Podane numery stron (\xC2\xA0)\rsą nieprawidłowe !");
}

// A printout needs laying out only as far as the highest page a set names:
// for every page count from there on the set gives the same list or the same
// error, and a count below it gives an error.
TEST(HighestPageNamed, DecidesTheSetForEveryLargerCount) {
  const struct {
    const char* text;
    std::int32_t highest;
  } cases[] = {
      {"5-10, 12, 15", 15}, {"12, 3-4", 12},     {"7", 7},           {"5, 0", 5},   {"0, 31", 31},
      {"9-3", 9},           {"4, 2-4", 4},       {"1 2", 12},        {"x", 0},      {"", 0},
      {"-5", 0},            {"3, 99999999999", 0}, {"2147483647", 2147483647},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HighestPageNamed(c.text), c.highest) << c.text;
    if (c.highest <= 0 || c.highest > 1000) continue;
    const Result at = capture([&] { return ParsePageSet(c.text, c.highest); });
    for (std::int32_t n = c.highest + 1; n < c.highest + 40; ++n) {
      const Result more = capture([&] { return ParsePageSet(c.text, n); });
      EXPECT_EQ(more.pages, at.pages) << c.text << " " << n;
      EXPECT_EQ(more.message, at.message) << c.text << " " << n;
    }
    if (at.outcome == Outcome::Pages) {
      EXPECT_NE(capture([&] { return ParsePageSet(c.text, c.highest - 1); }).outcome, Outcome::Pages) << c.text;
    }
  }
}

}  // namespace
}  // namespace zorpokaz
