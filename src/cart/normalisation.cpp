#include "cart/normalisation.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace quillon::cart {

namespace {

// One decimal, with a true minus sign (and a plus sign for a gain that
// raises the file); never "−0.0".
std::string oneDecimal(double value, bool showPlus = false) {
  const double rounded = std::round(value * 10.0) / 10.0;
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.1f", std::abs(rounded));
  const char* sign = rounded < 0.0 ? "\u2212" : (showPlus && rounded > 0.0 ? "+" : "");
  return sign + std::string(buffer);
}

}  // namespace

double normalisationDb(const audio::LoudnessMeasurement& measured, const NormalisationRule& rule) {
  return std::min(rule.targetLufs - measured.integratedLufs,
                  rule.ceilingDbtp - measured.truePeakDbtp);
}

double normalisationFactor(const audio::LoudnessMeasurement& measured,
                           const NormalisationRule& rule) {
  return std::pow(10.0, normalisationDb(measured, rule) / 20.0);
}

std::string loudnessLine(bool pending, const std::optional<audio::LoudnessResult>& result,
                         const NormalisationRule& rule) {
  if (pending) return "Loudness being measured";
  if (!result) return {};
  if (!result->measurement) return "Loudness not measured: " + result->error;
  return oneDecimal(result->measurement->integratedLufs) + " LUFS, " +
         oneDecimal(normalisationDb(*result->measurement, rule), true) + " dB";
}

}  // namespace quillon::cart
