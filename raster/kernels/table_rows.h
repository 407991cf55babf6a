// Small builders the table units share: put one row into several slots, and
// take rows (or their coverage columns) from chan-8.
#pragma once

#include <initializer_list>

#include "grey8_kernels.h"

namespace raster::kernels::detail {

template <class Table, class Row>
constexpr void Put(Table& t, std::initializer_list<std::uint32_t> rows, const Row& row) {
    for (std::uint32_t m : rows) {
        t[m] = row;
    }
}
template <class Table, class Row>
constexpr void PutRange(Table& t, std::uint32_t first, std::uint32_t last, const Row& row) {
    for (std::uint32_t m = first; m <= last; ++m) {
        t[m] = row;
    }
}
// Columns 1-5 of the rows from chan-8, column 0 left as it is.
constexpr void CoverageFromChannel8(RIPBlitKernelTable& t, std::initializer_list<std::uint32_t> rows) {
    for (std::uint32_t m : rows) {
        for (std::uint32_t c = 1; c < kRIPCoverageVariantCount; ++c) {
            t[m][c] = kChannel8Table[m][c];
        }
    }
}
constexpr void RowsFromChannel8(RIPBlitKernelTable& t, std::initializer_list<std::uint32_t> rows) {
    for (std::uint32_t m : rows) {
        t[m] = kChannel8Table[m];
    }
}

}  // namespace raster::kernels::detail
