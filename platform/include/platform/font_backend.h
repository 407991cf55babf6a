// FontBackend: the font services the style engine's graphics back end
// measures with: making fonts from logical descriptions, reading back what
// the platform made, text extents, metrics and the installed faces.
//
// Two implementations: the system's (FreeType and fontconfig, where the
// build has them) and a fixed one whose every number follows from the
// request, for exact tests and for builds without a font library. The
// logical resolution is 96 dots per inch throughout.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace platform {

inline constexpr std::int32_t kLogicalPixelsPerInch = 96;

// The family bits of a pitch-and-family byte (its upper four bits).
enum FontFamilyBits : std::uint8_t {
    kFamilyDontCare = 0x00,
    kFamilyRoman = 0x10,
    kFamilySwiss = 0x20,
    kFamilyModern = 0x30,
    kFamilyScript = 0x40,
    kFamilyDecorative = 0x50,
};
inline constexpr std::uint8_t kFamilyMask = 0xF0;

inline constexpr std::uint32_t kFaceNameSize = 32;

// A logical font: a negative height is a character height (the em), a
// positive one a cell height, both in pixels. The face name ends in a NUL
// within its 32 bytes.
struct LogFont {
    std::int32_t height = 0;
    std::int32_t width = 0;
    std::int32_t escapement = 0;
    std::int32_t orientation = 0;
    std::int32_t weight = 0;
    std::uint8_t italic = 0;
    std::uint8_t underline = 0;
    std::uint8_t strikeOut = 0;
    std::uint8_t charSet = 0;
    std::uint8_t outPrecision = 0;
    std::uint8_t clipPrecision = 0;
    std::uint8_t quality = 0;
    std::uint8_t pitchAndFamily = 0;
    char faceName[kFaceNameSize] = {};

    // Copies at most 31 bytes of the text and ends it.
    void SetFaceName(const char* text);
};

// The metrics of a made font, in pixels.
struct TextMetrics {
    std::int32_t height = 0;  // ascent + descent
    std::int32_t ascent = 0;
    std::int32_t descent = 0;
    std::int32_t internalLeading = 0;
    std::int32_t externalLeading = 0;
    std::int32_t aveCharWidth = 0;
    std::int32_t maxCharWidth = 0;
    std::int32_t weight = 0;
    std::int32_t overhang = 0;
    std::uint8_t italic = 0;
    std::uint8_t underlined = 0;
    std::uint8_t struckOut = 0;
    std::uint8_t pitchAndFamily = 0;
    std::uint8_t charSet = 0;
};

struct TextSize {
    std::int32_t cx = 0;
    std::int32_t cy = 0;
};

// One installed face as the enumeration reports it.
struct FaceInfo {
    std::string face;
    std::uint8_t pitchAndFamily = 0;
    bool trueType = false;
};

// A font the back end made; 0 is none.
using FontHandle = std::uintptr_t;

class FontBackend {
  public:
    virtual ~FontBackend();

    // 0 when no font of that face can be made (an empty face takes the
    // back end's default face).
    virtual FontHandle CreateFont(const LogFont& request) = 0;
    virtual void DestroyFont(FontHandle font) = 0;
    // The description of the font as the platform made it (its real face
    // name, weight, and the fields it ignores set as it keeps them).
    virtual bool DescribeFont(FontHandle font, LogFont& out) = 0;
    // Width and height of the text's first `length` bytes (ISO-8859-1).
    virtual bool TextExtent(FontHandle font, const char* text, std::uint32_t length, TextSize& out) = 0;
    virtual bool Metrics(FontHandle font, TextMetrics& out) = 0;
    // The caret slope of the outline metrics: rise 1, run 0 for upright.
    virtual bool CaretSlope(FontHandle font, std::int32_t& rise, std::int32_t& run) = 0;
    // Reports installed faces, each family once, in a fixed order: every
    // family when the filter's face is empty, else that family only (its
    // name compared without case). The report answers false to stop.
    virtual void EnumerateFaces(const LogFont& filter, const std::function<bool(const FaceInfo&)>& report) = 0;
    // The installed face the platform itself prefers for a family (roman,
    // swiss or modern bits), when it has such a preference: a generic
    // `sans-serif` should be the system's sans face, not the first swiss
    // face in name order.
    virtual bool PreferredFace(std::uint8_t /*familyBits*/, std::string& /*face*/) { return false; }
    virtual std::int32_t LogicalPixelsPerInch() const { return kLogicalPixelsPerInch; }
};

// The process's font back end: FreeType and fontconfig when the build has
// them, else a fixed back end. Made on first use, never destroyed.
FontBackend& SystemFontBackend();
// Whether SystemFontBackend measures real fonts.
bool SystemFontBackendIsReal();

// The fixed back end. Its faces are "DejaVu Sans" (swiss), "DejaVu Serif"
// (roman) and "DejaVu Sans Mono" (modern), all TrueType; any other face
// cannot be made. For a font of pixel size h (the absolute height): ascent
// (4h + 2) / 5, descent h - ascent, average width h / 2, maximum width h;
// a text's width is h / 2 per byte (one more per byte when bold), its
// height h; italic fonts have a caret slope of rise 5, run 1. It
// describes a font with its face name in its own case, weight 400 or 700
// (above 550), width, precisions and quality 0; and counts its calls.
class FixedFontBackend : public FontBackend {
  public:
    FixedFontBackend();
    ~FixedFontBackend() override;

    FontHandle CreateFont(const LogFont& request) override;
    void DestroyFont(FontHandle font) override;
    bool DescribeFont(FontHandle font, LogFont& out) override;
    bool TextExtent(FontHandle font, const char* text, std::uint32_t length, TextSize& out) override;
    bool Metrics(FontHandle font, TextMetrics& out) override;
    bool CaretSlope(FontHandle font, std::int32_t& rise, std::int32_t& run) override;
    void EnumerateFaces(const LogFont& filter, const std::function<bool(const FaceInfo&)>& report) override;

    std::uint32_t CreateCalls() const { return createCalls_; }
    std::uint32_t LiveFonts() const;

  private:
    struct Fonts;
    std::unique_ptr<Fonts> fonts_;
    std::uint32_t createCalls_ = 0;
};

}  // namespace platform
