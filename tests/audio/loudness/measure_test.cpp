// The measurement against the ffmpeg tool's own meter, on tones and pink
// noise the tool writes at -14, -23 and -30 LUFS in three formats; and the
// normalisation gain applied to a decoded file, measured again by the tool:
// the loudness reaches the target unless the true peak would pass the
// ceiling, which then holds.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "audio/ffmpeg/ffmpegreader.h"
#include "audio/gain.h"
#include "audio/loudness/filemeasure.h"
#include "audiofixtures.h"
#include "cart/normalisation.h"
#include "ffmpegloudness.h"

namespace quillon::audio {
namespace {

using test::loudnessByFfmpegTool;
using test::makeAtLoudness;

struct Signal {
  const char* name;
  const char* source;   // lavfi, 8 s
  const char* encoder;  // ffmpeg output options
  const char* extension;
};

const Signal kSignals[] = {
    {"tone1k", "sine=frequency=1000:sample_rate=44100:duration=8", "-c:a pcm_s16le", "wav"},
    {"tone150", "sine=frequency=150:sample_rate=48000:duration=8", "-c:a libvorbis -q:a 6", "ogg"},
    {"pink", "anoisesrc=color=pink:sample_rate=44100:duration=8:seed=7:amplitude=0.5",
     "-c:a libmp3lame -b:a 192k", "mp3"},
};
const double kLevels[] = {-14.0, -23.0, -30.0};

std::string makeSignal(const test::ScratchFolder& folder, const Signal& s, double lufs) {
  const std::string path =
      folder.file(std::string(s.name) + std::to_string(int(-lufs)) + "." + s.extension);
  return makeAtLoudness(s.source, s.encoder, lufs, path) ? path : "";
}

LoudnessResult measure(const std::string& path) {
  const std::atomic<bool> notCancelled{false};
  return measureFileLoudness(path, notCancelled);
}

TEST(LoudnessMeasure, AgreesWithTheFfmpegToolOnTonesAndPinkNoise) {
  const test::ScratchFolder folder;
  for (const Signal& signal : kSignals) {
    for (const double level : kLevels) {
      SCOPED_TRACE(std::string(signal.name) + " at " + std::to_string(level));
      const std::string path = makeSignal(folder, signal, level);
      ASSERT_FALSE(path.empty()) << "ffmpeg could not write the file";
      const auto reference = loudnessByFfmpegTool(path);
      ASSERT_TRUE(reference);
      EXPECT_NEAR(reference->integratedLufs, level, 0.3);  // the file is what we asked for

      const LoudnessResult ours = measure(path);
      ASSERT_TRUE(ours.measurement) << ours.error;
      EXPECT_NEAR(ours.measurement->integratedLufs, reference->integratedLufs, 0.2);
      // The tool oversamples to 192 kHz, libebur128 four times: peaks agree closely.
      EXPECT_NEAR(ours.measurement->truePeakDbtp, reference->truePeakDbtp, 0.5);
    }
  }
}

TEST(LoudnessMeasure, MonoCountsAsHeardOnBothSpeakers) {
  // The same tone in one channel and in both at full level: the player
  // sends a mono file to both speakers unchanged.
  const test::ScratchFolder folder;
  const std::string mono = folder.file("mono.wav");
  const std::string stereo = folder.file("stereo.wav");
  const std::string tone = "-f lavfi -i 'sine=frequency=1000:duration=5' -af volume=-6dB ";
  ASSERT_TRUE(test::runFfmpeg(tone + "-ac 1 -c:a pcm_s16le", mono));
  ASSERT_TRUE(test::runFfmpeg(
      "-f lavfi -i 'sine=frequency=1000:duration=5' -af 'volume=-6dB,pan=stereo|c0=c0|c1=c0' "
      "-c:a pcm_s16le",
      stereo));
  const LoudnessResult m = measure(mono);
  const LoudnessResult s = measure(stereo);
  ASSERT_TRUE(m.measurement && s.measurement);
  EXPECT_NEAR(m.measurement->integratedLufs, s.measurement->integratedLufs, 0.05);
}

TEST(LoudnessMeasure, FilesThatCannotBeMeasuredSayWhy) {
  const test::ScratchFolder folder;
  const std::string silent = folder.file("silent.wav");
  ASSERT_TRUE(test::runFfmpeg("-f lavfi -i 'anullsrc=duration=3' -ac 2 -c:a pcm_s16le", silent));
  EXPECT_EQ(measure(silent).error, "the file is silent");
  const LoudnessResult missing = measure(folder.file("gone.mp3"));
  EXPECT_FALSE(missing.measurement);
  EXPECT_FALSE(missing.error.empty());
  const std::atomic<bool> cancelled{true};
  EXPECT_FALSE(measureFileLoudness(silent, cancelled).measurement);
}

// The file decoded by the program's reader, scaled by the gain stage at the
// normalisation factor, written as 16-bit WAV for the tool to measure.
std::string normalisedCopy(const std::string& path, double factor, const std::string& output) {
  FfmpegReader reader(nullptr);
  if (reader.OpenFile(path) < 0) return "";
  Gain gain;
  gain.setNormalisation(factor);
  std::vector<std::int16_t> all;
  AudioBlock block;
  while (reader.ReadBlock(4410, block) == ReadResult::Data) {
    gain.applyInPlace(block, 100.0F, {}, 0);
    all.insert(all.end(), block.samples.begin(), block.samples.end());
  }
  const std::string raw = output + ".raw";
  std::FILE* f = std::fopen(raw.c_str(), "wb");
  if (f == nullptr) return "";
  std::fwrite(all.data(), sizeof all[0], all.size(), f);
  std::fclose(f);
  const bool made =
      test::runFfmpeg("-f s16le -ar " + std::to_string(reader.StreamFormat().sampleRate) +
                          " -ac 2 -i '" + raw + "' -c:a pcm_s16le",
                      output);
  std::remove(raw.c_str());
  return made ? output : "";
}

TEST(LoudnessNormalisation, ReachesTheTargetOrStopsAtTheCeiling) {
  const test::ScratchFolder folder;
  const std::string quiet = makeSignal(folder, kSignals[2], -30.0);
  ASSERT_FALSE(quiet.empty());
  const LoudnessResult measured = measure(quiet);
  ASSERT_TRUE(measured.measurement);

  // -30 LUFS to -23: the peak stays far below the ceiling.
  const cart::NormalisationRule broadcast{-23.0, -1.0};
  const auto atTarget = loudnessByFfmpegTool(normalisedCopy(
      quiet, cart::normalisationFactor(*measured.measurement, broadcast), folder.file("n23.wav")));
  ASSERT_TRUE(atTarget);
  EXPECT_NEAR(atTarget->integratedLufs, -23.0, 0.2);

  // -30 LUFS to -5 would take noise peaks far over full scale: the ceiling
  // holds instead, and the loudness stays short of the target.
  const cart::NormalisationRule loud{-5.0, -1.0};
  ASSERT_GT(loud.targetLufs - measured.measurement->integratedLufs,
            loud.ceilingDbtp - measured.measurement->truePeakDbtp);
  const auto limited = loudnessByFfmpegTool(normalisedCopy(
      quiet, cart::normalisationFactor(*measured.measurement, loud), folder.file("n5.wav")));
  ASSERT_TRUE(limited);
  EXPECT_LE(limited->truePeakDbtp, -1.0 + 0.2);
  EXPECT_GE(limited->truePeakDbtp, -1.0 - 0.6);
  EXPECT_LT(limited->integratedLufs, -8.0);
}

}  // namespace
}  // namespace quillon::audio
