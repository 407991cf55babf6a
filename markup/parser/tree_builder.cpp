// TreeBuilder: placing nodes, closing elements, HTML recovery and the walk
// over the finished document.
//
// The builder keeps its own cursor (the node placed or closed last) and links
// nodes with the node operations: the tree's own cursor checks its place by
// climbing to the root, which over a deeply nested document would cost the
// depth at every node. The tree's cursor is set when the document is closed.
#include "markup/parser/tree_builder.h"

#include <algorithm>
#include <string_view>

#include "markup/attr_element.h"
#include "markup/faults.h"
#include "platform/latin1_text.h"

namespace markup {

namespace {

// More formatting elements than this are not carried: each cell would
// reopen every one of them.
constexpr std::size_t kMaxCarried = 32;
// Repairs nest at the same depth when they merge siblings; this bounds the
// stack whatever the content models ask.
constexpr std::uint32_t kMaxRepairCalls = 64;

DocElement* AsDocElement(Node* node) {
    return DocElement::Of(node);
}

class CallCount {
  public:
    explicit CallCount(std::uint32_t& count) : count_(count) { ++count_; }
    ~CallCount() { --count_; }
    CallCount(const CallCount&) = delete;
    CallCount& operator=(const CallCount&) = delete;

  private:
    std::uint32_t& count_;
};

// A node the builder holds until it is linked; one never linked goes.
class PendingNode {
  public:
    explicit PendingNode(DocElement* node) : node_(node) {}
    ~PendingNode() {
        if (node_ && node_->IsFree()) node_->DeleteSubtree();
    }
    PendingNode(const PendingNode&) = delete;
    PendingNode& operator=(const PendingNode&) = delete;
    void Linked() { node_ = nullptr; }

