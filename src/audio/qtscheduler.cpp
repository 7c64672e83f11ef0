#include "audio/qtscheduler.h"

#include <QCoreApplication>

namespace quillon::audio {

QtScheduler::QtScheduler() = default;
QtScheduler::~QtScheduler() = default;

void QtScheduler::post(std::function<void()> task) {
  QMetaObject::invokeMethod(&m_context, std::move(task), Qt::QueuedConnection);
}

TimerId QtScheduler::startRepeating(std::chrono::milliseconds period, std::function<void()> tick) {
  const TimerId id = m_nextId++;
  auto timer = std::make_unique<QTimer>();
  timer->setTimerType(Qt::PreciseTimer);
  timer->setInterval(period);
  QObject::connect(timer.get(), &QTimer::timeout, &m_context, std::move(tick));
  timer->start();
  m_timers[id] = std::move(timer);
  return id;
}

void QtScheduler::stopRepeating(TimerId id) {
  // A tick may stop its own timer: delete it once control is back in the loop.
  auto it = m_timers.find(id);
  if (it == m_timers.end()) return;
  it->second->stop();
  it->second.release()->deleteLater();
  m_timers.erase(it);
}

void QtScheduler::processEvents() { QCoreApplication::processEvents(); }

std::chrono::nanoseconds QtScheduler::now() const {
  return std::chrono::steady_clock::now().time_since_epoch();
}

}  // namespace quillon::audio
