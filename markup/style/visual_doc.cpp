// WDOMVisualDoc_WerImp: the pane document, settings, container and style
// mapper over a parsed DOM document, and style requests by DOM handle.
#include "markup/style/visual_doc.h"

#include <new>

#include "markup/parser/dom/dom_document.h"
#include "markup/parser/dom/dom_element.h"
#include "markup/style/style_map.h"
#include "markup/url.h"

namespace markup::style {

VisualSettings::~VisualSettings() = default;
VisualContainer::~VisualContainer() = default;
IDOMVisualDoc::~IDOMVisualDoc() = default;

WDOMVisualDoc_WerImp::WDOMVisualDoc_WerImp(const WDOMHandle& document, const String& url) {
    auto* dom = dynamic_cast<WDOMDocument_WepImp*>(document.Get());
    if (!dom || !dom->GetTree()) return;
    URLSpec spec;
    spec.Parse(url);
    DocTree* tree = dom->GetTree();
    pane_ = std::make_unique<BasePaneDoc>();
    pane_->SetTree(tree);
    pane_->SetURL(&spec);
    settings_ = std::make_unique<VisualSettings>();
    container_ = std::make_unique<VisualContainer>(settings_.get());
    mapper_ = CreateStyleMap(tree, pane_.get(), container_.get());
}

WDOMVisualDoc_WerImp::~WDOMVisualDoc_WerImp() {
    mapper_.reset();
    pane_.reset();
    // The container holds the settings: it goes first, then them.
    container_.reset();
    settings_.reset();
}

namespace {

// The tree node of a DOM element of the mapper's tree; null for anything
// else. Only nodes inside the tree: a record cached on a node the mapper's
// destructor does not reach would outlive the mapper.
Node* NodeInTree(const WDOMHandle& node, const StyleMapImp* mapper) {
    auto* element = dynamic_cast<WDOMElement_WepImp*>(node.Get());
    if (!element || !mapper || element->GetTree() != mapper->Tree() || !mapper->Tree()->Root() ||
        !mapper->Tree()->Contains(element->GetNode())) {
        return nullptr;
    }
    return element->GetNode();
}

}  // namespace

StyleProperties* WDOMVisualDoc_WerImp::GetStyle(const WDOMHandle& node) {
    Node* at = NodeInTree(node, mapper_.get());
    if (!at) return nullptr;
    StyleProperties* style = nullptr;
    mapper_->GetStyle(at, style);
    return style;
}

std::unique_ptr<StyleProperties> WDOMVisualDoc_WerImp::ComputeStyleUnder(const WDOMHandle& node,
                                                                         const StyleProperties* parent) {
    Node* at = NodeInTree(node, mapper_.get());
    return at ? mapper_->ComputeStyleUnder(at, parent) : nullptr;
}

void WDOMVisualDoc_WerImp::ReleaseStyle(const WDOMHandle& node) {
    // No walk up to the root here: a node of the tree that holds a record
    // got it from this mapper, wherever it stands now.
    auto* element = dynamic_cast<WDOMElement_WepImp*>(node.Get());
    if (element && mapper_ && element->GetTree() == mapper_->Tree()) mapper_->ReleaseStyle(element->GetNode());
}

}  // namespace markup::style
