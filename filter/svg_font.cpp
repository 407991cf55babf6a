#include "svg_font.h"

#include <new>

#include "c_format.h"
#include "svg_writer.h"
#include "xml_escape.h"

namespace svgf {

std::string SVGGlyph::Write(const SVGWriteState& state) const {
    std::string text = "<glyph unicode=\"";
    AppendXmlCharacter(text, code);
    return text + "\">" + outline.Markup() + "</glyph>\r\n";
}

void SVGGlyphMap::Set(std::unique_ptr<SVGGlyph> glyph) {
    auto& bucket = buckets_[(glyph->code >> 4) % kBuckets];
    for (auto& stored : bucket) {
        if (stored->code == glyph->code) {
            stored = std::move(glyph);
            return;
        }
    }
    bucket.push_back(std::move(glyph));
}

const SVGGlyph* SVGGlyphMap::Find(uint16_t code) const {
    for (const auto& stored : buckets_[(code >> 4) % kBuckets]) {
        if (stored->code == code) return stored.get();
    }
    return nullptr;
}

size_t SVGGlyphMap::Size() const {
    size_t size = 0;
    for (const auto& bucket : buckets_) size += bucket.size();
    return size;
}

std::vector<const SVGGlyph*> SVGGlyphMap::InOrder() const {
    std::vector<const SVGGlyph*> order;
    for (const auto& bucket : buckets_) {
        for (auto it = bucket.rbegin(); it != bucket.rend(); ++it) order.push_back(it->get());
    }
    return order;
}

void SVGGlyphMap::Clear() {
    for (auto& bucket : buckets_) bucket.clear();
}

uint32_t FontWeightBit(int weight) {
    if (weight < 100 || weight > 900 || weight % 100 != 0) return 0;
    return 1u << (2 * (weight / 100 - 1));
}

std::string SVGFont::Write(const SVGWriteState&) const {
    std::string text = "<font ";
    text += id.IdAttribute();
    text += " fullFontName=\"" + EscapeXmlAttribute(fullName) + "\"";
    if (smallCaps != 0 || normalVariant != 0) {
        text += " fontVariant=\"";
        if (smallCaps != 0) text += "small-caps";
        if (normalVariant != 0) text += smallCaps != 0 ? ",normal" : "normal";
        text += "\"";
    }
    const uint32_t style = styleBits & kFontStyleBits;
    if (style != 0) {
        text += " fontStyle=\"";
        const uint32_t named = kFontStyleNormal | kFontStyleItalic | kFontStyleOblique;
        if (style == kFontStyleAll || (style & named) == named) {
            text += "all";
        } else {
            bool first = true;
            for (auto [bit, name] :
                 {std::pair{kFontStyleNormal, "normal"}, std::pair{kFontStyleItalic, "italic"},
                  std::pair{kFontStyleOblique, "oblique"}}) {
                if ((style & bit) == 0) continue;
                if (!first) text += ',';
                first = false;
                text += name;
            }
        }
        text += "\"";
    }
    const uint32_t weights = weightBits & kFontWeightBits;
    if (weights != 0) {
        text += " fontWeight=\"";
        uint32_t all = 0;
        for (int weight = 100; weight <= 900; weight += 100) all |= FontWeightBit(weight);
        if ((weights & all) == all) {
            text += "all";
        } else {
            bool first = true;
            for (int weight = 100; weight <= 900; weight += 100) {
                if ((weights & FontWeightBit(weight)) == 0) continue;
                AppendC(text, first ? "%d" : ",%d", weight);
                first = false;
            }
        }
        text += "\"";
    }
    return text + ">\r\n";
}

std::string SVGFont::FontFaceRule() const {
    // The embedded font's family is its id, not the installed family's
    // name: the text names both, in the order the options ask for, and a
    // name they shared would be one family.
    // The family is a CSS string: its quotes and backslashes are escaped.
    std::string family;
    for (char c : id.Name()) {
        if (c == '"' || c == '\\') family += '\\';
        family += c;
    }
    return "@font-face { font-family:\"" + family + "\";src:url(\"#" + id.Name() + "\") format(svg)}";
}

FontList::FontList() = default;
FontList::~FontList() = default;

SVGFont* FontList::Find(const std::string& fullName) const {
    for (const auto& font : fonts_) {
        if (font->fullName == fullName) return font.get();
    }
    return nullptr;
}

int FontList::FindOrAddFont(const SVGFont& description) {
    if (SVGFont* found = Find(description.fullName)) {
        found->smallCaps |= description.smallCaps;
        found->normalVariant |= description.normalVariant;
        found->styleBits |= description.styleBits & kFontStyleBits;
        found->weightBits |= description.weightBits & kFontWeightBits;
        current_ = found;
        return 1;
    }
    try {
        auto font = std::make_unique<SVGFont>();
        font->fullName = description.fullName;
        font->id = description.id;
        font->styleBits = description.styleBits & kFontStyleBits;
        font->smallCaps = description.smallCaps;
        font->normalVariant = description.normalVariant;
        font->weightBits = description.weightBits & kFontWeightBits;
        fonts_.push_back(std::move(font));
    } catch (const std::bad_alloc&) {
        return 0;
    }
    current_ = fonts_.back().get();
    return 1;
}

int FontList::AddGlyph(const SVGFont& description, std::unique_ptr<SVGGlyph> glyph) {
    if (FindOrAddFont(description) == 0) return 0;
    if (glyph) current_->glyphs.Set(std::move(glyph));
    return 1;
}

int FontList::WriteFonts(WSVGWriter& writer) {
    for (auto& font : fonts_) {
        if (writer.BeginFont(*font) != 0) {
            for (const SVGGlyph* glyph : font->glyphs.InOrder()) writer.WriteGlyph(*glyph);
            font->glyphs.Clear();
            writer.EndFont();
        }
    }
    RemoveAll();
    return writer.Failed() ? 0 : 1;
}

void FontList::RemoveAll() {
    fonts_.clear();
    current_ = nullptr;
}

}  // namespace svgf
