// ElementContentValidator: what the tree builder asks of the dictionary's
// content models while it places the nodes of an HTML document.
//
// Whether an element may stand where the parse is, which elements must be
// implied first (or whether the open element must close), whether a closed
// element's content is complete and what it lacks, and whether an element's
// attributes are acceptable. Each question is answered from the element
// definitions, a live model replayed over the children already placed, and
// the inclusions and exclusions of the open elements (from the tree, or from
// the builder's TreeBuildState).
//
// Node kinds that are not content (comments and declarations, whitespace
// before markup, stray end tags, invalid elements, wrappers) are accepted
// anywhere and never offered to a model; every kind of character data is
// offered as text. In an open dictionary every content check accepts; in a
// case-sensitive one the completed-content check finds nothing and values
// are not checked.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "markup/attr_element.h"
#include "markup/node.h"
#include "markup/parser/dictionary.h"
#include "markup/parser/tree_build_state.h"

namespace markup {

// Element ids the checks give a meaning.
constexpr std::uint32_t kRootElementId = 68;           // the document's root element
constexpr std::uint32_t kDocumentLevelElementId = 183;  // also allowed beside it, under the document
constexpr std::uint32_t kNoBreakSpaceElementId = 85;    // text is never searched for below it
constexpr std::uint32_t kStandInElementId = 170;        // undefined in XML: its nearest defined ancestor decides
// Element ids from here up are never implied.
constexpr std::uint32_t kFirstNeverImpliedId = 160;

// What the tree builder passes for the implied-element search: elements
// that may be implied at most, and of them those whose start tag may not be
// omitted (on the first attempt, and after closing elements).
constexpr std::int32_t kImpliedLevels = 3;
constexpr std::uint32_t kFirstAttemptBudget = 2;
constexpr std::uint32_t kRetryBudget = 1;
// The action that asks the builder to close the open element first.
constexpr std::int32_t kCloseOpenElement = -1;

// CheckCompleted's answer: bits, and the position when no child offends.
constexpr std::uint32_t kContentNeedsRepair = 1;
constexpr std::uint32_t kContentLacksElement = 2;
constexpr std::uint32_t kNoPosition = 0xFFFFFFFFu;

// Diagnostic codes of the attribute repair.
enum ContentDiagnostic : std::uint32_t {
    kDiagRequiredAttributeAdded = 9,
    kDiagUndeclaredAttribute = 19,
    kDiagRejectedAttributeValue = 20,
};

// One attribute's verdict.
enum AttributeStatus : std::uint8_t {
    kAttributeAccepted = 0,
    kAttributeUndeclared = 1,  // not declared for the element, or a value an earlier like sibling has
    kAttributeRejected = 2,    // refused by its value type
};

// Where the attribute repair reports; the tree builder records the reports
// as diagnostics of the token being placed.
class ContentReporter {
  public:
    virtual void ReportOnAttribute(std::uint32_t code, AttrElement& element, Attribute& attribute) = 0;

  protected:
    ~ContentReporter() = default;
};

class ElementContentValidator {
  public:
    // The depth at which the implied-element search tried each candidate
    // (ids below kFirstNeverImpliedId), so that no element is tried again
    // below itself.
    class Visits {
      public:
        Visits() { depth_.fill(kUntried); }
        bool TriedAbove(std::uint32_t id, std::uint32_t depth) const { return depth_[id] < depth; }
        void Mark(std::uint32_t id, std::uint32_t depth) {
            if (depth < depth_[id]) depth_[id] = depth;
        }

      private:
        static constexpr std::uint32_t kUntried = 0xFFFFFFFFu;
        std::array<std::uint32_t, kFirstNeverImpliedId> depth_;
    };

    ElementContentValidator() = delete;

    // Whether the element takes id as its next child: members of the group
    // allowed anywhere always, 68 and 183 under the document node, otherwise
    // the element's model after its present children, with the exceptions
    // of the element and its ancestors. False for an element without a
    // definition.
    static bool Accepts(const Dictionary& dictionary, std::uint32_t id, const Node* element);

    // Whether id may be placed in openElement, and what must happen first.
    // On entry action is the number of elements that may be implied and
    // budget how many of them may have start tags that are not omissible.
    // On exit action is 0 (place it), n > 0 (imply the n elements of ids
    // first, the outermost last) or kCloseOpenElement, and budget the number
    // of non-omissible elements among those implied. With a state the
    // exceptions come from its frames; accepting without a model clears its
    // active flag.
    static bool Check(const Dictionary& dictionary, IdList& ids, std::int32_t& action, std::uint32_t& budget,
                      std::uint32_t id, const Node* openElement, TreeBuildState* state);

    // The decision of Check below the document node: whether an element of
    // `type` takes id, directly or through implied elements, given the
    // exceptions gathered so far. element is the open element (its children
    // are replayed when type is its own type); depth counts the implied
    // levels above.
    static bool Match(const Dictionary& dictionary, IdList& ids, std::int32_t& action, std::uint32_t& budget,
                      std::uint32_t id, std::uint32_t type, const IdList& inclusions, const IdList& exclusions,
                      const Node* element, Visits& visited, std::uint32_t depth, const TreeBuildState* state);

    // Whether a closed element's children are complete. kContentNeedsRepair
    // with position = the index (among all children) of the first child that
    // has no place, or kNoPosition when the content only ends too early;
    // kContentLacksElement with missingType = an element the content
    // requires there. 0 when all is well, always in a case-sensitive or open
    // dictionary, and for an element without a definition.
    static std::uint32_t CheckCompleted(const Dictionary& dictionary, const Node& element, std::uint32_t& position,
                                        std::uint32_t& missingType);

    // One status per attribute of the element, in order, and the required
    // attributes (default kind 3) it lacks. True when every status is
    // accepted and nothing is missing.
    static bool CheckAttributes(const Dictionary& dictionary, std::vector<AttributeStatus>& statuses,
                                IdList& missing, const AttrElement& element);

    // Acts on CheckAttributes: a refused attribute is marked not specified
    // and reported (19 undeclared, 20 rejected value); each missing required
    // attribute is added with its type's default value and reported (9).
    // A caller that repairs element after element may lend the statuses'
    // vector, so that each element does not make its own.
    static void RepairAttributes(const Dictionary& dictionary, AttrElement& element,
                                 ContentReporter& reporter,
                                 std::vector<AttributeStatus>* statusesScratch = nullptr);

    // Adds the definition's inclusions (and, in a dictionary that is not case
    // sensitive, exclusions) to the state and pushes both frames; two empty
    // frames for an id without a definition; nothing for the root element.
    static void EnterElement(const Dictionary& dictionary, TreeBuildState& state, std::uint32_t id);
    // The same, then collects the lists from the state.
    static void EnterElement(const Dictionary& dictionary, TreeBuildState& state, std::uint32_t id,
                             IdList& inclusions, IdList& exclusions);

    // The exceptions in force inside element: with a state, its frames
    // (TreeBuildState::Collect); otherwise those of element and each of its
    // ancestors, the outermost first, the document node adding nothing.
    static void CollectExceptions(const Dictionary& dictionary, IdList& inclusions, IdList& exclusions,
                                  const Node* element, const TreeBuildState* state);
    // One definition's contribution: each id first taken out of both lists,
    // so the innermost declaration decides; exclusions only in a dictionary
    // that is not case sensitive.
    static void MergeExceptions(const Dictionary& dictionary, IdList& inclusions, IdList& exclusions,
                                const ElementDef& definition);
};

}  // namespace markup
