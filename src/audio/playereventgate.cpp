#include "audio/playereventgate.h"

namespace quillon::audio {

PlayerEventGate::PlayerEventGate(UiScheduler& scheduler)
    : m_scheduler(scheduler), m_state(std::make_shared<State>()) {}

PlayerEventGate::~PlayerEventGate() { m_state->handler = nullptr; }

void PlayerEventGate::setHandler(PlayerEvents* handler) { m_state->handler = handler; }

void PlayerEventGate::newGeneration() {
  ++m_state->generation;
  m_state->timerWaiting = false;
  m_state->requestWaiting = false;
}

template <typename Deliver>
void PlayerEventGate::postGuarded(Deliver deliver) {
  std::weak_ptr<State> weak = m_state;
  const std::uint64_t generation = m_state->generation;
  m_scheduler.post([weak, generation, deliver]() {
    const auto state = weak.lock();
    if (!state || state->generation != generation) return;
    deliver(*state);
  });
}

void PlayerEventGate::raiseRequestOnLoadArray() {
  if (m_state->requestWaiting) return;
  m_state->requestWaiting = true;
  postGuarded([](State& s) {
    s.requestWaiting = false;
    if (s.handler) s.handler->RequestOnLoadArray();
  });
}

void PlayerEventGate::raiseEndPlay() {
  postGuarded([](State& s) {
    if (s.handler) s.handler->EndPlay();
  });
}

void PlayerEventGate::raiseTimer(FrameCount currentSamples, int levelLeft, int levelRight) {
  m_state->timerSamples = currentSamples;
  m_state->timerLeft = levelLeft;
  m_state->timerRight = levelRight;
  if (m_state->timerWaiting) return;
  m_state->timerWaiting = true;
  postGuarded([](State& s) {
    s.timerWaiting = false;
    if (s.handler) s.handler->Timer(s.timerSamples, s.timerLeft, s.timerRight);
  });
}

void PlayerEventGate::raiseDeviceFailed(const std::string& reason) {
  postGuarded([reason](State& s) {
    if (s.handler) s.handler->DeviceFailed(reason);
  });
}

}  // namespace quillon::audio
