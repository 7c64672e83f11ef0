// A player that watches the DevicePlayer under a cart for the soak: it adds
// up underruns across plays, and at every Timer compares the position the
// cart is about to show (its offset plus the count) with the time the device
// has been playing this play on the soak's stepped clock. UI thread (the
// soak's one thread).
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>

#include "audio/portaudio/deviceplayer.h"
#include "cart/cartouche.h"

namespace quillon::soak {

class WatchedPlayer final : public audio::Player, private audio::PlayerEvents {
 public:
  WatchedPlayer(audio::UiScheduler& clock, audio::DeviceManager& devices)
      : m_clock(clock), m_inner(clock, devices) {
    m_inner.setEventHandler(this);
  }

  // The cart that owns this player; set once the cart exists.
  void watch(const cart::Cartouche* cart) { m_cart = cart; }

  // Underruns over every play so far.
  std::int64_t underruns() const { return m_underruns + m_inner.UnderrunCount(); }
  // Worst gaps seen, in ms: shown position minus the device's playing time
  // (positive: the display runs ahead).
  double lowestDriftMs() const { return m_lowestDriftMs; }
  double highestDriftMs() const { return m_highestDriftMs; }
  std::int64_t timerChecks() const { return m_checks; }
  // Clock time (ns) of the last Timer that moved the shown position.
  std::int64_t lastProgressNs() const { return m_lastProgressNs; }

  // --- Player, forwarded ---
  void setEventHandler(audio::PlayerEvents* handler) override { m_cartEvents = handler; }
  bool SetFormat(const audio::AudioFormat& format) override {
    m_rate = format.sampleRate;
    const bool set = m_inner.SetFormat(format);
    if (set) m_format = format;  // MsToSamples and SamplesToMs use it
    return set;
  }
  int OpenOutput() override {
    m_underruns += m_inner.UnderrunCount();  // a new play counts from 0
    m_playStartNs = m_clock.now().count();
    return m_inner.OpenOutput();
  }
  int OutputStatus() const override { return m_inner.OutputStatus(); }
  bool QueueBlock(audio::AudioBlock block) override { return m_inner.QueueBlock(std::move(block)); }
  void MarkEndOfFile() override { m_inner.MarkEndOfFile(); }
  void ResetOutput() override {
    m_playStartNs = m_clock.now().count();
    m_inner.ResetOutput();
  }
  void CloseOutput() override {
    m_underruns += m_inner.UnderrunCount();
    m_inner.CloseOutput();
  }
  audio::FrameCount PlayedSamples() const override { return m_inner.PlayedSamples(); }
  std::vector<std::int16_t> RecentSamples(int count) const override {
    return m_inner.RecentSamples(count);
  }
  std::int64_t UnderrunCount() const override { return m_inner.UnderrunCount(); }
  int DeviceCount() const override { return m_inner.DeviceCount(); }
  void SelectDevice(int device) override { m_inner.SelectDevice(device); }
  int CurrentDevice() const override { return m_inner.CurrentDevice(); }
  std::string DeviceName() const override { return m_inner.DeviceName(); }
  bool DeviceUsable() const override { return m_inner.DeviceUsable(); }
  bool DevicePresent() const override { return m_inner.DevicePresent(); }
  void RescanDevices() override { m_inner.RescanDevices(); }
  std::string lastError() const override { return m_inner.lastError(); }

 private:
  // --- PlayerEvents, checked then handed to the cart ---
  void RequestOnLoadArray() override {
    if (m_cartEvents) m_cartEvents->RequestOnLoadArray();
  }
  void EndPlay() override {
    if (m_cartEvents) m_cartEvents->EndPlay();
  }
  void DeviceFailed(const std::string& reason) override {
    if (m_cartEvents) m_cartEvents->DeviceFailed(reason);
  }
  void Timer(audio::FrameCount currentSamples, int left, int right) override {
    check(currentSamples);
    if (m_cartEvents) m_cartEvents->Timer(currentSamples, left, right);
  }

  void check(audio::FrameCount currentSamples) {
    const std::int64_t now = m_clock.now().count();
    const std::int64_t first = m_inner.firstFrameTime();
    // Until the device has mixed this play's first frame, `first` is still
    // the previous play's (a loop restarted from EndPlay can see a Timer
    // within the same device period): nothing to compare yet.
    if (m_cart == nullptr || !m_cart->Playing() || m_cart->Paused() || first == 0 ||
        first < m_playStartNs || m_rate <= 0) {
      return;
    }
    const audio::FrameCount shown = m_cart->SampleOffset() + currentSamples;
    if (shown != m_lastShown) {
      m_lastShown = shown;
      m_lastProgressNs = now;
    }
    // Played since the first frame of this play, in the file's frames, on
    // the stepped clock: the truth the display must keep to.
    const double played = static_cast<double>(now - first) * m_rate / 1e9;
    const double driftMs =
        (static_cast<double>(currentSamples) - played) * 1000.0 / static_cast<double>(m_rate);
    m_lowestDriftMs = std::min(m_lowestDriftMs, driftMs);
    m_highestDriftMs = std::max(m_highestDriftMs, driftMs);
    ++m_checks;
  }

  audio::UiScheduler& m_clock;
  audio::DevicePlayer m_inner;
  audio::PlayerEvents* m_cartEvents = nullptr;
  const cart::Cartouche* m_cart = nullptr;
  int m_rate = 0;
  std::int64_t m_underruns = 0;
  double m_lowestDriftMs = 0;
  double m_highestDriftMs = 0;
  std::int64_t m_checks = 0;
  audio::FrameCount m_lastShown = -1;
  std::int64_t m_lastProgressNs = 0;
  std::int64_t m_playStartNs = 0;  // clock time of this play's OpenOutput or ResetOutput
};

}  // namespace quillon::soak
