#include "app/artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <functional>

#include "app/studiolook.h"

namespace quillon::app::artwork {

namespace {

constexpr int kToolbarIconSize = 20;
const QColor kIconInk{215, 218, 224};
const QColor kQuitInk{255, 107, 94};

// Draws on a 20-unit square at any pixel size, so one drawing serves the
// normal and the high-dpi pixmap.
QPixmap drawIcon(int pixels, const std::function<void(QPainter&)>& draw) {
  QPixmap pixmap(pixels, pixels);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(pixels / double(kToolbarIconSize), pixels / double(kToolbarIconSize));
  draw(p);
  return pixmap;
}

QPen ink(const QColor& colour, double width = 1.8) {
  return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void drawQuit(QPainter& p) {
  p.setPen(ink(kQuitInk, 2.0));
  p.drawArc(QRectF(3.5, 4, 13, 13), 120 * 16, 300 * 16);
  p.drawLine(QPointF(10, 2.5), QPointF(10, 9.5));
}

void drawNew(QPainter& p) {
  p.setPen(ink(kIconInk));
  p.drawPolygon(QPolygonF({{4.5, 2.5}, {11.5, 2.5}, {15.5, 6.5}, {15.5, 17.5}, {4.5, 17.5}}));
  p.drawPolyline(QPolygonF({{11.5, 2.5}, {11.5, 6.5}, {15.5, 6.5}}));
  p.setPen(ink(look::kAccent));
  p.drawLine(QPointF(10, 9.5), QPointF(10, 15));
  p.drawLine(QPointF(7.25, 12.25), QPointF(12.75, 12.25));
}

void drawOpen(QPainter& p) {
  p.setPen(ink(kIconInk));
  p.drawPolyline(
      QPolygonF({{2.5, 16.5}, {2.5, 4.5}, {7.5, 4.5}, {9.5, 6.5}, {15.5, 6.5}, {15.5, 8.5}}));
  p.setBrush(QColor(245, 166, 35, 70));
  p.drawPolygon(QPolygonF({{2.5, 16.5}, {5.5, 9}, {18, 9}, {15, 16.5}}));
}

void drawSave(QPainter& p) {
  p.setPen(ink(kIconInk));
  p.drawPolygon(QPolygonF({{3.5, 3.5}, {13.5, 3.5}, {16.5, 6.5}, {16.5, 16.5}, {3.5, 16.5}}));
  p.drawRect(QRectF(6.5, 3.5, 6, 4));
  p.setBrush(QColor(245, 166, 35, 90));
  p.drawRoundedRect(QRectF(6, 11, 8, 5.5), 1, 1);
}

void drawAbout(QPainter& p) {
  p.setPen(ink(kIconInk));
  p.drawEllipse(QRectF(2.5, 2.5, 15, 15));
  p.setPen(Qt::NoPen);
  p.setBrush(kIconInk);
  p.drawEllipse(QRectF(8.9, 5.2, 2.2, 2.2));
  p.drawRoundedRect(QRectF(9, 8.6, 2, 6.6), 0.8, 0.8);
}

}  // namespace

QIcon toolbarIcon(ToolbarCommand command) {
  std::function<void(QPainter&)> draw;
  switch (command) {
    case ToolbarCommand::Quit:
      draw = drawQuit;
      break;
    case ToolbarCommand::New:
      draw = drawNew;
      break;
    case ToolbarCommand::Open:
      draw = drawOpen;
      break;
    case ToolbarCommand::Save:
      draw = drawSave;
      break;
    case ToolbarCommand::About:
      draw = drawAbout;
      break;
    case ToolbarCommand::None:
      return {};
  }
  QIcon icon;
  for (int pixels : {kToolbarIconSize, 2 * kToolbarIconSize})
    icon.addPixmap(drawIcon(pixels, draw));
  return icon;
}

QPixmap titleBarBackground(int height) {
  constexpr int kWidth = 64;
  QImage image(kWidth, std::max(1, height), QImage::Format_RGB32);
  QPainter p(&image);
  QLinearGradient band(0, 0, 0, image.height());
  band.setColorAt(0.0, QColor(86, 94, 106));
  band.setColorAt(0.5, QColor(66, 72, 82));
  band.setColorAt(1.0, QColor(50, 55, 63));
  p.fillRect(image.rect(), band);
  // Brushed steel: each row a shade lighter or darker, streaks once stretched.
  for (int y = 1; y < image.height() - 1; ++y) {
    const int shade = ((y * 37) % 7) - 3;
    p.setPen(shade > 0 ? QColor(255, 255, 255, 3 * shade) : QColor(0, 0, 0, -4 * shade));
    p.drawLine(0, y, kWidth, y);
  }
  p.setPen(QColor(120, 128, 140));
  p.drawLine(0, 0, kWidth, 0);
  p.setPen(look::kEdgeDark);
  p.drawLine(0, image.height() - 1, kWidth, image.height() - 1);
  return QPixmap::fromImage(image);
}

QImage programIcon(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 64.0, size / 64.0);

  QLinearGradient body(0, 0, 0, 64);
  body.setColorAt(0, QColor(52, 57, 66));
  body.setColorAt(1, QColor(20, 22, 26));
  p.setPen(QPen(QColor(12, 13, 15), 1.5));
  p.setBrush(body);
  p.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);

  // A 2 x 2 grid of carts, one of them on air.
  const QRectF tiles[] = {{10, 12, 20, 18}, {34, 12, 20, 18}, {10, 34, 20, 18}, {34, 34, 20, 18}};
  for (int i = 0; i < 4; ++i) {
    const bool onAir = i == 1;
    p.setPen(Qt::NoPen);
    p.setBrush(onAir ? look::kAccent : QColor(72, 78, 89));
    p.drawRoundedRect(tiles[i], 3.5, 3.5);
    if (onAir) {
      const QPointF c = tiles[i].center();
      p.setBrush(QColor(28, 30, 34));
      p.drawPolygon(QPolygonF({c + QPointF(-4, -5.5), c + QPointF(6, 0), c + QPointF(-4, 5.5)}));
    } else {
      p.setBrush(QColor(110, 117, 128));
      p.drawRoundedRect(QRectF(tiles[i].left() + 4, tiles[i].top() + 4, 7, 4), 1, 1);
    }
  }
  return image;
}

QIcon programWindowIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128, 256})
    icon.addPixmap(QPixmap::fromImage(programIcon(size)));
  return icon;
}

}  // namespace quillon::app::artwork
