// NodeFinder and its node tests: the first node of a walk that passes a test.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "markup/containers.h"
#include "markup/node.h"
#include "markup/node_iterators.h"
#include "markup/string.h"

namespace markup {

// Accepts every node.
class NodeEvaluator {
  public:
    virtual ~NodeEvaluator();
    virtual bool Evaluate(const Node* node) const;
};

// A DocElement whose stored type id is one of a list; no node for an empty
// list.
class DocElementEvaluator : public NodeEvaluator {
  public:
    DocElementEvaluator() = default;
    DocElementEvaluator(std::initializer_list<std::uint32_t> typeIds);
    void AddType(std::uint32_t typeId) { typeIds_.Add(typeId); }
    bool Evaluate(const Node* node) const override;

  private:
    Vector<std::uint32_t> typeIds_;
};

// An AttrElement of a type (0: any) that has an attribute with a value (id
// 0: none required), equal to a text without regard to case when the text
// is not empty.
class AttrElementEvaluator : public NodeEvaluator {
  public:
    AttrElementEvaluator(std::uint32_t typeId, std::uint32_t attributeId, const String& value)
        : typeId_(typeId), attributeId_(attributeId), value_(value) {}
    bool Evaluate(const Node* node) const override;

  private:
    std::uint32_t typeId_;
    std::uint32_t attributeId_;
    String value_;
};

// Steps an iterator until its node passes the evaluator; owns neither.
class NodeFinder {
  public:
    NodeFinder(NodeIterator& iterator, const NodeEvaluator& evaluator)
        : iterator_(iterator), evaluator_(evaluator) {}
    virtual ~NodeFinder();
    NodeFinder(const NodeFinder&) = delete;
    NodeFinder& operator=(const NodeFinder&) = delete;

    // The first passing node from the iterator's start; null when none.
    virtual Node* First();
    // The next passing node after the last one answered; null at the end.
    virtual Node* Next();

  private:
    NodeIterator& iterator_;
    const NodeEvaluator& evaluator_;
};

}  // namespace markup
