#include "support/fakemedia.h"

#include <algorithm>

namespace quillon::test {

namespace {

class FakeReader : public audio::Reader {
 public:
  explicit FakeReader(FakeMedia& media) : m_media(media) {}

  int OpenFile(const std::string& path) override {
    CloseFile();
    ++m_media.readerOpens;
    const FakeFile* file = m_media.find(path);
    if (!file || file->unreadable || !file->format.valid()) {
      m_error = "cannot open " + path;
      return m_status;
    }
    m_path = path;
    m_file = *file;
    m_status = 0;
    m_position = 0;
    return m_status;
  }
  int FileStatus() const override { return m_status; }
  FrameCount TotalSamples() const override { return m_status == 0 ? m_file.frames : 0; }
  AudioFormat StreamFormat() const override { return m_status == 0 ? m_file.format : AudioFormat{}; }

  audio::ReadResult ReadBlock(FrameCount frames, AudioBlock& block) override {
    block.samples.clear();
    block.channels = m_file.format.channels;
    block.sampleRate = m_file.format.sampleRate;
    if (m_status != 0 || !m_media.find(m_path)) {
      m_error = "file gone";
      return audio::ReadResult::Failed;
    }
    if (m_file.failReadAt >= 0 && m_position >= m_file.failReadAt) {
      m_error = "read error";
      return audio::ReadResult::Failed;
    }
    const FrameCount n = std::clamp<FrameCount>(m_file.frames - m_position, 0, frames);
    if (n == 0) return audio::ReadResult::End;
    const int ch = m_file.format.channels;
    block.samples.resize(static_cast<std::size_t>(n * ch));
    for (FrameCount f = 0; f < n; ++f) {
      for (int c = 0; c < ch; ++c) {
        block.samples[static_cast<std::size_t>(f * ch + c)] =
            m_file.silent ? std::int16_t{0} : FakeMedia::sampleAt(m_position + f, c);
      }
    }
    m_position += n;
    return audio::ReadResult::Data;
  }

  std::optional<FrameCount> SeekSample(FrameCount frame) override {
    if (m_status != 0 || frame < 0) {
      m_error = "cannot seek";
      return std::nullopt;
    }
    m_position = std::min(frame, m_file.frames);
    return m_position;
  }

  void CloseFile() override {
    m_status = -1;
    m_path.clear();
  }
  std::string lastError() const override { return m_error; }

 private:
  FakeMedia& m_media;
  FakeFile m_file;
  std::string m_path;
  int m_status = -1;
  FrameCount m_position = 0;
  std::string m_error;
};

class FakeInformation : public audio::Information {
 public:
  explicit FakeInformation(FakeMedia& media) : m_media(media) {}

  bool OpenInfo(const std::string& path) override {
    ++m_media.infoOpens;
    m_file = FakeFile{};
    m_file.format = {};
    const FakeFile* file = m_media.find(path);
    if (!file || file->unreadable || !file->format.valid()) {
      m_error = "cannot analyse " + path;
      return false;
    }
    m_file = *file;
    return true;
  }
  int InfoSampleRate() const override { return m_file.format.sampleRate; }
  FrameCount InfoTotalSamples() const override { return m_file.frames; }
  std::int64_t InfoDurationMs() const override {
    if (m_file.durationMs >= 0) return m_file.durationMs;
    return m_file.format.sampleRate > 0 ? m_file.frames * 1000 / m_file.format.sampleRate : 0;
  }
  std::string lastError() const override { return m_error; }

 private:
  FakeMedia& m_media;
  FakeFile m_file;
  std::string m_error;
};

}  // namespace

const FakeFile* FakeMedia::find(const std::string& path) const {
  const auto it = m_files.find(path);
  return it == m_files.end() ? nullptr : &it->second;
}

FakeFile* FakeMedia::find(const std::string& path) {
  const auto it = m_files.find(path);
  return it == m_files.end() ? nullptr : &it->second;
}

std::unique_ptr<audio::Reader> FakeMedia::createReader() {
  return std::make_unique<FakeReader>(*this);
}

std::unique_ptr<audio::Information> FakeMedia::createInformation() {
  return std::make_unique<FakeInformation>(*this);
}

}  // namespace quillon::test
