#include "support/libemfpictures.h"

#include <cstdio>
#include <functional>
#include <memory>

#include <libEMF/emf.h>

namespace zorpokaz::writer {

namespace {

const WCHAR* wide(const char16_t* text) { return reinterpret_cast<const WCHAR*>(text); }

int wideLength(const char16_t* text) {
  int n = 0;
  while (text[n] != 0) ++n;
  return n;
}

// Records whatever draw() does on a fresh metafile whose frame is
// widthMm × heightMm, and returns the file's bytes.
std::string record(int widthMm, int heightMm, const std::function<void(HDC)>& draw) {
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::tmpfile(), &std::fclose);
  if (!file) return {};
  const RECT frame = {0, 0, widthMm * 100, heightMm * 100};
  // The description is two strings, the program and the picture, ended by
  // an empty one.
  HDC dc = CreateEnhMetaFileWithFILEA(0, file.get(), &frame, "ZorPokaz\0test picture\0");
  draw(dc);
  HENHMETAFILE metafile = CloseEnhMetaFileWithFILE(dc);
  DeleteEnhMetaFile(metafile);
  std::fflush(file.get());
  std::rewind(file.get());
  std::string bytes;
  char buffer[4096];
  while (const size_t n = std::fread(buffer, 1, sizeof buffer, file.get())) bytes.append(buffer, n);
  return bytes;
}

void polygon(HDC dc, std::initializer_list<POINT> points) {
  Polygon(dc, points.begin(), static_cast<INT>(points.size()));
}

}  // namespace

std::string libemfDefaultState() {
  return record(100, 50, [](HDC dc) {
    Rectangle(dc, 20, 20, 140, 120);
    MoveToEx(dc, 20, 20, nullptr);
    LineTo(dc, 140, 120);
  });
}

std::string libemfBrushesAndPens() {
  return record(100, 50, [](HDC dc) {
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    HPEN blue = CreatePen(PS_SOLID, 9, RGB(0, 0, 255));
    SelectObject(dc, red);
    SelectObject(dc, blue);
    polygon(dc, {{170, 20}, {300, 20}, {170, 140}});
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    SelectObject(dc, GetStockObject(BLACK_PEN));
    Rectangle(dc, 20, 20, 140, 140);
    HBRUSH green = CreateSolidBrush(RGB(0, 160, 0));
    SelectObject(dc, green);
    SelectObject(dc, GetStockObject(NULL_PEN));
    Rectangle(dc, 200, 100, 290, 150);
  });
}

std::string libemfText() {
  return record(100, 50, [](HDC dc) {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 0, 0));
    HFONT arial = CreateFontA(-60, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
    SelectObject(dc, arial);
    const char16_t* turtle = u"ŻÓŁW";
    TextOutW(dc, 10, 10, wide(turtle), wideLength(turtle));
    HFONT times = CreateFontA(60, 0, 0, 0, FW_NORMAL, 0, 0, 0, EASTEUROPE_CHARSET, 0, 0, 0, 0, "Times New Roman");
    SelectObject(dc, times);
    const char lodz[] = "\xA3\xF3\x64\x9F";  // "Łódź" in code page 1250
    TextOutA(dc, 10, 90, lodz, 4);
  });
}

std::string libemfLogo() {
  return record(180, 30, [](HDC dc) {
    const COLORREF navy = RGB(0, 40, 110);
    Rectangle(dc, 2, 2, 574, 94);  // the platform's default white box with a black edge
    HBRUSH badge = CreateSolidBrush(navy);
    SelectObject(dc, badge);
    SelectObject(dc, GetStockObject(NULL_PEN));
    Ellipse(dc, 12, 10, 88, 86);
    // A sheet of paper with a folded corner and three lines of writing.
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
    polygon(dc, {{34, 22}, {58, 22}, {68, 32}, {68, 74}, {34, 74}});
    HBRUSH fold = CreateSolidBrush(RGB(150, 180, 230));
    SelectObject(dc, fold);
    polygon(dc, {{58, 22}, {58, 32}, {68, 32}});
    HPEN writing = CreatePen(PS_SOLID, 3, navy);
    SelectObject(dc, writing);
    for (int y : {42, 51, 60}) {
      MoveToEx(dc, 40, y, nullptr);
      LineTo(dc, y == 60 ? 54 : 62, y);
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, navy);
    HFONT name = CreateFontA(-28, 0, 0, 0, FW_BOLD, 0, 0, 0, EASTEUROPE_CHARSET, 0, 0, 0, 0, "Arial");
    SelectObject(dc, name);
    const char16_t* firm = u"Hurtownia „Żuraw” Sp. z o.o.";
    TextOutW(dc, 104, 16, wide(firm), wideLength(firm));
    HPEN rule = CreatePen(PS_SOLID, 2, navy);
    SelectObject(dc, rule);
    MoveToEx(dc, 104, 54, nullptr);
    LineTo(dc, 556, 54);
    HFONT line = CreateFontA(-17, 0, 0, 0, FW_NORMAL, 1, 0, 0, EASTEUROPE_CHARSET, 0, 0, 0, 0, "Arial");
    SelectObject(dc, line);
    SetTextColor(dc, RGB(90, 90, 90));
    const char16_t* trade = u"artykuły biurowe i papiernicze · Łódź, ul. Źródlana 7";
    TextOutW(dc, 104, 62, wide(trade), wideLength(trade));
  });
}

}  // namespace zorpokaz::writer
