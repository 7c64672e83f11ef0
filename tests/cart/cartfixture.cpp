#include "cartfixture.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <stdexcept>

namespace quillon::cart::test {

int RecordingPlayer::OpenOutput() {
  endRun();
  const int status = SimulatedPlayer::OpenOutput();
  if (status >= 0) {
    m_runs.emplace_back();
    m_running = true;
  }
  return status;
}

bool RecordingPlayer::QueueBlock(AudioBlock block) {
  AudioBlock copy = block;
  const bool ok = SimulatedPlayer::QueueBlock(std::move(block));
  if (ok && m_running) m_runs.back().blocks.push_back(std::move(copy));
  return ok;
}

void RecordingPlayer::ResetOutput() {
  const bool wasRunning = m_running;
  endRun();
  SimulatedPlayer::ResetOutput();
  if (wasRunning && OutputStatus() >= 0) {
    m_runs.emplace_back();
    m_running = true;
  }
}

void RecordingPlayer::CloseOutput() {
  endRun();
  SimulatedPlayer::CloseOutput();
}

void RecordingPlayer::endRun() {
  if (!m_running) return;
  m_runs.back().played = PlayedSamples();
  m_underruns += UnderrunCount();
  m_running = false;
}

std::vector<std::int16_t> RecordingPlayer::heardLeft() const {
  std::vector<std::int16_t> heard;
  for (std::size_t r = 0; r < m_runs.size(); ++r) {
    const Run& run = m_runs[r];
    FrameCount left = run.played >= 0 ? run.played : PlayedSamples();
    for (const AudioBlock& block : run.blocks) {
      const FrameCount n = std::min(left, block.frames());
      for (FrameCount f = 0; f < n; ++f) {
        heard.push_back(block.samples[static_cast<std::size_t>(f * block.channels)]);
      }
      left -= n;
    }
  }
  return heard;
}

std::vector<int> RecordingPlayer::blockGains(std::size_t run, FrameCount startFrame) const {
  std::vector<int> gains;
  FrameCount frame = startFrame;
  for (const AudioBlock& block : m_runs.at(run).blocks) {
    // Past the gain's glide, the frame with the largest source sample.
    const FrameCount glide = block.sampleRate * audio::Gain::kGlideMs / 1000;
    FrameCount best = -1;
    int bestSource = 0;
    for (FrameCount f = glide; f < block.frames(); ++f) {
      const int source = quillon::test::FakeMedia::sampleAt(frame + f, 0);
      if (std::abs(source) > std::abs(bestSource)) {
        bestSource = source;
        best = f;
      }
    }
    if (best < 0 || std::abs(bestSource) < 2000) {
      gains.push_back(-1);
    } else {
      const int out = block.samples[static_cast<std::size_t>(best * block.channels)];
      gains.push_back(static_cast<int>(std::lround(100.0 * out / bestSource)));
    }
    frame += block.frames();
  }
  return gains;
}

::testing::AssertionResult heardInOrder(const std::vector<std::int16_t>& heard, FrameCount first,
                                        FrameCount count) {
  if (static_cast<FrameCount>(heard.size()) != count) {
    return ::testing::AssertionFailure() << heard.size() << " frames heard, not " << count;
  }
  for (FrameCount i = 0; i < count; ++i) {
    if (heard[static_cast<std::size_t>(i)] != quillon::test::FakeMedia::sampleAt(first + i, 0)) {
      return ::testing::AssertionFailure() << "frame " << i << " heard out of order";
    }
  }
  return ::testing::AssertionSuccess();
}

namespace {

// Analyses every file "successfully" with no sample rate.
struct RatelessInformation : audio::Information {
  bool OpenInfo(const std::string&) override { return true; }
  int InfoSampleRate() const override { return 0; }
  FrameCount InfoTotalSamples() const override { return 1000; }
  std::int64_t InfoDurationMs() const override { return 0; }
  std::string lastError() const override { return {}; }
};

// Reads as the fake does, or throws while the engine says so.
class ThrowingReader : public audio::Reader {
 public:
  ThrowingReader(std::unique_ptr<audio::Reader> inner, const CartTestEngine::Throws& throws)
      : m_inner(std::move(inner)), m_throws(throws) {}
  int OpenFile(const std::string& path) override {
    if (m_throws.opens) throw std::runtime_error("decoder fault");
    return m_inner->OpenFile(path);
  }
  int FileStatus() const override { return m_inner->FileStatus(); }
  FrameCount TotalSamples() const override { return m_inner->TotalSamples(); }
  audio::AudioFormat StreamFormat() const override { return m_inner->StreamFormat(); }
  audio::ReadResult ReadBlock(FrameCount frames, AudioBlock& block) override {
    if (m_throws.reads) throw std::runtime_error("decoder fault");
    return m_inner->ReadBlock(frames, block);
  }
  std::optional<FrameCount> SeekSample(FrameCount frame) override {
    if (m_throws.seeks) throw std::runtime_error("decoder fault");
    return m_inner->SeekSample(frame);
  }
  void CloseFile() override {
    if (m_throws.closes) throw std::runtime_error("decoder fault");
    m_inner->CloseFile();
  }
  std::string lastError() const override { return m_inner->lastError(); }

 private:
  std::unique_ptr<audio::Reader> m_inner;
  const CartTestEngine::Throws& m_throws;
};

}  // namespace

std::unique_ptr<audio::Reader> CartTestEngine::createReader() {
  return std::make_unique<ThrowingReader>(FakeEngine::createReader(), throws);
}

std::unique_ptr<audio::Player> CartTestEngine::createPlayer() {
  auto player = std::make_unique<RecordingPlayer>(clock, devices);
  lastPlayer = player.get();
  return player;
}

std::unique_ptr<audio::Information> CartTestEngine::createInformation() {
  if (rateless) return std::make_unique<RatelessInformation>();
  return FakeEngine::createInformation();
}

}  // namespace quillon::cart::test
