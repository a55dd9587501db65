// Small pictures for the preview's tool buttons, drawn rather than loaded so
// they look the same on every desktop whatever its icon theme.
#pragma once

#include <QIcon>

namespace zorpokaz {

QIcon FindIcon();   // a magnifying glass
QIcon PdfIcon();    // a page with a fold and "PDF" on it
QIcon CopyIcon();   // two sheets, one over the other

}  // namespace zorpokaz
