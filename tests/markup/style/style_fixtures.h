// Shared helpers of the CSS engine's tests: the CSS dictionary the build
// generates, and texts of tokens for the data-file drivers.
#pragma once

#include <string>

#include "markup/containers.h"
#include "markup/parser/css_dictionary.h"
#include "markup/string.h"
#include "markup/style/css_token.h"
#include "markup/style/css_tokenizer.h"
#include "sections.h"

namespace style_test {

inline std::string Str(const markup::String& s) {
    return std::string(s.Text(), s.Length());
}

inline markup::String Text(const std::string& s) {
    markup::String out;
    out.Append(s.data(), static_cast<std::uint32_t>(s.size()));
    return out;
}

// Loaded once; the tests only read it.
inline const markup::CSSDictionary& Css() {
    static const markup::CSSDictionary* css = [] {
        auto* d = new markup::CSSDictionary();
        const markup::ReturnCodeEnum status =
            d->Load(std::string(SVGFILTER_DICTIONARY_DIR).append(markup::CSSDictionary::kFileName).c_str());
        EXPECT_EQ(status, markup::kErr_None) << "CSS.dic of the build tree";
        return d;
    }();
    return *css;
}

inline std::string TokenLine(const markup::style::CSSToken& token) {
    return std::to_string(token.Type()) + " \"" + testsupport::EscapeText(Str(token.Text())) + "\"";
}

}  // namespace style_test
