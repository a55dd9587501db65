// PrintJob: the sheets of one print action sent to a PrintTarget — ComputeRects
// once, then per copy one document per pass titled by JobName, a new page per
// sheet side, each page image drawn into its rectangle, with the questions
// (another copy, a long booklet, turning the stack) and the user's cancel.
// The dialog owns the action around it (settings, page list, progress window,
// disabling itself); everything that needs a person comes through PrintJobHooks
// so the whole sequence runs under tests with a recording target.
//
// Units: printer pixels (PrintRects), margins in millimetres. The job borrows
// the target and the page source; it owns nothing.
#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <vector>

#include <QString>

#include "sheets/pageset.h"
#include "sheets/pagesource.h"
#include "sheets/printrects.h"
#include "sheets/sheetplan.h"

namespace zorpokaz {

class PrintTarget;

struct PrintJobSettings {
  SheetOptions sheet;     // mode, "&Druk dwustronny", "&Odwrotna kolejność"
  bool colour = false;    // PrintDlg_Kolor; off prints black on white
  bool bitmap = false;    // PrintDlg_NoEMF
  bool noAbort = false;   // PrintDlg_NoAbort: no event processing while spooling
  int copies = 1;         // PrintDlg_Kopie
};

// The person at the printer. Every member must be set (interactiveHooks in
// the dialog, fakes in tests).
struct PrintJobHooks {
  std::function<bool()> askAnotherCopy;          // "Drukowac kopie?"
  std::function<bool(int n, int N)> askBooklet;  // more than 40 booklet positions
  std::function<bool()> askTurnStack;            // "Czekam na odwrócenie kartek ..."
  std::function<void()> stepProgress;
  std::function<bool()> cancelRequested;
  std::function<void(const std::exception&)> reportError;  // never given EAbort
  std::function<void()> pumpEvents;  // the abort procedure: keeps the window alive
};

class PrintJob {
 public:
  // The pages and margins come from `pages`, which must outlive the job.
  PrintJob(PrintTarget& target, const PageSource& pages, const QString& printoutTitle,
           const PrintJobSettings& settings, PrintJobHooks hooks);

  // Sets the orientation of the mode and places the rectangles; the result
  // holds for every copy of this action.
  void ComputeRects();
  const PrintRects& rects() const { return m_rects; }

  // The copies, each in its own document(s). Failures of a copy are reported
  // and its open document aborted; the loop goes on with the next copy. The
  // page list gets its filler positions on the first copy.
  void PrintCopies(PageList& list);

  // ProgressMax of the progress window: selected pages times copies.
  static int progressMax(const PageList& list, int copies);

 private:
  void printOneCopy(PageList& list);
  void beginPass(int pass);
  void PrintCopy(PageList& list);
  void printSide(const SheetSide& side, bool halves, const PageList& list);
  void PrintOne(int k, const PageList& list);
  void PrintTwo(int a, int b, const PageList& list);
  void PrintPageImage(const PixelRect& R, int k, const PageList& list);
  void StartSecondPass();
  void abortOpenDocument();

  PrintTarget& m_target;
  const PageSource& m_pages;
  QString m_title;
  PrintJobSettings m_settings;
  PrintJobHooks m_hooks;
  PrintRects m_rects;    // first pass: shifted for two-sided printing
  PrintRects m_current;  // where the pass being printed draws
  bool m_firstSide = true;
};

}  // namespace zorpokaz
