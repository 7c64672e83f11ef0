// The Qt scheduler's repeating ticks: ticks of one period share a timer, and
// a tick may stop itself, others of its group, or start new ones.
#include "audio/qtscheduler.h"

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <vector>

namespace quillon::audio {
namespace {

using namespace std::chrono_literals;

void runLoopFor(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

TEST(QtSchedulerTest, TicksOfOnePeriodAllRunInTheirStartOrderEachPeriod) {
  QtScheduler scheduler;
  std::vector<char> calls;
  scheduler.startRepeating(10ms, [&] { calls.push_back('a'); });
  scheduler.startRepeating(10ms, [&] { calls.push_back('b'); });
  scheduler.startRepeating(30ms, [&] { calls.push_back('s'); });
  runLoopFor(75);
  const auto count = [&](char c) { return std::count(calls.begin(), calls.end(), c); };
  // About 7 periods of 10 ms and 2 of 30 ms (a busy machine may lose some).
  EXPECT_TRUE(count('a') >= 3 && count('a') <= 8) << count('a');
  EXPECT_EQ(count('a'), count('b'));
  EXPECT_TRUE(count('s') >= 1 && count('s') <= 3) << count('s');
  for (std::size_t i = 0; i + 1 < calls.size(); ++i) {
    EXPECT_TRUE(calls[i] != 'a' || calls[i + 1] == 'b') << i;
  }
}

TEST(QtSchedulerTest, ATickMayStopItselfOrOthersOfItsGroupOrStartANewOne) {
  QtScheduler scheduler;
  int first = 0, second = 0, third = 0, old = 0, next = 0, stopped = 0;
  TimerId idFirst = 0, idSecond = 0, idOld = 0;
  // One 10 ms group: the first stops itself and the second, due later in this same firing.
  idFirst = scheduler.startRepeating(10ms, [&] {
    ++first;
    scheduler.stopRepeating(idFirst);
    scheduler.stopRepeating(idSecond);
  });
  idSecond = scheduler.startRepeating(10ms, [&] { ++second; });
  scheduler.startRepeating(10ms, [&] { ++third; });
  // Alone in its 15 ms group (so the last of it): stops itself and starts another.
  idOld = scheduler.startRepeating(15ms, [&] {
    ++old;
    scheduler.stopRepeating(idOld);
    scheduler.startRepeating(15ms, [&] { ++next; });
  });
  // Stopped before it ran, twice; and an id never given out.
  const TimerId gone = scheduler.startRepeating(10ms, [&] { ++stopped; });
  scheduler.stopRepeating(gone);
  scheduler.stopRepeating(gone);
  scheduler.stopRepeating(12345);
  runLoopFor(75);
  EXPECT_EQ(first, 1);
  EXPECT_EQ(second, 0);
  EXPECT_GE(third, 2);
  EXPECT_EQ(old, 1);
  EXPECT_GE(next, 2);
  EXPECT_EQ(stopped, 0);
}

}  // namespace
}  // namespace quillon::audio
