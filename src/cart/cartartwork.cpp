#include "cart/cartartwork.h"

#include <QPainter>
#include <QPixmapCache>
#include <QString>
#include <cmath>

namespace quillon::cart {

QSize designSize(Artwork art) {
  switch (art) {
    case Artwork::ImgStop:
    case Artwork::ImgPlay:
    case Artwork::ImgDrag:
      return {170, 110};
    case Artwork::Wedge:
      return {133, 16};
    case Artwork::Knob:
      return {10, 16};
    case Artwork::SuiteSlide:
      return {15, 9};
    case Artwork::ControlPause:
    case Artwork::ControlStop:
      return {20, 12};
    case Artwork::PlayButton:
      return {18, 22};
    case Artwork::TraceScreen:
      return {67, 37};
    case Artwork::PositionGroove:
      return {88, 9};
  }
  return {};
}

QLinearGradient verticalGradient(qreal top, qreal bottom, const QColor& from, const QColor& to) {
  QLinearGradient g(0, top, 0, bottom);
  g.setColorAt(0, from);
  g.setColorAt(1, to);
  return g;
}

QPixmap artwork(Artwork art, qreal scale, qreal devicePixelRatio) {
  // 26 carts share one copy of each picture per screen scale.
  const QString key = QStringLiteral("quillon-cart-%1-%2-%3")
                          .arg(static_cast<int>(art))
                          .arg(scale, 0, 'f', 3)
                          .arg(devicePixelRatio, 0, 'f', 3);
  QPixmap pixmap;
  if (QPixmapCache::find(key, &pixmap)) return pixmap;

  const QSize design = designSize(art);
  const qreal factor = scale * devicePixelRatio;
  pixmap = QPixmap(static_cast<int>(std::ceil(design.width() * factor)),
                   static_cast<int>(std::ceil(design.height() * factor)));
  pixmap.setDevicePixelRatio(devicePixelRatio);
  pixmap.fill(Qt::transparent);
  {
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    switch (art) {
      case Artwork::ImgStop:
      case Artwork::ImgPlay:
      case Artwork::ImgDrag:
        paintBackground(p, art);
        break;
      default:
        paintControl(p, art);
        break;
    }
  }
  QPixmapCache::insert(key, pixmap);
  return pixmap;
}

}  // namespace quillon::cart
