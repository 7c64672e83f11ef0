// The cart's picture elements: the play, pause and stop buttons, the volume
// track and knob, the position track and thumb, and the signal trace. Each
// shows one picture (or one cell of a strip) of the cart's artwork and
// reports the pointer in its own pixels; the cart widget turns that into the
// cart's operations. UI thread.
#pragma once

#include <QPointF>
#include <QWidget>
#include <vector>

#include "cart/cartartwork.h"

namespace quillon::cart {

class CartPicture : public QWidget {
  Q_OBJECT

 public:
  // `cells`: how many cells the picture holds side by side (a strip), of
  // which one shows at a time.
  CartPicture(const QString& objectName, Artwork art, int cells, QWidget* parent);

  int cell() const { return m_cell; }
  void setCell(int cell);
  // A pointing hand over it.
  void setPointingHand();
  // Movements are reported also while no button is held (hover looks).
  void setHoverTracking(bool on) { setMouseTracking(on); }

  // Holds the pointer from a press to the release: movements and the
  // release come here wherever the pointer goes. With `confinement`, they
  // are reported as if the pointer could not leave that widget's area.
  void holdPointer(QWidget* confinement = nullptr);
  void letGoPointer();
  // The modifier keys held at the last click's release.
  Qt::KeyboardModifiers clickModifiers() const { return m_clickModifiers; }

 signals:
  void pressed(QPointF position);
  // Every movement over it, and every movement while it holds the pointer;
  // also the pointer's entry.
  void moved(QPointF position);
  void released(QPointF position);
  // The left button pressed and released over it.
  void clicked();
  void left();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  QPointF confined(QPointF position) const;

  Artwork m_art;
  int m_cells;
  int m_cell = 0;
  bool m_pressed = false;
  bool m_holding = false;
  Qt::KeyboardModifiers m_clickModifiers;
  QWidget* m_confinement = nullptr;
};

// The position track: the groove, lit from its start to the thumb's middle
// while a file plays.
class PositionTrack : public CartPicture {
  Q_OBJECT

 public:
  PositionTrack(const QString& objectName, QWidget* parent);
  void setElapsedWidth(int pixels);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int m_elapsed = 0;
};

// The signal trace: the last samples as a white line over a dark screen;
// y from 0 (top) to 32 (bottom) spans the picture's height.
class CartTrace : public QWidget {
  Q_OBJECT

 public:
  CartTrace(const QString& objectName, QWidget* parent);
  void setPoints(const std::vector<int>& points);
  const std::vector<int>& points() const { return m_points; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::vector<int> m_points;
};

}  // namespace quillon::cart
