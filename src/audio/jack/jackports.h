// A JACK server's playback ports as output devices: its physical playback
// ports taken two by two in the server's order (playback_1 with playback_2,
// playback_3 with playback_4 ...), a last odd port alone, each pair named by
// its ports ("system:playback_1+2"). Plain C++, no server needed. Any thread.
#pragma once

#include <string>
#include <vector>

namespace quillon::audio {

struct JackPortPair {
  std::string name;
  std::vector<std::string> ports;  // one or two full port names
};

std::vector<JackPortPair> pairPlaybackPorts(const std::vector<std::string>& ports);

}  // namespace quillon::audio
