// Pre-listen in the real program: real key presses from xdotool on a display
// of the test's own, a JACK server with four playback ports (the output on
// ports 1-2, the cue device on ports 3-4), and what reaches each pair heard
// by the test's own clients.
#include "e2e/onair.h"

namespace quillon::test {
namespace {

constexpr double kAmplitude = 0.25;
constexpr double kHeard = kAmplitude / 2;
constexpr double kSilent = 0.005;
const ToneSpec kTone{"cue-a440.wav", 440, 48000, 1, 30, kAmplitude};

class PreListenOnAir : public OnAir {
 protected:
  PreListenOnAir() { m_playbackPorts = 4; }
};

TEST_F(PreListenOnAir, CtrlWithTheLetterIsHeardOnTheCuePairAloneAndTheLetterPutsItOnAir) {
  PaletteCarts carts;
  carts[0] = {tone(kTone), 100, false};
  favouriteConfig(writePalette("cue.pal", carts));
  ASSERT_TRUE(
      writeWholeFile(path("program/Quillon.ini"), "[PreListen]\nDevice=system:playback_3+4\n"));
  ASSERT_NO_FATAL_FAILURE(startQuillon(false));
  std::string error;
  ASSERT_TRUE(m_listener->connectToPair("system:playback_1", "system:playback_2", 30000, error))
      << error;
  ASSERT_NO_FATAL_FAILURE(chooseFavourite(1));
  Listener cue(m_serverName, 60, error);
  ASSERT_TRUE(cue.ok()) << error;

  const long mainBefore = m_listener->position();
  ASSERT_TRUE(m_desktop->key("ctrl+a"));
  // The cue device's output opens with the first pre-listen.
  ASSERT_TRUE(cue.connectToPair("system:playback_3", "system:playback_4", 10000, error)) << error;
  EXPECT_GE(cue.waitForTone(kTone.hz, kHeard), 0) << "Ctrl+A was not heard on the cue pair";
  ASSERT_TRUE(m_listener->waitFor(m_listener->rate()));
  EXPECT_LT(peak(m_listener->frames(mainBefore, m_listener->position())), kSilent)
      << "the pre-listen reached the output";
  screenshot("pre-listening");

  ASSERT_TRUE(m_desktop->key("a"));
  EXPECT_GE(m_listener->waitForTone(kTone.hz, kHeard), 0) << "A did not go on air";
  EXPECT_GE(cue.waitForSilence(), 0) << "the cue pair still sounds once A is on air";
}

}  // namespace
}  // namespace quillon::test
