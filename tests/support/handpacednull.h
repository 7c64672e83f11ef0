// The null device with no clock thread of its own: its owner renders its
// mixer, period by period (tests and soaks on a stepped clock).
#pragma once

#include "audio/portaudio/devicemanager.h"

namespace quillon::test {

inline audio::DeviceManager::Options handPacedNullDevice(int rate, int periodFrames) {
  audio::DeviceManager::Options o;
  o.useSystemDevices = false;
  o.nullPacedByCaller = true;
  o.nullRate = rate;
  o.nullPeriodFrames = periodFrames;
  return o;
}

}  // namespace quillon::test
