// The cart's artwork, drawn in code: the three backgrounds, the marks laid
// over them, and the pictures and strips of its small controls. Each picture
// is drawn in the design's pixels and scaled to the screen, so it stays crisp
// at any dpi and device pixel ratio. UI thread.
#pragma once

#include <QColor>
#include <QLinearGradient>
#include <QPixmap>
#include <QSize>

class QPainter;
class QRectF;

namespace quillon::cart {

enum class Artwork {
  ImgStop,         // background, idle: 170 x 110
  ImgPlay,         // background, playing or paused: 170 x 110
  ImgDrag,         // background, a drag hovers over the cart: 170 x 110
  Wedge,           // the volume track's wedge: 133 x 16
  Knob,            // the volume knob: 10 x 16
  SuiteSlide,      // the thumb's strip: three 5 x 9 cells (normal, lit, dim)
  ControlPause,    // the pause button's strip: two 10 x 12 cells (normal, lit)
  ControlStop,     // the stop button's strip: two 10 x 12 cells (normal, lit)
  PlayButton,      // the play button: 18 x 22
  TraceScreen,     // the trace's backdrop: 67 x 37
  PositionGroove,  // the position track: 88 x 9
};

// The picture's size in design pixels (96 dpi).
QSize designSize(Artwork art);

// The picture at `scale` times its design size (the widget's logical dpi over
// 96), rendered for `devicePixelRatio`; shared by all carts.
QPixmap artwork(Artwork art, qreal scale, qreal devicePixelRatio);

// Painters of the pictures, in design pixels (cartbackgrounds.cpp and
// controlartwork.cpp).
void paintBackground(QPainter& p, Artwork background);
void paintControl(QPainter& p, Artwork art);

// Marks laid over the background by the view, in design pixels of the cart.
// The paused mark covers the title band; the missing mark frames it.
void paintPausedMark(QPainter& p);
// The pre-listen mark tints the title band and frames the picture.
void paintPreListenMark(QPainter& p);
void paintMissingMark(QPainter& p);
// The end warning's frame, lit: a band of the warning colour all round the
// cart, over the edge of its picture, leaving the picture's inside as it is.
void paintEndWarningFrame(QPainter& p);
// How far in from the cart's edge the frame reaches, in design pixels.
constexpr qreal kEndWarningFrameDepth = 5;
// The warning sign of a missing file, filling `box`.
void paintWarningSign(QPainter& p, const QRectF& box);

// A gradient from `from` at `top` to `to` at `bottom`.
QLinearGradient verticalGradient(qreal top, qreal bottom, const QColor& from, const QColor& to);

// Colours the view shares with the artwork.
namespace colours {
inline const QColor kPausedAmber{236, 150, 20};
inline const QColor kPreListenBlue{40, 120, 255};
inline const QColor kElapsedFill{45, 150, 148};
inline const QColor kEndWarning{255, 45, 25};
}  // namespace colours

}  // namespace quillon::cart
