// The cart's elements as designed, in twips from the top-left corner of the
// cart (or of the track that holds them), at 15 twips per pixel. The view
// converts them with common/twips.h at its own dpi; the control rules below
// work in these units so that they hold at any screen scale.
#pragma once

#include "common/twips.h"

namespace quillon::cart {

// Positions and sizes in twips, single precision as the controls keep them.
using Twips = float;

namespace geometry {

// The design's screen: 96 dpi, 15 twips per pixel.
constexpr int kDesignDpi = 96;
constexpr Twips kTwipsPerPixel = 15.0f;

struct Rect {
  Twips left;
  Twips top;
  Twips width;
  Twips height;
};

// An element placed and sized in design pixels.
constexpr Rect pixelRect(int left, int top, int width, int height) {
  return {left * kTwipsPerPixel, top * kTwipsPerPixel, width * kTwipsPerPixel,
          height * kTwipsPerPixel};
}

// The cart's picture, in design pixels, and the cart as the window places it,
// in twips: 172 x 113 pixels at 96 dpi, the picture with a margin for its
// shadow.
constexpr int kPictureWidth = 170;
constexpr int kPictureHeight = 110;
constexpr Twips kCartWidth = 2580;
constexpr Twips kCartHeight = 1695;

// The cart and its elements, from the cart's top-left corner.
constexpr Rect kCart = pixelRect(0, 0, kPictureWidth, kPictureHeight);
constexpr Rect kTitle = pixelRect(2, 48, 165, 33);           // Label1
constexpr Rect kLength = pixelRect(80, 4, 33, 17);           // Label7
constexpr Rect kRunningTime = pixelRect(128, 4, 33, 17);     // Label2
constexpr Rect kLetter = pixelRect(8, 85, 17, 25);           // Label3
constexpr Rect kTrace = pixelRect(8, 4, 65, 37);             // Picture6
constexpr Rect kPlayButton = pixelRect(24, 85, 18, 22);      // Image3
constexpr Rect kPauseButton = pixelRect(136, 28, 10, 12);    // Pausec
constexpr Rect kStopButton = pixelRect(148, 28, 10, 12);     // Stopc
constexpr Rect kFadeInSwitch = pixelRect(128, 85, 41, 12);   // Label6
constexpr Rect kLoopSwitch = pixelRect(109, 27, 25, 17);     // Label5
constexpr Rect kFadeOutSwitch = pixelRect(128, 96, 41, 12);  // Label4

// The volume track (Picture5) inside the cart, and the knob (Image14) inside
// the track.
constexpr Rect kVolumeTrack = {600, 1340, 1275, 255};
constexpr Twips kKnobWidth = 150;
constexpr Twips kKnobHeight = 240;
// Where the design puts the knob before any SetVolume.
constexpr Twips kKnobLeftAtCreation = 1120;
constexpr Twips kKnobTravel = kVolumeTrack.width - kKnobWidth;  // 1125

// The position track (Picture8) inside the cart, and the thumb (Picture9)
// inside the track. Both are borderless boxes.
constexpr Rect kPositionTrack = {1095, 270, 1320, 135};
constexpr Twips kThumbWidth = 70;
constexpr Twips kThumbHeight = 135;

// The thumb's inner width is its width as the screen shows it: 70 twips make
// 5 whole pixels at the design's dpi, so 75 twips.
inline Twips thumbInnerWidth() {
  return static_cast<Twips>(pixelsToTwips(twipsToPixels(kThumbWidth, kDesignDpi), kDesignDpi));
}
// How far the thumb's left edge travels: the track's inner width less the
// thumb's inner width.
inline Twips thumbTravel() { return kPositionTrack.width - thumbInnerWidth(); }

// The signal trace: 64 points, one pixel column each; y from 0 (top) to 32
// (bottom) spans the picture's height, 16 being the middle line.
constexpr int kTracePoints = 64;
constexpr int kTraceScaleHeight = 32;
constexpr int kTraceMiddle = 16;

}  // namespace geometry
}  // namespace quillon::cart
