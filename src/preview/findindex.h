// Finding text in a printout's pages. FindIndex holds, page by page, the
// text of every laid-out line in reading order (platform/gfx/pagetext.h),
// folded once for searching: lower case and without diacritics, so "zolw"
// finds "Żółw". FindResult counts a query's matches per page over an index
// that may still grow (pages arrive while the printout is being laid out),
// and finds the k-th match without keeping a list of all of them.
//
// Storage: one UTF-8 buffer for all pages, each line ended by "\n", which a
// query never contains, so a match never runs from one line into the next.
// Matches do not overlap and are counted from the start of each line.
#pragma once

#include "platform/gfx/pagetext.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <string>
#include <vector>

namespace zorpokaz {

class PageImage;

// One UTF-16 unit folded for searching: simple case folding, then the base
// letter of a letter with diacritics (and l for ł, a plain space for a
// no-break space). One unit in, one unit out, so positions carry over.
char16_t FoldForSearch(char16_t c);
QString FoldForSearch(QString text);

class FindIndex {
 public:
  void addPage(const PageImage& page);
  int pageCount() const { return static_cast<int>(m_pageStart.size()) - 1; }
  // Matches of a folded UTF-8 needle on page `index`.
  int countOnPage(int index, const QByteArray& needle) const;
  size_t byteSize() const { return m_text.capacity() + m_pageStart.capacity() * sizeof(size_t); }

 private:
  std::string m_text;
  std::vector<size_t> m_pageStart{0};
};

class FindResult {
 public:
  FindResult() = default;
  explicit FindResult(const QString& query);

  const QString& query() const { return m_query; }
  const QString& foldedQuery() const { return m_folded; }
  bool isEmpty() const { return m_folded.isEmpty(); }
  // Counts the pages the index has gained since the last update. A result
  // for a query that the new one contains (typing on) narrows the work: a
  // page without the shorter query cannot hold the longer one.
  void update(const FindIndex& index, const FindResult* narrower = nullptr);
  int pagesSearched() const { return static_cast<int>(m_counts.size()); }
  int64_t total() const { return m_before.back(); }
  int countOnPage(int page) const;

  struct Hit {
    int page = -1;  // 0-based
    int nth = -1;   // the match's number on its page, 0-based
  };
  Hit locate(int64_t k) const;
  // The number of the first match on page `page` or after it; total() when none.
  int64_t firstFrom(int page) const;

 private:
  QString m_query;
  QString m_folded;
  QByteArray m_needle;
  std::vector<int> m_counts;
  std::vector<int64_t> m_before{0};  // matches on the pages before page i; last: total
};

// A match inside the runs of a page: run number and its [from, to) in the run's text.
struct RunMatch {
  int run = 0;
  int from = 0;
  int to = 0;
};
// The matches of a folded query in runs, in the order FindIndex counts them.
std::vector<RunMatch> MatchesInRuns(const std::vector<TextRun>& runs, const QString& foldedQuery);

}  // namespace zorpokaz
