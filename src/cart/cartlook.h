// What a cart's view shows, as plain values: the view reads a CartLook and
// draws it, and repaints only the parts a change names. UI thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cart/cartgeometry.h"

namespace quillon::cart {

// The three background pictures of the cart.
enum class Background {
  Stop,  // imgStop: idle
  Play,  // imgPlay: playing or paused
  Drag,  // imgDrag: a drag hovers over the cart
};

enum class TextColour { Black, White, Red, ButtonText };

// The colour as &H blue-green-red (&HFF is red); nothing for the system's
// button-text colour, which only the view knows.
std::optional<std::uint32_t> bgrOf(TextColour colour);

// Colour of the length and running-time texts.
constexpr std::uint32_t kTimeTextBgr = 0x848535;

// The switch labels' fixed texts.
constexpr const char* kFadeInCaption = "Fade in";
constexpr const char* kLoopCaption = "Loop";
constexpr const char* kFadeOutCaption = "Fade out";
constexpr const char* kFadeTooltip = "3 seconds";

// The parts of the look that a change can touch, as bits.
enum LookPart : unsigned {
  kBackgroundPart = 1u << 0,  // background picture, title colour, the paused and pre-listen marks
  kTitlePart =
      1u << 1,  // title caption, its tooltip (with the loudness), the missing-file mark and reason
  kLetterPart = 1u << 2,       // Label3
  kLengthPart = 1u << 3,       // Label7
  kRunningTimePart = 1u << 4,  // Label2: repaint at once, not at the next idle paint
  kTracePart = 1u << 5,        // Picture6
  kKnobPart = 1u << 6,         // the volume knob's place and tooltip
  kThumbPart = 1u << 7,        // the position thumb's place and cell
  kButtonsPart = 1u << 8,      // the pause and stop buttons' cells
  kSwitchesPart = 1u << 9,     // the loop and fade labels' colours
  kEndWarningPart = 1u << 10,  // the end warning's frame, lit or dark
};
using LookParts = unsigned;

struct CartLook {
  Background background = Background::Stop;
  std::string title;          // Label1's caption
  std::string titleTooltip;   // the bound path
  std::string loudness;       // the loudness line under it; empty: none
  bool fileMissing = false;   // the bound file could not be analysed or opened
  std::string missingReason;  // why, while fileMissing
  // Why the last fire could not start on the output device (failed or
  // absent); empty once a start succeeds, the device is changed or the cart
  // is emptied. The title shows it in red, the reason in its tooltip.
  std::string startFailure;
  std::string letter = "A";  // Label3, before the first SetMyLetter
  std::string length = "00:00";
  std::string runningTime = "00:00";
  std::vector<int> trace;  // y of the points at x = 0, 1, ...; empty: cleared
  Twips knobLeft = geometry::kKnobLeftAtCreation;
  std::string knobTooltip = "Volume= 100";
  Twips thumbLeft = 0;
  bool thumbLit = false;  // SuiteSlide's highlighted cell
  bool pauseLit = false;  // ControlPause's highlighted cell
  bool stopLit = false;   // ControlStop's highlighted cell
  // Paused carts keep the playing background; the view marks them over it so
  // that a paused cart reads differently from a playing one at a glance.
  bool paused = false;
  // Playing or paused on the cue device, not on air: the view marks it over
  // the playing background, in a colour of its own.
  bool preListen = false;
  bool loopOn = false;
  bool fadeInOn = false;
  bool fadeOutOn = false;
  // The end warning's frame is lit (it blinks: lit and dark in turn).
  bool endWarning = false;

  TextColour titleColour() const {
    if (!startFailure.empty() && background != Background::Play) return TextColour::Red;
    return background == Background::Play ? TextColour::White : TextColour::Black;
  }
  TextColour loopColour() const { return loopOn ? TextColour::Red : TextColour::White; }
  TextColour fadeInColour() const { return fadeInOn ? TextColour::Red : TextColour::ButtonText; }
  TextColour fadeOutColour() const { return fadeOutOn ? TextColour::Red : TextColour::ButtonText; }
};

// The parts in which two looks differ.
LookParts differences(const CartLook& before, const CartLook& after);

// What a cart tells the outside: its host (the two events) and its view (the
// look changed). Every call comes on the UI thread, from inside the cart's
// operations and handlers.
class CartListener {
 public:
  virtual ~CartListener() = default;

  // A drag is over this cart.
  virtual void Survole() {}
  // Something was dropped on this cart; raised before the drop is looked at.
  virtual void AffectFile() {}
  // The look changed in `parts` since the last call.
  virtual void lookChanged(LookParts parts) { (void)parts; }
};

}  // namespace quillon::cart
