// A font back end that makes each distinct font request once per import.
// The style engine asks its back end for a font on every element whose
// style it computes and keeps the fonts under the description the platform
// gives back, so a request the platform answers with another face (a
// generic family, an empty face) would be matched by fontconfig and opened
// by FreeType again for every element.
#ifndef SVGFILTER_REQUEST_CACHED_FONTS_H
#define SVGFILTER_REQUEST_CACHED_FONTS_H

#include <map>
#include <set>
#include <string>

#include "platform/font_backend.h"

namespace svgf::detail {

class RequestCachedFonts : public platform::FontBackend {
  public:
    // The distinct requests kept at the most; further ones are made and
    // destroyed as the caller asks.
    static constexpr size_t kMaxKept = 1024;

    // `inner` must outlive this object, and this object every user of the
    // fonts it handed out.
    explicit RequestCachedFonts(platform::FontBackend& inner) : inner_(inner) {}
    // Destroys every font it kept.
    ~RequestCachedFonts() override;
    RequestCachedFonts(const RequestCachedFonts&) = delete;
    RequestCachedFonts& operator=(const RequestCachedFonts&) = delete;

    platform::FontHandle CreateFont(const platform::LogFont& request) override;
    // A kept font stays until this object ends.
    void DestroyFont(platform::FontHandle font) override;
    bool DescribeFont(platform::FontHandle font, platform::LogFont& out) override {
        return inner_.DescribeFont(font, out);
    }
    bool TextExtent(platform::FontHandle font, const char* text, std::uint32_t length,
                    platform::TextSize& out) override {
        return inner_.TextExtent(font, text, length, out);
    }
    bool Metrics(platform::FontHandle font, platform::TextMetrics& out) override {
        return inner_.Metrics(font, out);
    }
    bool CaretSlope(platform::FontHandle font, std::int32_t& rise, std::int32_t& run) override {
        return inner_.CaretSlope(font, rise, run);
    }
    void EnumerateFaces(const platform::LogFont& filter,
                        const std::function<bool(const platform::FaceInfo&)>& report) override {
        inner_.EnumerateFaces(filter, report);
    }
    bool PreferredFace(std::uint8_t familyBits, std::string& face) override {
        return inner_.PreferredFace(familyBits, face);
    }
    std::int32_t LogicalPixelsPerInch() const override { return inner_.LogicalPixelsPerInch(); }

  private:
    platform::FontBackend& inner_;
    std::map<std::string, platform::FontHandle> byRequest_;
    std::set<platform::FontHandle> kept_;
};

}  // namespace svgf::detail

#endif  // SVGFILTER_REQUEST_CACHED_FONTS_H
