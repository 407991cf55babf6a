// Node tests and the finder that walks until one passes.
#include "markup/node_finder.h"

#include "markup/attr_element.h"
#include "markup/doc_element.h"
#include "platform/latin1_text.h"

namespace markup {

NodeEvaluator::~NodeEvaluator() = default;

bool NodeEvaluator::Evaluate(const Node*) const {
    return true;
}

DocElementEvaluator::DocElementEvaluator(std::initializer_list<std::uint32_t> typeIds) {
    for (std::uint32_t id : typeIds) typeIds_.Add(id);
}

bool DocElementEvaluator::Evaluate(const Node* node) const {
    const auto* element = DocElement::Of(node);
    if (!element) return false;
    for (std::uint32_t i = 0; i < typeIds_.Count(); ++i) {
        const std::uint32_t* id = typeIds_.At(i);
        if (id && *id == element->TypeId()) return true;
    }
    return false;
}

bool AttrElementEvaluator::Evaluate(const Node* node) const {
    const AttrElement* element = AsAttrElement(node);
    if (!element) return false;
    if (typeId_ && element->TypeId() != typeId_) return false;
    if (!attributeId_) return true;
    const Attribute* attribute = element->FindAttribute(attributeId_, true);
    if (!attribute) return false;
    return value_.IsEmpty() || platform::lstrcmpiA(attribute->value.Text(), value_.Text()) == 0;
}

NodeFinder::~NodeFinder() = default;

Node* NodeFinder::First() {
    Node* node = iterator_.First();
    if (!node) return nullptr;
    return evaluator_.Evaluate(node) ? node : Next();
}

Node* NodeFinder::Next() {
    // Stepping from an ended walk would raise in the checking iterators.
    while (!iterator_.AtEnd()) {
        Node* node = iterator_.Next();
        if (!node) return nullptr;
        if (evaluator_.Evaluate(node)) return node;
    }
    return nullptr;
}

}  // namespace markup
