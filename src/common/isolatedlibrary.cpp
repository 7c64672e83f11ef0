#include "common/isolatedlibrary.h"

#include <dlfcn.h>
#include <pthread.h>

namespace quillon {

namespace {

std::string lastDlError() {
  const char* why = dlerror();
  return why != nullptr ? why : "unknown reason";
}

}  // namespace

void* openIsolatedLibrary(const char* name, std::string& error) {
  void* libc = dlmopen(LM_ID_NEWLM, "libc.so.6", RTLD_NOW | RTLD_LOCAL);
  if (libc == nullptr) {
    error = "cannot load a C library for " + std::string(name) + ": " + lastDlError();
    return nullptr;
  }
  Lmid_t space = LM_ID_BASE;
  if (dlinfo(libc, RTLD_DI_LMID, &space) != 0) {
    error = "cannot find the namespace of " + std::string(name) + ": " + lastDlError();
    return nullptr;
  }
  using KeyCreate = int (*)(pthread_key_t*, void (*)(void*));
  auto keyCreate = reinterpret_cast<KeyCreate>(dlsym(libc, "pthread_key_create"));
  if (keyCreate == nullptr) {
    error = "the C library for " + std::string(name) + " lacks pthread_key_create";
    return nullptr;
  }
  for (int i = 0; i < kReservedThreadKeys; ++i) {
    pthread_key_t key{};
    if (keyCreate(&key, nullptr) != 0) {
      error = "cannot set aside thread keys for " + std::string(name);
      return nullptr;
    }
  }
  void* handle = dlmopen(space, name, RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) error = lastDlError();
  return handle;
}

}  // namespace quillon
