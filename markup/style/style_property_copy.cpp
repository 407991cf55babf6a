// One property's value taken from another record: what the cascade does
// for "inherit" (from the parent's record) and "initial" (from a fresh
// record). The record keeps most properties in slots indexed by the
// property id; the few kept elsewhere are named here.
#include "markup/style/style_properties.h"

#include "style_values.h"

namespace markup::style {

void StyleProperties::TakeProperty(std::uint32_t id, const StyleProperties& from) {
    if (id >= detail::kPropertySlots || &from == this) return;
    Values& v = *values_;
    const Values& f = *from.values_;
    // Each property uses one of these slots; the others are unused at its
    // id, so taking all of them is harmless.
    v.codes[id] = f.codes[id];
    v.flags[id] = f.flags[id];
    v.words[id] = f.words[id];
    v.intLengths[id] = f.intLengths[id];
    v.lengths[id] = f.lengths[id];
    v.references.Take(id, f.references);
    v.loaded.Take(id, f.loaded);
    switch (id) {
        case 1:
        case 111: v.family = f.family; break;
        case 9: v.colourAlpha = f.colourAlpha; break;
        case 11: v.images[0] = f.images[0]; break;
        case 58: v.images[1] = f.images[1]; break;
        case 18:
            for (std::uint32_t i = 0; i < 4; ++i) v.decoration[i] = f.decoration[i];
            break;
        case 69: v.fill = f.fill; break;
        case 72: v.stroke = f.stroke; break;
        case 76: v.dashes = f.dashes; break;
        case 79: v.miterLimit = f.miterLimit; break;
        case 89:
            v.stopColour = f.stopColour;
            v.stopAlpha = f.stopAlpha;
            v.stopCurrentColour = f.stopCurrentColour;
            v.stopColourMark = f.stopColourMark;
            break;
        case 91: v.overflowInherit = f.overflowInherit; break;
        case 98:
            for (std::uint32_t i = 0; i < 4; ++i) v.block[i] = f.block[i];
            v.blockGiven = f.blockGiven;
            break;
        case 100: v.listMarker = f.listMarker; break;
        default: break;
    }
    // The font is made from the record's values on the next ask.
    font_ = nullptr;
}

}  // namespace markup::style
