// The loudness cache: its file read back field by field, damage dropped; and
// the service over real files: a file measured once is known after a
// restart, measured again once touched, and a damaged cache file is rebuilt.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "audio/loudness/loudnesscache.h"
#include "audio/loudness/loudnessservice.h"
#include "audio/manualscheduler.h"
#include "audiofixtures.h"

namespace quillon::audio {
namespace {

namespace fs = std::filesystem;

const char* const kHeader = "quillon-loudness 1\n";

TEST(LoudnessCacheFile, KeepsEveryFieldAndDropsDamagedLines) {
  const LoudnessEntry a{{"/j/a b.mp3", 1234, 1700000000123456789, 2049, 77}, {-18.4, -0.25}};
  const LoudnessEntry b{{"/j/tab\there.wav", 0, -5, 18446744073709551615u, 1}, {-70.0, -40.5}};
  std::size_t rejected = 9;
  const auto back = parseLoudnessCache(formatLoudnessCache({a, b}), rejected);
  EXPECT_EQ(rejected, 0u);
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(back[0].file, a.file);
  EXPECT_EQ(back[0].loudness.integratedLufs, -18.4);
  EXPECT_EQ(back[0].loudness.truePeakDbtp, -0.25);
  EXPECT_EQ(back[1].file, b.file);

  const std::string good = "1\t2\t3\t4\t-20\t-3\t/ok.wav\n";
  const char* const damaged[] = {
      "1\t2\t3\t4\t-20\t-3\n",            // a field missing
      "x\t2\t3\t4\t-20\t-3\t/a.wav\n",    // not a number
      "-1\t2\t3\t4\t-20\t-3\t/a.wav\n",   // a negative size
      "1\t2\t3\t4\tnan\t-3\t/a.wav\n",    // not finite
      "1\t2\t3\t4\t-20\tinf\t/a.wav\n",   // not finite
      "1\t2\t3\t4\t20.5\t-3\t/a.wav\n",   // louder than any file can be
      "1\t2\t3\t4\t-20\t-3\trelative\n",  // not a full path
      "1\t2\t3\t4\t-20\t-3\t\n",          // no path
      "1 \t2\t3\t4\t-20\t-3\t/a.wav\n",   // a stray blank
      "1\t2\t3\t4\t-20\t-3\t/cut.wav",    // cut short: no line break
  };
  for (const char* line : damaged) {
    SCOPED_TRACE(line);
    const auto entries = parseLoudnessCache(std::string(kHeader) + good + line, rejected);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].file.path, "/ok.wav");
    EXPECT_EQ(rejected, 1u);
  }
  // Another format, or none: nothing is trusted.
  EXPECT_TRUE(parseLoudnessCache("quillon-loudness 2\n" + good, rejected).empty());
  EXPECT_TRUE(parseLoudnessCache(good, rejected).empty());
  EXPECT_TRUE(parseLoudnessCache(std::string("\0\xff\x01garbage", 10), rejected).empty());
}

// Answers every file with the same loudness and counts the measurements.
struct CountingMeasure {
  std::shared_ptr<std::atomic<int>> count = std::make_shared<std::atomic<int>>(0);
  LoudnessResult operator()(const std::string&, const std::atomic<bool>&) const {
    ++*count;
    return {LoudnessMeasurement{-31.5, -9.0}, {}};
  }
};

struct Answers : LoudnessEvents {
  int count = 0;
  void LoudnessAnswered() override { ++count; }
};

class LoudnessServiceTest : public ::testing::Test {
 public:
  // One run of the program: a service over the cache file, a meter measuring `path`.
  std::optional<LoudnessResult> measureOnce(const std::string& path) {
    LoudnessService service(measure, std::make_shared<LoudnessCache>(cacheFile), clock);
    auto meter = service.createMeter();
    Answers answers;
    meter->setEventHandler(&answers);
    meter->measure(path);
    EXPECT_TRUE(meter->pending());
    service.waitUntilSettled();
    clock.runPosted();
    EXPECT_EQ(answers.count, 1);
    EXPECT_FALSE(meter->pending());
    return meter->result();
  }

  test::ScratchFolder folder;
  std::string cacheFile = folder.file("cache/quillon/loudness.tsv");
  ManualScheduler clock;
  CountingMeasure measure;
};

TEST_F(LoudnessServiceTest, AFileIsMeasuredOnceUntilItChanges) {
  const std::string jingle = folder.file("jingle.wav");
  std::ofstream(jingle) << "some audio";

  auto first = measureOnce(jingle);
  ASSERT_TRUE(first && first->measurement);
  EXPECT_EQ(first->measurement->integratedLufs, -31.5);
  EXPECT_EQ(*measure.count, 1);

  // A restart: the file is known from the cache.
  auto again = measureOnce(jingle);
  ASSERT_TRUE(again && again->measurement);
  EXPECT_EQ(again->measurement->truePeakDbtp, -9.0);
  EXPECT_EQ(*measure.count, 1);

  // Touched: another version of the file, measured afresh.
  fs::last_write_time(jingle, fs::last_write_time(jingle) + std::chrono::seconds(1));
  measureOnce(jingle);
  EXPECT_EQ(*measure.count, 2);
  measureOnce(jingle);
  EXPECT_EQ(*measure.count, 2);
}

TEST_F(LoudnessServiceTest, ADamagedCacheIsRebuiltAndAMissingFileIsNotMeasured) {
  const std::string jingle = folder.file("jingle.wav");
  std::ofstream(jingle) << "some audio";
  measureOnce(jingle);
  // Garbage over the cache file: nothing of it is believed, the file is
  // measured again and the cache written whole.
  std::ofstream(cacheFile, std::ios::trunc) << "quillon-loudness 1\n\x01\x02 garbage\n";
  measureOnce(jingle);
  EXPECT_EQ(*measure.count, 2);
  std::ifstream in(cacheFile);
  std::stringstream text;
  text << in.rdbuf();
  std::size_t rejected = 0;
  EXPECT_EQ(parseLoudnessCache(text.str(), rejected).size(), 1u);
  EXPECT_EQ(rejected, 0u);

  const auto missing = measureOnce(folder.file("gone.wav"));
  ASSERT_TRUE(missing);
  EXPECT_FALSE(missing->measurement);
  EXPECT_NE(missing->error.find("gone.wav"), std::string::npos);
  EXPECT_EQ(*measure.count, 2);
}

}  // namespace
}  // namespace quillon::audio
