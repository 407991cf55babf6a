// Path text of the host's configuration: separators, joining, splitting and
// resolving relative values. Both "\" and "/" separate names, and a path may
// begin with a drive letter ("C:"). Text is 8-bit; a separator byte never
// occurs inside a multi-byte character of the encodings the host uses, so
// the last byte of a path tells whether it ends in a separator.
#pragma once

#include <string>
#include <string_view>

namespace colour {

// The longest path the configuration holds, with its terminator.
inline constexpr int kMaxPath = 260;

bool IsPathSeparator(char c);

// Appends a separator unless the path ends in one; answers whether it did
// end in one. The separator is the kind the path already uses last ("\"
// when it has none), so "c:\data" gains "\" and "/opt/data" gains "/".
bool AppendPathSeparator(std::string& path);

// The same for a counted path in a buffer of `capacity` bytes: answers the
// new length; a path with no room for the separator and its terminator is
// left as it was.
int AppendPathSeparatorN(char* path, int length, int capacity);

// dir, a separator when it lacks one, then name.
std::string JoinConfigPath(std::string_view dir, std::string_view name);

// Drive and folder ("C:\Host\"), and file name with extension ("a.ini");
// either output may be null.
void SplitDirAndName(std::string_view path, std::string* dir, std::string* name);

// The folder `base` (a separator appended first) with the file name and
// extension of `name`.
std::string MakeSiblingPath(std::string_view base, std::string_view name);

// True when the path begins with a drive letter and a colon.
bool HasDrive(std::string_view path);

// Resolves a value read from a configuration file against the folder of
// that file. An absolute value (a drive or a leading separator) and an empty
// one are copied unchanged (result 0); a relative one is joined to `base`
// and its "." and ".." names collapsed (result 1). Case is kept.
int ResolveRelativePath(std::string_view base, std::string_view value, std::string& out);

// Collapses "." and ".." names: "a\b\..\c\" gives "a\c\" and "a\.\b" gives
// "a\b" (result 1); a trailing ".." goes up as "..\" does. A ".." with
// nothing left to remove, or another name starting with ".", leaves the
// whole path unchanged (result 0).
int CollapseDotSegments(std::string& out, std::string_view path);

// Reads `key` of `section` from the ini file (the default when it is
// missing), resolves it against the ini file's folder, and copies it to `out`
// when it is shorter than `size`: answers its length, or 0 with `out` left
// alone when it does not fit.
int GetProfilePath(std::string_view section, std::string_view key, std::string_view defaultValue, char* out,
                   int size, std::string_view iniPath);

}  // namespace colour
