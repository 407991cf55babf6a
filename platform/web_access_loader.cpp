// Finding and loading the web-access library.
#include <cstdlib>

#include "platform/libraries.h"
#include "platform/web_access.h"

namespace platform {


WebAccessLibrary& WebAccessLibrary::Get() {
    static WebAccessLibrary library;
    return library;
}

void WebAccessLibrary::SetLibraryPath(const std::string& path) {
    WebAccessLibrary& library = Get();
    if (library.handle_) FreeLibrary(library.handle_);
    library.handle_ = nullptr;
    library.begin_ = nullptr;
    library.get_ = nullptr;
    library.end_ = nullptr;
    library.tried_ = false;
    library.path_ = path;
}

bool WebAccessLibrary::TryLoad(const std::string& path) {
    void* handle = LoadLibrary(path);
    if (!handle) return false;
    auto begin = reinterpret_cast<NU_BeginSessionFn>(LibraryEntry(handle, "NU_BeginSession"));
    auto get = reinterpret_cast<NU_GetURLFn>(LibraryEntry(handle, "NU_GetURL"));
    auto end = reinterpret_cast<NU_EndSessionFn>(LibraryEntry(handle, "NU_EndSession"));
    if (!begin || !get || !end) {
        FreeLibrary(handle);
        return false;
    }
    handle_ = handle;
    begin_ = begin;
    get_ = get;
    end_ = end;
    return true;
}

void WebAccessLibrary::Load() {
    if (tried_) return;
    tried_ = true;
    if (!path_.empty()) {
        TryLoad(path_);
        return;
    }
    if (const char* env = std::getenv("SVGFILTER_WEBACCESS"); env && *env && TryLoad(env)) return;
    if (const std::string own = OwnFolder(); !own.empty() && TryLoad(own + kWebAccessLibraryName)) return;
#ifdef SVGFILTER_WEBACCESS_BUILT
    if (TryLoad(SVGFILTER_WEBACCESS_BUILT)) return;
#endif
    TryLoad(kWebAccessLibraryName);
}

bool WebAccessLibrary::Available() {
    Load();
    return handle_ != nullptr;
}

std::int32_t WebAccessLibrary::BeginSession(std::int32_t a, std::int32_t b, std::int32_t c) {
    return Available() ? begin_(a, b, c) : 0;
}

std::int32_t WebAccessLibrary::GetURL(std::int32_t session, const char* url, const char* localPath) {
    return Available() ? get_(session, url ? url : "", localPath ? localPath : "") : -1;
}

void WebAccessLibrary::EndSession(std::int32_t session) {
    if (Available()) end_(session);
}

}  // namespace platform
