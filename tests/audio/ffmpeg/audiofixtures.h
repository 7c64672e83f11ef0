// Audio files for the reader's tests and benchmarks, made on first use by the
// ffmpeg command-line tool (never downloaded) and kept in a folder of the
// build, so that each test process makes only what it uses and later runs
// reuse it. Each channel carries its own frequency sweep: no two stretches of
// a file look alike, so a seek that lands one frame off shows.
// Single-threaded; concurrent processes are safe (files appear by rename).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillon::test {

struct AudioFixture {
  std::string name;     // file name, with the extension that picks the type
  int rate = 44100;     // frames per second
  int channels = 2;     // in the file: 1, 2 or 6 (5.1)
  double seconds = 3;   // length of the source sweep
  std::string encoder;  // ffmpeg output options: codec, bit rate, header
  // True when the file decodes to exactly rate × seconds frames (WAV, Ogg
  // Vorbis, MP3 with its Xing/LAME header); false when the codec pads it
  // (WMA, MP3 without a header).
  bool exactFromSource = true;

  long long sourceFrames() const;
  // Channels the reader delivers: mono stays mono, more become stereo.
  int outputChannels() const { return channels == 1 ? 1 : 2; }
};

// The folder that keeps fixtures: $QUILLON_TEST_TMP/ffmpeg-fixtures when the
// test runner sets it, else one under /tmp.
const std::string& fixtureFolder();
// The path of `fixture`'s file, made first if needed; "" (and a note on
// stderr) when ffmpeg cannot make it. Likewise for the files below.
std::string fixturePath(const AudioFixture& fixture);

// An MP3 whose ID3 tag holds a cover picture of about `pictureBytes`.
std::string mp3WithCoverPicture(int pictureBytes);
// An ASF file (named .wma) with a video stream before its audio stream.
std::string wmaWithVideo();
// An Ogg file holding only a Theora video stream.
std::string oggWithoutAudio();

// `bytes` random bytes under each of `names` (hard links of one file).
std::vector<std::string> randomBytesFiles(long long bytes, const std::vector<std::string>& names);
// The whole file decoded by the ffmpeg tool to 16-bit interleaved samples
// with `channels` channels: the reference our reader is held to.
std::vector<std::int16_t> decodeWithFfmpegTool(const std::string& path, int channels);
// A file of more than two channels mixed down to stereo by the ffmpeg tool
// (`-ac 2`, in floating point: the standard coefficients, unscaled), then
// rounded to 16 bits and saturated at full scale.
std::vector<std::int16_t> downmixWithFfmpegTool(const std::string& path);

// A folder of its own for a test's files, removed with everything in it.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::string& path() const { return m_path; }
  std::string file(const std::string& name) const { return m_path + "/" + name; }

 private:
  std::string m_path;
};

// Runs ffmpeg with `arguments` (already quoted for the shell) to make
// `output`, atomically; false when it fails.
bool runFfmpeg(const std::string& arguments, const std::string& output);

}  // namespace quillon::test
