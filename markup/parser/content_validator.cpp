// ElementContentValidator: placing a node (Accepts, Check and the
// implied-element search of Match) and the exceptions of open elements.
#include "markup/parser/content_validator.h"

#include "content_matcher.h"

namespace markup {

using detail::ContentMatcher;
using detail::ContentRole;
using detail::kDocumentNodeId;
using detail::kWrapperId;
using detail::NodeType;
using detail::RoleOf;

namespace {

void AcceptAsIs(IdList& ids, std::int32_t& action, std::uint32_t& budget) {
    ids.Clear();
    action = 0;
    budget = 0;
}

bool Refuse(IdList& ids, std::int32_t& action, std::uint32_t& budget) {
    AcceptAsIs(ids, action, budget);
    return false;
}

// Whether a node of the type counts as content (not merely as something
// allowed anywhere).
bool IsContent(const Dictionary& dictionary, std::uint32_t type, std::uint32_t& contentId) {
    return RoleOf(dictionary, type, contentId) == ContentRole::kContent;
}

// Whether the document node already holds content: its comments and
// declarations do not count, so a document type declaration does not keep
// the root element from being implied.
bool HoldsContent(const Dictionary& dictionary, const Node& document) {
    for (const Node* child = document.FirstChild(); child; child = child->NextSibling()) {
        std::uint32_t type = 0;
        std::uint32_t id = 0;
        if (NodeType(child, type) && RoleOf(dictionary, type, id) != ContentRole::kIgnored) return true;
    }
    return false;
}

bool NotOmissible(const ElementDef& definition) {
    return definition.Flag(0) == 0;
}

// Accepts for a content id, with the exceptions given.
bool AcceptsWith(const Dictionary& dictionary, std::uint32_t contentId, const Node* element,
                 const IdList& inclusions, const IdList& exclusions) {
    std::uint32_t type = 0;
    if (!NodeType(element, type)) return false;
    if (type == kDocumentNodeId) return contentId == kRootElementId || contentId == kDocumentLevelElementId;
    const ElementDef* definition = dictionary.FindElement(type);
    if (!definition) return false;
    ContentMatcher matcher(dictionary, *definition);
    matcher.Replay(*element, inclusions, exclusions);
    return matcher.Offer(contentId, inclusions, exclusions);
}

}  // namespace

bool ElementContentValidator::Accepts(const Dictionary& dictionary, std::uint32_t id, const Node* element) {
    if (dictionary.IsOpen()) return true;
    std::uint32_t contentId = 0;
    if (!IsContent(dictionary, id, contentId)) return true;
    IdList inclusions;
    IdList exclusions;
    CollectExceptions(dictionary, inclusions, exclusions, element, nullptr);
    return AcceptsWith(dictionary, contentId, element, inclusions, exclusions);
}

bool ElementContentValidator::Check(const Dictionary& dictionary, IdList& ids, std::int32_t& action,
                                    std::uint32_t& budget, std::uint32_t id, const Node* openElement,
                                    TreeBuildState* state) {
    std::uint32_t contentId = 0;
    if (dictionary.IsOpen() || !IsContent(dictionary, id, contentId)) {
        if (state) state->SetActive(false);
        AcceptAsIs(ids, action, budget);
        return true;
    }
    std::uint32_t type = 0;
    if (!NodeType(openElement, type)) return Refuse(ids, action, budget);

    if (type == kDocumentNodeId) {
        if (dictionary.CaseSensitive() || contentId == kRootElementId || contentId == kDocumentLevelElementId) {
            AcceptAsIs(ids, action, budget);
            return true;
        }
        const ElementDef* root = dictionary.FindElement(kRootElementId);
        if (action <= 0 || !root || HoldsContent(dictionary, *openElement)) return Refuse(ids, action, budget);
        // One level goes to the root element; the search goes on inside it,
        // one level down.
        IdList inclusions;
        IdList exclusions;
        MergeExceptions(dictionary, inclusions, exclusions, *root);
        Visits visited;
        visited.Mark(kRootElementId, 0);
        std::int32_t below = action - 1;
        std::uint32_t nonOmissible = budget;
        if (!Match(dictionary, ids, below, nonOmissible, contentId, kRootElementId, inclusions, exclusions,
                   openElement, visited, 1, state)) {
            return Refuse(ids, action, budget);
        }
        ids.Add(kRootElementId);
        action = below + 1;
        budget = nonOmissible + (NotOmissible(*root) ? 1 : 0);
        return true;
    }

    IdList inclusions;
    IdList exclusions;
    CollectExceptions(dictionary, inclusions, exclusions, openElement, state);
    Visits visited;
    return Match(dictionary, ids, action, budget, contentId, type, inclusions, exclusions, openElement, visited, 0,
                 state);
}

bool ElementContentValidator::Match(const Dictionary& dictionary, IdList& ids, std::int32_t& action,
                                    std::uint32_t& budget, std::uint32_t id, std::uint32_t type,
                                    const IdList& inclusions, const IdList& exclusions, const Node* element,
                                    Visits& visited, std::uint32_t depth, const TreeBuildState* state) {
    std::uint32_t elementType = 0;
    const bool typed = NodeType(element, elementType);
    const ElementDef* definition = dictionary.FindElement(type);
    if (!definition) {
        if (!dictionary.CaseSensitive() || type != kStandInElementId) return Refuse(ids, action, budget);
        // The nearest ancestor with a definition decides; none up to the
        // document node accepts.
        for (const Node* node = element; node; node = node->Parent()) {
            std::uint32_t nodeType = 0;
            if (!NodeType(node, nodeType) || nodeType == kDocumentNodeId) break;
            if (dictionary.FindElement(nodeType)) {
                return Match(dictionary, ids, action, budget, id, nodeType, inclusions, exclusions, node, visited,
                             depth, state);
            }
        }
        AcceptAsIs(ids, action, budget);
        return true;
    }

    // Only the open element itself has children; an implied one (even of
    // the same type) starts empty.
    ContentMatcher matcher(dictionary, *definition);
    if (depth == 0 && typed && elementType == type) matcher.Replay(*element, inclusions, exclusions);
    if (matcher.WouldTake(id, inclusions, exclusions)) {
        AcceptAsIs(ids, action, budget);
        return true;
    }

    // A wrapper closes when the element around it takes the node.
    if (depth == 0 && type == kWrapperId && typed && elementType == kWrapperId && !dictionary.CaseSensitive()) {
        IdList outerInclusions;
        IdList outerExclusions;
        const Node* parent = element->Parent();
        if (state) {
            state->Collect(outerInclusions, outerExclusions, 1);
        } else {
            CollectExceptions(dictionary, outerInclusions, outerExclusions, parent, nullptr);
        }
        if (AcceptsWith(dictionary, id, parent, outerInclusions, outerExclusions)) {
            AcceptAsIs(ids, action, budget);
            action = kCloseOpenElement;
            return true;
        }
    }

    if ((id == kTextElementId && type == kNoBreakSpaceElementId) || action <= 0) {
        return Refuse(ids, action, budget);
    }

    // The implied-element search: each candidate the model takes here is
    // tried as the open element one level down. The chain with the fewest
    // non-omissible elements wins, then the shortest; a single omissible
    // element cannot be bettered.
    bool found = false;
    IdList bestIds;
    std::uint32_t bestNonOmissible = 0;
    IdList tried;
    auto consider = [&](std::uint32_t candidate) {
        if (candidate >= kFirstNeverImpliedId || tried.Contains(candidate) || visited.TriedAbove(candidate, depth)) {
            return false;
        }
        tried.Add(candidate);
        const ElementDef* implied = dictionary.FindElement(candidate);
        if (!implied || implied->Flag(2) == 0) return false;
        const bool costs = NotOmissible(*implied);
        if (costs && budget == 0) return false;
        if (!matcher.WouldTake(candidate, inclusions, exclusions)) return false;
        visited.Mark(candidate, depth);

        IdList innerInclusions(inclusions);
        IdList innerExclusions(exclusions);
        MergeExceptions(dictionary, innerInclusions, innerExclusions, *implied);
        IdList innerIds;
        std::int32_t innerAction = action - 1;
        std::uint32_t innerBudget = budget - (costs ? 1 : 0);
        if (!Match(dictionary, innerIds, innerAction, innerBudget, id, candidate, innerInclusions, innerExclusions,
                   element, visited, depth + 1, state)) {
            return false;
        }
        const std::uint32_t nonOmissible = innerBudget + (costs ? 1 : 0);
        const std::uint32_t length = innerIds.Count() + 1;
        if (!found || nonOmissible < bestNonOmissible ||
            (nonOmissible == bestNonOmissible && length < bestIds.Count())) {
            found = true;
            innerIds.Add(candidate);
            bestIds = innerIds;
            bestNonOmissible = nonOmissible;
        }
        return length == 1 && !costs;
    };
    bool done = false;
    for (std::uint32_t candidate : definition->AllowedChildren()) {
        if ((done = consider(candidate))) break;
    }
    if (!done) {
        for (std::uint32_t candidate : inclusions) {
            if (consider(candidate)) break;
        }
    }
    if (!found) return Refuse(ids, action, budget);
    ids = bestIds;
    action = static_cast<std::int32_t>(bestIds.Count());
    budget = bestNonOmissible;
    return true;
}

void ElementContentValidator::EnterElement(const Dictionary& dictionary, TreeBuildState& state, std::uint32_t id) {
    if (id == kRootElementId) return;
    if (const ElementDef* definition = dictionary.FindElement(id)) {
        for (std::uint32_t included : definition->Inclusions()) state.AddInclusion(included);
        if (!dictionary.CaseSensitive()) {
            for (std::uint32_t excluded : definition->Exclusions()) state.AddExclusion(excluded);
        }
    }
    state.PushFrames();
}

void ElementContentValidator::EnterElement(const Dictionary& dictionary, TreeBuildState& state, std::uint32_t id,
                                           IdList& inclusions, IdList& exclusions) {
    EnterElement(dictionary, state, id);
    state.Collect(inclusions, exclusions);
}

void ElementContentValidator::MergeExceptions(const Dictionary& dictionary, IdList& inclusions, IdList& exclusions,
                                              const ElementDef& definition) {
    for (std::uint32_t id : definition.Inclusions()) {
        inclusions.Remove(id);
        exclusions.Remove(id);
        inclusions.Add(id);
    }
    if (dictionary.CaseSensitive()) return;
    for (std::uint32_t id : definition.Exclusions()) {
        inclusions.Remove(id);
        exclusions.Remove(id);
        exclusions.Add(id);
    }
}

void ElementContentValidator::CollectExceptions(const Dictionary& dictionary, IdList& inclusions,
                                                IdList& exclusions, const Node* element,
                                                const TreeBuildState* state) {
    if (state) {
        state->Collect(inclusions, exclusions);
        return;
    }
    inclusions.Clear();
    exclusions.Clear();
    std::vector<const ElementDef*> chain;
    for (const Node* node = element; node; node = node->Parent()) {
        std::uint32_t type = 0;
        if (!NodeType(node, type) || type == kDocumentNodeId) break;
        if (const ElementDef* definition = dictionary.FindElement(type)) chain.push_back(definition);
    }
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) MergeExceptions(dictionary, inclusions, exclusions, **it);
}

}  // namespace markup
