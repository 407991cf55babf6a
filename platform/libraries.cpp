// Shared libraries through the dynamic loader.
#include "platform/libraries.h"

#include <dlfcn.h>

namespace platform {

std::string OwnFolder() {
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(&OwnFolder), &info) == 0 || !info.dli_fname) return {};
    std::string file = info.dli_fname;
    const std::size_t slash = file.rfind('/');
    return slash == std::string::npos ? std::string() : file.substr(0, slash + 1);
}

void* LoadLibrary(const std::string& path) { return path.empty() ? nullptr : ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL); }

void* LibraryEntry(void* library, const char* name) { return library && name ? ::dlsym(library, name) : nullptr; }

int FreeLibrary(void* library) { return library && ::dlclose(library) == 0 ? 1 : 0; }

}  // namespace platform
