// Sheet planning: fillers, the order of sheet sides for every
// mode x sides x reverse with small page counts, job names, booklet question.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "sheets/sheetplan.h"

namespace zorpokaz {
namespace {

// A plan as it reaches the paper: page numbers ("_" for a blank side or
// half), "a|b" for a landscape side with a in R2 and b in R3, " / " for the
// turn of the stack.
std::string describe(const SheetPlan& plan, const PageList& list) {
  const auto entry = [&](int position) {
    if (position < 1 || position > static_cast<int>(list.size()))
      return std::string("?") + std::to_string(position);
    const int page = list[position - 1];
    return page == 0 ? std::string("_") : std::to_string(page);
  };
  const auto pass = [&](const std::vector<SheetSide>& sides) {
    std::string s;
    for (const SheetSide& side : sides) {
      if (!s.empty())
        s += ' ';
      s += entry(side.left);
      if (plan.halves)
        s += '|' + entry(side.right);
      else if (side.right != 0)
        s += "!right=" + std::to_string(side.right);
    }
    return s;
  };
  std::string s = pass(plan.firstPass);
  if (plan.turn)
    s += " / " + pass(plan.secondPass);
  else if (!plan.secondPass.empty())
    s += " !second pass without turn";
  return s;
}

PageList selected(int count) {
  PageList list;
  for (int p = 1; p <= count; ++p)
    list.push_back(p);
  return list;
}

struct OrderCase {
  PrintMode mode;
  bool twoSided;
  int pages;  // selected pages 1..pages before the fillers
  int N;      // length after the fillers
  const char* reverseOff;
  const char* reverseOn;
};

std::string modeName(PrintMode mode) {
  switch (mode) {
    case PrintMode::Normalnie: return "Normalnie";
    case PrintMode::Zmniejszone: return "Zmniejszone";
    case PrintMode::Ksiazeczka: return "Ksiazeczka";
  }
  return "?";
}

std::ostream& operator<<(std::ostream& os, const OrderCase& c) {
  return os << modeName(c.mode) << (c.twoSided ? " two-sided, " : " one-sided, ") << c.pages
            << " pages";
}

class SideOrderTable : public ::testing::TestWithParam<OrderCase> {};

TEST_P(SideOrderTable, PagesReachThePaperInThisOrder) {
  const OrderCase& c = GetParam();
  for (const bool reverse : {false, true}) {
    const SheetOptions options{c.mode, c.twoSided, reverse};
    PageList list = selected(c.pages);
    const int N = addFillerPositions(list, options);
    ASSERT_EQ(N, c.N);
    ASSERT_EQ(static_cast<int>(list.size()), N);
    EXPECT_EQ(describe(planSheets(options, N), list), reverse ? c.reverseOn : c.reverseOff)
        << "reverse " << (reverse ? "on" : "off");
  }
}

using M = PrintMode;

INSTANTIATE_TEST_SUITE_P(
    AllModes, SideOrderTable,
    ::testing::Values(
        OrderCase{M::Normalnie, false, 1, 1, "1", "1"},
        OrderCase{M::Normalnie, false, 2, 2, "1 2", "2 1"},
        OrderCase{M::Normalnie, false, 3, 3, "1 2 3", "3 2 1"},
        OrderCase{M::Normalnie, false, 4, 4, "1 2 3 4", "4 3 2 1"},
        OrderCase{M::Normalnie, false, 5, 5, "1 2 3 4 5", "5 4 3 2 1"},
        OrderCase{M::Normalnie, false, 8, 8, "1 2 3 4 5 6 7 8", "8 7 6 5 4 3 2 1"},

        OrderCase{M::Normalnie, true, 1, 2, "_ / 1", "_ / 1"},
        OrderCase{M::Normalnie, true, 2, 2, "2 / 1", "2 / 1"},
        OrderCase{M::Normalnie, true, 3, 4, "2 _ / 1 3", "2 _ / 3 1"},
        OrderCase{M::Normalnie, true, 4, 4, "2 4 / 1 3", "2 4 / 3 1"},
        OrderCase{M::Normalnie, true, 5, 6, "2 4 _ / 1 3 5", "2 4 _ / 5 3 1"},
        OrderCase{M::Normalnie, true, 8, 8, "2 4 6 8 / 1 3 5 7", "2 4 6 8 / 7 5 3 1"},

        OrderCase{M::Zmniejszone, false, 1, 2, "1|_", "1|_"},
        OrderCase{M::Zmniejszone, false, 2, 2, "1|2", "1|2"},
        OrderCase{M::Zmniejszone, false, 3, 4, "1|2 3|_", "3|_ 1|2"},
        OrderCase{M::Zmniejszone, false, 4, 4, "1|2 3|4", "3|4 1|2"},
        OrderCase{M::Zmniejszone, false, 5, 6, "1|2 3|4 5|_", "5|_ 3|4 1|2"},
        OrderCase{M::Zmniejszone, false, 8, 8, "1|2 3|4 5|6 7|8", "7|8 5|6 3|4 1|2"},

        OrderCase{M::Zmniejszone, true, 1, 4, "_|_ / 1|_", "_|_ / 1|_"},
        OrderCase{M::Zmniejszone, true, 2, 4, "_|_ / 1|2", "_|_ / 1|2"},
        OrderCase{M::Zmniejszone, true, 3, 4, "3|_ / 1|2", "3|_ / 1|2"},
        OrderCase{M::Zmniejszone, true, 4, 4, "3|4 / 1|2", "3|4 / 1|2"},
        OrderCase{M::Zmniejszone, true, 5, 8, "3|4 _|_ / 1|2 5|_", "3|4 _|_ / 5|_ 1|2"},
        OrderCase{M::Zmniejszone, true, 8, 8, "3|4 7|8 / 1|2 5|6", "3|4 7|8 / 5|6 1|2"},

        // Książeczka prints both sides whether the greyed box is ticked or not.
        OrderCase{M::Ksiazeczka, false, 1, 4, "_|_ / _|1", "_|_ / _|1"},
        OrderCase{M::Ksiazeczka, false, 2, 4, "2|_ / _|1", "2|_ / _|1"},
        OrderCase{M::Ksiazeczka, false, 3, 4, "2|3 / _|1", "2|3 / _|1"},
        OrderCase{M::Ksiazeczka, false, 4, 4, "2|3 / 4|1", "2|3 / 4|1"},
        OrderCase{M::Ksiazeczka, false, 5, 8, "2|_ 4|5 / _|1 _|3", "2|_ 4|5 / _|3 _|1"},
        OrderCase{M::Ksiazeczka, false, 8, 8, "2|7 4|5 / 8|1 6|3", "2|7 4|5 / 6|3 8|1"},
        OrderCase{M::Ksiazeczka, true, 1, 4, "_|_ / _|1", "_|_ / _|1"},
        OrderCase{M::Ksiazeczka, true, 2, 4, "2|_ / _|1", "2|_ / _|1"},
        OrderCase{M::Ksiazeczka, true, 3, 4, "2|3 / _|1", "2|3 / _|1"},
        OrderCase{M::Ksiazeczka, true, 4, 4, "2|3 / 4|1", "2|3 / 4|1"},
        OrderCase{M::Ksiazeczka, true, 5, 8, "2|_ 4|5 / _|1 _|3", "2|_ 4|5 / _|3 _|1"},
        OrderCase{M::Ksiazeczka, true, 8, 8, "2|7 4|5 / 8|1 6|3", "2|7 4|5 / 6|3 8|1"}),
    [](const auto& info) {
      const OrderCase& c = info.param;
      return modeName(c.mode) + (c.twoSided ? "_two_sided_" : "_one_sided_") +
             std::to_string(c.pages) + "_pages";
    });

TEST(SheetPlan, BookletOfEightPositionsAsThePartSpellsIt) {
  const SheetPlan plan = planSheets({PrintMode::Ksiazeczka, false, false}, 8);
  EXPECT_TRUE(plan.halves);
  EXPECT_TRUE(plan.turn);
  EXPECT_EQ(plan.firstPass, (std::vector<SheetSide>{{2, 7}, {4, 5}}));
  EXPECT_EQ(plan.secondPass, (std::vector<SheetSide>{{8, 1}, {6, 3}}));
  const SheetPlan reversed = planSheets({PrintMode::Ksiazeczka, false, true}, 8);
  EXPECT_EQ(reversed.firstPass, plan.firstPass);
  EXPECT_EQ(reversed.secondPass, (std::vector<SheetSide>{{6, 3}, {8, 1}}));
}

TEST(SheetPlan, BookletSixteenFoldsIntoOneReadableStack) {
  // Folded, sheet s (1 = outermost) carries (N + 2 - 2s, 2s - 1) on its
  // outside and (2s, N + 1 - 2s) on its inside. Both passes start at sheet 1
  // (reverse off), so the turned stack meets its sheets in the same order.
  const int N = 16;
  const SheetPlan plan = planSheets({PrintMode::Ksiazeczka, true, false}, N);
  ASSERT_EQ(plan.firstPass.size(), 4u);
  ASSERT_EQ(plan.secondPass.size(), 4u);
  for (int s = 1; s <= 4; ++s) {
    EXPECT_EQ(plan.firstPass[s - 1], (SheetSide{2 * s, N + 1 - 2 * s})) << s;
    EXPECT_EQ(plan.secondPass[s - 1], (SheetSide{N + 2 - 2 * s, 2 * s - 1})) << s;
  }
}

// Every position is printed exactly once, whatever the mode and direction.
TEST(SheetPlan, EveryPositionExactlyOnce) {
  for (const PrintMode mode : {M::Normalnie, M::Zmniejszone, M::Ksiazeczka})
    for (const bool twoSided : {false, true})
      for (const bool reverse : {false, true})
        for (int pages = 1; pages <= 60; ++pages) {
          const SheetOptions options{mode, twoSided, reverse};
          PageList list = selected(pages);
          const int N = addFillerPositions(list, options);
          const SheetPlan plan = planSheets(options, N);
          std::vector<int> seen(N + 1, 0);
          int sides = 0;
          for (const auto* pass : {&plan.firstPass, &plan.secondPass})
            for (const SheetSide& side : *pass) {
              ++sides;
              ++seen.at(side.left);
              if (plan.halves) {
                ++seen.at(side.right);
              } else {
                EXPECT_EQ(side.right, 0);
              }
            }
          for (int k = 1; k <= N; ++k)
            EXPECT_EQ(seen[k], 1) << modeName(mode) << " two=" << twoSided
                                  << " rev=" << reverse << " N=" << N << " position " << k;
          EXPECT_EQ(sides, plan.halves ? N / 2 : N);
          // Both passes of a two-sided plan have the same number of sides:
          // every sheet gets a front and a back.
          if (plan.turn) {
            EXPECT_EQ(plan.firstPass.size(), plan.secondPass.size());
          }
        }
}

TEST(SheetPlan, ReverseNeverTouchesTheFirstPassOfTwoSidedPrinting) {
  for (const PrintMode mode : {M::Normalnie, M::Zmniejszone, M::Ksiazeczka})
    for (int N : {4, 8, 12, 40, 44}) {
      const SheetPlan off = planSheets({mode, true, false}, N);
      const SheetPlan on = planSheets({mode, true, true}, N);
      EXPECT_EQ(off.firstPass, on.firstPass);
      std::vector<SheetSide> back = off.secondPass;
      std::reverse(back.begin(), back.end());
      EXPECT_EQ(on.secondPass, back) << modeName(mode) << " N=" << N;
    }
}

TEST(SheetPlan, NoPositionsNoSides) {
  for (const PrintMode mode : {M::Normalnie, M::Zmniejszone, M::Ksiazeczka}) {
    const SheetPlan plan = planSheets({mode, true, true}, 0);
    EXPECT_TRUE(plan.firstPass.empty());
    EXPECT_TRUE(plan.secondPass.empty());
  }
}

TEST(SheetPlan, UnfilledLengthsNeverReachOutsideTheList) {
  for (const PrintMode mode : {M::Normalnie, M::Zmniejszone, M::Ksiazeczka})
    for (const bool twoSided : {false, true})
      for (const bool reverse : {false, true})
        for (int N = 1; N <= 13; ++N) {
          const SheetPlan plan = planSheets({mode, twoSided, reverse}, N);
          for (const auto* pass : {&plan.firstPass, &plan.secondPass})
            for (const SheetSide& side : *pass) {
              EXPECT_GE(side.left, 1);
              EXPECT_LE(side.left, N);
              if (plan.halves) {
                EXPECT_GE(side.right, 1);
                EXPECT_LE(side.right, N);
              }
            }
        }
}

TEST(Fillers, MultipleForEveryMode) {
  EXPECT_EQ(fillerMultiple({M::Normalnie, false, false}), 1);
  EXPECT_EQ(fillerMultiple({M::Normalnie, true, false}), 2);
  EXPECT_EQ(fillerMultiple({M::Zmniejszone, false, true}), 2);
  EXPECT_EQ(fillerMultiple({M::Zmniejszone, true, true}), 4);
  EXPECT_EQ(fillerMultiple({M::Ksiazeczka, false, false}), 4);
  EXPECT_EQ(fillerMultiple({M::Ksiazeczka, true, false}), 4);
}

TEST(Fillers, TwoSidedThreePagesBecomeOneTwoThreeZero) {
  PageList list{1, 2, 3};
  EXPECT_EQ(addFillerPositions(list, {M::Normalnie, true, false}), 4);
  EXPECT_EQ(list, (PageList{1, 2, 3, 0}));
}

TEST(Fillers, KeepTheSelectedPagesAndStayForLaterCopies) {
  PageList list{3, 7, 9, 12, 20};
  const SheetOptions booklet{M::Ksiazeczka, false, false};
  EXPECT_EQ(addFillerPositions(list, booklet), 8);
  EXPECT_EQ(list, (PageList{3, 7, 9, 12, 20, 0, 0, 0}));
  EXPECT_EQ(addFillerPositions(list, booklet), 8) << "a second copy changes nothing";
  EXPECT_EQ(list.size(), 8u);
}

TEST(Fillers, SelectedPagesKeepTheirNumbersInTheSheets) {
  // Pages 3, 7, 9 printed reduced: positions map to the chosen page numbers.
  PageList list{3, 7, 9};
  const SheetOptions options{M::Zmniejszone, false, false};
  const int N = addFillerPositions(list, options);
  EXPECT_EQ(describe(planSheets(options, N), list), "3|7 9|_");
}

TEST(BookletQuestion, AskedAboveFortyPositions) {
  const SheetOptions booklet{M::Ksiazeczka, false, false};
  PageList forty = selected(40);
  PageList fortyOne = selected(41);
  EXPECT_FALSE(bookletNeedsConfirmation(booklet, addFillerPositions(forty, booklet)));
  const int N = addFillerPositions(fortyOne, booklet);
  EXPECT_EQ(N, 44);
  EXPECT_TRUE(bookletNeedsConfirmation(booklet, N));
  EXPECT_FALSE(bookletNeedsConfirmation({M::Zmniejszone, true, false}, 44));
  EXPECT_FALSE(bookletNeedsConfirmation({M::Normalnie, false, false}, 100));
}

TEST(BookletQuestion, NamesTheWholePrintoutAndTheSheetCount) {
  EXPECT_EQ(bookletQuestionTitle(), QStringLiteral("Potwierdź drukowanie \"książeczki\" !"));
  // 41 pages chosen out of a 120-page printout: n is the printout's count.
  EXPECT_EQ(bookletQuestionText(120, 44),
            QStringLiteral("Przy tak długim wydruku (120 stron)\rpowstanie plik 11 kartek, "
                           "który\rmoże być ciężko zgiąć na pół !\rCzy na pewno chcesz "
                           "kontynuować ?"));
}

struct JobNameCase {
  const char* title;
  PrintMode mode;
  bool twoSided;
  int pass;
  const char* expected;
};

TEST(JobName, TitleDefaultAndPassEndings) {
  const JobNameCase cases[] = {
      {"raport", M::Normalnie, true, 1, "raport (1)"},
      {"raport", M::Normalnie, true, 2, "raport (2)"},
      {"", M::Normalnie, true, 1, "Wydruk z Zorela (1)"},
      {"", M::Normalnie, true, 2, "Wydruk z Zorela (2)"},
      {"raport", M::Normalnie, false, 1, "raport"},
      {"", M::Normalnie, false, 1, "Wydruk z Zorela"},
      {"raport", M::Zmniejszone, false, 1, "raport"},
      {"raport", M::Zmniejszone, true, 2, "raport (2)"},
      {"raport", M::Ksiazeczka, false, 1, "raport (1)"},
      {"raport", M::Ksiazeczka, false, 2, "raport (2)"},
      {"Faktura łączna", M::Ksiazeczka, true, 1, "Faktura łączna (1)"},
      {" ", M::Normalnie, false, 1, " "},
  };
  for (const JobNameCase& c : cases)
    EXPECT_EQ(JobName(QString::fromUtf8(c.title), {c.mode, c.twoSided, false}, c.pass),
              QString::fromUtf8(c.expected))
        << c.title << " " << modeName(c.mode) << " pass " << c.pass;
}

TEST(Orientation, PortraitOnlyForNormalnie) {
  EXPECT_EQ(orientationFor(M::Normalnie), SheetOrientation::Portrait);
  EXPECT_EQ(orientationFor(M::Zmniejszone), SheetOrientation::Landscape);
  EXPECT_EQ(orientationFor(M::Ksiazeczka), SheetOrientation::Landscape);
}

TEST(PrintMode, ValuesAreThoseOfTheSettingsRecord) {
  EXPECT_EQ(static_cast<int>(M::Normalnie), 1);
  EXPECT_EQ(static_cast<int>(M::Zmniejszone), 2);
  EXPECT_EQ(static_cast<int>(M::Ksiazeczka), 3);
}

}  // namespace
}  // namespace zorpokaz
