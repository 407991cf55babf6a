// The value readers, one per reading kind of a property's definition.
//
// Every reader stops at the declaration's end: ";", "}", the end token, or
// "!important", which the declaration parser then reads. A token whose
// value the factory recognised is marked consumed, so that the later
// members of a shorthand pass over it; an unrecognised value is still kept
// (the cascade skips it).
#include <string>
#include <vector>

#include "markup/style/css_colours.h"
#include "markup/style/css_declarations.h"
#include "style_heap.h"

namespace markup::style {

namespace {

// Shorthands may name shorthands; the dictionary is read from a file, so a
// definition naming itself must not recurse without end.
constexpr int kMaxShorthandDepth = 8;

constexpr std::uint32_t kFontShorthand = 8;

struct SideIds {
    std::uint32_t a, b, c, d;
};

bool FourSides(std::uint32_t kind, SideIds& sides) {
    switch (kind) {
        case kCSSReadMarginSides: sides = {24, 25, 26, 27}; return true;
        case kCSSReadPaddingSides: sides = {29, 30, 31, 32}; return true;
        case kCSSReadBorderWidthSides: sides = {34, 35, 36, 37}; return true;
        case kCSSReadBorderColourSides: sides = {103, 102, 104, 101}; return true;
        case kCSSReadBorderStyleSides: sides = {107, 106, 108, 105}; return true;
        default: return false;
    }
}

bool IsMemberShorthand(std::uint32_t kind) {
    return kind == 3 || kind == 5 || (kind >= 12 && kind <= 15) || kind == 17;
}

bool AtDeclarationEnd(const CSSToken* token) {
    if (!token) return true;
    const std::uint32_t type = token->Type();
    return type == kCSSSemicolon || type == kCSSEnd || type == kCSSBlockClose || type == kCSSImportant;
}

class ValueReader {
  public:
    ValueReader(CSSTokenSource& cursor, const CSSDictionary& css) : cursor_(cursor), css_(css) {}

    void Read(std::uint32_t propertyId, Vector<CSSValue>& out, int depth) {
        const CSSAttributeDef* property = css_.FindProperty(propertyId);
        if (!property || depth > kMaxShorthandDepth) return;
        const std::uint32_t kind = property->WordA();
        SideIds sides{};
        if (IsColourProperty(propertyId) && kind == kCSSReadPlain && ReadColour(propertyId, out)) return;
        if (kind == kCSSReadPlain || kind == 1 || kind == kCSSReadPlainList) {
            ReadPlain(propertyId, out);
        } else if (kind == kCSSReadFamilyList) {
            ReadFamilyList(propertyId, out);
        } else if (kind == kCSSReadTwoPositions) {
            ReadTwoPositions(propertyId, out);
        } else if (FourSides(kind, sides)) {
            ReadFourSides(propertyId, sides, out);
        } else if (propertyId == kFontShorthand) {
            ReadFont(out);
        } else if (kind == kCSSReadBorder) {
            ReadBorder(*property, out, depth);
        } else if (IsMemberShorthand(kind)) {
            ReadMembers(*property, out, depth);
        } else if (kind == kCSSReadSameForMembers) {
            ReadSameForMembers(*property, out, depth);
        }
    }

    // "inherit" or "initial" as a declaration's whole value: one value for
    // each property the declaration sets (a shorthand's members). With
    // more after it the declaration is invalid and sets nothing. False
    // when the value is another one. Overflow keeps its own "inherit".
    bool ReadWideKeyword(std::uint32_t propertyId, Vector<CSSValue>& out) {
        constexpr std::uint32_t kOverflow = 91;
        CSSToken* token = cursor_.CurrentSignificant();
        if (propertyId == kOverflow || !token || token->Type() != kCSSIdentifier ||
            !IsCSSWideKeyword(token->Text())) {
            return false;
        }
        const std::uint32_t at = cursor_.Position();
        cursor_.ConsumeAt(at);
        if (!AtDeclarationEnd(cursor_.Next())) return true;
        std::vector<std::uint32_t> ids;
        Longhands(propertyId, ids, 0);
        for (std::uint32_t id : ids) {
            auto value = detail::Make<CSSValue>();
            value->AddToken(token);
            auto keyword = detail::Make<CSSWideKeywordAttribute>(css_);
            keyword->SetPropertyId(id);
            keyword->SetText(token->Text());
            value->SetAttribute(std::move(keyword));
            detail::Adopt(out, std::move(value));
        }
        return true;
    }

