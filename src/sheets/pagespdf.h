// Pages as a PDF: A4 pages at 300 dpi, each page image stretched inside the
// margins exactly as printing places it, the file's base name as the title.
// zorpokaz-cli render -o and the preview's "Zapisz jako PDF…" both write
// through here, so the two files are the same document.
//
// The file appears only when complete (written beside it under a temporary
// name, then renamed): a stopped or failed writing leaves any earlier file
// with that name as it was.
#pragma once

#include <QString>

#include <functional>
#include <vector>

#include "sheets/printrects.h"

namespace zorpokaz {

class PageImage;

// progress gets the number of pages written after each one; returning false
// stops the writing and the function returns false. Throws Error "Cannot
// create file <path>" when the file cannot be written.
bool WritePagesPdf(const QString& path, const std::vector<const PageImage*>& pages, const MarginsMM& margins,
                   const std::function<bool(int pagesDone)>& progress = {});

}  // namespace zorpokaz
