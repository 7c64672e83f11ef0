// RtMidi, loaded through its C interface into a link-map namespace of its
// own (dlmopen), once per process and never unloaded.
//
// Why not link it: RtMidi brings the ALSA and JACK client libraries into the
// program's own namespace, and the device layer's PortAudio copies (each in
// a namespace of its own, see PortAudioLibrary) then resolve ALSA's
// configuration functions into those libraries instead of their own, which
// crashes the first fresh PortAudio after a device failure. Kept apart, the
// two never meet. Any thread: loading is thread-safe, the entry points are
// plain C.
#pragma once

#include <rtmidi/rtmidi_c.h>

#include <string>

namespace quillon::remote {

struct RtMidiLibrary {
  // The process's copy; null entry points with `error` set when it cannot
  // be loaded.
  static const RtMidiLibrary& instance();

  std::string error;
  decltype(&rtmidi_in_create) inCreate = nullptr;
  decltype(&rtmidi_in_free) inFree = nullptr;
  decltype(&rtmidi_in_set_callback) inSetCallback = nullptr;
  decltype(&rtmidi_in_ignore_types) inIgnoreTypes = nullptr;
  decltype(&rtmidi_open_virtual_port) openVirtualPort = nullptr;
  decltype(&rtmidi_close_port) closePort = nullptr;

  bool ok() const { return error.empty(); }
};

}  // namespace quillon::remote
