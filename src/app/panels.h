// The main window's plain panels: the title bars with their shadowed
// captions, the splitter bar, the cart viewport and the explorer's place.
// UI thread.
#pragma once

#include <QColor>
#include <QPixmap>
#include <QWidget>
#include <functional>

class QScrollBar;

namespace quillon::app {

// BarExplorer and Picture3: a background picture as wide as the bar and a
// white caption over a dark grey copy of itself 15 twips up and left.
class TitleBar : public QWidget {
 public:
  TitleBar(const QString& caption, float captionLeftTwips, float captionTopTwips, QWidget* parent);

  QString caption() const { return m_caption; }
  // The background picture's width (Image20, Image3), as the layout set it.
  void setImageWidth(int pixels);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QString m_caption;
  float m_captionLeft;
  float m_captionTop;
  int m_imageWidth = 0;
  QPixmap m_image;
};

// Picture4, between the left column and the cart area. Hands its button
// presses, moves and releases on with the pointer's x relative to its left
// edge, in pixels; Qt keeps sending them to the bar while a button is held,
// also when the pointer leaves it.
class SplitterBar : public QWidget {
 public:
  struct Handlers {
    std::function<void()> pressed;
    std::function<void(double x)> moved;
    std::function<void()> released;
  };

  explicit SplitterBar(QWidget* parent);
  void setHandlers(Handlers handlers) { m_handlers = std::move(handlers); }
  void setColour(const QColor& colour);
  QColor colour() const { return m_colour; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  Handlers m_handlers;
  QColor m_colour = Qt::white;  // as designed, until the first drag
};

// Picture1: shows part of the canvas; the wheel over it moves VScroll1.
class CartViewport : public QWidget {
 public:
  explicit CartViewport(QWidget* parent);
  void setScrollBar(QScrollBar* bar) { m_scrollBar = bar; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  QScrollBar* m_scrollBar = nullptr;
};

// A dark recessed panel: the explorer's place until the explorer fills it.
class InsetPanel : public QWidget {
 public:
  explicit InsetPanel(QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace quillon::app
