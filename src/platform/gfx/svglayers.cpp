#include "platform/gfx/svglayers.h"

#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>

namespace zorpokaz {

namespace {

// The moves, lines and closes libemf2svg writes for a clip region
// ("M 60.0000,40.0000 L 260.0000,40.0000 ... Z"); anything else gives an
// empty path, which clips nothing.
QPainterPath pathFromData(const QString& data) {
  static const QRegularExpression blanks(QStringLiteral("\\s+"));
  QPainterPath path;
  QChar command;
  for (const QString& token : data.split(blanks, Qt::SkipEmptyParts)) {
    if (token == QLatin1String("M") || token == QLatin1String("L")) {
      command = token.front();
      continue;
    }
    if (token == QLatin1String("Z")) {
      path.closeSubpath();
      continue;
    }
    const QStringList xy = token.split(QLatin1Char(','));
    bool okX = false, okY = false;
    const double x = xy.value(0).toDouble(&okX), y = xy.value(1).toDouble(&okY);
    if (xy.size() != 2 || !okX || !okY || command.isNull()) return {};
    if (command == QLatin1Char('M'))
      path.moveTo(x, y);
    else
      path.lineTo(x, y);
  }
  return path;
}

bool opensOrClosesAGroup(const QByteArray& line) {
  const QByteArray t = line.trimmed();
  return t.startsWith("<g") || t.startsWith("</g");
}

}  // namespace

SvgLayers::~SvgLayers() = default;

SvgLayers::SvgLayers(const QByteArray& svg, const std::function<QByteArray(const QByteArray&)>& recolor)
    : m_recolor(recolor) {
  static const QRegularExpression group(QStringLiteral("^<g transform=\"translate\\(([-\\d.]+), ([-\\d.]+)\\)\">$"));
  static const QRegularExpression clipDefinition(QStringLiteral("<clipPath id=\"([^\"]+)\"><path d=\"([^\"]*)\""));
  static const QRegularExpression clipUse(QStringLiteral("\\s*clip-path=\"url\\(#([^)]+)\\)\""));
  const QList<QByteArray> lines = svg.split('\n');
  qsizetype open = -1, close = -1;
  QRegularExpressionMatch translation;
  for (qsizetype i = 0; i < lines.size() && open < 0; ++i)
    if ((translation = group.match(QString::fromUtf8(lines[i].trimmed()))).hasMatch()) open = i;
  for (qsizetype i = lines.size() - 1; i > open && close < 0; --i)
    if (lines[i].trimmed() == "</g>") close = i;
  bool flat = open >= 0 && close > open;
  for (qsizetype i = open + 1; flat && i < close; ++i) flat = !opensOrClosesAGroup(lines[i]);
  if (!svg.contains("clip-path=\"url(#") || !flat) {
    addLayer(svg, {});
    return;
  }
  m_offset = QPointF(translation.captured(1).toDouble(), translation.captured(2).toDouble());
  QByteArray prefix, suffix, run;
  for (qsizetype i = 0; i <= open; ++i) prefix += lines[i] + '\n';
  for (qsizetype i = close; i < lines.size(); ++i) suffix += lines[i] + (i + 1 < lines.size() ? "\n" : "");
  QString runClip;
  for (qsizetype i = open + 1; i < close; ++i) {
    QString line = QString::fromUtf8(lines[i]);
    if (const auto definition = clipDefinition.match(line); definition.hasMatch()) {
      m_clips.emplace_back(definition.captured(1), pathFromData(definition.captured(2)));
      continue;
    }
    QString clip;
    if (const auto use = clipUse.match(line); use.hasMatch()) {
      clip = use.captured(1);
      line.remove(use.capturedStart(), use.capturedLength());
    }
    if (!run.isEmpty() && clip != runClip) {
      addLayer(prefix + run + suffix, runClip);
      run.clear();
    }
    run += line.toUtf8() + '\n';
    runClip = clip;
  }
  if (!run.isEmpty()) addLayer(prefix + run + suffix, runClip);
}

void SvgLayers::addLayer(const QByteArray& svg, const QString& clipId) {
  Layer layer;
  layer.renderer = std::make_unique<QSvgRenderer>(m_recolor ? m_recolor(svg) : svg);
  if (!layer.renderer->isValid()) return;
  if (m_layers.empty()) m_viewBox = layer.renderer->viewBoxF();
  for (const auto& [id, path] : m_clips)
    if (id == clipId && !path.isEmpty()) {
      layer.clipped = true;
      layer.clip = path;
    }
  m_layers.push_back(std::move(layer));
}

void SvgLayers::render(QPainter& painter, const QRectF& target) const {
  for (const Layer& layer : m_layers) {
    if (!layer.clipped || m_viewBox.isEmpty()) {
      layer.renderer->render(&painter, target);
      continue;
    }
    // The drawing's coordinates, through its group's translation and the
    // viewBox, onto the target.
    QTransform toTarget;
    toTarget.translate(target.x(), target.y());
    toTarget.scale(target.width() / m_viewBox.width(), target.height() / m_viewBox.height());
    toTarget.translate(m_offset.x() - m_viewBox.x(), m_offset.y() - m_viewBox.y());
    painter.save();
    painter.setClipPath(toTarget.map(layer.clip), Qt::IntersectClip);
    layer.renderer->render(&painter, target);
    painter.restore();
  }
}

}  // namespace zorpokaz
