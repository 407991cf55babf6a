// The live content model of a connective: choice, sequence and all-group.
#include <new>

#include "markup/faults.h"
#include "markup/parser/dictionary.h"
#include "markup/parser/element_content.h"

namespace markup {

std::uint32_t ElementBranch::NodeCount() const {
    std::uint32_t count = 1;
    for (const auto& child : children_) count += child->NodeCount();
    return count;
}

void ElementBranch::CopyState(const ElementContent& other) {
    if (&other == this) return;
    ElementContent::CopyState(other);
    children_.clear();
    if (const auto* branch = dynamic_cast<const ElementBranch*>(&other)) {
        for (const auto& child : branch->children_) Append(child->Clone());
    }
}

void ElementBranch::Append(std::unique_ptr<ElementContent> node) {
    try {
        children_.push_back(std::move(node));
    } catch (const std::bad_alloc&) {
        throw MemoryAllocationFault();
    }
}

std::uint32_t ElementBranch::OpenCycleStart() const {
    const std::uint32_t n = Connective().ChildCount();
    const auto started = static_cast<std::uint32_t>(children_.size());
    return n == 0 ? started : started / n * n;
}

bool ElementBranch::CycleUses(std::uint32_t from, std::uint32_t position) const {
    for (std::size_t i = from; i < children_.size(); ++i) {
        if (children_[i]->Index() == position) return true;
    }
    return false;
}

void ElementBranch::RecountOccurrences() {
    const auto started = static_cast<std::uint32_t>(children_.size());
    const std::uint32_t n = Connective().ChildCount();
    if (Connective().ConnectorCode() == kConnectChoice) {
        count_ = started;
    } else {
        count_ = n == 0 ? 0 : (started + n - 1) / n;
    }
}

template <class Attempt>
std::uint32_t ElementBranch::Walk(Attempt&& attempt) {
    if (!children_.empty()) {
        if (const std::uint32_t answer = attempt(*children_.back())) return answer;
        if (!children_.back()->CanEnd()) return 0;
    }
    // Whatever the walk appends before it refuses is taken out again, so a
    // refusal leaves the state as it was.
    const std::size_t started = children_.size();
    const std::uint32_t count = count_;
    std::uint32_t answer = 0;
    switch (Connective().ConnectorCode()) {
        case kConnectChoice:
            answer = WalkChoice(attempt);
            break;
        case kConnectSequence:
            answer = WalkSequence(attempt);
            break;
        case kConnectAll:
            answer = WalkAll(attempt);
            break;
        default:
            break;
    }
    if (answer == 0) {
        children_.resize(started);
        count_ = count;
    }
    return answer;
}

template <class Attempt>
std::uint32_t ElementBranch::WalkChoice(Attempt& attempt) {
    if (!OccurrenceAllows(symbol_->OccurrenceCode(), count_ + 1)) return 0;
    const LogicalConnective& connective = Connective();
    for (std::uint32_t i = 0; i < connective.ChildCount(); ++i) {
        std::unique_ptr<ElementContent> node = Create(*connective.ChildAt(i), i);
        if (const std::uint32_t answer = attempt(*node)) {
            Append(std::move(node));
            ++count_;
            return answer;
        }
    }
    return 0;
}

template <class Attempt>
std::uint32_t ElementBranch::WalkSequence(Attempt& attempt) {
    const LogicalConnective& connective = Connective();
    const std::uint32_t n = connective.ChildCount();
    // Nothing started yet counts as standing past the last child: the first
    // child opens the first occurrence.
    std::uint32_t position = children_.empty() ? n : children_.back()->Index() + 1;
    for (std::uint32_t tried = 0; tried < n; ++tried) {
        if (position >= n) {
            if (!OccurrenceAllows(symbol_->OccurrenceCode(), count_ + 1)) return 0;
            ++count_;
            position = 0;
        }
        std::unique_ptr<ElementContent> node = Create(*connective.ChildAt(position), position);
        if (const std::uint32_t answer = attempt(*node)) {
            Append(std::move(node));
            return answer;
        }
        if (!node->Symbol().IsOptional()) return 0;
        Append(std::move(node));  // left out
        ++position;
    }
    return 0;
}

template <class Attempt>
std::uint32_t ElementBranch::WalkAll(Attempt& attempt) {
    const LogicalConnective& connective = Connective();
    const std::uint32_t n = connective.ChildCount();
    if (n == 0) return 0;
    const std::uint32_t cycle = OpenCycleStart();
    const bool open = cycle < children_.size();
    const bool another = OccurrenceAllows(symbol_->OccurrenceCode(), count_ + 1);
    if (!open && !another) return 0;

    // The children the open cycle still lacks, in order.
    std::vector<std::unique_ptr<ElementContent>> refused;
    for (std::uint32_t position = 0; position < n; ++position) {
        if (CycleUses(cycle, position)) continue;
        std::unique_ptr<ElementContent> node = Create(*connective.ChildAt(position), position);
        if (const std::uint32_t answer = attempt(*node)) {
            if (!open) ++count_;
            Append(std::move(node));
            return answer;
        }
        refused.push_back(std::move(node));
    }
    if (!open || !another) return 0;
    for (const auto& node : refused) {
        if (!node->Symbol().IsOptional()) return 0;
    }

    // Close the open cycle with what it lacks left out, and open the next
    // with one of the children it used.
    const auto end = static_cast<std::uint32_t>(children_.size());
    for (std::uint32_t i = cycle; i < end; ++i) {
        std::unique_ptr<ElementContent> node = Create(children_[i]->Symbol(), children_[i]->Index());
        if (const std::uint32_t answer = attempt(*node)) {
            for (auto& left : refused) Append(std::move(left));
            ++count_;
            Append(std::move(node));
            return answer;
        }
    }
    return 0;
}

bool ElementBranch::Accept(std::uint32_t childId, const Dictionary& dictionary) {
    return Walk([&](ElementContent& node) -> std::uint32_t { return node.Accept(childId, dictionary) ? 1 : 0; }) != 0;
}

std::uint32_t ElementBranch::NextElement(bool untilEnd, const Dictionary& dictionary) {
    if (untilEnd && CanEnd()) return 0;
    return Walk([&](ElementContent& node) { return node.NextElement(untilEnd, dictionary); });
}

bool ElementBranch::CanEnd() const {
    if (count_ == 0 || children_.empty()) return symbol_->IsOptional();
    const ElementContent& last = *children_.back();
    if (!last.CanEnd()) return false;
    const LogicalConnective& connective = Connective();
    const std::uint32_t n = connective.ChildCount();
    switch (connective.ConnectorCode()) {
        case kConnectChoice:
            return true;
        case kConnectSequence:
            for (std::uint32_t i = last.Index() + 1; i < n; ++i) {
                if (!connective.ChildAt(i)->IsOptional()) return false;
            }
            return true;
        case kConnectAll: {
            const std::uint32_t cycle = OpenCycleStart();
            if (cycle == children_.size()) return true;
            for (std::uint32_t position = 0; position < n; ++position) {
                if (!CycleUses(cycle, position) && !connective.ChildAt(position)->IsOptional()) return false;
            }
            return true;
        }
        default:
            return false;
    }
}

// A child with nothing left to take back is dropped, and so are the
// left-out children before the one that took it back; the occurrences are
// then counted again from the children that remain.
bool ElementBranch::Undo() {
    bool undone = false;
    while (!children_.empty()) {
        if (children_.back()->Undo()) {
            undone = true;
            break;
        }
        children_.pop_back();
    }
    while (!children_.empty() && children_.back()->Count() == 0) children_.pop_back();
    RecountOccurrences();
    return undone;
}

}  // namespace markup
