// StyleMapImp: the record cache, the order of the style computation, and
// the visual document's mapper factory.
#include "markup/style/style_map.h"

#include <new>
#include <vector>

#include "markup/style/css_manager.h"
#include "style_map_detail.h"
#include "subtree_walk.h"

namespace markup::style {

namespace {

// Nodes that share their parent's record.
bool IsTextLike(std::uint32_t kind) {
    return kind == kKindPlaceholder || kind == kKindText || kind == kKindSignificantText ||
           kind == kKindCData || kind == kKindEntityReference;
}

StyleProperties* CachedStyle(const DocElement* element) {
    return element ? dynamic_cast<StyleProperties*>(element->Extra()) : nullptr;
}

}  // namespace

StyleMap::~StyleMap() = default;

StyleMapImp::StyleMapImp(DocTree* tree, BasePaneDoc* pane, VisualContainer* container)
    : tree_(tree), pane_(pane), container_(container) {
    memoryContext_ = GetGraphics().GetDeviceContext();
}

StyleMapImp::~StyleMapImp() {
    // Every top-level node: the records must not outlive the mapper they
    // measure through.
    if (!tree_) return;
    for (Node* top = tree_->Root(); top; top = top->NextSibling()) ClearCache(top);
}

VisualSettings* StyleMapImp::GetSettings() const {
    VisualSettings* settings = container_ ? container_->Settings() : nullptr;
    return settings ? settings : const_cast<VisualSettings*>(&defaultSettings_);
}

std::uint32_t StyleMapImp::GetDocumentKind() const {
    return container_ ? container_->DocumentKind() : 0;
}

std::uint32_t StyleMapImp::StyleMode() const {
    return GetSettings()->StyleMode();
}

std::uint32_t StyleMapImp::RootKind() const {
    switch (GetDocumentKind()) {
        case 0:
        case 2:
        case 3:
        case 7: return 25;
        default: return kKindDocument;
    }
}

Graphics& StyleMapImp::GetGraphics() {
    return Graphics::Instance();
}

DeviceContext& StyleMapImp::MeasuringContext() {
    return deviceContext_ ? *deviceContext_ : memoryContext_;
}

void StyleMapImp::SetDeviceContext(DeviceContext* dc) {
    deviceContext_ = dc;
    pointsFactor_ = 1.0;
}

namespace {

// The element whose record a node answers: the node itself, or for
// text-like nodes the nearest ancestor that is not one; null for nodes that
// get none. A loop, not recursion, whatever the nesting.
DocElement* StyledElement(Node* node, std::uint32_t documentKind) {
    while (node) {
        auto* element = dynamic_cast<DocElement*>(node);
        if (!element) return nullptr;
        const std::uint32_t kind = element->TypeId();
        if (IsTextLike(kind)) {
            node = node->Parent();
            continue;
        }
        if (kind == kKindWhitespace || kind == kKindMarkupDeclaration) {
            const auto* parent = dynamic_cast<const DocElement*>(node->Parent());
            const bool shares = (parent && parent->TypeId() == 112) || documentKind == 4 || documentKind == 5;
            if (!shares) return nullptr;
            node = node->Parent();
            continue;
        }
        return element;
    }
    return nullptr;
}

}  // namespace

bool StyleMapImp::GetStyle(Node* node, StyleProperties*& out) {
    out = nullptr;
    if (!node) return false;
    DocElement* element = StyledElement(node, GetDocumentKind());
    if (!element) return true;
    if (StyleProperties* cached = CachedStyle(element)) {
        out = cached;
        return true;
    }
    // The node and its ancestors still without a record, computed from the
    // top down: each then finds its parent's record cached, so a deep tree
    // asks for no deep recursion.
    std::vector<DocElement*> pending;
    for (DocElement* at = element; at && !CachedStyle(at); at = StyledElement(at->Parent(), GetDocumentKind())) {
        // Another engine's object on the node: it is left alone, and the
        // node gets no record.
        if (at->Extra()) break;
        pending.push_back(at);
    }
    for (auto it = pending.rbegin(); it != pending.rend(); ++it) {
        DocElement* at = *it;
        if (CachedStyle(at)) continue;
        std::unique_ptr<StyleProperties> record;
        try {
            record = std::make_unique<StyleProperties>(this);
            record->SetPaneDocument(pane_);
            record->SetAttachedObject(nullptr);
            ComputeStyle(at, *record);
        } catch (const std::bad_alloc&) {
            return true;
        }
        at->SetExtra(std::move(record));
    }
    out = CachedStyle(element);
    return true;
}

void StyleMapImp::ClearCache(Node* node) {
    for (Node* at = node; at; at = detail::NextInSubtree(at, node)) {
        auto* element = dynamic_cast<DocElement*>(at);
        if (CachedStyle(element)) element->SetExtra(nullptr);
    }
}

void StyleMapImp::ReleaseStyle(Node* node) {
    auto* element = dynamic_cast<DocElement*>(node);
    if (CachedStyle(element)) element->SetExtra(nullptr);
}

std::unique_ptr<StyleProperties> StyleMapImp::ComputeStyleUnder(Node* node, const StyleProperties* parent) {
    DocElement* element = StyledElement(node, GetDocumentKind());
    if (!element) return nullptr;
    try {
        auto record = std::make_unique<StyleProperties>(this);
        record->SetPaneDocument(pane_);
        record->SetAttachedObject(nullptr);
        ComputeStyleWith(element, *record, parent, true);
        return record;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void StyleMapImp::ComputeStyle(DocElement* node, StyleProperties& style) {
    ComputeStyleWith(node, style, nullptr, false);
}

void StyleMapImp::ComputeStyleWith(DocElement* node, StyleProperties& style, const StyleProperties* given,
                                   bool parentGiven) {
    if (!node) return;
    const CSSManager* manager = tree_ ? dynamic_cast<const CSSManager*>(tree_->StyleManager()) : nullptr;
    VisualSettings* settings = GetSettings();
    detail::StyleContext c{*this,
                           *node,
                           AsAttrElement(node),
                           style,
                           GetGraphics(),
                           node->TypeId(),
                           settings->StyleMode(),
                           settings->ObjectPlaceholders(),
                           manager ? &manager->Dictionary() : nullptr};

    // Inheritance. A node whose parent has no record (the document node,
    // a node outside any tree) inherits nothing.
    if (c.kind != RootKind()) {
        const StyleProperties* parent = given;
        if (!parentGiven) {
            StyleProperties* cached = nullptr;
            GetStyle(node->Parent(), cached);
            parent = cached;
        }
        if (parent) style.InheritFrom(*parent);
        if (c.kind != 85) style.SetImage(58, nullptr);
    }

    detail::ApplyPresentation(c);

    if (c.mode != 1 && c.mode != 2 && settings->StyleSheetsAllowed() && tree_ && tree_->StyleManager()) {
        tree_->StyleManager()->ApplyCascade(node, &style);
    }
    style.ForgetParent();

    style.SetControlKind(detail::ControlKindOf(c));
    if (c.kind == 85) detail::NumberListItem(c);
}

std::unique_ptr<StyleMapImp> CreateStyleMap(DocTree* tree, BasePaneDoc* pane, VisualContainer* container) {
    try {
        return std::make_unique<StyleMapImp>(tree, pane, container);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

}  // namespace markup::style
