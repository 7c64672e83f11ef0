// One initialised copy of PortAudio. UI thread.
//
// Each copy is loaded into a link-map namespace of its own (dlmopen), so the
// program can start a fresh PortAudio after a device failure without ever
// shutting the old one down. That matters because, in PortAudio 19.6 as
// Debian ships it, once a JACK server has gone away under a running process,
// Pa_Terminate aborts the process (an assert on jack_deactivate's result) and
// stopping or closing a stream on that server waits ten minutes. A failed
// copy is therefore abandoned: never terminated, never unloaded. A healthy
// copy is re-initialised in place.
//
// The copy brings its own C library, which starts its threads, the device
// callback's among them. Such a thread may run the program's lock-free,
// allocation-free code (all the real-time contract allows anyway), but not
// the program's stdio or locale functions.
#pragma once

#include <portaudio.h>

#include <memory>
#include <string>

namespace quillon::audio {

// How the program shows in a JACK server's patchbay ("Quillon:out_0"…).
inline constexpr const char* kJackClientName = "Quillon";

class PortAudioLibrary {
 public:
  // Loads and initialises a fresh copy; null with `error` set on failure.
  static std::unique_ptr<PortAudioLibrary> load(std::string& error);
  // Terminates and unloads, unless abandoned.
  ~PortAudioLibrary();
  PortAudioLibrary(const PortAudioLibrary&) = delete;
  PortAudioLibrary& operator=(const PortAudioLibrary&) = delete;

  // Terminate and initialise again, to see devices that came or went.
  bool reinitialise(std::string& error);
  // After a device failure: leave this copy as it is, for good.
  void abandon() { m_abandoned = true; }
  bool abandoned() const { return m_abandoned; }

  std::string errorText(PaError code) const;

  // The entry points used, resolved in this copy.
  decltype(&Pa_Initialize) Initialize = nullptr;
  decltype(&Pa_Terminate) Terminate = nullptr;
  decltype(&Pa_GetErrorText) GetErrorText = nullptr;
  decltype(&Pa_GetDeviceCount) GetDeviceCount = nullptr;
  decltype(&Pa_GetDefaultOutputDevice) GetDefaultOutputDevice = nullptr;
  decltype(&Pa_GetDeviceInfo) GetDeviceInfo = nullptr;
  decltype(&Pa_GetHostApiInfo) GetHostApiInfo = nullptr;
  decltype(&Pa_OpenStream) OpenStream = nullptr;
  decltype(&Pa_StartStream) StartStream = nullptr;
  decltype(&Pa_StopStream) StopStream = nullptr;
  decltype(&Pa_CloseStream) CloseStream = nullptr;
  decltype(&Pa_IsStreamActive) IsStreamActive = nullptr;
  decltype(&Pa_SetStreamFinishedCallback) SetStreamFinishedCallback = nullptr;

 private:
  PortAudioLibrary() = default;
  bool resolve(std::string& error);

  void* m_handle = nullptr;
  bool m_initialised = false;
  bool m_abandoned = false;
};

}  // namespace quillon::audio
