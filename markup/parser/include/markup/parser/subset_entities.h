// The general entities a document declares in its DOCTYPE's internal subset
// (`<!DOCTYPE svg [<!ENTITY ns_svg "http://www.w3.org/2000/svg">]>`), and
// their expansion under a budget.
//
// Replacement texts may name other entities; each use is expanded whole, at
// most kMaxDepth references deep, and all the uses of one document together
// expand to at most kMaxExpandedBytes (each use counting kReferenceCost
// bytes besides its text). A use that would go past either bound
// expands to nothing (the caller keeps the reference as written and says
// so), which keeps "billion laughs" documents small and fast. The five
// predefined XML entities always expand; character references up to 255
// are decoded, larger ones stay as written (the text is one byte a
// character). Markup inside a replacement text stays text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>

namespace markup::detail {

class SubsetEntities {
  public:
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
    // A fuzzing build spends less on one input; the budget's paths are the
    // same, only met sooner.
    static constexpr std::size_t kMaxExpandedBytes = std::size_t{1} << 16;
#else
    static constexpr std::size_t kMaxExpandedBytes = std::size_t{1} << 20;
#endif
    static constexpr int kMaxDepth = 32;
    // What one use of a declared entity takes from the budget besides its text.
    static constexpr std::size_t kReferenceCost = 8;

    enum class Result { kExpanded, kUnknown, kOverLimit };

    // Forgets the declarations and the budget spent: a new document.
    void Clear();
    // Takes the general entity declarations of a subset; parameter entities
    // and external ones are skipped, and the first declaration of a name
    // binds, as XML says.
    void Declare(std::string_view subset);
    bool Declares(const std::string& name) const { return values_.count(name) != 0; }
    bool Empty() const { return values_.empty(); }

    // Appends the expansion of "&name;" (name without "&" and ";") to out:
    // a declared entity, else a predefined one. out is left as it was unless
    // the answer is kExpanded.
    Result Expand(const std::string& name, std::string& out);
    // Expands every entity and character reference of a text (an attribute
    // value) in place; kOverLimit when some reference had to stay as written.
    Result ExpandText(std::string& text);

    static bool IsPredefined(const std::string& name, char* character = nullptr);

  private:
    // What one use of a declared entity costs: its bytes and kReferenceCost
    // for it and each use inside it, and how many levels of references it
    // takes. Worked out once an entity a document, so that a use costs one
    // look-up whatever its replacement names.
    struct Cost {
        std::size_t units = 0;
        int height = -1;    // -1 while being worked out: a use then is a cycle
        bool over = false;  // past a bound wherever it is used
    };
    // Expansions this short are kept for further uses.
    static constexpr std::size_t kKeptBytes = 4096;

    Result ExpandInto(std::string_view text, std::string& out);
    Result ExpandName(const std::string& name, int depth, std::string& out);
    // The cost of a declared entity, `level` references below the use that
    // asked; null when the walk reached kMaxDepth levels before it ended.
    const Cost* CostOf(const std::string& name, int level);
    // Appends the expansion of a replacement text whose cost was paid.
    void AppendExpansion(std::string_view text, std::string& out);

    std::unordered_map<std::string, std::string> values_;
    std::unordered_map<std::string, Cost> costs_;
    std::unordered_map<std::string, std::string> kept_;
    std::size_t spent_ = 0;
};

}  // namespace markup::detail
