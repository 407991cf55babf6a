// Shared helpers of the CSS engine's tests: the CSS dictionary the build
// generates, and texts of tokens for the data-file drivers.
#pragma once

#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "markup/containers.h"
#include "markup/parser/css_dictionary.h"
#include "markup/parser/dictionary.h"
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

// A markup dictionary of a few elements, each with the attribute ids it
// takes, and of named attributes.
struct ElementSpec {
    std::uint32_t id;
    const char* name;
    std::vector<std::uint32_t> attributes;
};

inline std::unique_ptr<markup::Dictionary> SmallDictionary(
    std::initializer_list<ElementSpec> elements,
    std::initializer_list<std::pair<std::uint32_t, const char*>> attributes) {
    auto d = std::make_unique<markup::Dictionary>();
    d->CreateEditor();
    for (const ElementSpec& spec : elements) {
        auto def = std::make_unique<markup::ElementDef>();
        def->SetId(spec.id);
        def->SetName(spec.name);
        for (std::uint32_t a : spec.attributes) def->AddAttribute(a);
        d->Elements().Insert(std::move(def));
    }
    for (const auto& [id, name] : attributes) {
        auto def = std::make_unique<markup::HTMLAttributeDef>();
        def->SetId(id);
        def->SetName(name);
        d->Attributes().Insert(std::move(def));
    }
    return d;
}

inline std::string TokenLine(const markup::style::CSSToken& token) {
    return std::to_string(token.Type()) + " \"" + testsupport::EscapeText(Str(token.Text())) + "\"";
}

}  // namespace style_test
