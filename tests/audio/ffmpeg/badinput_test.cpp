// Bad input of every kind: a clear refusal (FileStatus negative, OpenInfo
// false, a message) or, for a file that still holds audio, exactly what the
// ffmpeg tool decodes from it; never a crash, a hang or an unbounded read.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>

#include "audio/ffmpeg/ffmpeginformation.h"
#include "audio/ffmpeg/ffmpegreader.h"
#include "playablefixtures.h"
#include "readall.h"

namespace quillon::audio {
namespace {

namespace fs = std::filesystem;
using test::AudioFixture;

// Both the reader and the information refuse `path` with a message; the
// reader read at most `maxBytes` before refusing.
void expectRefused(const std::string& path, std::int64_t maxBytes = 1 << 20) {
  FfmpegInformation information(nullptr);
  EXPECT_FALSE(information.OpenInfo(path)) << path;
  EXPECT_FALSE(information.lastError().empty());
  EXPECT_EQ(information.InfoSampleRate(), 0);
  EXPECT_EQ(information.InfoTotalSamples(), 0);
  EXPECT_EQ(information.InfoDurationMs(), 0);

  FfmpegReader reader(nullptr);
  EXPECT_LT(reader.OpenFile(path), 0) << path;
  EXPECT_LT(reader.FileStatus(), 0);
  EXPECT_FALSE(reader.lastError().empty());
  EXPECT_EQ(reader.TotalSamples(), 0);
  EXPECT_LE(reader.bytesRead(), maxBytes) << path;
  AudioBlock block;
  EXPECT_EQ(reader.ReadBlock(4410, block), ReadResult::Failed);
}

class RandomBytes : public ::testing::TestWithParam<long long> {};

TEST_P(RandomBytes, AreRefusedUnderEveryNameAfterABoundedRead) {
  const auto paths = test::randomBytesFiles(
      GetParam(), {"noise.mp3", "noise.wav", "noise.ogg", "noise.wma", "NOISE.MP3"});
  // The format probe and the search for a first frame stop well under 1 MiB.
  for (const auto& path : paths) expectRefused(path, 1 << 20);
}

INSTANTIATE_TEST_SUITE_P(Sizes, RandomBytes, ::testing::Values(4096LL, 1LL << 20, 100LL << 20),
                         [](const auto& info) { return std::to_string(info.param) + "_bytes"; });

TEST(BadPaths, EmptyFilesFoldersAndMissingPathsAreRefused) {
  test::ScratchFolder folder;
  for (const char* name : {"empty.mp3", "empty.wav", "empty.ogg", "empty.wma"}) {
    std::ofstream(folder.file(name)).close();
    expectRefused(folder.file(name), 0);
  }
  fs::create_directory(folder.file("folder.mp3"));
  expectRefused(folder.file("folder.mp3"), 0);
  expectRefused(folder.file("missing.wav"), 0);
  expectRefused("", 0);
  FfmpegReader reader(nullptr);
  reader.OpenFile(folder.file("folder.mp3"));
  EXPECT_NE(reader.lastError().find("folder"), std::string::npos) << reader.lastError();
  reader.OpenFile(folder.file("missing.wav"));
  EXPECT_NE(reader.lastError().find("does not exist"), std::string::npos) << reader.lastError();
}

TEST(BadPaths, ANamedPipeOrADeviceIsRefusedWithoutBlocking) {
  test::ScratchFolder folder;
  const std::string pipe = folder.file("pipe.mp3");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const std::string device = folder.file("zero.wav");
  fs::create_symlink("/dev/zero", device);
  for (const std::string& path : {pipe, device}) {
    // Run where a block would show as a timeout instead of hanging the test.
    auto refused = std::async(std::launch::async, [path] {
      FfmpegReader reader(nullptr);
      FfmpegInformation information(nullptr);
      return reader.OpenFile(path) < 0 && !information.OpenInfo(path);
    });
    if (refused.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
      // Free the blocked open with a writer, so the test can end.
      const int fd = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
      if (fd >= 0) ::close(fd);
      FAIL() << "opening " << path << " blocked";
    }
    EXPECT_TRUE(refused.get()) << path;
  }
  expectRefused(pipe, 0);
}

TEST(BadFiles, AFileWithNoAudioStreamIsRefused) {
  const std::string videoOnly = test::oggWithoutAudio();
  ASSERT_FALSE(videoOnly.empty());
  expectRefused(videoOnly);
  // A picture named like a sound.
  test::ScratchFolder folder;
  const std::string picture = folder.file("picture.mp3");
  ASSERT_TRUE(
      test::runFfmpeg("-f lavfi -i testsrc=s=64x64:d=1 -frames:v 1 -f image2 -c:v png", picture));
  expectRefused(picture);
}

// A PCM WAV file with the header fields given, followed by a second of data.
void writeWav(const std::string& path, std::uint16_t channels, std::uint32_t rate) {
  const std::uint32_t dataBytes = 44100 * 4;
  std::vector<std::uint8_t> bytes;
  const auto put = [&bytes](std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  };
  const auto tag = [&bytes](const char* text) { bytes.insert(bytes.end(), text, text + 4); };
  tag("RIFF");
  put(36 + dataBytes, 4);
  tag("WAVE");
  tag("fmt ");
  put(16, 4);
  put(1, 2);  // PCM
  put(channels, 2);
  put(rate, 4);
  put(rate * channels * 2, 4);
  put(channels * 2u, 2);
  put(16, 2);
  tag("data");
  put(dataBytes, 4);
  for (std::uint32_t i = 0; i < dataBytes; ++i) bytes.push_back(static_cast<std::uint8_t>(i * 7));
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

TEST(BadFiles, AStreamWithNoRateOrNoChannelsIsNotPlayable) {
  test::ScratchFolder folder;
  writeWav(folder.file("good.wav"), 2, 44100);  // the same header, sound: the writer works
  FfmpegInformation information(nullptr);
  ASSERT_TRUE(information.OpenInfo(folder.file("good.wav"))) << information.lastError();
  EXPECT_EQ(information.InfoTotalSamples(), 44100);

  writeWav(folder.file("no-rate.wav"), 2, 0);
  expectRefused(folder.file("no-rate.wav"));
  writeWav(folder.file("no-channels.wav"), 0, 44100);
  expectRefused(folder.file("no-channels.wav"));
}

// A file that still holds audio after it was cut: the reader and the
// information agree with the ffmpeg tool on what remains.
void expectSameAsTheTool(const std::string& path, int channels) {
  const auto reference = test::decodeWithFfmpegTool(path, channels);
  FfmpegInformation information(nullptr);
  FfmpegReader reader(nullptr);
  const bool analysed = information.OpenInfo(path);
  const bool opened = reader.OpenFile(path) == 0;
  ASSERT_EQ(analysed, opened) << path << ": " << information.lastError() << " / "
                              << reader.lastError();
  if (!opened) {
    // Refused: the tool finds nothing in it either.
    EXPECT_TRUE(reference.empty()) << path << ": " << reader.lastError();
    return;
  }
  const FrameCount frames = static_cast<FrameCount>(reference.size()) / channels;
  EXPECT_EQ(information.InfoTotalSamples(), frames) << path;
  EXPECT_EQ(reader.TotalSamples(), frames) << path;
  bool failed = false;
  EXPECT_TRUE(test::readToEnd(reader, 4410, &failed) == reference) << path;
  EXPECT_FALSE(failed) << reader.lastError();
}

class TruncatedFile : public ::testing::TestWithParam<std::string> {};

TEST_P(TruncatedFile, PlaysWhatRemainsOrIsRefused) {
  const AudioFixture& fixture = test::fixtureNamed(GetParam());
  const std::string source = test::fixturePath(fixture);
  const auto size = static_cast<std::int64_t>(fs::file_size(source));
  test::ScratchFolder folder;
  for (const std::int64_t cut : {size * 9 / 10, size / 2, size / 3 + 1, std::int64_t{3000},
                                 std::int64_t{100}, std::int64_t{1}}) {
    const std::string path = folder.file(std::to_string(cut) + "-" + fixture.name);
    fs::copy_file(source, path);
    fs::resize_file(path, static_cast<std::uintmax_t>(cut));
    SCOPED_TRACE(cut);
    expectSameAsTheTool(path, fixture.outputChannels());
  }
}

INSTANTIATE_TEST_SUITE_P(EachType, TruncatedFile,
                         ::testing::Values("s16_stereo_44k.wav", "s24_mono_22k.wav",
                                           "cbr_xing_stereo_44k.mp3", "vbr_noxing_stereo_44k.mp3",
                                           "stereo_44k.wma", "stereo_44k.ogg", "long.ogg"),
                         [](const auto& info) {
                           return test::fixtureTestName(test::fixtureNamed(info.param));
                         });

class ChangedWhileRead : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    const AudioFixture& fixture = test::fixtureNamed(GetParam());
    m_channels = fixture.outputChannels();
    m_path = m_folder.file(fixture.name);
    fs::copy_file(test::fixturePath(fixture), m_path);
    m_reference = test::decodeWithFfmpegTool(m_path, m_channels);
    ASSERT_EQ(m_reader.OpenFile(m_path), 0) << m_reader.lastError();
    m_block = fixture.rate / 10;
    AudioBlock block;
    for (int i = 0; i < 2; ++i) {
      ASSERT_EQ(m_reader.ReadBlock(m_block, block), ReadResult::Data);
      m_read.insert(m_read.end(), block.samples.begin(), block.samples.end());
    }
  }

