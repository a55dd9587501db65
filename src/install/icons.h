// The two icons installation puts into the hicolor theme: the viewer's own
// (a printout under a magnifying glass) and the printout file type's (a
// printed page). Scalable SVG carried inside the program, which is the only
// file a package unpacks.
#pragma once

#include <QByteArray>

namespace zorpokaz {

QByteArray AppIconSvg();
QByteArray TypeIconSvg();

}  // namespace zorpokaz
