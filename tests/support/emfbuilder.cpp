#include "support/emfbuilder.h"

#include "support/printoutwriter.h"

namespace zorpokaz::writer {

namespace {

constexpr std::uint32_t kEmrHeader = 1;
constexpr std::uint32_t kEmrEof = 14;
constexpr std::uint32_t kEmrMoveToEx = 27;
constexpr std::uint32_t kEmrLineTo = 54;
constexpr std::uint32_t kEmrRectangle = 43;
constexpr std::uint32_t kEmrIntersectClipRect = 30;
constexpr std::uint32_t kEmrSelectObject = 37;
constexpr std::uint32_t kEmrCreateBrushIndirect = 39;
constexpr std::uint32_t kEmrStretchDIBits = 81;
constexpr std::int32_t kHeaderSize = 108;  // with szlMicrometers

// Reference device of the header: 1024 x 768 pixels on 320 x 240 mm.
constexpr std::int32_t kDevW = 1024, kDevH = 768, kDevMmW = 320, kDevMmH = 240;

void rect(BodyBuilder& b, std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t bo) {
  b.i32(l).i32(t).i32(r).i32(bo);
}

std::int32_t pxWidth(std::int32_t frameWidth) {
  return static_cast<std::int32_t>(std::int64_t(frameWidth) * kDevW / (kDevMmW * 100));
}
std::int32_t pxHeight(std::int32_t frameHeight) {
  return static_cast<std::int32_t>(std::int64_t(frameHeight) * kDevH / (kDevMmH * 100));
}

// The header, the records (recordCount of them) and EMR_EOF.
QByteArray assemble(std::int32_t frameWidth, std::int32_t frameHeight, BodyBuilder& records, int recordCount) {
  const std::int32_t pxW = pxWidth(frameWidth), pxH = pxHeight(frameHeight);
  records.i32(kEmrEof).i32(20).i32(0).i32(16).i32(20);
  recordCount += 2;  // the header and EMR_EOF

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

}  // namespace

void patchUInt32(QByteArray& bytes, int offset, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

QByteArray makeEmf(std::int32_t frameWidth, std::int32_t frameHeight, bool withDrawing) {
  const std::int32_t pxW = pxWidth(frameWidth), pxH = pxHeight(frameHeight);
  BodyBuilder records;
  int recordCount = 0;
  if (withDrawing) {
    records.i32(kEmrRectangle).i32(24);
    rect(records, pxW / 10, pxH / 10, pxW - pxW / 10, pxH - pxH / 10);
    records.i32(kEmrMoveToEx).i32(16).i32(0).i32(0);
    records.i32(kEmrLineTo).i32(16).i32(pxW).i32(pxH);
    recordCount += 3;
  }
  return assemble(frameWidth, frameHeight, records, recordCount);
}

QByteArray makeEmfWithBitmap() {
  // 2 × 2 pixels, 24 bits, bottom-up rows padded to 4 bytes: the bottom row
  // blue, black; the top row red, green (bytes are blue, green, red).
  const unsigned char bits[16] = {255, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 0, 255, 0, 0, 0};
  BodyBuilder r;
  r.i32(kEmrStretchDIBits).i32(80 + 40 + 16);
  rect(r, 40, 20, 199, 119);                      // rclBounds
  r.i32(40).i32(20).i32(0).i32(0).i32(2).i32(2);  // destination, source origin and size
  r.i32(80).i32(40).i32(120).i32(16);             // header and bits: offsets, sizes
  r.i32(0).i32(0x00CC0020);                       // DIB_RGB_COLORS, SRCCOPY
  r.i32(160).i32(100);                            // destination size
  r.i32(40).i32(2).i32(2).u16(1).u16(24).i32(0).i32(16).i32(0).i32(0).i32(0).i32(0);  // BITMAPINFOHEADER
  r.bytes(QByteArrayView(reinterpret_cast<const char*>(bits), sizeof bits));
  return assemble(10000, 5000, r, 1);
}

QByteArray makeEmfWithClip() {
  BodyBuilder r;
  r.i32(kEmrIntersectClipRect).i32(24);
  rect(r, 60, 40, 260, 120);
  r.i32(kEmrCreateBrushIndirect).i32(24).i32(1).i32(0).i32(0x0000FF).i32(0);  // handle 1: solid red
  r.i32(kEmrSelectObject).i32(12).i32(1);
  r.i32(kEmrRectangle).i32(24);
  rect(r, 20, 20, 300, 140);
  return assemble(10000, 5000, r, 4);
}

}  // namespace zorpokaz::writer
