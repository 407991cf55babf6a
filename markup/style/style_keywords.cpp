// The keyword code tables of the computed style's enumerated properties.
// Each keyword a setter does not list stores the table's "other" code.
#include <array>

#include "style_values.h"

namespace markup::style::detail {

namespace {

// {id, other, count, codes' keywords, keywords each code is set by}
constexpr KeywordTable kTables[] = {
    {2, 0, 10, {334, 396, 328, 384, 293, 359, 360, 292, 294, 385}, {0, 396, 328, 384, 293, 359, 360, 292, 294, 385}},
    {12, 3, 4, {349, 350, 351, 333}, {349, 350, 351, 0}},
    {13, 0, 2, {358, 298}, {0, 298}},
    {20, 0, 4, {164, 277, 388, 317}, {0, 277, 388, 317}},
    {21, 0, 4, {120, 202, 39, 113}, {0, 202, 39, 113}},
    {52, 0, 4, {370, 348, 264, 298}, {0, 348, 264, 298}},
    {53, 0, 4, {164, 120, 202, 203}, {0, 120, 202, 203}},
    {54, 0, 4, {164, 120, 202, 275}, {0, 120, 202, 275}},
    {55, 0, 4, {164, 272, 306, 315}, {0, 272, 306, 315}},
    {56, 0, 3, {334, 347, 335}, {0, 347, 335}},
    {57, 0, 9, {164, 77, 45, 226, 284, 318, 389, 316, 387}, {0, 77, 45, 226, 284, 318, 389, 316, 387}},
    {59, 0, 2, {308, 343}, {0, 343}},
    {61, 0, 6, {320, 354, 376, 319, 353, 375}, {0, 354, 376, 319, 353, 375}},
    {64, 5, 8, {379, 382, 301, 322, 278, 268, 304, 378}, {379, 382, 301, 322, 278, 268, 304, 378}},
    {65, 0, 2, {321, 356}, {0, 356}},
    {66, 0, 3, {334, 288, 270}, {0, 288, 270}},
    {67, 0, 3, {369, 324, 289}, {0, 324, 289}},
    {70, 0, 2, {291, 332}, {0, 332}},
    {74, 0, 4, {276, 355, 367, 276}, {276, 355, 367, 0}},
    {75, 0, 4, {325, 355, 269, 325}, {325, 355, 269, 0}},
    {83, 1, 3, {267, 368, 313}, {267, 368, 313}},
    {84, 0, 3, {267, 341, 340}, {267, 341, 340}},
    {85, 0, 4, {267, 341, 279, 299}, {0, 341, 279, 299}},
    {86, 0, 4, {267, 341, 339, 299}, {0, 341, 339, 299}},
    {87, 0, 3, {267, 341, 340}, {267, 341, 340}},
    {88, 0, 2, {390, 303}, {0, 303}},
    {91, 0, 4, {390, 303, 358, 267}, {0, 303, 358, 267}},
    {94, 0, 2, {291, 332}, {0, 332}},
    {99, 0, 10, {331, 391, 394, 393, 392, 345, 296, 371, 297, 266}, {0, 391, 394, 393, 0, 345, 296, 371, 297, 266}},
    {100, 0, 13, {267, 280, 285, 346, 327, 290, 329, 337, 336, 361, 374, 377, 302},
     {0, 280, 285, 346, 0, 290, 329, 337, 336, 361, 374, 377, 302}},
    {105, 0, 9, {164, 286, 283, 366, 287, 300, 352, 307, 342}, {0, 286, 283, 366, 287, 300, 352, 307, 342}},
    {106, 0, 9, {164, 286, 283, 366, 287, 300, 352, 307, 342}, {0, 286, 283, 366, 287, 300, 352, 307, 342}},
    {107, 0, 9, {164, 286, 283, 366, 287, 300, 352, 307, 342}, {0, 286, 283, 366, 287, 300, 352, 307, 342}},
    {108, 0, 9, {164, 286, 283, 366, 287, 300, 352, 307, 342}, {0, 286, 283, 366, 287, 300, 352, 307, 342}},
};

}  // namespace

const KeywordTable* FindKeywordTable(std::uint32_t id) {
    // Every record's setters ask: the tables by id, made once.
    static const std::array<const KeywordTable*, kPropertySlots> byId = [] {
        std::array<const KeywordTable*, kPropertySlots> index{};
        for (const KeywordTable& table : kTables) {
            if (table.id < kPropertySlots && index[table.id] == nullptr) index[table.id] = &table;
        }
        return index;
    }();
    return id < kPropertySlots ? byId[id] : nullptr;
}

std::uint8_t KeywordCode(const KeywordTable& table, std::uint32_t keyword) {
    if (keyword != 0) {
        for (std::uint8_t code = 0; code < table.count; ++code) {
            if (table.sets[code] == keyword) return code;
        }
    }
    return table.other;
}

std::uint32_t CodeKeyword(const KeywordTable& table, std::uint8_t code) {
    return code < table.count ? table.reads[code] : table.reads[0];
}

}  // namespace markup::style::detail
