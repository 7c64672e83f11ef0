// Output on the JACK server of this session (the one JACK_DEFAULT_SERVER
// names, else "default"; PipeWire's JACK too), through JACK's own client
// library. A device is a pair of the server's playback ports.
//
// Why JACK directly rather than through PortAudio: PortAudio's JACK host API
// cannot survive its server's death (stopping, closing or terminating waits
// ten minutes, then aborts the process), while JACK's library tells the
// client within milliseconds and closes a dead client in tens of
// milliseconds, with nothing left behind, any number of times in a process.
// UI thread.
#pragma once

#include "audio/portaudio/outputbackend.h"

namespace quillon::audio {

// How the program shows in a JACK server's patchbay ("Quillon:out_0"…).
inline constexpr const char* kJackClientName = "Quillon";

class JackBackend : public OutputBackend {
 public:
  JackBackend();

  // No server running: no devices, and no error (a machine without JACK).
  DeviceListing list() override;
  std::unique_ptr<OutputStream> open(const std::string& name, std::string& error) override;
};

}  // namespace quillon::audio
