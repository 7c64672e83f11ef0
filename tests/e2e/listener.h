// What reached the audio server, as an operator's ears would judge it: a
// JACK client of the test's own records the program's output ports, and the
// checks look for a tone's frequency and level (a Goertzel filter over a
// Hann window), or for silence, in what was recorded. Every wait is bounded
// by the recording's own clock and a generous wall-clock limit. Test support.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "audio/portaudio/jackrecorder.h"

namespace quillon::test {

double peak(const std::vector<float>& x);

class Listener {
 public:
  // Frames per analysis window: 100 ms at 48 kHz.
  static constexpr long kWindow = 4800;

  // Records `seconds` at most from the server named `server`.
  Listener(const std::string& server, int seconds, std::string& error)
      : m_recorder(std::make_unique<JackRecorder>(server, seconds, error)) {}
  bool ok() const { return m_recorder && m_recorder->ok(); }
  int rate() const { return m_recorder->sampleRate(); }
  long position() const { return m_recorder->position(); }

  // Connects to the output ports of the JACK client `source`, waiting up
  // to `boundMs` for them to appear.
  bool connect(const std::string& source, int boundMs, std::string& error);
  // Connects to whatever feeds the server's playback ports `left` and
  // `right`, waiting up to `boundMs` for something to.
  bool connectToPair(const std::string& left, const std::string& right, int boundMs,
                     std::string& error);

  // Left channel, frames [from, to).
  std::vector<float> frames(long from, long to) const { return m_recorder->channel(0, from, to); }
  // The tone's amplitude (peak, full scale 1.0) in the window that ends at `end`.
  double amplitudeAt(double hz, long end) const;

  // Waits until the latest window holds `hz` at `minAmplitude` or more;
  // the position of that window's end, or -1 when `boundMs` passed first.
  long waitForTone(double hz, double minAmplitude, int boundMs = 15000) const {
    return waitForWindow([=, this](long end) { return amplitudeAt(hz, end) >= minAmplitude; },
                         boundMs);
  }
  // The same until the tone is below `maxAmplitude`.
  long waitForToneBelow(double hz, double maxAmplitude, int boundMs = 15000) const {
    return waitForWindow([=, this](long end) { return amplitudeAt(hz, end) < maxAmplitude; },
                         boundMs);
  }
  // The same until a whole window's peak is below `limit`.
  long waitForSilence(double limit = 1e-3, int boundMs = 15000) const {
    return waitForWindow([=, this](long end) { return peak(frames(end - kWindow, end)) < limit; },
                         boundMs);
  }
  // Waits until `frames` more have been recorded; false past `boundMs`.
  bool waitFor(long frames, int boundMs = 30000) const;
  // Whether the tone of `hz` kept sounding at about `amplitude` through
  // [from, to) in 100 ms windows. A cart that stopped, or stopped and
  // started again, leaves quiet windows apart from each other or at the
  // end; one short gap (at most two windows in a row, which is what a cycle
  // the program or the server ran late on a very busy machine leaves) is
  // allowed. Windows where the server reported a late cycle are skipped.
  // False with `why`.
  bool keptSounding(double hz, double amplitude, long from, long to, std::string& why) const;
  // The left channel as raw 32-bit floats at rate(), for a look after a
  // failure (e.g. `ffmpeg -f f32le -ar 48000 -ac 1 -i FILE out.wav`).
  bool saveRaw(const std::string& path) const;
  // The server died: its client must never be closed.
  void abandon() { m_recorder->abandon(); }

 private:
  long waitForWindow(const std::function<bool(long end)>& holds, int boundMs) const;
  // Whether a glitch of the server (a late cycle) falls in [from, to + margin).
  bool glitchNear(long from, long to) const;

  std::unique_ptr<JackRecorder> m_recorder;
};

}  // namespace quillon::test
