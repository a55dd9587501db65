#include "preview/emfgeometry.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

namespace zorpokaz::emfgeo {

namespace {

int clampToInt(std::int64_t v) {
  return static_cast<int>(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX));
}

int clampWidth(int width) { return std::clamp(width, 1, kMaxSheetWidth); }

// Height that belongs to a width, for every level but zoomPageH.
int heightOf(int width) { return std::max(1, roundEven(width / K)); }

}  // namespace

int roundEven(double value) {
  if (std::isnan(value)) return 0;
  if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (value <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(std::nearbyint(value));
}

SheetSize SheetSizeFor(TEmfZoomLevel level, int viewWidth, int viewHeight,
                       int margLeftMm, int margRightMm) {
  SheetSize s;
  switch (level) {
    case TEmfZoomLevel::zoomPageH: {
      s.height = std::max(1, viewHeight - 10);
      s.width = clampWidth(roundEven(s.height * K));
      // Keep the proportions when the width had to be capped.
      if (s.width == kMaxSheetWidth) s.height = heightOf(s.width);
      return s;
    }
    case TEmfZoomLevel::zoomPageAvg:
      s.width = roundEven(((viewHeight - 10) * K + (viewWidth - 12)) * 0.5);
      break;
    case TEmfZoomLevel::zoomPageW:
      s.width = viewWidth - 12;
      break;
    case TEmfZoomLevel::zoomTextW: {
      const double m = (margLeftMm + margRightMm) / 210.0;
      const double denom = 1.0 - m;
      // Side margins of a whole sheet's width or more leave no text area to fit.
      s.width = denom <= 0.0 ? kMaxSheetWidth : roundEven(viewWidth / denom) - 6;
      break;
    }
    case TEmfZoomLevel::zoomExtra1:
      s.width = roundEven(4.0 * viewWidth / 3.0);
      break;
    case TEmfZoomLevel::zoomExtra2:
      s.width = roundEven(5.0 * viewWidth / 3.0);
      break;
    case TEmfZoomLevel::zoomExtra3:
      s.width = roundEven(6.0 * viewWidth / 3.0);
      break;
  }
  s.width = clampWidth(s.width);
  s.height = heightOf(s.width);
  return s;
}

SheetMargins MarginsPx(SheetSize sheet, int leftMm, int topMm, int rightMm, int bottomMm) {
  // The integer product comes first, as the sheet is measured in whole pixels.
  auto px = [](int mm, int size, int full) {
    return roundEven(static_cast<double>(static_cast<std::int64_t>(mm) * size) / full);
  };
  return {px(leftMm, sheet.width, 210), px(topMm, sheet.height, 297),
          px(rightMm, sheet.width, 210), px(bottomMm, sheet.height, 297)};
}

int HorizontalMax(SheetSize sheet, int viewWidth) {
  return std::max(0, clampToInt(std::int64_t{sheet.width} + 10 - viewWidth));
}

int VerticalMax(SheetSize sheet, int pageCount, int viewHeight) {
  const std::int64_t column = std::int64_t{pageCount} * SheetSlot(sheet);
  return std::max(0, clampToInt(column - viewHeight));
}

int RescalePosition(int oldPos, int oldMax, int newMax) {
  if (oldMax == 0) return 0;
  return roundEven(static_cast<double>(oldPos) / oldMax * newMax);
}

int TextWidthHorizontalPos(SheetSize sheet, int margLeftMm) {
  return roundEven(static_cast<double>(std::int64_t{sheet.width} * margLeftMm) / 210.0) + 3;
}

PagePoint PageAt(int x, int y, int hPos, int vPos, int viewWidth, SheetSize sheet) {
  std::int64_t xc = std::int64_t{x} + hPos;
  const std::int64_t yc = std::int64_t{y} + vPos;
  if (viewWidth > sheet.width) xc -= (viewWidth - sheet.width) / 2;
  xc -= kSheetInset;
  const std::int64_t slot = SheetSlot(sheet);
  const std::int64_t i = yc / slot;
  const std::int64_t r = yc - i * slot - kSheetInset;
  PagePoint pt;
  pt.fraction = static_cast<float>(static_cast<double>(xc) / sheet.width);
  pt.page = static_cast<float>(static_cast<double>(i) + static_cast<double>(r) / sheet.height);
  return pt;
}

int ScrollToPointH(int x, float fraction, SheetSize sheet) {
  return clampToInt(std::int64_t{roundEven(sheet.width * static_cast<double>(fraction))} +
                    kSheetInset - x);
}

int ScrollToPointV(int y, float page, SheetSize sheet) {
  const float whole = std::trunc(page);
  const float frac = page - whole;
  const std::int64_t top = roundEven(static_cast<double>(whole) * SheetSlot(sheet));
  const std::int64_t within = roundEven(static_cast<double>(frac) * sheet.height);
  return clampToInt(top + kSheetInset + within - y);
}

int AlignToPageV(float page, SheetSize sheet) {
  const double whole = std::trunc(static_cast<double>(page));
  return roundEven(whole * SheetSlot(sheet));
}

int PageNrToPos(int pageNr, SheetSize sheet) {
  return clampToInt((std::int64_t{pageNr} - 1) * SheetSlot(sheet));
}

int SheetLeft(SheetSize sheet, int viewWidth, int hPos) {
  if (sheet.width > viewWidth) return kSheetInset - hPos;
  return (viewWidth - sheet.width) / 2;
}

int FirstSheet(int vPos, SheetSize sheet) { return (vPos - kSheetInset) / SheetSlot(sheet); }

int SheetTop(int sheetIndex, int vPos, SheetSize sheet) {
  return clampToInt(std::int64_t{sheetIndex} * SheetSlot(sheet) + kSheetInset - vPos);
}

QString PageLabel(int pageNumber) {
  return QStringLiteral("-  strona %1 -").arg(pageNumber);
}

int ZoomPercent(SheetSize sheet, double dpi) {
  if (dpi <= 0) return 0;
  return roundEven(sheet.width * 100.0 / (210.0 / 25.4 * dpi));
}

}  // namespace zorpokaz::emfgeo
