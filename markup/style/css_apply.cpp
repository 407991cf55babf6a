// The cascade's apply loop: each declaration's value converted into the
// computed style through the setter of its property id.
#include <algorithm>
#include <cmath>
#include <memory>

#include "markup/style/css_manager.h"
#include "css_value_access.h"
#include "style_heap.h"

namespace markup::style {

using detail::ColourOf;
using detail::IsKeyword;
using detail::KeywordNumberOf;
using detail::KeywordOf;
using detail::Numerical;
using detail::TruncateToInt32;

namespace {

// The highest property id of the dictionary's table.
constexpr std::uint32_t kLastPropertyId = 119;

bool HasNoEffect(std::uint32_t id) {
    return id == 8 || id == 14 || id == 15 || id == 28 || id == 33 || (id >= 38 && id <= 45) || id == 60 ||
           id == 79 || id == 92;
}

// Fill, stroke and stop colour take the colour names of the colour
// property: their own keyword groups hold none, so without this every
// named colour of an SVG drawing would be an unknown value.
std::unique_ptr<CSSAttribute> NamedColour(const CSSAttribute& value) {
    constexpr std::uint32_t kColourProperty = 9;
    const std::uint32_t id = value.PropertyId();
    if (value.TypeCode() != kCSSUnknownValue || (id != 69 && id != 72 && id != 89)) return nullptr;
    if (!IsCSSKeyword(value.Dictionary(), kColourProperty, value.Text())) return nullptr;
    auto colour = detail::Make<CSSColorAttribute>(value.Dictionary());
    colour->SetPropertyId(kColourProperty);
    colour->SetText(value.Text());
    colour->SetPropertyId(id);
    return colour;
}

// A family name as a face name: a string's quotes go.
String Unquoted(const String& family) {
    const std::uint32_t length = family.Length();
    if (length < 2 || family.Text() == nullptr) return family;
    const char first = family.Text()[0];
    if ((first == '\'' || first == '"') && family.Text()[length - 1] == first) return family.Mid(1, length - 2);
    return family;
}

class Applier {
  public:
    Applier(Vector<CSSDeclaration>& list, StyleProperties& style) : list_(list), style_(style) {}

    void Run() {
        const CSSProperty* previous = nullptr;
        for (index_ = 0; index_ < list_.Count(); ++index_) {
            const CSSDeclaration* declaration = list_.At(index_);
            if (!declaration) continue;
            const bool fresh = declaration->Property() != previous || index_ == 0;
            if (fresh) {
                applied_ = false;
                named_ = false;
                paintURL_ = false;
            }
            previous = declaration->Property();
            const CSSValue* value = declaration->Value();
            const CSSAttribute* attribute = value ? value->Attribute() : nullptr;
            if (!attribute) continue;
            if (attribute->TypeCode() == kCSSWideKeywordValue) {
                TakeWideKeyword(static_cast<const CSSWideKeywordAttribute&>(*attribute));
                continue;
            }
            std::unique_ptr<CSSAttribute> named = NamedColour(*attribute);
            if (named) attribute = named.get();
            if (attribute->TypeCode() == kCSSUnknownValue) continue;
            const std::uint32_t id = attribute->PropertyId();
            if (id < 1 || id > kLastPropertyId || HasNoEffect(id)) continue;
            // A dash array replaces the one inherited or declared before;
            // its values then add one entry each.
            if (id == 76 && fresh) style_.ClearDashes();
            Apply(id, *attribute);
        }
    }

  private:
    // "inherit" takes the parent's value (the initial one at the root),
    // "initial" the value a fresh record starts with.
    void TakeWideKeyword(const CSSWideKeywordAttribute& value) {
        const StyleProperties* from = value.IsInitial() ? nullptr : style_.Parent();
        if (!from) {
            if (!initial_) initial_ = std::make_unique<StyleProperties>(style_.Mapper());
            from = initial_.get();
        }
        style_.TakeProperty(value.PropertyId(), *from);
    }

    void SetURLText(std::uint32_t id, const CSSAttribute& value) {
        String text;
        CSSManager::GetURLText(value, text);
        const String* given = text.IsEmpty() ? nullptr : &text;
        switch (id) {
            case 11:
            case 58: style_.SetImage(id, given); break;
            case 80:
            case 81:
            case 82: style_.SetLoadedDocument(id, given); break;
            default: style_.SetReference(id, given); break;
        }
    }

    void IntLength(std::uint32_t id, const CSSAttribute& value) {
        if (!Numerical(value)) return;
        std::int32_t out = 0;
        std::int32_t unit = 0;
        CSSManager::ConvertLength(value, style_, out, unit);
        style_.SetIntLength(id, out, unit);
    }

