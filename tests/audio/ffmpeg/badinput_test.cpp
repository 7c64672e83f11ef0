// Bad input of every kind: a clear refusal (FileStatus negative, OpenInfo
// false, a message) or, for a file that still holds audio, exactly what the
// ffmpeg tool decodes from it; never a crash, a hang or an unbounded read.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>

#include "audio/ffmpeg/ffmpeginformation.h"
#include "audio/ffmpeg/ffmpegreader.h"
#include "playablefixtures.h"

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
  EXPECT_EQ(information.InfoSampleRate() + information.InfoTotalSamples(), 0);
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
  if (!opened) {  // refused: the tool finds nothing in it either
    EXPECT_TRUE(reference.empty()) << path << ": " << reader.lastError();
    return;
  }
  const FrameCount frames = std::ssize(reference) / channels;
  EXPECT_EQ(information.InfoTotalSamples(), frames) << path;
  EXPECT_EQ(reader.TotalSamples(), frames) << path;
  bool failed = false;
  EXPECT_TRUE(test::readToEnd(reader, 4410, &failed) == reference) << path;
  EXPECT_FALSE(failed) << reader.lastError();
}

TEST(BadPaths, EmptyFilesFoldersPipesDevicesAndMissingPathsAreRefusedWithoutBlocking) {
  test::ScratchFolder folder;
  for (const char* name : {"empty.mp3", "empty.wav", "empty.ogg", "empty.wma"}) {
    std::ofstream(folder.file(name)).close();
    expectRefused(folder.file(name), 0);
  }
  fs::create_directory(folder.file("folder.mp3"));
  const std::string pipe = folder.file("pipe.mp3");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  fs::create_symlink("/dev/zero", folder.file("zero.wav"));
  for (const std::string& path : {folder.file("folder.mp3"), folder.file("missing.wav"),
                                  std::string{}, pipe, folder.file("zero.wav")}) {
    // Run where a block would show as a timeout instead of hanging the test.
    auto refused = std::async(std::launch::async, [path] { expectRefused(path, 0); });
    if (refused.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
      const int fd = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);  // frees a blocked open
      if (fd >= 0) ::close(fd);
      FAIL() << "opening " << path << " blocked";
    }
  }
  FfmpegReader reader(nullptr);
  reader.OpenFile(folder.file("folder.mp3"));
  EXPECT_NE(reader.lastError().find("folder"), std::string::npos) << reader.lastError();
  reader.OpenFile(folder.file("missing.wav"));
  EXPECT_NE(reader.lastError().find("does not exist"), std::string::npos) << reader.lastError();
}

TEST(BadFiles, RandomBytesOrAFileWithNoPlayableAudioStreamAreRefusedAfterABoundedRead) {
  test::ScratchFolder folder;
  const std::string picture = folder.file("picture.mp3");  // a picture named like a sound
  ASSERT_TRUE(
      test::runFfmpeg("-f lavfi -i testsrc=s=64x64:d=1 -frames:v 1 -f image2 -c:v png", picture));
  std::vector<std::string> paths = {test::oggWithoutAudio(), picture};
  // A good WAV file with its header's channel count (2 bytes at 10 into the
  // "fmt " chunk) or rate (4 bytes at 12) set to 0.
  std::ifstream in(test::fixturePath(test::fixtureNamed("s16_stereo_44k.wav")), std::ios::binary);
  const std::string good{std::istreambuf_iterator<char>(in), {}};
  const std::size_t fmt = good.find("fmt ");
  ASSERT_NE(fmt, std::string::npos);
  for (const auto& [offset, size] : {std::pair{10, 2}, std::pair{12, 4}}) {
    std::string bad = good;
    bad.replace(fmt + offset, size, std::string(size, '\0'));
    paths.push_back(folder.file("zero-at-" + std::to_string(offset) + ".wav"));
    std::ofstream(paths.back(), std::ios::binary) << bad;
  }
  // Random bytes under every name: the format probe and the search for a
  // first frame stop well under 1 MiB.
  for (const long long size : {4096LL, 100LL << 20}) {
    for (const auto& path : test::randomBytesFiles(
             size, {"noise.mp3", "noise.wav", "noise.ogg", "noise.wma", "NOISE.MP3"})) {
      paths.push_back(path);
    }
  }
  for (const auto& path : paths) {
    ASSERT_FALSE(path.empty());
    expectRefused(path, 1 << 20);
  }
}