  private:
    // The properties a declaration of the property sets.
    void Longhands(std::uint32_t propertyId, std::vector<std::uint32_t>& ids, int depth) {
        const CSSAttributeDef* property = css_.FindProperty(propertyId);
        if (!property || depth > kMaxShorthandDepth) return;
        const std::uint32_t kind = property->WordA();
        SideIds sides{};
        if (propertyId == kFontShorthand) {
            // The line height too, which "font" sets after its "/".
            for (std::uint32_t id : {3u, 4u, 5u, 6u, 1u, 23u}) ids.push_back(id);
        } else if (FourSides(kind, sides)) {
            for (std::uint32_t id : {sides.a, sides.b, sides.c, sides.d}) ids.push_back(id);
        } else if (kind == kCSSReadTwoPositions) {
            ids.insert(ids.end(), {109u, 110u});
        } else if (kind == kCSSReadBorder) {
            // Width, style and colour of the four sides.
            for (std::uint32_t id = 34; id <= 37; ++id) ids.push_back(id);
            for (std::uint32_t id = 101; id <= 108; ++id) ids.push_back(id);
        } else if (IsMemberShorthand(kind) || kind == kCSSReadSameForMembers) {
            const IdList& members = property->DefinitionWords();
            for (std::uint32_t i = 0; i < members.Count(); ++i) Longhands(members[i], ids, depth + 1);
        } else {
            ids.push_back(propertyId);
        }
    }

    // The properties whose whole value may be one colour: color,
    // background-color, fill, stroke, stop-color, the border sides',
    // flood-color and lighting-color.
    static bool IsColourProperty(std::uint32_t id) {
        return id == 9 || id == 10 || id == 69 || id == 72 || id == 89 || (id >= 101 && id <= 104) || id == 112 ||
               id == 114;
    }

    // The declaration's whole value read as one colour form (its tokens
    // joined: "rgb(0 128 0)" and "#RGBA" are several tokens or an id to
    // the scanner); false, with nothing read, when it is none or is one of
    // the property's keywords, which the plain reader takes.
    bool ReadColour(std::uint32_t propertyId, Vector<CSSValue>& out) {
        const ListBase* tokens = cursor_.List();
        if (!cursor_.CurrentSignificant() || !tokens) return false;
        const std::uint32_t start = cursor_.Position();
        std::vector<std::uint32_t> positions;
        std::string joined;
        std::uint32_t at = start;
        for (; at < tokens->Count(); ++at) {
            const auto* token = static_cast<const CSSToken*>(tokens->ItemAt(at));
            if (!token || AtDeclarationEnd(token)) break;
            if (token->Consumed()) continue;
            if (IsBlankTokenType(token->Type())) {
                joined += ' ';
                continue;
            }
            joined.append(token->Text().Text(), token->Text().Length());
            positions.push_back(at);
        }
        if (!ParseCSSColour(joined)) return false;
        String text;
        text.Append(joined.data(), static_cast<std::uint32_t>(joined.size()));
        while (text.Length() && text.Text()[text.Length() - 1] == ' ') text = text.Left(text.Length() - 1);
        while (text.Length() && text.Text()[0] == ' ') text = text.Mid(1, text.Length() - 1);
        if (IsCSSKeyword(css_, propertyId, text)) return false;
        auto value = detail::Make<CSSValue>();
        for (std::uint32_t p : positions) value->AddToken(static_cast<CSSToken*>(tokens->ItemAt(p)));
        auto colour = detail::Make<CSSColorAttribute>(css_);
        colour->SetPropertyId(propertyId);
        colour->SetText(text);
        value->SetAttribute(std::move(colour));
        for (std::uint32_t p : positions) cursor_.ConsumeAt(p);
        cursor_.Seek(at);
        detail::Adopt(out, std::move(value));
        return true;
    }

