// URLSpec: parsing a URL into its parts and composing it back.
#include "markup/url.h"

#include "markup/decimal.h"
#include "markup/return_codes.h"
#include "platform/latin1_text.h"

namespace markup {

namespace {

bool StartsWith(const String& text, const char* prefix) {
    for (std::uint32_t i = 0; prefix[i]; ++i) {
        char c = 0;
        if (!text.GetAt(i, c) || c != prefix[i]) return false;
    }
    return true;
}

char CharAt(const String& text, std::uint32_t index) {
    char c = 0;
    text.GetAt(index, c);
    return c;
}

// Cuts the text from the first `mark` on; what follows the mark goes to part.
void CutPart(String& work, char mark, String& part) {
    const std::int32_t at = work.Find(mark);
    if (at < 0 || static_cast<std::uint32_t>(at) >= work.Length()) return;
    part = work.Mid(static_cast<std::uint32_t>(at) + 1);
    work.TruncateAt(static_cast<std::uint32_t>(at));
}

}  // namespace

URLSpec::URLSpec() {
    Reset();
}

URLSpec::URLSpec(const URLSpec& other)
    : schemeKind_(other.schemeKind_),
      host_(other.host_),
      port_(other.port_),
      valid_(other.valid_),
      path_(other.path_),
      password_(other.password_),
      user_(other.user_),
      parameters_(other.parameters_),
      fragment_(other.fragment_),
      query_(other.query_),
      schemeText_(other.schemeText_) {}

URLSpec& URLSpec::operator=(const URLSpec& other) {
    if (this != &other) {
        Reset();
        schemeKind_ = other.schemeKind_;
        schemeText_ = other.schemeText_;
        host_ = other.host_;
        port_ = other.port_;
        valid_ = other.valid_;
        path_ = other.path_;
        password_ = other.password_;
        user_ = other.user_;
        parameters_ = other.parameters_;
        fragment_ = other.fragment_;
        query_ = other.query_;
    }
    return *this;
}

URLSpec::~URLSpec() = default;

void URLSpec::Reset() {
    port_ = -1;
    valid_ = 0;
    isLocalKnown_ = 0;
    host_.Empty();
    path_.Empty();
    password_.Empty();
    user_.Empty();
    parameters_.Empty();
    fragment_.Empty();
    query_.Empty();
    composed_.reset();
    fileName_.reset();
    spare_.reset();
}

bool URLSpec::Parse(const String& text) {
    String work(text);
    PrepareText(work);
    Reset();

    // A ":" at index 1 is a drive letter; one after a "/" belongs to the path.
    const std::int32_t colon = work.Find(':');
    const std::int32_t slash = work.Find('/');
    if (colon == 1) {
        schemeKind_ = kSchemeNone;
        schemeText_.Empty();
        work.Insert(0, '/');
    } else if (colon < 0 || static_cast<std::uint32_t>(colon) >= work.Length() ||
               (slash >= 0 && slash < colon)) {
        schemeKind_ = kSchemeNone;
        schemeText_.Empty();
    } else {
        schemeText_ = work.Left(static_cast<std::uint32_t>(colon) + 1);
        work.Delete(0, static_cast<std::uint32_t>(colon) + 1);
        schemeKind_ = SchemeKind(schemeText_);
    }

    if (schemeKind_ == kSchemeOther) {
        path_ = work;
        valid_ = 1;
        return true;
    }

    CutPart(work, '#', fragment_);
    CutPart(work, '?', query_);
    CutPart(work, ';', parameters_);

    // Only a text that opens with "//" names an authority; without it a
    // relative path's first segment would pass for a host.
    if (StartsWith(work, "//")) {
        work.Delete(0, 2);
        if (CharAt(work, 1) == ':' && CharAt(work, 2) == '/') work.Insert(0, '/');
        String authority;
        const std::int32_t end = work.Find('/');
        if (end < 0 || static_cast<std::uint32_t>(end) >= work.Length()) {
            authority = work;
            work.Empty();
        } else {
            authority = work.Left(static_cast<std::uint32_t>(end));
            work.Delete(0, static_cast<std::uint32_t>(end));
        }
        const std::int32_t at = authority.Find('@');
        if (at >= 0 && static_cast<std::uint32_t>(at) < authority.Length()) {
            String userInfo = authority.Left(static_cast<std::uint32_t>(at));
            authority.Delete(0, static_cast<std::uint32_t>(at) + 1);
            const std::int32_t split = userInfo.Find(':');
            if (split >= 0 && static_cast<std::uint32_t>(split) < userInfo.Length()) {
                user_ = userInfo.Left(static_cast<std::uint32_t>(split));
                password_ = userInfo.Mid(static_cast<std::uint32_t>(split) + 1);
            } else {
                user_ = userInfo;
            }
        }
        const std::int32_t portAt = authority.Find(':');
        if (portAt >= 0 && static_cast<std::uint32_t>(portAt) < authority.Length()) {
            host_ = authority.Left(static_cast<std::uint32_t>(portAt));
            port_ = ParseDecimal32(authority.CharPtrAt(static_cast<std::uint32_t>(portAt) + 1));
        } else {
            host_ = authority;
        }
    }
    path_ = work;

    valid_ = IsValidURLText(path_) && IsValidURLText(password_) && IsValidURLText(user_) &&
             IsValidURLText(query_) && IsValidURLText(fragment_) && IsValidURLText(parameters_) &&
             IsValidURLText(host_);
    return valid_ != 0;
}

String URLSpec::Compose() const {
    String out = SchemeText(schemeKind_, schemeText_);
    const bool hasPort = port_ != -1;
    if (!user_.IsEmpty() || !host_.IsEmpty() || hasPort || schemeKind_ == kSchemeFile) {
        out += "//";
        if (!user_.IsEmpty()) {
            out += user_;
            if (!password_.IsEmpty()) {
                out += ':';
                out += password_;
            }
            out += '@';
        }
        if (!host_.IsEmpty()) {
            out += host_;
        } else if (hasPort) {
            out += EngineStringText(kStr_Localhost);
        }
        if (hasPort) {
            String number;
            number.Format(":%d", static_cast<int>(port_));
            out += number;
        }
    }
    out += path_;
    if (!parameters_.IsEmpty()) {
        out += ';';
        out += parameters_;
    }
    if (!query_.IsEmpty()) {
        out += '?';
        out += query_;
    }
    if (!fragment_.IsEmpty()) {
        out += '#';
        out += fragment_;
    }
    return out;
}

const String& URLSpec::FullText() const {
    if (!composed_) composed_ = std::make_unique<String>(Compose());
    return *composed_;
}

const String& URLSpec::FileName() const {
    if (!fileName_) {
        const std::int32_t slash = path_.ReverseFind('/');
        fileName_ =
            std::make_unique<String>(slash < 0 ? path_ : path_.Mid(static_cast<std::uint32_t>(slash) + 1));
    }
    return *fileName_;
}

bool URLSpec::IsRootRelative() const {
    return schemeKind_ == kSchemeNone && CharAt(path_, 0) == '/';
}

bool URLSpec::IsLocal() const {
    if (!isLocalKnown_) {
        isLocal_ =
            host_.IsEmpty() || platform::lstrcmpiA(host_.Text(), EngineStringText(kStr_Localhost)) == 0;
        isLocalKnown_ = 1;
    }
    return isLocal_ != 0;
}

String URLSpec::SchemeText(std::int32_t kind, const String& otherText) {
    switch (kind) {
        case kSchemeFtp:
            return String(EngineStringText(kStr_SchemeFtp));
        case kSchemeHttp:
            return String(EngineStringText(kStr_SchemeHttp));
        case kSchemeFile:
            return String(EngineStringText(kStr_SchemeFile));
        case kSchemeMailto:
            return String(EngineStringText(kStr_SchemeMailto));
        case kSchemeOther:
            return otherText;
        default:
            return String();
    }
}

std::int32_t URLSpec::SchemeKind(const String& text) {
    if (text.IsEmpty()) return kSchemeNone;
    static const unsigned kIds[] = {kStr_SchemeFtp, kStr_SchemeHttp, kStr_SchemeFile, kStr_SchemeMailto};
    for (std::int32_t kind = 0; kind < 4; ++kind) {
        if (platform::lstrcmpiA(text.Text(), EngineStringText(kIds[kind])) == 0) return kind;
    }
    return kSchemeOther;
}

}  // namespace markup
