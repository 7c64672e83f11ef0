// A library loaded into a namespace of its own must not see the program's
// thread-specific values: JACK's client library took the UI thread for its
// notification thread that way, and the program stayed silent.
#include "common/isolatedlibrary.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <pthread.h>

#include <vector>

namespace quillon {
namespace {

TEST(IsolatedLibrary, ItsThreadKeysLieAboveTheProgramsAndSeeNoneOfItsValues) {
  // The program's own keys, each holding a value on this thread.
  std::vector<pthread_key_t> ours(40);
  int marker = 0;
  for (pthread_key_t& key : ours) {
    ASSERT_EQ(pthread_key_create(&key, nullptr), 0);
    ASSERT_EQ(pthread_setspecific(key, &marker), 0);
  }

  std::string error;
  void* library = openIsolatedLibrary("libz.so.1", error);
  ASSERT_NE(library, nullptr) << error;
  // The namespace's own C library, as the loaded library sees it.
  using KeyCreate = int (*)(pthread_key_t*, void (*)(void*));
  using GetSpecific = void* (*)(pthread_key_t);
  auto keyCreate = reinterpret_cast<KeyCreate>(dlsym(library, "pthread_key_create"));
  auto getSpecific = reinterpret_cast<GetSpecific>(dlsym(library, "pthread_getspecific"));
  ASSERT_NE(keyCreate, nullptr);
  ASSERT_NE(getSpecific, nullptr);
  ASSERT_NE(reinterpret_cast<void*>(keyCreate), reinterpret_cast<void*>(&pthread_key_create))
      << "not a namespace of its own";

  // Keys the loaded library takes: none may share a number with ours.
  for (int i = 0; i < 64; ++i) {
    pthread_key_t theirs{};
    ASSERT_EQ(keyCreate(&theirs, nullptr), 0);
    EXPECT_GT(theirs, ours.back());
    EXPECT_EQ(getSpecific(theirs), nullptr) << "key " << theirs << " reads the program's value";
  }
  for (pthread_key_t key : ours) pthread_key_delete(key);
}

}  // namespace
}  // namespace quillon
