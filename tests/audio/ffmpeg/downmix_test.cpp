// Files of more than two channels: a 5.1 file with a tone in one channel at
// a time arrives at the level of the ffmpeg tool's own stereo mix (`-ac 2`),
// and at the standard coefficients worked out by hand: front channels whole
// on their side, centre at -3 dB on both, surrounds at -3 dB on their side,
// LFE left out.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "audio/ffmpeg/ffmpegreader.h"
#include "audiofixtures.h"
#include "playablefixtures.h"

namespace quillon::audio {
namespace {

// RMS of one channel of interleaved stereo, in dB below full scale, over
// the middle of the file (away from a codec's first and last frames).
double levelDb(const std::vector<std::int16_t>& stereo, int channel) {
  const std::size_t frames = stereo.size() / 2;
  double sum = 0;
  std::size_t n = 0;
  for (std::size_t f = frames / 4; f < frames * 3 / 4; ++f, ++n) {
    const double x = stereo[2 * f + static_cast<std::size_t>(channel)] / 32768.0;
    sum += x * x;
  }
  return n == 0 ? -200 : 10 * std::log10(std::max(sum / static_cast<double>(n), 1e-20));
}

TEST(Downmix, EachChannelOfA51FileArrivesAtTheLevelOfTheToolsStereoMix) {
  const char* names[] = {"FL", "FR", "FC", "LFE", "BL", "BR"};
  // Gain of each channel on the left and right outputs, by hand.
  const double halfPower = std::sqrt(0.5);
  const double gains[][2] = {{1, 0}, {0, 1},         {halfPower, halfPower},
                             {0, 0}, {halfPower, 0}, {0, halfPower}};
  test::ScratchFolder folder;
  for (const char* codec : {"-c:a libvorbis -q:a 5", "-c:a pcm_s16le"}) {
    const bool ogg = std::string(codec).find("vorbis") != std::string::npos;
    for (int k = 0; k < 6; ++k) {
      SCOPED_TRACE(std::string(names[k]) + (ogg ? " in Ogg" : " in WAV"));
      std::string channels;
      for (int c = 0; c < 6; ++c) {
        channels += (c > 0 ? "|" : "") + std::string(c == k ? "0.5*sin(2*PI*1000*t)" : "0");
      }
      const std::string path = folder.file(std::string(names[k]) + (ogg ? ".ogg" : ".wav"));
      ASSERT_TRUE(test::runFfmpeg(
          "-f lavfi -i 'aevalsrc=" + channels + ":s=48000:d=1:c=5.1' " + codec, path));
      FfmpegReader reader(nullptr);
      ASSERT_EQ(reader.OpenFile(path), 0) << reader.lastError();
      ASSERT_EQ(reader.StreamFormat().channels, 2);
      const std::vector<std::int16_t> ours = test::readToEnd(reader, 4800);
      const std::vector<std::int16_t> tool = test::downmixWithFfmpegTool(path);
      ASSERT_FALSE(tool.empty());
      const double tone = 20 * std::log10(0.5 / std::sqrt(2.0));  // -9.03 dBFS RMS in its channel
      for (int out = 0; out < 2; ++out) {
        if (gains[k][out] == 0) {
          EXPECT_LT(levelDb(ours, out), -80) << "output " << out;
          continue;
        }
        EXPECT_NEAR(levelDb(ours, out), levelDb(tool, out), 0.5) << "output " << out;
        EXPECT_NEAR(levelDb(ours, out), tone + 20 * std::log10(gains[k][out]), 0.5)
            << "output " << out;
      }
    }
  }
}

TEST(Downmix, SumsBeyondFullScaleSaturateRatherThanWrap) {
  // Every channel at full scale in phase: the left row sums to 2.41.
  test::ScratchFolder folder;
  const std::string path = folder.file("loud.wav");
  ASSERT_TRUE(test::runFfmpeg(
      "-f lavfi -i 'aevalsrc=0.99*sin(2*PI*100*t):s=48000:d=0.5:c=5.1' -c:a pcm_s16le", path));
  FfmpegReader reader(nullptr);
  ASSERT_EQ(reader.OpenFile(path), 0) << reader.lastError();
  const std::vector<std::int16_t> ours = test::readToEnd(reader, 4800);
  ASSERT_FALSE(ours.empty());
  // Clipped flat at the peaks of the wave, never folded over to the other sign.
  int clipped = 0;
  for (std::size_t f = 1; f + 1 < ours.size() / 2; ++f) {
    const int s = ours[2 * f];
    if (s == 32767 || s == -32768) ++clipped;
    const double wave = std::sin(2 * M_PI * 100 * static_cast<double>(f) / 48000);
    if (std::abs(wave) > 0.2) {
      EXPECT_EQ(s > 0, wave > 0) << "frame " << f;
    }
  }
  EXPECT_GT(clipped, 1000);
}

}  // namespace
}  // namespace quillon::audio