  private:
    DocElement* node_;
};

// The children of `from`, in order, after the last child of `to`; the last
// child is found once, not for every child moved.
void MoveChildrenToEnd(Node& from, Node& to) {
    Node* last = to.LastChild();
    while (Node* child = from.FirstChild()) {
        child->Unlink();
        if (last) {
            last->InsertAfter(child);
        } else {
            to.AppendChild(child);
        }
        last = child;
    }
}

}  // namespace

void TreeBuilder::Reporter::ReportOnAttribute(std::uint32_t code, AttrElement&, Attribute& attribute) {
    builder_.ParseErrorHandler::ReportOnAttribute(builder_.GetDictionary(), code, builder_.currentToken_,
                                                  &attribute);
}

TreeBuilder::TreeBuilder() : reporter_(*this) {}

TreeBuilder::~TreeBuilder() = default;

void TreeBuilder::Begin(DocTree* tree, std::uint32_t xmlMode) {
    tree_ = tree;
    // A dictionary of an earlier document may have left its address to
    // one of another kind.
    dictionaryCast_ = DictionaryCast();
    xmlMode_ = xmlMode;
    state_ = TreeBuildState();
    state_.SetUnique(xmlMode != 0);
    reserved_ = 0;
    lastClosed_ = 1;
    openElement_ = nullptr;
    currentToken_ = nullptr;
    cursor_ = tree ? tree->Current() : nullptr;
    carried_.clear();
    impliedMarked_ = false;
    repairCalls_ = 0;
    repairAborted_ = false;
    postHandler_.Reset();
    postHandler_.SetReporter(this);
}

void TreeBuilder::EnterXmlMode() {
    xmlMode_ = 1;
    state_.SetUnique(true);
}

Dictionary* TreeBuilder::GetDictionary() const {
    return tree_ ? dictionaryCast_(tree_->Dictionary()) : nullptr;
}

void TreeBuilder::Diagnose(std::uint32_t code, DocElement* element) {
    ReportOnElement(GetDictionary(), code, currentToken_, element);
}

DocElement* TreeBuilder::MakeNode(std::uint32_t typeId, const String& name) {
    if (!tree_) throw InvalidArgumentFault();
    DocElement* node = tree_->CreateNode(typeId, name, 0);
    if (!node) throw MemoryAllocationFault();
    return node;
}

void TreeBuilder::PopFrames() {
    if (xmlMode_) return;
    state_.SetActive(true);
    state_.PopFrames();
}

void TreeBuilder::InsertElement(Token* token) {
    if (!token || !token->node) throw InvalidArgumentFault();
    currentToken_ = token;
    DocElement* node = token->TakeNode();
    PendingNode pending(node);
    const std::uint32_t id = node->TypeId();
    Dictionary* dictionary = GetDictionary();
    if (xmlMode_ && id == kKindWhitespace && HoldsElementsOnly(openElement_)) {
        currentToken_ = nullptr;
        return;  // the pending node goes
    }
    // Character data runs on across the references expanded in it: a run
    // the tokenizer ended at a reference joins the run before it, so that a
    // million references make one text, not a million nodes.
    if (xmlMode_ && id == kKindText && lastClosed_ && cursor_ && openElement_ && cursor_->Parent() == openElement_) {
        if (DocElement* previous = AsDocElement(cursor_); previous && previous->TypeId() == kKindText) {
            previous->AppendText(node->Text());
            currentToken_ = nullptr;
            return;
        }
    }

    if (openElement_ && !xmlMode_ && dictionary) {
        IdList ids;
        std::int32_t action = kImpliedLevels;
        std::uint32_t budget = kFirstAttemptBudget;
        state_.SetActive(true);
        bool accepted = ElementContentValidator::Check(*dictionary, ids, action, budget, id, openElement_, &state_);
        if (!accepted) {
            if (DocElement* ancestor = FindAcceptingAncestor(id)) {
                while (openElement_ && openElement_ != ancestor) {
                    Diagnose(kDiag_ClosedImplicitly, openElement_);
                    PopElement();
                }
            }
            ids.Clear();
            action = kImpliedLevels;
            budget = kRetryBudget;
            state_.SetActive(true);
            accepted = ElementContentValidator::Check(*dictionary, ids, action, budget, id, openElement_, &state_);
            if (!accepted) {
                Diagnose(kDiag_NoPlace, node);
                node->SetTypeId(kKindInvalidElement);
                state_.SetActive(false);
            }
        }
        if (accepted && action == kCloseOpenElement) {
            PopElement();
        } else if (accepted && action > 0) {
            InsertImplied(ids, token);
        }
    }

    AddNode(node);
    pending.Linked();
    if (!xmlMode_ && dictionary && dictionary->GroupContains(node->TypeId(), kCarriedGroup) &&
        carried_.size() < kMaxCarried) {
        carried_.push_back(node);
    }
    CheckAttributes(node, token);
    currentToken_ = nullptr;
}

void TreeBuilder::SetElementOnlyNames(const std::vector<std::string>* names) {
    elementOnlyNames_ = names;
    elementOnlyById_.clear();
}

bool TreeBuilder::HoldsElementsOnly(const DocElement* element) {
    if (!elementOnlyNames_ || !element) return false;
    const Dictionary* dictionary = GetDictionary();
    if (!dictionary) return false;
    if (dictionary != elementOnlyDictionary_) {
        elementOnlyById_.clear();
        elementOnlyDictionary_ = dictionary;
    }
    const std::uint32_t id = element->TypeId();
    // Learned ids stay within 16 bits; past them nothing is remembered.
    if (id > 0xFFFF) return false;
    if (id >= elementOnlyById_.size()) elementOnlyById_.resize(id + 1, 0);
    if (elementOnlyById_[id] == 0) {
        String name;
        bool only = false;
        if (dictionary->ElementNameById(id, name)) {
            const std::string_view written(name.Text(), name.Length());
            for (const std::string& candidate : *elementOnlyNames_) only = only || candidate == written;
        }
        elementOnlyById_[id] = only ? 1 : 2;
    }
    return elementOnlyById_[id] == 1;
}

DocElement* TreeBuilder::FindAcceptingAncestor(std::uint32_t id) const {
    const Dictionary* dictionary = GetDictionary();
    if (!dictionary) return nullptr;
    for (Node* node = openElement_; node; node = node->Parent()) {
        DocElement* element = AsDocElement(node);
        if (!element) return nullptr;
        if (ElementContentValidator::Accepts(*dictionary, id, element)) return element;
        if (dictionary->GroupContains(element->TypeId(), kAncestorSearchBoundary)) {
            const ElementDef* definition = dictionary->FindElement(element->TypeId());
            if (!definition || definition->Flag(1) == 0) return nullptr;
        }
    }
    return nullptr;
}

void TreeBuilder::InsertImplied(const IdList& ids, Token* token) {
    const Dictionary* dictionary = GetDictionary();
    currentToken_ = token;
    for (std::uint32_t i = ids.Count(); i-- > 0;) {
        const std::uint32_t id = ids[i];
        DocElement* element = MakeNode(id, String());
        PendingNode pending(element);
        AddNode(element);
        pending.Linked();
        const ElementDef* definition = dictionary ? dictionary->FindElement(id) : nullptr;
        if (id == kQuietImpliedElementId) {
            element->SetFlags(DocElement::kFlagQuiet);
        } else if (definition && definition->Flag(0) != 0) {
            Diagnose(kDiag_OmissibleImplied, element);
        } else {
            element->SetFlags(kFlagImplied);
            impliedMarked_ = true;
            Diagnose(kDiag_StartImplied, element);
        }
    }
}

void TreeBuilder::AddNode(DocElement* node) {
    if (!tree_ || !node || !node->IsFree()) throw InvalidArgumentFault();
    if (!cursor_) {
        tree_->InsertSibling(node, true);  // an empty tree: the node becomes its root
    } else if (lastClosed_ == 0) {
        openElement_ = AsDocElement(cursor_);
        cursor_->AppendChild(node);
    } else {
        cursor_->InsertAfter(node);
    }
    cursor_ = node;

    const std::uint32_t type = node->TypeId();
    bool closed = false;
    if (type == kKindInvalidElement || type == kKindStrayEndTag) {
        closed = true;
    } else if (type == kKindDocument) {
        closed = false;
    } else if (!xmlMode_) {
        const Dictionary* dictionary = GetDictionary();
        const ElementDef* definition = dictionary ? dictionary->FindElement(type) : nullptr;
        closed = !definition || definition->AllowedChildren().Count() == 0;
    } else {
        closed = node->DeclaredEmpty() || type == kKindText || type == kKindWhitespace;
    }

    if (!closed) {
        lastClosed_ = 0;
        openElement_ = node;
        Opened(node);
        return;
    }
    lastClosed_ = 1;
    // An implied element holds the one node it was implied for.
    if (openElement_ && openElement_->HasFlag(kFlagImplied) && node->Parent() == openElement_) {
        cursor_ = openElement_;
        openElement_ = AsDocElement(openElement_->Parent());
        PopFrames();
    }
}

void TreeBuilder::Opened(DocElement* node) {
    if (xmlMode_) return;
    const Dictionary* dictionary = GetDictionary();
    if (!dictionary) return;
    // Every open element holds one frame pair, the root element too (which
    // enters none of its own), so that closing pops its own.
    const std::uint32_t before = state_.InclusionFrameCount();
    ElementContentValidator::EnterElement(*dictionary, state_, node->TypeId());
    if (state_.InclusionFrameCount() == before) state_.PushFrames();
    if (dictionary->GroupContains(node->TypeId(), kReceivesCarriedGroup)) ReopenCarried();
}

void TreeBuilder::ReopenCarried() {
    const Dictionary* dictionary = GetDictionary();
    // The list is copied: a clone is never carried itself, but it is made
    // while the list is walked.
    const std::vector<DocElement*> carried = carried_;
    for (DocElement* element : carried) {
        auto* clone = DocElement::Of(element->Clone());
        if (!clone) throw MemoryAllocationFault();
        cursor_->AppendChild(clone);
        cursor_ = clone;
        lastClosed_ = 0;
        openElement_ = clone;
        if (dictionary && !xmlMode_) {
            const std::uint32_t before = state_.InclusionFrameCount();
            ElementContentValidator::EnterElement(*dictionary, state_, clone->TypeId());
            if (state_.InclusionFrameCount() == before) state_.PushFrames();
        }
    }
}

void TreeBuilder::PopElement() {
    if (!tree_ || !cursor_) throw InvalidArgumentFault();
    DocElement* element = openElement_;
    if (!element) return;
    cursor_ = element;
    RepairContent();
    if (element->TypeId() == kNoBreakSpaceElementId && !element->FirstChild()) {
        DocElement* placeholder = MakeNode(kKindPlaceholder, String());
        element->AppendChild(placeholder);
        DocElement* space = MakeNode(kKindEntityReference, String("&nbsp;"));
        placeholder->InsertAfter(space);
    }
    cursor_ = element;
    openElement_ = AsDocElement(element->Parent());
    lastClosed_ = 1;
    PopFrames();
}

bool TreeBuilder::MatchesEndTag(const DocElement& element, std::uint32_t id, const Token& token) const {
    if (id != 0) return element.TypeId() == id;
    if (token.text == "/") return true;
    String name;
    try {
        name = element.GetName(GetDictionary());
    } catch (const InvalidArgumentFault&) {
        name = element.Text();
    }
    if (name.IsEmpty()) return false;
    // HTML names match whatever their case; XML names as written.
    if (xmlMode_) return platform::lstrcmpA(name.Text(), token.name.Text()) == 0;
    return platform::lstrcmpiA(name.Text(), token.name.Text()) == 0;
}

void TreeBuilder::ForgetCarried(const DocElement* element) {
    carried_.erase(std::remove_if(carried_.begin(), carried_.end(),
                                  [element](const DocElement* c) { return c->IsWithin(element); }),
                   carried_.end());
}

void TreeBuilder::EndTag(Token* token) {
    if (!tree_ || !openElement_ || !token) throw InvalidArgumentFault();
    currentToken_ = token;
    const std::uint32_t id = token->typeId;

    DocElement* match = nullptr;
    for (Node* node = openElement_; node; node = node->Parent()) {
        DocElement* element = AsDocElement(node);
        if (!element) break;
        if (element->HasFlag(kFlagImplied) || element->TypeId() == kKindDocument) continue;
        if (MatchesEndTag(*element, id, *token)) {
            match = element;
            break;
        }
    }

    if (match) {
        // The end tag of a formatting element ends its carrying: the last
        // one carried of its type is dropped.
        for (auto it = carried_.rbegin(); it != carried_.rend(); ++it) {
            if ((*it)->TypeId() == match->TypeId()) {
                carried_.erase(std::next(it).base());
                break;
            }
        }
        for (;;) {
            DocElement* open = openElement_;
            if (!open) break;
            if (open != match && !open->HasFlag(kFlagImplied)) Diagnose(kDiag_ClosedImplicitly, open);
            PopElement();
            if (open == match) break;
        }
    } else {
        Report(kDiag_StrayEndTag, token);
        if (id == 0) {
            // The stray end tag stays in the tree as written ("/name").
            String text;
            if (*token->text.CharPtrAt(0) != '/') text = "/";
            text += token->text;
            DocElement* stray = MakeNode(kKindStrayEndTag, text);
            PendingNode pending(stray);
            AddNode(stray);
            pending.Linked();
        }
    }
    if (DocElement* node = token->TakeNode()) {
        if (node->IsFree()) node->DeleteSubtree();
    }
    currentToken_ = nullptr;
}

void TreeBuilder::CheckAttributes(DocElement* element, Token* token) {
    AttrElement* attributes = AsAttrElement(element);
    const Dictionary* dictionary = GetDictionary();
    if (!attributes || !dictionary) return;
    currentToken_ = token;
    ElementContentValidator::RepairAttributes(*dictionary, *attributes, reporter_, &attributeStatuses_);
}

bool TreeBuilder::RepairContent() {
    DocElement* element = AsDocElement(cursor_);
    if (!element) return true;
    const bool completed = RepairAt(element, 0);
    cursor_ = element;
    repairAborted_ = false;
    return completed;
}

bool TreeBuilder::RepairAt(DocElement* element, std::uint32_t depth) {
    if (depth >= kMaxRepairDepth || repairCalls_ >= kMaxRepairCalls) {
        repairAborted_ = true;
        return false;
    }
    const Dictionary* dictionary = GetDictionary();
    if (!dictionary) return true;
    CallCount calls(repairCalls_);
    std::uint32_t position = kNoPosition;
    std::uint32_t missing = 0;
    std::uint32_t answer = ElementContentValidator::CheckCompleted(*dictionary, *element, position, missing);
    if (answer == 0) return true;

    bool completed = true;
    // Each step places, moves, merges or retypes one child; a model that
    // keeps asking after that many steps is not repaired further.
    std::uint32_t steps = 2 * element->ChildCount() + 8;
    while (answer != 0 && steps-- > 0) {
        Node* offending = position != kNoPosition && position < element->ChildCount() ? element->ChildAt(position)
                                                                                       : nullptr;
        DocElement* x = AsDocElement(offending);
        if (answer & kContentLacksElement) {
            DocElement* placed = nullptr;
            if (x) {
                if (DocElement* later = x->FindNextSiblingOfType(missing)) {
                    later->Unlink();
                    x->InsertBefore(later);
                } else {
                    placed = MakeNode(missing, String());
                    x->InsertBefore(placed);
                }
            } else {
                placed = MakeNode(missing, String());
                element->AppendChild(placed);
            }
            if (placed && !RepairAt(placed, depth + 1)) {
                ForgetCarried(placed);
                placed->Unlink();
                placed->DeleteSubtree();
                completed = false;
                break;
            }
        } else if (answer & kContentNeedsRepair) {
            if (!x) break;
            if (DocElement* previous = x->FindPreviousSiblingOfType(x->TypeId())) {
                // X joins the earlier element of its type.
                MoveChildrenToEnd(*x, *previous);
                ForgetCarried(x);
                x->Unlink();
                x->DeleteSubtree();
                if (!RepairAt(previous, depth)) {
                    completed = false;
                    break;
                }
            } else {
                x->SetTypeId(kKindInvalidElement);
                if (!element->Parent()) break;
            }
        } else {
            break;
        }
        answer = ElementContentValidator::CheckCompleted(*dictionary, *element, position, missing);
    }
    if (currentToken_) Diagnose(kDiag_ContentRepaired, element);
    return completed;
}

void TreeBuilder::CloseAll() {
    while (openElement_) PopElement();
    RepairContent();
    if (!tree_) return;
    Node* root = tree_->GoRoot();
    cursor_ = root;
    // Only implied elements carry the mark: a document that implied none
    // (every XML document) is not walked for it.
    if (!impliedMarked_) return;
    for (Node* node = root; node; node = node->NextInPreorder()) {
        if (DocElement* element = AsDocElement(node)) element->ClearFlags(kFlagImplied);
    }
    // Nodes beside the root belong to the document too.
    for (Node* top = root ? root->NextSibling() : nullptr; top; top = top->NextSibling()) {
        for (Node* node = top; node && node->IsWithin(top); node = node->NextInPreorder()) {
            if (DocElement* element = AsDocElement(node)) element->ClearFlags(kFlagImplied);
        }
    }
}

bool TreeBuilder::AttachRoot() {
    if (!tree_) return false;
    Node* root = tree_->GoRoot();
    // Every later element of type 25 gives its children to the first; they
    // are found in the same walk (in document order) as the handler's.
    DocElement* first = nullptr;
    std::vector<DocElement*> later;
    // Depth first, without recursion: a document may nest very deep.
    for (Node* node = root; node;) {
        postHandler_.Enter(node, tree_);
        if (DocElement* element = AsDocElement(node); element && element->TypeId() == kMergedElementId) {
            if (!first) {
                first = element;
            } else {
                later.push_back(element);
            }
        }
        if (node->FirstChild()) {
            node = node->FirstChild();
            continue;
        }
        while (node) {
            postHandler_.Leave(node, tree_);
            if (node->NextSibling()) {
                node = node->NextSibling();
                break;
            }
            node = node->Parent();
        }
    }
    for (DocElement* element : later) {
        MoveChildrenToEnd(*element, *first);
        element->Unlink();
        element->DeleteSubtree();
    }
    carried_.clear();
    cursor_ = root;
    tree_->GoRoot();
    return first != nullptr;
}

}  // namespace markup
