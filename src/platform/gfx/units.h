// Millimetre <-> page-image pixel conversions for a reference
// resolution R (pixels per inch of the reference device; 96 in the CLI and
// tests). A page-image pixel is 1/(1.8 R) inch of the printed page.
#pragma once

#include <QSize>

namespace zorpokaz {

inline constexpr int kDefaultDpi = 96;
inline constexpr float kPageWidthMm = 210.0f;
inline constexpr float kPageHeightMm = 294.0f;

// R × mm / 25.4 × 1.8, rounded to nearest with ties to even. Results beyond
// ±2^30 are clamped (a corrupt style must not overflow an int).
int MmToPxX(int dpi, float mm);
int MmToPxY(int dpi, float mm);
// px / R × 25.4 / 1.8 as float32 millimetres.
float PxToMmX(int dpi, int px);
float PxToMmY(int dpi, int px);
// The page image's size in pixels: 1429 × 2000 at R = 96.
QSize PageSizePx(int dpi);

// The same conversions bound to one R, for code that carries the resolution.
class PageUnits {
 public:
  explicit PageUnits(int dpi = kDefaultDpi) : m_dpi(dpi) {}
  int dpi() const { return m_dpi; }
  int MmToPxX(float mm) const { return zorpokaz::MmToPxX(m_dpi, mm); }
  int MmToPxY(float mm) const { return zorpokaz::MmToPxY(m_dpi, mm); }
  float PxToMmX(int px) const { return zorpokaz::PxToMmX(m_dpi, px); }
  float PxToMmY(int px) const { return zorpokaz::PxToMmY(m_dpi, px); }
  QSize pageSize() const { return PageSizePx(m_dpi); }

 private:
  int m_dpi;
};

}  // namespace zorpokaz
