// Walking the compiler's token lists declaration by declaration.
#pragma once

#include <cstdint>
#include <string>

#include "markup/dtd/dtd_tokens.h"

namespace markup::dtd::detail {

// The end of the declaration that starts at `start` (a declaration start,
// or the first token of a stretch without one): after its GT, or at the next
// declaration start when the GT is missing, or at the end of the list.
template <class Iterator>
Iterator DeclarationEnd(Iterator start, Iterator end) {
    Iterator it = start;
    if (it != end && IsDeclarationStart((*it)->Code())) ++it;
    for (; it != end; ++it) {
        const std::uint32_t code = (*it)->Code();
        if (code == kTokGT) return ++it;
        if (IsDeclarationStart(code)) return it;
    }
    return end;
}

// Calls visit(start, end) for each declaration of the list that starts with
// the code; visit answers where the walk goes on (end, or where the
// declaration was moved out).
template <class List, class Visit>
void ForEachDeclaration(List& list, std::uint32_t code, Visit visit) {
    for (auto it = list.begin(); it != list.end();) {
        if ((*it)->Code() != code) {
            ++it;
            continue;
        }
        const auto end = DeclarationEnd(it, list.end());
        it = visit(it, end);
    }
}

// Reads tokens in order up to an end; code 0 past it.
template <class Iterator>
class TokenCursor {
  public:
    TokenCursor(Iterator from, Iterator end) : it_(from), end_(end) {}

    std::uint32_t Code() const { return AtEnd() ? 0 : (*it_)->Code(); }
    const std::string& Text() const { return (*it_)->Text(); }
    bool AtEnd() const { return it_ == end_; }
    void Next() {
        if (!AtEnd()) ++it_;
    }
    // Steps over a token of the code; false, staying, when another stands.
    bool Take(std::uint32_t code) {
        if (Code() != code) return false;
        ++it_;
        return true;
    }
    Iterator Here() const { return it_; }

  private:
    Iterator it_;
    Iterator end_;
};

}  // namespace markup::dtd::detail
