// The font table, the font and glyph handles, and the answers read from the
// font files through FreeType.
#include "host/media/font_library.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H
#include FT_OUTLINE_H

#include <cstring>
#include <map>
#include <stdexcept>
#include <unordered_map>
#include <utility>

#include "font_resolver.h"
#include "font_services_detail.h"
#include "host/media/outline_builder.h"

namespace host::media {
namespace {

// Outlines and advances are read in font units and scaled once, so that the
// host-unit values follow the design exactly, free of hinting and of
// FreeType's 26.6 rounding.
constexpr FT_Int32 kLoadFlags = FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP;

// Codes 0x80 to 0x9F are control codes in Unicode; the host's text gives
// them their Windows-1252 meaning (curly quotes, dashes, the euro sign).
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

uint32_t ToUnicode(uint32_t code) {
    return code >= 0x80 && code <= 0x9F ? kWindows1252High[code - 0x80] : code;
}

// v font units at `size` host units per em, rounded half away from zero.
bool ScaleToHost(int64_t v, int32_t size, int upem, int32_t* out) {
    return RoundToHost(static_cast<double>(v) * size / upem, out);
}

struct DecomposeState {
    OutlineBuilder* builder;
    bool started = false;
};

// FreeType hands coordinates doubled (shift 1) so that the on-curve points
// it implies between two quadratic controls stay exact.
constexpr double kHalf = 0.5;

int OnMove(const FT_Vector* to, void* user) {
    auto* s = static_cast<DecomposeState*>(user);
    if (s->started) s->builder->Close();
    s->started = true;
    s->builder->MoveTo(to->x * kHalf, to->y * kHalf);
    return 0;
}
int OnLine(const FT_Vector* to, void* user) {
    static_cast<DecomposeState*>(user)->builder->LineTo(to->x * kHalf, to->y * kHalf);
    return 0;
}
int OnConic(const FT_Vector* c, const FT_Vector* to, void* user) {
    static_cast<DecomposeState*>(user)->builder->QuadTo(c->x * kHalf, c->y * kHalf, to->x * kHalf,
                                                        to->y * kHalf);
    return 0;
}
int OnCubic(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
    static_cast<DecomposeState*>(user)->builder->CubicTo(c1->x * kHalf, c1->y * kHalf, c2->x * kHalf,
                                                         c2->y * kHalf, to->x * kHalf, to->y * kHalf);
    return 0;
}

}  // namespace

std::optional<FontStyle> StyleFromFlags(uint32_t styleFlags) {
    const uint32_t bits = styleFlags & 0x3FFFF;
    if (bits == 0 || (bits & (bits - 1)) != 0) return std::nullopt;
    int bit = 0;
    while ((bits >> bit) != 1) ++bit;
    return FontStyle{100 * (bit / 2 + 1), (bit & 1) != 0};
}

struct FontLibrary::Impl {
    struct TableEntry {
        std::string family;
        FontStyle style;
    };
    struct FontRecord {
        FT_Face face;
        int32_t size;
    };
    struct GlyphRecord {
        OutlinePtr outline;
    };

    FT_Library ft = nullptr;
    detail::FontResolver resolver;
    std::map<int32_t, TableEntry> table;
    std::map<std::pair<std::string, int>, FT_Face> faces;
    std::unordered_map<svgf::HostHandle, FontRecord> fonts;
    std::unordered_map<svgf::HostHandle, GlyphRecord> glyphs;
    svgf::HostHandle lastHandle = 0;
    HandleCounts counts;

    Impl() {
        if (FT_Init_FreeType(&ft) != 0) throw std::runtime_error("FreeType did not start");
    }
    ~Impl() {
        for (auto& [key, face] : faces) FT_Done_Face(face);
        FT_Done_FreeType(ft);
    }

    // Font and glyph handles share one numbering, so neither kind is ever
    // taken for the other.
    svgf::HostHandle NewHandle() {
        do {
            ++lastHandle;
        } while (lastHandle == 0 || fonts.count(lastHandle) != 0 || glyphs.count(lastHandle) != 0);
        return lastHandle;
    }

