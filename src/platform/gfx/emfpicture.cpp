#include "platform/gfx/emfpicture.h"

#include "platform/errors.h"
#include "platform/gfx/emfplayback.h"
#include "platform/gfx/svglayers.h"

#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QRegularExpression>
#include <QtEndian>

#include <emf2svg.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <mutex>

namespace zorpokaz {

namespace {

constexpr uint32_t kEmrHeader = 1;
constexpr uint32_t kEmrEof = 14;

uint32_t u32(const QByteArray& b, qsizetype offset) {
  return qFromLittleEndian<quint32>(b.constData() + offset);
}
int32_t s32(const QByteArray& b, qsizetype offset) { return qFromLittleEndian<qint32>(b.constData() + offset); }

// MulDiv: a × b / c rounded half away from zero, in 64 bits.
int mulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  const long long p = static_cast<long long>(a) * b;
  long long q = (std::llabs(p) + std::llabs(static_cast<long long>(c)) / 2) / std::llabs(static_cast<long long>(c));
  if ((p < 0) != (c < 0)) q = -q;
  return static_cast<int>(std::clamp<long long>(q, INT_MIN, INT_MAX));
}

// Every record lies inside the image, sizes are 4-byte multiples of at least
// 8, the first is the header and an EMR_EOF ends the list. libemf2svg gets
// only images that pass, so no record makes it read outside the buffer.
bool recordsWellFormed(const QByteArray& b) {
  qsizetype at = 0;
  bool first = true;
  while (at + 8 <= b.size()) {
    const uint32_t type = u32(b, at);
    const uint32_t size = u32(b, at + 4);
    if (size < 8 || size % 4 != 0 || size > static_cast<uint64_t>(b.size() - at)) return false;
    if (first && (type != kEmrHeader || size < 88)) return false;
    first = false;
    if (type == kEmrEof) return true;
    at += size;
  }
  return false;
}

// Mono: fills white, strokes and text black (the page's black-and-white
// replay rewrites brushes, pens and text colour the same way).
QByteArray monoSvg(const QByteArray& svg) {
  QString s = QString::fromUtf8(svg);
  static const QRegularExpression tag(QStringLiteral("<([A-Za-z:]+)([^>]*)>"));
  static const QRegularExpression fill(QStringLiteral("fill(=\"|:\\s*)(#[0-9A-Fa-f]{3,8}|rgb\\([^)]*\\)|[a-zA-Z]+)"));
  static const QRegularExpression stroke(
      QStringLiteral("stroke(=\"|:\\s*)(#[0-9A-Fa-f]{3,8}|rgb\\([^)]*\\)|[a-zA-Z]+)"));
  QString out;
  out.reserve(s.size());
  qsizetype last = 0;
  auto it = tag.globalMatch(s);
  while (it.hasNext()) {
    const QRegularExpressionMatch m = it.next();
    out += QStringView(s).mid(last, m.capturedStart() - last);
    const QString name = m.captured(1);
    const bool isText = name.endsWith(QLatin1String("text")) || name.endsWith(QLatin1String("tspan"));
    QString attrs = m.captured(2);
    auto recolor = [&](const QRegularExpression& re, const QString& colour) {
      QString result;
      qsizetype pos = 0;
      auto a = re.globalMatch(attrs);
      while (a.hasNext()) {
        const QRegularExpressionMatch am = a.next();
        result += QStringView(attrs).mid(pos, am.capturedStart(2) - pos);
        result += am.captured(2) == QLatin1String("none") ? am.captured(2) : colour;
        pos = am.capturedEnd(2);
      }
      result += QStringView(attrs).mid(pos);
      attrs = result;
    };
    recolor(fill, isText ? QStringLiteral("#000000") : QStringLiteral("#ffffff"));
    recolor(stroke, QStringLiteral("#000000"));
    out += QLatin1Char('<') + name + attrs + QLatin1Char('>');
    last = m.capturedEnd();
  }
  out += QStringView(s).mid(last);
  return out.toUtf8();
}

// libemf2svg sizes the SVG to the header's bounds (the extent drawn, in
// device pixels) and shifts the drawing by their top-left corner. Playback
// maps the frame rectangle onto the target instead, so the root's size
// becomes a viewBox over the frame, converted to device pixels with the
// header's device size in pixels and millimetres.
QByteArray frameViewBox(const QByteArray& svg, const QByteArray& emf) {
  const double devW = s32(emf, 72), devH = s32(emf, 76), mmW = s32(emf, 80), mmH = s32(emf, 84);
  if (devW <= 0 || devH <= 0 || mmW <= 0 || mmH <= 0) return svg;
  const double sx = devW / (mmW * 100), sy = devH / (mmH * 100);
  const double left = s32(emf, 24) * sx - s32(emf, 8), top = s32(emf, 28) * sy - s32(emf, 12);
  const double width = (static_cast<double>(s32(emf, 32)) - s32(emf, 24)) * sx;
  const double height = (static_cast<double>(s32(emf, 36)) - s32(emf, 28)) * sy;
  if (!(width > 0) || !(height > 0)) return svg;
  QString s = QString::fromUtf8(svg);
  static const QRegularExpression root(QStringLiteral("<svg[^>]*?(\\swidth=\"[^\"]*\"\\s*height=\"[^\"]*\")"));
  const QRegularExpressionMatch m = root.match(s);
  if (!m.hasMatch()) return svg;
  s.replace(m.capturedStart(1), m.capturedLength(1),
            QStringLiteral(" viewBox=\"%1 %2 %3 %4\" preserveAspectRatio=\"none\"")
                .arg(left, 0, 'f', 4)
                .arg(top, 0, 'f', 4)
                .arg(width, 0, 'f', 4)
                .arg(height, 0, 'f', 4));
  return s.toUtf8();
}

// The platform stretches a bitmap by repeating its pixels; QtSvg would blend
// them unless told to draw images fast.
QByteArray pixelExactImages(const QByteArray& svg) {
  QByteArray out = svg;
  out.replace("<image ", "<image image-rendering=\"optimizeSpeed\" ");
  return out;
}

}  // namespace

