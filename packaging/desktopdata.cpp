// Build tool: writes the desktop integration the system package installs
// under /usr/share, made by the same routines `zorpokaz INST` writes with, so
// that the package and an installation by the program itself never disagree
// about the type, its icons or the handler.
//
//   zp-desktopdata OUTDIR EXE
//
// OUTDIR receives applications/, mime/packages/ and icons/hicolor/ (the two
// icons as SVG and as PNG in the usual sizes); EXE is the viewer's installed
// path, which the menu entry starts.
#include "install/freedesktop.h"
#include "install/icons.h"
#include "install/installpaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

using namespace zorpokaz;

namespace {

constexpr int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

bool write(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  if (file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size()) return true;
  std::fprintf(stderr, "zp-desktopdata: cannot write %s\n", qPrintable(path));
  return false;
}

bool writePng(const QString& path, const QByteArray& svg, int size) {
  QSvgRenderer renderer(svg);
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
  }
  QDir().mkpath(QFileInfo(path).absolutePath());
  if (renderer.isValid() && image.save(path, "PNG")) return true;
  std::fprintf(stderr, "zp-desktopdata: cannot write %s\n", qPrintable(path));
  return false;
}

// One icon of the hicolor theme in `context` (apps, mimetypes), scalable and
// in every fixed size.
bool writeIcon(const QString& hicolor, const char* context, const char* name, const QByteArray& svg) {
  const QString file = QLatin1String(context) + QLatin1Char('/') + QLatin1String(name);
  bool ok = write(hicolor + QStringLiteral("/scalable/") + file + QStringLiteral(".svg"), svg);
  for (const int size : kIconSizes)
    ok = ok && writePng(hicolor + QStringLiteral("/%1x%1/").arg(size) + file + QStringLiteral(".png"), svg, size);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("usage: zp-desktopdata OUTDIR EXE\n", stderr);
    return 1;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  // The places INST writes to, with the output directory as the data directory.
  InstallPaths paths;
  paths.dataDir = QFile::decodeName(argv[1]);
  const QString exe = QFile::decodeName(argv[2]);
  const QString hicolor = paths.iconThemeDir();
  const bool ok = write(paths.desktopEntryFile(), MenuEntry(exe)) &&
                  write(paths.mimePackageFile(), MimePackageXml()) &&
                  writeIcon(hicolor, "apps", kAppIconName, AppIconSvg()) &&
                  writeIcon(hicolor, "mimetypes", kTypeIconName, TypeIconSvg());
  return ok ? 0 : 1;
}
