// Finds and loads the filter module the way the host application does: as a
// shared library, reaching it only through its exported FilterEntry.
#ifndef HOST_MODULE_LOADER_H
#define HOST_MODULE_LOADER_H

#include <memory>
#include <string>

#include "svgfilter/filter_abi.h"

namespace host {

// Environment variable that names the module to load.
inline constexpr const char* kModulePathVariable = "SVGFILTER_MODULE";
inline constexpr const char* kModuleFileName = "libsvgfilter.so";

// $SVGFILTER_MODULE when set; else libsvgfilter.so in the running program's
// folder when it is there; else the module this build made.
std::string ResolveModulePath();
// The module this build made.
std::string DefaultModulePath();

class ModuleLibrary {
  public:
    // Loads the library at `path`; null with `error` set when it cannot be
    // loaded or does not export FilterEntry.
    static std::unique_ptr<ModuleLibrary> Open(const std::string& path, std::string* error);
    ~ModuleLibrary();
    ModuleLibrary(const ModuleLibrary&) = delete;
    ModuleLibrary& operator=(const ModuleLibrary&) = delete;

    svgf::FilterEntryFn Entry() const { return entry_; }
    const std::string& Path() const { return path_; }

  private:
    ModuleLibrary(void* handle, svgf::FilterEntryFn entry, std::string path)
        : handle_(handle), entry_(entry), path_(std::move(path)) {}

    void* handle_;
    svgf::FilterEntryFn entry_;
    std::string path_;
};

}  // namespace host

#endif  // HOST_MODULE_LOADER_H