struct EmfPicture::Data {
  QByteArray bytes;
  int frameWidth = 0;
  int frameHeight = 0;
  std::once_flag converted;
  QByteArray svg;
  std::unique_ptr<SvgLayers> color;
  std::unique_ptr<SvgLayers> mono;

  void convert() {
    std::call_once(converted, [this] {
      if (!recordsWellFormed(bytes)) return;
      generatorOptions options{};
      char ns[] = "";
      options.nameSpace = ns;
      options.verbose = false;
      options.emfplus = true;
      options.svgDelimiter = true;
      char* out = nullptr;
      size_t outLength = 0;
      // libemf2svg takes a non-const buffer.
      QByteArray input = withPlaybackDefaults(bytes);
      const int ok = emf2svg(input.data(), static_cast<size_t>(input.size()), &out, &outLength, &options);
      if (out) {
        if (ok) svg = QByteArray(out, static_cast<qsizetype>(outLength));
        std::free(out);
      }
      if (svg.isEmpty()) return;
      svg = pixelExactImages(frameViewBox(svg, bytes));
      auto layers = std::make_unique<SvgLayers>(svg);
      if (layers->isValid()) color = std::move(layers);
      auto monoLayers = std::make_unique<SvgLayers>(svg, monoSvg);
      if (monoLayers->isValid()) mono = std::move(monoLayers);
    });
  }
};

uint32_t EmfPicture::checkHeader(const char* header100) {
  if (qFromLittleEndian<quint32>(header100 + 40) != kSignature) throw EInvalidGraphic("Metafile is not valid");
  return qFromLittleEndian<quint32>(header100 + 48);
}

EmfPicture::EmfPicture(QByteArray bytes) {
  if (bytes.size() < kHeaderSize) throw EInvalidGraphic("Metafile is not valid");
  const uint32_t total = checkHeader(bytes.constData());
  if (total < static_cast<uint32_t>(kHeaderSize) || total > static_cast<uint64_t>(bytes.size()))
    throw EInvalidGraphic("Metafile is not valid");
  bytes.truncate(total);
  m_data = std::make_shared<Data>();
  m_data->frameWidth = static_cast<int>(
      std::clamp<long long>(static_cast<long long>(s32(bytes, 32)) - s32(bytes, 24), INT_MIN, INT_MAX));
  m_data->frameHeight = static_cast<int>(
      std::clamp<long long>(static_cast<long long>(s32(bytes, 36)) - s32(bytes, 28), INT_MIN, INT_MAX));
  m_data->bytes = std::move(bytes);
}

const QByteArray& EmfPicture::bytes() const {
  static const QByteArray empty;
  return m_data ? m_data->bytes : empty;
}

int EmfPicture::frameWidth() const { return m_data ? m_data->frameWidth : 0; }
int EmfPicture::frameHeight() const { return m_data ? m_data->frameHeight : 0; }
int EmfPicture::widthPx(int dpi) const { return mulDiv(frameWidth(), dpi, 2540); }
int EmfPicture::heightPx(int dpi) const { return mulDiv(frameHeight(), dpi, 2540); }

bool EmfPicture::isRenderable() const {
  if (!m_data) return false;
  m_data->convert();
  return m_data->color != nullptr;
}

namespace {

// QtSvg always antialiases, which leaves grey edges on a raster surface. For
// mono on a raster surface the picture is rendered at device resolution and
// every covered pixel is snapped to black or white; vector surfaces (printer,
// PDF) take the SVG as it is.
void renderThresholded(QPainter& painter, const SvgLayers& layers, const QRectF& target) {
  constexpr int kMaxSide = 8192;
  const QRectF device = painter.transform().mapRect(target);
  const QRect pixels = device.toAlignedRect();
  if (pixels.isEmpty() || pixels.width() > kMaxSide || pixels.height() > kMaxSide) return;
  QImage image(pixels.size(), QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  {
    QPainter p(&image);
    layers.render(p, device.translated(-pixels.topLeft()));
  }
  for (int y = 0; y < image.height(); ++y) {
    QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const QRgb c = line[x];
      if (qAlpha(c) < 128)
        line[x] = 0;
      else
        line[x] = qGray(c) < 128 ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
    }
  }
  painter.save();
  painter.resetTransform();
  painter.drawImage(pixels.topLeft(), image);
  painter.restore();
}

bool isVectorSurface(const QPainter& painter) {
  const QPaintEngine* engine = painter.paintEngine();
  if (!engine) return false;
  const QPaintEngine::Type type = engine->type();
  return type != QPaintEngine::Raster && type != QPaintEngine::OpenGL && type != QPaintEngine::OpenGL2 &&
         type != QPaintEngine::X11 && type != QPaintEngine::Windows;
}

}  // namespace

void EmfPicture::render(QPainter& painter, const QRectF& target, bool mono) const {
  if (!m_data || target.isEmpty()) return;
  m_data->convert();
  const SvgLayers* layers = mono ? m_data->mono.get() : m_data->color.get();
  if (!layers) return;
  if (mono && !isVectorSurface(painter))
    renderThresholded(painter, *layers, target);
  else
    layers->render(painter, target);
}

}  // namespace zorpokaz
