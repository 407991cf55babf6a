// The text form of a token stream; its format is described with the
// declarations.
#include "markup/parser/token_dump.h"

#include "markup/faults.h"
#include "markup/parser/parse_diagnostics.h"
#include "markup/parser/tokenizer.h"
#include "markup/parser/xml_element_factory.h"
#include "markup/tree_dump.h"

namespace markup {

namespace {

void AppendField(std::string& out, const char* label, const String& text) {
    if (text.IsEmpty()) return;
    out += ' ';
    out += label;
    out += '=';
    out += QuoteForDump(text);
}

}  // namespace

std::string DumpToken(const Token& token, const DictionaryBase* dictionary) {
    std::string out = std::to_string(token.line) + '-' + std::to_string(token.endLine);
    if (dynamic_cast<const InitialToken*>(&token)) {
        out += " initial";
    } else {
        out += token.IsEndTag() ? " end" : " start";
    }
    if (token.typeId) out += " type=" + std::to_string(token.typeId);
    AppendField(out, "name", token.name);
    AppendField(out, "text", token.text);
    if (token.reported) out += " reported";
    out += '\n';
    if (token.node) {
        const std::string node = DumpSubtree(*token.node, dictionary);
        std::size_t start = 0;
        while (start < node.size()) {
            const std::size_t end = node.find('\n', start);
            out += "  ";
            out.append(node, start, end - start + 1);
            start = end + 1;
        }
    }
    return out;
}

std::string DumpTokens(InStream& stream, const String& name, Dictionary* dictionary, bool xmlMode) {
    XMLElementFactory factory;
    DocTree tree(&factory, nullptr);
    tree.SetDictionary(dictionary);
    ErrorList errors;
    Tokenizer tokenizer;
    tokenizer.SetErrors(&errors);
    std::string out;
    bool failed = false;
    try {
        tokenizer.Begin(&stream, nullptr, &tree, name, xmlMode ? 1 : 0);
        while (const Token* token = tokenizer.NextToken()) out += DumpToken(*token, tokenizer.GetDictionary());
    } catch (const Fault&) {
        failed = true;
    }
    tokenizer.Reset();
    if (errors.Count() > 0) out += "diagnostics:\n" + DumpDiagnostics(errors);
    if (failed) out += "fault\n";
    return out;
}

}  // namespace markup
