#include "remote/rtmidilibrary.h"

#include <dlfcn.h>

#include "common/isolatedlibrary.h"

namespace quillon::remote {

namespace {

// RtMidi 5's shared library, by its ABI name.
constexpr const char* kLibraryName = "librtmidi.so.6";

template <typename Function>
bool resolve(void* handle, const char* name, Function& out, std::string& error) {
  return resolveSymbol(handle, "RtMidi", name, out, error);
}

RtMidiLibrary load() {
  RtMidiLibrary library;
  std::string why;
  void* handle = openIsolatedLibrary(kLibraryName, why);
  if (handle == nullptr) {
    library.error = "cannot load RtMidi: " + why;
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
