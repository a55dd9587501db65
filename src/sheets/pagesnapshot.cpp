#include "sheets/pagesnapshot.h"

namespace zorpokaz {

PageSnapshot::PageSnapshot(PageImageList pages, const MarginsMM& margins, int currentPage)
    : m_pages(std::move(pages)), m_margins(margins), m_currentPage(currentPage) {}

PageSnapshot::PageSnapshot(const PageSource& source)
    : m_margins(source.Margins()), m_currentPage(source.CurrentPage()) {
  const int count = source.PageCount();
  m_pages.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) m_pages.push_back(source.PageShared(i));
}

std::shared_ptr<const PageImage> PageSnapshot::PageShared(int index) const {
  if (index < 0 || index >= PageCount()) return nullptr;
  return m_pages[static_cast<std::size_t>(index)];
}

}  // namespace zorpokaz
