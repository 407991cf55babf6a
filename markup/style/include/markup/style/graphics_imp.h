// GraphicsImp: the graphics back end over a platform font back end, with
// the font cache keyed by the description the platform gives each font.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "markup/style/graphics.h"
#include "platform/font_backend.h"

namespace markup::style {

// The faces that stand in for the host's two default fonts.
inline constexpr const char* kDefaultFontFace = "DejaVu Sans";
inline constexpr const char* kDefaultFontFace2 = "DejaVu Serif";

class GraphicsImp : public Graphics {
  public:
    // The back end must outlive the object. While it lives the object is
    // the module's (Graphics::Shared), in place of any earlier one; its
    // end leaves the module without one.
    explicit GraphicsImp(platform::FontBackend& backend);
    ~GraphicsImp() override;

    bool FindFamilyFace(std::uint8_t family, String& face) override;
    bool HasFace(const String& face) override;
    Font* CreateFont(std::int32_t size, bool bold, bool italic, bool underline, bool strikeOut,
                     const String& face) override;
    Font* CreateFontFromRequest(const FontRequest& request) override;
    Font* GetFont(const platform::LogFont& logFont) override;
    std::int32_t ItalicOverhang(const FontRequest& request) override;

    void ToDevice(GraphicsRect& rect) override;
    void ToDevice(GraphicsSize& size) override;
    void ToDevice(GraphicsPoint& point) override;
    std::int32_t ToDevice(std::int32_t value) override { return value; }
    void ToLogical(GraphicsRect& rect) override;
    void ToLogical(GraphicsSize& size) override;
    void ToLogical(GraphicsPoint& point) override;
    std::int32_t ToLogical(std::int32_t value) override { return value; }

    std::int32_t FontSizeStep(std::int32_t pixels) override;
    std::int32_t FontSizeLogical(std::int32_t step) override;
    std::int32_t FontSizePixels(std::int32_t step) override;

    std::int32_t InchesToUnits(float value) override;
    std::int32_t CentimetresToUnits(float value) override;
    std::int32_t MillimetresToUnits(float value) override;
    std::int32_t PointsToUnits(float value) override;
    std::int32_t PicasToUnits(float value) override;
    std::int32_t PixelsToUnits(float value) override;
    std::int32_t EmsToUnits(float value) override;
    std::int32_t ExsToUnits(float value) override;
    double HundredthsToInches(double value) override { return value * 0.000394; }
    double HundredthsToCentimetres(double value) override { return value * 0.001; }
    double HundredthsToMillimetres(double value) override { return value * 0.01; }
    double HundredthsToPoints(double value) override { return value * 0.028345; }
    double HundredthsToPicas(double value) override { return value * 0.002362; }
    double ToLogicalDouble(std::int32_t value) override { return ToLogical(value); }

    std::int32_t Distance(GraphicsPoint p, GraphicsPoint q) override;
    GraphicsSize TextExtent(const char* text, std::int32_t length, const Font* font) override;
    DeviceContext& GetDeviceContext() override { return dc_; }
    bool TextMetrics(const Font* font, platform::TextMetrics& out) override;
    const ScreenBitmap& GetScreenBitmap() override;
    Font* DefaultFont() override { return defaultFont_; }
    Font* DefaultFont2() override { return defaultFont2_; }

    void PrepareDC(DeviceContext& dc) override;
    void SelectFont(const Font* font) override;
    GraphicsSize EdgeSize() override { return edgeSize_; }
    GraphicsSize ScrollBarSize() override { return scrollBarSize_; }
    GraphicsSize BorderSize() override { return borderSize_; }
    std::uint32_t HLSToRGB(std::uint32_t hue, std::uint32_t lightness, std::uint32_t saturation) override;
    std::uint32_t RGBToHLS(std::uint32_t colour) override;
    void ReleaseScreenBitmap() override;
    void ClearFontCache() override;
    GraphicsRect HandleRect(const GraphicsRect& rect, std::int32_t which) override;
    String CompactPath(const String& text, const GraphicsRect& rect, DeviceContext& dc) override;

    double PixelsPerPoint() const { return pixelsPerPoint_; }
    // Absolute lengths (in, cm, mm, pt, pc) in CSS pixels, 96 to the inch,
    // as SVG counts them, instead of the HTML presentation's units.
    void UseCssUnits(bool on) { cssUnits_ = on; }
    bool CountsCssUnits() const override { return cssUnits_; }
    const Font* CurrentFont() const { return currentFont_; }
    // The cache's bucket of a key, and the number of fonts it holds.
    static std::uint32_t BucketOf(const platform::LogFont& key);
    std::uint32_t CachedFonts() const;
    // Whether the two keys are one cache key.
    static bool SameKey(const platform::LogFont& a, const platform::LogFont& b);

  private:
    static constexpr std::uint32_t kBuckets = 17;

    Font* Lookup(const platform::LogFont& key) const;
    Font* Store(std::unique_ptr<Font> font);
    Font* MakeDefault(const char* face);
    void DestroyFonts();

    platform::FontBackend& backend_;
    const Font* currentFont_ = nullptr;
    // Each bucket's chain, its head last.
    std::vector<std::unique_ptr<Font>> buckets_[kBuckets];
    // Requests the back end answered with a font of another description (a
    // generic face, a size it rounds) or with none (a missing face: the
    // default font), by the request's bucket: the next such request finds
    // its font at once instead of asking the back end again.
    static constexpr std::size_t kMostAliases = 256;
    std::vector<std::pair<platform::LogFont, Font*>> aliases_[kBuckets];
    std::size_t aliasCount_ = 0;
    Font* defaultFont_ = nullptr;
    Font* defaultFont2_ = nullptr;
    // Fonts made for the defaults when the cache could not take them.
    std::vector<std::unique_ptr<Font>> defaults_;
    double zoom_ = 1.0;
    double pixelsPerPoint_;
    bool cssUnits_ = false;
    DeviceContext dc_;
    std::unique_ptr<ScreenBitmap> screenBitmap_;
    GraphicsSize edgeSize_{2, 2};
    GraphicsSize scrollBarSize_{16, 16};
    GraphicsSize borderSize_{2, 2};
};

}  // namespace markup::style
