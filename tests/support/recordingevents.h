// A player's events written down in order, for tests of any player.
#pragma once

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "audio/playerevents.h"

namespace quillon::test {

struct RecordingEvents : audio::PlayerEvents {
  std::vector<std::string> log;
  std::vector<audio::FrameCount> timerSamples;
  std::string failure;              // the last DeviceFailed's reason
  std::function<void()> onRequest;  // e.g. feed a block, as a cart does

  void RequestOnLoadArray() override {
    log.push_back("request");
    if (onRequest) onRequest();
  }
  void EndPlay() override { log.push_back("end"); }
  void Timer(audio::FrameCount current, int, int) override {
    log.push_back("timer");
    timerSamples.push_back(current);
  }
  void DeviceFailed(const std::string& why) override {
    log.push_back("failed");
    failure = why;
  }
  int count(const std::string& e) const {
    return static_cast<int>(std::count(log.begin(), log.end(), e));
  }
};

}  // namespace quillon::test
