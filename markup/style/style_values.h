// The value record of StyleProperties and the keyword code tables its
// enumerated setters and getters share.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "markup/style/style_properties.h"
#include "style_image_ref.h"

namespace markup::style::detail {

inline constexpr std::uint32_t kPropertySlots = 120;

// One enumerated property: the keyword each code answers, the keywords a
// setter accepts for each code (0 where a code cannot be set), and the
// code of any other keyword.
struct KeywordTable {
    std::uint32_t id;
    std::uint8_t other;
    std::uint8_t count;
    std::uint32_t reads[16];
    std::uint32_t sets[16];
};

// Null for an id without a table.
const KeywordTable* FindKeywordTable(std::uint32_t id);
std::uint8_t KeywordCode(const KeywordTable& table, std::uint32_t keyword);
std::uint32_t CodeKeyword(const KeywordTable& table, std::uint8_t code);

struct IntLength {
    std::int32_t value = 0;
    std::int32_t unit = 0;
};

struct Length {
    double value = 0.0;
    std::int32_t unit = 0;
    bool mark = false;
};

struct Paint {
    std::uint8_t kind = kPaintKindNone;
    std::uint32_t colour = 0;
    double alpha = 1.0;  // a colour's own alpha
    StyleReference reference;
};

// Values of the few property ids that have one, found by id: a row for all
// 120 ids would be most of a record, which every element takes.
template <class T, std::uint32_t... Ids>
struct SparseSlots {
    static constexpr std::uint32_t kIds[] = {Ids...};
    T slots[sizeof...(Ids)] = {};

    // Null for an id without a slot.
    T* Find(std::uint32_t id) {
        for (std::size_t i = 0; i < sizeof...(Ids); ++i) {
            if (kIds[i] == id) return &slots[i];
        }
        return nullptr;
    }
    const T* Find(std::uint32_t id) const { return const_cast<SparseSlots*>(this)->Find(id); }
    template <std::uint32_t Id>
    T& At() {
        static_assert(((Id == Ids) || ...), "no slot for this id");
        return *Find(Id);
    }
    template <std::uint32_t Id>
    const T& At() const {
        return const_cast<SparseSlots*>(this)->At<Id>();
    }
    // Copies the slot of `id` from another record; nothing for an id
    // without a slot.
    void Take(std::uint32_t id, const SparseSlots& from) {
        if (T* slot = Find(id)) *slot = *from.Find(id);
    }
};

// The text-decoration flags, in the record's order.
enum DecorationFlag : std::uint32_t { kLineThrough = 0, kOverline = 1, kUnderline = 2, kBlink = 3 };

}  // namespace markup::style::detail

namespace markup::style {

struct StyleProperties::Values {
    // Records come and go one per element as a document is read: their
    // blocks are kept for the next ones rather than given back each time.
    static void* operator new(std::size_t size);
    static void operator delete(void* block, std::size_t size) noexcept;

    std::uint8_t codes[detail::kPropertySlots] = {};
    bool flags[detail::kPropertySlots] = {};
    std::uint32_t words[detail::kPropertySlots] = {};
    detail::IntLength intLengths[detail::kPropertySlots];
    // The font size with its fraction (intLengths[6] holds it truncated,
    // which the HTML presentation reads), and the inherited one, which
    // em, ex, percentages and larger/smaller count from.
    double fontSize = 0.0;
    double parentFontSize = -1.0;  // none inherited
    detail::Length lengths[detail::kPropertySlots];
    // Clip path, mask and filter (93, 95, 97), and the list image's element
    // (100); the documents of the three marker properties (80-82).
    detail::SparseSlots<StyleReference, 93, 95, 97, 100> references;
    detail::SparseSlots<DocTree*, 80, 81, 82> loaded;
    detail::StyleImageRef images[2];  // 11 background, 58 list
    bool decoration[4] = {};
    bool overflowInherit = false;
    std::uint8_t presentationalCode = 0;
    std::uint8_t listMarker = 0;
    detail::Paint fill;
    detail::Paint stroke;
    detail::Length miterLimit;
    detail::Length defaultOnlyLength;
    std::uint32_t defaultOnlyWord = 0;
    bool defaultOnlyWordMark = false;
    std::uint32_t stopColour = 0;
    double stopAlpha = 1.0;
    bool stopCurrentColour = false;  // the stop takes its "color"
    bool stopColourMark = false;
    // The alpha of the "color" property's colour, which currentColor takes.
    double colourAlpha = 1.0;
    std::int32_t block[4] = {};
    bool blockGiven = false;
    std::vector<StyleDash> dashes;
    String family;
    String second;
    std::unique_ptr<ExtraObject> attached;
    // Documents loaded without a pane document to keep them.
    std::vector<std::shared_ptr<DocTree>> ownLoaded;
};

}  // namespace markup::style
