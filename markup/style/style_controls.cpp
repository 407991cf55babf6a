// The style mapper's form controls and list items: the texts controls
// show, their widths and heights measured in the record's font, and the
// marker numbers of list items.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "markup/style/list_numbering.h"
#include "platform/system_info.h"
#include "style_map_detail.h"

namespace markup::style::detail {

namespace {

struct Measure {
    Graphics& graphics;
    Font* font;
    platform::TextMetrics metrics;
    GraphicsSize frame;

    explicit Measure(StyleContext& c) : graphics(c.graphics), font(nullptr) {
        font = graphics.CreateFontFromRequest(c.style.MakeFontRequest());
        if (font) graphics.TextMetrics(font, metrics);
        const GraphicsSize border = graphics.BorderSize();
        const GraphicsSize edge = graphics.EdgeSize();
        frame = {2 * (border.cx + edge.cx), 2 * (border.cy + edge.cy)};
    }
    GraphicsSize Text(const String& text) const {
        return font ? graphics.TextExtent(text.Text(), static_cast<std::int32_t>(text.Length()), font)
                    : GraphicsSize{};
    }
};

// The text of the element's first text child; empty when it has none.
String FirstText(const DocElement& node) {
    for (const Node* child = node.FirstChild(); child; child = child->NextSibling()) {
        const auto* run = dynamic_cast<const DocElement*>(child);
        if (run && run->TypeId() == kKindText) return run->Text();
    }
    return String();
}

void SetSize(StyleContext& c, std::int32_t width, std::int32_t widthUnit, std::int32_t height,
             std::int32_t heightUnit) {
    c.style.SetIntLength(46, width, widthUnit);
    c.style.SetIntLength(47, height, heightUnit);
}

// The rows and columns of a text area.
void AreaCells(StyleContext& c, std::int32_t& columns, std::int32_t& rows) {
    columns = 0;
    rows = 0;
    c.Number(39, columns);
    c.Number(143, rows);
    const Attribute* size = c.Attr(154);
    if (!size || size->value.IsEmpty()) return;
    const char* text = size->value.Text();
    columns = ReadDecimal(text);
    const char* comma = std::strchr(text + 1, ',');
    if (comma) rows = ReadDecimal(comma + 1);
}

// A length attribute: a percentage as written, else pixels converted.
bool LengthAttribute(StyleContext& c, std::uint32_t id, std::int32_t& value, std::int32_t& unit) {
    const Attribute* attribute = c.Attr(id);
    if (!attribute) return false;
    value = ReadDecimal(attribute->value.Text());
    if (attribute->value.Find('%') >= 0) {
        unit = kStyleUnitPercent;
    } else {
        value = c.graphics.PixelsToUnits(static_cast<float>(value));
        unit = kStyleUnitAbsolute;
    }
    return true;
}

void SelectListSize(StyleContext& c, const Measure& m) {
    GraphicsSize size{};
    if (c.mode != 2) size = c.style.TextExtent("M", 1);
    for (const Node* child = c.node.FirstChild(); child; child = child->NextSibling()) {
        const auto* option = dynamic_cast<const DocElement*>(child);
        if (!option || option->TypeId() != 106 || !option->FirstChild()) continue;
        const auto* first = dynamic_cast<const DocElement*>(option->FirstChild());
        if (!first) continue;
        const String& text = first->Text();
        const GraphicsSize extent = c.style.TextExtent(text.Text(), static_cast<std::int32_t>(text.Length()));
        size.cx = std::max(size.cx, extent.cx);
        size.cy = std::max(size.cy, extent.cy);
    }
    std::int32_t rows = 1;
    c.Number(154, rows);
    if (size.cx > 0) {
        size.cy = rows * size.cy + m.frame.cy;
        size.cx = c.graphics.PixelsToUnits(
                      static_cast<float>(platform::SystemMetric(platform::kMetricVerticalScrollWidth))) +
                  size.cx + m.frame.cx;
    }
    SetSize(c, size.cx, kStyleUnitAbsolute, size.cy, kStyleUnitAbsolute);
}

void OtherSize(StyleContext& c, const Measure& m, bool button) {
    std::int32_t width = 0, widthUnit = kStyleUnitInitial;
    std::int32_t height = 0, heightUnit = kStyleUnitInitial;
    GraphicsSize label{};
    if (button) {
        String text;
        label = m.Text(c.style.GetSecondString(text));
    }
    if (!LengthAttribute(c, 183, width, widthUnit) && button) {
        width = c.graphics.PixelsToUnits(
            static_cast<float>(c.graphics.ToLogical(label.cx + label.cx / 2 + m.frame.cx)));
        widthUnit = kStyleUnitAbsolute;
    }
    if (!LengthAttribute(c, c.kind == 67 ? 154 : 78, height, heightUnit)) {
        if (button || c.kind == 67) {
            const std::int32_t logical = button ? c.graphics.ToLogical(label.cy + m.frame.cy) : c.graphics.ToLogical(2);
            height = c.graphics.PixelsToUnits(static_cast<float>(logical));
            heightUnit = kStyleUnitAbsolute;
        }
    }
    if (c.kind == 90) {
        if (widthUnit == kStyleUnitInitial) {
            width = 100;
            widthUnit = kStyleUnitPercent;
        }
        if (heightUnit == kStyleUnitInitial) {
            height = m.metrics.height + 2 * c.graphics.BorderSize().cy;
            heightUnit = kStyleUnitAbsolute;
        }
    }
    SetSize(c, width, widthUnit, height, heightUnit);
}

}  // namespace

void ApplyControlText(StyleContext& c) {
    const std::uint32_t control = c.ControlKind();
    const bool shows = control == 1 || control == 6 || control == 15 || control == 7 || control == 9 ||
                       control == 12 || c.kind == 90;
    if (!shows) return;
    if (const Attribute* value = c.Attr(176)) {
        c.style.SetSecondString(value->value);
    } else if (control == 1) {
        c.style.SetSecondString(c.mode == 2 ? "Submit" : "Submit Query");
    } else if (control == 12 || c.kind == 90) {
        c.style.SetSecondString(FirstText(c.node));
    }
}

void ApplySizes(StyleContext& c) {
    const Measure m(c);
    const std::uint32_t control = c.ControlKind();
    const std::int32_t average = m.metrics.aveCharWidth;
    if (control == 1 && c.mode != 1) {
        String text;
        const GraphicsSize label = m.Text(c.style.GetSecondString(text));
        std::int32_t width = label.cx + m.frame.cx;
        if (c.mode == 2) {
            width = std::max(width, 38);
        } else {
            width += label.cx / 2;
        }
        SetSize(c, width, kStyleUnitAbsolute, label.cy + m.frame.cy, kStyleUnitAbsolute);
    } else if (control == 16 || control == 4) {
        const std::int32_t box = c.graphics.PixelsToUnits(13.0f);
        SetSize(c, box, kStyleUnitAbsolute, box, kStyleUnitAbsolute);
    } else if (control == 6 || control == 15 || control == 7) {
        std::int32_t n = 0;
        if (!c.Number(154, n) || n == 0) n = 20;
        std::int32_t width = average * n + m.frame.cx + 2;
        if (control == 7) {
            const std::int32_t browse = m.Text("Browse...").cx;
            width += browse + browse / 2 + m.frame.cx + c.graphics.BorderSize().cx;
        }
        SetSize(c, width, kStyleUnitAbsolute, m.metrics.height + m.frame.cy, kStyleUnitAbsolute);
    } else if (control == 12) {
        std::int32_t columns = 0, rows = 0;
        AreaCells(c, columns, rows);
        const GraphicsSize bars = c.graphics.ScrollBarSize();
        SetSize(c, bars.cx + average * columns + m.frame.cx, kStyleUnitAbsolute,
                bars.cy + m.metrics.height * rows + m.frame.cy, kStyleUnitAbsolute);
    } else if (c.kind == 122) {
        SelectListSize(c, m);
    } else if (c.kind == 85) {
        SetSize(c, 0, kStyleUnitAbsolute, 5, kStyleUnitAbsolute);
    } else {
        OtherSize(c, m, control == 1);
    }
}

void NumberListItem(StyleContext& c) {
    const std::uint32_t type = c.style.GetKeyword(57);
    if (type != kNumberDecimal && type != kNumberLowerLetters && type != kNumberUpperLetters &&
        type != kNumberLowerRoman && type != kNumberUpperRoman) {
        return;
    }
    // The items before this one at its level, wrappers (181) entered and
    // left; gathered first and styled from the earliest on, so that no item
    // waits on a chain of earlier ones.
    std::vector<Node*> items;
    Node* at = c.node.PreviousSibling();
    Node* level = c.node.Parent();
    for (;;) {
        while (!at && level && dynamic_cast<DocElement*>(level) &&
               static_cast<DocElement*>(level)->TypeId() == 181) {
            at = level->PreviousSibling();
            level = level->Parent();
        }
        if (!at) break;
        const auto* element = dynamic_cast<const DocElement*>(at);
        const std::uint32_t kind = element ? element->TypeId() : 0;
        if (kind == 181 && at->FirstChild()) {
            level = at;
            at = at->LastChild();
            continue;
        }
        if (kind == 85) items.push_back(at);
        at = at->PreviousSibling();
    }
    std::int32_t count = 0;
    for (auto it = items.rbegin(); it != items.rend(); ++it) {
        StyleProperties* record = c.StyleOf(*it);
        if (record && record->GetKeyword(57) != 164) ++count;
    }
    String text;
    ListMarkerText(type, count + static_cast<std::int32_t>(c.style.GetStartValue()), text);
    c.style.SetSecondString(text);
}

}  // namespace markup::style::detail