    std::optional<ResolvedFont> Resolve(int32_t fontId, uint32_t styleFlags) {
        auto it = table.find(fontId);
        if (it == table.end()) return std::nullopt;
        const FontStyle style = StyleFromFlags(styleFlags).value_or(it->second.style);
        return resolver.Resolve(it->second.family, style);
    }

    FT_Face OpenFace(int32_t fontId, uint32_t styleFlags) {
        std::optional<ResolvedFont> resolved = Resolve(fontId, styleFlags);
        if (!resolved) return nullptr;
        const auto key = std::make_pair(resolved->file, resolved->faceIndex);
        if (auto it = faces.find(key); it != faces.end()) return it->second;
        FT_Face face = nullptr;
        if (FT_New_Face(ft, resolved->file.c_str(), resolved->faceIndex, &face) != 0) return nullptr;
        if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0) {
            FT_Done_Face(face);
            return nullptr;
        }
        faces.emplace(key, face);
        return face;
    }

    static bool Advance(FT_Face face, int32_t size, uint32_t previous, uint32_t character, int32_t* out) {
        const FT_UInt left = FT_Get_Char_Index(face, ToUnicode(previous));
        const FT_UInt right = FT_Get_Char_Index(face, ToUnicode(character));
        FT_Fixed width = 0;
        if (FT_Get_Advance(face, left, kLoadFlags, &width) != 0) return false;
        return GlyphAdvance(face, size, left, width, right, out);
    }

    // The left glyph's width plus the pair's kerning, in host units.
    static bool GlyphAdvance(FT_Face face, int32_t size, FT_UInt left, FT_Fixed width, FT_UInt right,
                             int32_t* out) {
        FT_Vector kern{0, 0};
        if (FT_HAS_KERNING(face) && FT_Get_Kerning(face, left, right, FT_KERNING_UNSCALED, &kern) != 0)
            kern.x = 0;
        return ScaleToHost(static_cast<int64_t>(width) + kern.x, size, face->units_per_EM, out);
    }

    FontRecord* FindFont(svgf::HostHandle font) {
        auto it = fonts.find(font);
        return it == fonts.end() ? nullptr : &it->second;
    }
};

FontLibrary::FontLibrary() : impl_(std::make_unique<Impl>()) {}

FontLibrary::~FontLibrary() {
    detail::ForgetFontLibrary(this);
}

void FontLibrary::AddFont(int32_t fontId, std::string family, FontStyle style) {
    impl_->table[fontId] = {std::move(family), style};
}

bool FontLibrary::HasFont(int32_t fontId) const {
    return impl_->table.count(fontId) != 0;
}

std::optional<ResolvedFont> FontLibrary::Resolve(int32_t fontId, uint32_t styleFlags) {
    return impl_->Resolve(fontId, styleFlags);
}

svgf::HostHandle FontLibrary::CreateFont(int32_t fontId, uint32_t styleFlags, int32_t size,
                                         int32_t /*rotation*/) {
    if (size <= 0 || size > kMaxFontSize) return 0;
    FT_Face face = impl_->OpenFace(fontId, styleFlags);
    if (face == nullptr) return 0;
    const svgf::HostHandle handle = impl_->NewHandle();
    impl_->fonts.emplace(handle, Impl::FontRecord{face, size});
    ++impl_->counts.fontsCreated;
    return handle;
}

bool FontLibrary::ReleaseFont(svgf::HostHandle font) {
    if (impl_->fonts.erase(font) == 0) return false;
    ++impl_->counts.fontsReleased;
    return true;
}

bool FontLibrary::FamilyName(int32_t fontId, char* buffer, uint32_t bufferSize) {
    if (buffer == nullptr || bufferSize == 0) return false;
    std::optional<ResolvedFont> resolved = impl_->Resolve(fontId, 0);
    if (!resolved || resolved->family.size() >= bufferSize) {
        buffer[0] = '\0';
        return false;
    }
    std::memcpy(buffer, resolved->family.c_str(), resolved->family.size() + 1);
    return true;
}

bool FontLibrary::PairAdvance(svgf::HostHandle font, uint32_t previous, uint32_t character,
                              int32_t* advance) {
    Impl::FontRecord* record = impl_->FindFont(font);
    if (record == nullptr || advance == nullptr) return false;
    return Impl::Advance(record->face, record->size, previous, character, advance);
}

