// The length cache: an entry holds for one version of a file only, the
// least recently used entry goes first, and many threads may use it at once.
#include "audio/ffmpeg/lengthcache.h"

#include <gtest/gtest.h>

#include <thread>

namespace quillon::audio {
namespace {

FileIdentity file(const std::string& path, std::int64_t size = 1000, std::int64_t modified = 5,
                  std::uint64_t inode = 7) {
  return FileIdentity{path, size, modified, 1, inode};
}

KnownLength length(FrameCount frames) { return KnownLength{frames, AudioFormat{44100, 2}}; }

TEST(LengthCache, GivesBackWhatItKeptForTheSameVersionOfAFile) {
  LengthCache cache;
  EXPECT_FALSE(cache.find(file("/a.mp3")).has_value());
  cache.store(file("/a.mp3"), length(123456));
  const auto found = cache.find(file("/a.mp3"));
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(found->frames, 123456);
  EXPECT_EQ(found->format, (AudioFormat{44100, 2}));
  EXPECT_FALSE(cache.find(file("/b.mp3")).has_value());
}

TEST(LengthCache, ForgetsAFileThatChanged) {
  struct Change {
    const char* what;
    FileIdentity identity;
  };
  const Change changes[] = {
      {"size", file("/a.mp3", 999)},
      {"modification time", file("/a.mp3", 1000, 6)},
      {"inode (replaced by another file)", file("/a.mp3", 1000, 5, 8)},
  };
  for (const auto& change : changes) {
    LengthCache cache;
    cache.store(file("/a.mp3"), length(1));
    EXPECT_FALSE(cache.find(change.identity).has_value()) << change.what;
    EXPECT_EQ(cache.size(), 0u) << "the stale entry stays: " << change.what;
  }
}

TEST(LengthCache, ANewVersionReplacesTheOld) {
  LengthCache cache;
  cache.store(file("/a.mp3"), length(1));
  cache.store(file("/a.mp3", 2000), length(2));
  EXPECT_EQ(cache.size(), 1u);
  EXPECT_EQ(cache.find(file("/a.mp3", 2000))->frames, 2);
}

TEST(LengthCache, DropsTheLeastRecentlyUsedBeyondItsCapacity) {
  LengthCache cache(3);
  cache.store(file("/a"), length(1));
  cache.store(file("/b"), length(2));
  cache.store(file("/c"), length(3));
  ASSERT_TRUE(cache.find(file("/a")).has_value());  // /b is now the oldest
  cache.store(file("/d"), length(4));
  EXPECT_EQ(cache.size(), 3u);
  EXPECT_FALSE(cache.find(file("/b")).has_value());
  EXPECT_TRUE(cache.find(file("/a")).has_value());
  EXPECT_TRUE(cache.find(file("/c")).has_value());
  EXPECT_TRUE(cache.find(file("/d")).has_value());
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

}  // namespace
}  // namespace quillon::audio
