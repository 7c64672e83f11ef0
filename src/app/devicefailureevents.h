// The window's own player (AudioPlayerMain) plays nothing; of its events only
// a failure of its device matters, and it comes whether or not a cart plays,
// so the window can show it. UI thread.
#pragma once

#include <functional>
#include <string>
#include <utility>

#include "audio/playerevents.h"

namespace quillon::app {

class DeviceFailureEvents final : public audio::PlayerEvents {
 public:
  explicit DeviceFailureEvents(std::function<void(const std::string&)> onFailed)
      : m_onFailed(std::move(onFailed)) {}

  void RequestOnLoadArray() override {}
  void EndPlay() override {}
  void Timer(audio::FrameCount, int, int) override {}
  void DeviceFailed(const std::string& reason) override { m_onFailed(reason); }

 private:
  std::function<void(const std::string&)> m_onFailed;
};

}  // namespace quillon::app
