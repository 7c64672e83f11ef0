// Runs DeviceReturn's check every few seconds on the UI thread's event loop
// (never on an audio thread). UI thread.
#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>

#include "remote/devicereturn.h"

namespace quillon::remote {

class DeviceReturnWatch : public QObject {
 public:
  DeviceReturnWatch(audio::Player& main, DeviceReturn::Host host, std::chrono::milliseconds period,
                    QObject* parent = nullptr);

  const DeviceReturn& state() const { return m_return; }
  // Checks made, and devices taken back, so far.
  int checks() const { return m_checks; }
  int returns() const { return m_returns; }

 private:
  DeviceReturn m_return;
  QTimer m_timer;
  int m_checks = 0;
  int m_returns = 0;
};

}  // namespace quillon::remote
