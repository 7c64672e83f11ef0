#include "explorer/explorerartwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <array>
#include <functional>

#include "explorer/toolbarcommands.h"

namespace quillon::explorer {

namespace {

using Painting = std::function<void(QPainter&)>;

// Paints `paint` in a 16 x 16 unit square onto a `size` pixel picture.
QPixmap render(int size, qreal ratio, const Painting& paint) {
  QPixmap pixmap(qRound(size * ratio), qRound(size * ratio));
  pixmap.setDevicePixelRatio(ratio);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 16.0, size / 16.0);
  paint(p);
  return pixmap;
}

QPen pen(const QColor& colour, qreal width = 1.0) {
  return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void paintFolder(QPainter& p) {
  QPainterPath back;
  back.moveTo(1.5, 3.5);
  back.lineTo(6.0, 3.5);
  back.lineTo(7.5, 5.0);
  back.lineTo(14.5, 5.0);
  back.lineTo(14.5, 13.5);
  back.lineTo(1.5, 13.5);
  back.closeSubpath();
  p.setPen(pen(StudioColours::folder().darker(160), 0.8));
  p.setBrush(StudioColours::folder().darker(125));
  p.drawPath(back);
  QLinearGradient front(0, 6, 0, 13.5);
  front.setColorAt(0, StudioColours::folder().lighter(115));
  front.setColorAt(1, StudioColours::folder());
  p.setBrush(front);
  p.drawRoundedRect(QRectF(1.5, 6.5, 13.0, 7.0), 0.8, 0.8);
}

void paintArrowUp(QPainter& p, const QColor& colour) {
  p.setPen(pen(colour, 1.6));
  p.drawLine(QPointF(8, 12), QPointF(8, 7.5));
  p.drawLine(QPointF(5.8, 9.6), QPointF(8, 7.4));
  p.drawLine(QPointF(10.2, 9.6), QPointF(8, 7.4));
}

void paintPlus(QPainter& p, QPointF centre, const QColor& colour) {
  p.setPen(pen(colour, 1.6));
  p.drawLine(centre + QPointF(-2.2, 0), centre + QPointF(2.2, 0));
  p.drawLine(centre + QPointF(0, -2.2), centre + QPointF(0, 2.2));
}

void paintSheet(QPainter& p, const QRectF& r) {
  p.setPen(pen(StudioColours::dimText(), 0.9));
  p.setBrush(QColor(0xf2, 0xf4, 0xf7));
  p.drawRoundedRect(r, 0.8, 0.8);
}

// A small item square for the view pictures.
void paintItem(QPainter& p, const QRectF& r) {
  p.setPen(Qt::NoPen);
  p.setBrush(StudioColours::accent());
  p.drawRoundedRect(r, 0.5, 0.5);
}

void paintItemLine(QPainter& p, qreal x1, qreal x2, qreal y) {
  p.setPen(pen(StudioColours::text(), 1.0));
  p.drawLine(QPointF(x1, y), QPointF(x2, y));
}

void paintProperties(QPainter& p) {
  paintSheet(p, QRectF(2.5, 1.5, 9.5, 12.5));
  p.setPen(pen(QColor(0x5a, 0x62, 0x6c), 0.9));
  for (qreal y : {4.5, 6.5, 8.5}) p.drawLine(QPointF(4.5, y), QPointF(10, y));
  p.setPen(pen(StudioColours::panel(), 0.8));
  p.setBrush(StudioColours::accent());
  p.drawEllipse(QRectF(8.5, 8.5, 7, 7));
  p.setPen(pen(Qt::white, 1.3));
  p.drawLine(QPointF(12, 11.6), QPointF(12, 13.8));
  p.drawPoint(QPointF(12, 10.2));
}

void paintNewFolder(QPainter& p) {
  paintFolder(p);
  paintPlus(p, QPointF(12.3, 3.4), StudioColours::go());
}

void paintFolderUp(QPainter& p) {
  paintFolder(p);
  paintArrowUp(p, QColor(0x3a, 0x25, 0x05));
}

void paintList(QPainter& p) {
  for (qreal y : {3.0, 7.0, 11.0}) {
    paintItem(p, QRectF(1.5, y, 3, 3));
    paintItemLine(p, 6.0, 14.5, y + 1.5);
  }
}

void paintLargeIcons(QPainter& p) {
  for (qreal x : {1.5, 9.0}) {
    for (qreal y : {1.5, 9.0}) paintItem(p, QRectF(x, y, 5.5, 5.5));
  }
}

void paintSmallIcons(QPainter& p) {
  for (qreal x : {1.0, 8.5}) {
    for (qreal y : {2.5, 7.0, 11.5}) {
      paintItem(p, QRectF(x, y, 2.5, 2.5));
      paintItemLine(p, x + 3.8, x + 6.2, y + 1.25);
    }
  }
}

void paintDetails(QPainter& p) {
  p.setPen(Qt::NoPen);
  p.setBrush(StudioColours::dimText());
  p.drawRect(QRectF(1, 1.5, 14, 2.5));
  for (qreal y : {6.5, 9.5, 12.5}) {
    paintItem(p, QRectF(1.2, y - 1.0, 2, 2));
    paintItemLine(p, 4.5, 9.0, y);
    paintItemLine(p, 10.5, 14.5, y);
  }
}

void paintThumbnails(QPainter& p) {
  for (qreal x : {1.0, 8.5}) {
    for (qreal y : {1.0, 8.5}) {
      p.setPen(pen(StudioColours::text(), 0.9));
      p.setBrush(QColor(0x26, 0x3b, 0x55));
      p.drawRect(QRectF(x + 0.5, y + 0.5, 5.5, 5.5));
      p.setPen(pen(StudioColours::accent(), 0.9));
      p.drawLine(QPointF(x + 1.5, y + 4.5), QPointF(x + 2.7, y + 2.2));
      p.drawLine(QPointF(x + 2.7, y + 2.2), QPointF(x + 3.9, y + 4.6));
      p.drawLine(QPointF(x + 3.9, y + 4.6), QPointF(x + 5.0, y + 3.0));
    }
  }
}

void paintDelete(QPainter& p) {
  const QColor metal(0xc9, 0xcf, 0xd6);
  p.setPen(pen(metal.darker(160), 0.8));
  p.setBrush(metal);
  QPainterPath bin;
  bin.moveTo(3.5, 4.5);
  bin.lineTo(12.5, 4.5);
  bin.lineTo(11.5, 15);
  bin.lineTo(4.5, 15);
  bin.closeSubpath();
  p.drawPath(bin);
  p.drawRoundedRect(QRectF(2, 2.5, 12, 2), 0.6, 0.6);
  p.drawRect(QRectF(6.3, 1, 3.4, 1.5));
  p.setPen(pen(StudioColours::danger(), 1.2));
  for (qreal x : {6.2, 8.0, 9.8}) p.drawLine(QPointF(x, 6.5), QPointF(x, 13));
}

void paintAudioFile(QPainter& p) {
  QPainterPath page;
  page.moveTo(3, 1.5);
  page.lineTo(10, 1.5);
  page.lineTo(13, 4.5);
  page.lineTo(13, 14.5);
  page.lineTo(3, 14.5);
  page.closeSubpath();
  p.setPen(pen(QColor(0x8a, 0x93, 0x9e), 0.8));
  p.setBrush(QColor(0xe9, 0xee, 0xf4));
  p.drawPath(page);
  p.setBrush(QColor(0xc2, 0xcb, 0xd6));
  p.drawPolygon(QPolygonF({QPointF(10, 1.5), QPointF(10, 4.5), QPointF(13, 4.5)}));
  // A beamed pair of notes.
  p.setPen(Qt::NoPen);
  p.setBrush(StudioColours::accent().darker(115));
  p.drawEllipse(QRectF(4.6, 10.2, 2.6, 2.1));
  p.drawEllipse(QRectF(8.4, 9.2, 2.6, 2.1));
  p.setPen(pen(StudioColours::accent().darker(115), 0.9));
  p.drawLine(QPointF(7.0, 11.1), QPointF(7.0, 6.4));
  p.drawLine(QPointF(10.8, 10.1), QPointF(10.8, 5.4));
  p.setPen(pen(StudioColours::accent().darker(115), 1.5));
  p.drawLine(QPointF(7.0, 6.4), QPointF(10.8, 5.4));
}

// The 64 pixel thumbnail of an audio file: a dark tile with a waveform and
// the file's type, so that a wall of thumbnails still reads at a glance.
void paintAudioThumbnail(QPainter& p, const QString& extension) {
  QLinearGradient tile(0, 0, 0, 16);
  tile.setColorAt(0, QColor(0x2a, 0x30, 0x38));
  tile.setColorAt(1, QColor(0x1a, 0x1d, 0x22));
  p.setPen(pen(StudioColours::line(), 0.25));
  p.setBrush(tile);
  p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 1.6, 1.6);
  // A fixed, hand-picked envelope: a thumbnail, not a measurement.
  static constexpr std::array<qreal, 23> kLevels{0.2, 0.5, 0.8, 0.6, 0.9, 1.0, 0.7, 0.5,
                                                 0.8, 0.6, 0.4, 0.7, 0.9, 0.6, 0.5, 0.3,
                                                 0.6, 0.4, 0.3, 0.5, 0.3, 0.2, 0.1};
  p.setPen(pen(StudioColours::accent(), 0.32));
  for (std::size_t i = 0; i < kLevels.size(); ++i) {
    const qreal x = 2.0 + static_cast<qreal>(i) * 0.54;
    p.drawLine(QPointF(x, 6.5 - kLevels[i] * 3.2), QPointF(x, 6.5 + kLevels[i] * 3.2));
  }
  QFont badge("DejaVu Sans");
  badge.setPixelSize(3);
  badge.setBold(true);
  p.setFont(badge);
  const QRectF label(3.5, 11.2, 9, 3.2);
  p.setPen(Qt::NoPen);
  p.setBrush(StudioColours::accent().darker(140));
  p.drawRoundedRect(label, 0.8, 0.8);
  p.setPen(Qt::white);
  p.drawText(label, Qt::AlignCenter, extension.left(4).toUpper());
}

// One picture at the sizes the views ask for, plain and for high-dpi screens.
QIcon iconOf(const Painting& paint, std::initializer_list<int> sizes) {
  QIcon icon;
  for (int size : sizes) {
    for (qreal ratio : {1.0, 2.0}) icon.addPixmap(render(size, ratio, paint));
  }
  return icon;
}

}  // namespace

QPixmap drawToolbarPicture(int picture, qreal devicePixelRatio) {
  static const std::array<Painting, kPictureCount> kPaintings{
      paintProperties, paintNewFolder, paintFolderUp,   paintList,  paintLargeIcons,
      paintSmallIcons, paintDetails,   paintThumbnails, paintDelete};
  if (picture < 1 || picture > kPictureCount) return {};
  return render(16, devicePixelRatio, kPaintings[static_cast<std::size_t>(picture - 1)]);
}

QIcon drawFolderIcon() { return iconOf(paintFolder, {16, 32, 64}); }

QIcon drawParentFolderIcon() { return iconOf(paintFolderUp, {16, 32, 64}); }

QIcon drawAudioFileIcon() { return iconOf(paintAudioFile, {16, 32}); }

QIcon drawAudioThumbnail(const QString& extension) {
  const QString label = extension.toUpper();
  return iconOf([&label](QPainter& p) { paintAudioThumbnail(p, label); }, {64});
}

}  // namespace quillon::explorer
