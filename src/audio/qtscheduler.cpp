#include "audio/qtscheduler.h"

#include <QCoreApplication>
#include <vector>

namespace quillon::audio {

QtScheduler::QtScheduler() = default;
QtScheduler::~QtScheduler() = default;

void QtScheduler::post(std::function<void()> task) {
  QMetaObject::invokeMethod(&m_context, std::move(task), Qt::QueuedConnection);
}

TimerId QtScheduler::startRepeating(std::chrono::milliseconds period, std::function<void()> tick) {
  const TimerId id = m_nextId++;
  Group& group = m_groups[period];
  if (!group.timer) {
    group.timer = std::make_unique<QTimer>();
    group.timer->setTimerType(Qt::PreciseTimer);
    group.timer->setInterval(period);
    QObject::connect(group.timer.get(), &QTimer::timeout, &m_context,
                     [this, period] { fire(period); });
    group.timer->start();
  }
  group.ticks[id] = std::make_shared<const std::function<void()>>(std::move(tick));
  m_periodOf[id] = period;
  return id;
}

void QtScheduler::fire(std::chrono::milliseconds period) {
  // A tick may start or stop ticks, its own included: call those present
  // when the timer fired and still present when their turn comes.
  auto group = m_groups.find(period);
  if (group == m_groups.end()) return;
  std::vector<TimerId> due;
  due.reserve(group->second.ticks.size());
  for (const auto& entry : group->second.ticks) due.push_back(entry.first);
  for (TimerId id : due) {
    group = m_groups.find(period);
    if (group == m_groups.end()) return;
    const auto found = group->second.ticks.find(id);
    if (found == group->second.ticks.end()) continue;
    const Tick tick = found->second;  // outlives a stop from inside it
    (*tick)();
  }
}

void QtScheduler::stopRepeating(TimerId id) {
  const auto period = m_periodOf.find(id);
  if (period == m_periodOf.end()) return;
  const auto group = m_groups.find(period->second);
  m_periodOf.erase(period);
  if (group == m_groups.end()) return;
  group->second.ticks.erase(id);
  if (!group->second.ticks.empty()) return;
  // The last tick may be stopping itself from inside the timer's signal:
  // delete the timer once control is back in the loop.
  group->second.timer->stop();
  group->second.timer.release()->deleteLater();
  m_groups.erase(group);
}

void QtScheduler::processEvents() { QCoreApplication::processEvents(); }

std::chrono::nanoseconds QtScheduler::now() const {
  return std::chrono::steady_clock::now().time_since_epoch();
}

}  // namespace quillon::audio
