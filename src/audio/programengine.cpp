#include "audio/programengine.h"

#include "audio/portaudio/deviceplayer.h"

namespace quillon::audio {

ProgramEngine::ProgramEngine()
    : m_devices(m_scheduler,
                DeviceManager::Options{.openDefaultAtStart = true, .convertOnThread = true}) {}
ProgramEngine::~ProgramEngine() = default;

std::unique_ptr<Player> ProgramEngine::createPlayer() {
  return std::make_unique<DevicePlayer>(m_scheduler, m_devices);
}

}  // namespace quillon::audio