bool FontLibrary::RunAdvances(svgf::HostHandle font, const uint16_t* text, size_t count, int32_t* advances) {
    Impl::FontRecord* record = impl_->FindFont(font);
    if (record == nullptr || text == nullptr || advances == nullptr) return false;
    FT_Face face = record->face;
    // Each character's glyph, and its width once asked for.
    struct Glyph {
        FT_UInt index = 0;
        FT_Fixed width = 0;
        bool indexed = false;
        bool measured = false;
        bool measurable = false;
    };
    std::unordered_map<uint32_t, Glyph> glyphs;
    const auto glyphOf = [&](uint32_t character) -> Glyph& {
        Glyph& glyph = glyphs[character];
        if (!glyph.indexed) {
            glyph.index = FT_Get_Char_Index(face, ToUnicode(character));
            glyph.indexed = true;
        }
        return glyph;
    };
    for (size_t i = 0; i < count; ++i) {
        Glyph& left = glyphOf(text[i]);
        if (!left.measured) {
            left.measurable = FT_Get_Advance(face, left.index, kLoadFlags, &left.width) == 0;
            left.measured = true;
        }
        if (!left.measurable) return false;
        const FT_UInt right = glyphOf(i + 1 < count ? text[i + 1] : 0).index;
        if (!Impl::GlyphAdvance(face, record->size, left.index, left.width, right, &advances[i]))
            return false;
    }
    return true;
}

std::optional<int32_t> FontLibrary::PairAdvance(const FontRequest& font, uint32_t previous,
                                                uint32_t character) {
    if (font.size <= 0 || font.size > kMaxFontSize) return std::nullopt;
    FT_Face face = impl_->OpenFace(font.fontId, font.styleFlags);
    int32_t advance = 0;
    if (face == nullptr || !Impl::Advance(face, font.size, previous, character, &advance))
        return std::nullopt;
    return advance;
}

bool FontLibrary::GlyphOutline(svgf::HostHandle font, uint32_t character, svgf::HostHandle* glyph,
                               svgf::HostOutline** outline) {
    if (glyph != nullptr) *glyph = 0;
    if (outline != nullptr) *outline = nullptr;
    Impl::FontRecord* record = impl_->FindFont(font);
    if (record == nullptr || glyph == nullptr || outline == nullptr) return false;
    FT_Face face = record->face;
    const FT_UInt index = FT_Get_Char_Index(face, ToUnicode(character));
    if (index == 0 || FT_Load_Glyph(face, index, kLoadFlags) != 0) return false;
    if (face->glyph->format != FT_GLYPH_FORMAT_OUTLINE) return false;

    OutlineBuilder builder(static_cast<double>(record->size) / face->units_per_EM);
    DecomposeState state{&builder};
    FT_Outline_Funcs funcs{};
    funcs.move_to = OnMove;
    funcs.line_to = OnLine;
    funcs.conic_to = OnConic;
    funcs.cubic_to = OnCubic;
    funcs.shift = 1;
    if (FT_Outline_Decompose(&face->glyph->outline, &funcs, &state) != 0) return false;
    if (state.started) builder.Close();
    OutlinePtr block = builder.Finish();
    if (!block) return false;

    const svgf::HostHandle handle = impl_->NewHandle();
    *outline = block.get();
    impl_->glyphs.emplace(handle, Impl::GlyphRecord{std::move(block)});
    ++impl_->counts.glyphsCreated;
    *glyph = handle;
    return true;
}

bool FontLibrary::ReleaseGlyphOutline(svgf::HostHandle glyph) {
    auto it = impl_->glyphs.find(glyph);
    if (it == impl_->glyphs.end() || !it->second.outline) return false;
    it->second.outline.reset();
    ++impl_->counts.glyphOutlinesReleased;
    return true;
}

bool FontLibrary::ReleaseGlyph(svgf::HostHandle glyph) {
    if (impl_->glyphs.erase(glyph) == 0) return false;
    ++impl_->counts.glyphsReleased;
    return true;
}

HandleCounts FontLibrary::Counts() const {
    return impl_->counts;
}

}  // namespace host::media
