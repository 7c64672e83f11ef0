#include "app/sessionend.h"

#include <fcntl.h>
#include <unistd.h>

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <iterator>
#include <utility>

namespace quillon::app {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT};

// The pipe's write end for the handler; -1 when none. Lock-free, so reading
// it in a signal handler is allowed. The handler may run on any thread:
// release on the store, acquire on the load, so it never sees -1 once
// installed. It is removed before the pipe is closed.
std::atomic<int> g_writeEnd{-1};
static_assert(std::atomic<int>::is_always_lock_free);

struct sigaction g_previous[std::size(kSignals)];

// Only async-signal-safe calls: write(2) on a non-blocking pipe (a full pipe
// already holds a byte that will be read, so a lost byte loses nothing).
extern "C" void onSignal(int signal) {
  const int savedErrno = errno;
  const int fd = g_writeEnd.load(std::memory_order_acquire);
  if (fd >= 0) {
    const auto byte = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
  }
  errno = savedErrno;
}

}  // namespace

SessionEnd::SessionEnd(std::function<void()> save, std::function<void()> end, QObject* parent)
    : QObject(parent), m_save(std::move(save)), m_end(std::move(end)) {
  if (auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    // The session manager asks before it ends the session; it may then
    // end the process by a signal or by closing the display connection.
    connect(application, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) {
      if (m_save) m_save();
    });
  }

  int fds[2];
  if (g_writeEnd.load(std::memory_order_relaxed) >= 0 ||
      ::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) {
    return;  // the signals keep their default action
  }
  m_readEnd = fds[0];
  g_writeEnd.store(fds[1], std::memory_order_release);
  m_notifier = new QSocketNotifier(m_readEnd, QSocketNotifier::Read, this);
  connect(m_notifier, &QSocketNotifier::activated, this, &SessionEnd::onSignalByte);

  struct sigaction action {};
  action.sa_handler = onSignal;
  sigemptyset(&action.sa_mask);
  // SA_RESETHAND: a second signal of the kind takes the default action.
  action.sa_flags = SA_RESTART | SA_RESETHAND;
  m_watching = true;
  for (std::size_t i = 0; i < std::size(kSignals); ++i) {
    if (::sigaction(kSignals[i], &action, &g_previous[i]) != 0) m_watching = false;
  }
}

SessionEnd::~SessionEnd() {
  if (m_readEnd < 0) return;
  for (std::size_t i = 0; i < std::size(kSignals); ++i) {
    ::sigaction(kSignals[i], &g_previous[i], nullptr);
  }
  const int writeEnd = g_writeEnd.exchange(-1, std::memory_order_relaxed);
  ::close(writeEnd);
  delete m_notifier;
  ::close(m_readEnd);
}

void SessionEnd::onSignalByte() {
  unsigned char bytes[16];
  bool signalled = false;
  while (true) {
    const ssize_t got = ::read(m_readEnd, bytes, sizeof bytes);
    if (got > 0) {
      signalled = true;
      continue;
    }
    if (got < 0 && errno == EINTR) continue;
    break;  // empty (EAGAIN) or closed
  }
  if (!signalled) return;
  if (m_save) m_save();
  if (m_end) m_end();
}

}  // namespace quillon::app
