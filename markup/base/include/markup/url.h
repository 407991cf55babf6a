// URLSpec: a URL split into its parts, checked and composed back, with the
// escape operations and the resolution of relative URLs.
//
// Local files are URLs without a scheme: a drive path ("C:\dir\file"), a
// network path ("\\server\share\file") or a POSIX path ("/dir/file").
// Backslashes become "/" before parsing, and a drive letter gets a "/" in
// front, so all of them parse to a path that begins with "/".
#pragma once

#include <cstdint>
#include <memory>

#include "markup/containers.h"
#include "markup/string.h"

namespace markup {

enum URLSchemeKind : std::int32_t {
    kSchemeFtp = 0,
    kSchemeHttp = 1,
    kSchemeFile = 2,
    kSchemeMailto = 3,
    kSchemeNone = 4,
    kSchemeOther = 5,
};

class URLSpec {
  public:
    URLSpec();
    URLSpec(const URLSpec& other);
    URLSpec& operator=(const URLSpec& other);
    virtual ~URLSpec();

    // Keeps the scheme; empties every other part and the caches.
    void Reset();
    // Never raises; answers whether every part holds only URL characters.
    bool Parse(const String& text);

    // Composed once and cached until the next Reset or Parse.
    const String& FullText() const;
    // The path after its last "/", cached.
    const String& FileName() const;
    String Compose() const;
    String PathCopy() const { return path_; }

    const String& HostRef() const { return host_; }
    const String& QueryRef() const { return query_; }
    const String& PathRef() const { return path_; }
    const String& UserRef() const { return user_; }
    const String& PasswordRef() const { return password_; }
    const String& ParametersRef() const { return parameters_; }
    const String& FragmentRef() const { return fragment_; }
    const String& SchemeTextRef() const { return schemeText_; }
    std::int32_t Kind() const { return schemeKind_; }
    std::int32_t Port() const { return port_; }
    bool IsValid() const { return valid_ != 0; }

    bool HasScheme() const { return schemeKind_ != kSchemeNone; }
    bool IsRelative() const { return !HasScheme(); }
    bool IsRootRelative() const;
    // The host is empty or "localhost" (any case); computed once.
    bool IsLocal() const;
    bool IsRemote() const { return !IsLocal(); }

    static String SchemeText(std::int32_t kind, const String& otherText);
    static std::int32_t SchemeKind(const String& text);

    // In place: spaces become "%20", backslashes "/".
    static void PrepareText(String& text);
    // In place: unsafe bytes become "%XX"; backslashes become "/".
    static void Escape(String& text);
    // In place: every "%XX" with two hexadecimal digits becomes its byte.
    static void Unescape(String& text);
    // Non-digits count as 0.
    static std::uint32_t HexValue(const char* text);
    static std::uint32_t HexDigit(char c);

  private:
    std::int32_t schemeKind_ = kSchemeNone;
    String host_;
    std::int32_t port_ = -1;
    std::uint8_t valid_ = 0;
    String path_;
    String password_;
    String user_;
    String parameters_;
    String fragment_;
    String query_;
    String schemeText_;
    mutable std::unique_ptr<String> composed_;
    mutable std::unique_ptr<String> fileName_;
    mutable std::unique_ptr<String> spare_;
    mutable std::uint8_t isLocal_ = 0;
    mutable std::uint8_t isLocalKnown_ = 0;
};

// Character classes and escapes.
bool IsURLChar(unsigned char c);
bool IsHexDigit(char c);
// Every character is a URL character and every "%" starts an escape.
bool IsValidURLText(const String& text);
void EncodeEscape(unsigned char c, String& out);
// The byte of a three-character escape "%XX".
unsigned char DecodeEscape(const char* text);
// "0"-"9", "A"-"F" for 0 to 15; 0 for anything larger.
char HexDigitChar(std::uint32_t value);
String HexText(std::uint32_t value, std::uint32_t minDigits);

// Splitting and joining paths. Segments keep their trailing separator.
void SplitSegments(const String& path, char separator, Vector<String>& segments);
// Joins a relative path onto base (in place). Fails, leaving base empty,
// when ".." climbs past the first segment of the base.
bool JoinPath(const String& relative, String& base, char separator);
// Resolves a relative URL against a directory URL (ending in "/"), in place
// in baseText; the ";", "?" or "#" tail of the relative text is kept.
bool ResolveRelative(const String& relative, String& baseText);
// Makes url absolute against base, in place. False when url does not parse
// or cannot be resolved.
bool MakeAbsolute(String& url, const URLSpec& base);

}  // namespace markup
