// What the page drawing asks a font to be (the platform's CreateFont request),
// in page-image pixels. Realised by RealizedFont (realizedfont.h).
#pragma once

#include <QHash>
#include <QString>

#include <cstddef>
#include <functional>

namespace zorpokaz {

struct LogFont {
  QString face;        // typeface name, matched through fontconfig
  int height = 0;      // < 0: character height without internal leading (ppem);
                       // > 0: cell height; 0: the platform's default size
  int width = 0;       // < 0 or > 0: average character width; 0: natural width
  int weight = 400;    // 400 normal, 700 bold (≥ 600 is bold)
  bool italic = false;
  bool underline = false;
  int charset = 1;     // character-set number; kept, does not change the face

  friend bool operator==(const LogFont&, const LogFont&) = default;
};

inline size_t qHash(const LogFont& f, size_t seed = 0) {
  return qHashMulti(seed, f.face, f.height, f.width, f.weight, f.italic, f.underline, f.charset);
}

}  // namespace zorpokaz

template <>
struct std::hash<zorpokaz::LogFont> {
  size_t operator()(const zorpokaz::LogFont& f) const noexcept { return zorpokaz::qHash(f); }
};
