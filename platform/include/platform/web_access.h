// The web-access library: fetches a document named by URL into a local file.
//
// The library is a separate shared object with three entry points, loaded on
// first use. When it cannot be loaded every fetch fails, which callers treat
// like any failed fetch.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// The entry points, with the library's own names.
using NU_BeginSessionFn = std::int32_t (*)(std::int32_t, std::int32_t, std::int32_t);
using NU_GetURLFn = std::int32_t (*)(std::int32_t, const char*, const char*);
using NU_EndSessionFn = void (*)(std::int32_t);

// The file name the library is built as.
inline constexpr const char* kWebAccessLibraryName = "libsvgwebaccess.so";

class WebAccessLibrary {
  public:
    // Loaded on the first call; tried again only after SetLibraryPath.
    static WebAccessLibrary& Get();

    bool Available();
    // 0 when the library is not there.
    std::int32_t BeginSession(std::int32_t a, std::int32_t b, std::int32_t c);
    // 0 to 399: fetched; anything else: failed (-1 when the library is not there).
    std::int32_t GetURL(std::int32_t session, const char* url, const char* localPath);
    void EndSession(std::int32_t session);

    // Where to load from; empty goes back to the search. The search tries
    // $SVGFILTER_WEBACCESS, the folder of the module holding this code, the
    // build's own copy, then the loader's search path.
    static void SetLibraryPath(const std::string& path);

  private:
    WebAccessLibrary() = default;
    void Load();
    bool TryLoad(const std::string& path);

    bool tried_ = false;
    void* handle_ = nullptr;
    NU_BeginSessionFn begin_ = nullptr;
    NU_GetURLFn get_ = nullptr;
    NU_EndSessionFn end_ = nullptr;
    std::string path_;
};

}  // namespace platform
