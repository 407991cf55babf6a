// Small stand-ins for the document-tree tests: a dictionary, a node factory,
// a style-sheet manager that records its calls, and helpers that build
// trees in code.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "markup/attr_element.h"
#include "markup/css_base_manager.h"
#include "markup/dictionary_base.h"
#include "markup/doc_tree.h"
#include "markup/text_elements.h"

namespace markup_test {

using markup::AttrElement;
using markup::Attribute;
using markup::DocElement;
using markup::EntityElement;
using markup::Node;
using markup::RunElement;
using markup::String;

inline std::string Str(const String& s) {
    return std::string(s.Text(), s.Length());
}

class FakeDictionary : public markup::DictionaryBase {
  public:
    bool ElementNameById(std::uint32_t id, String& name) const override { return Look(elements, id, name); }
    bool AttributeNameById(std::uint32_t id, String& name) const override {
        return Look(attributes, id, name);
    }
    bool GroupContains(std::uint32_t elementId, std::uint32_t groupClass) const override {
        auto group = groups.find(groupClass);
        return group != groups.end() && group->second.count(elementId) != 0;
    }
    bool FindEntityText(const String& name, String& text) const override {
        auto hit = entities.find(Str(name));
        if (hit == entities.end()) return false;
        text = hit->second.c_str();
        return true;
    }
    bool ElementIsEmpty(std::uint32_t id, bool& empty) const override {
        auto hit = emptiness.find(id);
        if (hit == emptiness.end()) return false;
        empty = hit->second;
        return true;
    }

    std::map<std::uint32_t, std::string> elements;
    std::map<std::uint32_t, std::string> attributes;
    std::map<std::uint32_t, std::set<std::uint32_t>> groups;
    std::map<std::string, std::string> entities;
    std::map<std::uint32_t, bool> emptiness;  // defined elements: declared empty or not

  private:
    static bool Look(const std::map<std::uint32_t, std::string>& names, std::uint32_t id, String& name) {
        auto hit = names.find(id);
        if (hit == names.end()) return false;
        name = hit->second.c_str();
        return true;
    }
};

// Picks the node class by type id the way the parser's factory does, and
// keeps a line per call.
class TestFactory : public markup::WebElementFactory {
  public:
    DocElement* Create(markup::DictionaryBase* dictionary, std::uint32_t typeId, const String* name,
                       int keepFlags) override {
        calls.push_back(std::to_string(typeId) + " \"" + (name ? Str(*name) : "") + "\" " +
                        std::to_string(keepFlags));
        DocElement* node;
        if (typeId >= 160 && typeId <= 165) {
            node = new RunElement;
        } else if (typeId == 167) {
            node = new EntityElement;
        } else {
            node = new AttrElement;
        }
        node->SetTypeId(typeId);
        if (name) node->SetText(dictionary, *name);
        return node;
    }
    std::vector<std::string> calls;
};

class RecordingCSSManager : public markup::CSSBaseManager {
  public:
    void SetDocument(markup::DocTree* document) override {
        this->document = document;
        calls.push_back("document");
    }
    void SetContext(Node* styleElement, markup::DocTree* document) override {
        context = styleElement;
        this->document = document;
        calls.push_back("context");
    }
    void CollectStyleElements() override { calls.push_back("collect"); }
    void AddStyleText(const String& text, std::uint8_t origin) override {
        calls.push_back("text " + Str(text) + " " + std::to_string(origin));
    }
    void ApplyCascade(Node*, markup::ExtraObject*) override { calls.push_back("cascade"); }

    markup::DocTree* document = nullptr;
    Node* context = nullptr;
    std::vector<std::string> calls;
};

// Counts live objects, so that tests see extra records destroyed.
class CountedExtra : public markup::ExtraObject {
  public:
    explicit CountedExtra(int& live) : live_(live) { ++live_; }
    ~CountedExtra() override { --live_; }

  private:
    int& live_;
};

// Trees in code: E(type, {children}), T(type, text), R(name).
inline AttrElement* E(std::uint32_t type, std::initializer_list<Node*> children = {}) {
    auto* node = new AttrElement;
    node->SetTypeId(type);
    for (Node* child : children) node->AppendChild(child);
    return node;
}

inline AttrElement* Named(std::uint32_t type, const char* text, std::initializer_list<Node*> children = {}) {
    AttrElement* node = E(type, children);
    node->SetText(nullptr, text);
    return node;
}

inline RunElement* T(std::uint32_t type, const char* text) {
    auto* node = new RunElement;
    node->SetTypeId(type);
    node->SetText(nullptr, text);
    return node;
}

inline AttrElement* WithAttribute(AttrElement* node, std::uint32_t id, const char* value,
                                  std::uint32_t specified = 1) {
    auto attribute = std::make_unique<Attribute>(id);
    attribute->value = value;
    attribute->specified = specified;
    node->AddAttribute(std::move(attribute));
    return node;
}

// The text of a node made by the helpers; "-" for null.
inline std::string Label(const Node* node) {
    const auto* element = dynamic_cast<const DocElement*>(node);
    return element ? Str(element->Text()) : "-";
}

// The labels of a node's children, space-separated.
inline std::string Children(const Node* node) {
    std::string out;
    for (const Node* c = node->FirstChild(); c; c = c->NextSibling()) {
        if (!out.empty()) out += ' ';
        out += Label(c);
    }
    return out;
}

}  // namespace markup_test

namespace markup_test {

// Every link below `top` agrees with its partner: children name their
// parent, each next sibling points back, first children have no previous
// sibling. Answers the first disagreement, or "" when there is none.
inline std::string LinkFault(const Node* top) {
    const Node* node = top;
    while (node) {
        const Node* previous = nullptr;
        for (const Node* c = node->FirstChild(); c; c = c->NextSibling()) {
            if (c->Parent() != node) return "parent of " + Label(c);
            if (c->PreviousSibling() != previous) return "previous of " + Label(c);
            previous = c;
        }
        if (node->LastChild() != previous) return "last child of " + Label(node);
        node = node->NextInPreorder();
        if (node && !node->IsWithin(top)) break;
    }
    return "";
}

}  // namespace markup_test

namespace markup_test {

// Owns a subtree: a plain delete would free the top node alone.
struct SubtreeDeleter {
    void operator()(markup::Node* node) const {
        if (node) node->DeleteSubtree();
    }
};
template <class T>
using Owned = std::unique_ptr<T, SubtreeDeleter>;

}  // namespace markup_test
