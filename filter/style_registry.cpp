#include "style_registry.h"

#include <algorithm>
#include <cstring>

#include "c_format.h"
#include "svg_gradient.h"
#include "svg_writer.h"

namespace svgf {
namespace {

template <typename T>
int Compare(const T& a, const T& b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

int CompareColour(SVGColor a, SVGColor b) {
    if (int c = Compare(a.red, b.red)) return c;
    if (int c = Compare(a.green, b.green)) return c;
    return Compare(a.blue, b.blue);
}

// A field of a host record, read without assuming its alignment.
template <typename T>
T FieldAt(const void* record, size_t offset) {
    T value;
    std::memcpy(&value, static_cast<const uint8_t*>(record) + offset, sizeof value);
    return value;
}

int StopsRead(int16_t count) {
    return std::clamp<int>(count, 0, kFountainMaxStops);
}

const uint8_t* FountainOf(const SVGFillKey& key) {
    return key.fill.body;
}

constexpr size_t kStopSize = sizeof(HostFountainStop);

int CompareFountains(const SVGStyleRegistry::FillEntry& a, const SVGStyleRegistry::FillEntry& b) {
    const uint8_t* fa = FountainOf(*a.fountain);
    const uint8_t* fb = FountainOf(*b.fountain);
    if (int c = Compare(FieldAt<uint16_t>(fa, 0), FieldAt<uint16_t>(fb, 0))) return c;
    if (int c = Compare(FieldAt<int16_t>(fa, 20), FieldAt<int16_t>(fb, 20))) return c;
    for (size_t offset : {24, 28, 32}) {
        if (int c = Compare(FieldAt<int32_t>(fa, offset), FieldAt<int32_t>(fb, offset))) return c;
    }
    for (size_t offset : {36, 38, 40, 42}) {
        if (int c = Compare(FieldAt<uint16_t>(fa, offset), FieldAt<uint16_t>(fb, offset))) return c;
    }
    const int16_t count = FieldAt<int16_t>(fa, 44);
    if (int c = Compare(count, FieldAt<int16_t>(fb, 44))) return c;
    for (int i = 0; i < StopsRead(count); ++i) {
        size_t position =
            offsetof(HostFountain, stops) + i * kStopSize + offsetof(HostFountainStop, position);
        if (int c = Compare(FieldAt<uint16_t>(fa, position), FieldAt<uint16_t>(fb, position))) return c;
        if (int c = CompareColour(a.stopColours[i], b.stopColours[i])) return c;
    }
    const HostRect& ra = a.box;
    const HostRect& rb = b.box;
    if (int c = Compare(ra.left, rb.left)) return c;
    if (int c = Compare(ra.right, rb.right)) return c;
    if (int c = Compare(ra.top, rb.top)) return c;
    return Compare(ra.bottom, rb.bottom);
}

HostFountain FountainCopy(const SVGFillKey& key) {
    HostFountain fountain;
    std::memcpy(&fountain, key.fill.body, sizeof fountain);
    return fountain;
}

}  // namespace

uint16_t OpacityByte(double opacity) {
    return static_cast<uint16_t>(std::clamp(RoundHalfAway(opacity * 255), 0, 255));
}

namespace {

// The key's opacity on the fill written for its class.
void WriteOpacity(const SVGStyleRegistry::FillEntry& entry, SVGFill& fill) {
    if (entry.opacity != -1.0) fill.opacity = OpacityByte(entry.opacity);
    fill.opacityOfElement = entry.opacityOfElement != 0;
}

}  // namespace

SVGColor RgbOf(const ColorRecord& rgb) {
    // Bytes 8, 9 and 10 of the record hold blue, green and red.
    return SVGColor{rgb.channels[6], rgb.channels[5], rgb.channels[4]};
}

std::vector<int16_t> OutlineDashes(const HostOutlineRecord& outline) {
    const int count = std::min<int>(outline.dashCount, kOutlineMaxDashes);
    std::vector<int16_t> dashes(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        dashes[static_cast<size_t>(i)] =
            FieldAt<int16_t>(&outline, offsetof(HostOutlineRecord, dashes) + 2 * i);
    }
    return dashes;
}

bool SVGStyleRegistry::OutlineLess::operator()(const OutlineEntry& a, const OutlineEntry& b) const {
    const HostOutlineRecord& x = a.record;
    const HostOutlineRecord& y = b.record;
    if (int c = Compare(x.kind, y.kind)) return c < 0;
    if (int c = Compare(x.width, y.width)) return c < 0;
    if (int c = CompareColour(a.colour, b.colour)) return c < 0;
    if (int c = Compare(x.cap, y.cap)) return c < 0;
    if (int c = Compare(x.join, y.join)) return c < 0;
    if (int c = Compare(x.dashCount, y.dashCount)) return c < 0;
    if (int c = Compare(a.opacity, b.opacity)) return c < 0;
    return OutlineDashes(x) < OutlineDashes(y);
}

bool SVGStyleRegistry::FillLess::operator()(const FillEntry& a, const FillEntry& b) const {
    if (int c = Compare(a.kind, b.kind)) return c < 0;
    if (int c = Compare(a.opacity, b.opacity)) return c < 0;
    if (int c = Compare(a.opacityOfElement, b.opacityOfElement)) return c < 0;
    switch (a.kind) {
        case kFillUniform:
            return CompareColour(a.colour, b.colour) < 0;
        case kFillFountain:
            return CompareFountains(a, b) < 0;
        default:
            return false;
    }
}

bool SVGStyleRegistry::FontLess::operator()(const FontEntry& a, const FontEntry& b) const {
    const SVGFontProps& x = *a.font;
    const SVGFontProps& y = *b.font;
    if (int c = Compare(x.verticalAlign, y.verticalAlign)) return c < 0;
    if (int c = Compare(x.italic, y.italic)) return c < 0;
    if (int c = Compare(x.smallCaps, y.smallCaps)) return c < 0;
    if (int c = Compare(x.size, y.size)) return c < 0;
    if (int c = Compare(x.weight, y.weight)) return c < 0;
    if (int c = x.family.compare(y.family)) return c < 0;
    return x.secondFamily.compare(y.secondFamily) < 0;
}

bool SVGStyleRegistry::StopListLess::operator()(const StopListEntry& a, const StopListEntry& b) const {
    if (int c = Compare(a.transformed, b.transformed)) return c < 0;
    if (int c = Compare(a.count, b.count)) return c < 0;
    if (int c = Compare(a.blend, b.blend)) return c < 0;
    if (int c = Compare(a.midPoint, b.midPoint)) return c < 0;
    for (size_t i = 0; i < a.stops.size() && i < b.stops.size(); ++i) {
        if (int c = Compare(a.stops[i].first, b.stops[i].first)) return c < 0;
        if (int c = CompareColour(a.stops[i].second, b.stops[i].second)) return c < 0;
    }
    return a.stops.size() < b.stops.size();
}

SVGStyleRegistry::SVGStyleRegistry(StyleRegistryHost& host) : host_(host) {}
SVGStyleRegistry::~SVGStyleRegistry() = default;

SVGColor SVGStyleRegistry::Rgb(const ColorRecord& colour) {
    return RgbOf(host_.ConvertColor(colour, kColorModelRgb));
}

int SVGStyleRegistry::FindOrAddOutline(const HostOutlineRecord& outline, double opacity) {
    OutlineEntry entry{outline, Rgb(outline.colour), opacity};
    auto [at, added] = outlines_.try_emplace(entry, static_cast<int>(outlines_.size()));
    return at->second;
}

SVGStyleRegistry::FillEntry SVGStyleRegistry::MakeFillEntry(const SVGFillKey& key) {
    FillEntry entry;
    entry.kind = key.fill.kind;
    entry.opacityOfElement = key.opacityOfElement;
    entry.opacity = key.opacity;
    entry.box = key.box;
    if (key.fill.kind == kFillUniform) {
        entry.colour = Rgb(FieldAt<ColorRecord>(key.fill.body, 0));
    } else if (key.fill.kind == kFillFountain) {
        entry.fountain = std::make_unique<const SVGFillKey>(key);
        const int count = StopsRead(FieldAt<int16_t>(key.fill.body, offsetof(HostFountain, stopCount)));
        for (int i = 0; i < count; ++i) {
            size_t offset = offsetof(HostFountain, stops) + i * kStopSize;
            entry.stopColours.push_back(Rgb(FieldAt<ColorRecord>(key.fill.body, offset)));
        }
    }
    return entry;
}

int SVGStyleRegistry::FindOrAddFill(const SVGFillKey& key) {
    FillEntry entry = MakeFillEntry(key);
    auto [at, added] = fills_.try_emplace(std::move(entry), static_cast<int>(fills_.size()));
    return at->second;
}

int SVGStyleRegistry::FindOrAddFont(const CRCPtr<SVGFontProps>& font) {
    if (!font) return -1;
    // The key keeps a copy: the caller's record may change after this call.
    auto [at, added] =
        fonts_.try_emplace(FontEntry{MakeRC<SVGFontProps>(*font)}, static_cast<int>(fonts_.size()));
    return at->second;
}

void SVGStyleRegistry::WriteOutlineRule(WSVGWriter& writer, const OutlineEntry& entry, int number) {
    const HostOutlineRecord& record = entry.record;
    const int type = record.kind & 7;
    if (type == kOutlineNone) return;
    const double scale = host_.Scale();
    SVGStroke_Color stroke;
    stroke.colour = entry.colour;
    stroke.width = RoundHalfAway(record.width * scale);
    if (entry.opacity != -1.0) stroke.opacity = OpacityByte(entry.opacity);
    if (record.cap >= 0 && record.cap <= 2) stroke.cap = record.cap;
    if (record.join >= 0 && record.join <= 2) stroke.join = record.join;
    if (type == kOutlineDashed) {
        for (int16_t dash : OutlineDashes(record)) {
            // The product is taken in 64 bits: a wide line times a long dash overflows 32.
            int64_t length = static_cast<int64_t>(dash) * record.width;
            stroke.dashes.push_back(RoundHalfAway(static_cast<double>(length) * scale));
        }
    }
    writer.WriteStyleRule(StrokeClassRule(number, stroke));
}

SVGStyleRegistry::StopListEntry SVGStyleRegistry::MakeStopList(const HostFountain& fountain,
                                                               const std::vector<SVGColor>& colours) const {
    StopListEntry list{fountain.stopCount, fountain.blend, fountain.midPoint, {}, false};
    for (size_t i = 0; i < colours.size(); ++i)
        list.stops.emplace_back(fountain.stops[i].position, colours[i]);
    return list;
}

void SVGStyleRegistry::WriteGradientRule(WSVGWriter& writer, const FillEntry& entry, int number) {
    const int definition = writer.NextDefinitionNumber();
    const HostFountain fountain = FountainCopy(*entry.fountain);
    SVGGradient_Linear linear;
    SVGGradient_Radial radial;
    SVGGradient* gradient = nullptr;
    std::map<StopListEntry, int, StopListLess>* lists = nullptr;
    if (fountain.subKind == 1) {
        host_.SetLinearGeometry(fountain, entry.box, linear);
        gradient = &linear;
        lists = &linearStops_;
    } else if (fountain.subKind == 2) {
        host_.SetRadialGeometry(fountain, entry.box, radial);
        gradient = &radial;
        lists = &radialStops_;
    } else {
        return;
    }
    StopListEntry list = MakeStopList(fountain, entry.stopColours);
    list.transformed = !gradient->transforms.empty();
    auto [at, added] = lists->try_emplace(std::move(list), definition);
    if (added) {
        host_.AddGradientStops(fountain, *gradient, 0);
    } else {
        gradient->reference = FormatC("#id%d", at->second);
    }
    gradient->id.SetNumber(definition);
    writer.WriteDefinitionText(gradient->Write(writer.WriteState()));
    writer.WriteStyleRule(
        FillReferenceClassRule(number, gradient->id.Name(), entry.opacity, entry.opacityOfElement != 0));
}

void SVGStyleRegistry::WriteFillRule(WSVGWriter& writer, const FillEntry& entry, int number) {
    switch (entry.kind) {
        case kFillUniform: {
            SVGFill_Color fill;
            fill.colour = entry.colour;
            WriteOpacity(entry, fill);
            writer.WriteStyleRule(FillClassRule(number, fill));
            return;
        }
        case kFillFountain:
            WriteGradientRule(writer, entry, number);
            return;
        default: {
            SVGFill_None fill;
            WriteOpacity(entry, fill);
            writer.WriteStyleRule(FillClassRule(number, fill));
            return;
        }
    }
}

int SVGStyleRegistry::WriteClasses(WSVGWriter& writer) {
    for (const auto& [entry, number] : outlines_) WriteOutlineRule(writer, entry, number);
    for (const auto& [entry, number] : fills_) WriteFillRule(writer, entry, number);
    for (const auto& [entry, number] : fonts_) {
        writer.WriteStyleRule(FontClassRule(number, *entry.font, entry.font->verticalAlign));
    }
    return writer.Failed() ? 0 : 1;
}

}  // namespace svgf