    // "font" in CSS's order: style, variant and weight in any order (a
    // number is a weight), the size, "/" and the line height, then the
    // family list. Without a size it is no font value: nothing is read.
    void ReadFont(Vector<CSSValue>& out) {
        constexpr std::uint32_t kStyle = 3, kVariant = 4, kWeight = 5, kSize = 6, kFamily = 1, kLineHeight = 23;
        Vector<CSSValue> read;
        CSSToken* token = cursor_.CurrentSignificant();
        for (; !AtDeclarationEnd(token); token = cursor_.Next()) {
            const std::uint32_t type = token->Type();
            if (type == kCSSIdentifier && !IsCSSKeyword(css_, kSize, token->Text())) {
                std::uint32_t member = 0;
                for (std::uint32_t id : {kStyle, kVariant, kWeight}) {
                    if (IsCSSKeyword(css_, id, token->Text())) {
                        member = id;
                        break;
                    }
                }
                if (member == 0) return;
                detail::Adopt(read, MakeValue(*token, member));
            } else if (type == kCSSNumber && IsCSSKeyword(css_, kWeight, token->Text())) {
                detail::Adopt(read, MakeValue(*token, kWeight));
            } else {
                break;
            }
        }
        if (AtDeclarationEnd(token) || !CSSPropertyAdmits(css_, kSize, token->Type())) return;
        detail::Adopt(read, MakeValue(*token, kSize));
        token = cursor_.Next();
        if (token && token->Type() == kCSSSlash) {
            cursor_.Consume(token);
            token = cursor_.Next();
            if (AtDeclarationEnd(token) || !CSSPropertyAdmits(css_, kLineHeight, token->Type())) return;
            detail::Adopt(read, MakeValue(*token, kLineHeight));
            cursor_.Next();
        }
        ReadFamilyList(kFamily, read);
        for (std::uint32_t i = 0; i < read.Count(); ++i) out.Add(*read.At(i));
    }

    // A value over a run of tokens (at the positions given) for the
    // property.
    std::unique_ptr<CSSValue> MakeValue(const std::vector<std::uint32_t>& positions, const String& text,
                                        std::uint32_t tokenType, std::uint32_t propertyId) {
        auto value = detail::Make<CSSValue>();
        const ListBase* tokens = cursor_.List();
        for (std::uint32_t at : positions) value->AddToken(static_cast<CSSToken*>(tokens->ItemAt(at)));
        bool recognised = false;
        value->SetAttribute(CreateCSSAttributeFromText(text, tokenType, recognised, propertyId, css_));
        if (recognised) {
            for (std::uint32_t at : positions) cursor_.ConsumeAt(at);
        }
        return value;
    }

    std::unique_ptr<CSSValue> MakeValue(const CSSToken& token, std::uint32_t propertyId) {
        return MakeValue({cursor_.Position()}, token.Text(), token.Type(), propertyId);
    }

    void ReadPlain(std::uint32_t propertyId, Vector<CSSValue>& out) {
        for (CSSToken* token = cursor_.CurrentSignificant(); !AtDeclarationEnd(token); token = cursor_.Next()) {
            if (!CSSPropertyAdmits(css_, propertyId, token->Type())) continue;
            detail::Adopt(out, MakeValue(*token, propertyId));
        }
    }

    // Runs of identifiers (one family name of several words) and strings
    // become values, in the list's order; generic families move to the
    // generic-family property. Applying them takes the first installed.
    void ReadFamilyList(std::uint32_t propertyId, Vector<CSSValue>& out) {
        CSSToken* token = cursor_.CurrentSignificant();
        while (!AtDeclarationEnd(token)) {
            std::unique_ptr<CSSValue> value;
            if (token->Type() == kCSSIdentifier) {
                std::vector<std::uint32_t> run;
                String text;
                for (; token && token->Type() == kCSSIdentifier; token = cursor_.Next()) {
                    if (!run.empty()) text += ' ';
                    text += token->Text();
                    run.push_back(cursor_.Position());
                }
                value = MakeValue(run, text, kCSSIdentifier, propertyId);
            } else {
                if (token->Type() == kCSSString) {
                    value = MakeValue(*token, propertyId);
                } else if (token->Type() == kCSSComma) {
                    cursor_.Consume(token);
                }
                token = cursor_.Next();
            }
            if (!value) continue;
            if (value->Attribute()->IsGroup()) value->Attribute()->SetPropertyId(kCSSGenericFamily);
            detail::Adopt(out, std::move(value));
        }
    }

