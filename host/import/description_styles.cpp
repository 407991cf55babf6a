// Styles in the drawing description: the import's fill, outline,
// transparency and hyperlink records as the format's members.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "description.h"
#include "json_text.h"
#include "record_text.h"

namespace host::import {
namespace {

constexpr size_t kMaxLinkText = 1 << 16;

// A fountain's stops, at most the record's room; colours, or levels for a
// transparency (the level byte of the host, 0 opaque, 255 clear).
std::string StopsJson(const svgf::HostFountain& f, bool levels) {
    const int count = std::clamp<int>(f.stopCount, 0, svgf::kFountainMaxStops);
    std::string out = "[";
    for (int i = 0; i < count; ++i) {
        const svgf::HostFountainStop& stop = f.stops[i];
        out += i == 0 ? "" : ", ";
        if (levels) {
            out += "{\"level\": " + JsonNumber(std::round(stop.colour.channels[4] / 2.55 * 100) / 100);
        } else {
            out += "{\"colour\": " + ColourJson(stop.colour);
        }
        out += ", \"at\": " + Int(std::clamp<int>(stop.position, 0, 100)) + "}";
    }
    return out + "]";
}

// A fountain with the members the format gives it. Fewer than two stops
// are no gradient: one is its colour, none no paint (empty text then).
std::string FountainJson(const svgf::HostFountain& f, bool levels, Warnings& warnings) {
    const int count = std::clamp<int>(f.stopCount, 0, svgf::kFountainMaxStops);
    if (count == 0) {
        warnings.push_back("a fountain without stops was left out");
        return {};
    }
    if (count == 1) {
        if (levels) {
            return "{\"kind\": \"uniform\", \"level\": " +
                   JsonNumber(std::round(f.stops[0].colour.channels[4] / 2.55 * 100) / 100) + "}";
        }
        return "{\"kind\": \"uniform\", \"colour\": " + ColourJson(f.stops[0].colour) + "}";
    }
    const bool radial = f.subKind == 2;
    if (f.subKind != 1 && !radial) warnings.push_back("a fountain of type " + Int(f.subKind) + " went as linear");
    std::string out = std::string("{\"kind\": \"") + (radial ? "radial" : "linear") + "\"";
    // Degrees within one turn, the way the format takes them.
    const double degrees = std::fmod(f.angle / static_cast<double>(svgf::svc::kAngleUnitsPerDegree), 360.0);
    if (degrees != 0) out += ", \"angle\": " + JsonNumber(degrees);
    const int pad = std::clamp<int>(f.edgePad, 0, 49);
    if (pad != f.edgePad) warnings.push_back("an edge pad of " + Int(f.edgePad) + " went as " + Int(pad));
    if (pad != 0) out += ", \"pad\": " + Int(pad);
    if (radial && (f.centreX != 0 || f.centreY != 0)) {
        out += ", \"centre\": [" + Int(std::clamp(f.centreX, -100, 100)) + ", " +
               Int(std::clamp(f.centreY, -100, 100)) + "]";
    }
    static const char* const kBlends[] = {"two-colour", "hue-down", "hue-up", "custom"};
    const uint16_t blend = std::min<uint16_t>(f.blend, 3);
    out += std::string(", \"blend\": \"") + kBlends[levels && (blend == 1 || blend == 2) ? 3 : blend] + "\"";
    if (blend != 3 && f.midPoint != 50) out += ", \"mid\": " + Int(std::clamp<int>(f.midPoint, 1, 99));
    return out + ", \"stops\": " + StopsJson(f, levels) + "}";
}

std::string PatternJson(const svgf::HostFillRecord& fill, int level, TileSource& tiles, Warnings& warnings) {
    const svgf::HostPatternTileBlock block = PatternTileOf(fill);
    if (block.width <= 0 || block.height <= 0) {
        warnings.push_back("a pattern tile without a size was left out");
        return {};
    }
    std::string out = "{\"kind\": \"pattern\", \"width\": " + Int(block.width) + ", \"height\": " +
                      Int(block.height);
    const std::optional<std::string> objects = tiles.DrawTile(block, level + 1);
    if (objects && !objects->empty()) out += ", \"objects\": [" + *objects + "]";
    return out + "}";
}

std::string FillJson(const svgf::HostFillRecord* fill, int level, TileSource& tiles, Warnings& warnings) {
    if (fill == nullptr) return {};
    switch (fill->kind) {
        case svgf::kFillNone:
            return "{\"kind\": \"none\"}";
        case svgf::kFillUniform: {
            svgf::ColorRecord colour;
            std::memcpy(&colour, fill->body, sizeof colour);
            return "{\"kind\": \"uniform\", \"colour\": " + ColourJson(colour) + "}";
        }
        case svgf::kFillFountain:
            return FountainJson(FountainOf(*fill), false, warnings);
        case svgf::kFillPatternTile:
            return PatternJson(*fill, level, tiles, warnings);
        default:
            warnings.push_back("a fill of kind " + Int(fill->kind) + " was left out");
            return {};
    }
}

std::string OutlineJson(const svgf::HostOutlineRecord* o, Warnings& warnings) {
    if (o == nullptr) return {};
    const uint16_t type = o->kind & 7;
    if (type == svgf::kOutlineNone) return "{\"kind\": \"none\"}";
    static const char* const kCaps[] = {"butt", "round", "square"};
    static const char* const kJoins[] = {"miter", "round", "bevel"};
    std::string out = "{\"kind\": \"solid\", \"colour\": " + ColourJson(o->colour) +
                      ", \"width\": " + Int(std::max(o->width, 0));
    if (o->cap > 0 && o->cap <= 2) out += std::string(", \"cap\": \"") + kCaps[o->cap] + "\"";
    if (o->join > 0 && o->join <= 2) out += std::string(", \"join\": \"") + kJoins[o->join] + "\"";
    if (type == svgf::kOutlineDashed && o->dashCount > 0) {
        const int count = std::min<int>(o->dashCount, 11);
        if (count != o->dashCount) warnings.push_back("an outline's dashes were cut to 11");
        out += ", \"dashes\": [";
        for (int i = 0; i < count; ++i) out += (i == 0 ? "" : ", ") + Int(std::max<int>(o->dashes[i], 0));
        out += "]";
    }
    return out + "}";
}

std::string TransparencyJson(const svgf::HostTransparencyRecord* t, int level, TileSource& tiles,
                             Warnings& warnings) {
    if (t == nullptr || t->fill == nullptr) return {};
    if (t->type != svgf::kTransparencyImport) {
        warnings.push_back("a transparency of type " + Int(t->type) + " was left out");
        return {};
    }
    switch (t->fill->kind) {
        case svgf::kFillUniform:
            return "{\"kind\": \"uniform\", \"level\": " +
                   JsonNumber(std::clamp(std::isfinite(t->start) ? t->start : 0.0, 0.0, 100.0)) + "}";
        case svgf::kFillFountain:
            return FountainJson(FountainOf(*t->fill), true, warnings);
        case svgf::kFillPatternTile:
            return PatternJson(*t->fill, level, tiles, warnings);
        default:
            warnings.push_back("a transparency fill of kind " + Int(t->fill->kind) + " was left out");
            return {};
    }
}

}  // namespace

std::string ColourJson(const svgf::ColorRecord& c) {
    static const char kHex[] = "0123456789ABCDEF";
    uint8_t rgb[3] = {c.channels[6], c.channels[5], c.channels[4]};
    if (c.model == svgf::kColorModelGrey) rgb[0] = rgb[1] = rgb[2] = c.channels[4];
    std::string out = "\"#";
    for (const uint8_t v : rgb) {
        out += kHex[v >> 4];
        out += kHex[v & 15];
    }
    return out + "\"";
}

std::string LinkOf(const svgf::HostAttributes* attributes) {
    if (attributes == nullptr) return {};
    const auto* link =
        reinterpret_cast<const svgf::HostHyperlinkRecord*>(attributes->further[svgf::kAttributesHyperlinkField]);
    if (link == nullptr || link->text == nullptr) return {};
    const size_t n = WideLength(link->text, kMaxLinkText);
    std::string url;
    for (size_t i = 0; i < n; ++i) {
        const uint16_t code = link->text[i];
        if (code < 0x100) {
            url += static_cast<char>(code);
            continue;
        }
        // Beyond ISO-8859-1: the URL form of its UTF-8 bytes.
        static const char kHex[] = "0123456789ABCDEF";
        for (const char byte : Utf16ToUtf8(&code, 1)) {
            const auto b = static_cast<unsigned char>(byte);
            url += '%';
            url += kHex[b >> 4];
            url += kHex[b & 15];
        }
    }
    return url;
}

std::string StyleMembers(const svgf::HostAttributes* attributes, int level, TileSource& tiles,
                         Warnings& warnings) {
    if (attributes == nullptr) return {};
    std::string out;
    if (const std::string fill = FillJson(attributes->fill, level, tiles, warnings); !fill.empty())
        out += ", \"fill\": " + fill;
    if (const std::string outline = OutlineJson(attributes->outline, warnings); !outline.empty())
        out += ", \"outline\": " + outline;
    const auto* transparency = reinterpret_cast<const svgf::HostTransparencyRecord*>(attributes->transparency);
    if (const std::string t = TransparencyJson(transparency, level, tiles, warnings); !t.empty())
        out += ", \"transparency\": " + t;
    return out;
}

}  // namespace host::import
