#include "app/temporaryengine.h"

#include "audio/simulatedplayer.h"

namespace quillon::app {

namespace {

constexpr const char* kNoDecoder = "No decoder in this build yet";

class RefusingReader : public audio::Reader {
 public:
  int OpenFile(const std::string&) override { return FileStatus(); }
  int FileStatus() const override { return -1; }
  audio::FrameCount TotalSamples() const override { return 0; }
  audio::AudioFormat StreamFormat() const override { return {}; }
  audio::ReadResult ReadBlock(audio::FrameCount, audio::AudioBlock& block) override {
    block.samples.clear();
    return audio::ReadResult::Failed;
  }
  std::optional<audio::FrameCount> SeekSample(audio::FrameCount) override { return std::nullopt; }
  void CloseFile() override {}
  std::string lastError() const override { return kNoDecoder; }
};

class RefusingInformation : public audio::Information {
 public:
  bool OpenInfo(const std::string&) override { return false; }
  int InfoSampleRate() const override { return 0; }
  audio::FrameCount InfoTotalSamples() const override { return 0; }
  std::int64_t InfoDurationMs() const override { return 0; }
  std::string lastError() const override { return kNoDecoder; }
};

}  // namespace

std::unique_ptr<audio::Reader> TemporaryEngine::createReader() {
  return std::make_unique<RefusingReader>();
}

std::unique_ptr<audio::Information> TemporaryEngine::createInformation() {
  return std::make_unique<RefusingInformation>();
}

std::unique_ptr<audio::Player> TemporaryEngine::createPlayer() {
  return std::make_unique<audio::SimulatedPlayer>(m_scheduler, m_devices);
}

}  // namespace quillon::app
