#include "audio/programengine.h"

#include "audio/loudness/filemeasure.h"
#include "audio/portaudio/deviceplayer.h"

namespace quillon::audio {

ProgramEngine::ProgramEngine()
    : m_devices(m_scheduler,
                DeviceManager::Options{.openDefaultAtStart = true, .convertOnThread = true}) {}
ProgramEngine::~ProgramEngine() = default;

std::unique_ptr<Player> ProgramEngine::createPlayer() {
  return std::make_unique<DevicePlayer>(m_scheduler, m_devices);
}

std::unique_ptr<LoudnessMeter> ProgramEngine::createLoudnessMeter() {
  if (!m_loudness) {
    m_loudness = std::make_unique<LoudnessService>(
        measureFileLoudness, std::make_shared<LoudnessCache>(defaultLoudnessCacheFile()),
        m_scheduler);
  }
  return m_loudness->createMeter();
}

}  // namespace quillon::audio
