// Loads a shared library, with everything it needs, into a link-map
// namespace of its own (dlmopen), so that a library whose state cannot be
// reset (JACK's client library after its server died) can be loaded afresh.
//
// Every namespace has its own copy of the C library, and each copy numbers
// its thread-specific keys (pthread_key_create) from 0, while all copies
// keep the values in the same per-thread table. A library in a new namespace
// would thus read, on the program's threads, values that the program's own
// libraries stored under the same numbers: JACK's client library took the
// UI thread for its own notification thread and refused to talk to its
// server, depending on which keys the rest of the program happened to use.
// The namespace's C library is loaded first and made to take `reservedKeys`
// keys that it never uses, so the library's own keys lie far above the
// program's.
// Any thread; the handles are never closed (the namespaces' libraries keep
// threads and state that cannot be torn down safely).
#pragma once

#include <dlfcn.h>

#include <string>

namespace quillon {

// Keys below this are left to the program's own namespace.
inline constexpr int kReservedThreadKeys = 256;

// The library's handle, or null with `error` set.
void* openIsolatedLibrary(const char* name, std::string& error);

// Looks `symbol` up in `handle` into `out`; when it is missing, sets `error`
// (unless an earlier lookup already did) to "<library> lacks <symbol>".
template <typename Function>
bool resolveSymbol(void* handle, const char* library, const char* symbol, Function& out,
                   std::string& error) {
  out = reinterpret_cast<Function>(dlsym(handle, symbol));
  if (out == nullptr && error.empty()) error = std::string(library) + " lacks " + symbol;
  return out != nullptr;
}

}  // namespace quillon
