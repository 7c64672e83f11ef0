// UiScheduler on Qt's event loop and the steady clock. Repeating ticks of one
// period share one Qt timer: with 26 carts playing, each player's 10 ms
// service and 50 ms progress ticks would otherwise wake the UI thread some
// 3,000 times a second. A tick joins its group's phase, so its first call
// comes within one period of its start. UI thread.
#pragma once

#include <QObject>
#include <QTimer>
#include <map>
#include <memory>

#include "audio/scheduler.h"

namespace quillon::audio {

class QtScheduler : public UiScheduler {
 public:
  QtScheduler();
  ~QtScheduler() override;

  void post(std::function<void()> task) override;
  TimerId startRepeating(std::chrono::milliseconds period, std::function<void()> tick) override;
  void stopRepeating(TimerId id) override;
  void processEvents() override;
  std::chrono::nanoseconds now() const override;

 private:
  using Tick = std::shared_ptr<const std::function<void()>>;
  struct Group {
    std::unique_ptr<QTimer> timer;
    std::map<TimerId, Tick> ticks;  // in order of start
  };
  void fire(std::chrono::milliseconds period);

  QObject m_context;  // posted tasks die with it
  std::map<std::chrono::milliseconds, Group> m_groups;
  std::map<TimerId, std::chrono::milliseconds> m_periodOf;
  TimerId m_nextId = 1;
};

}  // namespace quillon::audio
