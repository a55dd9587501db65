// Fonts of the program's own windows, given the way the system gives them: a
// face and either a cell height (ascent + descent, in pixels) or a character
// height (the em size, in pixels). Faces the system names that this platform
// lacks are matched by fontconfig ("Arial" -> Liberation Sans); "MS Sans Serif"
// and "Small Fonts" have no metric twin and are mapped to Liberation Sans here.
#pragma once

#include <QFont>
#include <QString>

namespace zorpokaz {

// The largest pixel size whose ascent + descent fits cellHeight.
QFont CellHeightFont(const QString& family, int cellHeight, bool bold);
// A font whose em size is charHeight pixels.
QFont CharHeightFont(const QString& family, int charHeight, bool bold);

}  // namespace zorpokaz
