// DocTree: construction and destruction, node creation, panes, and the
// end-of-parse fix-up of the body's trailing placeholder.
#include "markup/doc_tree.h"

#include <vector>

#include "markup/faults.h"
#include "markup/node_finder.h"
#include "markup/node_iterators.h"
#include "markup/pane_doc.h"

namespace markup {

namespace {

constexpr std::uint32_t kBody = 25;

// One fix-up at a time, for every tree: the fix-up creates nodes through
// the factory, which may come back here.
bool evaluating = false;

class BusyMark {
  public:
    BusyMark() { evaluating = true; }
    ~BusyMark() { evaluating = false; }
    BusyMark(const BusyMark&) = delete;
    BusyMark& operator=(const BusyMark&) = delete;
};

std::uint32_t StoredType(const Node* node) {
    const auto* element = DocElement::Of(node);
    return element ? element->TypeId() : 0;
}

// Nothing in it but, at most, one childless text node holding a lone
// no-break space.
bool IsEmptyPlaceholder(const Node& placeholder) {
    bool anyElement = false;
    for (const Node* c = placeholder.FirstChild(); c; c = c->NextSibling()) {
        if (DocElement::Of(c)) anyElement = true;
    }
    if (!anyElement) return true;
    const auto* only = DocElement::Of(placeholder.FirstChild());
    return only && !only->NextSibling() && !only->FirstChild() && only->TypeId() == kKindText &&
           IsLoneNoBreakSpace(only->Text());
}

// The first node of the top level of the group the node is linked into.
Node* FirstOfTopLevel(Node* node) {
    if (!node) return nullptr;
    while (node->Parent()) node = node->Parent();
    while (node->PreviousSibling()) node = node->PreviousSibling();
    return node;
}

}  // namespace

WebElementFactory::~WebElementFactory() = default;

ScriptManager::~ScriptManager() = default;

DocTree::DocTree(WebElementFactory* nodeFactory, CSSBaseManager* cssManager)
    : Containable(kContainableKey),
      styleManager_(cssManager),
      scriptManager_(std::make_unique<ScriptManager>()),
      nodeFactory_(nodeFactory) {
    if (styleManager_) styleManager_->SetDocument(this);
}

DocTree::~DocTree() {
    extraObject_.reset();
    ownedStyleManager_.reset();
    scriptManager_.reset();
    panes_.RemoveAll();
    FreeOutsideNodes();
    if (heldPlaceholder_) heldPlaceholder_->DeleteSubtree();
}

void DocTree::KeepOutside(Node* node) {
    if (node) outside_.insert(node);
}

void DocTree::FreeOutsideNodes() {
    // Every kept node belongs to one group of linked nodes, named by the
    // first node of its top level. The tree's own group (and the held
    // placeholder's) is freed elsewhere; every other group once.
    const Node* mainTop = FirstOfTopLevel(Root());
    const Node* heldTop = FirstOfTopLevel(heldPlaceholder_);
    std::vector<Node*> tops;
    std::unordered_set<const Node*> seen;
    for (Node* node : outside_) {
        Node* top = FirstOfTopLevel(node);
        if (top == mainTop || top == heldTop) continue;
        if (seen.insert(top).second) tops.push_back(top);
    }
    outside_.clear();
    for (Node* top : tops) {
        while (top) {
            Node* next = top->NextSibling();
            top->Unlink();
            top->DeleteSubtree();
            top = next;
        }
    }
}

void DocTree::AdoptStyleManager(std::unique_ptr<CSSBaseManager> manager) {
    ownedStyleManager_ = std::move(manager);
    styleManager_ = ownedStyleManager_.get();
    if (styleManager_) styleManager_->SetDocument(this);
}

DocElement* DocTree::CreateNode(std::uint32_t typeId, const String& name, int keepFlags) {
    if (!nodeFactory_) throw IllegalUsageFault();
    return nodeFactory_->Create(dictionary_, typeId, &name, keepFlags);
}

void DocTree::AddPane(BasePaneDoc* pane) {
    std::uint32_t index = 0;
    if (pane && !panes_.IndexOf(pane, index)) panes_.Add(pane);
}

void DocTree::Evaluate(bool restore) {
    if (evaluating) return;
    BusyMark busy;
    if (!Root()) return;

    NodeIterator walk(*this);
    const DocElementEvaluator isBody{kBody};
    NodeFinder finder(walk, isBody);
    Node* body = finder.First();
    if (!body) return;

    Node* last = body->LastChild();
    if (!last) {
        if (restore) AddPlaceholder(body, nullptr);
        return;
    }
    const bool endsInPlaceholder = StoredType(last) == kKindPlaceholder;
    if (endsInPlaceholder && !restore) {
        // One placeholder is kept at a time; a second stays in the tree.
        if (!heldPlaceholder_ && IsEmptyPlaceholder(*last)) HoldPlaceholder(last);
    } else if (!endsInPlaceholder && restore) {
        AddPlaceholder(body, last);
    }
}

void DocTree::HoldPlaceholder(Node* placeholder) {
    CollectPath(placeholder, heldPath_);
    // With the cursor at the root the anchor cannot leave with the node.
    Node* cursor = Current();
    GoRoot();
    placeholder->Unlink();
    heldPlaceholder_ = placeholder;
    SetCurrent(cursor);
}

void DocTree::AddPlaceholder(Node* body, Node* last) {
    Node* cursor = Current();
    if (heldPlaceholder_) {
        Node* placeholder = heldPlaceholder_;
        heldPlaceholder_ = nullptr;
        try {
            InsertAtPath(placeholder, heldPath_);
        } catch (const InvalidArgumentFault&) {
            // The tree changed so that the old place is gone: the node goes
            // where a new placeholder would.
            if (last) {
                last->InsertAfter(placeholder);
            } else {
                body->AppendChild(placeholder);
            }
        }
        while (heldPath_.Count()) heldPath_.DeleteLast();
    } else {
        DocElement* placeholder = CreateNode(kKindPlaceholder, String(), 1);
        if (!placeholder) return;
        if (last) {
            last->InsertAfter(placeholder);
        } else {
            body->AppendChild(placeholder);
        }
        if (StoredType(last ? last : body) == kBody) {
            if (DocElement* space = CreateNode(kKindEntityReference, String("&nbsp;"), 1)) {
                placeholder->AppendChild(space);
            }
        }
    }
    SetCurrent(cursor);
}

}  // namespace markup
