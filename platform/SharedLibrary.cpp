#include "platform/SharedLibrary.h"

#include <dlfcn.h>

namespace tilewise {

SharedLibrary::SharedLibrary(const char* soname)
    : handle_(::dlopen(soname, RTLD_LAZY | RTLD_LOCAL)) {}

void* SharedLibrary::symbol(const char* name) {
    void* found = handle_ == nullptr ? nullptr : ::dlsym(handle_, name);
    missing_ = missing_ || found == nullptr;
    return found;
}

}  // namespace tilewise
