// Fake audio files held in memory, and a reader and an information that read
// them. Each frame's samples are a known function of its position, so a test
// can tell exactly which frame it is looking at. Readers may read on other
// threads while the test leaves the files alone.
#pragma once

#include <atomic>
#include <map>
#include <memory>
#include <string>

#include "audio/information.h"
#include "audio/reader.h"

namespace quillon::test {

using audio::AudioBlock;
using audio::AudioFormat;
using audio::FrameCount;

struct FakeFile {
  AudioFormat format{44100, 2};
  FrameCount frames = 0;
  std::int64_t durationMs = -1;  // -1: computed from frames and rate
  bool unreadable = false;       // open and analysis fail
  FrameCount failReadAt = -1;    // ReadBlock fails once the position reaches it
  bool silent = false;           // all samples 0
};

class FakeMedia {
 public:
  // The sample of `frame` on `channel`: a ramp that repeats every 16384
  // frames, channel 1 offset by one.
  static std::int16_t sampleAt(FrameCount frame, int channel) {
    return static_cast<std::int16_t>((frame % 16384) * 2 - 16384 + channel);
  }
  // The frame a left-channel sample came from, modulo 16384.
  static FrameCount frameOf(std::int16_t leftSample) { return (leftSample + 16384) / 2; }

  void add(const std::string& path, FakeFile file) { m_files[path] = file; }
  void remove(const std::string& path) { m_files.erase(path); }
  const FakeFile* find(const std::string& path) const;
  FakeFile* find(const std::string& path);

  std::unique_ptr<audio::Reader> createReader();
  std::unique_ptr<audio::Information> createInformation();

  // A count that any thread may raise (a read-ahead reader opens on its
  // workers); copied with the media.
  class Count {
   public:
    Count() = default;
    Count(const Count& other) : m_n(other.m_n.load()) {}
    Count& operator=(const Count& other) {
      m_n = other.m_n.load();
      return *this;
    }
    Count& operator++() {
      ++m_n;
      return *this;
    }
    operator int() const { return m_n.load(); }

   private:
    std::atomic<int> m_n{0};
  };

  // Calls made, for tests that check a file is not analysed twice.
  Count infoOpens;
  Count readerOpens;

 private:
  std::map<std::string, FakeFile> m_files;
};

}  // namespace quillon::test
