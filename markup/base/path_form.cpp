// The two forms of local paths, and the path helpers of the URL mapping.
#include "path_form.h"

#include <cstring>

#include "markup/url_mapper.h"
#include "platform/latin1_text.h"
#include "platform/path_queries.h"

namespace markup {

namespace detail {

bool IsPosixPath(const String& path) {
    const char* p = path.Text();
    return p[0] == '/' && p[1] != '/';
}

char SeparatorOf(const String& path) {
    return IsPosixPath(path) ? '/' : '\\';
}

String Lowered(const String& text) {
    String out(text);
    char* bytes = nullptr;
    if (out.GetBuffer(bytes)) {
        for (std::uint32_t i = 0; i < out.Length(); ++i) {
            bytes[i] = static_cast<char>(platform::Latin1Lower(static_cast<unsigned char>(bytes[i])));
        }
    }
    return out;
}

String Folded(const String& path) {
    return IsPosixPath(path) ? path : Lowered(path);
}

bool HasPrefix(const String& text, const String& prefix) {
    return prefix.Length() <= text.Length() && std::memcmp(text.Text(), prefix.Text(), prefix.Length()) == 0;
}

String WithSeparator(const String& folder) {
    String out(folder);
    const char* p = out.Text();
    if (out.IsEmpty() || !IsPathSeparator(p[out.Length() - 1])) out += SeparatorOf(out);
    return out;
}

String Trimmed(const String& text) {
    String out(text);
    out.TrimLeft();
    out.TrimRight();
    return out;
}

namespace {

// The segments of path from `from` on with "." and ".." resolved (never
// climbing above `from`), joined by the separator, with a trailing one when
// the path ends in one. With anySeparator "\\" separates as "/" does.
String CollapsedSegments(const String& path, std::uint32_t from, char separator, bool anySeparator) {
    Vector<String> kept;
    const char* p = path.Text();
    const std::uint32_t n = path.Length();
    auto separates = [&](char c) { return anySeparator ? IsPathSeparator(c) : c == separator; };
    std::uint32_t start = from;
    for (std::uint32_t i = from; i <= n; ++i) {
        if (i < n && !separates(p[i])) continue;
        const String segment = path.Mid(start, i - start);
        start = i + 1;
        if (segment.IsEmpty() || segment == ".") continue;
        if (segment == "..") {
            kept.DeleteLast();  // at the start there is nothing to climb out of
            continue;
        }
        kept.Add(segment);
    }
    String out;
    for (std::uint32_t i = 0; i < kept.Count(); ++i) {
        if (i) out += separator;
        out += *kept.At(i);
    }
    if (n > from && separates(p[n - 1]) && !out.IsEmpty()) out += separator;
    return out;
}

}  // namespace

String NormalizedSegments(const String& path, char separator) {
    return CollapsedSegments(path, 0, separator, true);
}

std::uint32_t RootLength(const String& path) {
    const char* p = path.Text();
    const std::uint32_t n = path.Length();
    if (IsPosixPath(path)) return 1;
    if (n >= 2 && p[1] == ':') return n >= 3 && IsPathSeparator(p[2]) ? 3 : 2;
    if (n >= 2 && IsPathSeparator(p[0]) && IsPathSeparator(p[1])) {
        // "\\server\share\": the root ends after the share's separator.
        std::uint32_t i = 2;
        for (int part = 0; part < 2 && i < n; ++part) {
            while (i < n && !IsPathSeparator(p[i])) ++i;
            if (i < n) ++i;
        }
        return i;
    }
    return 0;
}

String NormalizedPath(const String& path) {
    const bool posix = IsPosixPath(path);
    const char separator = posix ? '/' : '\\';
    const std::uint32_t root = RootLength(path);
    String out = path.Left(root);
    char* bytes = nullptr;
    if (!posix && out.GetBuffer(bytes)) {
        for (std::uint32_t i = 0; i < out.Length(); ++i) {
            if (IsPathSeparator(bytes[i])) bytes[i] = separator;
        }
    }
    out += CollapsedSegments(path, root, separator, !posix);
    return out;
}

bool IsRootFolder(const String& folder) {
    const String normal = WithSeparator(NormalizedPath(folder));
    const std::uint32_t root = RootLength(normal);
    return root > 0 && root == normal.Length();
}

}  // namespace detail

bool FileExists(const String& path) {
    return platform::PathExists(path.Text());
}

bool FindFileTimes(const String& path, std::uint32_t& low, std::uint32_t& high) {
    String file(path);
    if (file.Length() > 1 && *file.CharPtrAt(file.Length() - 1) == '/') file.Truncate(file.Length() - 1);
    return platform::LastWriteTime(file.Text(), low, high);
}

bool IsLocalPath(const String& text) {
    const char* p = text.Text();
    if (p[0] && p[1] == ':') return true;
    if (p[0] == '\\' && p[1] == '\\') return true;
    return detail::IsPosixPath(text);
}

bool IsRelativeURL(const String& text) {
    URLSpec url;
    return url.Parse(text) && !url.IsLocal();
}

void SplitPath(const String& path, String& folder, String& name) {
    const char* p = path.Text();
    for (std::uint32_t i = path.Length(); i-- > 0;) {
        if (detail::IsPathSeparator(p[i])) {
            folder = path.Left(i + 1);
            name = path.Mid(i + 1);
            return;
        }
    }
    folder.Empty();
    name = path;
}

String StripFileName(const String& path) {
    String folder;
    String name;
    SplitPath(path, folder, name);
    return folder;
}

String ConcatString(const String& a, const String& b) {
    String out(a);
    out += b;
    return out;
}

String AppendChar(const String& text, char c) {
    String out(text);
    out += c;
    return out;
}

bool RelativePath(const String& target, const String& base, String& out, char separator) {
    Vector<String> to;
    Vector<String> from;
    const String baseFolder = StripFileName(base);
    // Segments are cut at either separator so both forms compare alike.
    auto split = [](const String& path, Vector<String>& segments) {
        const char* p = path.Text();
        std::uint32_t start = 0;
        for (std::uint32_t i = 0; i <= path.Length(); ++i) {
            if (i < path.Length() && !detail::IsPathSeparator(p[i])) continue;
            if (i > start) segments.Add(path.Mid(start, i - start));
            start = i + 1;
        }
    };
    split(target, to);
    split(baseFolder, from);
    // A file name is never a common folder.
    const bool targetIsFolder =
        target.Length() && detail::IsPathSeparator(*target.CharPtrAt(target.Length() - 1));
    const std::uint32_t folders = targetIsFolder ? to.Count() : (to.Count() ? to.Count() - 1 : 0);
    const auto compare = detail::IsPosixPath(base) ? platform::lstrcmpA : platform::lstrcmpiA;
    std::uint32_t common = 0;
    while (common < from.Count() && common < folders &&
           compare(from.At(common)->Text(), to.At(common)->Text()) == 0) {
        ++common;
    }
    out.Empty();
    if (common == 0) return false;
    for (std::uint32_t i = common; i < from.Count(); ++i) {
        out += "..";
        out += separator;
    }
    for (std::uint32_t i = common; i < to.Count(); ++i) {
        out += *to.At(i);
        if (i + 1 < to.Count() || targetIsFolder) out += separator;
    }
    return true;
}

}  // namespace markup
