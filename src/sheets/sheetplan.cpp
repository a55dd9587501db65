#include "sheets/sheetplan.h"

#include <algorithm>
#include <cstdint>

namespace zorpokaz {

namespace {

// Positions first, first + step, ... up to last, in that order or reversed.
// The counters are 64-bit so that a last position near INT_MAX cannot wrap.
std::vector<SheetSide> singles(int first, int last, int step, bool reversed) {
  std::vector<SheetSide> sides;
  for (std::int64_t k = first; k <= last; k += step)
    sides.push_back({static_cast<int>(k), 0});
  if (reversed)
    std::reverse(sides.begin(), sides.end());
  return sides;
}

// Pairs (k, k + 1) for k = first, first + step, ... while k + 1 <= last.
std::vector<SheetSide> pairs(int first, int last, int step, bool reversed) {
  std::vector<SheetSide> sides;
  for (std::int64_t k = first; k + 1 <= last; k += step)
    sides.push_back({static_cast<int>(k), static_cast<int>(k + 1)});
  if (reversed)
    std::reverse(sides.begin(), sides.end());
  return sides;
}

// Booklet sides (2i, N + 1 - 2i) for i = from, from + 1, ... to, or counting
// down from `from` to `to` when descending. An empty range gives no side.
std::vector<SheetSide> bookletSides(int N, int from, int to, bool descending) {
  std::vector<SheetSide> sides;
  const std::int64_t step = descending ? -1 : 1;
  for (std::int64_t i = from; descending ? i >= to : i <= to; i += step)
    sides.push_back({static_cast<int>(2 * i), static_cast<int>(N - 2 * i + 1)});
  return sides;
}

SheetPlan planNormalnie(const SheetOptions& o, int N) {
  SheetPlan plan;
  if (!o.twoSided) {
    plan.firstPass = singles(1, N, 1, o.reverse);
    return plan;
  }
  plan.turn = true;
  // Even positions first, then odd ones; reverse only ever touches the second pass.
  plan.firstPass = singles(2, N, 2, false);
  plan.secondPass = singles(1, N, 2, o.reverse);
  return plan;
}

SheetPlan planZmniejszone(const SheetOptions& o, int N) {
  SheetPlan plan;
  plan.halves = true;
  if (!o.twoSided) {
    plan.firstPass = pairs(1, N, 2, o.reverse);
    return plan;
  }
  plan.turn = true;
  plan.firstPass = pairs(3, N, 4, false);
  // The second pass stops where the first did, so an N that is not a multiple
  // of 4 (never produced by the fillers) cannot yield a pair without a back.
  plan.secondPass = pairs(1, N - 2, 4, o.reverse);
  return plan;
}

SheetPlan planKsiazeczka(const SheetOptions& o, int N) {
  SheetPlan plan;
  plan.halves = true;
  plan.turn = true;
  plan.firstPass = bookletSides(N, 1, N / 4, false);
  plan.secondPass = o.reverse ? bookletSides(N, N / 4 + 1, N / 2, false)
                              : bookletSides(N, N / 2, N / 4 + 1, true);
  return plan;
}

}  // namespace

SheetOrientation orientationFor(PrintMode mode) {
  return mode == PrintMode::Normalnie ? SheetOrientation::Portrait
                                      : SheetOrientation::Landscape;
}

int fillerMultiple(const SheetOptions& options) {
  switch (options.mode) {
    case PrintMode::Normalnie:
      return options.twoSided ? 2 : 1;
    case PrintMode::Zmniejszone:
      return options.twoSided ? 4 : 2;
    case PrintMode::Ksiazeczka:
      return 4;
  }
  return 1;
}

int addFillerPositions(PageList& list, const SheetOptions& options) {
  const std::size_t m = static_cast<std::size_t>(fillerMultiple(options));
  while (list.size() % m != 0)
    list.push_back(0);
  return static_cast<int>(list.size());
}

SheetPlan planSheets(const SheetOptions& options, int N) {
  if (N <= 0)
    return SheetPlan{options.mode != PrintMode::Normalnie, false, {}, {}};
  switch (options.mode) {
    case PrintMode::Normalnie:
      return planNormalnie(options, N);
    case PrintMode::Zmniejszone:
      return planZmniejszone(options, N);
    case PrintMode::Ksiazeczka:
      return planKsiazeczka(options, N);
  }
  return {};
}

QString JobName(const QString& printoutTitle, const SheetOptions& options, int pass) {
  QString name = printoutTitle.isEmpty() ? QStringLiteral("Wydruk z Zorela") : printoutTitle;
  if (options.twoSided || options.mode == PrintMode::Ksiazeczka)
    name += pass == 1 ? QStringLiteral(" (1)") : QStringLiteral(" (2)");
  return name;
}

bool bookletNeedsConfirmation(const SheetOptions& options, int N) {
  return options.mode == PrintMode::Ksiazeczka && N > 40;
}

QString bookletQuestionTitle() {
  return QStringLiteral("Potwierdź drukowanie \"książeczki\" !");
}

QString bookletQuestionText(int n, int N) {
  return QStringLiteral("Przy tak długim wydruku (%1 stron)\rpowstanie plik %2 kartek, który\r"
                        "może być ciężko zgiąć na pół !\rCzy na pewno chcesz kontynuować ?")
      .arg(n)
      .arg(N / 4);
}

}  // namespace zorpokaz
