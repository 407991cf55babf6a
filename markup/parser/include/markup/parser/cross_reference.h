// CrossReference: definitions found by id and by name from one store.
//
// The definitions stand in name order (CompareNames) and a list of key/index
// pairs in ascending key order names, for each id, the position of its
// definition. Both orders come from the file; nothing is sorted after
// loading, and Insert keeps both orders when a definition is added later.
// T is ElementDef, HTMLAttributeDef or CSSAttributeDef: it has Id() and
// Name().
//
// Look-ups by id go through a hash of the ids, so that an open dictionary
// that learns tens of thousands of names keeps each look-up constant-time;
// the pairs' positions are brought up to date only when they are asked for,
// not at every insertion.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>
#include <unordered_map>
#include <vector>

#include "markup/faults.h"
#include "markup/parser/name_order.h"
#include "markup/string.h"

namespace markup {

struct IDIndexPair {
    std::uint32_t key = 0;    // the definition's id
    std::uint32_t index = 0;  // the position of its definition
};

template <class T>
class CrossReference {
  public:
    CrossReference() = default;
    virtual ~CrossReference() = default;
    CrossReference(const CrossReference&) = delete;
    CrossReference& operator=(const CrossReference&) = delete;

    // The index of the pair that holds the key.
    bool FindIndex(std::uint32_t key, std::uint32_t& index) const {
        std::uint32_t at = 0;
        if (!FindPair(key, at)) return false;
        SettleIndexes();
        index = pairs_[at].index;
        return true;
    }

    // The definition of that id; null when no pair holds it, or when the
    // pair's index (read from a file) names no definition.
    T* FindById(std::uint32_t key) const {
        if (idsStale_) IndexIds();
        const auto found = byId_.find(key);
        return found == byId_.end() ? nullptr : found->second;
    }

    // The position of the first definition of exactly that name.
    bool FindPosition(const String& name, std::uint32_t& position) const {
        const std::uint32_t at = LowerBound(name);
        if (at >= definitions_.size() || !(definitions_[at]->Name() == name)) return false;
        position = at;
        return true;
    }

    // The first definition of that name; null when none.
    T* FindByName(const String& name) const {
        std::uint32_t position = 0;
        return FindPosition(name, position) ? definitions_[position].get() : nullptr;
    }

    bool IdByName(const String& name, std::uint32_t& id) const {
        const T* definition = FindByName(name);
        if (!definition) return false;
        id = definition->Id();
        return true;
    }

    // The number of entries; pairs and definitions always have as many.
    std::uint32_t EntryCount() const { return static_cast<std::uint32_t>(definitions_.size()); }
    // In name order; null past the count.
    T* At(std::uint32_t position) const {
        return position < definitions_.size() ? definitions_[position].get() : nullptr;
    }
    // In key order; null past the count.
    const IDIndexPair* PairAt(std::uint32_t position) const {
        SettleIndexes();
        return position < pairs_.size() ? &pairs_[position] : nullptr;
    }
    // The key of the pair at that position in key order; position must be
    // below the count. Does not bring the positions up to date.
    std::uint32_t KeyAt(std::uint32_t position) const { return pairs_[position].key; }

    // Adds an entry as a file holds it: the pair and the definition go to
    // the ends of their lists. The reader's way; the file keeps the orders.
    void Append(IDIndexPair pair, std::unique_ptr<T> definition) {
        Grow();
        SettleIndexes();
        pairs_.push_back(pair);
        definitions_.push_back(std::move(definition));
        // A file's pair may name a definition that comes later: the hash is
        // made when the first look-up comes.
        idsStale_ = true;
    }

    // Adds a definition in its places: after the definitions of names not
    // greater than its own, and its pair among the keys. Every pair that
    // named a definition at or after that position follows it. Answers the
    // definition's position.
    std::uint32_t Insert(std::unique_ptr<T> definition) {
        Grow();
        std::uint32_t position = UpperBound(definition->Name());
        const IDIndexPair pair{definition->Id(), position};
        if (idsStale_) IndexIds();
        try {
            // The new pair stands first among pairs of its key.
            byId_[pair.key] = definition.get();
        } catch (const std::bad_alloc&) {
            throw MemoryAllocationFault();
        }
        // The positions after it are one further now; they are put right
        // when next asked for.
        indexesStale_ = true;
        pairs_.insert(pairs_.begin() + KeyLowerBound(pair.key), pair);
        definitions_.insert(definitions_.begin() + position, std::move(definition));
        return position;
    }

    void Clear() {
        pairs_.clear();
        definitions_.clear();
        byId_.clear();
        indexesStale_ = false;
        idsStale_ = false;
    }

  private:
    // Each id to the definition its pair names, as a file's pairs do: a pair
    // whose index names no definition finds nothing. The first pair of a
    // key wins, as the binary search found it.
    void IndexIds() const {
        idsStale_ = false;
        try {
            byId_.clear();
            byId_.reserve(pairs_.size());
            for (const IDIndexPair& pair : pairs_) {
                if (pair.index < definitions_.size()) byId_.emplace(pair.key, definitions_[pair.index].get());
            }
        } catch (const std::bad_alloc&) {
            throw MemoryAllocationFault();
        }
    }

    // Each pair's index names its definition's position again.
    void SettleIndexes() const {
        if (!indexesStale_) return;
        indexesStale_ = false;
        for (std::uint32_t position = 0; position < definitions_.size(); ++position) {
            std::uint32_t at = 0;
            if (FindPair(definitions_[position]->Id(), at)) pairs_[at].index = position;
        }
    }

    // Room for one more entry, so that adding it cannot fail half-way. The
    // room doubles: reserving one more each time would copy every entry at
    // every addition.
    void Grow() {
        try {
            Reserve(pairs_);
            Reserve(definitions_);
        } catch (const std::bad_alloc&) {
            throw MemoryAllocationFault();
        }
    }

    template <class Vector>
    static void Reserve(Vector& entries) {
        if (entries.size() == entries.capacity()) entries.reserve(entries.size() * 2 + 8);
    }

    bool FindPair(std::uint32_t key, std::uint32_t& at) const {
        const std::uint32_t found = KeyLowerBound(key);
        if (found >= pairs_.size() || pairs_[found].key != key) return false;
        at = found;
        return true;
    }

    std::uint32_t KeyLowerBound(std::uint32_t key) const {
        const auto at =
            std::lower_bound(pairs_.begin(), pairs_.end(), key,
                             [](const IDIndexPair& pair, std::uint32_t k) { return pair.key < k; });
        return static_cast<std::uint32_t>(at - pairs_.begin());
    }

    // The first definition whose name is not less than the name: the
    // earliest of equal names.
    std::uint32_t LowerBound(const String& name) const {
        return NameBound([&](const String& held) { return CompareNames(held, name) < 0; });
    }

    // The first definition whose name is greater than the name.
    std::uint32_t UpperBound(const String& name) const {
        return NameBound([&](const String& held) { return CompareNames(held, name) <= 0; });
    }

    template <class Before>
    std::uint32_t NameBound(Before before) const {
        const auto at = std::partition_point(definitions_.begin(), definitions_.end(),
                                             [&](const std::unique_ptr<T>& d) { return before(d->Name()); });
        return static_cast<std::uint32_t>(at - definitions_.begin());
    }

    mutable std::vector<IDIndexPair> pairs_;
    std::vector<std::unique_ptr<T>> definitions_;
    mutable std::unordered_map<std::uint32_t, T*> byId_;
    mutable bool indexesStale_ = false;
    mutable bool idsStale_ = false;
};

}  // namespace markup
