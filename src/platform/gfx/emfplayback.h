// What an embedded EMF picture needs before libemf2svg converts it, so that
// it comes out as the platform plays it:
// - the platform plays every picture from its default drawing state (white
//   brush, black pen, black text on an opaque white background, the system
//   font); libemf2svg starts from zeroes, which fill black and draw text at
//   size 0. Records that select that state are put before the picture's own.
// - pens wider than one unit are drawn by the platform at their width;
//   libemf2svg draws every pen made by CreatePen one unit wide unless it is
//   marked geometric, so such pens are marked.
// - a positive font height is the cell height (letters and internal
//   leading); libemf2svg takes it as the em size. It becomes the negative
//   em size of the face that will draw it.
// - single-byte text records carry text in the code page of the selected
//   font's character set; libemf2svg blanks every byte above 127. They become
//   UTF-16 records.
// Works on well-formed record lists only (every record inside the image, the
// first a header, an EMR_EOF at the end); anything else is returned as it is.
#pragma once

#include <QByteArray>

namespace zorpokaz {

QByteArray withPlaybackDefaults(const QByteArray& emf);

}  // namespace zorpokaz
