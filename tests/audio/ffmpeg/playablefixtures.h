// The files every reader test runs over: each type, mono to 5.1, 8 to 96 kHz,
// MP3 with and without its Xing/LAME header, constant and variable bit rate;
// and a whole file read the way a cart feeds its player.
#pragma once

#include <algorithm>
#include <ostream>
#include <stdexcept>
#include <vector>

#include "audio/reader.h"
#include "audiofixtures.h"

namespace quillon::test {

inline const std::vector<AudioFixture>& playableFixtures() {
  static const std::vector<AudioFixture> fixtures = {
      // name, rate, channels, seconds, encoder, exact from source
      {"u8_mono_8k.wav", 8000, 1, 2.5, "-c:a pcm_u8", true},
      {"s16_stereo_44k.wav", 44100, 2, 2.5, "-c:a pcm_s16le", true},
      {"s24_stereo_96k.wav", 96000, 2, 2, "-c:a pcm_s24le", true},
      {"s16_51_48k.wav", 48000, 6, 2, "-c:a pcm_s16le", true},
      {"s24_mono_22k.wav", 22050, 1, 2.5, "-c:a pcm_s24le", true},
      {"cbr_xing_stereo_44k.mp3", 44100, 2, 3, "-c:a libmp3lame -b:a 128k", true},
      {"vbr_xing_mono_22k.mp3", 22050, 1, 3, "-c:a libmp3lame -q:a 4", true},
      {"cbr_xing_mono_8k.mp3", 8000, 1, 3, "-c:a libmp3lame -b:a 16k", true},
      {"vbr_xing_stereo_32k.mp3", 32000, 2, 3, "-c:a libmp3lame -q:a 2", true},
      {"cbr_noxing_stereo_48k.mp3", 48000, 2, 3, "-c:a libmp3lame -b:a 160k -write_xing 0", false},
      {"vbr_noxing_stereo_44k.mp3", 44100, 2, 3, "-c:a libmp3lame -q:a 2 -write_xing 0", false},
      {"vbr_noxing_mono_16k.mp3", 16000, 1, 3, "-c:a libmp3lame -q:a 5 -write_xing 0", false},
      {"stereo_44k.wma", 44100, 2, 3, "-c:a wmav2 -b:a 128k", false},
      {"mono_22k.wma", 22050, 1, 3, "-c:a wmav2 -b:a 32k", false},
      {"stereo_48k.wma", 48000, 2, 3, "-c:a wmav2 -b:a 160k", false},
      {"mono_8k.wma", 8000, 1, 3, "-c:a wmav2 -b:a 24k", false},
      {"stereo_44k.ogg", 44100, 2, 3, "-c:a libvorbis -q:a 4", true},
      {"mono_8k.ogg", 8000, 1, 3, "-c:a libvorbis -q:a 2", true},
      {"51_48k.ogg", 48000, 6, 2, "-c:a libvorbis -q:a 3", true},
      {"stereo_96k.ogg", 96000, 2, 2, "-c:a libvorbis -q:a 4", true},
      // Long enough that a seek lands through the demuxer's index.
      {"long_cbr_xing.mp3", 44100, 2, 30, "-c:a libmp3lame -b:a 128k", true},
      {"long_cbr_noxing.mp3", 44100, 2, 30, "-c:a libmp3lame -b:a 128k -write_xing 0", false},
      {"long_vbr_noxing.mp3", 44100, 2, 30, "-c:a libmp3lame -q:a 3 -write_xing 0", false},
      {"long_vbr_xing.mp3", 48000, 2, 30, "-c:a libmp3lame -q:a 3", true},
      {"long.wma", 44100, 2, 30, "-c:a wmav2 -b:a 128k", false},
      {"long.ogg", 44100, 2, 30, "-c:a libvorbis -q:a 4", true},
      {"long.wav", 44100, 2, 30, "-c:a pcm_s16le", true},
  };
  return fixtures;
}

// The playable fixture of that file name; throws when there is none.
inline const AudioFixture& fixtureNamed(const std::string& name) {
  for (const auto& fixture : playableFixtures()) {
    if (fixture.name == name) return fixture;
  }
  throw std::invalid_argument("no fixture named " + name);
}

inline void PrintTo(const AudioFixture& fixture, std::ostream* out) { *out << fixture.name; }

// Everything from the read position to the end, in blocks of `blockFrames`.
// Stops at End or Failed; `failed` tells which.
inline std::vector<std::int16_t> readToEnd(audio::Reader& reader, audio::FrameCount blockFrames,
                                           bool* failed = nullptr) {
  std::vector<std::int16_t> samples;
  audio::AudioBlock block;
  for (;;) {
    const audio::ReadResult result = reader.ReadBlock(blockFrames, block);
    if (result != audio::ReadResult::Data) {
      if (failed != nullptr) *failed = result == audio::ReadResult::Failed;
      return samples;
    }
    samples.insert(samples.end(), block.samples.begin(), block.samples.end());
  }
}

}  // namespace quillon::test
