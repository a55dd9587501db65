#include "support/emfbuilder.h"

#include "support/printoutwriter.h"

namespace zorpokaz::writer {

namespace {

constexpr std::uint32_t kEmrHeader = 1;
constexpr std::uint32_t kEmrEof = 14;
constexpr std::uint32_t kEmrMoveToEx = 27;
constexpr std::uint32_t kEmrLineTo = 54;
constexpr std::uint32_t kEmrRectangle = 43;
constexpr std::int32_t kHeaderSize = 108;  // with szlMicrometers

// Reference device of the header: 1024 x 768 pixels on 320 x 240 mm.
constexpr std::int32_t kDevW = 1024, kDevH = 768, kDevMmW = 320, kDevMmH = 240;

void rect(BodyBuilder& b, std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t bo) {
  b.i32(l).i32(t).i32(r).i32(bo);
}

}  // namespace

void patchUInt32(QByteArray& bytes, int offset, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

QByteArray makeEmf(std::int32_t frameWidth, std::int32_t frameHeight, bool withDrawing) {
  // Picture extent in reference-device pixels.
  const std::int32_t pxW = static_cast<std::int32_t>(std::int64_t(frameWidth) * kDevW / (kDevMmW * 100));
  const std::int32_t pxH = static_cast<std::int32_t>(std::int64_t(frameHeight) * kDevH / (kDevMmH * 100));

  BodyBuilder records;
  int recordCount = 1;  // the header
  if (withDrawing) {
    records.i32(kEmrRectangle).i32(24);
    rect(records, pxW / 10, pxH / 10, pxW - pxW / 10, pxH - pxH / 10);
    records.i32(kEmrMoveToEx).i32(16).i32(0).i32(0);
    records.i32(kEmrLineTo).i32(16).i32(pxW).i32(pxH);
    recordCount += 3;
  }
  records.i32(kEmrEof).i32(20).i32(0).i32(16).i32(20);
  ++recordCount;

  const std::int32_t total = kHeaderSize + static_cast<std::int32_t>(records.data().size());
  BodyBuilder h;
  h.i32(kEmrHeader).i32(kHeaderSize);
  rect(h, 0, 0, pxW > 0 ? pxW - 1 : 0, pxH > 0 ? pxH - 1 : 0);  // rclBounds, inclusive
  rect(h, 0, 0, frameWidth, frameHeight);                          // rclFrame, 0.01 mm
  h.i32(0x464D4520).i32(0x10000).i32(total).i32(recordCount);
  h.u16(1).u16(0);                         // nHandles, sReserved
  h.i32(0).i32(0).i32(0);                  // description, palette entries
  h.i32(kDevW).i32(kDevH).i32(kDevMmW).i32(kDevMmH);
  h.i32(0).i32(0).i32(0);                  // pixel format, OpenGL
  h.i32(kDevMmW * 1000).i32(kDevMmH * 1000);  // szlMicrometers
  return h.data() + records.data();
}

}  // namespace zorpokaz::writer
