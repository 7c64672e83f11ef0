#include "audio/portaudio/portaudiolibrary.h"

#include <dlfcn.h>

#include "common/isolatedlibrary.h"

namespace quillon::audio {

namespace {

// PortAudio v19's shared library, by its ABI name.
constexpr const char* kLibraryName = "libportaudio.so.2";

template <typename Function>
bool resolveOne(void* handle, const char* name, Function& out, std::string& error) {
  std::string why;  // the caller's error may hold an older message
  const bool found = resolveSymbol(handle, "PortAudio", name, out, why);
  if (!found) error = why;
  return found;
}

}  // namespace

std::unique_ptr<PortAudioLibrary> PortAudioLibrary::load(std::string& error) {
  std::unique_ptr<PortAudioLibrary> pa(new PortAudioLibrary);
  std::string why;
  pa->m_handle = openIsolatedLibrary(kLibraryName, why);
  if (pa->m_handle == nullptr) {
    error = "cannot load PortAudio (restart the program to use sound again): " + why;
    return nullptr;
  }
  if (!pa->resolve(error)) return nullptr;
  // Optional: a PortAudio built without JACK has no such entry point.
  using SetJackClientName = PaError (*)(const char*);
  if (auto setName =
          reinterpret_cast<SetJackClientName>(dlsym(pa->m_handle, "PaJack_SetClientName"))) {
    setName(kJackClientName);  // before Pa_Initialize, which opens the client
  }
  const PaError rc = pa->Initialize();
  if (rc != paNoError) {
    error = "cannot start PortAudio: " + pa->errorText(rc);
    return nullptr;
  }
  pa->m_initialised = true;
  return pa;
}

PortAudioLibrary::~PortAudioLibrary() {
  if (m_abandoned) return;
  if (m_initialised) Terminate();
  if (m_handle != nullptr) dlclose(m_handle);
}

bool PortAudioLibrary::reinitialise(std::string& error) {
  if (m_initialised) {
    const PaError rc = Terminate();
    m_initialised = false;
    if (rc != paNoError) {
      error = "cannot stop PortAudio: " + errorText(rc);
      return false;
    }
  }
  const PaError rc = Initialize();
  if (rc != paNoError) {
    error = "cannot start PortAudio: " + errorText(rc);
    return false;
  }
  m_initialised = true;
  return true;
}

std::string PortAudioLibrary::errorText(PaError code) const {
  const char* text = GetErrorText != nullptr ? GetErrorText(code) : nullptr;
  return text != nullptr ? text : "error " + std::to_string(code);
}

bool PortAudioLibrary::resolve(std::string& error) {
  return resolveOne(m_handle, "Pa_Initialize", Initialize, error) &&
         resolveOne(m_handle, "Pa_Terminate", Terminate, error) &&
         resolveOne(m_handle, "Pa_GetErrorText", GetErrorText, error) &&
         resolveOne(m_handle, "Pa_GetDeviceCount", GetDeviceCount, error) &&
         resolveOne(m_handle, "Pa_GetDefaultOutputDevice", GetDefaultOutputDevice, error) &&
         resolveOne(m_handle, "Pa_GetDeviceInfo", GetDeviceInfo, error) &&
         resolveOne(m_handle, "Pa_GetHostApiInfo", GetHostApiInfo, error) &&
         resolveOne(m_handle, "Pa_OpenStream", OpenStream, error) &&
         resolveOne(m_handle, "Pa_StartStream", StartStream, error) &&
         resolveOne(m_handle, "Pa_StopStream", StopStream, error) &&
         resolveOne(m_handle, "Pa_CloseStream", CloseStream, error) &&
         resolveOne(m_handle, "Pa_IsStreamActive", IsStreamActive, error) &&
         resolveOne(m_handle, "Pa_SetStreamFinishedCallback", SetStreamFinishedCallback, error);
}

}  // namespace quillon::audio
