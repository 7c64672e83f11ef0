// UiScheduler on Qt's event loop and the steady clock. UI thread.
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
  QObject m_context;  // posted tasks die with it
  std::map<TimerId, std::unique_ptr<QTimer>> m_timers;
  TimerId m_nextId = 1;
};

}  // namespace quillon::audio
