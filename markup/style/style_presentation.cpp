// The HTML presentational rules of the style mapper: alignment, lists,
// backgrounds and colours, font styles and faces of code-like elements,
// font sizes from the step table, the control-kind word and the flag and
// kind words of the record.
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

#include "markup/style/css_attribute.h"
#include "markup/style/graphics_imp.h"
#include "platform/resource_strings.h"
#include "platform/system_info.h"
#include "style_map_detail.h"

namespace markup::style::detail {

const Attribute* StyleContext::Attr(std::uint32_t id) const {
    return element ? element->FindAttribute(id, true) : nullptr;
}

bool StyleContext::Number(std::uint32_t id, std::int32_t& out) const {
    const Attribute* attribute = Attr(id);
    if (!attribute) return false;
    out = ReadDecimal(attribute->value.Text());
    return true;
}

bool StyleContext::Colour(std::uint32_t id, std::uint32_t& out) const {
    const Attribute* attribute = Attr(id);
    return attribute && ReadColour(attribute->value, css, out);
}

std::uint32_t StyleContext::ValueCode(std::uint32_t id) const {
    const Attribute* attribute = Attr(id);
    return attribute ? attribute->valueCode : 0;
}

StyleProperties* StyleContext::StyleOf(Node* at) const {
    StyleProperties* record = nullptr;
    mapper.GetStyle(at, record);
    return record;
}

std::int32_t ReadDecimal(const char* text) {
    // strtol saturates where atol's overflow is undefined.
    const long value = std::strtol(text ? text : "", nullptr, 10);
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<std::int32_t>(value);
}

bool ReadColour(const String& text, const CSSDictionary* css, std::uint32_t& out) {
    String trimmed = text;
    trimmed.TrimLeft();
    trimmed.TrimRight();
    if (trimmed.IsEmpty()) return false;
    std::uint32_t word = 0;
    if (trimmed.Text()[0] == '#') {
        if (!CSSColorAttribute::SixDigitWord(trimmed, word) && !CSSColorAttribute::ThreeDigitWord(trimmed, word)) {
            return false;
        }
        out = word;
        return true;
    }
    // Old documents write the six digits without their "#".
    String hashed("#");
    hashed += trimmed;
    if (trimmed.Length() == 6 && CSSColorAttribute::SixDigitWord(hashed, word)) {
        out = word;
        return true;
    }
    if (!css) return false;
    CSSColorAttribute colour(*css);
    colour.SetText(trimmed);
    if (colour.IsSpecial()) return false;
    out = colour.ColourWord();
    return true;
}

namespace {

bool TextIs(const Attribute* attribute, const char* text) {
    return attribute && String::CompareCase(attribute->value, String(text), false) == 0;
}

bool KindIn(std::uint32_t kind, std::initializer_list<std::uint32_t> kinds) {
    for (std::uint32_t k : kinds) {
        if (k == kind) return true;
    }
    return false;
}

bool IsHeading(std::uint32_t kind) {
    return kind >= 59 && kind <= 64;
}

// The font as the record now describes it, its metrics read.
platform::TextMetrics MetricsNow(StyleContext& c) {
    platform::TextMetrics metrics;
    Font* font = c.graphics.CreateFontFromRequest(c.style.MakeFontRequest());
    if (font) c.graphics.TextMetrics(font, metrics);
    return metrics;
}

void SetFontStep(StyleContext& c, std::int32_t step) {
    c.style.SetIntLength(6, c.graphics.FontSizePixels(step), kStyleUnitAbsolute);
}

void ApplyAlignment(StyleContext& c) {
    if (KindIn(c.kind, {141, 45, 150, 146, 31, 109, 113, 112, 67, 139, 140, 171}) || IsHeading(c.kind)) return;
    const std::uint32_t control = c.ControlKind();
    if (control == 1 || control == 6 || control == 15) return;
    const Attribute* align = c.Attr(5);
    if (!align) return;
    // "Center" stores what any other value does.
    if (TextIs(align, "Left")) {
        c.style.SetKeyword(53, 120);
    } else if (TextIs(align, "Right")) {
        c.style.SetKeyword(53, 202);
    } else {
        c.style.SetKeyword(53, 164);
    }
}

void ApplyLists(StyleContext& c) {
    if (c.kind == 105) {
        std::int32_t start = 1;
        c.Number(159, start);
        c.style.SetStartValue(static_cast<std::uint32_t>(start));
    }
    if (!KindIn(c.kind, {105, 153, 85}) || c.style.GetImage(58) != nullptr) return;
    const bool alternative = c.mode == 2;
    if (const Attribute* type = c.Attr(170)) {
        switch (type->valueCode) {
            case 6: c.style.SetKeyword(57, 284); break;
            case 7: c.style.SetKeyword(57, 316); break;
            case 8: c.style.SetKeyword(57, 387); break;
            case 45: c.style.SetKeyword(57, alternative ? 77 : 45); break;
            case 77: c.style.SetKeyword(57, 77); break;
            case 104: c.style.SetKeyword(57, 318); break;
            case 105: c.style.SetKeyword(57, 389); break;
            case 226: c.style.SetKeyword(57, alternative ? 77 : 226); break;
            default: break;
        }
        return;
    }
    if (c.kind == 105) {
        c.style.SetKeyword(57, 284);
    } else if (c.kind == 153) {
        const std::uint32_t inherited = c.style.GetKeyword(57);
        std::uint32_t next = inherited == 164 ? 77 : inherited == 77 ? 45 : 226;
        c.style.SetKeyword(57, alternative ? 77 : next);
    }
}

void ApplyTextAlignment(StyleContext& c) {
    const std::uint32_t control = c.ControlKind();
    if (c.kind == 31) {
        c.style.SetKeyword(21, 39);
        return;
    }
    if (c.kind == 140 || control == 6 || control == 15) {
        c.style.SetKeyword(21, 120);
        return;
    }
    if (c.kind == 67) c.style.SetKeyword(21, 39);
    const std::uint32_t value = c.ValueCode(5);
    switch (value) {
        case 0: break;
        case 39:
        case 113:
        case 120:
        case 202: c.style.SetKeyword(21, value); break;
        default: c.style.SetAlignWord(value); break;
    }
}

void ApplyBackground(StyleContext& c) {
    c.style.SetTransparentBackground();
    const bool root = c.kind == c.mapper.RootKind();
    const bool cell = c.kind == 141 || c.kind == 146;
    std::uint32_t colour = 0;
    bool set = false;
    if (KindIn(c.kind, {25, 82, 139, 141, 146, 90, 173}) && !(c.mode == 1 && c.kind == 139)) {
        set = c.Colour(14, colour);
        if (!set && cell && c.mode == 1) {
            if (auto* table = AsAttrElement(c.node.FindAncestorOfType(139))) {
                const Attribute* attribute = table->FindAttribute(14, true);
                set = attribute && ReadColour(attribute->value, c.css, colour);
            }
        }
    }
    const std::uint32_t control = c.ControlKind();
    if (!set && (root || control == 6 || control == 15)) {
        colour = platform::SystemColour(platform::kColourWindow);
        set = true;
    }
    if (set) c.style.SetWord(10, colour);
}

void ApplyLinkColour(StyleContext& c) {
    if (c.kind != 25) return;
    c.mapper.SetLinkColour(0xFF0000);
    std::uint32_t colour = 0;
    if (c.Colour(96, colour)) c.mapper.SetLinkColour(colour);
}

void ApplyTextColour(StyleContext& c) {
    const std::uint32_t control = c.ControlKind();
    if (c.kind == 67) {
        c.style.SetWord(9, platform::SystemColour(platform::kColourButtonShadow));
    } else if (control == 1) {
        c.style.SetWord(9, platform::SystemColour(platform::kColourButtonText));
    } else if (control == 4 || control == 6 || control == 15 || control == 16) {
        c.style.SetWord(9, platform::SystemColour(platform::kColourWindowText));
    } else if (c.kind == 1 && c.Has(80)) {
        c.style.SetWord(9, c.mapper.LinkColour());
    }
    if (!KindIn(c.kind, {55, 25, 17, 67})) return;
    const std::uint32_t id = (c.kind == 55 || (c.kind == 67 && c.mode == 2)) ? 38 : 165;
    std::uint32_t colour = 0;
    if (!c.Colour(id, colour)) return;
    c.style.SetWord(9, colour);
    if (c.kind != 67) c.style.SetFlagsWord(c.style.GetFlagsWord() | 0x2000000);
}

void ApplyFontSize(StyleContext& c) {
    if (IsHeading(c.kind)) SetFontStep(c, 65 - static_cast<std::int32_t>(c.kind));
    if (c.kind == 64 || c.ControlKind() == 16) SetFontStep(c, 1);
    if (KindIn(c.kind, {73, 122, 143})) SetFontStep(c, c.mode == 2 ? 1 : 2);
    if (c.kind == 113 || c.kind == 112) SetFontStep(c, 2);
    std::int32_t unit = 0;
    if (KindIn(c.kind, {77, 120, 126, 35, 151})) {
        const std::int32_t size = c.style.GetIntLength(6, unit);
        const std::int32_t step = c.graphics.FontSizeStep(size) - 1;
        if (step >= 1) {
            SetFontStep(c, step);
        } else if (size != 1) {
            c.style.SetIntLength(6, size - 1, unit);
        }
    }
    if (c.kind == 135 || c.kind == 136) {
        const std::int32_t step = c.graphics.FontSizeStep(c.style.GetIntLength(6, unit));
        if (step >= 2) SetFontStep(c, step - 1);
    }
    if (const Attribute* size = c.Attr(154)) {
        const char* text = size->value.Text();
        while (*text == ' ') ++text;
        std::uint8_t mark = 64;
        if (*text == '+') {
            mark = 128;
        } else if (*text == '-') {
            mark = 192;
        }
        if (mark != 64) ++text;
        const std::int32_t n = ReadDecimal(text);
        c.style.SetSizeRequest(static_cast<std::uint8_t>(mark | (n >= 0 && n <= 7 ? n : 0)));
    }
}

// Sets or clears flags 314 (line-through) and 386 (underline) of the text
// decoration, keeping the other two.
void SetDecoration(StyleContext& c, std::uint32_t keyword, bool on) {
    if (c.style.GetTextDecoration(keyword) == on) return;
    if (on) {
        c.style.SetTextDecoration(keyword);
        return;
    }
    const std::uint32_t all[] = {314, 344, 386, 271};
    bool kept[4];
    for (int i = 0; i < 4; ++i) kept[i] = all[i] != keyword && c.style.GetTextDecoration(all[i]);
    c.style.SetTextDecoration(164);
    for (int i = 0; i < 4; ++i) {
        if (kept[i]) c.style.SetTextDecoration(all[i]);
    }
}

void ApplyFontStyles(StyleContext& c) {
    const std::uint32_t k = c.kind;
    if (k == 109) {
        c.style.SetKeyword(56, 334);
        return;
    }
    const bool plain = KindIn(k, {73, 122, 143});
    if (KindIn(k, {113, 158, 88, 112})) c.style.SetKeyword(56, 347);
    if (KindIn(k, {13, 133, 146}) || IsHeading(k)) c.style.SetFlag(5, true);
    if (plain) c.style.SetFlag(5, false);
    if (KindIn(k, {69, 49, 33, 154, 5}) || (k == 43 && c.mode == 2)) c.style.SetFlag(3, true);
    if (plain) c.style.SetFlag(3, false);
    if (k == 132 || k == 42) SetDecoration(c, 314, true);
    if (plain) SetDecoration(c, 314, false);
    if (k == 152 || k == 74 || (k == 1 && c.Has(80))) SetDecoration(c, 386, true);
    if (plain) SetDecoration(c, 386, false);
}

String DefaultFace() {
    char buffer[64];
    if (platform::LoadResourceString(10301, buffer, sizeof buffer) > 0) return String(buffer);
    return String(kDefaultFontFace);
}

void ApplyFaces(StyleContext& c) {
    const std::uint32_t k = c.kind;
    if (k == 73 || k == 122 || (k == 143 && c.mode == 2)) c.style.SetFontFamily(DefaultFace());
    if (KindIn(k, {113, 112, 77, 120, 35, 151}) || (k == 143 && c.mode == 1)) c.style.SetFontFamily("Courier New");
    if (k == 55) {
        if (const Attribute* face = c.Attr(67)) {
            std::string text(face->value.Text(), face->value.Length());
            text = text.substr(0, text.find(','));
            if (text.size() > 31) text.resize(31);
            c.style.SetFontFamily(String(text.c_str()));
            c.style.SetFlagsWord(c.style.GetFlagsWord() | 0x8000000);
        }
    }
}

void ApplyBaseFont(StyleContext& c) {
    std::int32_t n = 0;
    if (c.kind != 17 || !c.Number(154, n)) return;
    n = n < 2 ? 1 : n > 7 ? 7 : n;
    c.style.SetFlagsWord(c.style.GetFlagsWord() | 0x4000000);
    SetFontStep(c, n);
}

// Sources of embedded objects and images, the placeholders of scripts and
// hidden inputs, the checked state of check boxes and radio buttons.
void ApplyObjects(StyleContext& c) {
    const std::uint32_t control = c.ControlKind();
    if (control == 9) {
        const std::uint32_t source = c.kind == 6 ? 34 : c.kind == 72 ? 64 : 157;
        const Attribute* attribute = c.Attr(source);
        String text;
        const String* image = nullptr;
        if (attribute) {
            image = &attribute->value;
        } else if (c.kind == 121 && c.placeholders) {
            text = "X.SCRIPT";
            image = &text;
        } else if (c.kind == 168 && c.placeholders) {
            text = "X.JSP";
            image = &text;
        } else if (c.kind == 181 || c.kind == 183) {
            image = &text;
        } else if (c.kind == 73 && c.placeholders) {
            text = "X.HIDDEN";
            image = &text;
        }
        if (image) c.style.SetImage(58, image);
    }
    std::uint32_t checked = c.style.GetStartValue() & 0xFF;
    if (control == 16 || control == 4) checked = c.Has(28) ? 1 : 0;
    if (c.kind == 67) checked = (c.Has(116) || (c.mode == 2 && c.Has(38))) ? 0 : 1;
    c.style.SetStartValue((c.style.GetStartValue() & ~0xFFu) | checked);
}

void ApplyFontWords(StyleContext& c) {
    const platform::TextMetrics metrics = MetricsNow(c);
    std::uint32_t word = c.style.GetFontWord() + static_cast<std::uint32_t>(metrics.ascent);
    c.style.SetFontWord2(static_cast<std::uint32_t>(metrics.descent));
    if (c.kind == 136) word += 5;
    if (c.kind == 135) word -= 5;
    c.style.SetFontWord(word);
}

struct KindFlag {
    std::uint32_t kind;
    std::uint32_t flag;
};

constexpr KindFlag kKindFlags[] = {
    {2, 0x200},     {4, 0x4000},   {11, 0x8000},    {13, 0x80000},    {23, 0x800},   {33, 0x400},
    {35, 0x1000},   {42, 0x40},    {43, 0x100},     {49, 0x2},        {69, 0x100000}, {74, 0x20},
    {77, 0x20000},  {111, 0x10000}, {114, 0x40000}, {120, 0x80},      {132, 0x10},   {133, 0x1},
    {135, 0x800000}, {136, 0x1000000}, {151, 0x400000}, {152, 0x4},   {154, 0x2000},
};

void ApplyKindWords(StyleContext& c) {
    for (const KindFlag& row : kKindFlags) {
        if (row.kind == c.kind) c.style.SetFlagsWord(c.style.GetFlagsWord() | row.flag);
    }
    if (KindIn(c.kind, {109, 113, 24, 48, 40, 45, 5}) || IsHeading(c.kind)) c.style.SetKindWord(c.kind);
    if (c.kind == 112) c.style.SetKindWord(113);
    if (KindIn(c.kind, {105, 153, 46, 44, 92})) c.style.SetImageKind(c.kind);
    if (c.kind == 67) c.style.SetKeyword(54, 202);
    switch (c.ValueCode(32)) {
        case 13: c.style.SetKeyword(54, 275); break;
        case 120: c.style.SetKeyword(54, 120); break;
        case 202: c.style.SetKeyword(54, 202); break;
        default: break;
    }
    if (c.kind == 50 && c.Has(79)) c.style.SetKeyword(55, c.ValueCode(79) != 0 ? 306 : 164);
}

}  // namespace

std::uint32_t ControlKindOf(const StyleContext& c) {
    switch (c.kind) {
        case 72:
        case 50:
        case 6:
        case 121:
        case 168:
        case 103:
        case 183:
        case 181: return 9;
        case 73: {
            const Attribute* type = c.Attr(170);
            if (!type) return 6;
            if (TextIs(type, "Radio")) return 16;
            if (TextIs(type, "Checkbox")) return 4;
            if (TextIs(type, "Password")) return 15;
            if (TextIs(type, "Reset") || TextIs(type, "Submit") || TextIs(type, "Button")) return 1;
            if (TextIs(type, "Image")) return 9;
            if (TextIs(type, "Textarea")) return 12;
            if (TextIs(type, "File")) return 7;
            // A text field written out is the field without a type.
            if (TextIs(type, "Text")) return 6;
            return 20;
        }
        case 122: return c.Has(154) ? 18 : c.Has(110) ? 13 : 5;
        case 143: return 12;
        case 90: return 11;
        case 67: return 17;
        case 172: return 10;
        case 85: {
            if (c.style.GetImage(58) != nullptr) return 9;
            switch (c.style.GetKeyword(57)) {
                case 45: return 2;
                case 77: return 3;
                case 226: return 19;
                default: return 20;
            }
        }
        default: return 20;
    }
}

void ApplyPresentation(StyleContext& c) {
    // 1: the font word counts from the inherited font's ascent.
    if (c.style.GetFontWord() != 0) {
        c.style.SetFontWord(c.style.GetFontWord() - static_cast<std::uint32_t>(MetricsNow(c).ascent));
    }
    c.style.SetControlKind(ControlKindOf(c));
    ApplyAlignment(c);                                          // 2
    ApplyLists(c);                                              // 3
    c.style.SetPresentationalCode(c.ValueCode(175));            // 4
    c.style.SetImage(11, nullptr);                              // 5
    if (KindIn(c.kind, {25, 82, 139, 141, 146})) {
        if (const Attribute* image = c.Attr(11)) c.style.SetImage(11, &image->value);
    }
    ApplyTextAlignment(c);                                      // 6
    ApplyBackground(c);
    ApplyLinkColour(c);
    ApplyTextColour(c);
    ApplyBoxLengths(c);
    ApplySideWidths(c);
    ApplyPaddings(c);
    ApplyFontSize(c);
    ApplyFontStyles(c);                                         // 7
    ApplyFaces(c);                                              // 8
    ApplyBaseFont(c);                                           // 9
    if (c.kind != 171) ApplyBorderColours(c);
    ApplyObjects(c);                                            // 10
    ApplyFontWords(c);
    ApplyControlText(c);
    ApplySizes(c);
    ApplyKindWords(c);                                          // 11, 12
}

}  // namespace markup::style::detail
