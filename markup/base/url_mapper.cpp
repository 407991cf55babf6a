// URLMapper: the table of servers and the way from a URL to a local file.
#include "markup/url_mapper.h"

#include <cstring>

#include "path_form.h"
#include "platform/latin1_text.h"
#include "platform/path_queries.h"

namespace markup {

using detail::IsPathSeparator;
using detail::WithSeparator;

namespace {

constexpr const char kDefaultIndex[] = "index.htm";
// The module's own folder under the user's cache folder.
constexpr const char kCacheSubfolder[] = "svgfilter/";

// The unescaped path of a URL, cut at an embedded NUL: a file name ends there.
String UnescapedPath(const String& path) {
    String out(path);
    URLSpec::Unescape(out);
    const std::int32_t nul = out.Find('\0');
    if (nul >= 0) out.TruncateAt(static_cast<std::uint32_t>(nul));
    return out;
}

// A host becomes a folder name. A NUL in it would cut the folder the system
// makes (and every file name looked for in it) short of the one the entry
// records, and the host would share the entry of the name before the NUL.
// A separator would make it a path, and a host of dots alone (dots are
// dropped) would name the root folder itself, holding every host's files.
bool UsableHost(const String& host) {
    const char* p = host.Text();
    bool named = false;
    for (std::uint32_t i = 0; i < host.Length(); ++i) {
        if (p[i] == '\0' || IsPathSeparator(p[i])) return false;
        if (p[i] != '.') named = true;
    }
    return named;
}

}  // namespace

URLMapper::URLMapper() {
    Singleton<URLMapper>::CheckConstruction();
    const std::string cache = platform::UserCacheFolder();
    if (!cache.empty()) SetRootFolder(String(cache.c_str()) += kCacheSubfolder);
}

URLMapper::~URLMapper() {
    RemoveAllServers();
}

void URLMapper::RemoveAllServers() {
    while (UMServer* server = RemoveLast()) delete server;
}

void URLMapper::SetRootFolder(const String& folder) {
    rootFolder_ = folder.IsEmpty() ? folder : WithSeparator(detail::NormalizedPath(folder));
}

std::uint32_t URLMapper::Search(const String& name, bool& found) const {
    std::uint32_t low = 0;
    std::uint32_t high = Count();
    while (low < high) {
        const std::uint32_t middle = low + (high - low) / 2;
        const int order = platform::lstrcmpA(At(middle)->name.Text(), name.Text());
        if (order == 0) {
            found = true;
            return middle;
        }
        if (order < 0) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    found = false;
    return low;
}

UMServer* URLMapper::AddServer(const String& name, const String& folder) {
    const String key = detail::Lowered(detail::Trimmed(name));
    // Stored resolved, so that containment tests compare like with like.
    const String place = WithSeparator(detail::Folded(detail::NormalizedPath(detail::Trimmed(folder))));
    bool found = false;
    const std::uint32_t at = Search(key, found);
    if (found) return At(at);
    auto* server = new UMServer(key, place);
    InsertAt(at, server);
    return server;
}

UMServer* URLMapper::FindServerByName(const String& name) const {
    bool found = false;
    const std::uint32_t at = Search(name, found);
    return found ? At(at) : nullptr;
}

UMServer* URLMapper::ServerForHost(const String& host) {
    if (!UsableHost(host)) return nullptr;
    const String name = detail::Lowered(host);
    String folder = rootFolder_;
    const char* p = name.Text();
    for (std::uint32_t i = 0; i < name.Length(); ++i) {
        if (p[i] != '.') folder += p[i];
    }
    folder = WithSeparator(folder);
    // A folder that cannot be made still gets its entry: the later open of a
    // file in it fails with the stream's status.
    if (detail::IsPosixPath(folder)) platform::MakeFolders(folder.Text());
    return AddServer(name, folder);
}

UMServer* URLMapper::URLToLocalPath(const URLSpec& url, String& out, bool addIndex) {
    out.Empty();
    if (url.Kind() == kSchemeFile) {
        String path = UnescapedPath(url.PathRef());
        const char* p = path.Text();
        // "/d|/dir/f" and "/d:/dir/f" are drive paths; anything else that
        // starts with "/" is a POSIX path and stays as it is.
        if (p[0] == '/' && p[1] && (p[2] == ':' || p[2] == '|')) {
            path.Delete(0, 1);
            path.SetAt(1, ':');
            char* bytes = nullptr;
            path.GetBuffer(bytes);
            for (std::uint32_t i = 0; i < path.Length(); ++i) {
                if (bytes[i] == '/') bytes[i] = '\\';
            }
        }
        out = path;
        return nullptr;
    }

    const String host = detail::Lowered(url.HostRef());
    if (!UsableHost(host)) return nullptr;
    UMServer* server = FindServerByName(host);
    if (!server) server = ServerForHost(host);
    if (!server) return nullptr;

    const char separator = detail::SeparatorOf(server->folder);
    if (!url.QueryRef().IsEmpty()) {
        // Each query answer is a document of its own: the first free name.
        for (int n = 1; n > 0; ++n) {
            queryFileName_.Format("Query%d.htm", n);
            out = server->folder;
            out += queryFileName_;
            if (!FileExists(out)) break;
        }
        return server;
    }

    out = server->folder;
    // Dot segments are resolved here so that no URL reaches above the
    // entry's folder.
    out += detail::NormalizedSegments(UnescapedPath(url.PathRef()), separator);
    if (addIndex && url.FileName().IsEmpty()) {
        out = WithSeparator(out);
        out += defaultDocument_.IsEmpty() ? String(kDefaultIndex) : defaultDocument_;
    }
    return server;
}

String URLMapper::LinkFloor(const String& baseFolder) const {
    if (rootFolder_.IsEmpty()) return String();
    const String base = detail::WithSeparator(detail::Folded(baseFolder));
    const String root = detail::Folded(rootFolder_);
    if (!detail::HasPrefix(base, root)) return String();
    String floor;
    for (std::uint32_t i = 0; i < Count(); ++i) {
        const String& folder = At(i)->folder;
        if (folder.Length() > floor.Length() && detail::HasPrefix(base, folder) &&
            detail::HasPrefix(folder, root) && folder.Length() > root.Length())
            floor = folder;
    }
    if (!floor.IsEmpty()) return floor;
    // Host folders lie right below the root: a document below the root whose
    // host has no entry (yet) still keeps to the folder of its host.
    const std::int32_t end = base.Mid(root.Length()).Find(detail::SeparatorOf(root));
    return end < 0 ? root : base.Left(root.Length() + static_cast<std::uint32_t>(end) + 1);
}

bool URLMapper::Resolve(const String& urlText, const String& host, const String& baseText, String& out,
                        bool addIndex) {
    out.Empty();
    if (urlText.IsEmpty()) return true;
    // A document under the cache root came from a host: its links are paths
    // on that host, and ".." stops at the host's folder as it stops at a
    // URL's root, so that no document of a host names a file outside it.
    // The base is resolved first: "<root>/../" is no folder under the root.
    const String baseFolder = baseText.IsEmpty() ? baseText : detail::NormalizedPath(baseText);
    const String floor = LinkFloor(baseFolder);
    const bool cached = !floor.IsEmpty();
    // A local path is no URL: URL character rules do not apply to it. In a
    // document from a host, "/..." is root-relative, not a POSIX path, and
    // the other local forms name nothing on the host.
    const bool rootRelative = *urlText.CharPtrAt(0) == '/' && (!host.IsEmpty() || cached);
    if (IsLocalPath(urlText) && !rootRelative) {
        if (cached) return false;
        out = urlText;
        return true;
    }
    if (!IsValidURLText(urlText)) return false;
    URLSpec url;
    if (!url.Parse(urlText) || url.Kind() == kSchemeOther) return false;
    if (url.HasScheme()) {
        URLToLocalPath(url, out, addIndex);
        return !out.IsEmpty();
    }
    const String path = UnescapedPath(url.PathRef());
    if (url.IsRootRelative() && host.IsEmpty() && cached) {
        out = floor;
        out += detail::NormalizedSegments(path, detail::SeparatorOf(floor));
        return true;
    }
    if (url.IsRootRelative()) {
        const String name = detail::Lowered(host);
        if (!UsableHost(name)) return false;
        UMServer* server = FindServerByName(name);
        if (!server) server = ServerForHost(name);
        if (!server) return false;
        out = server->folder;
        out += detail::NormalizedSegments(path, detail::SeparatorOf(server->folder));
        return true;
    }
    if (cached) {
        String below = detail::WithSeparator(baseFolder).Mid(floor.Length());
        below += path;
        out = floor;
        out += detail::NormalizedSegments(below, detail::SeparatorOf(floor));
        return true;
    }
    // A link of a host's document whose folder is unknown has nothing to
    // stand on: joined onto no folder it would name a file of the working
    // directory.
    if (baseFolder.IsEmpty() && !host.IsEmpty()) return false;
    out = baseFolder;
    const char separator = detail::SeparatorOf(baseFolder);
    String relative(path);
    char* bytes = nullptr;
    if (relative.GetBuffer(bytes)) {
        for (std::uint32_t i = 0; i < relative.Length(); ++i) {
            if (IsPathSeparator(bytes[i])) bytes[i] = separator;
        }
    }
    return JoinPath(relative, out, separator);
}

}  // namespace markup
