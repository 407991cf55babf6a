// AppliedValueStore: a rule's values read from its properties and kept.
#include "css_applied_store.h"

#include <new>

#include "markup/heap.h"

namespace markup::style::detail {

namespace {

constexpr std::size_t kPiece = 2048;

}  // namespace

const CSSAppliedValue* AppliedValueStore::Keep(std::uint32_t rule, const Vector<CSSProperty>& properties) {
    std::size_t count = 0;
    for (std::uint32_t p = 0; p < properties.Count(); ++p) count += properties.At(p)->ValueCount();
    // A rule without values gets a mark of its own all the same.
    const std::size_t size = count ? count : 1;
    if (size > room_) {
        // A small sheet takes a small first piece: 64 values, doubled for
        // each piece after it up to the full size; a rule of more values
        // takes a piece of its own size.
        const std::size_t step = pieces_.size() < 5 ? kPiece >> (5 - pieces_.size()) : kPiece;
        const std::size_t pieceSize = step < size ? size : step;
        CSSAppliedValue* piece = new (std::nothrow) CSSAppliedValue[pieceSize];
        if (!piece) RaiseMemoryFault();
        pieces_.emplace_back(piece);
        free_ = piece;
        room_ = pieceSize;
    }
    CSSAppliedValue* first = free_;
    free_ += size;
    room_ -= size;
    CSSAppliedValue* at = first;
    for (std::uint32_t p = 0; p < properties.Count(); ++p) {
        const CSSProperty& property = *properties.At(p);
        for (std::uint32_t v = 0; v < property.ValueCount(); ++v) {
            const CSSValue* value = property.ValueAt(v);
            *at = AppliedValueOf(value->Attribute(), value->Important());
            if (v == 0) at->flags |= CSSAppliedValue::kFirst;
            if (at->textLength) at->text = texts_.Keep(at->Text());
            ++at;
        }
    }
    if (rules_.size() <= rule) rules_.resize(rule + 1, nullptr);
    rules_[rule] = first;
    return first;
}

}  // namespace markup::style::detail
