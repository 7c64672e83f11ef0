#include "asrun/asrunlog.h"

#include <gtest/gtest.h>

#include <fstream>

#include "asrun/asruncsv.h"
#include "asrun/csvreader.h"
#include "palette/testfiles.h"

namespace quillon::asrun {
namespace {

using namespace std::chrono;
using palette::test::readBytes;
using palette::test::TempFolder;
using palette::test::withFileSizeLimit;
using test::readCsv;

// Local 2026-12-07 at the given time, one hour ahead of UTC.
PlayRecord playAt(int hour, int minute, char letter) {
  PlayRecord play;
  play.start = sys_days(year(2026) / 12 / 7) + hours(hour - 1) + minutes(minute);
  play.utcOffset = hours(1);
  play.letter = letter;
  play.path = std::string("/jingles/") + letter + ".wav";
  play.title = std::string(1, letter) + ".wav";
  play.length = seconds(30);
  play.played = seconds(30);
  return play;
}

TEST(AsRunLog, MakesTheFolderAndWritesTheHeaderOnce) {
  TempFolder temp;
  const AsRunLog log(temp / "station" / "as-run");
  ASSERT_TRUE(log.append(playAt(8, 15, 'A')));
  ASSERT_TRUE(log.append(playAt(8, 16, 'B')));
  const auto records = readCsv(readBytes(temp / "station" / "as-run" / "2026-12-07.csv"));
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0][0], "start");
  EXPECT_EQ(records[1][0], "2026-12-07T08:15:00.000+01:00");
  EXPECT_EQ(records[1][1], "A");
  EXPECT_EQ(records[2][1], "B");
}

TEST(AsRunLog, AppendsToWhatIsThereAndNeverRewritesIt) {
  TempFolder temp;
  const std::string earlier =
      "start,letter,path,title,length,played,started_by,ended_by,passes\r\n"
      "2026-12-07T06:00:00.000+01:00,Z,/z.mp3,z.mp3,1.000,1.000,key,end,1\r\n";
  std::ofstream(temp / "2026-12-07.csv", std::ios::binary) << earlier;
  const AsRunLog log(temp.path());
  ASSERT_TRUE(log.append(playAt(9, 0, 'C')));
  const std::string after = readBytes(temp / "2026-12-07.csv");
  EXPECT_EQ(after.substr(0, earlier.size()), earlier);
  EXPECT_EQ(readCsv(after).size(), 3u);
}

TEST(AsRunLog, APlayAcrossMidnightStaysInTheDayItStarted) {
  TempFolder temp;
  const AsRunLog log(temp.path());
  PlayRecord late = playAt(23, 58, 'L');
  late.played = minutes(5);               // ends at 00:03 on the 8th
  PlayRecord early = playAt(24, 1, 'E');  // 00:01 on the 8th, written before the late one ends
  ASSERT_TRUE(log.append(early));
  ASSERT_TRUE(log.append(late));
  const auto seventh = readCsv(readBytes(temp / "2026-12-07.csv"));
  const auto eighth = readCsv(readBytes(temp / "2026-12-08.csv"));
  ASSERT_EQ(seventh.size(), 2u);
  ASSERT_EQ(eighth.size(), 2u);
  EXPECT_EQ(seventh[1][1], "L");
  EXPECT_EQ(seventh[1][5], "300.000");
  EXPECT_EQ(eighth[0][0], "start");  // each day's file has its own header
  EXPECT_EQ(eighth[1][0], "2026-12-08T00:01:00.000+01:00");
}

TEST(AsRunLog, AFolderThatCannotBeMadeIsReportedNotThrown) {
  TempFolder temp;
  // Below a regular file: no folder can be made there, even by root.
  std::ofstream(temp / "plain-file") << "x";
  const AsRunLog log(temp / "plain-file" / "as-run");
  AppendResult result = AppendResult::success();
  EXPECT_NO_THROW(result = log.append(playAt(8, 0, 'A')));
  EXPECT_FALSE(result);
  EXPECT_NE(result.message().find("plain-file"), std::string::npos) << result.message();
  // Once the way is clear the same log writes again.
  std::filesystem::remove(temp / "plain-file");
  EXPECT_TRUE(log.append(playAt(8, 1, 'B')));
  EXPECT_EQ(readCsv(readBytes(temp / "plain-file" / "as-run" / "2026-12-07.csv")).size(), 2u);
}

TEST(AsRunLog, ADayFileThatIsNotAFileIsReported) {
  TempFolder temp;
  std::filesystem::create_directory(temp / "2026-12-07.csv");
  const AsRunLog log(temp.path());
  const AppendResult result = log.append(playAt(8, 0, 'A'));
  EXPECT_FALSE(result);
  EXPECT_FALSE(result.message().empty());
  // The next day is unaffected.
  EXPECT_TRUE(log.append(playAt(24 + 8, 0, 'B')));
}

TEST(AsRunLog, AFullDiskIsReportedAndLeavesNoHalfLine) {
  TempFolder temp;
  const AsRunLog log(temp.path());
  ASSERT_TRUE(log.append(playAt(8, 0, 'A')));
  const std::string before = readBytes(temp / "2026-12-07.csv");
  // Room for a few more bytes but not a whole line.
  const std::optional<int> outcome = withFileSizeLimit(before.size() + 10, [&] {
    const AppendResult result = log.append(playAt(8, 1, 'B'));
    return result.ok() ? 1 : result.message().empty() ? 2 : 0;
  });
  ASSERT_TRUE(outcome.has_value());
  EXPECT_EQ(*outcome, 0);
  EXPECT_EQ(readBytes(temp / "2026-12-07.csv"), before);
  // With room again the next line follows the last whole one.
  ASSERT_TRUE(log.append(playAt(8, 2, 'C')));
  const auto records = readCsv(readBytes(temp / "2026-12-07.csv"));
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[2][1], "C");
}

}  // namespace
}  // namespace quillon::asrun
