// One kind of output device (JACK's ports, PortAudio's devices): lists its
// devices by name and opens a stream on one. The device manager keeps the
// numbers the rest of the program sees; a back end knows only names.
// UI thread.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "audio/portaudio/outputstream.h"

namespace quillon::audio {

struct BackendDevice {
  std::string name;
  // The device the back end would play to by default.
  bool isDefault = false;
};

struct DeviceListing {
  std::vector<BackendDevice> devices;
  // False: the back end could not read its devices again just now (PortAudio
  // cannot while one of its streams is open) and `devices` is its last list.
  bool fresh = true;
  // Why the list could not be read, for a person; empty when it could.
  std::string error;
};

class OutputBackend {
 public:
  virtual ~OutputBackend() = default;

  // Reads the devices of this kind now. Never closes or interrupts a stream.
  virtual DeviceListing list() = 0;
  // Opens and starts a stream on the device of that name; null with `error`
  // set when it cannot.
  virtual std::unique_ptr<OutputStream> open(const std::string& name, std::string& error) = 0;
  // False: list() can read the devices afresh only once every stream of this
  // back end is closed, so a reading closes the idle ones first.
  virtual bool listsWhileStreamsOpen() const { return true; }
};

}  // namespace quillon::audio
