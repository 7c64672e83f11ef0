// A disk that stops answering, for tests: the reads of one file wait at the
// gate until the test opens it, so the test decides when a read returns and
// never sleeps on wall time. Any thread.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>

#include "audio/information.h"
#include "audio/reader.h"

namespace quillon::test {

class ReadGate {
 public:
  // Holds the calls on `path` from now on.
  void close(const std::string& path) {
    const std::lock_guard lock(m_mutex);
    m_path = path;
    m_closed = true;
  }
  // Lets every held call return, and later ones pass.
  void open() {
    const std::lock_guard lock(m_mutex);
    m_closed = false;
    m_changed.notify_all();
  }
  // Called before a call on `path`: waits while the gate holds that path.
  void pass(const std::string& path) {
    std::unique_lock lock(m_mutex);
    if (!m_closed || path != m_path) return;
    ++m_held;
    m_changed.notify_all();
    m_changed.wait(lock, [&] { return !m_closed; });
    --m_held;
    m_changed.notify_all();
  }
  // Waits until `n` calls are held.
  void waitUntilHeld(int n = 1) {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return m_held >= n; });
  }
  int held() const {
    const std::lock_guard lock(m_mutex);
    return m_held;
  }

 private:
  mutable std::mutex m_mutex;
  std::condition_variable m_changed;
  std::string m_path;
  bool m_closed = false;
  int m_held = 0;
};

// A reader whose open, reads and seeks of the gated file wait at the gate.
class GatedReader final : public audio::Reader {
 public:
  GatedReader(std::unique_ptr<audio::Reader> inner, ReadGate& gate)
      : m_inner(std::move(inner)), m_gate(gate) {}
  int OpenFile(const std::string& path) override {
    m_path = path;
    m_gate.pass(m_path);
    return m_inner->OpenFile(path);
  }
  int FileStatus() const override { return m_inner->FileStatus(); }
  audio::FrameCount TotalSamples() const override { return m_inner->TotalSamples(); }
  audio::AudioFormat StreamFormat() const override { return m_inner->StreamFormat(); }
  audio::ReadResult ReadBlock(audio::FrameCount frames, audio::AudioBlock& block) override {
    m_gate.pass(m_path);
    return m_inner->ReadBlock(frames, block);
  }
  std::optional<audio::FrameCount> SeekSample(audio::FrameCount frame) override {
    m_gate.pass(m_path);
    return m_inner->SeekSample(frame);
  }
  void CloseFile() override { m_inner->CloseFile(); }
  std::string lastError() const override { return m_inner->lastError(); }

 private:
  std::unique_ptr<audio::Reader> m_inner;
  ReadGate& m_gate;
  std::string m_path;
};

// An information whose analysis of the gated file waits at the gate.
class GatedInformation final : public audio::Information {
 public:
  GatedInformation(std::unique_ptr<audio::Information> inner, ReadGate& gate)
      : m_inner(std::move(inner)), m_gate(gate) {}
  bool OpenInfo(const std::string& path) override {
    m_gate.pass(path);
    return m_inner->OpenInfo(path);
  }
  int InfoSampleRate() const override { return m_inner->InfoSampleRate(); }
  audio::FrameCount InfoTotalSamples() const override { return m_inner->InfoTotalSamples(); }
  std::int64_t InfoDurationMs() const override { return m_inner->InfoDurationMs(); }
  std::string lastError() const override { return m_inner->lastError(); }

 private:
  std::unique_ptr<audio::Information> m_inner;
  ReadGate& m_gate;
};

}  // namespace quillon::test
