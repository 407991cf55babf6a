#include "markup/style/css_declaration_memo.h"

#include "markup/style/css_declarations.h"
#include "markup/style/css_token_source.h"
#include "style_heap.h"

namespace markup::style::detail {

void DeclarationMemo::Settle() {
    passing_.clear();
    if (kept_[0].size() + kept_[1].size() >= kMaxTexts) {
        kept_[0].clear();
        kept_[1].clear();
    }
}

const DeclarationMemo::Values& DeclarationMemo::Get(std::string_view text, bool firstOnly, CSSTokenizer& tokenizer,
                                                    const CSSDictionary& css) {
    Kept& kept = kept_[firstOnly ? 1 : 0];
    const bool keep = text.size() <= kMaxTextBytes;
    if (keep) {
        if (auto found = kept.find(text); found != kept.end()) return *found->second;
    }
    std::unique_ptr<Values> read = Make<Values>();
    String whole;
    whole.Append(text.data(), static_cast<std::uint32_t>(text.size()));
    tokenizer.Tokenize(whole, 0, read->tokens);
    CSSTokenSource cursor(&read->tokens);
    ParseCSSDeclarations(cursor, css, read->properties);
    for (std::uint32_t p = 0; p < read->properties.Count() && !(firstOnly && p > 0); ++p) {
        const CSSProperty* property = read->properties.At(p);
        for (std::uint32_t v = 0; v < property->ValueCount(); ++v) {
            const CSSValue* value = property->ValueAt(v);
            read->values.push_back(AppliedValueOf(value ? value->Attribute() : nullptr, value && value->Important()));
            read->declarations.push_back(property);
        }
    }
    Values& values = *read;
    if (keep) {
        kept.emplace(std::string(text), std::move(read));
    } else {
        passing_.push_back(std::move(read));
    }
    return values;
}

}  // namespace markup::style::detail
