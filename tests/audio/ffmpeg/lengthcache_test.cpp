// The length cache: an entry holds for one version of a file only, the
// least recently used entry goes first, and many threads may use it at once.
#include "audio/ffmpeg/lengthcache.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "audio/ffmpeg/ffmpegmedia.h"
#include "playablefixtures.h"

namespace quillon::audio {
namespace {

FileIdentity file(const std::string& path, std::int64_t size = 1000, std::int64_t modified = 5,
                  std::uint64_t inode = 7) {
  return FileIdentity{path, size, modified, 1, inode};
}

KnownLength length(FrameCount frames) { return KnownLength{frames, AudioFormat{44100, 2}}; }

TEST(LengthCache, GivesBackWhatItKeptForTheSameVersionOfAFileOnly) {
  LengthCache cache;
  EXPECT_FALSE(cache.find(file("/a.mp3")).has_value());
  cache.store(file("/a.mp3"), length(123456));
  const auto found = cache.find(file("/a.mp3"));
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(found->frames, 123456);
  EXPECT_EQ(found->format, (AudioFormat{44100, 2}));
  EXPECT_FALSE(cache.find(file("/b.mp3")).has_value());
  cache.store(file("/a.mp3", 2000), length(2));  // a new version replaces the old
  EXPECT_EQ(cache.size(), 1u);
  EXPECT_EQ(cache.find(file("/a.mp3", 2000))->frames, 2);
}

TEST(LengthCache, ForgetsAFileThatChanged) {
  // Its size, its modification time, or its inode (replaced by another file).
  for (const FileIdentity& changed :
       {file("/a.mp3", 999), file("/a.mp3", 1000, 6), file("/a.mp3", 1000, 5, 8)}) {
    LengthCache cache;
    cache.store(file("/a.mp3"), length(1));
    EXPECT_FALSE(cache.find(changed).has_value());
    EXPECT_EQ(cache.size(), 0u) << "the stale entry stays";
  }
}

TEST(LengthCache, DropsTheLeastRecentlyUsedBeyondItsCapacity) {
  LengthCache cache(3);
  for (const char* path : {"/a", "/b", "/c"}) cache.store(file(path), length(1));
  ASSERT_TRUE(cache.find(file("/a")).has_value());  // /b is now the oldest
  cache.store(file("/d"), length(4));
  EXPECT_EQ(cache.size(), 3u);
  EXPECT_FALSE(cache.find(file("/b")).has_value());
  for (const char* path : {"/a", "/c", "/d"}) EXPECT_TRUE(cache.find(file(path)).has_value());
}

TEST(LengthCache, ManyThreadsAtOnce) {
  LengthCache cache(16);
  std::vector<std::thread> threads;
  std::atomic<int> wrong{0};  // relaxed: only read after join
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&cache, &wrong, t] {
      for (int i = 0; i < 20000; ++i) {
        const int n = (i * 7 + t) % 40;
        const FileIdentity id = file("/f" + std::to_string(n), n);
        if (i % 3 == 0) {
          cache.store(id, length(n * 10));
        } else if (const auto found = cache.find(id); found && found->frames != n * 10) {
          wrong.fetch_add(1, std::memory_order_relaxed);
        }
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(wrong.load(), 0);
  EXPECT_LE(cache.size(), 16u);
}

TEST(LengthCacheInUse, AFileReplacedAfterItsBindIsCountedAfresh) {
  namespace fs = std::filesystem;
  const test::AudioFixture& first = test::playableFixtures().front();
  const test::AudioFixture& second = test::playableFixtures().back();
  test::ScratchFolder folder;
  const std::string path = folder.file("cart.wav");
  fs::copy_file(test::fixturePath(first), path);
  FfmpegMedia media;
  auto information = media.createInformation();
  ASSERT_TRUE(information->OpenInfo(path));
  ASSERT_EQ(information->InfoSampleRate(), first.rate);

  fs::copy_file(test::fixturePath(second), path, fs::copy_options::overwrite_existing);
  auto reader = media.createReader();
  ASSERT_EQ(reader->OpenFile(path), 0);
  EXPECT_EQ(reader->StreamFormat().sampleRate, second.rate);
  EXPECT_EQ(reader->TotalSamples(), second.sourceFrames());
  ASSERT_TRUE(information->OpenInfo(path));
  EXPECT_EQ(information->InfoTotalSamples(), second.sourceFrames());
}

}  // namespace
}  // namespace quillon::audio
