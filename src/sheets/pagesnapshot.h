// PageSnapshot: the pages, margins and current page a PageSource gave at one
// moment, as values. A print or a saving works on one, so pages the preview
// adds or drops meanwhile (it lays out in slices) change nothing of it.
#pragma once

#include "sheets/pagesource.h"

namespace zorpokaz {

class PageSnapshot final : public PageSource {
 public:
  PageSnapshot() = default;
  PageSnapshot(PageImageList pages, const MarginsMM& margins, int currentPage = -1);
  explicit PageSnapshot(const PageSource& source);

  int PageCount() const override { return static_cast<int>(m_pages.size()); }
  // Null outside 0..PageCount() - 1.
  std::shared_ptr<const PageImage> PageShared(int index) const override;
  MarginsMM Margins() const override { return m_margins; }
  int CurrentPage() const override { return m_currentPage; }

  const PageImageList& Pages() const { return m_pages; }

 private:
  PageImageList m_pages;
  MarginsMM m_margins;
  int m_currentPage = -1;
};

}  // namespace zorpokaz
