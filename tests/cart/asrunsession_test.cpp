// A scripted session of several carts on the simulated engine and the
// manual clock, and what the carts report to the as-run log: every value
// expected below is worked out by hand from the script.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <memory>

#include "asrun/playreport.h"
#include "cartfixture.h"

namespace quillon::cart::test {
namespace {

using namespace std::chrono;
using asrun::EndReason;
using asrun::PlayRecord;
using asrun::StartCause;

// 2026-03-01 08:15:00 UTC when the manual clock starts.
const system_clock::time_point kSessionStart =
    sys_days(year(2026) / 3 / 1) + hours(8) + minutes(15);

struct RecordingReport : asrun::PlayReport {
  explicit RecordingReport(audio::ManualScheduler& clock) : clock(clock) {}
  system_clock::time_point now() const override {
    return kSessionStart + duration_cast<system_clock::duration>(clock.now());
  }
  void played(PlayRecord play) override { plays.push_back(std::move(play)); }
  audio::ManualScheduler& clock;
  std::vector<PlayRecord> plays;
};

// What a line says, in the units the expectations are written in.
struct Line {
  char letter;
  double startS;  // seconds after the session's start
  double playedS;
  StartCause startedBy;
  EndReason endedBy;
  int passes;
  bool operator==(const Line&) const = default;
};

void PrintTo(const Line& l, std::ostream* os) {
  *os << l.letter << " at " << l.startS << " s, " << l.playedS << " s heard, "
      << asrun::startCauseName(l.startedBy) << " -> " << asrun::endReasonName(l.endedBy) << ", "
      << l.passes << " pass(es)";
}

Line lineOf(const PlayRecord& p) {
  // Heard time to the nearest 10 ms: the simulated device plays in steps.
  const double played = std::round(static_cast<double>(p.played.count()) / 10.0) / 100.0;
  return {p.letter,  duration<double>(p.start - kSessionStart).count(),
          played,    p.startedBy,
          p.endedBy, p.passes};
}

class AsRunSession : public ::testing::Test {
 protected:
  void SetUp() override {
    // The offset written is the local one: pin it.
    setenv("TZ", "UTC", 1);
    tzset();
  }
  Cartouche& addCart(char letter, const std::string& path, double seconds) {
    engine.media.add(path, {{44100, 2}, framesOf(seconds)});
    carts.push_back(std::make_unique<Cartouche>(engine));
    Cartouche& c = *carts.back();
    c.SetMyLetter(std::string(1, letter));
    c.setPlayReport(&report);
    EXPECT_TRUE(c.SetTitle(path));
    return c;
  }
  // Runs the clock to `t` seconds after the start, in 10 ms steps.
  void runTo(double t) {
    const auto until = duration_cast<nanoseconds>(duration<double>(t));
    while (engine.clock.now() < until) engine.clock.advance(10ms);
  }
  std::vector<Line> lines() const {
    std::vector<Line> out;
    for (const PlayRecord& p : report.plays) out.push_back(lineOf(p));
    return out;
  }

