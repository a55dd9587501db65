// An embedded enhanced-metafile picture (field kind 6): the EMF bytes as the
// reader found them, the frame rectangle from the header, and rendering
// through libemf2svg → SVG → QtSvg (SvgLayers). The SVG renderers (colour and
// mono) are made on first use and shared by all copies, so replay is cheap.
// A picture that libemf2svg cannot convert draws nothing; nothing here ever
// throws while drawing.
#pragma once

#include <QByteArray>
#include <QRectF>

#include <cstdint>
#include <memory>

class QPainter;

namespace zorpokaz {

class EmfPicture {
 public:
  static constexpr int kHeaderSize = 100;
  static constexpr uint32_t kSignature = 0x464D4520;  // " EMF" at offset 40

  // Checks the 100-byte header (signature at offset 40) and returns the total
  // size at offset 48; throws EInvalidGraphic("Metafile is not valid").
  // The reader reads the remaining total − 100 bytes exactly.
  static uint32_t checkHeader(const char* header100);

  EmfPicture() = default;
  // Takes the whole image (header included). Throws EInvalidGraphic when the
  // header is not a valid EMF header or the bytes are fewer than it says.
  explicit EmfPicture(QByteArray bytes);

  bool isNull() const { return !m_data; }
  const QByteArray& bytes() const;
  // Frame rectangle size in hundredths of a millimetre (right − left,
  // bottom − top as stored).
  int frameWidth() const;
  int frameHeight() const;
  // The frame size in pixels of a reference device with dpi pixels per inch
  // (MulDiv(frame, dpi, 2540), as the platform reports a metafile's size).
  int widthPx(int dpi) const;
  int heightPx(int dpi) const;

  // Draws the picture stretched into target. mono: fills white, strokes and
  // text black. Draws nothing for a null or unconvertible picture.
  void render(QPainter& painter, const QRectF& target, bool mono = false) const;
  // Whether libemf2svg produced a drawable SVG (converts on first call).
  bool isRenderable() const;

  friend bool operator==(const EmfPicture& a, const EmfPicture& b) { return a.m_data == b.m_data; }

 private:
  struct Data;
  std::shared_ptr<Data> m_data;
};

}  // namespace zorpokaz
