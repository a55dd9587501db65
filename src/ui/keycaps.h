// The key-cap pictures of TZorBtn, drawn by code once per process: five cap
// backgrounds (22 x 17: blue, purple, olive, green, red; grey when disabled)
// and one label per key (20 x 13) in an enabled and a disabled version.
// Transparent around the cap. Images rather than pixmaps, so that the shared
// set may outlive the application object without trouble.
#pragma once

#include <QImage>

namespace zorpokaz {

enum class TZorBtnTyp;

inline constexpr int kKeyCapWidth = 22;
inline constexpr int kKeyCapHeight = 17;
inline constexpr int kKeyLabelWidth = 20;
inline constexpr int kKeyLabelHeight = 13;

// kolor 0..4.
const QImage& KeyCapBackground(int kolor, bool enabled);
// Any key but sbWlasny; sbPusty is a blank label.
const QImage& KeyCapLabel(TZorBtnTyp typ, bool enabled);

}  // namespace zorpokaz