// FFmpeg's own messages must never reach the terminal (the program keeps no
// log): everything written to stderr while cut files are read is caught.
TEST(BadFiles, ATruncatedFilePlaysWhatRemainsOrIsRefusedSilently) {
  test::ScratchFolder folder;
  const std::string captured = folder.file("stderr.txt");
  std::fflush(stderr);
  const int saved = ::dup(2);
  const int capture = ::open(captured.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  ASSERT_GE(capture, 0);
  ::dup2(capture, 2);
  for (const char* name : {"s16_stereo_44k.wav", "s24_mono_22k.wav", "cbr_xing_stereo_44k.mp3",
                           "vbr_noxing_stereo_44k.mp3", "stereo_44k.wma", "long.ogg"}) {
    const AudioFixture& fixture = test::fixtureNamed(name);
    const std::string source = test::fixturePath(fixture);
    const auto size = static_cast<std::int64_t>(fs::file_size(source));
    for (const std::int64_t cut :
         {size * 9 / 10, size / 3 + 1, std::int64_t{3000}, std::int64_t{100}, std::int64_t{1}}) {
      const std::string path = folder.file(std::to_string(cut) + "-" + fixture.name);
      fs::copy_file(source, path);
      fs::resize_file(path, static_cast<std::uintmax_t>(cut));
      SCOPED_TRACE(path);
      expectSameAsTheTool(path, fixture.outputChannels());
    }
  }
  std::fflush(stderr);
  ::dup2(saved, 2);
  ::close(saved);
  ::close(capture);
  EXPECT_EQ(fs::file_size(captured), 0u) << "FFmpeg wrote to stderr";
}

TEST(ChangedWhileRead, ADeletedFilePlaysToItsEndAndATruncatedOneEndsCleanly) {
  for (const char* name : {"long.wav", "long_cbr_xing.mp3", "long.wma", "long.ogg"}) {
    SCOPED_TRACE(name);
    const AudioFixture& fixture = test::fixtureNamed(name);
    const int channels = fixture.outputChannels();
    const FrameCount size = fixture.rate / 10;
    for (const bool deleted : {true, false}) {
      // A copy, opened and read for two blocks, then changed on disk.
      test::ScratchFolder folder;
      const std::string path = folder.file(fixture.name);
      fs::copy_file(test::fixturePath(fixture), path);
      FfmpegReader reader(nullptr);
      ASSERT_EQ(reader.OpenFile(path), 0);
      AudioBlock block;
      std::vector<std::int16_t> read;
      for (int i = 0; i < 2 && reader.ReadBlock(size, block) == ReadResult::Data; ++i) {
        read.insert(read.end(), block.samples.begin(), block.samples.end());
      }
      ASSERT_EQ(std::ssize(read), 2 * size * channels);
      if (deleted) {
        ASSERT_TRUE(fs::remove(path));
        bool failed = false;
        const auto rest = test::readToEnd(reader, size, &failed);
        EXPECT_FALSE(failed) << reader.lastError();
        read.insert(read.end(), rest.begin(), rest.end());
        EXPECT_TRUE(read == test::decodeWithFfmpegTool(test::fixturePath(fixture), channels));
        ASSERT_EQ(reader.SeekSample(10), 10);  // a seek back still finds the data
        EXPECT_EQ(reader.ReadBlock(size, block), ReadResult::Data);
        continue;
      }
      for (const auto newSize : {fs::file_size(path) / 3, std::uintmax_t{0}}) {
        fs::resize_file(path, newSize);
        const auto more = test::readToEnd(reader, size);  // End or Failed, never a crash
        EXPECT_LE(std::ssize(read) + std::ssize(more), reader.TotalSamples() * channels);
        // Seeking into what is gone ends or fails the same way.
        reader.SeekSample(reader.TotalSamples() / 2);
        for (int i = 0; i < 1000 && reader.ReadBlock(size, block) == ReadResult::Data; ++i) {
        }
        EXPECT_NE(reader.ReadBlock(size, block), ReadResult::Data);
      }
    }
  }
}

TEST(BadFiles, AFileWithoutReadPermissionIsRefused) {
  test::ScratchFolder folder;
  const std::string path = folder.file("locked.wav");
  fs::copy_file(test::fixturePath(test::fixtureNamed("s16_stereo_44k.wav")), path);
  ASSERT_EQ(::chmod(path.c_str(), 0), 0);
  // Root reads anything: check as user nobody for a while.
  const bool root = ::geteuid() == 0;
  if (root && (::chmod(folder.path().c_str(), 0755) != 0 || ::setegid(65534) != 0 ||
               ::seteuid(65534) != 0)) {
    GTEST_SKIP() << "cannot switch to user nobody to test this";
  }
  expectRefused(path, 0);
  FfmpegReader reader(nullptr);
  reader.OpenFile(path);
  const std::string error = reader.lastError();
  if (root) {
    EXPECT_TRUE(::seteuid(0) == 0 && ::setegid(0) == 0);
  }
  EXPECT_NE(error.find("permission"), std::string::npos) << error;
}

TEST(OnlyTheAudioStream, ACoverPictureOrAVideoStreamIsIgnored) {
  const std::string cover = test::mp3WithCoverPicture(2 << 20);
  ASSERT_GT(fs::file_size(cover), 2'000'000u) << "cover too small";
  for (const std::string& path : {cover, test::wmaWithVideo()}) {
    ASSERT_FALSE(path.empty());
    SCOPED_TRACE(path);
    expectSameAsTheTool(path, 2);
    // A seek past the picture or among video packets lands as in a plain file.
    const auto reference = test::decodeWithFfmpegTool(path, 2);
    FfmpegReader reader(nullptr);
    ASSERT_EQ(reader.OpenFile(path), 0);
    EXPECT_EQ(reader.StreamFormat(), (AudioFormat{44100, 2}));
    const FrameCount target = reader.TotalSamples() / 2 + 11;
    ASSERT_EQ(reader.SeekSample(target), target);
    AudioBlock block;
    ASSERT_EQ(reader.ReadBlock(4410, block), ReadResult::Data);
    EXPECT_TRUE(
        std::equal(block.samples.begin(), block.samples.end(), reference.begin() + target * 2));
  }
}

}  // namespace
}  // namespace quillon::audio
