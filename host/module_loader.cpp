// dlopen-based module loading and the search for the module file.
#include "host/module_loader.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace host {

std::string DefaultModulePath() {
    return SVGFILTER_DEFAULT_MODULE;
}

std::string ResolveModulePath() {
    if (const char* named = std::getenv(kModulePathVariable); named != nullptr && *named != '\0')
        return named;
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        const std::filesystem::path beside = program.parent_path() / kModuleFileName;
        if (std::filesystem::is_regular_file(beside, error)) return beside.string();
    }
    return DefaultModulePath();
}

std::unique_ptr<ModuleLibrary> ModuleLibrary::Open(const std::string& path, std::string* error) {
    // The module stays mapped after its last close, as the host application
    // keeps it: the markup engine's singletons (the dictionary registry, the
    // URL mapper) live as long as the process that made them.
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (handle == nullptr) {
        if (error) *error = dlerror();
        return nullptr;
    }
    void* symbol = dlsym(handle, "FilterEntry");
    if (symbol == nullptr) {
        if (error) *error = path + ": no FilterEntry";
        dlclose(handle);
        return nullptr;
    }
    return std::unique_ptr<ModuleLibrary>(
        new ModuleLibrary(handle, reinterpret_cast<svgf::FilterEntryFn>(symbol), path));
}

ModuleLibrary::~ModuleLibrary() {
    dlclose(handle_);
}

}  // namespace host
