// Page sets: turning the print dialog's range choice into the page
// list, the 1-based page numbers to print, ascending, each at most once.
// Pure functions over plain values; the dialog shows the errors they raise.
//
// Errors: every page-set message is an EPrintDlgError; a number that is
// empty or does not fit in 32 bits is the runtime's EConvertError instead (the
// dialog lets that one through to the default error report).
#pragma once

#include <cstdint>
#include <vector>

#include <QString>

namespace zorpokaz {

// Page numbers, 1-based. The print job later appends 0 entries as fillers.
using PageList = std::vector<std::int32_t>;

// The range radio buttons of the print dialog.
enum class PageRange {
  All,      // rbStrony1 "&Całość (%d %s)": 1..n
  Current,  // rbStrony2 "&Bieżąca strona (%d)": the viewer's page when the dialog opened
  Set,      // rbStrony4 "&Podany zestaw stron: ": the text of edStrony
};

struct PageRangeChoice {
  PageRange range = PageRange::All;
  int pageCount = 0;    // n, the printout's page images
  int currentPage = -1; // for PageRange::Current; -1 when the dialog has no viewer
  QString pageSetText;  // for PageRange::Set, exactly as typed
};

// Inserts p into the ascending list: raises when p > n ("przekracza"), p < 1
// ("za mały") or p is already there ("kilka razy"), in that order.
void AddPageNumber(PageList& list, std::int32_t p, std::int32_t n);

// Parses a page set such as "5-10, 12, 15" for a printout of n pages.
// The text is used as given: BuildPageList trims it first.
PageList ParsePageSet(const QString& text, std::int32_t n);

// The highest page number a page set names, its numbers read as ParsePageSet
// reads them; 0 when it names none or one that does not convert. For every
// n at least that number, ParsePageSet(text, n) gives the same list or the
// same error (only pages past n make a difference), so a printout need only
// be laid out that far to know the answer.
std::int32_t HighestPageNamed(const QString& text);

// Builds the page list for the dialog's choice. For PageRange::Current the
// page goes through AddPageNumber, so an impossible current page (the button
// is disabled without a viewer) is an error rather than a bad list entry.
PageList BuildPageList(const PageRangeChoice& choice);

// Removes leading and trailing blanks and control characters (every code up to
// U+0020), as the runtime's Trim did; no other whitespace (U+00A0 stays).
QString TrimBlanks(const QString& text);

}  // namespace zorpokaz
