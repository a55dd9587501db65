// A digest of what a page image holds, item by item (kind, rectangle, flags,
// font, colour, text and laid-out lines, pen lines, picture bytes), so that a
// change to the drawing code can be checked to record exactly the same pages.
// The stream encoding itself is not part of it: a more compact encoding of
// the same items gives the same digest.
#pragma once

#include <QByteArray>

namespace zorpokaz {
class PageImage;
}

namespace zorpokaz::writer {

// Hex SHA-256 of the page's size and items.
QByteArray pageDigest(const PageImage& page);

}  // namespace zorpokaz::writer
