// PageSource: what printing asks of the printout a person is looking at — its
// laid-out pages, the margins every page image is stretched inside on the
// sheet (whole millimetres from the paper's edge), and the page on screen.
// The preview's page viewer is one; PageSnapshot keeps what one gave at a
// moment. The print dialog, the print job and "Zapisz jako PDF…" read pages
// only through it, so printing knows nothing of the preview's widgets.
#pragma once

#include <memory>
#include <vector>

#include "sheets/printrects.h"

namespace zorpokaz {

class PageImage;

using PageImageList = std::vector<std::shared_ptr<const PageImage>>;

class PageSource {
 public:
  virtual ~PageSource() = default;

  virtual int PageCount() const = 0;
  // Page k is at index k - 1. Shared: a print keeps its pages alive even when
  // the source lets go of them.
  virtual std::shared_ptr<const PageImage> PageShared(int index) const = 0;
  virtual MarginsMM Margins() const = 0;
  // 1-based number of the page shown; -1 when there is no page on screen.
  virtual int CurrentPage() const = 0;
};

}  // namespace zorpokaz
