// The values of declaration texts ("style" attributes, and presentation
// attributes as "name:value") as the cascade applies them, read once for
// each distinct text: drawings repeat a few such texts on thousands of
// elements. Each text keeps its tokens and declarations, which own what
// its values point to.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "markup/containers.h"
#include "markup/parser/css_dictionary.h"
#include "markup/style/css_applied_value.h"
#include "markup/style/css_element.h"
#include "markup/style/css_token.h"
#include "markup/style/css_tokenizer.h"

namespace markup::style::detail {

class DeclarationMemo {
  public:
    // What one text gives: its values in order, each with its declaration.
    struct Values {
        Vector<CSSToken> tokens;
        Vector<CSSProperty> properties;
        std::vector<CSSAppliedValue> values;
        std::vector<const void*> declarations;
    };

    // Kept texts at most; past this the memo starts again.
    static constexpr std::size_t kMaxTexts = 1024;
    // Longer texts are read each time: they are rarely repeated.
    static constexpr std::size_t kMaxTextBytes = 256;

    // Forgets the texts kept once there are kMaxTexts, and the long texts
    // read since the last call. Values handed out before it must no longer
    // be in use.
    void Settle();

    // The values of `text`. A presentation attribute gives the first
    // declaration only, so that it cannot bring in others.
    const Values& Get(std::string_view text, bool firstOnly, CSSTokenizer& tokenizer, const CSSDictionary& css);

  private:
    // Looked up by the text itself, so that a text already kept costs no copy.
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>()(text); }
    };
    using Kept = std::unordered_map<std::string, std::unique_ptr<Values>, TextHash, std::equal_to<>>;

    // Style-attribute texts and presentation texts apart: the latter's
    // reading stops after its first declaration.
    Kept kept_[2];
    std::vector<std::unique_ptr<Values>> passing_;
};

}  // namespace markup::style::detail
