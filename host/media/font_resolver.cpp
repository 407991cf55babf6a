// Font resolution through fontconfig, with DejaVu as the fixed fallback so
// that layout does not depend on which other fonts a machine happens to have.
#include "font_resolver.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace host::media::detail {
namespace {

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

struct PatternFree {
    void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternFree>;

// Loaded once a process and given back at its end: loading reads the
// configuration files and the font caches (some ten milliseconds), which
// every host paid again.
FcConfig* SharedConfig() {
    struct Loaded {
        FcConfig* config = FcInitLoadConfigAndFonts();
        ~Loaded() {
            if (config != nullptr) FcConfigDestroy(config);
        }
    };
    static const Loaded loaded;
    return loaded.config;
}

}  // namespace

FontResolver::FontResolver() : config_(SharedConfig()) {
    if (config_ == nullptr) throw std::runtime_error("fontconfig: no configuration");
}

FontResolver::~FontResolver() = default;

std::string FontResolver::FallbackFamily(const std::string& family) {
    const std::string f = Lower(family);
    if (f.find("mono") != std::string::npos || f.find("courier") != std::string::npos)
        return "DejaVu Sans Mono";
    if (f.find("serif") != std::string::npos && f.find("sans") == std::string::npos) return "DejaVu Serif";
    if (f.find("times") != std::string::npos) return "DejaVu Serif";
    return "DejaVu Sans";
}

std::optional<ResolvedFont> FontResolver::Match(const std::string& family, FontStyle style,
                                                bool* familyFound) {
    *familyFound = false;
    PatternPtr pattern(FcPatternCreate());
    if (!pattern) return std::nullopt;
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, FcWeightFromOpenType(style.weight));
    FcPatternAddInteger(pattern.get(), FC_SLANT, style.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern.get(), FC_OUTLINE, FcTrue);
    if (!FcConfigSubstitute(config_, pattern.get(), FcMatchPattern)) return std::nullopt;
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    PatternPtr match(FcFontMatch(config_, pattern.get(), &result));
    if (!match || result != FcResultMatch) return std::nullopt;

    FcChar8* file = nullptr;
    FcChar8* name = nullptr;
    int index = 0;
    FcBool outline = FcFalse;
    if (FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch ||
        FcPatternGetString(match.get(), FC_FAMILY, 0, &name) != FcResultMatch)
        return std::nullopt;
    if (FcPatternGetBool(match.get(), FC_OUTLINE, 0, &outline) == FcResultMatch && !outline)
        return std::nullopt;
    FcPatternGetInteger(match.get(), FC_INDEX, 0, &index);

    // fontconfig always answers something; only a font that lists the
    // family among its names really has it.
    const std::string wanted = Lower(family);
    FcChar8* alias = nullptr;
    for (int i = 0; FcPatternGetString(match.get(), FC_FAMILY, i, &alias) == FcResultMatch; ++i) {
        if (Lower(reinterpret_cast<const char*>(alias)) == wanted) *familyFound = true;
    }
    return ResolvedFont{reinterpret_cast<const char*>(name), reinterpret_cast<const char*>(file), index};
}

std::optional<ResolvedFont> FontResolver::Resolve(const std::string& family, FontStyle style) {
    const auto key = std::make_tuple(family, style.weight, style.italic);
    if (auto it = cache_.find(key); it != cache_.end()) return it->second;

    bool found = false;
    std::optional<ResolvedFont> answer = Match(family, style, &found);
    if (!found) {
        bool fallbackFound = false;
        std::optional<ResolvedFont> fallback = Match(FallbackFamily(family), style, &fallbackFound);
        if (fallbackFound) answer = std::move(fallback);
    }
    // Documents name families freely: a host that reads many of them keeps
    // a bounded number of answers.
    if (cache_.size() >= kMaxCachedAnswers) cache_.clear();
    cache_.emplace(key, answer);
    return answer;
}

}  // namespace host::media::detail
