// URLMapper: entries for local folders, and the way from a local file back
// to a URL.
#include <string>

#include "markup/server_dialogs.h"
#include "markup/url_mapper.h"
#include "path_form.h"
#include "platform/mapping_dialogs.h"

namespace markup {

using detail::IsPathSeparator;

namespace {

// String resources of the host.
constexpr unsigned kStr_MappingOverlaps = 10033;

// The name of a new local entry: "Local." + drive or share + last folder.
bool LocalEntryName(const String& folder, String& name) {
    const char* p = folder.Text();
    name = "Local.";
    std::uint32_t rootLength = 1;  // "/" of a POSIX folder
    if (detail::IsPosixPath(folder)) {
        // No drive: the entry is named after its folder alone.
    } else if (p[0] && p[1] == ':') {
        name += p[0];
        name += '.';
        rootLength = 3;
    } else if (p[0] == '\\' && p[1] == '\\' && folder.Length() >= 6) {
        const String rest = folder.Mid(2);
        const std::int32_t serverEnd = rest.Find('\\');
        if (serverEnd <= 0) return false;
        const String afterServer = rest.Mid(static_cast<std::uint32_t>(serverEnd) + 1);
        const std::int32_t shareEnd = afterServer.Find('\\');
        const String share =
            shareEnd < 0 ? afterServer : afterServer.Left(static_cast<std::uint32_t>(shareEnd));
        if (share.IsEmpty()) return false;
        name += rest.Left(static_cast<std::uint32_t>(serverEnd));
        name += '.';
        name += share;
        name += '.';
        rootLength = 2 + static_cast<std::uint32_t>(serverEnd) + 1 + share.Length() + 1;
    } else {
        return false;
    }
    if (folder.Length() > rootLength) {
        String trimmed(folder);
        trimmed.Truncate(trimmed.Length() - 1);
        String parent;
        String last;
        SplitPath(trimmed, parent, last);
        name += last;
    }
    char* bytes = nullptr;
    if (name.GetBuffer(bytes)) {
        for (std::uint32_t i = 0; i < name.Length(); ++i) {
            if (bytes[i] == ' ') bytes[i] = '_';
        }
    }
    return true;
}

String EscapedPath(const String& path) {
    String out(path);
    URLSpec::Escape(out);
    return out;
}

}  // namespace

UMServer* URLMapper::ServerHolding(const String& path) const {
    // The deepest folder wins: entries are kept in name order, so the first
    // one that holds the path may be a wide one over a narrower site.
    UMServer* holder = nullptr;
    for (std::uint32_t i = 0; i < Count(); ++i) {
        UMServer* server = At(i);
        if (detail::HasPrefix(path, server->folder) &&
            (!holder || server->folder.Length() > holder->folder.Length()))
            holder = server;
    }
    return holder;
}

UMServer* URLMapper::ServerForLocalPath(const String& path, bool create, bool quiet) {
    // Matched in its resolved form: "<site>/../secret/x" lies outside the site.
    const String resolved = detail::NormalizedPath(path);
    const String folded = detail::Folded(resolved);
    if (UMServer* holder = ServerHolding(folded)) return holder;
    if (!create) return nullptr;

    String folder = StripFileName(folded);
    // A file system's root as a site would hold every file of it, and every
    // local path after it would map to that one entry.
    if (folder.IsEmpty() || detail::IsRootFolder(folder)) return nullptr;
    String name;
    if (!LocalEntryName(folder, name)) return nullptr;
    // Two folders with the same last component must not share an entry: the
    // second would map to the first one's folder.
    const String base = detail::Lowered(name);
    for (int n = 2; FindServerByName(detail::Lowered(name)); ++n) {
        name.Format("%s_%d", base.Text(), n);
    }
    if (!quiet && !AskNewServer(name, folder, resolved, nullptr)) return nullptr;

    const String newFolder =
        detail::WithSeparator(detail::Folded(detail::NormalizedPath(detail::Trimmed(folder))));
    if (detail::IsRootFolder(newFolder)) return nullptr;  // as edited by the user
    for (std::uint32_t i = 0; i < Count(); ++i) {
        const UMServer* other = At(i);
        if (!detail::HasPrefix(other->folder, newFolder)) continue;
        String format;
        format.LoadString(kStr_MappingOverlaps);
        String text;
        text.Format(format.Text(), name.Text(), folder.Text(), other->name.Text(), other->folder.Text());
        platform::CurrentMappingDialogs().MessageBox(text.Text(), platform::kMessageIconExclamation);
    }
    return AddServer(name, folder);
}

void URLMapper::LocalPathToURL(String& out, const String& pathText, const String& baseFolder, bool create,
                               bool& isHttp) {
    out.Empty();
    isHttp = false;
    // The URL names the file the path names: "site/../x" is x, not in site.
    const String localPath = detail::NormalizedPath(pathText);
    String base;
    if (!baseFolder.IsEmpty()) {
        base = detail::Folded(detail::NormalizedPath(baseFolder));
        if (!IsPathSeparator(*base.CharPtrAt(base.Length() - 1))) base += detail::SeparatorOf(base);
        if (detail::HasPrefix(detail::Folded(localPath), base)) {
            out = EscapedPath(localPath.Mid(base.Length()));
            return;
        }
    }
    UMServer* server = ServerForLocalPath(localPath, create, true);
    if (!server) {
        // "file:///d|/dir/f" for a drive path, "file:///dir/f" for a POSIX one.
        String path = EscapedPath(localPath);
        if (*path.CharPtrAt(1) == ':') path.SetAt(1, '|');
        out = detail::IsPosixPath(localPath) ? "file://" : "file:///";
        out += path;
        return;
    }
    const String below = localPath.Mid(server->folder.Length());
    if (!base.IsEmpty() && detail::HasPrefix(base, server->folder)) {
        String relative;
        if (RelativePath(localPath, base, relative, '/')) {
            out = EscapedPath(relative);
        } else {
            out = "/";
            out += EscapedPath(below);
        }
        return;
    }
    out = "http://";
    out += server->name;
    out += '/';
    out += EscapedPath(below);
    isHttp = true;
}

bool URLMapper::AskNewServer(String& name, String& folder, const String& path, void*) {
    NewServerDlg dialog(name, folder, path);
    if (!dialog.DoModal()) return false;
    name = dialog.Name();
    folder = dialog.Folder();
    return true;
}

}  // namespace markup
