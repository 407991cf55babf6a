// The cascade: the declarations that apply to an element (presentation
// attributes, then the sheet's rules, then its "style" attribute), each
// converted and handed to the computed style's setter of its property.
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "markup/attr_element.h"
#include "markup/style/css_attribute_lookup.h"
#include "markup/style/css_declarations.h"
#include "markup/style/css_manager.h"
#include "markup/style/css_token_source.h"
#include "style_heap.h"
#include "truncate_to_int32.h"

namespace markup::style {

namespace {

std::int32_t Clamp(std::int64_t value) {
    if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
    if (value < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

// CSS pixels per absolute unit.
double CssPixelsPer(std::uint32_t unit) {
    switch (unit) {
        case kCSSUnitIn: return kCssPixelsPerInch;
        case kCSSUnitCm: return kCssPixelsPerCentimetre;
        case kCSSUnitMm: return kCssPixelsPerMillimetre;
        case kCSSUnitPt: return kCssPixelsPerPoint;
        case kCSSUnitPc: return kCssPixelsPerPica;
        default: return 1.0;
    }
}

// Units 1 to 9: the absolute lengths, em, ex and zero.
bool IsAbsoluteUnit(std::uint32_t unit) {
    return unit >= kCSSUnitPt && unit <= kCSSUnitZero;
}

}  // namespace

// --- Conversions -----------------------------------------------------------

std::int32_t CSSManager::ConvertUnitToDevice(Graphics& graphics, float number, std::uint32_t unit) {
    switch (unit) {
        case kCSSUnitIn: return graphics.InchesToUnits(number);
        case kCSSUnitCm: return graphics.CentimetresToUnits(number);
        case kCSSUnitMm: return graphics.MillimetresToUnits(number);
        case kCSSUnitPt: return graphics.PointsToUnits(number);
        case kCSSUnitPc: return graphics.PicasToUnits(number);
        case kCSSUnitPx: return graphics.PixelsToUnits(number);
        case kCSSUnitEm: return graphics.EmsToUnits(number);
        case kCSSUnitEx: return graphics.ExsToUnits(number);
        default: return 0;
    }
}

void CSSManager::ConvertAbsolute(const CSSAppliedValue& value, const StyleProperties& style,
                                 std::int32_t& out) {
    if (!value.IsNumerical()) return;
    const double number = value.number;
    const std::uint32_t unit = value.unit;
    if (unit >= kCSSUnitPt && unit <= kCSSUnitPx) {
        out = ConvertUnitToDevice(style.GetGraphics(), static_cast<float>(number), unit);
    } else if (unit == kCSSUnitEm) {
        out = detail::TruncateToInt32(number * style.GetFontSizeExact());
    } else if (unit == kCSSUnitEx) {
        out = detail::TruncateToInt32(number * style.GetFontSizeExact() * 0.5);
    } else if (unit == kCSSUnitZero) {
        out = 0;
    }
}

void CSSManager::ConvertAbsoluteDouble(const CSSAppliedValue& value, const StyleProperties& style,
                                       double& out) {
    if (!value.IsNumerical()) return;
    const double number = value.number;
    const std::uint32_t unit = value.unit;
    // Lengths keep their fractions here (a stroke 0.5px wide stays 0.5).
    // Only SVG's properties take this road, whose user units are CSS
    // pixels: an inch is 96 of them.
    if (unit >= kCSSUnitPt && unit <= kCSSUnitPx) {
        out = number * CssPixelsPer(unit);
    } else if (unit == kCSSUnitEm) {
        out = number * style.GetFontSizeExact();
    } else if (unit == kCSSUnitEx) {
        out = number * style.GetFontSizeExact() * 0.5;
    } else if (unit == kCSSUnitZero) {
        out = 0.0;
    }
}

void CSSManager::ConvertLength(const CSSAppliedValue& value, const StyleProperties& style, std::int32_t& out,
                               std::int32_t& unit) {
    if (!value.IsNumerical()) return;
    const std::uint32_t code = value.unit;
    if (code == kCSSUnitPercent) {
        out = detail::TruncateToInt32(value.number);
        unit = kStyleUnitPercent;
    } else if (IsAbsoluteUnit(code)) {
        ConvertAbsolute(value, style, out);
        unit = kStyleUnitAbsolute;
    } else {
        out = detail::TruncateToInt32(value.number);
        unit = kStyleUnitOther;
    }
}

void CSSManager::ConvertLengthDouble(const CSSAppliedValue& value, const StyleProperties& style, double& out,
                                     std::int32_t& unit) {
    if (!value.IsNumerical()) return;
    const std::uint32_t code = value.unit;
    if (code == kCSSUnitPercent) {
        out = value.number;
        unit = kStyleUnitPercent;
    } else if (IsAbsoluteUnit(code)) {
        ConvertAbsoluteDouble(value, style, out);
        unit = kStyleUnitAbsolute;
    } else {
        out = value.number;
        unit = kStyleUnitOther;
    }
}

void CSSManager::ConvertRelative(const CSSAppliedValue& value, const StyleProperties& style,
                                 std::int32_t& current) {
    if (!value.IsNumerical()) return;
    const std::uint32_t code = value.unit;
    if (code == kCSSUnitPercent) {
        current = detail::TruncateToInt32(value.number * current) / 100;
    } else if (IsAbsoluteUnit(code)) {
        ConvertAbsolute(value, style, current);
    }
}

void CSSManager::ConvertLineHeight(const CSSAppliedValue& value, const StyleProperties& style,
                                   std::int32_t& current) {
    if (!value.IsNumerical()) return;
    const std::uint32_t code = value.unit;
    if (code <= kCSSUnitZero) {
        ConvertRelative(value, style, current);
    } else if (code == kCSSUnitNumber) {
        current = detail::TruncateToInt32(value.number);
    }
}

namespace {

void AddOrReplace(std::int32_t tmp, std::int32_t unit, std::int32_t& current) {
    const std::int64_t result = unit == kStyleUnitAbsolute ? static_cast<std::int64_t>(current) + tmp : tmp;
    current = result < 0 ? 0 : Clamp(result);
}

}  // namespace

void CSSManager::ApplyPaddingValue(const CSSAppliedValue& value, const StyleProperties& style,
                                   std::int32_t& current, std::int32_t& unit) {
    std::int32_t tmp = 0;
    if (!value.IsKeyword()) ConvertLength(value, style, tmp, unit);
    AddOrReplace(tmp, unit, current);
}

void CSSManager::ApplyMarginValue(const CSSAppliedValue& value, const StyleProperties& style,
                                  std::int32_t& current, std::int32_t& unit) {
    std::int32_t tmp = 0;
    if (!value.IsKeyword()) {
        ConvertLength(value, style, tmp, unit);
    } else if (value.word == 267) {
        unit = kStyleUnitAbsolute;
    }
    AddOrReplace(tmp, unit, current);
}

void CSSManager::ApplyBorderWidthValue(const CSSAppliedValue& value, const StyleProperties& style,
                                       std::int32_t& current) {
    std::int32_t tmp = 0;
    if (!value.IsKeyword()) {
        ConvertAbsolute(value, style, tmp);
    } else {
        tmp = detail::TruncateToInt32(value.number);
    }
    AddOrReplace(tmp, kStyleUnitAbsolute, current);
}

void CSSManager::GetURLText(const CSSAppliedValue& value, String& out) {
    out.Empty();
    if (!value.IsKeyword()) GetCSSURLText(value.TextString(), out);
}

// --- Collecting --------------------------------------------------------------

void CSSManager::ApplyCascade(Node* node, ExtraObject* style) {
    if (auto* record = dynamic_cast<StyleProperties*>(style)) ApplyCascade(node, record);
}

void CSSManager::ApplyCascade(Node* node, StyleProperties* style) {
    if (!node || !style) return;
    // The values handed out for the last node are no longer in use, unless
    // this node's cascade runs inside another's.
    if (cascadeDepth_ == 0) memo_->Settle();
    struct Nested {
        int& depth;
        explicit Nested(int& d) : depth(++d) {}
        ~Nested() { --depth; }
    } nested(cascadeDepth_);
    std::vector<CSSAppliedDeclaration> sheet;
    CollectMatchingValues(node, sheet);
    const detail::DeclarationMemo::Values* inline_ = StyleAttributeValues(node);
    std::vector<CSSAppliedDeclaration> all;
    if (presentationNames_ && !presentationNames_->names.empty()) PresentationValues(node, all);
    const auto add = [&](const detail::DeclarationMemo::Values* values, bool important) {
        if (!values) return;
        for (std::size_t i = 0; i < values->values.size(); ++i) {
            if (values->values[i].Important() == important)
                all.push_back(CSSAppliedDeclaration{&values->values[i], values->declarations[i]});
        }
    };
    // Presentation attributes count below every rule, important or not.
    // The sheet's list is sorted with its important part last.
    const auto sheetImportant =
        std::find_if(sheet.begin(), sheet.end(), [&](const auto& d) { return d.value->Important(); });
    all.insert(all.end(), sheet.begin(), sheetImportant);
    add(inline_, false);
    all.insert(all.end(), sheetImportant, sheet.end());
    add(inline_, true);
    if (!all.empty()) ApplyDeclarations(all, style);
    // "inherit" has been answered: the parent need not outlive the record.
    style->ForgetParent();
}

const detail::DeclarationMemo::Values* CSSManager::StyleAttributeValues(Node* node) {
    const AttrElement* element = AsAttrElement(node);
    if (!element) return nullptr;
    const Attribute* attribute = FindTypeAttribute(*element, AttributeIdsOf(element->TypeId()).style);
    if (!attribute) return nullptr;
    return &memo_->Get(std::string_view(attribute->value.Text(), attribute->value.Length()), false, *tokenizer_,
                       css_);
}

void CSSManager::PresentationValues(Node* node, std::vector<CSSAppliedDeclaration>& out) {
    const AttrElement* element = AsAttrElement(node);
    if (!element) return;
    std::string text;
    for (const auto& [index, id] : AttributeIdsOf(element->TypeId()).presentation) {
        const Attribute* attribute = element->FindAttribute(id, false);
        if (!attribute || attribute->value.IsEmpty()) continue;
        // An attribute gives its own property only: its value ends at the
        // first ";", so that it cannot smuggle in further declarations.
        const std::string_view value(attribute->value.Text(), attribute->value.Length());
        text = presentationNames_->names[index];
        text += ':';
        text += value.substr(0, value.find(';'));
        const detail::DeclarationMemo::Values& values = memo_->Get(text, true, *tokenizer_, css_);
        for (std::size_t i = 0; i < values.values.size(); ++i)
            out.push_back(CSSAppliedDeclaration{&values.values[i], values.declarations[i]});
    }
}

void CSSManager::CollectSheetDeclarations(Node* node, Vector<CSSDeclaration>& out) {
    CollectMatchingDeclarations(node, out);
}

void CSSManager::CollectStyleAttribute(Node* node, Vector<CSSDeclaration>& out) {
    const AttrElement* element = AsAttrElement(node);
    if (!element) return;
    const Attribute* attribute = FindTypeAttribute(*element, AttributeIdsOf(element->TypeId()).style);
    if (!attribute) return;
    while (attributeProperties_->Count()) attributeProperties_->DeleteLast();
    while (attributeTokens_->Count()) attributeTokens_->DeleteLast();
    tokenizer_->Tokenize(attribute->value, 0, *attributeTokens_);
    CSSTokenSource cursor(attributeTokens_.get());
    ParseCSSDeclarations(cursor, css_, *attributeProperties_);
    for (std::uint32_t p = 0; p < attributeProperties_->Count(); ++p) {
        CSSProperty* property = attributeProperties_->At(p);
        for (std::uint32_t v = 0; v < property->ValueCount(); ++v) {
            out.Add(CSSDeclaration(nullptr, property, property->ValueAt(v)));
        }
    }
}

void CSSManager::AddPresentationAttribute(const String& name) {
    // The list may be shared: the manager gets a copy of its own.
    auto names = presentationNames_ ? std::make_shared<PresentationNames>(*presentationNames_)
                                    : std::make_shared<PresentationNames>();
    names->Add(std::string(name.Text(), name.Length()));
    presentationNames_ = std::move(names);
    ForgetAttributeIds();
}

void CSSManager::SetPresentationAttributes(std::shared_ptr<const PresentationNames> names) {
    presentationNames_ = std::move(names);
    ForgetAttributeIds();
}

void CSSManager::ClearPresentationAttributes() {
    presentationNames_.reset();
    ForgetAttributeIds();
}

}  // namespace markup::style
