// CrossReference: definitions found by id and by name from one store.
//
// The definitions stand in name order (CompareNames) and a list of key/index
// pairs in ascending key order names, for each id, the position of its
// definition. Both orders come from the file; nothing is sorted after
// loading. T is ElementDef, HTMLAttributeDef or CSSAttributeDef: it has Id()
// and Name().
//
// An open dictionary learns tens of thousands of names during one parse, so
// learning one must not move the others. Look-ups by id and by name go
// through hashes kept up to date at each insertion; a definition added later
// waits at the end of its own list and joins the name order, with every
// pair's position, only when positions are asked for (At, PairAt, writing
// the file). The orders then are those that inserting each definition after
// the names not greater than its own would have made.
#pragma once

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <memory>
#include <new>
#include <string_view>
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

    // Whether a pair holds the key, whatever its index names.
    bool HoldsKey(std::uint32_t key) const {
        std::uint32_t at = 0;
        return FindPair(key, at);
    }

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
        SettleOrder();
        const std::uint32_t at = LowerBound(name);
        if (at >= definitions_.size() || !(definitions_[at]->Name() == name)) return false;
        position = at;
        return true;
    }

    // The first definition of that name in name order; null when none.
    T* FindByName(const String& name) const {
        if (namesStale_) IndexNames();
        const auto found = byName_.find(View(name));
        return found == byName_.end() ? nullptr : found->second.first;
    }

    // The definition of the same name that follows this one in name order;
    // null after the last. Names may be defined once per element.
    T* NextNamesake(const T& definition) const {
        if (namesStale_) IndexNames();
        const auto found = nextNamesake_.find(&definition);
        return found == nextNamesake_.end() ? nullptr : found->second;
    }

    bool IdByName(const String& name, std::uint32_t& id) const {
        const T* definition = FindByName(name);
        if (!definition) return false;
        id = definition->Id();
        return true;
    }

    // The number of entries; pairs and definitions always have as many.
    std::uint32_t EntryCount() const {
        return static_cast<std::uint32_t>(definitions_.size() + waiting_.size());
    }
    // In name order; null past the count.
    T* At(std::uint32_t position) const {
        SettleOrder();
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
        SettleIndexes();
        Grow(definitions_);
        Grow(pairs_);
        pairs_.push_back(pair);
        definitions_.push_back(std::move(definition));
        // A file's pair may name a definition that comes later: the hashes
        // are made when the first look-up comes.
        idsStale_ = true;
        namesStale_ = true;
    }

    // Adds a definition after the definitions of names not greater than its
    // own, and its pair among the keys. Every pair that named a definition
    // at or after that place follows it once positions are asked for.
    void Insert(std::unique_ptr<T> definition) {
        if (idsStale_) IndexIds();
        Grow(waiting_);
        Grow(pairs_);
        T* added = definition.get();
        const std::uint32_t key = added->Id();
        // Learned ids ascend: the pair almost always goes last.
        pairs_.insert(pairs_.begin() + KeyLowerBound(key), IDIndexPair{key, 0});
        waiting_.push_back(std::move(definition));
        indexesStale_ = true;
        try {
            // The new pair stands first among pairs of its key.
            byId_[key] = added;
        } catch (const std::bad_alloc&) {
            idsStale_ = true;  // made again at the next look-up
            throw MemoryAllocationFault();
        }
        if (namesStale_) return;
        try {
            AddName(added);
        } catch (const std::bad_alloc&) {
            namesStale_ = true;
            throw MemoryAllocationFault();
        }
    }

    void Clear() {
        pairs_.clear();
        definitions_.clear();
        waiting_.clear();
        byId_.clear();
        byName_.clear();
        nextNamesake_.clear();
        indexesStale_ = false;
        idsStale_ = false;
        namesStale_ = false;
    }

  private:
    struct Namesakes {
        T* first = nullptr;
        T* last = nullptr;
    };

    static std::string_view View(const String& name) { return {name.Text(), name.Length()}; }

    // Each id to the definition its pair names, as a file's pairs do: a pair
    // whose index names no definition finds nothing. The first pair of a
    // key wins, as the binary search found it.
    void IndexIds() const {
        SettleIndexes();
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

    // Each name to its definitions in name order: the file's, then the
    // waiting ones in the order they came.
    void IndexNames() const {
        namesStale_ = false;
        try {
            byName_.clear();
            nextNamesake_.clear();
            byName_.reserve(EntryCount());
            for (const auto& definition : definitions_) AddName(definition.get());
            for (const auto& definition : waiting_) AddName(definition.get());
        } catch (const std::bad_alloc&) {
            byName_.clear();
            nextNamesake_.clear();
            namesStale_ = true;
            throw MemoryAllocationFault();
        }
    }

    void AddName(T* definition) const {
        Namesakes& namesakes = byName_[View(definition->Name())];
        if (namesakes.last) nextNamesake_[namesakes.last] = definition;
        if (!namesakes.first) namesakes.first = definition;
        namesakes.last = definition;
    }

    // The waiting definitions join the name order: sorted among themselves
    // (equal names in the order they came) and merged after the equal names
    // already placed, as inserting each in turn would have placed them.
    void SettleOrder() const {
        if (waiting_.empty()) return;
        try {
            std::stable_sort(waiting_.begin(), waiting_.end(),
                             [](const std::unique_ptr<T>& a, const std::unique_ptr<T>& b) {
                                 return CompareNames(a->Name(), b->Name()) < 0;
                             });
            std::vector<std::unique_ptr<T>> merged;
            merged.reserve(definitions_.size() + waiting_.size());
            std::merge(std::make_move_iterator(definitions_.begin()),
                       std::make_move_iterator(definitions_.end()), std::make_move_iterator(waiting_.begin()),
                       std::make_move_iterator(waiting_.end()), std::back_inserter(merged),
                       [](const std::unique_ptr<T>& a, const std::unique_ptr<T>& b) {
                           return CompareNames(a->Name(), b->Name()) < 0;
                       });
            definitions_.swap(merged);
            waiting_.clear();
        } catch (const std::bad_alloc&) {
            throw MemoryAllocationFault();
        }
        indexesStale_ = true;
    }

    // Each pair's index names its definition's position again.
    void SettleIndexes() const {
        SettleOrder();
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
    template <class Vector>
    static void Grow(Vector& entries) {
        try {
            if (entries.size() == entries.capacity()) entries.reserve(entries.size() * 2 + 8);
        } catch (const std::bad_alloc&) {
            throw MemoryAllocationFault();
        }
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
        const auto at = std::partition_point(
            definitions_.begin(), definitions_.end(),
            [&](const std::unique_ptr<T>& d) { return CompareNames(d->Name(), name) < 0; });
        return static_cast<std::uint32_t>(at - definitions_.begin());
    }

    mutable std::vector<IDIndexPair> pairs_;
    // In name order, and those inserted since the order was last asked for.
    mutable std::vector<std::unique_ptr<T>> definitions_;
    mutable std::vector<std::unique_ptr<T>> waiting_;
    mutable std::unordered_map<std::uint32_t, T*> byId_;
    mutable std::unordered_map<std::string_view, Namesakes> byName_;
    mutable std::unordered_map<const T*, T*> nextNamesake_;
    mutable bool indexesStale_ = false;
    mutable bool idsStale_ = false;
    mutable bool namesStale_ = false;
};

}  // namespace markup
