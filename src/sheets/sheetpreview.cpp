#include "sheets/sheetpreview.h"

namespace zorpokaz {

namespace {

std::vector<PreviewSide> pagesOf(const std::vector<SheetSide>& sides, const PageList& list) {
  auto entry = [&](int position) {
    return position >= 1 && position <= static_cast<int>(list.size()) ? list[static_cast<size_t>(position) - 1] : 0;
  };
  std::vector<PreviewSide> out;
  out.reserve(sides.size());
  for (const SheetSide& s : sides) out.push_back({entry(s.left), entry(s.right)});
  return out;
}

}  // namespace

SheetPreview PreviewSheets(PageList list, const SheetOptions& options) {
  SheetPreview preview;
  if (list.empty()) return preview;
  const int N = addFillerPositions(list, options);
  const SheetPlan plan = planSheets(options, N);
  preview.halves = plan.halves;
  preview.turn = plan.turn;
  preview.firstPass = pagesOf(plan.firstPass, list);
  preview.secondPass = pagesOf(plan.secondPass, list);
  return preview;
}

}  // namespace zorpokaz