  test::ScratchFolder m_folder;
  std::string m_path;
  int m_channels = 0;
  FrameCount m_block = 0;
  std::vector<std::int16_t> m_reference;
  std::vector<std::int16_t> m_read;
  FfmpegReader m_reader{nullptr};
};

TEST_P(ChangedWhileRead, ADeletedFilePlaysToItsEnd) {
  ASSERT_TRUE(fs::remove(m_path));
  bool failed = false;
  const auto rest = test::readToEnd(m_reader, m_block, &failed);
  EXPECT_FALSE(failed) << m_reader.lastError();
  m_read.insert(m_read.end(), rest.begin(), rest.end());
  EXPECT_TRUE(m_read == m_reference);
  // A seek back still finds the data.
  ASSERT_EQ(m_reader.SeekSample(10), 10);
  AudioBlock block;
  EXPECT_EQ(m_reader.ReadBlock(m_block, block), ReadResult::Data);
}

TEST_P(ChangedWhileRead, ATruncatedFileEndsCleanlyBeforeItsOldEnd) {
  for (const auto newSize : {fs::file_size(m_path) / 3, std::uintmax_t{0}}) {
    fs::resize_file(m_path, newSize);
    const auto rest = test::readToEnd(m_reader, m_block);  // End or Failed, never a crash
    EXPECT_LE(static_cast<FrameCount>(m_read.size() + rest.size()) / m_channels,
              m_reader.TotalSamples());
    // Seeking into what is gone ends or fails the same way.
    m_reader.SeekSample(m_reader.TotalSamples() / 2);
    AudioBlock block;
    for (int i = 0; i < 1000 && m_reader.ReadBlock(m_block, block) == ReadResult::Data; ++i) {
    }
    EXPECT_NE(m_reader.ReadBlock(m_block, block), ReadResult::Data);
  }
}

INSTANTIATE_TEST_SUITE_P(EachType, ChangedWhileRead,
                         ::testing::Values("long.wav", "long_cbr_xing.mp3", "long.wma", "long.ogg"),
                         [](const auto& info) {
                           return test::fixtureTestName(test::fixtureNamed(info.param));
                         });

TEST(BadFiles, AFileWithoutReadPermissionIsRefused) {
  test::ScratchFolder folder;
  const std::string path = folder.file("locked.wav");
  fs::copy_file(test::fixturePath(test::fixtureNamed("s16_stereo_44k.wav")), path);
  ASSERT_EQ(::chmod(path.c_str(), 0), 0);
  if (::geteuid() != 0) {
    expectRefused(path, 0);
    return;
  }
  // Root reads anything: check as an unprivileged user in a child process.
  ::chmod(folder.path().c_str(), 0755);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(2);
    FfmpegReader reader(nullptr);
    FfmpegInformation information(nullptr);
    const bool refused = reader.OpenFile(path) < 0 && !information.OpenInfo(path) &&
                         reader.lastError().find("permission") != std::string::npos;
    ::_exit(refused ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 2) GTEST_SKIP() << "cannot switch to user nobody to test this";
  EXPECT_EQ(WEXITSTATUS(status), 0) << "a file without read permission was not refused";
}

TEST(OnlyTheAudioStream, ACoverPictureOrAVideoStreamIsIgnored) {
  ASSERT_GT(fs::file_size(test::mp3WithCoverPicture(2 << 20)), 2'000'000u) << "cover too small";
  for (const std::string& path : {test::mp3WithCoverPicture(2 << 20), test::wmaWithVideo()}) {
    ASSERT_FALSE(path.empty());
    SCOPED_TRACE(path);
    expectSameAsTheTool(path, 2);
    FfmpegReader reader(nullptr);
    ASSERT_EQ(reader.OpenFile(path), 0);
    EXPECT_EQ(reader.StreamFormat(), (AudioFormat{44100, 2}));
    const auto reference = test::decodeWithFfmpegTool(path, 2);
    const FrameCount target = reader.TotalSamples() / 2 + 11;
    ASSERT_EQ(reader.SeekSample(target), target);
    AudioBlock block;
    ASSERT_EQ(reader.ReadBlock(4410, block), ReadResult::Data);
    EXPECT_TRUE(std::equal(block.samples.begin(), block.samples.end(),
                           reference.begin() + static_cast<std::ptrdiff_t>(target * 2)));
  }
}

// FFmpeg's own messages must never reach the terminal: the program keeps no
// log. Everything written to stderr while bad files are opened is caught.
TEST(FfmpegLog, StaysSilentOnBadFiles) {
  test::ScratchFolder folder;
  const auto noise = test::randomBytesFiles(1 << 20, {"noise.mp3", "noise.wma"});
  const std::string cut = folder.file("cut.wma");
  fs::copy_file(test::fixturePath(test::fixtureNamed("stereo_44k.wma")), cut);
  fs::resize_file(cut, fs::file_size(cut) / 2 + 7);
  const std::string cover = test::mp3WithCoverPicture(2 << 20);
  ASSERT_FALSE(cover.empty());

  const std::string captured = folder.file("stderr.txt");
  std::fflush(stderr);
  const int saved = ::dup(2);
  const int capture = ::open(captured.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  ASSERT_GE(capture, 0);
  ::dup2(capture, 2);
  for (const std::string& path : {noise[0], noise[1], cut, cover}) {
    FfmpegReader reader(nullptr);
    FfmpegInformation information(nullptr);
    information.OpenInfo(path);
    if (reader.OpenFile(path) == 0) test::readToEnd(reader, 4410);
  }
  std::fflush(stderr);
  ::dup2(saved, 2);
  ::close(saved);
  ::close(capture);
  EXPECT_EQ(fs::file_size(captured), 0u) << "FFmpeg wrote to stderr";
}

}  // namespace
}  // namespace quillon::audio
