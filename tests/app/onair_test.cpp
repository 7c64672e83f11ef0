// The status bar's content: the on-air list and the message area's rule.
#include <gtest/gtest.h>

#include "app/onairlist.h"
#include "app/statusmessages.h"
#include "cart/displayvalues.h"

namespace quillon::app {
namespace {

OnAirCart playing(const char* letter, const char* title, std::int64_t shownMs,
                  std::int64_t totalMs) {
  return {true, false, false, letter, title, shownMs, totalMs};
}

std::vector<std::string> texts(const OnAirList& list) {
  std::vector<std::string> all;
  for (const OnAirEntry& e : list.entries()) all.push_back(e.text);
  return all;
}

TEST(OnAirList, CartsAreListedInTheOrderTheyStartedAndLeaveWhenTheyStop) {
  OnAirList list;
  EXPECT_TRUE(list.entries().empty());
  list.update(2, playing("C", "Weather Sting.mp3", 0, 8000));
  list.update(0, playing("A", "Bed.wav", 0, 60000));
  list.update(25, playing("Z", "Laugh.ogg", 0, 3000));
  EXPECT_EQ(texts(list),
            (std::vector<std::string>{"C Weather Sting 0:08", "A Bed 1:00", "Z Laugh 0:03"}));
  // Updates keep the places; a cart that stops goes; one started again
  // joins the end.
  list.update(2, playing("C", "Weather Sting.mp3", 1000, 8000));
  list.update(0, {});
  EXPECT_EQ(texts(list), (std::vector<std::string>{"C Weather Sting 0:07", "Z Laugh 0:03"}));
  list.update(0, playing("A", "Bed.wav", 0, 60000));
  EXPECT_EQ(list.entries().back().index, 0);
  list.update(7, {});  // a cart that never played
  EXPECT_EQ(list.entries().size(), 3u);
}

// The time left rounds up: running time (rounded down) plus time left is the
// length, and 0:00 shows only at the very end.
TEST(OnAirList, TheCountdownAndTheRunningTimeAddUpToTheLength) {
  const struct {
    std::int64_t shownMs, totalMs;
    const char* running;
    const char* left;
  } cases[] = {
      {0, 8000, "00:00", "0:08"},    {300, 8000, "00:00", "0:08"},  {999, 8000, "00:00", "0:08"},
      {1000, 8000, "00:01", "0:07"}, {7999, 8000, "00:07", "0:01"}, {8000, 8000, "00:08", "0:00"},
      {8040, 8000, "00:08", "0:00"}, {0, 754321, "00:00", "12:35"}, {0, 6000000, "00:00", "100:00"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(cart::runningTimeText(c.shownMs), c.running) << c.shownMs;
    EXPECT_EQ(cart::timeLeftText(c.totalMs - c.shownMs), c.left) << c.shownMs;
    EXPECT_EQ(cart::countdownText(c.totalMs - c.shownMs), std::string("-") + c.left);
  }
}

TEST(OnAirList, TheLastSecondsOfACartThatWillStopAreMarked) {
  OnAirList list(5);
  list.update(0, playing("A", "a.wav", 2999, 8000));  // 5.001 s left
  EXPECT_FALSE(list.entries()[0].ending);
  list.update(0, playing("A", "a.wav", 3000, 8000));  // 5 s left
  EXPECT_TRUE(list.entries()[0].ending);
  OnAirCart bed = playing("B", "bed.wav", 7000, 8000);
  bed.loops = true;  // it starts again rather than end
  list.update(1, bed);
  EXPECT_FALSE(list.entries()[1].ending);
  OnAirCart paused = playing("C", "c.wav", 1000, 60000);
  paused.paused = true;
  list.update(2, paused);
  EXPECT_TRUE(list.entries()[2].paused);

  OnAirList longer(10);
  longer.update(0, playing("A", "a.wav", 0, 10000));
  EXPECT_TRUE(longer.entries()[0].ending);
}

TEST(OnAirList, TitlesLoseTheirEndingAndLongOnesAreCutAtWholeCharacters) {
  EXPECT_EQ(shortTitle("Weather Sting.mp3"), "Weather Sting");
  EXPECT_EQ(shortTitle("INTRO.WAV"), "INTRO");
  EXPECT_EQ(shortTitle("notes.txt"), "notes.txt");
  EXPECT_EQ(shortTitle(".mp3"), ".mp3");
  EXPECT_EQ(shortTitle("Morning Show Opener Long.ogg", 18), "Morning Show Opene…");
  EXPECT_EQ(shortTitle("Morning Show  Long", 13), "Morning Show…");  // no space before the cut
  // Eighteen Cyrillic letters fit; a nineteenth is cut whole (two bytes each).
  const std::string cyrillic = "Прогноз погоды утро.mp3";
  EXPECT_EQ(shortTitle(cyrillic, 18), "Прогноз погоды утр…");
  EXPECT_EQ(shortTitle("", 18), "");
  OnAirList list;
  list.update(0, playing("A", "", 0, 1000));
  EXPECT_EQ(list.entries()[0].text, "A 0:01");  // a title that could not be read
}

TEST(StatusMessages, AFailedDeviceComesFirstThenTheMostUrgentThenTheLatest) {
  StatusMessages m;
  EXPECT_EQ(m.shown(), nullptr);
  m.post({"Settings", "Quillon.ini: Seconds=90 is out of range", StatusUrgency::Warning});
  m.post({"As-run log", "cannot write asrun.csv", StatusUrgency::Failure});
  m.post({"Output device", "\"USB Audio\" failed", StatusUrgency::DeviceFailure});
  m.post({"As-run log", "still cannot write asrun.csv", StatusUrgency::Failure});
  ASSERT_NE(m.shown(), nullptr);
  EXPECT_EQ(m.shown()->subject, "Output device");
  EXPECT_EQ(m.count(), 3u);  // the log's second message replaced its first

  EXPECT_TRUE(m.resolve("Output device"));
  EXPECT_EQ(m.shown()->text, "still cannot write asrun.csv");
  // A less urgent message does not hide a more urgent one; an equal one does.
  m.post({"Palette", "2 files missing", StatusUrgency::Note});
  EXPECT_EQ(m.shown()->subject, "As-run log");
  m.post({"Recorder", "disk full", StatusUrgency::Failure});
  EXPECT_EQ(m.shown()->subject, "Recorder");
  // Replacing a message with a calmer one lets the next most urgent show.
  m.post({"Recorder", "recording again", StatusUrgency::Note});
  EXPECT_EQ(m.shown()->subject, "As-run log");

  EXPECT_FALSE(m.resolve("Nothing of the kind"));
  m.post({"", "no subject", StatusUrgency::Failure});
  m.post({"Empty", "", StatusUrgency::Failure});
  EXPECT_EQ(m.count(), 4u);
  for (const char* subject : {"Settings", "As-run log", "Palette", "Recorder"}) m.resolve(subject);
  EXPECT_EQ(m.shown(), nullptr);
}

}  // namespace
}  // namespace quillon::app
