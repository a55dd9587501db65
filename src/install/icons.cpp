#include "install/icons.h"

namespace zorpokaz {

namespace {

// A page with a folded corner and printed rows, drawn on a 48 x 48 grid.
constexpr char kPage[] = R"(
  <path d="M9 3h22l10 10v32H9z" fill="#ffffff" stroke="#3a4a6b" stroke-width="1.5" stroke-linejoin="round"/>
  <path d="M31 3v10h10" fill="#dfe6f2" stroke="#3a4a6b" stroke-width="1.5" stroke-linejoin="round"/>
  <g stroke="#000080" stroke-width="2">
    <path d="M14 16h20M14 21h20M14 26h14M14 31h20M14 36h10"/>
  </g>)";

}  // namespace

QByteArray AppIconSvg() {
  return QByteArray(R"(<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="48" height="48" viewBox="0 0 48 48">)") +
         kPage + R"(
  <circle cx="29" cy="30" r="8" fill="#e8f0ff" fill-opacity="0.8" stroke="#a00000" stroke-width="3"/>
  <path d="M35 36l8 8" stroke="#a00000" stroke-width="4" stroke-linecap="round"/>
</svg>
)";
}

QByteArray TypeIconSvg() {
  return QByteArray(R"(<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="48" height="48" viewBox="0 0 48 48">)") +
         kPage + R"(
  <rect x="14" y="39.5" width="22" height="3.5" fill="#a00000"/>
</svg>
)";
}

}  // namespace zorpokaz
