// What the parser tests parse with: a recording CSS manager, and a parse of
// bytes in memory into a tree, with its dump and diagnostics.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "markup/css_base_manager.h"
#include "markup/doc_tree.h"
#include "markup/parser/parse_diagnostics.h"
#include "markup/parser/parser.h"
#include "markup/parser/xml_element_factory.h"
#include "markup/tree_dump.h"
#include "token_fixtures.h"

namespace markup_test {

// Keeps what the document handlers hand it, in order: "context NAME" for a
// style element, then "text TEXT" for each style text it is given or
// collects.
class RecordingCSSManager : public markup::CSSBaseManager {
  public:
    void SetDocument(markup::DocTree* document) override { document_ = document; }
    void SetContext(markup::Node* styleElement, markup::DocTree* document) override {
        context_ = styleElement;
        auto* element = dynamic_cast<markup::DocElement*>(styleElement);
        events.push_back("context " + std::string(element ? element->GetName(document->Dictionary()).Text() : "?"));
    }
    void CollectStyleElements() override {
        for (markup::Node* child = context_ ? context_->FirstChild() : nullptr; child; child = child->NextSibling()) {
            auto* run = dynamic_cast<markup::DocElement*>(child);
            if (run && run->TypeId() != markup::kKindMarkupDeclaration) AddStyleText(run->Text(), 0);
        }
    }
    void AddStyleText(const markup::String& text, std::uint8_t) override {
        events.push_back("text " + std::string(text.Text()));
    }
    void ApplyCascade(markup::Node*, markup::ExtraObject*) override {}

    std::vector<std::string> events;

  private:
    markup::DocTree* document_ = nullptr;
    markup::Node* context_ = nullptr;
};

// One parse of bytes: the tree (null when the parse failed), its dump and
// its diagnostics.
struct ParsedText {
    std::unique_ptr<markup::DocTree> tree;
    std::string dump;
    std::string diagnostics;
};

inline ParsedText ParseText(const std::string& bytes, markup::Dictionary* dictionary, bool xmlMode,
                            markup::CSSBaseManager* manager = nullptr, const std::string& name = "",
                            bool dump = true) {
    static markup::XMLElementFactory factory;
    MemoryInStream stream(bytes, 1u << 20, name);
    markup::Parser parser;
    parser.SetXmlMode(xmlMode ? 1 : 0);
    ParsedText parsed;
    parsed.tree = parser.Run(&stream, &factory, dictionary, manager, name.c_str(), 0);
    if (parsed.tree && dump) {
        parsed.dump = markup::DumpTree(*parsed.tree);
        if (auto* d = dynamic_cast<markup::ParseDiagnostics*>(parsed.tree->Option())) {
            parsed.diagnostics = markup::DumpDiagnostics(d->errors);
        }
    }
    return parsed;
}

}  // namespace markup_test
