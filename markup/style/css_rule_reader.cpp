// The rule reader: simple and contextual selectors, selector groups and the
// declaration block of one rule.
#include "markup/style/css_declarations.h"
#include "markup/style/css_style_sheet.h"
#include "style_heap.h"

namespace markup::style {

namespace {

// At most three parts: what starts the selector, a pseudo-class, id or
// class written directly after it, and a pseudo-class after that. A blank
// between parts is invisible here; it matters because the scanner gives a
// class or id after a blank its "elsewhere" type, which ends the selector.
std::unique_ptr<CSSSimpleSelector> ReadSimpleSelector(CSSTokenSource& cursor) {
    CSSToken* name = nullptr;
    CSSToken* classToken = nullptr;
    CSSToken* id = nullptr;
    CSSToken* pseudoClass = nullptr;
    CSSToken* token = cursor.CurrentSignificant();
    if (!token) return nullptr;
    switch (token->Type()) {
        case kCSSIdentifier: name = token; break;
        case kCSSLink:
        case kCSSVisited:
        case kCSSActive: pseudoClass = token; break;
        case kCSSFirstLine:
        case kCSSFirstLetter: break;  // accepted, kept nowhere
        case kCSSId: id = token; break;
        case kCSSClass: classToken = token; break;
        default: return nullptr;
    }
    cursor.Consume(token);

    token = cursor.CurrentSignificant();
    if (token) {
        bool taken = true;
        switch (token->Type()) {
            case kCSSLinkAfterName:
            case kCSSVisitedAfterName:
            case kCSSActiveAfterName: pseudoClass = token; break;
            case kCSSIdAfterName: id = token; break;
            case kCSSClassAfterName: classToken = token; break;
            case kCSSFirstLineAfterName:
            case kCSSFirstLetterAfterName: break;
            default: taken = false; break;
        }
        if (taken) cursor.Consume(token);
    }

    token = cursor.CurrentSignificant();
    if (token && token->Type() >= kCSSLinkAfterName && token->Type() <= kCSSActiveAfterName) {
        pseudoClass = token;
        cursor.Consume(token);
    }
    return detail::Make<CSSSimpleSelector>(name, classToken, id, pseudoClass);
}

std::unique_ptr<CSSContextualSelector> ReadContextualSelector(CSSTokenSource& cursor) {
    auto selector = detail::Make<CSSContextualSelector>();
    while (std::unique_ptr<CSSSimpleSelector> simple = ReadSimpleSelector(cursor)) selector->Add(*simple);
    if (selector->Count() == 0) return nullptr;
    return selector;
}

}  // namespace

// Tokens that fit no selector are stepped over; a "{" after no selector is
// marked, and its block is then read as selectors, which the rule drops.
std::unique_ptr<CSSCompoundSelector> CSSStyleSheet::ParseRule() {
    auto rule = detail::Make<CSSCompoundSelector>(this);
    std::uint32_t selectors = 0;
    bool hasDeclarations = false;
    for (;;) {
        if (std::unique_ptr<CSSContextualSelector> selector = ReadContextualSelector(cursor_)) {
            rule->AddSelector(*selector);
            ++selectors;
        }
        CSSToken* token = cursor_.CurrentSignificant();
        if (!token || token->Type() == kCSSEnd || token->Type() == kCSSBlockClose) break;
        if (token->Type() == kCSSComma) {
            cursor_.Consume(token);
        } else if (token->Type() == kCSSBlockOpen) {
            cursor_.Consume(token);
            if (selectors > 0) {
                Vector<CSSProperty> block;
                ParseCSSDeclarations(cursor_, css_, block);
                hasDeclarations = hasDeclarations || block.Count() > 0;
                for (std::uint32_t i = 0; i < block.Count(); ++i) rule->AddProperty(*block.At(i));
            }
        } else {
            cursor_.Next();
        }
    }
    if (!hasDeclarations) return nullptr;
    return rule;
}

}  // namespace markup::style
