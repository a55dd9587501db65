#include "sheets/printjob.h"

#include <climits>
#include <string>

#include "platform/errors.h"
#include "platform/gfx/pageimage.h"
#include "sheets/printtarget.h"

namespace zorpokaz {

PrintJob::PrintJob(PrintTarget& target, const PageSource& pages, const QString& printoutTitle,
                   const PrintJobSettings& settings, PrintJobHooks hooks)
    : m_target(target),
      m_pages(pages),
      m_title(printoutTitle),
      m_settings(settings),
      m_hooks(std::move(hooks)) {}

void PrintJob::ComputeRects() {
  m_target.setManualTwoSided(m_settings.sheet.twoSided ||
                             m_settings.sheet.mode == PrintMode::Ksiazeczka);
  m_target.setOrientation(orientationFor(m_settings.sheet.mode));
  m_rects = zorpokaz::ComputeRects(m_target.metrics(), m_pages.Margins(), m_settings.sheet.twoSided);
  m_current = m_rects;
}

int PrintJob::progressMax(const PageList& list, int copies) {
  const long long units = static_cast<long long>(list.size()) * (copies > 0 ? copies : 0);
  return units > INT_MAX ? INT_MAX : static_cast<int>(units);
}

void PrintJob::PrintCopies(PageList& list) {
  for (int copy = 1; copy <= m_settings.copies; ++copy) {
    if (copy > 1 && m_settings.sheet.twoSided && !m_hooks.askAnotherCopy())
      break;
    try {
      printOneCopy(list);
    } catch (const EAbort&) {
      // A quiet stop: the user declined or cancelled.
    } catch (const std::exception& e) {
      m_hooks.reportError(e);
    }
    abortOpenDocument();
  }
}

void PrintJob::abortOpenDocument() {
  try {
    if (m_target.isPrinting())
      m_target.abortDocument();
  } catch (const std::exception& e) {
    m_hooks.reportError(e);
  }
}

void PrintJob::printOneCopy(PageList& list) {
  // Every copy's first pass uses the mirrored margins again: the turn pause
  // of the previous copy moved the rectangles back, and a later copy must
  // come out like the first one.
  m_current = m_rects;
  beginPass(1);
  PrintCopy(list);
  m_target.endDocument();
}

void PrintJob::beginPass(int pass) {
  m_firstSide = true;
  m_target.setOrientation(orientationFor(m_settings.sheet.mode));
  m_target.beginDocument(JobName(m_title, m_settings.sheet, pass));
}

void PrintJob::PrintCopy(PageList& list) {
  const SheetOptions& sheet = m_settings.sheet;
  const int N = addFillerPositions(list, sheet);
  if (bookletNeedsConfirmation(sheet, N) &&
      !m_hooks.askBooklet(m_pages.PageCount(), N))
    throw EAbort();
  const SheetPlan plan = planSheets(sheet, N);
  for (const SheetSide& side : plan.firstPass)
    printSide(side, plan.halves, list);
  if (!plan.turn)
    return;
  StartSecondPass();
  for (const SheetSide& side : plan.secondPass)
    printSide(side, plan.halves, list);
}

void PrintJob::printSide(const SheetSide& side, bool halves, const PageList& list) {
  if (halves)
    PrintTwo(side.left, side.right, list);
  else
    PrintOne(side.left, list);
}

void PrintJob::PrintOne(int k, const PageList& list) {
  if (!m_firstSide)
    m_target.newPage();
  PrintPageImage(m_current.R1, k, list);
}

void PrintJob::PrintTwo(int a, int b, const PageList& list) {
  if (!m_firstSide)
    m_target.newPage();
  if (a == 0)
    a = b - 1;
  else if (b == 0)
    b = a + 1;
  PrintPageImage(m_current.R2, a, list);
  PrintPageImage(m_current.R3, b, list);
}

void PrintJob::PrintPageImage(const PixelRect& R, int k, const PageList& list) {
  m_firstSide = false;
  if (k < 1 || static_cast<std::size_t>(k) > list.size())
    return;  // a derived position beyond the list: nothing to draw there
  const int e = list[static_cast<std::size_t>(k - 1)];
  if (e == 0)
    return;
  const std::shared_ptr<const PageImage> page =
      e >= 1 && e <= m_pages.PageCount() ? m_pages.PageShared(e - 1) : nullptr;
  if (!page)
    throw Error("Page " + std::to_string(e) + " does not exist");
  m_target.drawPage(R, *page, !m_settings.colour, m_settings.bitmap);
  // While the page spools the abort procedure lets the window handle a close
  // request; compatibility mode goes without it.
  if (!m_settings.noAbort)
    m_hooks.pumpEvents();
  m_hooks.stepProgress();
  if (m_hooks.cancelRequested())
    throw EAbort();
}

void PrintJob::StartSecondPass() {
  m_target.endDocument();
  if (!m_hooks.askTurnStack())
    throw EAbort();
  m_current = unshiftedRects(m_rects);
  beginPass(2);
}

}  // namespace zorpokaz
