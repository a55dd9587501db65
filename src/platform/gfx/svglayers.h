// A picture's SVG (as libemf2svg writes it) drawn by QtSvg with its clipping.
// QtSvg draws SVG Tiny, which has no clipping, while libemf2svg gives every
// element drawn under a clip region a clip path. The elements are therefore
// cut into runs that share one clip; each run has its own renderer and is
// drawn with its clip set on the painter. An SVG without clip paths, or one
// whose structure is not the flat one libemf2svg writes, stays one run that
// is drawn as it is. Coordinates: the SVG's viewBox, stretched onto a target.
#pragma once

#include <QByteArray>
#include <QPainterPath>
#include <QRectF>

#include <functional>
#include <memory>
#include <vector>

class QPainter;
class QSvgRenderer;

namespace zorpokaz {

class SvgLayers {
 public:
  // recolor, when given, is applied to every run's SVG (the mono drawing).
  explicit SvgLayers(const QByteArray& svg, const std::function<QByteArray(const QByteArray&)>& recolor = {});
  ~SvgLayers();
  SvgLayers(const SvgLayers&) = delete;
  SvgLayers& operator=(const SvgLayers&) = delete;

  bool isValid() const { return !m_layers.empty(); }
  size_t layerCount() const { return m_layers.size(); }
  // Draws the viewBox stretched into target.
  void render(QPainter& painter, const QRectF& target) const;

 private:
  struct Layer {
    std::unique_ptr<QSvgRenderer> renderer;
    bool clipped = false;
    QPainterPath clip;  // in the drawing's own coordinates
  };
  void addLayer(const QByteArray& svg, const QString& clipId);

  std::function<QByteArray(const QByteArray&)> m_recolor;
  std::vector<Layer> m_layers;
  QRectF m_viewBox;
  QPointF m_offset;  // the drawing group's translation
  std::vector<std::pair<QString, QPainterPath>> m_clips;
};

}  // namespace zorpokaz
