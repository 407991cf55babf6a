// Helpers of the DTD compiler's tests: token lists as text, compiling a
// text quietly or into a recording sink, and finding definitions by name.
#pragma once

#include <sstream>
#include <string>

#include "markup/dtd/dtd_compiler.h"
#include "markup/parser/dictionary.h"
#include "markup/parser/dictionary_dump.h"

namespace dtd_test {

using markup::dtd::DtdCompiler;
using markup::dtd::TokenList;

// One token: its grammar name, with its text in parentheses when it has
// one, and "@line" when lines are asked for.
inline std::string TokenText(const markup::dtd::CToken& token, bool lines) {
    std::string out = markup::dtd::TokenName(token.Code());
    const std::uint32_t code = token.Code();
    if (code == markup::dtd::kTokName || code == markup::dtd::kTokNumber ||
        code == markup::dtd::kTokLiteral || code == markup::dtd::kTokEntityRef ||
        code == markup::dtd::kTokPERef) {
        out += "(" + token.Text() + ")";
    }
    if (lines) out += "@" + std::to_string(token.Line());
    return out;
}

inline std::string ListText(const TokenList& list, bool lines = false) {
    std::string out;
    for (const auto& token : list) {
        if (!out.empty()) out += ' ';
        out += TokenText(*token, lines);
    }
    return out;
}

// Every non-empty list, "kind: tokens", the list of everything else first.
inline std::string ListsText(const DtdCompiler& compiler, bool lines = false) {
    using namespace markup::dtd;
    static const std::pair<std::uint32_t, const char*> kLists[] = {
        {kListOther, "other"},         {kListElements, "elements"},   {kListEntities, "entities"},
        {kListAttributes, "attlists"}, {kListNotations, "notations"}, {kListInstructions, "instructions"},
    };
    std::string out;
    for (const auto& [kind, label] : kLists) {
        if (compiler.List(kind).empty()) continue;
        if (!out.empty()) out += "; ";
        out += std::string(label) + ": " + ListText(compiler.List(kind), lines);
    }
    return out;
}

inline void ScanText(DtdCompiler& compiler, const std::string& text) {
    std::istringstream in(text);
    compiler.Scan(in);
}

inline std::unique_ptr<markup::Dictionary> Compile(const std::string& text,
                                                   markup::dtd::DiagnosticSink& sink = markup::dtd::Quiet()) {
    std::istringstream in(text);
    return markup::dtd::CompileDtd(&in, sink);
}

inline const markup::ElementDef* Element(const markup::Dictionary& d, const char* name) {
    return d.Elements().FindByName(name);
}

inline const markup::HTMLAttributeDef* Attribute(const markup::Dictionary& d, const char* name) {
    return d.Attributes().FindByName(name);
}

// The element's model as the dump writes it; "none" without one, "missing"
// without the element.
inline std::string Model(const markup::Dictionary& d, const char* name) {
    const markup::ElementDef* element = Element(d, name);
    if (!element) return "missing";
    return element->Model() ? markup::DumpContentModel(*element->Model()) : "none";
}

}  // namespace dtd_test