    static std::unique_ptr<CSSValue> CopyFor(const CSSValue& value, std::uint32_t propertyId) {
        std::unique_ptr<CSSValue> copy(value.Clone());
        copy->Attribute()->SetPropertyId(propertyId);
        return copy;
    }

    void ReadFourSides(std::uint32_t propertyId, const SideIds& s, Vector<CSSValue>& out) {
        Vector<CSSValue> read;
        ReadPlain(propertyId, read);
        const std::uint32_t n = read.Count();
        if (n == 0) return;
        const CSSValue& v1 = *read.At(0);
        struct Copy {
            const CSSValue* value;
            std::uint32_t id;
        };
        if (n == 1) {
            for (std::uint32_t id : {s.a, s.b, s.c, s.d}) detail::Adopt(out, CopyFor(v1, id));
            return;
        }
        const CSSValue& v2 = *read.At(1);
        if (n == 2) {
            for (const Copy& c : {Copy{&v1, s.a}, Copy{&v1, s.c}, Copy{&v2, s.b}, Copy{&v2, s.d}}) {
                detail::Adopt(out, CopyFor(*c.value, c.id));
            }
            return;
        }
        const CSSValue& v3 = *read.At(2);
        if (n == 3) {
            for (const Copy& c : {Copy{&v1, s.a}, Copy{&v2, s.b}, Copy{&v2, s.d}, Copy{&v3, s.c}}) {
                detail::Adopt(out, CopyFor(*c.value, c.id));
            }
            return;
        }
        const CSSValue& v4 = *read.At(3);
        for (const Copy& c : {Copy{&v1, s.a}, Copy{&v2, s.b}, Copy{&v3, s.c}, Copy{&v4, s.d}}) {
            detail::Adopt(out, CopyFor(*c.value, c.id));
        }
    }

    // The first value goes to the horizontal position unless it is a
    // keyword only the vertical one takes; the second to the other one.
    void ReadTwoPositions(std::uint32_t propertyId, Vector<CSSValue>& out) {
        constexpr std::uint32_t kX = 109;
        constexpr std::uint32_t kY = 110;
        Vector<CSSValue> read;
        ReadPlain(propertyId, read);
        if (read.Count() == 0) return;
        auto takes = [&](const CSSValue& value, std::uint32_t id) {
            return IsCSSKeyword(css_, id, value.Attribute()->Text());
        };
        const CSSValue& first = *read.At(0);
        const CSSValue* second = read.At(1);
        std::uint32_t firstId = 0;
        if (!first.Attribute()->IsGroup()) {
            firstId = kX;
        } else if (takes(first, kX) && takes(first, kY) && !second) {
            detail::Adopt(out, CopyFor(first, kX));
            detail::Adopt(out, CopyFor(first, kY));
            return;
        } else if (takes(first, kX)) {
            firstId = kX;
        } else if (takes(first, kY)) {
            firstId = kY;
        }
        if (firstId) detail::Adopt(out, CopyFor(first, firstId));
        if (!second) return;
        std::uint32_t secondId = 0;
        if (!second->Attribute()->IsGroup()) {
            secondId = kY;
        } else if (takes(*second, kX) && firstId != kX) {
            secondId = kX;
        } else if (takes(*second, kY) && firstId != kY) {
            secondId = kY;
        }
        if (secondId) detail::Adopt(out, CopyFor(*second, secondId));
    }

