// Font requests kept by their every field, for the length of one import.
#include "request_cached_fonts.h"

#include <cstring>

namespace svgf::detail {
namespace {

// Every field of the request, the face up to its end.
std::string KeyOf(const platform::LogFont& r) {
    std::string key;
    for (const std::int32_t word : {r.height, r.width, r.escapement, r.orientation, r.weight}) {
        key.append(reinterpret_cast<const char*>(&word), sizeof word);
    }
    for (const std::uint8_t byte : {r.italic, r.underline, r.strikeOut, r.charSet, r.outPrecision,
                                    r.clipPrecision, r.quality, r.pitchAndFamily}) {
        key += static_cast<char>(byte);
    }
    key.append(r.faceName, strnlen(r.faceName, platform::kFaceNameSize));
    return key;
}

}  // namespace

RequestCachedFonts::~RequestCachedFonts() {
    for (const platform::FontHandle font : kept_) inner_.DestroyFont(font);
}

platform::FontHandle RequestCachedFonts::CreateFont(const platform::LogFont& request) {
    std::string key = KeyOf(request);
    if (const auto found = byRequest_.find(key); found != byRequest_.end()) return found->second;
    const platform::FontHandle font = inner_.CreateFont(request);
    // A request the platform cannot make is kept too (as 0): a face the
    // system lacks would otherwise be looked for on every element.
    if (byRequest_.size() < kMaxKept) {
        byRequest_.emplace(std::move(key), font);
        if (font != 0) kept_.insert(font);
    }
    return font;
}

void RequestCachedFonts::DestroyFont(platform::FontHandle font) {
    if (kept_.count(font) == 0) inner_.DestroyFont(font);
}

}  // namespace svgf::detail
