#include "audio/jack/jackbackend.h"

#include <jack/jack.h>

#include "audio/jack/jackstream.h"

namespace quillon::audio {

namespace {

// JACK's library writes every refused connection to stderr; the program says
// what matters itself. A function that returns at once is safe on any of
// JACK's threads.
void quiet(const char* /*message*/) {}

// A client of the running server, never starting one; null when none runs.
jack_client_t* openClient(const char* name) {
  jack_status_t status{};
  return jack_client_open(name, JackNoStartServer, &status);
}

std::vector<std::string> playbackPorts(jack_client_t* client) {
  std::vector<std::string> names;
  const char** ports = jack_get_ports(client, nullptr, JACK_DEFAULT_AUDIO_TYPE,
                                      JackPortIsInput | JackPortIsPhysical);
  if (ports == nullptr) return names;
  for (const char** p = ports; *p != nullptr; ++p) names.emplace_back(*p);
  jack_free(static_cast<void*>(ports));
  return names;
}

}  // namespace

JackBackend::JackBackend() {
  jack_set_error_function(quiet);
  jack_set_info_function(quiet);
}

DeviceListing JackBackend::list() {
  DeviceListing listing;
  jack_client_t* client = openClient("Quillon-devices");
  if (client == nullptr) return listing;
  const auto pairs = pairPlaybackPorts(playbackPorts(client));
  jack_client_close(client);
  for (const JackPortPair& pair : pairs) {
    listing.devices.push_back({pair.name, listing.devices.empty()});
  }
  return listing;
}

std::unique_ptr<OutputStream> JackBackend::open(const std::string& name, std::string& error) {
  jack_client_t* client = openClient(kJackClientName);
  if (client == nullptr) {
    error = "no JACK server is running";
    return nullptr;
  }
  for (const JackPortPair& pair : pairPlaybackPorts(playbackPorts(client))) {
    if (pair.name == name) return JackStream::start(client, pair, error);
  }
  jack_client_close(client);
  error = "the JACK server has no ports " + name;
  return nullptr;
}

}  // namespace quillon::audio
