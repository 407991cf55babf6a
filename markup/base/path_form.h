// Internal helpers for the two forms of local paths (Windows and POSIX).
#pragma once

#include "markup/string.h"

namespace markup::detail {

inline bool IsPathSeparator(char c) {
    return c == '/' || c == '\\';
}

// A POSIX path starts with a single "/".
bool IsPosixPath(const String& path);
// "/" for a POSIX path, "\" for the Windows forms.
char SeparatorOf(const String& path);
// Latin-1 lower case of the whole text.
String Lowered(const String& text);
// The form paths are compared in: Windows paths ignore case.
String Folded(const String& path);
bool HasPrefix(const String& text, const String& prefix);
// The folder ending in its separator.
String WithSeparator(const String& folder);
// Spaces at both ends removed.
String Trimmed(const String& text);
// Resolves "." and ".." of a URL path, never climbing above its start, and
// joins the segments with the separator (no leading separator; a trailing one
// when the path ends in one).
String NormalizedSegments(const String& path, char separator);
// The length of a local path's root: "/" of a POSIX path, "d:" and its
// separator of a drive path, "\\server\share\" of a network path; 0 for a
// relative path.
std::uint32_t RootLength(const String& path);
// The path with "." and ".." resolved and repeated separators collapsed,
// never climbing above its root; the Windows forms take "\" as their
// separator. Containment is decided on this form: "/site/../x" lies outside
// "/site/". POSIX paths split at "/" only, since "\" is a file name's byte.
String NormalizedPath(const String& path);
// The folder is a file system's root ("/", "d:\", "\\server\share\").
bool IsRootFolder(const String& folder);

}  // namespace markup::detail
