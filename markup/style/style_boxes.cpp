// The style mapper's box rules: margins and paddings of tables, cells,
// lists and the body, side widths, and the border colours that shade a
// background into a raised edge.
#include "imageload/image_handler.h"
#include "markup/style/colour_shading.h"
#include "platform/system_info.h"
#include "style_map_detail.h"

namespace markup::style::detail {

namespace {

std::int32_t Pixels(StyleContext& c, std::int32_t value) {
    return c.graphics.PixelsToUnits(static_cast<float>(value));
}

// A number attribute of another element; false without it.
bool NumberOf(const Node* node, std::uint32_t id, std::int32_t& out) {
    const AttrElement* element = AsAttrElement(node);
    const Attribute* attribute = element ? element->FindAttribute(id, true) : nullptr;
    if (!attribute) return false;
    out = ReadDecimal(attribute->value.Text());
    return true;
}

std::uint32_t KindOf(const Node* node) {
    const auto* element = dynamic_cast<const DocElement*>(node);
    return element ? element->TypeId() : 0;
}

bool IsList(std::uint32_t kind) {
    return kind == 105 || kind == 153;
}

void SetMargins(StyleContext& c, std::int32_t top, std::int32_t side, std::int32_t bottom) {
    c.style.SetIntLength(24, top, kStyleUnitAbsolute);
    c.style.SetIntLength(25, side, kStyleUnitAbsolute);
    c.style.SetIntLength(26, bottom, kStyleUnitAbsolute);
    c.style.SetIntLength(27, side, kStyleUnitAbsolute);
}

}  // namespace

void ApplyBoxLengths(StyleContext& c) {
    const std::uint32_t k = c.kind;
    if (k == 141 || k == 146) {
        std::int32_t spacing = 2;
        NumberOf(c.node.FindAncestorOfType(139), 23, spacing);
        const std::int32_t value = Pixels(c, spacing);
        SetMargins(c, value, value, value);
    } else if ((k >= 59 && k <= 64) || k == 67 || k == 109 || k == 112 || k == 113 || k == 139) {
        SetMargins(c, 0, 0, 19);
    } else if (IsList(k)) {
        SetMargins(c, 0, 0, IsList(KindOf(c.node.Parent())) ? 0 : 19);
    } else if (k == 24) {
        SetMargins(c, 0, 40, 19);
    } else if (k == 40) {
        SetMargins(c, 0, 18, 0);
    } else if (k == 72) {
        std::int32_t side = 0;
        std::int32_t bottom = 0;
        c.Number(0x480051, side);
        c.Number(0x4800B6, bottom);
        SetMargins(c, 0, side > 0 ? Pixels(c, side) : side, bottom > 0 ? Pixels(c, bottom) : bottom);
    } else {
        SetMargins(c, 0, 0, 0);
    }
    if (k == 73) c.style.SetIntLength(25, 8, kStyleUnitAbsolute);
}

void ApplySideWidths(StyleContext& c) {
    std::int32_t width = 0;
    const std::uint32_t k = c.kind;
    if (k == 141 || k == 146) {
        width = 0;
    } else if (k == 139 || k == 72 || k == 103) {
        if (const Attribute* border = c.element ? c.element->FindAttribute(16, true) : nullptr) {
            width = border->value.IsEmpty() ? 1 : ReadDecimal(border->value.Text());
        }
    } else if (k == 73 && c.ControlKind() == 9 && c.mode == 1) {
        width = 2;
    }
    const auto word = static_cast<std::uint32_t>(Pixels(c, width));
    for (std::uint32_t id = 34; id <= 37; ++id) c.style.SetWord(id, word);
}

void ApplyPaddings(StyleContext& c) {
    const std::uint32_t k = c.kind;
    if (k == 141 || k == 146) {
        std::int32_t padding = 1;
        NumberOf(c.node.FindAncestorOfType(139), 22, padding);
        for (std::uint32_t id = 29; id <= 32; ++id) c.style.SetIntLength(id, padding, kStyleUnitAbsolute);
        return;
    }
    if (k == c.mapper.RootKind() && k != 24) {
        std::int32_t side = c.mode == 1 ? 8 : 10;
        std::int32_t top = c.mode == 1 ? 8 : 12;
        if (c.Number(0x19005E, side)) side = Pixels(c, side);
        if (c.Number(0x1900A9, top)) top = Pixels(c, top);
        c.style.SetIntLength(30, side, kStyleUnitAbsolute);
        c.style.SetIntLength(32, side, kStyleUnitAbsolute);
        c.style.SetIntLength(29, top, kStyleUnitAbsolute);
        return;
    }
    if (k != 85) return;
    std::int32_t lists = 0;
    for (const Node* up = c.node.Parent(); up && IsList(KindOf(up)); up = up->Parent()) ++lists;
    std::int32_t indent = 40 * lists;
    // The list image stands where a marker would: its width widens the
    // indent, and its height less 12 is added to the top padding.
    if (const imageload::Image* image = c.style.GetImage(58); image && c.ControlKind() == 9) {
        indent += Pixels(c, image->bounds.Width());
        std::int32_t unit = 0;
        const std::int32_t top = c.style.GetIntLength(29, unit);
        c.style.SetIntLength(29, top + Pixels(c, image->bounds.Height()) - 12, kStyleUnitAbsolute);
    }
    String marker;
    c.style.GetSecondString(marker);
    if (!marker.IsEmpty() && c.mode != 1) {
        const GraphicsSize extent = c.style.TextExtent(marker.Text(), static_cast<std::int32_t>(marker.Length()));
        if (extent.cx > 20) indent = extent.cx - 20;
    }
    c.style.SetIntLength(32, indent, kStyleUnitAbsolute);
}

namespace {

std::uint32_t System(int index) {
    return platform::SystemColour(index);
}

// The light and dark edge of a colour; black, white and no colour at all
// take the button face and shadow.
void Shade(std::uint32_t base, bool found, std::uint32_t& light, std::uint32_t& dark) {
    base &= 0x00FFFFFF;
    if (!found || base == 0 || base == 0xFFFFFF) {
        light = System(platform::kColourButtonFace);
        dark = System(platform::kColourButtonShadow);
        return;
    }
    light = ShadeColour(base, kLightShade);
    dark = ShadeColour(base, kDarkShade);
}

// The background colour of the nearest ancestor of the body's type.
bool BodyBackground(StyleContext& c, std::uint32_t& out) {
    DocElement* body = c.node.Parent() ? dynamic_cast<DocElement*>(c.node.Parent()) : nullptr;
    body = body ? body->FindAncestorOfType(25) : nullptr;
    StyleProperties* record = body ? c.StyleOf(body) : nullptr;
    if (!record) return false;
    out = record->GetWord(10);
    return true;
}

void SetBorders(StyleContext& c, std::uint32_t first, std::uint32_t second) {
    c.style.SetWord(101, first);
    c.style.SetWord(103, first);
    c.style.SetWord(102, second);
    c.style.SetWord(104, second);
}

}  // namespace

void ApplyBorderColours(StyleContext& c) {
    const std::uint32_t k = c.kind;
    std::uint32_t light = 0x800080;
    if (c.mode == 2) light |= kTransparentMark;
    std::uint32_t dark = light;
    const bool imageInput = k == 73 && c.ControlKind() == 9;
    const Node* parent = c.node.Parent();
    if ((k == 72 && KindOf(parent) == 1 && AsAttrElement(parent) &&
         AsAttrElement(parent)->FindAttribute(80, true)) ||
        (imageInput && c.mode == 1)) {
        light = dark = c.mapper.LinkColour();
    }
    std::uint32_t border = kColourNotSet;
    if (k == 139 || k == 141 || k == 146) {
        if (!c.Colour(17, border)) border = kColourNotSet;
    }
    if (k == 139) {
        if (c.mode == 2) {
            const bool set = border != kColourNotSet;
            light = set ? border : System(platform::kColourButtonFace);
            dark = set ? border : System(platform::kColourButtonShadow);
            c.Colour(19, light);
            c.Colour(18, dark);
        } else {
            std::uint32_t base = border;
            bool found = border != kColourNotSet;
            if (!found) found = BodyBackground(c, base);
            Shade(base, found, light, dark);
        }
        SetBorders(c, light, dark);
        return;
    }
    if (k == 141 || k == 146) {
        if (c.mode == 2) {
            light = dark = kColourNotSet;
            c.Colour(19, light);
            c.Colour(18, dark);
            if (light == kColourNotSet) {
                light = border != kColourNotSet ? ShadeColour(border, kLightShade) : System(platform::kColourButtonFace);
            }
            if (dark == kColourNotSet) {
                dark = border != kColourNotSet ? ShadeColour(border, kDarkShade) : System(platform::kColourButtonShadow);
            }
        } else {
            std::uint32_t base = 0;
            const bool found = BodyBackground(c, base);
            Shade(base, found, light, dark);
        }
        SetBorders(c, dark, light);
        return;
    }
    if (k == 67) {
        if (c.mode == 2) {
            light = System(platform::kColourButtonFace);
            dark = System(platform::kColourButtonShadow);
            if (c.Has(38)) {
                light |= kTransparentMark;
                dark |= kTransparentMark;
            }
        } else {
            std::uint32_t base = 0;
            bool found = false;
            for (Node* up = c.node.Parent(); up && !found; up = up->Parent()) {
                StyleProperties* record = c.StyleOf(up);
                if (record && (record->GetWord(10) & kTransparentMark) == 0) {
                    base = record->GetWord(10);
                    found = true;
                }
            }
            Shade(base, found, light, dark);
        }
        SetBorders(c, dark, light);
        return;
    }
    SetBorders(c, light, dark);
}

}  // namespace markup::style::detail
