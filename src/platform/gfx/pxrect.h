// A rectangle in page-image pixels with the platform's RECT meaning: right and
// bottom are exclusive edges, so width = right − left. (QRect's right() is
// inclusive, which is why the text routine does not take a QRect.)
#pragma once

#include <QRect>

#include <algorithm>

namespace zorpokaz {

// Page-image coordinates are kept within [−2^30, 2^30): a page is a few
// thousand pixels wide, anything beyond is a damaged file, and within that
// range the difference of any two edges still fits an int.
inline constexpr int kPxLimit = 1 << 30;
constexpr int clampPx(long long v) { return static_cast<int>(std::clamp<long long>(v, -kPxLimit, kPxLimit - 1)); }

struct PxRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  constexpr int width() const { return right - left; }
  constexpr int height() const { return bottom - top; }
  QRect toQRect() const { return QRect(left, top, right - left, bottom - top); }
  static PxRect fromQRect(const QRect& r) { return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }
  friend constexpr bool operator==(const PxRect&, const PxRect&) = default;
};

}  // namespace zorpokaz
