#include "asrun/asrunwriter.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <mutex>

#include "asrun/csvreader.h"
#include "palette/testfiles.h"

namespace quillon::asrun {
namespace {

using namespace std::chrono;
using palette::test::readBytes;
using palette::test::TempFolder;
using test::readCsv;

PlayRecord playOf(char letter) {
  PlayRecord play;
  play.start = sys_days(year(2026) / 12 / 7) + hours(9);
  play.letter = letter;
  play.path = std::string("/jingles/") + letter + ".wav";
  return play;
}

// The letters of the lines in the day's file, in order.
std::string lettersIn(const std::filesystem::path& folder) {
  std::string letters;
  const auto records = readCsv(readBytes(folder / "2026-12-07.csv"));
  for (std::size_t i = 1; i < records.size(); ++i) letters += records[i][1];
  return letters;
}

struct Told {
  std::mutex mutex;
  std::vector<std::string> troubles;
  int recoveries = 0;
  AsRunWriterCallbacks callbacks() {
    return {[this](const std::string& m) {
              const std::lock_guard lock(mutex);
              troubles.push_back(m);
            },
            [this] {
              const std::lock_guard lock(mutex);
              ++recoveries;
            }};
  }
};

TEST(AsRunWriter, AFolderThatCannotBeMadeIsToldOnceAndItsLinesWaitInOrderUntilItCan) {
  TempFolder temp;
  const std::filesystem::path blocker = temp / "reports";
  std::ofstream(blocker) << "a file where the folder should be";
  const std::filesystem::path folder = blocker / "as-run";
  Told told;
  AsRunWriter writer(folder, told.callbacks());
  for (char letter : {'A', 'B', 'C'}) {
    writer.played(playOf(letter));
    writer.drain();
  }
  EXPECT_EQ(writer.waiting(), 3u);
  {
    const std::lock_guard lock(told.mutex);
    ASSERT_EQ(told.troubles.size(), 1u);
    EXPECT_NE(told.troubles[0].find("reports"), std::string::npos) << told.troubles[0];
    EXPECT_EQ(told.recoveries, 0);
  }

  // The folder can be made again: the next play brings every line out.
  std::filesystem::remove(blocker);
  writer.played(playOf('D'));
  writer.drain();
  EXPECT_EQ(writer.waiting(), 0u);
  EXPECT_EQ(lettersIn(folder), "ABCD");
  const std::lock_guard lock(told.mutex);
  EXPECT_EQ(told.troubles.size(), 1u);
  EXPECT_EQ(told.recoveries, 1);
}

TEST(AsRunWriter, BeyondItsBoundTheOldestWaitingLinesGoAndTheEndWritesWhatWaits) {
  TempFolder temp;
  const std::filesystem::path blocker = temp / "reports";
  std::ofstream(blocker) << "x";
  {
    AsRunWriterOptions options;
    options.maxWaiting = 2;
    Told told;
    AsRunWriter writer(blocker, told.callbacks(), options);
    for (char letter : {'A', 'B', 'C', 'D'}) {
      writer.played(playOf(letter));
      writer.drain();
    }
    EXPECT_EQ(writer.waiting(), 2u);
    EXPECT_EQ(writer.dropped(), 2u);
    std::filesystem::remove(blocker);
    // Ending now: the two lines that wait are written before the writer goes.
  }
  EXPECT_EQ(lettersIn(blocker), "CD");
}

}  // namespace
}  // namespace quillon::asrun