    // The cursor goes back to where the declaration's values start for each
    // member; tokens the earlier members used are marked and passed over.
    void ReadMembers(const CSSAttributeDef& property, Vector<CSSValue>& out, int depth) {
        const std::uint32_t start = cursor_.Position();
        const IdList& members = property.DefinitionWords();
        for (std::uint32_t i = 0; i < members.Count(); ++i) {
            cursor_.SetPosition(start);
            Read(members[i], out, depth + 1);
        }
    }

    // One value read as the first member's and given to every member
    // ("marker" sets its three markers alike).
    void ReadSameForMembers(const CSSAttributeDef& property, Vector<CSSValue>& out, int depth) {
        const IdList& members = property.DefinitionWords();
        if (members.Count() == 0) return;
        Vector<CSSValue> read;
        Read(members[0], read, depth + 1);
        for (std::uint32_t i = 0; i < members.Count(); ++i) {
            for (std::uint32_t v = 0; v < read.Count(); ++v) detail::Adopt(out, CopyFor(*read.At(v), members[i]));
        }
    }

    // The members' values, each of the bottom side's properties then given
    // to all four sides.
    void ReadBorder(const CSSAttributeDef& property, Vector<CSSValue>& out, int depth) {
        Vector<CSSValue> read;
        ReadMembers(property, read, depth);
        for (std::uint32_t i = 0; i < read.Count(); ++i) {
            const CSSValue& value = *read.At(i);
            SideIds sides{};
            switch (value.PropertyId()) {
                case 36: sides = {36, 37, 35, 34}; break;
                case 104: sides = {104, 101, 102, 103}; break;
                case 108: sides = {108, 105, 106, 107}; break;
                default: continue;
            }
            for (std::uint32_t id : {sides.a, sides.b, sides.c, sides.d}) detail::Adopt(out, CopyFor(value, id));
        }
    }

    CSSTokenSource& cursor_;
    const CSSDictionary& css_;
};

}  // namespace

bool CSSPropertyAdmits(const CSSDictionary& css, std::uint32_t propertyId, std::uint32_t tokenType) {
    const AttributeTypeGroup* group = nullptr;
    if (tokenType == kCSSIdentifier && css.GroupType(group, propertyId) == kDict_Ok) return true;
    std::uint32_t count = 0;
    if (css.FormatCount(count, propertyId) != kDict_Ok) return false;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t word = 0;
        if (css.FormatWord(word, propertyId, i) == kDict_Ok && word == tokenType) return true;
    }
    return false;
}

namespace {

// The properties for which CSS and SVG call a negative value an error:
// font-size, line-height, padding, border widths, width, height,
// stroke-width, stroke-dasharray, and stroke-miterlimit below 1.
bool RejectsNegative(std::uint32_t id) {
    return id == 6 || id == 23 || (id >= 29 && id <= 38) || id == 46 || id == 47 || id == 73 || id == 76 ||
           id == 79;
}

bool IsInvalidNumber(const CSSValue& value) {
    const CSSAttribute* attribute = value.Attribute();
    if (!attribute || !attribute->IsNumerical() || attribute->TypeCode() == kCSSGroupValue) return false;
    const double number = static_cast<const CSSNumericalAttribute*>(attribute)->Number();
    const std::uint32_t id = attribute->PropertyId();
    return RejectsNegative(id) && number < (id == 79 ? 1.0 : 0.0);
}

}  // namespace

void ReadCSSValues(CSSTokenSource& cursor, const CSSDictionary& css, std::uint32_t propertyId,
                   Vector<CSSValue>& out) {
    ValueReader reader(cursor, css);
    if (reader.ReadWideKeyword(propertyId, out)) return;
    const std::uint32_t first = out.Count();
    reader.Read(propertyId, out, 0);
    // A value out of its property's range makes the whole declaration
    // invalid: the inherited or earlier value holds, as CSS has it.
    bool invalid = false;
    for (std::uint32_t i = first; i < out.Count() && !invalid; ++i) invalid = IsInvalidNumber(*out.At(i));
    while (invalid && out.Count() > first) out.DeleteLast();
}

}  // namespace markup::style
