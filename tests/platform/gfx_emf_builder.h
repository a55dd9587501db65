// A tiny EMF written by hand for the gfx tests: the 100-byte header (frame
// 26.46 × 13.23 mm = 100 × 50 px of a 1024 × 768 px, 270.93 × 203.2 mm
// reference device, i.e. 96 dpi), a red solid brush, a rectangle from (10, 10)
// to (60, 40) and EMR_EOF. 180 bytes.
#pragma once

#include <QByteArray>
#include <QtEndian>

namespace zorpokaz::test {

inline QByteArray redRectangleEmf() {
  QByteArray e;
  auto put = [&e](quint32 v) {
    char c[4];
    qToLittleEndian(v, c);
    e.append(c, 4);
  };
  // EMR_HEADER
  put(1);
  put(100);
  put(0), put(0), put(99), put(49);      // rclBounds (device pixels, inclusive)
  put(0), put(0), put(2646), put(1323);  // rclFrame (0.01 mm)
  put(0x464D4520);                       // " EMF"
  put(0x10000);                          // version
  put(180);                              // nBytes
  put(5);                                // nRecords
  put(2);                                // nHandles (uint16) + reserved
  put(0), put(0), put(0);                // description, palette
  put(1024), put(768);                   // szlDevice
  put(271), put(203);                    // szlMillimeters
  put(0), put(0), put(0);                // pixel format, OpenGL
  // EMR_CREATEBRUSHINDIRECT: handle 1, BS_SOLID, red (0x00BBGGRR)
  put(39), put(24), put(1), put(0), put(0x0000FF), put(0);
  // EMR_SELECTOBJECT 1
  put(37), put(12), put(1);
  // EMR_RECTANGLE (10, 10) – (60, 40)
  put(43), put(24), put(10), put(10), put(60), put(40);
  // EMR_EOF
  put(14), put(20), put(0), put(16), put(20);
  return e;
}

}  // namespace zorpokaz::test
