// The system font back end: fontconfig finds the face a logical font names,
// FreeType opens it at the requested pixel size and measures with it.
//
// Only built where the build has both libraries; SystemFontBackend falls
// back to the fixed back end elsewhere.
#if SVGFILTER_HAVE_FREETYPE

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SIZES_H
#include FT_TRUETYPE_TABLES_H
#include <strings.h>

#include <cctype>
#include <cstring>
#include <cmath>
#include <functional>
#include <map>
#include <string>
#include <unordered_map>

#include "font_backends.h"
#include "platform/font_backend.h"

namespace platform {

namespace {

// The largest pixel size a font is made at; larger requests are refused
// rather than handed to the rasteriser.
constexpr std::int64_t kMaxPixels = 4096;

std::string Lower(const std::string& text) {
    std::string out = text;
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// The family bits a face gets: monospaced faces are modern, faces named
// serif (and not sans) roman, the others swiss.
std::uint8_t FamilyBits(const std::string& family, bool mono) {
    if (mono) return kFamilyModern;
    const std::string lower = Lower(family);
    if (lower.find("serif") != std::string::npos && lower.find("sans") == std::string::npos) return kFamilyRoman;
    return kFamilySwiss;
}

struct MadeFont {
    FT_Face face = nullptr;  // shared with the other fonts of its file
    FT_Size size = nullptr;  // the font's own size on the face
    LogFont description;
    std::int32_t ascent = 0;
    std::int32_t descent = 0;
    std::int32_t pixels = 0;
};

class FreeTypeFontBackend : public FontBackend {
  public:
    FreeTypeFontBackend() {
        if (FT_Init_FreeType(&library_) != 0) library_ = nullptr;
        config_ = FcInitLoadConfigAndFonts();
    }
    ~FreeTypeFontBackend() override {
        // A face takes its sizes with it.
        for (auto& [file, face] : faces_) FT_Done_Face(face);
        if (library_) FT_Done_FreeType(library_);
        if (config_) FcConfigDestroy(config_);
    }

    bool Usable() const { return library_ && config_; }

    FontHandle CreateFont(const LogFont& request) override {
        if (!Usable()) return 0;
        char wanted[kFaceNameSize];
        std::memcpy(wanted, request.faceName, kFaceNameSize);
        wanted[kFaceNameSize - 1] = 0;
        const std::string family = wanted[0] ? wanted : "DejaVu Sans";
        std::int64_t height = request.height;
        if (height == 0) height = -16;
        if (height > kMaxPixels || height < -kMaxPixels) return 0;

        const bool bold = request.weight > 550;
        const bool italic = request.italic != 0;
        const Match found = MatchOf(family, bold, italic);
        const std::string& matched = found.family;
        const int weight = found.weight;
        const int spacing = found.spacing;
        FT_Face face = matched.empty() ? nullptr : FaceOf(found.file, found.index);
        FT_Size size = nullptr;
        if (!face || FT_New_Size(face, &size) != 0) return 0;

        MadeFont made;
        made.face = face;
        made.size = size;
        FT_Activate_Size(size);
        if (!Size(made, height)) {
            FT_Done_Size(size);
            return 0;
        }
        LogFont& d = made.description;
        d = request;
        d.SetFaceName(matched.c_str());
        d.width = 0;
        d.weight = weight >= FC_WEIGHT_BOLD ? 700 : 400;
        d.italic = request.italic ? 1 : 0;
        d.underline = request.underline ? 1 : 0;
        d.strikeOut = request.strikeOut ? 1 : 0;
        d.outPrecision = 0;
        d.clipPrecision = 0;
        d.quality = 0;
        const bool mono = spacing == FC_MONO;
        d.pitchAndFamily = static_cast<std::uint8_t>(FamilyBits(matched, mono) | (mono ? 1 : 2));
        const FontHandle handle = next_++;
        fonts_.emplace(handle, made);
        return handle;
    }

    void DestroyFont(FontHandle font) override {
        auto it = fonts_.find(font);
        if (it == fonts_.end()) return;
        FT_Done_Size(it->second.size);
        fonts_.erase(it);
    }

    bool DescribeFont(FontHandle font, LogFont& out) override {
        const MadeFont* made = Find(font);
        if (!made) return false;
        out = made->description;
        return true;
    }

    bool TextExtent(FontHandle font, const char* text, std::uint32_t length, TextSize& out) override {
        MadeFont* made = Find(font);
        if (!made || (!text && length)) return false;
        std::int64_t width = 0;
        for (std::uint32_t i = 0; i < length; ++i) {
            // The text is ISO-8859-1: each byte is its own code point.
            const FT_ULong code = static_cast<unsigned char>(text[i]);
            if (FT_Load_Char(made->face, code, FT_LOAD_DEFAULT) != 0) continue;
            width += (made->face->glyph->advance.x + 32) >> 6;
        }
        out.cx = width > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(width);
        out.cy = made->ascent + made->descent;
        return true;
    }

    bool Metrics(FontHandle font, TextMetrics& out) override {
        MadeFont* made = Find(font);
        if (!made) return false;
        const LogFont& d = made->description;
        FT_Face face = made->face;
        out = TextMetrics();
        out.ascent = made->ascent;
        out.descent = made->descent;
        out.height = made->ascent + made->descent;
        out.internalLeading = out.height > made->pixels ? out.height - made->pixels : 0;
        out.externalLeading = 0;
        std::int32_t average = 0;
        if (const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2))) {
            average = static_cast<std::int32_t>(
                std::lround(static_cast<double>(os2->xAvgCharWidth) * made->pixels / face->units_per_EM));
        }
        out.aveCharWidth = average;
        out.maxCharWidth = static_cast<std::int32_t>((face->size->metrics.max_advance + 32) >> 6);
        CopyStyleFields(d, out);
        return true;
    }

