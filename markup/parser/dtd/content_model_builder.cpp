// The content-model builder's node tree and its conversion to symbols.
#include "content_model_builder.h"

#include <utility>

namespace markup::dtd {

namespace {

std::uint32_t IndicatorOccurrence(std::uint32_t code) {
    switch (code) {
        case kTokQuestion:
            return kOccurOptional;
        case kTokStar:
            return kOccurAny;
        default:
            return kOccurOneOrMore;
    }
}

// An indicator on a group whose content already has one: (x?)? is x?,
// (x+)+ is x+, and every other pair allows any count.
std::uint32_t Combine(std::uint32_t held, std::uint32_t added) {
    if (held == kOccurOnce) return added;
    return held == added ? held : kOccurAny;
}

}  // namespace

std::unique_ptr<ContentSymbol> ContentModelBuilder::Build(TokenList::const_iterator from,
                                                          TokenList::const_iterator end) {
    nodes_.clear();
    openGroups_.clear();
    current_ = NewNode(kNodeRoot);
    for (auto it = from; it != end && (*it)->Code() != kTokGT; ++it) {
        const std::uint32_t code = (*it)->Code();
        switch (code) {
            case kTokName: {
                const auto found = elementIds_.find((*it)->Text());
                if (found == elementIds_.end()) return nullptr;
                const int node = NewNode(kNodeElement);
                nodes_[node].elementId = found->second;
                if (!Attach(node)) return nullptr;
                break;
            }
            case kTokPCData:
                if (!Attach(NewNode(kNodeText))) return nullptr;
                break;
            case kTokLParen:
                if (!Attach(NewNode(kNodeOpenGroup))) return nullptr;
                openGroups_.push_back(current_);
                break;
            case kTokRParen:
                if (!CloseGroup()) return nullptr;
                break;
            case kTokQuestion:
            case kTokStar:
            case kTokPlus:
                ApplyIndicator(IndicatorOccurrence(code));
                break;
            case kTokBar:
            case kTokComma:
                if (!InsertConnective(code == kTokBar ? kConnectChoice : kConnectSequence)) return nullptr;
                break;
            default:
                sink_.Printf("ERROR! ERRORE! EROROROEE! %d\n", static_cast<int>(code));
                break;
        }
    }
    // Every walk of a model recurses once per connective and a .dic file
    // refuses deeper models. A chain nests one connective per separator.
    if (ConnectiveDepth() > kMaxContentDepth) {
        sink_.Printf("Content model nested more than %u deep\n", kMaxContentDepth);
        return nullptr;
    }
    return Convert(0);
}

int ContentModelBuilder::NewNode(std::uint32_t kind) {
    Node node;
    node.kind = kind;
    nodes_.push_back(node);
    return static_cast<int>(nodes_.size() - 1);
}

bool ContentModelBuilder::Attach(int node) {
    Node& at = nodes_[current_];
    if (at.left == kNone) {
        at.left = node;
    } else if (at.right == kNone) {
        at.right = node;
    } else {
        return false;
    }
    nodes_[node].parent = current_;
    current_ = node;
    return true;
}

bool ContentModelBuilder::InsertConnective(std::uint32_t connector) {
    const int item = current_;
    const int parent = nodes_[item].parent;
    if (parent == kNone) return false;
    const int connective = NewNode(kNodeConnective);
    nodes_[connective].connector = connector;
    nodes_[connective].parent = parent;
    nodes_[connective].left = item;
    Node& above = nodes_[parent];
    (above.right == item ? above.right : above.left) = connective;
    nodes_[item].parent = connective;
    current_ = connective;
    return true;
}

bool ContentModelBuilder::CloseGroup() {
    // The nearest open group above the current node is the one opened last.
    if (openGroups_.empty()) return false;
    const int group = openGroups_.back();
    openGroups_.pop_back();
    Node& closed = nodes_[group];
    closed.kind = kNodeClosedGroup;
    const int content = closed.left;
    if (content == kNone) {
        current_ = group;
        return true;
    }
    // A closed group holds its content and nothing more, so the content
    // takes its place: an indicator after ")" then reaches it however deep
    // the parentheses go, and a group inside a group leaves no trace.
    Node& above = nodes_[closed.parent];
    (above.left == group ? above.left : above.right) = content;
    nodes_[content].parent = closed.parent;
    current_ = content;
    return true;
}

void ContentModelBuilder::ApplyIndicator(std::uint32_t occurrence) {
    // An indicator follows a name or a ")", and both leave their item
    // current.
    Node& at = nodes_[current_];
    if (at.kind == kNodeText || at.kind == kNodeElement || at.kind == kNodeConnective) {
        at.occurrence = Combine(at.occurrence, occurrence);
    }
}

int ContentModelBuilder::Content(int node) const {
    int at = node;
    while (at != kNone && (nodes_[at].kind == kNodeOpenGroup || nodes_[at].kind == kNodeClosedGroup ||
                           nodes_[at].kind == kNodeRoot)) {
        at = nodes_[at].left;
    }
    return at;
}

std::uint32_t ContentModelBuilder::ConnectiveDepth() const {
    // Depth first without recursion: parentheses may nest as deep as the
    // grammar's stack allows.
    std::uint32_t deepest = 0;
    std::vector<std::pair<int, std::uint32_t>> pending{{0, 0}};
    while (!pending.empty()) {
        const auto [node, above] = pending.back();
        pending.pop_back();
        const Node& at = nodes_[node];
        const std::uint32_t depth = above + (at.kind == kNodeConnective ? 1 : 0);
        if (depth > deepest) deepest = depth;
        if (at.left != kNone) pending.emplace_back(at.left, depth);
        if (at.right != kNone) pending.emplace_back(at.right, depth);
    }
    return deepest;
}

std::unique_ptr<ContentSymbol> ContentModelBuilder::Convert(int node) {
    const int item = Content(node);
    if (item == kNone) return nullptr;
    const Node& at = nodes_[item];
    switch (at.kind) {
        case kNodeText: {
            auto symbol = std::make_unique<PCDataSymbol>();
            symbol->SetOccurrence(at.occurrence);
            symbol->SetFlag(1);
            return symbol;
        }
        case kNodeElement: {
            auto symbol = std::make_unique<ElementSymbol>();
            symbol->SetOccurrence(at.occurrence);
            symbol->SetElementId(at.elementId);
            return symbol;
        }
        case kNodeConnective: {
            auto symbol = std::make_unique<LogicalConnective>();
            symbol->SetOccurrence(at.occurrence);
            symbol->SetConnector(at.connector);
            for (int child : {at.left, at.right}) {
                if (child == kNone) continue;
                if (auto converted = Convert(child)) symbol->AdoptChild(std::move(converted));
            }
            return symbol;
        }
        default:
            sink_.Printf("PCT Error! %d", static_cast<int>(at.kind));
            return nullptr;
    }
}

}  // namespace markup::dtd
