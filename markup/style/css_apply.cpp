// The cascade's apply loop: each declaration's value converted into the
// computed style through the setter of its property id.
#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "markup/style/css_manager.h"
#include "truncate_to_int32.h"

namespace markup::style {

using detail::TruncateToInt32;

namespace {

// The highest property id of the dictionary's table.
constexpr std::uint32_t kLastPropertyId = 119;

bool HasNoEffect(std::uint32_t id) {
    return id == 8 || id == 14 || id == 15 || id == 28 || id == 33 || (id >= 38 && id <= 45) || id == 60 ||
           id == 79 || id == 92;
}

// A family name as a face name: a string's quotes go.
String Unquoted(const String& family) {
    const std::uint32_t length = family.Length();
    if (length < 2 || family.Text() == nullptr) return family;
    const char first = family.Text()[0];
    if ((first == '\'' || first == '"') && family.Text()[length - 1] == first) return family.Mid(1, length - 2);
    return family;
}

// The keyword id and its dictionary number; 0 for a value that is no keyword.
std::uint32_t Keyword(const CSSAppliedValue& value) {
    return value.IsKeyword() ? value.word : 0;
}

double KeywordNumber(const CSSAppliedValue& value) {
    return value.IsKeyword() ? value.number : 0.0;
}

class Applier {
  public:
    Applier(const std::vector<CSSAppliedDeclaration>& list, StyleProperties& style)
        : list_(list), style_(style) {}

    void Run() {
        const void* previous = nullptr;
        for (index_ = 0; index_ < list_.size(); ++index_) {
            const CSSAppliedDeclaration& declaration = list_[index_];
            const bool fresh = declaration.declaration != previous || index_ == 0;
            if (fresh) {
                applied_ = false;
                named_ = false;
                paintURL_ = false;
            }
            previous = declaration.declaration;
            const CSSAppliedValue& value = *declaration.value;
            if (value.type == CSSAppliedValue::kNoAttribute) continue;
            if (value.type == kCSSWideKeywordValue) {
                TakeWideKeyword(value);
                continue;
            }
            if (value.type == kCSSUnknownValue) continue;
            const std::uint32_t id = value.propertyId;
            if (id < 1 || id > kLastPropertyId || HasNoEffect(id)) continue;
            // A dash array replaces the one inherited or declared before;
            // its values then add one entry each.
            if (id == 76 && fresh) style_.ClearDashes();
            Apply(id, value);
        }
    }

  private:
    // "inherit" takes the parent's value (the initial one at the root),
    // "initial" the value a fresh record starts with.
    void TakeWideKeyword(const CSSAppliedValue& value) {
        const StyleProperties* from = (value.flags & CSSAppliedValue::kInitial) ? nullptr : style_.Parent();
        if (!from) {
            if (!initial_) initial_ = std::make_unique<StyleProperties>(style_.Mapper());
            from = initial_.get();
        }
        style_.TakeProperty(value.propertyId, *from);
    }

