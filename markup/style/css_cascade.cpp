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

namespace {

std::vector<CSSAppliedValue> ValuesOf(const Vector<CSSDeclaration>& declarations) {
    std::vector<CSSAppliedValue> values;
    values.reserve(declarations.Count());
    for (std::uint32_t i = 0; i < declarations.Count(); ++i) {
        const CSSValue* value = declarations.At(i)->Value();
        values.push_back(AppliedValueOf(value ? value->Attribute() : nullptr, value && value->Important()));
    }
    return values;
}

// Appends the values (those of the declarations) that `take` accepts, each
// marked with its declaration's property.
template <class Take>
void AddValues(const Vector<CSSDeclaration>& declarations, const std::vector<CSSAppliedValue>& values,
               Take take, std::vector<CSSAppliedDeclaration>& out) {
    for (std::uint32_t i = 0; i < declarations.Count(); ++i) {
        if (take(values[i])) out.push_back(CSSAppliedDeclaration{&values[i], declarations.At(i)->Property()});
    }
}

}  // namespace

void CSSManager::ApplyCascade(Node* node, StyleProperties* style) {
    if (!node || !style) return;
    std::vector<CSSAppliedDeclaration> sheet;
    CollectMatchingValues(node, sheet);
    Vector<CSSDeclaration> inline_;
    CollectStyleAttribute(node, inline_);
    Vector<CSSDeclaration> presentation;
    if (presentationNames_ && !presentationNames_->names.empty()) CollectPresentationAttributes(node, presentation);
    const std::vector<CSSAppliedValue> inlineValues = ValuesOf(inline_);
    const std::vector<CSSAppliedValue> presentationValues = ValuesOf(presentation);
    const auto any = [](const CSSAppliedValue&) { return true; };
    const auto normal = [](const CSSAppliedValue& value) { return !value.Important(); };
    const auto important = [](const CSSAppliedValue& value) { return value.Important(); };
    std::vector<CSSAppliedDeclaration> all;
    all.reserve(presentationValues.size() + sheet.size() + inlineValues.size());
    // Presentation attributes count below every rule, important or not.
    AddValues(presentation, presentationValues, any, all);
    // The sheet's list is sorted with its important part last.
    const auto sheetImportant =
        std::find_if(sheet.begin(), sheet.end(), [&](const auto& d) { return important(*d.value); });
    all.insert(all.end(), sheet.begin(), sheetImportant);
    AddValues(inline_, inlineValues, normal, all);
    all.insert(all.end(), sheetImportant, sheet.end());
    AddValues(inline_, inlineValues, important, all);
    if (!all.empty()) ApplyDeclarations(all, style);
    // "inherit" has been answered: the parent need not outlive the record.
    style->ForgetParent();
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

void CSSManager::CollectPresentationAttributes(Node* node, Vector<CSSDeclaration>& out) {
    const AttrElement* element = AsAttrElement(node);
    if (!element) return;
    while (presentationProperties_->Count()) presentationProperties_->DeleteLast();
    presentationTokens_.clear();
    for (const auto& [index, id] : AttributeIdsOf(element->TypeId()).presentation) {
        const std::string& name = presentationNames_->names[index];
        const Attribute* attribute = element->FindAttribute(id, false);
        if (!attribute || attribute->value.IsEmpty()) continue;
        // An attribute gives its own property only: its value ends at the
        // first ";", so that it cannot smuggle in further declarations.
        String text(name.c_str());
        text += ':';
        const std::int32_t semicolon = attribute->value.Find(';');
        text += semicolon < 0 ? attribute->value : attribute->value.Left(static_cast<std::uint32_t>(semicolon));
        presentationTokens_.push_back(detail::Make<Vector<CSSToken>>());
        Vector<CSSToken>& tokens = *presentationTokens_.back();
        tokenizer_->Tokenize(text, 0, tokens);
        CSSTokenSource cursor(&tokens);
        Vector<CSSProperty> parsed;
        ParseCSSDeclarations(cursor, css_, parsed);
        if (!parsed.Count()) continue;
        CSSProperty* property = parsed.RemoveAt(0);
        detail::Adopt(*presentationProperties_, std::unique_ptr<CSSProperty>(property));
        for (std::uint32_t v = 0; v < property->ValueCount(); ++v) {
            out.Add(CSSDeclaration(nullptr, property, property->ValueAt(v)));
        }
    }
}

}  // namespace markup::style
