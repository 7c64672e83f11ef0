#include "asrun/asruncsv.h"

#include <gtest/gtest.h>

#include "asrun/csvreader.h"

namespace quillon::asrun {
namespace {

using namespace std::chrono;
using test::readCsv;

// 2026-12-07 08:15:00.123 UTC, from the calendar rather than from the code.
system_clock::time_point utc(int y, unsigned mo, unsigned d, int h, int mi, int s, int ms = 0) {
  return sys_days(year(y) / month(mo) / day(d)) + hours(h) + minutes(mi) + seconds(s) +
         milliseconds(ms);
}

PlayRecord jingle() {
  PlayRecord play;
  play.start = utc(2026, 12, 7, 7, 15, 0, 123);
  play.utcOffset = hours(1);
  play.letter = 'C';
  play.path = "/home/studio/jingles/intro.mp3";
  play.title = "intro.mp3";
  play.length = milliseconds(183250);
  play.played = milliseconds(61005);
  play.startedBy = StartCause::Midi;
  play.endedBy = EndReason::Stopped;
  return play;
}

TEST(AsRunCsv, HeaderAndPlainLineAsWrittenByHand) {
  EXPECT_EQ(csvHeader(), "start,letter,path,title,length,played,started_by,ended_by,passes\r\n");
  EXPECT_EQ(csvLine(jingle()),
            "2026-12-07T08:15:00.123+01:00,C,/home/studio/jingles/intro.mp3,intro.mp3,"
            "183.250,61.005,midi,stopped,1\r\n");
}

TEST(AsRunCsv, LocalTimeAndOffsetOnBothSidesOfUtc) {
  PlayRecord play = jingle();
  play.start = utc(2026, 7, 1, 2, 30, 5, 7);
  play.utcOffset = -(hours(3) + minutes(30));  // Newfoundland summer time
  EXPECT_EQ(localTimestamp(play), "2026-06-30T23:00:05.007-03:30");
  EXPECT_EQ(fileNameFor(play), "2026-06-30.csv");

  play.utcOffset = hours(5) + minutes(45);  // Nepal
  EXPECT_EQ(localTimestamp(play), "2026-07-01T08:15:05.007+05:45");

  play.utcOffset = seconds(0);
  EXPECT_EQ(localTimestamp(play), "2026-07-01T02:30:05.007+00:00");
}

TEST(AsRunCsv, FileIsTheLocalDayTheStartFellOn) {
  PlayRecord play = jingle();
  // 23:59:59.999 local on the 7th: still the 7th, however long it plays.
  play.start = utc(2026, 12, 7, 22, 59, 59, 999);
  play.played = minutes(10);
  EXPECT_EQ(fileNameFor(play), "2026-12-07.csv");
  // One millisecond later it is the 8th in local time, still the 7th in UTC.
  play.start += milliseconds(1);
  EXPECT_EQ(fileNameFor(play), "2026-12-08.csv");
  EXPECT_EQ(localTimestamp(play).substr(0, 23), "2026-12-08T00:00:00.000");
  // The year turns over too.
  play.start = utc(2026, 12, 31, 23, 30, 0);
  EXPECT_EQ(fileNameFor(play), "2027-01-01.csv");
}

TEST(AsRunCsv, EveryReasonAndCauseHasItsWord) {
  const std::pair<EndReason, const char*> reasons[] = {
      {EndReason::End, "end"},
      {EndReason::Stopped, "stopped"},
      {EndReason::Panic, "panic"},
      {EndReason::PanicFade, "panic-fade"},
      {EndReason::LoopStopped, "loop-stopped"},
      {EndReason::Replaced, "replaced"},
      {EndReason::DeviceChanged, "device-changed"},
      {EndReason::DeviceFailed, "device-failed"},
      {EndReason::FileFailed, "file-failed"},
      {EndReason::PaletteLoad, "palette-load"},
      {EndReason::New, "new"},
      {EndReason::Quit, "quit"},
  };
  for (const auto& [reason, word] : reasons) EXPECT_STREQ(endReasonName(reason), word);
  EXPECT_STREQ(startCauseName(StartCause::Key), "key");
  EXPECT_STREQ(startCauseName(StartCause::Click), "click");
  EXPECT_STREQ(startCauseName(StartCause::Midi), "midi");
  EXPECT_STREQ(startCauseName(StartCause::Osc), "osc");
}

TEST(AsRunCsv, HostilePathsAndTitlesReadBackWhole) {
  const std::string hostile[] = {
      "/music/Smith, John/hit.mp3",
      "/music/the \"best\" of/song.ogg",
      "/music/two\nlines/a.wav",
      "/music/cr\r\nlf/\"\",,\"/b.mp3",
      "\"",
      ",",
      "/música/été/naïve — ♪.mp3",
  };
  for (const std::string& path : hostile) {
    PlayRecord play = jingle();
    play.path = path;
    play.title = path;
    const auto records = readCsv(csvHeader() + csvLine(play) + csvLine(jingle()));
    ASSERT_EQ(records.size(), 3u) << path;
    ASSERT_EQ(records[1].size(), 9u) << path;
    EXPECT_EQ(records[1][2], path);
    EXPECT_EQ(records[1][3], path);
    EXPECT_EQ(records[1][8], "1");
    EXPECT_EQ(records[2][2], "/home/studio/jingles/intro.mp3");
  }
  // Plain text is not quoted: the files stay readable by eye.
  EXPECT_EQ(csvField("intro.mp3"), "intro.mp3");
  EXPECT_EQ(csvField("a\"b"), "\"a\"\"b\"");
}

TEST(AsRunCsv, LoopPassesAndDurationsBeyondAMinute) {
  PlayRecord play = jingle();
  play.passes = 3;
  play.length = milliseconds(6000);
  play.played = milliseconds(18000);
  play.endedBy = EndReason::LoopStopped;
  const auto records = readCsv(csvLine(play));
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0][4], "6.000");
  EXPECT_EQ(records[0][5], "18.000");
  EXPECT_EQ(records[0][7], "loop-stopped");
  EXPECT_EQ(records[0][8], "3");
}

}  // namespace
}  // namespace quillon::asrun
