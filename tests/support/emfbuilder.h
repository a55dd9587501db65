// Tiny enhanced metafiles made byte by byte: an EMR_HEADER, optionally a
// rectangle and a line, and EMR_EOF. Enough for a picture field to be read,
// sized and drawn.
#pragma once

#include <QByteArray>
#include <cstdint>

namespace zorpokaz::writer {

// A valid EMF whose frame is `frameWidth` x `frameHeight` hundredths of a
// millimetre, drawing a rectangle and a diagonal when `withDrawing`.
QByteArray makeEmf(std::int32_t frameWidth, std::int32_t frameHeight, bool withDrawing = true);

// Header offsets a test may patch.
inline constexpr int kEmfSignatureOffset = 40;
inline constexpr int kEmfTotalSizeOffset = 48;

void patchUInt32(QByteArray& bytes, int offset, std::uint32_t value);

}  // namespace zorpokaz::writer
