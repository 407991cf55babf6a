// Per-character values of a text. An element's characters are contiguous
// in the text, so the i-th value of its list stands for the character at
// its first character's index plus i. A character without a value of its
// own element takes one of the nearest ancestor that has a value for it;
// a rotate list's last angle stands for the rest of its element's
// characters.
#include "text_positions.h"

#include <algorithm>
#include <cmath>

#include "reader_detail.h"

namespace SVG::detail {

namespace {

// At most `limit` values of a list of lengths (white space or commas
// between them); the list ends at a value that does not read.
std::vector<WLength> ReadLengths(const std::string& list, uint64_t limit) {
    std::vector<WLength> out;
    size_t at = 0;
    while (out.size() < limit) {
        while (at < list.size() && (IsWhiteSpace(list[at]) || list[at] == ',')) ++at;
        size_t end = at;
        while (end < list.size() && !IsWhiteSpace(list[end]) && list[end] != ',') ++end;
        if (end == at) break;
        const WLength length = ParseLength(std::string_view(list).substr(at, end - at));
        if (length.kind == unit::kNone || !std::isfinite(length.value)) break;
        out.push_back(length);
        at = end;
    }
    return out;
}

}  // namespace

std::vector<size_t> CodePointStarts(const std::string& text) {
    std::vector<size_t> starts;
    for (size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) starts.push_back(i);
    }
    return starts;
}

uint32_t TextPositions::Open(const Attributes& attributes, uint32_t parent, size_t firstPiece) {
    const std::string* lists[kLists] = {attributes.Find(attribute::kX), attributes.Find(attribute::kY),
                                        attributes.Find(attribute::kDx), attributes.Find(attribute::kDy),
                                        attributes.FindName("rotate")};
    if (std::none_of(std::begin(lists), std::end(lists), [](const std::string* l) { return l != nullptr; }))
        return parent;
    Owner owner;
    owner.parent = parent;
    owner.firstPiece = firstPiece;
    owner.endPiece = firstPiece;
    for (int i = 0; i < kLists; ++i) {
        if (lists[i] != nullptr) owner.written[i] = *lists[i];
    }
    owners_.push_back(std::move(owner));
    return static_cast<uint32_t>(owners_.size() - 1);
}

void TextPositions::Close(uint32_t owner, size_t endPiece) {
    if (owner < owners_.size()) owners_[owner].endPiece = endPiece;
}

void TextPositions::Count(const std::vector<uint64_t>& pieceStarts) {
    if (pieceStarts.empty()) return;
    const size_t last = pieceStarts.size() - 1;
    // Owners come before their descendants: an owner's parent is settled
    // when the owner is reached.
    for (size_t i = 0; i < owners_.size(); ++i) {
        Owner& owner = owners_[i];
        owner.first = pieceStarts[std::min(owner.firstPiece, last)];
        owner.end = std::max(owner.first, pieceStarts[std::min(owner.endPiece, last)]);
        const uint64_t characters = owner.end - owner.first;
        for (int list = kX; list <= kDy; ++list) {
            owner.lengths[list] = ReadLengths(owner.written[list], characters);
            owner.longest = std::max(owner.longest, owner.lengths[list].size());
        }
        for (const WLength& angle : ReadLengths(owner.written[kRotate], characters)) {
            if (angle.kind != unit::kUser) break;
            owner.angles.push_back(angle.value);
        }
        for (std::string& written : owner.written) std::string().swap(written);
        owner.live = static_cast<uint32_t>(i);
        owner.turning = !owner.angles.empty()      ? static_cast<uint32_t>(i)
                        : owner.parent != kNone ? owners_[owner.parent].turning
                                                : kNone;
    }
}

uint32_t TextPositions::Live(uint32_t owner, uint64_t index) {
    uint32_t found = owner;
    while (found != kNone && Exhausted(owners_[found], index)) {
        const uint32_t next = owners_[found].live;
        found = next == found ? owners_[found].parent : next;
    }
    // Lists that ran out stay out for the later characters: the owners on
    // the way lead straight to the one found.
    while (owner != kNone && owner != found) {
        Owner& passed = owners_[owner];
        const uint32_t next = passed.live == owner ? passed.parent : passed.live;
        passed.live = found;
        owner = next;
    }
    return found;
}

CharacterValues TextPositions::At(uint32_t owner, uint64_t index) {
    CharacterValues values;
    if (owner >= owners_.size()) return values;
    if (const uint32_t turning = owners_[owner].turning; turning != kNone) {
        const Owner& o = owners_[turning];
        const uint64_t local = index - o.first;
        values.rotate = o.angles[std::min<uint64_t>(local, o.angles.size() - 1)];
    }
    std::optional<WLength>* slots[] = {&values.x, &values.y, &values.dx, &values.dy};
    int missing = 4;
    for (uint32_t o = Live(owner, index); o != kNone && missing > 0; o = Live(owners_[o].parent, index)) {
        const Owner& current = owners_[o];
        const uint64_t local = index - current.first;
        for (int list = kX; list <= kDy; ++list) {
            if (*slots[list] || local >= current.lengths[list].size()) continue;
            *slots[list] = current.lengths[list][local];
            --missing;
        }
    }
    return values;
}

}  // namespace SVG::detail
