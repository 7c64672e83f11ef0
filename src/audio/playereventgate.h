// Delivers one player's events through the event loop, with two guarantees
// every player implementation shares:
// - an event raised before the player's last OpenOutput, ResetOutput or
//   CloseOutput is dropped (each event carries the generation it was raised in);
// - at most one Timer and one RequestOnLoadArray wait in the queue at a time:
//   a later Timer replaces the values of the waiting one instead of stacking.
// UI thread. Tasks already posted when the gate dies are dropped safely.
#pragma once

#include <memory>
#include <string>

#include "audio/playerevents.h"
#include "audio/scheduler.h"

namespace quillon::audio {

class PlayerEventGate {
 public:
  explicit PlayerEventGate(UiScheduler& scheduler);
  ~PlayerEventGate();
  PlayerEventGate(const PlayerEventGate&) = delete;
  PlayerEventGate& operator=(const PlayerEventGate&) = delete;

  void setHandler(PlayerEvents* handler);
  // The output state changed: everything raised so far is stale.
  void newGeneration();

  void raiseRequestOnLoadArray();
  void raiseEndPlay();
  void raiseTimer(FrameCount currentSamples, int levelLeft, int levelRight);
  void raiseDeviceFailed(const std::string& reason);

 private:
  struct State {
    PlayerEvents* handler = nullptr;
    std::uint64_t generation = 0;
    bool timerWaiting = false;
    bool requestWaiting = false;
    FrameCount timerSamples = 0;
    int timerLeft = 0;
    int timerRight = 0;
  };
  template <typename Deliver>
  void postGuarded(Deliver deliver);

  UiScheduler& m_scheduler;
  std::shared_ptr<State> m_state;
};

}  // namespace quillon::audio
