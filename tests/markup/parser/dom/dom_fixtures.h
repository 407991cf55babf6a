// Document trees in code for the DOM tests: a small SVG dictionary, and
// documents that own their trees as a parsed document does.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "markup/attr_element.h"
#include "markup/doc_tree.h"
#include "markup/parser/dictionary.h"
#include "markup/parser/dom/dom_document.h"
#include "markup/parser/dom/dom_handle.h"
#include "tree_fixtures.h"

namespace markup_test {

enum SvgElement : std::uint32_t { kSvg = 186, kGroup = 187, kRect = 188, kText = 189, kTSpan = 190 };
// The dictionary's name for wrapper nodes (type id 159).
constexpr const char* kWrapperName = "wrapper";

enum SvgAttribute : std::uint32_t { kId = 1, kWidth = 2, kHeight = 3, kX = 4, kY = 5, kFill = 6 };

inline std::unique_ptr<markup::Dictionary> BuildSvgDictionary() {
    using namespace markup;
    auto d = std::make_unique<Dictionary>();
    d->CreateEditor();
    d->SetName("svg");
    d->Entities().Add("&amp;", "&");
    d->Entities().Add("&lt;", "<");
    const std::pair<std::uint32_t, const char*> elements[] = {
        {kSvg, "svg"},   {kGroup, "g"},      {kRect, "rect"}, {kText, "text"},
        {kTSpan, "tspan"}, {markup::kKindPlaceholder, kWrapperName}};
    for (const auto& [id, name] : elements) {
        auto element = std::make_unique<ElementDef>();
        element->SetId(id);
        element->SetName(name);
        d->Elements().Insert(std::move(element));
    }
    const std::pair<std::uint32_t, const char*> attributes[] = {
        {kId, "id"}, {kWidth, "width"}, {kHeight, "height"}, {kX, "x"}, {kY, "y"}, {kFill, "fill"}};
    for (const auto& [id, name] : attributes) {
        auto attribute = std::make_unique<HTMLAttributeDef>();
        attribute->SetId(id);
        attribute->SetName(name);
        d->Attributes().Insert(std::move(attribute));
    }
    return d;
}

// An element with attributes given by id.
inline markup::AttrElement* A(std::uint32_t type, std::initializer_list<std::pair<std::uint32_t, const char*>> attributes,
                              std::initializer_list<markup::Node*> children = {}) {
    markup::AttrElement* node = E(type, children);
    for (const auto& [id, value] : attributes) WithAttribute(node, id, value);
    return node;
}

// An element made by name: type id 170, whose name is its text.
inline markup::AttrElement* N(const char* name, std::initializer_list<markup::Node*> children = {}) {
    return Named(170, name, children);
}

// A document owning its tree through the DOM, over the SVG dictionary; the
// dictionary outlives every handle a test makes.
class DomTest : public testing::Test {
  protected:
    // Hands the tree with `root` (a document node, usually) to the DOM.
    markup::WDOMHandle Adopt(markup::Node* root, markup::DictionaryBase* dictionary = nullptr) {
        auto factory = std::make_unique<TestFactory>();
        auto tree = std::make_unique<markup::DocTree>(factory.get(), nullptr);
        tree->SetDictionary(dictionary ? dictionary : dictionary_.get());
        if (root) tree->AppendChild(root);
        tree_ = tree.get();
        return markup::WDOMDocument_WepImp::Adopt(std::move(tree), std::move(factory));
    }
    markup::WDOMDocument* Document(const markup::WDOMHandle& handle) {
        return dynamic_cast<markup::WDOMDocument*>(handle.Get());
    }

    std::unique_ptr<markup::Dictionary> dictionary_ = BuildSvgDictionary();
    markup::DocTree* tree_ = nullptr;
};

// The narrow text of a DOM string.
inline std::string S(const markup::IDOMString& text) {
    return std::string(text.View());
}

// The names of a node's children as the import's walk sees them.
inline std::string ChildNames(const markup::WDOMHandle& node) {
    std::string out;
    for (markup::WDOMHandle c = node.GetFirstChild(); !c.IsNull(); c = c.GetNextSibling()) {
        if (!out.empty()) out += ' ';
        out += S(c.GetNodeName());
    }
    return out;
}

}  // namespace markup_test
