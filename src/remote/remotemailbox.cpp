#include "remote/remotemailbox.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#include <cstring>

namespace quillon::remote {

RemoteMailbox::RemoteMailbox(std::function<void(const RemoteCommand&)> deliver, QObject* parent)
    : QObject(parent), m_deliver(std::move(deliver)) {
  m_wakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  if (m_wakeFd < 0) {
    m_error = std::string("cannot create the remote control's wake-up: ") + std::strerror(errno);
    return;
  }
  m_notifier = new QSocketNotifier(m_wakeFd, QSocketNotifier::Read, this);
  connect(m_notifier, &QSocketNotifier::activated, this, &RemoteMailbox::drain);
}

RemoteMailbox::~RemoteMailbox() {
  delete m_notifier;
  if (m_wakeFd >= 0) ::close(m_wakeFd);
}

bool RemoteMailbox::post(const RemoteCommand& command) noexcept {
  if (m_wakeFd < 0 || !m_queue.push(command)) {
    m_dropped.fetch_add(1, std::memory_order_relaxed);
    return false;
  }
  // The counter only wakes the UI thread; the queue carries the commands. A
  // full counter (never in practice) still leaves the notifier readable.
  const std::uint64_t one = 1;
  [[maybe_unused]] const ssize_t written = ::write(m_wakeFd, &one, sizeof one);
  return true;
}

void RemoteMailbox::drain() {
  std::uint64_t wakes = 0;
  [[maybe_unused]] const ssize_t read = ::read(m_wakeFd, &wakes, sizeof wakes);
  // What arrives while these run is delivered here too or at the next wake.
  RemoteCommand command;
  while (m_queue.pop(command)) {
    if (m_deliver) m_deliver(command);
  }
}

}  // namespace quillon::remote
