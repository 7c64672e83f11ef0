// Loops, fades and a surround file in the real program, tried as an operator
// would: a palette picked from the favourites, carts fired by their letters,
// and what reached the audio server measured. A sting whose two halves are
// two tones loops with its halves exactly one file length apart; a faded
// jingle rises and falls through the thirds of its level; a 5.1 jingle comes
// out at the level of its channels' standard stereo mix.
#include <cmath>
#include <vector>

#include "e2e/onair.h"

namespace quillon::test {
namespace {

// 1.4 s: 0.7 s of 750 Hz then 0.7 s of 1000 Hz, both whole periods.
const ToneSpec kSting{"sting.ogg",
                      750,
                      44100,
                      2,
                      1.4,
                      0.25,
                      "if(lt(t\\,0.7)\\,0.25*sin(2*PI*750*t)\\,0.25*sin(2*PI*1000*t))"};
const ToneSpec kJingle{"jingle.mp3", 660, 44100, 2, 8, 0.4};
// The tone in all six channels of a 5.1 file: the left output sums front
// left, centre and back left at 1, 0.707 and 0.707.
const ToneSpec kSurround{"surround.ogg", 550, 48000, 6, 6, 0.1};

class LoopsAndFadesOnAir : public OnAir {
 protected:
  // Where, from `from` on, the sting's first half begins again: the first
  // 10 ms window (in 5 ms steps) where 750 Hz is back after 1000 Hz.
  std::vector<long> firstHalves(long from, long to) const {
    std::vector<long> starts;
    bool inSecondHalf = false;
    const long step = m_listener->rate() / 200;
    for (long end = from + Listener::kWindow; end <= to; end += step) {
      const bool low = m_listener->amplitudeAt(750, end) > 0.15;
      const bool high = m_listener->amplitudeAt(1000, end) > 0.15;
      if (high && !low) inSecondHalf = true;
      if (low && !high && inSecondHalf) {
        starts.push_back(end);
        inSecondHalf = false;
      }
    }
    return starts;
  }
};

TEST_F(LoopsAndFadesOnAir, AStingLoopsOnTimeAJingleFadesAndASurroundJingleIsAsLoud) {
  PaletteCarts carts;
  carts[0] = {tone(kSting), 100, true, false, false};
  carts[1] = {tone(kJingle), 100, false, true, true};
  carts[2] = {tone(kSurround), 100, false, false, false};
  favouriteConfig(writePalette("loops.pal", carts));
  ASSERT_NO_FATAL_FAILURE(startQuillon());
  ASSERT_NO_FATAL_FAILURE(chooseFavourite(1));

  // The sting, over four passes: each pass's first half starts one file
  // length after the last one's (to the analysis step and a late cycle).
  ASSERT_NO_FATAL_FAILURE(fire('a', 750, 0.25));
  const long loopFrom = m_listener->position();
  ASSERT_TRUE(m_listener->waitFor(static_cast<long>(5.0 * m_listener->rate())));
  screenshot("1-sting-looping");
  const std::vector<long> starts = firstHalves(loopFrom, m_listener->position());
  ASSERT_GE(starts.size(), 3u);
  for (std::size_t i = 1; i < starts.size(); ++i) {
    EXPECT_NEAR((starts[i] - starts[i - 1]) / static_cast<double>(m_listener->rate()), 1.4, 0.012)
        << "pass " << i;
  }
  // No gap: one tone or the other in every window (a late cycle of the
  // server may cost one).
  int silent = 0;
  for (long end = loopFrom + Listener::kWindow; end <= m_listener->position();
       end += Listener::kWindow / 2) {
    if (m_listener->amplitudeAt(750, end) < 0.05 && m_listener->amplitudeAt(1000, end) < 0.05) {
      ++silent;
    }
  }
  EXPECT_LE(silent, 1);
  ASSERT_NO_FATAL_FAILURE(stop('a', 750));
  ASSERT_GE(m_listener->waitForSilence(), 0);

  // The jingle: a third of its level one second in, half at 1.5 s, all of
  // it from 3 s, half again 1.5 s before its end, then silence.
  ASSERT_TRUE(m_desktop->key("b"));
  const long started = m_listener->waitForTone(660, 0.4 / 20, 5000);
  ASSERT_GE(started, 0) << "the jingle was not heard";
  const long rate = m_listener->rate();
  // The ramp passes a twentieth 0.15 s in; a 100 ms window measures it at
  // its middle, so the first window holding it ends 0.2 s after the start.
  long onset = -1;
  for (long end = started - rate; end <= started && onset < 0; end += rate / 200) {
    if (m_listener->amplitudeAt(660, end) >= 0.4 / 20) onset = end - rate / 5;
  }
  ASSERT_GE(onset, 0);
  const auto levelAt = [&](double seconds) {
    const long end = onset + static_cast<long>((seconds + 0.05) * static_cast<double>(rate));
    EXPECT_TRUE(m_listener->waitFor(std::max(0L, end - m_listener->position())));
    return m_listener->amplitudeAt(660, end) / 0.4;
  };
  EXPECT_NEAR(levelAt(1.0), 1.0 / 3, 0.06);
  EXPECT_NEAR(levelAt(1.5), 0.5, 0.06);
  screenshot("2-jingle-fading-in");
  EXPECT_NEAR(levelAt(4.0), 1.0, 0.06);
  EXPECT_NEAR(levelAt(6.5), 0.5, 0.06);
  EXPECT_NEAR(levelAt(7.5), 1.0 / 6, 0.06);
  EXPECT_GE(m_listener->waitForSilence(), 0) << "the jingle did not end in silence";

  // The surround jingle: 0.1 in each channel, 0.241 on the left output.
  ASSERT_NO_FATAL_FAILURE(fire('c', 550, 0.1 * (1 + std::sqrt(2.0))));
  ASSERT_TRUE(m_listener->waitFor(rate / 2));
  EXPECT_NEAR(m_listener->amplitudeAt(550, m_listener->position()), 0.1 * (1 + std::sqrt(2.0)),
              0.1 * (1 + std::sqrt(2.0)) * 0.06);
  screenshot("3-surround");
  ASSERT_NO_FATAL_FAILURE(stop('c', 550));
  closeQuillon();
}

}  // namespace
}  // namespace quillon::test
