// Output through PortAudio: ALSA's devices (a card, PulseAudio or PipeWire
// through ALSA's plugins) and the other platforms' devices. PortAudio's own
// JACK host API is kept out: JACK servers are the JACK back end's, since
// PortAudio's JACK host API cannot survive its server's death (see
// jackbackend.h), and a copy of PortAudio that ever saw a JACK server aborts
// the process when it is terminated after that server died.
//
// PortAudio reads its devices only when it is initialised, so a fresh list
// means terminating and initialising it again: that is done only while none
// of its streams is open (a stream being closed included); otherwise the last
// list stands, marked as not fresh. Process-wide: one at a time. UI thread.
#pragma once

#include <portaudio.h>

#include <atomic>
#include <memory>
#include <utility>
#include <vector>

#include "audio/portaudio/outputbackend.h"

namespace quillon::audio {

class PortAudioBackend : public OutputBackend {
 public:
  // Null with `error` set when PortAudio cannot start or is taken.
  static std::unique_ptr<PortAudioBackend> start(std::string& error);
  ~PortAudioBackend() override;

  DeviceListing list() override;
  std::unique_ptr<OutputStream> open(const std::string& name, std::string& error) override;
  bool listsWhileStreamsOpen() const override { return false; }

 private:
  PortAudioBackend() = default;
  bool initialise(std::string& error);
  void readDevices();

  bool m_initialised = false;
  bool m_listedSinceInitialise = false;
  // Names made unique (" #2" after the first of a name), with PortAudio's numbers.
  std::vector<std::pair<BackendDevice, PaDeviceIndex>> m_devices;
  // Streams not yet closed, counted by the streams themselves (they may be
  // closed on another thread, after this is gone).
  std::shared_ptr<std::atomic<int>> m_openStreams = std::make_shared<std::atomic<int>>(0);
};

}  // namespace quillon::audio
