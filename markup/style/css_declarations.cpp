// The declaration parser: blocks of declarations and single declarations.
#include "markup/style/css_declarations.h"

#include "style_heap.h"

namespace markup::style {

std::unique_ptr<CSSProperty> ParseCSSProperty(CSSTokenSource& cursor, const CSSDictionary& css) {
    CSSToken* name = cursor.CurrentSignificant();
    std::uint32_t id = 0;
    if (!name || !css.PropertyIdByName(name->Text(), id)) return nullptr;
    cursor.Consume(name);
    CSSToken* colon = cursor.Next();
    if (!colon || colon->Type() != kCSSColon) return nullptr;
    cursor.Consume(colon);
    cursor.Next();
    auto property = detail::Make<CSSProperty>(name, id);
    property->AddToken(name);
    property->AddToken(colon);
    const std::uint32_t start = cursor.Position();
    ReadCSSValues(cursor, css, id, property->Values());
    // The declaration as written: every token the values were read from.
    for (std::uint32_t i = start; i < cursor.Position(); ++i) {
        CSSToken* token = cursor.List() ? static_cast<CSSToken*>(cursor.List()->ItemAt(i)) : nullptr;
        if (token && (token->Type() < kCSSCommentOpen || token->Type() > kCSSComment)) property->AddToken(token);
    }
    if (CSSToken* important = cursor.CurrentSignificant(); important && important->Type() == kCSSImportant) {
        for (std::uint32_t i = 0; i < property->ValueCount(); ++i) property->ValueAt(i)->SetImportant(true);
        cursor.Consume(important);
    }
    if (property->ValueCount() == 0) return nullptr;
    return property;
}

void ParseCSSDeclarations(CSSTokenSource& cursor, const CSSDictionary& css, Vector<CSSProperty>& out) {
    for (CSSToken* token = cursor.CurrentSignificant();
         token && token->Type() != kCSSEnd && token->Type() != kCSSBlockClose; token = cursor.CurrentSignificant()) {
        if (token->Type() == kCSSIdentifier) {
            const std::uint32_t start = cursor.Position();
            if (std::unique_ptr<CSSProperty> property = ParseCSSProperty(cursor, css)) {
                detail::Adopt(out, std::move(property));
            }
            // Every token of the declaration is used, those its values
            // passed over too: in a block left open they would otherwise
            // start the next rule, and each rule would read to the end.
            cursor.SetPosition(start);
            cursor.ConsumeThrough(kCSSSemicolon);
        } else {
            cursor.Consume(token);
            cursor.Next();
        }
    }
}

}  // namespace markup::style
