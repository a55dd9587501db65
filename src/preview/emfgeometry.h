// Placement maths of the page viewer: sheet sizes per zoom level, margins in
// pixels, hit-testing a view point against the column of sheets and the scroll
// positions that keep a point of a page under the pointer. Pure functions, so
// every rule can be pinned by a table test without a widget.
//
// Units: view and sheet sizes, scroll positions and margins in pixels are
// screen pixels of the viewer; margins given as input are millimetres of a
// 210 x 297 mm sheet. Page positions and fractions are 32-bit floats on
// purpose: which page a point on a boundary belongs to depends on it.
#pragma once

#include <QString>

namespace zorpokaz {

enum class TEmfZoomLevel {
  zoomPageH,
  zoomPageAvg,
  zoomPageW,
  zoomTextW,
  zoomExtra1,
  zoomExtra2,
  zoomExtra3,
};

namespace emfgeo {

inline constexpr int kSheetGap = 10;    // between consecutive sheets
inline constexpr int kSheetInset = 5;   // from the column's top/left edge to a sheet
inline constexpr double K = 70.0 / 99.0;  // sheet width : height
// A sheet never grows beyond this: extreme margins at zoomTextW would otherwise
// ask for sheets of hundreds of thousands of pixels and overflow scroll ranges.
inline constexpr int kMaxSheetWidth = 20000;

struct SheetSize {
  int width = 1;
  int height = 1;
};

struct SheetMargins {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// A point in page-column terms: page is the 0-based page index plus the
// fraction of the sheet's height; fraction is x across the sheet's width.
struct PagePoint {
  float page = 0.0f;
  float fraction = 0.0f;
};

// Rounds to nearest, halves to even, saturating at the int range.
int roundEven(double value);

// Sheet size for a zoom level in a view of viewWidth x viewHeight pixels.
// Never smaller than 1 x 1, so a collapsed view cannot divide by zero.
SheetSize SheetSizeFor(TEmfZoomLevel level, int viewWidth, int viewHeight,
                       int margLeftMm, int margRightMm);

// Margins in pixels of a sheet of the given size.
SheetMargins MarginsPx(SheetSize sheet, int leftMm, int topMm, int rightMm, int bottomMm);

// Distance between the tops of two consecutive sheets.
inline int SheetSlot(SheetSize sheet) { return sheet.height + kSheetGap; }

// Scroll maxima; never negative, saturated at the int range.
int HorizontalMax(SheetSize sheet, int viewWidth);
int VerticalMax(SheetSize sheet, int pageCount, int viewHeight);

// A position kept at the same relative place when its range changes.
int RescalePosition(int oldPos, int oldMax, int newMax);

// Horizontal position that puts the left edge of the text area of a sheet at
// the left edge of the view (zoomTextW).
int TextWidthHorizontalPos(SheetSize sheet, int margLeftMm);

// Which page and where across it lies under view point (x, y).
PagePoint PageAt(int x, int y, int hPos, int vPos, int viewWidth, SheetSize sheet);

// Positions that bring point (page, fraction) under view point (x, y).
int ScrollToPointH(int x, float fraction, SheetSize sheet);
int ScrollToPointV(int y, float page, SheetSize sheet);

// Vertical position of the top of the page containing position p.
int AlignToPageV(float page, SheetSize sheet);

// Vertical position showing page n (1-based) at the top.
int PageNrToPos(int pageNr, SheetSize sheet);

// Left edge of the sheets in the view.
int SheetLeft(SheetSize sheet, int viewWidth, int hPos);

// First sheet whose row can intersect the view, and its top in view pixels.
int FirstSheet(int vPos, SheetSize sheet);
int SheetTop(int sheetIndex, int vPos, SheetSize sheet);

// A sheet's width as a percentage of a real 210 mm page at dpi pixels per inch.
int ZoomPercent(SheetSize sheet, double dpi);

// The label drawn at the top of sheet number (1-based).
QString PageLabel(int pageNumber);

}  // namespace emfgeo
}  // namespace zorpokaz
