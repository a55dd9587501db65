// Enhanced metafiles written by libEMF, an independent producer with the
// platform's drawing calls (CreateEnhMetaFile, SelectObject, Rectangle,
// TextOut...). Its reference device is 1024 × 768 pixels on 320 × 240 mm, so
// one millimetre of the frame is 3.2 logical units; every picture below says
// its frame and where it draws in those units. libEMF records nothing for
// StretchDIBits and has no clipping calls: pictures with a bitmap or a clip
// are made by emfbuilder.h.
//
// Kept free of Qt: libEMF's Windows headers and Qt's do not mix in one file.
#pragma once

#include <string>

namespace zorpokaz::writer {

// Frame 100 × 50 mm (320 × 160 units). Nothing selected: a rectangle
// (20, 20)–(140, 120) and a line from (20, 20) to (140, 120) across it, as
// the platform's default brush and pen draw them.
std::string libemfDefaultState();

// Frame 100 × 50 mm. A red brush and a blue pen 9 units wide: a triangle
// (170, 20), (300, 20), (170, 140); then the stock null brush with the
// black pen: a rectangle (20, 20)–(140, 140) with only its outline; then a
// green brush with the null pen: a rectangle (200, 100)–(290, 150) without
// an outline.
std::string libemfBrushesAndPens();

// Frame 100 × 50 mm. Arial bold 60 units high (negative: the em), red,
// transparent background: "ŻÓŁW" at the top-left corner (10, 10) through the
// wide text call; the Times New Roman face with a positive (cell) height of
// 60 and the Central European character set: the code page 1250 bytes of
// "Łódź" at (10, 90) through the single-byte call.
std::string libemfText();

// A logo for the sample printouts: frame 180 × 30 mm (576 × 96 units), a
// white box with a black edge drawn before anything is selected, a navy
// badge with a sheet of paper on it, the firm's name in bold navy over a
// rule and its trade in grey italics.
std::string libemfLogo();

}  // namespace zorpokaz::writer
