// Not built: a source that opens a library by name, for the check that such
// a library is in the package's Depends.
#include <dlfcn.h>

void* openByName() { return dlopen("libc.so.6", RTLD_NOW); }
