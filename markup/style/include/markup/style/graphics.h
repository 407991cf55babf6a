// Graphics: how the style engine measures text and converts lengths: fonts
// made from requests and cached by what the platform made of them, the
// seven font-size steps, the unit constants, text extents and metrics,
// colour conversions between RGB and HLS, and a few services of on-screen
// views (cursors, selection handles, a shortened path text), all over a
// font back end of the platform layer.
//
// One object serves the module: the style engine makes a GraphicsImp over
// the system's font back end on first use (Instance), and a GraphicsImp a
// caller makes itself (tests, over the fixed back end) takes that place
// while it lives.
#pragma once

#include <cstdint>

#include "markup/string.h"
#include "platform/font_backend.h"

namespace markup::style {

struct GraphicsPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

struct GraphicsSize {
    std::int32_t cx = 0;
    std::int32_t cy = 0;
};

struct GraphicsRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};

// What the computed style asks a font for: pixel size, bold when positive,
// the three flags and the face. The font word rides along for the callers
// that keep one.
struct FontRequest {
    std::int32_t size = 0;
    std::int32_t bold = 0;
    bool italic = false;
    bool strikeOut = false;
    bool underline = false;
    String face;
    std::uint32_t fontWord = 0;
};

// A font of the cache: the back end's font and the description the
// platform gave it (its cache key).
class Font {
  public:
    Font(platform::FontHandle handle, const platform::LogFont& description)
        : handle_(handle), description_(description) {}
    platform::FontHandle Handle() const { return handle_; }
    const platform::LogFont& Description() const { return description_; }

  private:
    platform::FontHandle handle_;
    platform::LogFont description_;
};

// A device context as plain data: the selected font and the mapping.
struct DeviceContext {
    enum MapMode : std::int32_t { kMapText = 1, kMapAnisotropic = 8 };
    const Font* font = nullptr;
    std::int32_t mapMode = kMapText;
    GraphicsSize windowExtent{1, 1};
    GraphicsSize viewportExtent{1, 1};
};

// The screen bitmap as plain data: its size and colour format.
struct ScreenBitmap {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t planes = 1;
    std::uint16_t bitsPerPixel = 32;
};

// The system cursors by id (the classic ids); resource cursors come from
// the module, which carries none.
enum SystemCursorId : std::uint32_t {
    kCursorArrow = 32512,
    kCursorIBeam = 32513,
    kCursorWait = 32514,
    kCursorCross = 32515,
    kCursorUpArrow = 32516,
    kCursorSizeNWSE = 32642,
    kCursorSizeNESW = 32643,
    kCursorSizeWE = 32644,
    kCursorSizeNS = 32645,
    kCursorSizeAll = 32646,
    kCursorNo = 32648,
    kCursorHand = 32649,
    kCursorAppStarting = 32650,
    kCursorHelp = 32651,
};

// Engine units per unit of length (a pixel is one unit).
inline constexpr double kUnitsPerInch = 84.66666666666667;
inline constexpr double kUnitsPerCentimetre = 33.333333333333336;
inline constexpr double kUnitsPerMillimetre = 3.3333333333333335;
inline constexpr double kUnitsPerPoint = 1.176;
inline constexpr double kUnitsPerPica = 14.112;

// CSS's absolute units in CSS pixels (96 to the inch), which SVG's user
// units are: the lengths of SVG properties, and the font sizes of a
// graphics object switched to CSS units (GraphicsImp::UseCssUnits).
inline constexpr double kCssPixelsPerInch = 96.0;
inline constexpr double kCssPixelsPerCentimetre = 96.0 / 2.54;
inline constexpr double kCssPixelsPerMillimetre = 96.0 / 25.4;
inline constexpr double kCssPixelsPerPoint = 96.0 / 72.0;
inline constexpr double kCssPixelsPerPica = 16.0;

// Point sizes of the seven font-size steps.
inline constexpr std::int32_t kFontStepPoints[7] = {8, 10, 12, 14, 18, 24, 36};

class Graphics {
  public:
    virtual ~Graphics();
    Graphics(const Graphics&) = delete;
    Graphics& operator=(const Graphics&) = delete;

    // The module's object, or null while there is none.
    static Graphics* Shared();
    // The module's object, made over the system font back end when there
    // is none.
    static Graphics& Instance();

    // The first installed TrueType face whose family bits equal those of
    // `family` (a pitch-and-family byte); false with the face emptied when
    // there is none or `family` has no family bits.
    virtual bool FindFamilyFace(std::uint8_t family, String& face) = 0;
    // Whether a TrueType face of that name is installed.
    virtual bool HasFace(const String& face) = 0;
    virtual Font* CreateFont(std::int32_t size, bool bold, bool italic, bool underline, bool strikeOut,
                             const String& face) = 0;
    // The cached font of the request; the default font when none can be
    // made. Fonts live until ClearFontCache or the object's end.
    virtual Font* CreateFontFromRequest(const FontRequest& request) = 0;
    virtual Font* GetFont(const platform::LogFont& logFont) = 0;
    // 0 unless italic; else size x slope run / slope rise, or size / 6
    // when that is 0.
    virtual std::int32_t ItalicOverhang(const FontRequest& request) = 0;

