// The length cache: an entry holds for one version of a file only, the
// least recently used entry goes first, and many threads may use it at once.
#include "audio/ffmpeg/lengthcache.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "audio/ffmpeg/ffmpegmedia.h"
#include "audio/ffmpeg/ffmpegreader.h"
#include "playablefixtures.h"

namespace quillon::audio {
namespace {

FileIdentity file(const std::string& path, std::int64_t size = 1000, std::int64_t modified = 5,
                  std::uint64_t inode = 7) {
  return FileIdentity{path, size, modified, 1, inode};
}

KnownLength length(FrameCount frames) { return KnownLength{frames, AudioFormat{44100, 2}}; }

TEST(LengthCache, KeepsOneVersionOfAFileAndDropsTheLeastRecentlyUsedBeyondItsCapacity) {
  LengthCache cache(3);
  EXPECT_FALSE(cache.find(file("/a.mp3")).has_value());
  cache.store(file("/a.mp3"), length(123456));
  ASSERT_TRUE(cache.find(file("/a.mp3")).has_value());
  EXPECT_EQ(cache.find(file("/a.mp3"))->frames, 123456);
  EXPECT_EQ(cache.find(file("/a.mp3"))->format, (AudioFormat{44100, 2}));
  cache.store(file("/a.mp3", 2000), length(2));  // a new version replaces the old
  EXPECT_EQ(cache.size(), 1u);
  EXPECT_EQ(cache.find(file("/a.mp3", 2000))->frames, 2);
  // A file that changed (its size, modification time, or inode: replaced by
  // another file) is forgotten.
  for (const FileIdentity& changed :
       {file("/a.mp3", 999), file("/a.mp3", 2000, 6), file("/a.mp3", 2000, 5, 8)}) {
    cache.store(file("/a.mp3", 2000), length(2));
    EXPECT_FALSE(cache.find(changed).has_value());
    EXPECT_EQ(cache.size(), 0u) << "the stale entry stays";
  }
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

TEST(LengthCacheInUse, AStartAfterABindCountsNothingAgainUnlessTheFileWasReplaced) {
  namespace fs = std::filesystem;
  // A first MP3 that only a count of every frame measures, then another one.
  const test::AudioFixture& first = test::fixtureNamed("long_vbr_noxing.mp3");
  const test::AudioFixture& second = test::fixtureNamed("cbr_xing_mono_8k.mp3");
  test::ScratchFolder folder;
  const std::string path = folder.file("cart.mp3");
  fs::copy_file(test::fixturePath(first), path);
  FfmpegMedia media;
  auto information = media.createInformation();
  ASSERT_TRUE(information->OpenInfo(path));
  const FrameCount counted = information->InfoTotalSamples();
  EXPECT_EQ(media.lengthCache().size(), 1u);
  auto reader = media.createReader();
  ASSERT_EQ(reader->OpenFile(path), 0);
  EXPECT_EQ(reader->TotalSamples(), counted);
  // Only what the first frame needs (a probe, headers, a packet) was read.
  EXPECT_LT(dynamic_cast<FfmpegReader&>(*reader).bytesRead(),
            static_cast<std::int64_t>(fs::file_size(path)) / 2);

  fs::copy_file(test::fixturePath(second), path, fs::copy_options::overwrite_existing);
  reader = media.createReader();
  ASSERT_EQ(reader->OpenFile(path), 0);
  EXPECT_EQ(reader->StreamFormat().sampleRate, second.rate);
  EXPECT_EQ(reader->TotalSamples(), second.sourceFrames());
  ASSERT_TRUE(information->OpenInfo(path));
  EXPECT_EQ(information->InfoTotalSamples(), second.sourceFrames());
}

}  // namespace
}  // namespace quillon::audio
