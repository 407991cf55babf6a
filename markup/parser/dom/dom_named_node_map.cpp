// The attribute map: nodes by name, in the order they were entered.
#include <string>

#include "markup/parser/dom/dom_element.h"

namespace markup {

namespace {

std::string Key(const IDOMString& name) {
    return std::string(name.View());
}

}  // namespace

WDOMNode* WDOMNamedNodeMap_WepImp::getNamedItem(const IDOMString& name) const {
    const auto hit = byName_.find(Key(name));
    return hit == byName_.end() ? nullptr : hit->second;
}

bool WDOMNamedNodeMap_WepImp::AddNew(WDOMNode* node) {
    if (!node) return false;
    WDOMHandle held(node);
    const auto [where, added] = byName_.emplace(Key(node->nodeName()), node);
    if (!added) {
        held.HandOut();
        return false;
    }
    try {
        nodes_.push_back(std::move(held));
    } catch (...) {
        byName_.erase(where);
        throw;
    }
    return true;
}

WDOMNode* WDOMNamedNodeMap_WepImp::setNamedItem(WDOMNode* node) {
    if (!node) return nullptr;
    WDOMHandle held(node);  // keeps the node should it be the one that leaves
    WDOMNode* removed = removeNamedItem(node->nodeName());
    AddNew(node);
    return removed;
}

WDOMNode* WDOMNamedNodeMap_WepImp::removeNamedItem(const IDOMString& name) {
    const auto hit = byName_.find(Key(name));
    if (hit == byName_.end()) return nullptr;
    WDOMNode* node = hit->second;
    byName_.erase(hit);
    for (auto it = nodes_.begin(); it != nodes_.end(); ++it) {
        if (it->Get() == node) {
            it->HandOut();
            nodes_.erase(it);
            break;
        }
    }
    return node;
}

}  // namespace markup
