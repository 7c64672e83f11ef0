#include "cart/cartlook.h"

namespace quillon::cart {

std::optional<std::uint32_t> bgrOf(TextColour colour) {
  switch (colour) {
    case TextColour::Black:
      return 0x000000;
    case TextColour::White:
      return 0xFFFFFF;
    case TextColour::Red:
      return 0x0000FF;
    case TextColour::ButtonText:
      break;
  }
  return std::nullopt;
}

LookParts differences(const CartLook& before, const CartLook& after) {
  LookParts parts = 0;
  const auto mark = [&parts](bool differs, LookPart part) {
    if (differs) parts |= part;
  };
  mark(before.background != after.background || before.paused != after.paused ||
           before.preListen != after.preListen,
       kBackgroundPart);
  mark(before.title != after.title || before.titleTooltip != after.titleTooltip ||
           before.loudness != after.loudness || before.fileMissing != after.fileMissing ||
           before.missingReason != after.missingReason || before.startFailure != after.startFailure,
       kTitlePart);
  mark(before.letter != after.letter, kLetterPart);
  mark(before.length != after.length, kLengthPart);
  mark(before.runningTime != after.runningTime, kRunningTimePart);
  mark(before.trace != after.trace, kTracePart);
  mark(before.knobLeft != after.knobLeft || before.knobTooltip != after.knobTooltip, kKnobPart);
  mark(before.thumbLeft != after.thumbLeft || before.thumbLit != after.thumbLit, kThumbPart);
  mark(before.pauseLit != after.pauseLit || before.stopLit != after.stopLit, kButtonsPart);
  mark(before.loopOn != after.loopOn || before.fadeInOn != after.fadeInOn ||
           before.fadeOutOn != after.fadeOutOn,
       kSwitchesPart);
  mark(before.endWarning != after.endWarning, kEndWarningPart);
  return parts;
}

}  // namespace quillon::cart
