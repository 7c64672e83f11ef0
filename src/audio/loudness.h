// Loudness of a whole file as it is heard, for the optional normalisation of
// the carts: its integrated loudness (LUFS) and true peak (dBTP), measured on
// another thread. A cart's meter. UI thread.
#pragma once

#include <optional>
#include <string>

namespace quillon::audio {

struct LoudnessMeasurement {
  double integratedLufs = 0.0;
  double truePeakDbtp = 0.0;
};

// A finished measurement: the values, or why there are none.
struct LoudnessResult {
  std::optional<LoudnessMeasurement> measurement;
  std::string error;
};

// What a meter tells its owner, on the UI thread from the event loop.
class LoudnessEvents {
 public:
  virtual ~LoudnessEvents() = default;
  // The measurement asked for last has its result.
  virtual void LoudnessAnswered() = 0;
};

class LoudnessMeter {
 public:
  virtual ~LoudnessMeter() = default;

  // Where the events go; null silences them.
  virtual void setEventHandler(LoudnessEvents* handler) = 0;
  // Starts measuring the file at `path` (from the cache when it is known),
  // forgetting any earlier one; an empty path only forgets. Returns at once.
  virtual void measure(const std::string& path) = 0;
  // The result of the last measurement asked for; nothing while it runs or
  // when none was asked for.
  virtual const std::optional<LoudnessResult>& result() const = 0;
  // A measurement is under way.
  virtual bool pending() const = 0;
};

}  // namespace quillon::audio
