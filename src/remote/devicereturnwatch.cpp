#include "remote/devicereturnwatch.h"

namespace quillon::remote {

DeviceReturnWatch::DeviceReturnWatch(audio::Player& main, DeviceReturn::Host host,
                                     std::chrono::milliseconds period, QObject* parent)
    : QObject(parent), m_return(main, std::move(host)) {
  m_timer.setInterval(period);
  connect(&m_timer, &QTimer::timeout, this, [this] {
    ++m_checks;
    if (m_return.check() == DeviceReturn::Step::Returned) ++m_returns;
  });
  m_timer.start();
}

}  // namespace quillon::remote
