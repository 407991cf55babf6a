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

StyleProperties* WDOMVisualDoc_WerImp::GetStyle(const WDOMHandle& node) {
    auto* element = dynamic_cast<WDOMElement_WepImp*>(node.Get());
    // Only elements inside this document's tree: a record cached on a node
    // the mapper's destructor does not reach would outlive the mapper.
    if (!element || !mapper_ || element->GetTree() != mapper_->Tree() || !mapper_->Tree()->Root() ||
        !mapper_->Tree()->Contains(element->GetNode())) {
        return nullptr;
    }
    StyleProperties* style = nullptr;
    mapper_->GetStyle(element->GetNode(), style);
    return style;
}

}  // namespace markup::style