    void SetURLText(std::uint32_t id, const CSSAppliedValue& value) {
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

    void IntLength(std::uint32_t id, const CSSAppliedValue& value) {
        if (!value.IsNumerical()) return;
        std::int32_t out = 0;
        std::int32_t unit = 0;
        CSSManager::ConvertLength(value, style_, out, unit);
        style_.SetIntLength(id, out, unit);
    }

    void DoubleLength(std::uint32_t id, const CSSAppliedValue& value, bool mark) {
        if (!value.IsNumerical()) return;
        double out = 0.0;
        std::int32_t unit = 0;
        CSSManager::ConvertLengthDouble(value, style_, out, unit);
        style_.SetLength(id, out, unit, mark);
    }

    void FontSize(const CSSAppliedValue& value) {
        Graphics& graphics = style_.GetGraphics();
        // Relative sizes count from the inherited size, not from a size an
        // earlier declaration of this element set.
        const double parent = style_.GetInheritedFontSize();
        if (value.IsNumerical()) {
            const double number = value.number;
            switch (value.unit) {
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
        const std::uint32_t keyword = Keyword(value);
        switch (keyword) {
            case 310:
            case 323:
            case 363:
            case 397:
            case 398:
            case 399:
            case 400: {
                const std::int32_t index = TruncateToInt32(KeywordNumber(value));
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

    void Paint(bool fill, const CSSAppliedValue& value) {
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
        if (!value.IsKeyword()) {
            if (value.IsColour()) {
                fill ? style_.SetFillColour(value.word, value.number)
                     : style_.SetStrokeColour(value.word, value.number);
                return;
            }
            String text;
            CSSManager::GetURLText(value, text);
            fill ? style_.SetFillURL(&text) : style_.SetStrokeURL(&text);
            paintURL_ = true;
            return;
        }
        const std::uint32_t keyword = Keyword(value);
        fill ? style_.SetFillKeyword(keyword) : style_.SetStrokeKeyword(keyword);
    }

    // The numbers of "enable-background: new x y w h": up to four values
    // of the declarations that follow, each consumed.
    void EnableBackground(const CSSAppliedValue& value) {
        const std::uint32_t keyword = Keyword(value);
        std::int32_t words[4] = {0, 0, 0, 0};
        if (keyword == 330) {
            for (std::int32_t& slot : words) {
                const std::uint32_t next = index_ + 1;
                if (next >= list_.size()) continue;
                const CSSAppliedValue& number = *list_[next].value;
                if (number.type == CSSAppliedValue::kNoAttribute || number.propertyId != 98 ||
                    !number.IsNumerical()) {
                    continue;
                }
                slot = TruncateToInt32(number.number);
                index_ = next;
            }
        }
        if (keyword == 265 || keyword == 330) style_.SetEnableBackground(keyword, words);
    }

    void GenericFamily(const CSSAppliedValue& value) {
        if (applied_ || !value.IsKeyword()) return;
        const std::int32_t family = TruncateToInt32(KeywordNumber(value));
        String face;
        // A family no installed face belongs to leaves the family as it
        // was rather than naming no face at all.
        if (style_.GetGraphics().FindFamilyFace(static_cast<std::uint8_t>(family), face)) {
            style_.SetFontFamily(face);
            applied_ = true;
        }
    }

    void Apply(std::uint32_t id, const CSSAppliedValue& value) {
        const std::uint32_t keyword = Keyword(value);
        const bool numeric = value.IsNumerical();
        const bool colour = value.IsColour();
        std::int32_t current = 0;
        std::int32_t unit = 0;
        switch (id) {
            case 1: {
                // The first installed family of the list; while none is,
                // the first named holds the place.
                if (applied_) break;
                const String family = value.TextString();
                if (style_.GetGraphics().HasFace(Unquoted(family))) {
                    style_.SetFontFamily(family);
                    applied_ = true;
                } else if (!named_) {
                    style_.SetFontFamily(family);
                    named_ = true;
                }
                break;
            }
            case 3:
            case 5:
                if (value.IsKeyword()) style_.SetFlag(id, KeywordNumber(value) == 1.0);
                break;
            case 4:
                if (keyword == 334) style_.SetFlag(4, false);
                if (keyword == 364) style_.SetFlag(4, true);
                break;
            case 6: FontSize(value); break;
            case 7:
                style_.SetLength(7, numeric ? value.number : 1.0, kStyleUnitInitial);
                break;
            case 9:
                if (colour) {
                    style_.SetWord(id, value.word);
                    style_.SetColourAlpha(value.number);
                }
                break;
            case 101:
            case 102:
            case 103:
            case 104:
                if (colour) style_.SetWord(id, value.word);
                break;
            case 10:
                if (!colour) break;
                if (value.IsSpecialColour()) {
                    style_.SetTransparentBackground();
                } else {
                    style_.SetWord(10, value.word);
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
                if (value.IsKeyword()) style_.SetTextDecoration(keyword);
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
                if (numeric && value.unit == kCSSUnitDeg) {
                    style_.SetLength(id, value.number, 1);
                } else if (numeric && value.unit == kCSSUnitGrad) {
                    style_.SetLength(id, value.number, 2);
                } else if (numeric && value.unit == kCSSUnitRad) {
                    style_.SetLength(id, value.number, 3);
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
                    style_.SetStopColor(value.word, true, value.number);
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
                if (value.IsKeyword()) {
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
                    style_.SetWord(id, value.word);
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
                if (value.IsKeyword()) style_.SetKeyword(id, keyword);
                break;
        }
    }

    const std::vector<CSSAppliedDeclaration>& list_;
    StyleProperties& style_;
    std::unique_ptr<StyleProperties> initial_;  // made for the first "initial"
    std::uint32_t index_ = 0;
    bool applied_ = false;
    // A family not installed was named by the declaration.
    bool named_ = false;
    bool paintURL_ = false;  // the paint declaration so far is a reference
};

}  // namespace

void CSSManager::ApplyDeclarations(const std::vector<CSSAppliedDeclaration>& declarations,
                                   StyleProperties* style) {
    if (!style) return;
    Applier(declarations, *style).Run();
}

}  // namespace markup::style
