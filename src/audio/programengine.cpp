#include "audio/programengine.h"

#include "audio/simulatedplayer.h"

namespace quillon::audio {

ProgramEngine::ProgramEngine() = default;
ProgramEngine::~ProgramEngine() = default;

std::unique_ptr<Player> ProgramEngine::createPlayer() {
  return std::make_unique<SimulatedPlayer>(m_scheduler, m_devices);
}

}  // namespace quillon::audio