  CartTestEngine engine;
  RecordingReport report{engine.clock};
  std::vector<std::unique_ptr<Cartouche>> carts;
};

TEST_F(AsRunSession, EachPlayIsOneLineWithItsTimeHeardAndHowItStartedAndEnded) {
  const std::string sponsorPath = "/jingles/Acme, \"the\" sponsor.wav";
  Cartouche& a = addCart('A', sponsorPath, 10);
  Cartouche& b = addCart('B', "/beds/bed.wav", 4);
  Cartouche& c = addCart('C', "/news/intro.wav", 30);
  Cartouche& d = addCart('D', "/fx/horn.wav", 20);
  Cartouche& e = addCart('E', "/fx/sweep.wav", 8);
  engine.media.add("/news/intro.wav", {{44100, 2}, framesOf(30), -1, false, framesOf(7)});

  a.KeyPressRacc("A");  // 0 s: A by key
  runTo(2);
  b.Setloop(1);
  b.playClick();  // 2 s: B looping by click, passes at 2, 6, 10
  runTo(3);
  a.pauseClick();                         // paused 3..5 s: heard 10 s in all, ends at 12 s
  c.KeyPressRacc("C", StartCause::Midi);  // 3 s, fails on reading 7 s in
  runTo(5);
  a.pauseClick();
  runTo(6);
  d.KeyPressRacc("D", StartCause::Osc);  // 6 s, the panic at 9 s
  runTo(9);
  d.stopPlaying();
  runTo(11);
  b.Setloop(0);  // in the third pass: B ends at 14 s
  runTo(15);
  e.playClick();  // 15 s; Shift+Escape at 16 s fades to silence by 18 s
  runTo(16);
  e.fadeOutAndStop(2000);
  runTo(16.4);
  b.playClick();  // 16.4 s: 4 s long, it ends on its own before the fade is over
  b.fadeOutAndStop(6000);
  runTo(19);
  a.KeyPressRacc("A");  // 19 s, emptied by a palette load at 20 s
  d.playClick();        // 19 s, replaced by a drop at 20.5 s
  runTo(20);
  a.StopMyplay(EndReason::PaletteLoad);
  runTo(20.5);
  engine.media.add("/fx/new.wav", {{44100, 2}, framesOf(5)});
  d.drop(std::vector<std::string>{"/fx/new.wav"});
  e.playClick();  // 20.5 s, its device changed at 21 s
  runTo(21);
  e.SetDevOutput(0);
  b.playClick();  // 21 s, stopped by its letter at 21.5 s, then again by click
  runTo(21.5);
  b.KeyPressRacc("B");
  b.playClick();  // 21.5 s, played out at 25.5 s
  d.playClick();  // 21.5 s (the new file), still playing at the quit
  runTo(26);
  d.StopMyplay(EndReason::Quit);

  const std::vector<Line> expected = {
      {'D', 6, 3, StartCause::Osc, EndReason::Panic, 1},
      {'C', 3, -1, StartCause::Midi, EndReason::FileFailed, 1},
      {'A', 0, 10, StartCause::Key, EndReason::End, 1},
      {'B', 2, 12, StartCause::Click, EndReason::LoopStopped, 3},
      {'E', 15, 3, StartCause::Click, EndReason::PanicFade, 1},
      {'A', 19, 1, StartCause::Key, EndReason::PaletteLoad, 1},
      {'B', 16.4, 4, StartCause::Click, EndReason::End, 1},
      {'D', 19, 1.5, StartCause::Click, EndReason::Replaced, 1},
      {'E', 20.5, 0.5, StartCause::Click, EndReason::DeviceChanged, 1},
      {'B', 21, 0.5, StartCause::Click, EndReason::Stopped, 1},
      {'B', 21.5, 4, StartCause::Click, EndReason::End, 1},
      {'D', 21.5, 4.5, StartCause::Click, EndReason::Quit, 1},
  };
  std::vector<Line> got = lines();
  // C's read of 7 s fails while the blocks read before it (at most 0.3 s)
  // still wait at the player: they are dropped unheard.
  ASSERT_EQ(got.size(), expected.size());
  EXPECT_GE(got[1].playedS, 6.7);
  EXPECT_LE(got[1].playedS, 7.0);
  got[1].playedS = -1;
  EXPECT_EQ(got, expected);

  // The rest of a line: the file as bound, its length, the UTC offset.
  ASSERT_GE(report.plays.size(), 3u);
  const PlayRecord& sponsor = report.plays[2];
  EXPECT_EQ(sponsor.path, sponsorPath);
  EXPECT_EQ(sponsor.title, "Acme, \"the\" sponsor.wav");
  EXPECT_EQ(sponsor.length, 10s);
  EXPECT_EQ(sponsor.utcOffset, 0s);
  EXPECT_EQ(report.plays.back().path, "/fx/new.wav");
  EXPECT_EQ(report.plays.back().length, 5s);
}

TEST_F(AsRunSession, AStartThatNeverSoundedAndACartEndedWithTheProgramAreHandledApart) {
  Cartouche& a = addCart('A', "/fx/a.wav", 10);
  // Gone before the start: the cart shows it missing, and no play is logged.
  engine.media.add("/fx/a.wav", {{44100, 2}, framesOf(10), -1, true});
  a.playClick();
  runTo(1);
  EXPECT_TRUE(report.plays.empty());

  // A cart still playing when it is destroyed (the window closed) reports
  // its play as ended by the quit.
  Cartouche& b = addCart('B', "/fx/b.wav", 10);
  b.playClick();
  runTo(3);
  carts.clear();
  ASSERT_EQ(report.plays.size(), 1u);
  EXPECT_EQ(lineOf(report.plays[0]), (Line{'B', 1, 2, StartCause::Click, EndReason::Quit, 1}));
}

}  // namespace
}  // namespace quillon::cart::test