    // Device and logical conversions: the identity on this display.
    virtual void ToDevice(GraphicsRect& rect) = 0;
    virtual void ToDevice(GraphicsSize& size) = 0;
    virtual void ToDevice(GraphicsPoint& point) = 0;
    virtual std::int32_t ToDevice(std::int32_t value) = 0;
    virtual void ToLogical(GraphicsRect& rect) = 0;
    virtual void ToLogical(GraphicsSize& size) = 0;
    virtual void ToLogical(GraphicsPoint& point) = 0;
    virtual std::int32_t ToLogical(std::int32_t value) = 0;

    // The step (1 to 7) whose point size is nearest the pixels' (the
    // smaller step on a tie).
    virtual std::int32_t FontSizeStep(std::int32_t pixels) = 0;
    // The step's size in logical units and in pixels; a step outside 1 to 7
    // is taken as the nearest of them.
    virtual std::int32_t FontSizeLogical(std::int32_t step) = 0;
    virtual std::int32_t FontSizePixels(std::int32_t step) = 0;
    // Whether absolute lengths are CSS pixels (SVG's user units) rather
    // than the HTML presentation's units.
    virtual bool CountsCssUnits() const { return false; }

    // Lengths to engine units, truncated.
    virtual std::int32_t InchesToUnits(float value) = 0;
    virtual std::int32_t CentimetresToUnits(float value) = 0;
    virtual std::int32_t MillimetresToUnits(float value) = 0;
    virtual std::int32_t PointsToUnits(float value) = 0;
    virtual std::int32_t PicasToUnits(float value) = 0;
    virtual std::int32_t PixelsToUnits(float value) = 0;
    // The two font-relative conversions (em as picas; ex x 85 x 1.176).
    virtual std::int32_t EmsToUnits(float value) = 0;
    virtual std::int32_t ExsToUnits(float value) = 0;
    // Hundredths of a millimetre to other units.
    virtual double HundredthsToInches(double value) = 0;
    virtual double HundredthsToCentimetres(double value) = 0;
    virtual double HundredthsToMillimetres(double value) = 0;
    virtual double HundredthsToPoints(double value) = 0;
    virtual double HundredthsToPicas(double value) = 0;
    virtual double ToLogicalDouble(std::int32_t value) = 0;

    // The floor of the Euclidean distance.
    virtual std::int32_t Distance(GraphicsPoint p, GraphicsPoint q) = 0;
    // Selects the font and measures the text's first `length` bytes (all
    // of it up to its NUL when length is negative).
    virtual GraphicsSize TextExtent(const char* text, std::int32_t length, const Font* font) = 0;
    virtual DeviceContext& GetDeviceContext() = 0;
    virtual bool TextMetrics(const Font* font, platform::TextMetrics& out) = 0;
    virtual const ScreenBitmap& GetScreenBitmap() = 0;
    virtual Font* DefaultFont() = 0;
    virtual Font* DefaultFont2() = 0;

    // InvalidArgumentFault when the cursor cannot be loaded.
    void SetSystemCursor(std::uint32_t id);
    void SetResourceCursor(std::uint32_t id);
    // 0 until a cursor is set.
    std::uint32_t CurrentCursor() const { return cursor_; }

    // Text mapping; the viewport's height negated.
    virtual void PrepareDC(DeviceContext& dc) = 0;
    virtual void SelectFont(const Font* font) = 0;
    virtual GraphicsSize EdgeSize() = 0;
    virtual GraphicsSize ScrollBarSize() = 0;
    virtual GraphicsSize BorderSize() = 0;
    // Colours are 0x00BBGGRR; HLS words hold hue, lightness and saturation
    // (0 to 255 each) from the low byte up.
    virtual std::uint32_t HLSToRGB(std::uint32_t hue, std::uint32_t lightness, std::uint32_t saturation) = 0;
    virtual std::uint32_t RGBToHLS(std::uint32_t colour) = 0;
    virtual void ReleaseScreenBitmap() = 0;
    virtual void ClearFontCache() = 0;
    // The 4-by-4 square around one of the rectangle's eight handle points
    // (0 top-left, clockwise to 7 left-middle).
    virtual GraphicsRect HandleRect(const GraphicsRect& rect, std::int32_t which) = 0;
    // The path shortened with "\...\" until it fits the rectangle's width
    // in the context's font.
    virtual String CompactPath(const String& text, const GraphicsRect& rect, DeviceContext& dc) = 0;

  protected:
    Graphics() = default;

  private:
    std::uint32_t cursor_ = 0;
};

}  // namespace markup::style
