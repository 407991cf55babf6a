// The live content model: the state of one element's content while its
// children are matched against the element's content-model symbols.
//
// Each node stands for one symbol and counts how often the symbol has
// occurred. A leaf matches one child id (an element, text, a group member,
// or anything under ANY); a branch, made for a connective, keeps the nodes
// of the children started so far, in order: a choice one per occurrence, a
// sequence and an all-group n per occurrence (n = the connective's child
// count), where a child left out stays as a node that never occurred.
//
// Every operation leaves the state as it was when it refuses (Accept false,
// NextElement 0), so a caller may go on offering after a refusal, and Undo
// takes back exactly one occurrence: the last one taken.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "markup/parser/content_symbol.h"

namespace markup {

class Dictionary;

class ElementContent {
  public:
    // The node factory: a branch for a connective, a leaf for any other
    // symbol, with no occurrence taken. index is the symbol's place among
    // its parent's children (0 for a model's root); the symbol must outlive
    // the node.
    static std::unique_ptr<ElementContent> Create(const ContentSymbol& symbol, std::uint32_t index = 0);

    ElementContent(const ContentSymbol& symbol, std::uint32_t index) : symbol_(&symbol), index_(index) {}
    virtual ~ElementContent() = default;
    ElementContent(const ElementContent&) = delete;
    ElementContent& operator=(const ElementContent&) = delete;

    // Children started so far (0 for a leaf).
    virtual std::uint32_t ActiveChildCount() const { return 0; }
    // This node and every started node below it.
    virtual std::uint32_t NodeCount() const { return 1; }
    // Whether the content may end here.
    virtual bool CanEnd() const;
    // Takes the child id as the next child, or refuses it.
    virtual bool Accept(std::uint32_t childId, const Dictionary& dictionary);
    // Takes an occurrence of the next element the model can take and answers
    // its id (text as kTextElementId, a group as its first member); 0 when
    // there is none. With untilEnd set, 0 as soon as the content may end, so
    // the answer is an element the content still requires.
    virtual std::uint32_t NextElement(bool untilEnd, const Dictionary& dictionary);
    // Takes back the last occurrence; false when none was taken.
    virtual bool Undo();
    // Takes the other node's symbol, place and counts, and deep copies of its
    // started children.
    virtual void CopyState(const ElementContent& other);
    // A deep copy of the same class.
    std::unique_ptr<ElementContent> Clone() const;

    const ContentSymbol& Symbol() const { return *symbol_; }
    std::uint32_t Index() const { return index_; }
    // Occurrences taken.
    std::uint32_t Count() const { return count_; }

  protected:
    const ContentSymbol* symbol_;
    std::uint32_t index_;
    std::uint32_t count_ = 0;
};

class ElementBranch final : public ElementContent {
  public:
    ElementBranch(const LogicalConnective& symbol, std::uint32_t index) : ElementContent(symbol, index) {}

    std::uint32_t ActiveChildCount() const override { return static_cast<std::uint32_t>(children_.size()); }
    std::uint32_t NodeCount() const override;
    bool CanEnd() const override;
    bool Accept(std::uint32_t childId, const Dictionary& dictionary) override;
    std::uint32_t NextElement(bool untilEnd, const Dictionary& dictionary) override;
    bool Undo() override;
    void CopyState(const ElementContent& other) override;

    // A started child; null past the count.
    const ElementContent* StartedChild(std::uint32_t index) const {
        return index < children_.size() ? children_[index].get() : nullptr;
    }

  private:
    const LogicalConnective& Connective() const { return static_cast<const LogicalConnective&>(*symbol_); }
    // The walk Accept and NextElement share: `attempt` offers a node the
    // child (or asks it for an element) and answers 0 for a refusal.
    template <class Attempt>
    std::uint32_t Walk(Attempt&& attempt);
    template <class Attempt>
    std::uint32_t WalkChoice(Attempt& attempt);
    template <class Attempt>
    std::uint32_t WalkSequence(Attempt& attempt);
    template <class Attempt>
    std::uint32_t WalkAll(Attempt& attempt);
    // The children of the cycle an all-group has not finished: from this
    // index to the end (the size when none is open).
    std::uint32_t OpenCycleStart() const;
    bool CycleUses(std::uint32_t from, std::uint32_t position) const;
    void Append(std::unique_ptr<ElementContent> node);
    void RecountOccurrences();

    std::vector<std::unique_ptr<ElementContent>> children_;
};

// What the content validator learns by probing a model with a child id,
// without changing the model.
struct ContentProbe {
    // kProbeAccepted, or kProbeRefused plus the bits below.
    std::uint32_t code = 0;
    // With kProbeImplied: the element that, taken first, lets the child in.
    std::uint32_t impliedId = 0;
};

constexpr std::uint32_t kProbeAccepted = 0;
constexpr std::uint32_t kProbeRefused = 1;
// The child is taken after one more element (impliedId).
constexpr std::uint32_t kProbeImplied = 2;
// The child is taken in place of the last occurrence.
constexpr std::uint32_t kProbeReplaces = 4;

ContentProbe ProbeContent(const ElementContent& model, std::uint32_t childId, const Dictionary& dictionary);

}  // namespace markup
