// Tiny enhanced metafiles made byte by byte: an EMR_HEADER, a few drawing
// records and EMR_EOF, on a 1024 × 768 pixel, 320 × 240 mm reference device.
// Enough for a picture field to be read, sized and drawn, and for the records
// libEMF cannot write (a bitmap, a clip).
#pragma once

#include <QByteArray>
#include <cstdint>

namespace zorpokaz::writer {

// A valid EMF whose frame is `frameWidth` x `frameHeight` hundredths of a
// millimetre, drawing a rectangle and a diagonal when `withDrawing`.
QByteArray makeEmf(std::int32_t frameWidth, std::int32_t frameHeight, bool withDrawing = true);

// Frame 100 × 50 mm (320 × 160 reference pixels): a 2 × 2 bitmap, red and
// green over blue and black, stretched by StretchDIBits over (40, 20)–(200,
// 120), each of its pixels 80 × 50.
QByteArray makeEmfWithBitmap();

// Frame 100 × 50 mm: a clip to (60, 40)–(260, 120), then a red rectangle
// (20, 20)–(300, 140) with the default pen, of which only the clip shows.
QByteArray makeEmfWithClip();

// Header offsets a test may patch.
inline constexpr int kEmfSignatureOffset = 40;
inline constexpr int kEmfTotalSizeOffset = 48;

void patchUInt32(QByteArray& bytes, int offset, std::uint32_t value);

}  // namespace zorpokaz::writer
