// The web-access library over libcurl.
//
// A session is a curl handle kept in a small table and named by its index,
// so the handle fits the 32-bit word callers pass around. A fetch writes to
// a temporary file beside the target and renames it into place only when the
// transfer succeeded, so a failed fetch never leaves a file that a later
// look-up would take for the document.
#include <curl/curl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

#define NU_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

constexpr long kConnectTimeoutSeconds = 20;
// A transfer slower than this many bytes a second for this long is given up.
constexpr long kLowSpeedBytes = 16;
constexpr long kLowSpeedSeconds = 60;
constexpr long kMaxRedirects = 10;

std::mutex tableLock;
std::vector<CURL*> sessions;  // index + 1 is the session handle

CURL* SessionHandle(std::int32_t session) {
    std::lock_guard<std::mutex> guard(tableLock);
    if (session <= 0 || static_cast<std::size_t>(session) > sessions.size()) return nullptr;
    return sessions[static_cast<std::size_t>(session) - 1];
}

// The caller names a file in a folder of its mapping; the folders between
// the host's folder and the file may not exist yet.
bool MakeParentFolders(const std::string& file) {
    for (std::size_t at = file.find('/', 1); at != std::string::npos; at = file.find('/', at + 1)) {
        const std::string level = file.substr(0, at);
        if (::mkdir(level.c_str(), 0777) != 0 && errno != EEXIST) return false;
    }
    return true;
}

std::size_t WriteToFile(char* data, std::size_t size, std::size_t count, void* file) {
    return std::fwrite(data, size, count, static_cast<std::FILE*>(file)) * size;
}

}  // namespace

// The three arguments select nothing here: every session fetches the same way.
NU_EXPORT std::int32_t NU_BeginSession(std::int32_t, std::int32_t, std::int32_t) {
    static const bool ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    if (!ready) return 0;
    CURL* curl = curl_easy_init();
    if (!curl) return 0;
    std::lock_guard<std::mutex> guard(tableLock);
    for (std::size_t i = 0; i < sessions.size(); ++i) {
        if (!sessions[i]) {
            sessions[i] = curl;
            return static_cast<std::int32_t>(i + 1);
        }
    }
    sessions.push_back(curl);
    return static_cast<std::int32_t>(sessions.size());
}

// 0 to 399: the document stands in localPath (the HTTP status, or 0 for
// schemes without one). Above 399: the server's error status. Below 0: the
// transfer failed (minus curl's code), or -1000 for a bad call or a local
// file that could not be written.
NU_EXPORT std::int32_t NU_GetURL(std::int32_t session, const char* url, const char* localPath) {
    CURL* curl = SessionHandle(session);
    if (!curl || !url || !*url || !localPath || !*localPath) return -1000;

    if (!MakeParentFolders(localPath)) return -1000;
    std::string temporary = std::string(localPath) + ".partXXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) return -1000;
    std::FILE* file = ::fdopen(fd, "wb");
    if (!file) {
        ::close(fd);
        ::unlink(temporary.c_str());
        return -1000;
    }

    curl_easy_reset(curl);
    curl_easy_setopt(curl, CURLOPT_URL, url);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https,ftp,file");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, kMaxRedirects);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, kLowSpeedBytes);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, kLowSpeedSeconds);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, WriteToFile);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, file);

    const CURLcode code = curl_easy_perform(curl);
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    const bool written = std::fclose(file) == 0;

    std::int32_t result = 0;
    if (code != CURLE_OK) {
        result = -static_cast<std::int32_t>(code);
    } else if (!written) {
        result = -1000;
    } else {
        result = static_cast<std::int32_t>(status);
    }
    if (result < 0 || result > 399 || std::rename(temporary.c_str(), localPath) != 0) {
        ::unlink(temporary.c_str());
        if (result >= 0 && result <= 399) result = -1000;
    }
    return result;
}

NU_EXPORT void NU_EndSession(std::int32_t session) {
    CURL* curl = nullptr;
    {
        std::lock_guard<std::mutex> guard(tableLock);
        if (session <= 0 || static_cast<std::size_t>(session) > sessions.size()) return;
        curl = sessions[static_cast<std::size_t>(session) - 1];
        sessions[static_cast<std::size_t>(session) - 1] = nullptr;
    }
    if (curl) curl_easy_cleanup(curl);
}
