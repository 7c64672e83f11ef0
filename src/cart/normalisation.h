// The loudness normalisation of a cart's gain: each file brought to the same
// target loudness, unless that would take its true peak over the ceiling, in
// which case the gain stops where the peak meets the ceiling. The cart's own
// volume and fades apply on top. Plain values, no state.
#pragma once

#include <optional>
#include <string>

#include "audio/loudness.h"

namespace quillon::cart {

struct NormalisationRule {
  double targetLufs = -23.0;  // EBU R128's broadcast level
  double ceilingDbtp = -1.0;  // true peak never above it
};

// The normalisation gain in dB for a file so measured.
double normalisationDb(const audio::LoudnessMeasurement& measured, const NormalisationRule& rule);
// The same as a factor of amplitude.
double normalisationFactor(const audio::LoudnessMeasurement& measured,
                           const NormalisationRule& rule);

// The line the cart's path tooltip gains: "−18.4 LUFS, −4.6 dB" (or
// "−30.0 LUFS, +7.0 dB") once
// measured, why not when the file could not be, and a note while it is being
// measured. Empty for an empty cart.
std::string loudnessLine(bool pending, const std::optional<audio::LoudnessResult>& result,
                         const NormalisationRule& rule);

}  // namespace quillon::cart