    void DoubleLength(std::uint32_t id, const CSSAttribute& value, bool mark) {
        if (!Numerical(value)) return;
        double out = 0.0;
        std::int32_t unit = 0;
        CSSManager::ConvertLengthDouble(value, style_, out, unit);
        style_.SetLength(id, out, unit, mark);
    }

    void FontSize(const CSSAttribute& value) {
        Graphics& graphics = style_.GetGraphics();
        // Relative sizes count from the inherited size, not from a size an
        // earlier declaration of this element set.
        const double parent = style_.GetInheritedFontSize();
        if (const CSSNumericalAttribute* numeric = Numerical(value)) {
            const double number = numeric->Number();
            switch (numeric->UnitCode()) {
                case kCSSUnitPercent: style_.SetFontSize(number * parent / 100); return;
                case kCSSUnitEm: style_.SetFontSize(number * parent); return;
                case kCSSUnitEx: style_.SetFontSize(number * parent * 0.5); return;
                default: break;
            }
            if (!graphics.CountsCssUnits()) {
                IntLength(6, value);
                return;
            }
            // SVG's sizes keep their fractions (10.5px, 7.5pt).
            double out = 0.0;
            std::int32_t unit = 0;
            CSSManager::ConvertLengthDouble(value, style_, out, unit);
            style_.SetFontSize(out, unit);
            return;
        }
        const std::uint32_t keyword = KeywordOf(value);
        switch (keyword) {
            case 310:
            case 323:
            case 363:
            case 397:
            case 398:
            case 399:
            case 400: {
                const std::int32_t index = TruncateToInt32(KeywordNumberOf(value));
                if (graphics.CountsCssUnits()) {
                    // CSS's table: medium is the initial size, each step
                    // 1.2 times the one below.
                    style_.SetFontSize(graphics.FontSizePixels(3) * std::pow(1.2, std::clamp(index, 1, 7) - 4));
                    break;
                }
                style_.SetIntLength(6, graphics.FontSizePixels(index), kStyleUnitAbsolute);
                break;
            }
            case 311:
            case 365: {
                if (graphics.CountsCssUnits()) {
                    style_.SetFontSize(keyword == 311 ? parent * 1.2 : parent / 1.2);
                    break;
                }
                std::int32_t step = graphics.FontSizeStep(style_.GetFontSize());
                step = keyword == 311 ? (step < 7 ? step + 1 : 7) : (step > 1 ? step - 1 : 1);
                style_.SetIntLength(6, graphics.FontSizePixels(step), kStyleUnitAbsolute);
                break;
            }
            default: break;
        }
    }

    void Paint(bool fill, const CSSAttribute& value) {
        // "url(#id) fallback": the colour or none after a reference paints
        // only when the reference names no element.
        if (paintURL_) {
            paintURL_ = false;
            DocTree* document = nullptr;
            Node* element = nullptr;
            std::uint32_t colour = 0;
            const std::int32_t answer = fill ? style_.GetFill(document, element, colour)
                                             : style_.GetStroke(document, element, colour);
            if (answer == kStylePaintURL && element != nullptr) return;
        }
        if (!IsKeyword(value)) {
            if (const CSSColorAttribute* colour = ColourOf(value)) {
                fill ? style_.SetFillColour(colour->ColourWord(), colour->Alpha())
                     : style_.SetStrokeColour(colour->ColourWord(), colour->Alpha());
                return;
            }
            String text;
            CSSManager::GetURLText(value, text);
            fill ? style_.SetFillURL(&text) : style_.SetStrokeURL(&text);
            paintURL_ = true;
            return;
        }
        const std::uint32_t keyword = KeywordOf(value);
        fill ? style_.SetFillKeyword(keyword) : style_.SetStrokeKeyword(keyword);
    }

    // The numbers of "enable-background: new x y w h": up to four values
    // of the declarations that follow, each consumed.
    void EnableBackground(const CSSAttribute& value) {
        const std::uint32_t keyword = KeywordOf(value);
        std::int32_t words[4] = {0, 0, 0, 0};
        if (keyword == 330) {
            for (std::int32_t& slot : words) {
                const std::uint32_t next = index_ + 1;
                const CSSDeclaration* declaration = next < list_.Count() ? list_.At(next) : nullptr;
                const CSSAttribute* attribute =
                    declaration && declaration->Value() ? declaration->Value()->Attribute() : nullptr;
                const CSSNumericalAttribute* numeric = attribute ? Numerical(*attribute) : nullptr;
                if (!attribute || attribute->PropertyId() != 98 || !numeric) continue;
                slot = TruncateToInt32(numeric->Number());
                index_ = next;
            }
        }
        if (keyword == 265 || keyword == 330) style_.SetEnableBackground(keyword, words);
    }

