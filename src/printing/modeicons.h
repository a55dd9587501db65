// Pictures of the print dialog's three mode buttons, drawn in code: one
// portrait page, two pages side by side on a landscape sheet, and a folded
// booklet. Each pixmap holds the enabled picture on its left half and the
// greyed one on its right, as TZorBtn expects.
#pragma once

#include <QPixmap>

#include "sheets/sheetplan.h"

namespace zorpokaz {

QPixmap ModeIcon(PrintMode mode);

}  // namespace zorpokaz