    bool CaretSlope(FontHandle font, std::int32_t& rise, std::int32_t& run) override {
        MadeFont* made = Find(font);
        if (!made) return false;
        rise = 1;
        run = 0;
        if (const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(made->face, FT_SFNT_HHEA))) {
            if (hhea->caret_Slope_Rise != 0) {
                rise = hhea->caret_Slope_Rise;
                run = hhea->caret_Slope_Run;
            }
        }
        return true;
    }

    void EnumerateFaces(const LogFont& filter, const std::function<bool(const FaceInfo&)>& report) override {
        if (!config_) return;
        char wanted[kFaceNameSize];
        std::memcpy(wanted, filter.faceName, kFaceNameSize);
        wanted[kFaceNameSize - 1] = 0;
        FcPattern* pattern = FcPatternCreate();
        if (wanted[0]) FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(wanted));
        FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_SPACING, FC_FONTFORMAT, nullptr);
        FcFontSet* set = FcFontList(config_, pattern, objects);
        FcObjectSetDestroy(objects);
        FcPatternDestroy(pattern);
        if (!set) return;
        // By lower-cased name, so that the order is the same on every run.
        std::map<std::string, FaceInfo> families;
        for (int i = 0; i < set->nfont; ++i) {
            FcChar8* name = nullptr;
            if (FcPatternGetString(set->fonts[i], FC_FAMILY, 0, &name) != FcResultMatch) continue;
            const std::string family = reinterpret_cast<const char*>(name);
            int spacing = FC_PROPORTIONAL;
            FcPatternGetInteger(set->fonts[i], FC_SPACING, 0, &spacing);
            FcChar8* format = nullptr;
            const bool trueType = FcPatternGetString(set->fonts[i], FC_FONTFORMAT, 0, &format) == FcResultMatch &&
                                  std::string(reinterpret_cast<const char*>(format)) == "TrueType";
            FaceInfo& info = families[Lower(family)];
            if (info.face.empty()) {
                info.face = family;
                info.pitchAndFamily = FamilyBits(family, spacing == FC_MONO);
            }
            info.trueType = info.trueType || trueType;
        }
        FcFontSetDestroy(set);
        for (const auto& [key, info] : families) {
            if (!report(info)) return;
        }
    }

    bool PreferredFace(std::uint8_t familyBits, std::string& face) override {
        const char* generic = nullptr;
        switch (familyBits & kFamilyMask) {
            case kFamilyRoman:
                generic = "serif";
                break;
            case kFamilySwiss:
                generic = "sans-serif";
                break;
            case kFamilyModern:
                generic = "monospace";
                break;
            case kFamilyScript:
                generic = "cursive";
                break;
            case kFamilyDecorative:
                generic = "fantasy";
                break;
            default:
                return false;
        }
        if (!config_) return false;
        FcPattern* match = BestMatch(generic, nullptr);
        if (!match) return false;
        // Only a TrueType face; of the same family kind where the names
        // tell it (few systems have script or decorative faces, and what
        // fontconfig gives for them is what other programs draw with).
        FcChar8* name = nullptr;
        FcChar8* format = nullptr;
        int spacing = FC_PROPORTIONAL;
        FcPatternGetInteger(match, FC_SPACING, 0, &spacing);
        const bool named = FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch;
        const bool trueType = FcPatternGetString(match, FC_FONTFORMAT, 0, &format) == FcResultMatch &&
                              std::string(reinterpret_cast<const char*>(format)) == "TrueType";
        if (named) face = reinterpret_cast<const char*>(name);
        FcPatternDestroy(match);
        const std::uint8_t bits = familyBits & kFamilyMask;
        const bool sameKind = bits == kFamilyScript || bits == kFamilyDecorative ||
                              FamilyBits(face, spacing == FC_MONO) == bits;
        return named && trueType && sameKind;
    }

  private:
    // fontconfig's best scalable face for a family (and what `refine` adds
    // to the request), or null; the caller destroys it.
    FcPattern* BestMatch(const char* family, const std::function<void(FcPattern*)>& refine) {
        FcPattern* pattern = FcPatternCreate();
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
        if (refine) refine(pattern);
        FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
        FcConfigSubstitute(config_, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        FcPattern* match = FcFontMatch(config_, pattern, &result);
        FcPatternDestroy(pattern);
        return match;
    }

    // What fontconfig chose for one family, weight and slant: the family
    // (empty when it substituted another), the file and the face's fields.
    struct Match {
        std::string family;
        std::string file;
        int index = 0;
        int weight = FC_WEIGHT_REGULAR;
        int spacing = FC_PROPORTIONAL;
    };

    // The configuration is loaded once and never rescanned, so a choice
    // holds for the back end's life: each face found is asked of fontconfig
    // once (a match costs a thousand allocations and a walk of every font).
    // Families are matched without case; only the ones found are kept, so
    // that the kept choices stay as few as the installed faces.
    Match MatchOf(const std::string& family, bool bold, bool italic) {
        std::string key = Lower(family);
        key += bold ? 'b' : 'r';
        key += italic ? 'i' : 'r';
        if (const auto hit = matches_.find(key); hit != matches_.end()) return hit->second;

        Match made;
        FcPattern* match = BestMatch(family.c_str(), [&](FcPattern* pattern) {
            FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
            FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
        });
        if (!match) return made;

        // A substitute of another family is not the face asked for.
        FcChar8* name = nullptr;
        for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
            if (strcasecmp(reinterpret_cast<const char*>(name), family.c_str()) == 0) {
                made.family = reinterpret_cast<const char*>(name);
                break;
            }
        }
        FcPatternGetInteger(match, FC_WEIGHT, 0, &made.weight);
        FcPatternGetInteger(match, FC_SPACING, 0, &made.spacing);
        FcPatternGetInteger(match, FC_INDEX, 0, &made.index);
        FcChar8* file = nullptr;
        if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) made.file = reinterpret_cast<const char*>(file);
        FcPatternDestroy(match);
        if (!made.family.empty() && !made.file.empty()) matches_.emplace(std::move(key), made);
        return made;
    }

    // The font, its size made the face's active one.
    MadeFont* Find(FontHandle font) {
        auto it = fonts_.find(font);
        if (it == fonts_.end()) return nullptr;
        FT_Activate_Size(it->second.size);
        return &it->second;
    }

    // The face of a file, opened once: opening reads and checks the file's
    // tables, the larger part of making a font, and an import makes its
    // fonts anew. Null when FreeType cannot open it.
    FT_Face FaceOf(const std::string& file, int index) {
        if (file.empty()) return nullptr;
        const std::string key = std::to_string(index) + ':' + file;
        if (const auto hit = faces_.find(key); hit != faces_.end()) return hit->second;
        FT_Face face = nullptr;
        if (FT_New_Face(library_, file.c_str(), index, &face) != 0) return nullptr;
        faces_.emplace(key, face);
        return face;
    }

    // A negative height is the em in pixels; a positive one the cell
    // (ascent plus descent of the font's Windows metrics).
    static bool Size(MadeFont& made, std::int64_t height) {
        FT_Face face = made.face;
        if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0) return false;
        double winAscent = face->ascender;
        double winDescent = -face->descender;
        if (const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2))) {
            if (os2->usWinAscent + os2->usWinDescent > 0) {
                winAscent = os2->usWinAscent;
                winDescent = os2->usWinDescent;
            }
        }
        double em = static_cast<double>(height < 0 ? -height : height);
        if (height > 0 && winAscent + winDescent > 0) em = em * face->units_per_EM / (winAscent + winDescent);
        const auto pixels = static_cast<FT_UInt>(std::lround(em) < 1 ? 1 : std::lround(em));
        if (FT_Set_Pixel_Sizes(face, 0, pixels) != 0) return false;
        made.pixels = static_cast<std::int32_t>(pixels);
        made.ascent = static_cast<std::int32_t>(std::lround(winAscent * em / face->units_per_EM));
        made.descent = static_cast<std::int32_t>(std::lround(winDescent * em / face->units_per_EM));
        return true;
    }

    FT_Library library_ = nullptr;
    FcConfig* config_ = nullptr;
    std::map<FontHandle, MadeFont> fonts_;
    // By face index and file; as few as the installed faces matched.
    std::unordered_map<std::string, FT_Face> faces_;
    FontHandle next_ = 1;
    std::unordered_map<std::string, Match> matches_;
};

}  // namespace

std::unique_ptr<FontBackend> MakeFreeTypeFontBackend() {
    auto backend = std::make_unique<FreeTypeFontBackend>();
    if (!backend->Usable()) return nullptr;
    return backend;
}

}  // namespace platform

#endif
