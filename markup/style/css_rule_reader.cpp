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
bool CSSStyleSheet::ReadRule(RuleRead& read) {
    std::string& prelude = read.prelude;
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
    if (!token || token->Type() != kCSSBlockOpen) return false;
    cursor_.Consume(token);
    const std::uint32_t blockStart = cursor_.Position() + 1;
    ParseCSSDeclarations(cursor_, css_, read.block);
    if (!ParseSelectorGroup(prelude, read.selectors) || read.block.Count() == 0) return false;
    // The block as written: its tokens up to where the parse stopped, and
    // the "}" when that closes it. Scanned again, it gives those tokens.
    const std::uint32_t stop = cursor_.Position();
    for (std::uint32_t i = blockStart; i < stop && i < tokens_.Count(); ++i) {
        const String& text = tokens_.At(i)->Text();
        read.blockText.append(text.Text(), text.Length());
    }
    if (const CSSToken* close = tokens_.At(stop); close && close->Type() == kCSSBlockClose)
        read.blockText += '}';
    return true;
}

std::unique_ptr<CSSCompoundSelector> CSSStyleSheet::BuildRule(std::uint32_t selectors,
                                                              const Vector<CSSProperty>& block) const {
    // The rule's sheet is this one, which a made rule gives its callers.
    auto rule = detail::Make<CSSCompoundSelector>(const_cast<CSSStyleSheet*>(this));
    rule->Reserve(selectors, block.Count());
    for (std::uint32_t i = 0; i < selectors; ++i) rule->AddSelector(CSSContextualSelector());
    for (std::uint32_t i = 0; i < block.Count(); ++i) rule->AddProperty(*block.At(i));
    return rule;
}

std::unique_ptr<CSSCompoundSelector> CSSStyleSheet::ParseRule() {
    RuleRead read;
    if (!ReadRule(read)) return nullptr;
    std::unique_ptr<CSSCompoundSelector> rule =
        BuildRule(static_cast<std::uint32_t>(read.selectors.size()), read.block);
    for (std::uint32_t i = 0; i < read.selectors.size(); ++i) {
        rule->SelectorAt(i)->SetParsed(std::make_shared<const ParsedSelector>(std::move(read.selectors[i])));
    }
    return rule;
}

}  // namespace markup::style
