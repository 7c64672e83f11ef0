// Carries remote commands from the one thread that receives them (RtMidi's,
// which under JACK is the audio server's process thread, or the OSC
// receiver's) to the UI thread, through Qt's event loop: a lock-free
// single-producer queue, and an eventfd that wakes a socket notifier on the
// UI thread. Posting never allocates, locks or blocks.
//
// Created and destroyed on the UI thread; the producer must have stopped
// before it is destroyed.
#pragma once

#include <QObject>
#include <atomic>
#include <boost/lockfree/spsc_queue.hpp>
#include <cstdint>
#include <functional>
#include <string>

#include "remote/remotecommand.h"

class QSocketNotifier;

namespace quillon::remote {

class RemoteMailbox : public QObject {
 public:
  static constexpr std::size_t kCapacity = 256;

  // `deliver` runs on the UI thread for each command, in arrival order.
  explicit RemoteMailbox(std::function<void(const RemoteCommand&)> deliver,
                         QObject* parent = nullptr);
  ~RemoteMailbox() override;

  // False when the mailbox could not be set up (error() says why).
  bool ok() const { return m_wakeFd >= 0; }
  const std::string& error() const { return m_error; }

  // From the producer thread only. False (and counted) when the queue is
  // full: a flood of commands loses the newest, never blocks the sender.
  bool post(const RemoteCommand& command) noexcept;
  // Commands lost to a full queue. any thread
  std::uint64_t dropped() const { return m_dropped.load(std::memory_order_relaxed); }

 private:
  void drain();  // UI thread

  std::function<void(const RemoteCommand&)> m_deliver;
  boost::lockfree::spsc_queue<RemoteCommand, boost::lockfree::capacity<kCapacity>> m_queue;
  int m_wakeFd = -1;
  QSocketNotifier* m_notifier = nullptr;
  std::string m_error;
  // A statistic only: relaxed.
  std::atomic<std::uint64_t> m_dropped{0};
};

}  // namespace quillon::remote
