// An enhanced-metafile picture stored whole inside a printout field: the image
// bytes as read (header included) and its frame rectangle from the header, in
// hundredths of a millimetre. Rendering belongs to the drawing layer; this only
// reads and checks.
#pragma once

#include <QByteArray>
#include <cstdint>

#include "platform/files/stream.h"

namespace zorpokaz {

struct EmfPicture {
  QByteArray Bytes;          // the whole EMF image, header first
  std::int32_t FrameLeft = 0;  // rclFrame, 0.01 mm
  std::int32_t FrameTop = 0;
  std::int32_t FrameRight = 0;
  std::int32_t FrameBottom = 0;

  // Frame extent in 0.01 mm (64-bit: the header's corners are arbitrary int32).
  std::int64_t width() const { return std::int64_t(FrameRight) - FrameLeft; }
  std::int64_t height() const { return std::int64_t(FrameBottom) - FrameTop; }

  static constexpr std::size_t kHeaderSize = 100;
  static constexpr std::uint32_t kSignature = 0x464D4520;  // " EMF"

  // Reads one picture with exact reads: 100 header bytes, signature at offset
  // 40 (else EInvalidGraphic "Metafile is not valid"), total size at offset 48
  // (below 100 is invalid too), then the rest. Data that ends first throws
  // EReadError "Stream read error". Memory grows only with data actually read.
  static EmfPicture readFromStream(Stream& stream);
};

}  // namespace zorpokaz
