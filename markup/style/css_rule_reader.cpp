// The rule reader: a rule's prelude as a selector group, and its
// declaration block.
#include "markup/style/css_declarations.h"
#include "markup/style/css_style_sheet.h"
#include "style_heap.h"

#include <string>
#include <vector>

namespace markup::style {

namespace {

// A skipped at-rule's name, or an "@import" where no import may stand.
bool IsAtRuleName(const CSSToken& token) {
    return token.Type() == kCSSImportRule ||
           (token.Type() == kCSSOther && token.Text().Length() > 1 && token.Text().Text()[0] == '@');
}

}  // namespace

// The prelude is read as text up to its "{" (comments and blanks become
// single blanks, a skipped at-rule inside it nothing) and parsed as a
// selector group; the declaration block is read either way, so that an
// invalid selector drops its rule alone.
std::unique_ptr<CSSCompoundSelector> CSSStyleSheet::ParseRule() {
    std::string prelude;
    std::uint32_t at = cursor_.Position();
    int atRuleDepth = -1;  // >= 0 while inside a skipped at-rule
    for (; at < tokens_.Count(); ++at) {
        CSSToken* token = tokens_.At(at);
        const std::uint32_t type = token->Type();
        if (atRuleDepth < 0 && (type == kCSSBlockOpen || type == kCSSBlockClose || type == kCSSEnd)) break;
        if (type == kCSSEnd) break;
        cursor_.ConsumeAt(at);
        if (atRuleDepth >= 0) {
            const String& text = token->Text();
            if (text == "{") ++atRuleDepth;
            if ((text == "}" && --atRuleDepth <= 0) || (text == ";" && atRuleDepth == 0)) atRuleDepth = -1;
            continue;
        }
        if (IsAtRuleName(*token)) {
            atRuleDepth = 0;
            prelude += ' ';
        } else if (IsBlankTokenType(type)) {
            prelude += ' ';
        } else {
            prelude.append(token->Text().Text(), token->Text().Length());
        }
    }
    cursor_.Seek(at);
    CSSToken* token = cursor_.CurrentSignificant();
    if (!token || token->Type() != kCSSBlockOpen) return nullptr;
    cursor_.Consume(token);
    Vector<CSSProperty> block;
    ParseCSSDeclarations(cursor_, css_, block);
    std::vector<ParsedSelector> group;
    if (!ParseSelectorGroup(prelude, group) || block.Count() == 0) return nullptr;
    auto rule = detail::Make<CSSCompoundSelector>(this);
    rule->Reserve(static_cast<std::uint32_t>(group.size()), block.Count());
    for (ParsedSelector& parsed : group) {
        CSSContextualSelector selector;
        selector.SetParsed(std::make_shared<const ParsedSelector>(std::move(parsed)));
        rule->AddSelector(selector);
    }
    for (std::uint32_t i = 0; i < block.Count(); ++i) rule->AddProperty(*block.At(i));
    return rule;
}

}  // namespace markup::style
