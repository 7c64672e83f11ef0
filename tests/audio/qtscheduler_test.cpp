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
  EXPECT_GE(count('a'), 3);
  EXPECT_LE(count('a'), 8);
  EXPECT_EQ(count('a'), count('b'));
  EXPECT_GE(count('s'), 1);
  EXPECT_LE(count('s'), 3);
  for (std::size_t i = 0; i + 1 < calls.size(); ++i) {
    if (calls[i] == 'a') {
      EXPECT_EQ(calls[i + 1], 'b') << i;
    }
  }
}

TEST(QtSchedulerTest, ATickStoppingItselfAndAnotherOfItsGroupEndsBothAtOnce) {
  QtScheduler scheduler;
  int first = 0, second = 0, third = 0;
  TimerId idFirst = 0, idSecond = 0;
  idFirst = scheduler.startRepeating(10ms, [&] {
    ++first;
    scheduler.stopRepeating(idFirst);
    scheduler.stopRepeating(idSecond);  // due later in this same firing
  });
  idSecond = scheduler.startRepeating(10ms, [&] { ++second; });
  scheduler.startRepeating(10ms, [&] { ++third; });
  runLoopFor(45);
  EXPECT_EQ(first, 1);
  EXPECT_EQ(second, 0);
  EXPECT_GE(third, 2);
}

TEST(QtSchedulerTest, TheLastTickOfAPeriodMayStopItselfAndStartAnother) {
  QtScheduler scheduler;
  int old = 0, next = 0;
  TimerId id = 0;
  id = scheduler.startRepeating(10ms, [&] {
    ++old;
    scheduler.stopRepeating(id);
    scheduler.startRepeating(10ms, [&] { ++next; });
  });
  runLoopFor(45);
  EXPECT_EQ(old, 1);
  EXPECT_GE(next, 2);
}

TEST(QtSchedulerTest, StoppingAnUnknownOrStoppedTickDoesNothing) {
  QtScheduler scheduler;
  int calls = 0;
  const TimerId id = scheduler.startRepeating(10ms, [&] { ++calls; });
  scheduler.stopRepeating(id);
  scheduler.stopRepeating(id);
  scheduler.stopRepeating(12345);
  runLoopFor(30);
  EXPECT_EQ(calls, 0);
}

}  // namespace
}  // namespace quillon::audio
