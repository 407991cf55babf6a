// Text objects: the font a text object uses (with the embedded font it
// feeds), the host's text runs split into pieces that SVG can place with
// one position each, and the text element of each piece.
#include <cmath>
#include <cstdlib>
#include <new>
#include <vector>

#include "c_format.h"
#include "svg_elements.h"
#include "svg_exp.h"
#include "svg_font.h"
#include "svg_writer.h"
#include "text_markup.h"
#include "xml_escape.h"

namespace svgf {
namespace {

// Bits 29-30 of a font's style flags: small capitals (carried by the font
// value) or all capitals (the text itself is upper-cased).
constexpr uint32_t kCapitalsMask = 0x60000000;
constexpr uint32_t kSmallCapitals = 0x20000000;
constexpr uint32_t kAllCapitals = 0x40000000;

// A run whose characters are turned may stray this far (times the font
// size) from the host's advances and still be one piece: the turned
// positions are rounded to whole host units.
constexpr double kTurnedRunTolerance = 0.000168244;

// The bit of node-type bytes that marks a glyph outline's first node.
constexpr uint8_t kFirstGlyphNode = 0x02;

bool SameEmbeddedFont(const SVGFont& a, const SVGFont& b) {
    return a.fullName == b.fullName && a.smallCaps == b.smallCaps && a.normalVariant == b.normalVariant &&
           a.styleBits == b.styleBits && a.weightBits == b.weightBits;
}

}  // namespace

int32_t SVGExp::DefineFont(const FontRecord* font) {
    if (font == nullptr) return kFailed;
    font_.record = *font;
    font_.defined = false;
    ReleaseHostFont();
    if (const auto create = Service<svc::CreateFontFn>(svc::kCreateFont)) {
        font_.hostFont = create(0, font->fontId, font->styleFlags, font->size, 0, font->rotation, 0);
    }

    // The buffer's size is part of the call, so the host never writes past it.
    char family[svc::kFamilyNameBufferSize] = {};
    const auto familyName = Service<svc::FontFamilyNameFn>(svc::kFontFamilyName);
    if (familyName == nullptr || familyName(font->fontId, family, sizeof family) == 0) {
        // No text goes out under a font without a name, nor under the
        // previous font's name.
        font_.family.clear();
        return kFailed;
    }
    family[sizeof family - 1] = '\0';
    font_.family = family;
    font_.defined = true;

    if (options_.embedFonts == 0 || fontList_ == nullptr) return kDone;
    if (DefineEmbeddedFont()) return kDone;
    ReleaseHostFont();
    font_.defined = false;
    return kFailed;
}

bool SVGExp::DefineEmbeddedFont() {
    std::unique_ptr<SVGFont> font(new (std::nothrow) SVGFont());
    if (font == nullptr) return false;
    try {
        const uint32_t flags = font_.record.styleFlags;
        font->fullName = font_.family;
        if ((flags & kCapitalsMask) == kSmallCapitals) {
            font->smallCaps = 1;
        } else {
            font->normalVariant = 1;
        }
        // Upright fonts announce "normal", so that a family used upright
        // and italic lists both styles.
        int32_t weight = 400;
        uint32_t italic = 0;
        WeightAndItalic(flags, weight, italic);
        font->styleBits = italic != 0 ? kFontStyleItalic : kFontStyleNormal;
        font->weightBits = FontWeightBit(weight);

        if (font_.embedded != nullptr && SameEmbeddedFont(*font_.embedded, *font)) return true;
        // A family already in the list keeps its id, so that A, B and A
        // again write text naming the font element that exists.
        if (font_.embedded != nullptr && font_.embedded->fullName == font->fullName) {
            font->id = font_.embedded->id;
        } else if (const SVGFont* listed = fontList_->Find(font->fullName)) {
            font->id = listed->id;
        } else {
            font->id.SetName(FormatC("FontID%d", fontList_->NextFontNumber()));
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    font_.embedded = std::move(font);
    return fontList_->FindOrAddFont(*font_.embedded) != 0;
}

int32_t SVGExp::DrawTextRun(const TextRunRecord* run) {
    if (run == nullptr) return kFailed;
    if (run->count <= 0) return kDone;
    if (run->characters == nullptr || run->positions == nullptr) return kFailed;
    if (!font_.defined || transformStack_.empty()) return kFailed;

    const uint16_t* characters = run->characters;
    const HostPoint* positions = run->positions;
    if (run->count == 1) return BuildTextObjects(positions[0].x, positions[0].y, characters, 1);

    const auto pairAdvance = Service<svc::PairAdvanceFn>(svc::kPairAdvance);
    const bool turned = font_.record.rotation != 0;
    const double tolerance = std::ceil(font_.record.size * kTurnedRunTolerance);
    int32_t start = 0;
    for (int32_t i = 1; i < run->count; ++i) {
        int32_t advance = 0;
        if (pairAdvance == nullptr ||
            pairAdvance(font_.hostFont, characters[i - 1], characters[i], &advance) == 0) {
            return kFailed;
        }
        const int64_t d = int64_t{positions[i].x} - advance - positions[i - 1].x;
        const bool sameLine = positions[i].y == positions[start].y;
        const bool continues =
            sameLine && (turned ? static_cast<double>(std::llabs(d)) <= tolerance : d == 0);
        if (continues) continue;
        if (BuildTextObjects(positions[start].x, positions[start].y, characters + start, i - start) !=
            kDone) {
            return kFailed;
        }
        start = i;
    }
    return BuildTextObjects(positions[start].x, positions[start].y, characters + start, run->count - start);
}

void SVGExp::CollectGlyph(uint16_t code) {
    const auto outlineOf = Service<svc::GlyphOutlineFn>(svc::kGlyphOutline);
    if (outlineOf == nullptr) return;
    HostHandle glyph = 0;
    HostOutline* outline = nullptr;
    const int32_t found = outlineOf(font_.hostFont, code, &glyph, &outline);
    if (found != 0 && outline != nullptr && outline->nodeCount > 0) {
        uint8_t* types = OutlineTypes(outline);
        types[0] |= kFirstGlyphNode;
        for (uint16_t i = 1; i < outline->nodeCount; ++i) types[i] &= static_cast<uint8_t>(~kFirstGlyphNode);
        try {
            auto entry = std::make_unique<SVGGlyph>();
            entry->code = code;
            entry->outline.pathData = GlyphPathData(*outline);
            fontList_->AddGlyph(*font_.embedded, std::move(entry));
        } catch (const std::bad_alloc&) {
            // The text is still written; only its font lacks the glyph.
        }
    }
    if (glyph != 0) {
        if (const auto release = Service<svc::GlyphReleaseFn>(svc::kGlyphRelease1)) release(glyph);
        if (const auto release = Service<svc::GlyphReleaseFn>(svc::kGlyphRelease2)) release(glyph);
    }
}

int32_t SVGExp::BuildTextObjects(int32_t x, int32_t y, const uint16_t* characters, int32_t count) {
    if (writer_ == nullptr || !font_.defined || transformStack_.empty() || characters == nullptr ||
        count <= 0) {
        return kFailed;
    }
    try {
        std::vector<uint16_t> codes(characters, characters + count);
        const bool allCapitals = (font_.record.styleFlags & kCapitalsMask) == kAllCapitals;
        // Capitals come before the glyphs are collected and before escaping,
        // so the embedded font holds the letters shown and an entity is
        // never upper-cased.
        for (uint16_t& code : codes) {
            code = PlainQuote(code);
            if (allCapitals) code = CapitalOf(code);
        }
        if (fontList_ != nullptr && font_.embedded != nullptr) {
            // A character XML cannot carry is replaced in the text; it has
            // no glyph of its own to show.
            for (uint16_t code : codes) {
                if (XmlCarries(code)) CollectGlyph(code);
            }
        }

        SVGText text;
        text.markup = TextMarkup(codes);
        const TransformRecord& object = text_.record;
        const bool fillTookOpacity = ResolveFill(text, object.attributes, object.boundingBox);
        ResolveOutline(text, object.attributes != nullptr ? object.attributes->outline : nullptr,
                       OutlineOpacity(object.attributes, fillTookOpacity));
        // The host turns characters counter-clockwise with y up; the
        // document's y runs down, where rotate turns them clockwise.
        text.rotation = font_.record.rotation == INT32_MIN ? INT32_MAX : -font_.record.rotation;
        ResolveFont(text);
        const double hostX = static_cast<double>(x) + text_.offsetX;
        const double hostY = static_cast<double>(y) + text_.offsetY;
        text.x = RoundHalfAway(hostX * scale_);
        text.y = RoundHalfAway(static_cast<double>(yOrigin_) - RoundHalfAway(hostY * scale_));
        writer_->WriteElement(text);
    } catch (const std::bad_alloc&) {
        return kFailed;
    }
    return kDone;
}

std::string SVGExp::GlyphPathData(const HostOutline& outline) const {
    std::vector<HostPoint> points(outline.nodeCount);
    const HostPoint* host = OutlinePoints(&outline);
    for (size_t i = 0; i < points.size(); ++i) points[i] = {ToUserLength(host[i].x), ToUserLength(host[i].y)};
    std::string data;
    AppendPathData(data, points.data(), OutlineTypes(&outline), static_cast<int32_t>(points.size()));
    return data;
}

}  // namespace svgf
