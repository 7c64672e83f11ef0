#include "remote/rtmidilibrary.h"

#include <dlfcn.h>

namespace quillon::remote {

namespace {

// RtMidi 5's shared library, by its ABI name.
constexpr const char* kLibraryName = "librtmidi.so.6";

template <typename Function>
bool resolve(void* handle, const char* name, Function& out, std::string& error) {
  out = reinterpret_cast<Function>(dlsym(handle, name));
  if (out == nullptr && error.empty()) error = std::string("RtMidi lacks ") + name;
  return out != nullptr;
}

RtMidiLibrary load() {
  RtMidiLibrary library;
  void* handle = dlmopen(LM_ID_NEWLM, kLibraryName, RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* why = dlerror();
    library.error = std::string("cannot load RtMidi: ") + (why != nullptr ? why : "unknown");
    return library;
  }
  std::string& e = library.error;
  resolve(handle, "rtmidi_in_create", library.inCreate, e);
  resolve(handle, "rtmidi_in_free", library.inFree, e);
  resolve(handle, "rtmidi_in_set_callback", library.inSetCallback, e);
  resolve(handle, "rtmidi_in_ignore_types", library.inIgnoreTypes, e);
  resolve(handle, "rtmidi_open_virtual_port", library.openVirtualPort, e);
  resolve(handle, "rtmidi_close_port", library.closePort, e);
  return library;  // the handle stays open for the process's life
}

}  // namespace

const RtMidiLibrary& RtMidiLibrary::instance() {
  static const RtMidiLibrary library = load();
  return library;
}

}  // namespace quillon::remote
