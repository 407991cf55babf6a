// The calling order of the web-access library.
#include "markup/web_fetch.h"

#include "markup/url_mapper.h"
#include "platform/path_queries.h"
#include "platform/web_access.h"

namespace markup {

bool FetchIfMissing(const String& url, const String& localPath, std::int32_t sessionKind) {
    if (localPath.IsEmpty()) return false;
    if (FileExists(localPath)) return true;
    platform::WebAccessLibrary& web = platform::WebAccessLibrary::Get();
    const std::int32_t session = web.BeginSession(0, sessionKind, 0);
    const std::int32_t result = web.GetURL(session, url.Text(), localPath.Text());
    // Ended whatever the outcome, so a failed fetch does not keep its session.
    web.EndSession(session);
    if (result < 0 || result > 399) {
        // The file did not exist before; whatever stands there now is no
        // document and must not be taken for one later.
        platform::RemoveFile(localPath.Text());
        return false;
    }
    return FileExists(localPath);
}

}  // namespace markup