    void GenericFamily(const CSSAttribute& value) {
        if (applied_ || !IsKeyword(value)) return;
        const std::int32_t family = TruncateToInt32(KeywordNumberOf(value));
        String face;
        // A family no installed face belongs to leaves the family as it
        // was rather than naming no face at all.
        if (style_.GetGraphics().FindFamilyFace(static_cast<std::uint8_t>(family), face)) {
            style_.SetFontFamily(face);
            applied_ = true;
        }
    }

    void Apply(std::uint32_t id, const CSSAttribute& value) {
        const std::uint32_t keyword = KeywordOf(value);
        const CSSNumericalAttribute* numeric = Numerical(value);
        const CSSColorAttribute* colour = ColourOf(value);
        std::int32_t current = 0;
        std::int32_t unit = 0;
        switch (id) {
            case 1:
                // The first installed family of the list; while none is,
                // the first named holds the place.
                if (applied_) break;
                if (style_.GetGraphics().HasFace(Unquoted(value.Text()))) {
                    style_.SetFontFamily(value.Text());
                    applied_ = true;
                } else if (!named_) {
                    style_.SetFontFamily(value.Text());
                    named_ = true;
                }
                break;
            case 3:
            case 5:
                if (IsKeyword(value)) style_.SetFlag(id, KeywordNumberOf(value) == 1.0);
                break;
            case 4:
                if (keyword == 334) style_.SetFlag(4, false);
                if (keyword == 364) style_.SetFlag(4, true);
                break;
            case 6: FontSize(value); break;
            case 7: style_.SetLength(7, numeric ? numeric->Number() : 1.0, kStyleUnitInitial); break;
            case 9:
                if (colour) {
                    style_.SetWord(id, colour->ColourWord());
                    style_.SetColourAlpha(colour->Alpha());
                }
                break;
            case 101:
            case 102:
            case 103:
            case 104:
                if (colour) style_.SetWord(id, colour->ColourWord());
                break;
            case 10:
                if (!colour) break;
                if (colour->IsSpecial()) {
                    style_.SetTransparentBackground();
                } else {
                    style_.SetWord(10, colour->ColourWord());
                }
                break;
            case 11:
            case 58:
            case 80:
            case 81:
            case 82:
            case 93:
            case 95:
            case 97: SetURLText(id, value); break;
            case 16:
            case 17:
            case 22:
                if (!numeric) break;
                current = static_cast<std::int32_t>(style_.GetWord(id));
                id == 22 ? CSSManager::ConvertRelative(value, style_, current)
                         : CSSManager::ConvertAbsolute(value, style_, current);
                style_.SetWord(id, static_cast<std::uint32_t>(current));
                break;
            case 18:
                if (IsKeyword(value)) style_.SetTextDecoration(keyword);
                break;
            case 19: {
                const auto lineHeight = static_cast<std::int32_t>(style_.GetWord(23));
                if (numeric) {
                    current = lineHeight;
                    CSSManager::ConvertRelative(value, style_, current);
                    style_.SetWord(19, static_cast<std::uint32_t>(current));
                } else if (keyword == 33 || keyword == 152 || keyword == 233 || keyword == 235 || keyword == 239 ||
                           keyword == 268) {
                    style_.SetWord(19, 0);
                } else if (keyword == 372) {
                    style_.SetWord(19, static_cast<std::uint32_t>(-(lineHeight / 2)));
                } else if (keyword == 373) {
                    style_.SetWord(19, static_cast<std::uint32_t>(lineHeight / 2));
                }
                break;
            }
            case 23:
                if (!numeric) break;
                current = static_cast<std::int32_t>(style_.GetWord(23));
                CSSManager::ConvertLineHeight(value, style_, current);
                style_.SetWord(23, static_cast<std::uint32_t>(current));
                break;
            case 24:
            case 25:
            case 26:
            case 27:
            case 29:
            case 30:
            case 31:
            case 32:
                current = style_.GetIntLength(id, unit);
                id <= 27 ? CSSManager::ApplyMarginValue(value, style_, current, unit)
                         : CSSManager::ApplyPaddingValue(value, style_, current, unit);
                style_.SetIntLength(id, current, unit);
                break;
            case 34:
            case 35:
            case 36:
            case 37:
                current = static_cast<std::int32_t>(style_.GetWord(id));
                CSSManager::ApplyBorderWidthValue(value, style_, current);
                style_.SetWord(id, static_cast<std::uint32_t>(current));
                break;
            case 46:
            case 47:
            case 48:
            case 49:
            case 50:
            case 51: IntLength(id, value); break;
            case 62:
            case 63:
                // Angles never get here: the value factory makes the angle
                // tokens unknown values, which the loop skips. Numbers do,
                // and clear the field.
                if (numeric && numeric->UnitCode() == kCSSUnitDeg) {
                    style_.SetLength(id, numeric->Number(), 1);
                } else if (numeric && numeric->UnitCode() == kCSSUnitGrad) {
                    style_.SetLength(id, numeric->Number(), 2);
                } else if (numeric && numeric->UnitCode() == kCSSUnitRad) {
                    style_.SetLength(id, numeric->Number(), 3);
                } else {
                    style_.SetLength(id, 0.0, 0);
                }
                break;
            case 68:
                if (numeric) {
                    std::int32_t out = 0;
                    CSSManager::ConvertLength(value, style_, out, unit);
                    style_.SetLength(68, out, unit, false);
                } else if (keyword == 267) {
                    style_.SetLength(68, 0.0, 0, true);
                } else if (keyword == 372) {
                    style_.SetLength(68, 50.0, 2, false);
                } else if (keyword == 373) {
                    style_.SetLength(68, 150.0, 2, false);
                }
                break;
            case 69: Paint(true, value); break;
            case 72: Paint(false, value); break;
            case 71:
                if (numeric) {
                    DoubleLength(71, value, false);
                } else if (keyword == 331) {
                    style_.SetLength(71, 0.0, 0);
                }
                break;
            case 73:
            case 77:
            case 78: DoubleLength(id, value, false); break;
            case 76:
                if (numeric) {
                    double out = 0.0;
                    CSSManager::ConvertLengthDouble(value, style_, out, unit);
                    style_.AddDash(out, unit);
                }
                // "none" leaves the list the declaration emptied.
                break;
            case 89:
                if (colour) {
                    style_.SetStopColor(colour->ColourWord(), true, colour->Alpha());
                } else if (keyword == 281) {
                    style_.SetStopCurrentColour();
                }
                break;
            case 90:
                if (numeric) {
                    double out = 0.0;
                    CSSManager::ConvertLengthDouble(value, style_, out, unit);
                    style_.SetLength(90, out, unit == kStyleUnitAbsolute ? kStyleUnitOther : unit, true);
                }
                break;
            case 96:
                // "inherit" never gets here: the cascade takes the parent's.
                if (numeric) DoubleLength(96, value, true);
                break;
            case 98: EnableBackground(value); break;
            case 100:
                if (IsKeyword(value)) {
                    style_.SetListMarker(keyword);
                } else {
                    SetURLText(100, value);
                }
                break;
            case 109:
            case 110:
                if (numeric) {
                    IntLength(id, value);
                } else if (keyword == 39) {
                    style_.SetIntLength(id, 50, 2);
                } else if (id == 109 && keyword == 120) {
                    style_.SetIntLength(id, 0, 2);
                } else if (id == 109 && keyword == 202) {
                    style_.SetIntLength(id, 100, 2);
                } else if (id == 110 && keyword == 33) {
                    style_.SetIntLength(id, 100, 2);
                } else if (id == 110 && keyword == 239) {
                    style_.SetIntLength(id, 0, 2);
                }
                break;
            case 111: GenericFamily(value); break;
            case 112:
            case 114:
                // Only filters read these, and nothing inherits them:
                // currentColor is the colour at this point.
                if (colour) {
                    style_.SetWord(id, colour->ColourWord());
                } else if (keyword == 281) {
                    style_.SetWord(id, style_.GetWord(9));
                }
                break;
            case 113: DoubleLength(113, value, false); break;
            case 118:
                if (numeric) {
                    DoubleLength(118, value, false);
                } else if (keyword == 267) {
                    style_.SetLength(118, 0.0, kStyleUnitInitial);
                }
                break;
            default:
                // The keyword properties.
                if (IsKeyword(value)) style_.SetKeyword(id, keyword);
                break;
        }
    }

    Vector<CSSDeclaration>& list_;
    StyleProperties& style_;
    std::unique_ptr<StyleProperties> initial_;  // made for the first "initial"
    std::uint32_t index_ = 0;
    bool applied_ = false;
    // A family not installed was named by the declaration.
    bool named_ = false;
    bool paintURL_ = false;  // the paint declaration so far is a reference
};

}  // namespace

void CSSManager::ApplyDeclarations(Vector<CSSDeclaration>& declarations, StyleProperties* style) {
    if (!style) return;
    Applier(declarations, *style).Run();
}

}  // namespace markup::style
