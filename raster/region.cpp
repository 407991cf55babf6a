// Regions and their run lists.
#include "raster/region.h"

#include <algorithm>
#include <new>

#include "raster/storage.h"

namespace raster {
namespace {

RIPRunTable* NewTable(std::int32_t rows, std::int32_t width) {
    auto* table = new (std::nothrow) RIPRunTable;
    if (table == nullptr) {
        return nullptr;
    }
    table->rows = new (std::nothrow) RIPRunList[static_cast<std::size_t>(rows)]();
    if (table->rows == nullptr) {
        delete table;
        return nullptr;
    }
    table->rowCount = rows;
    table->width = width;
    return table;
}

}  // namespace

RIPCoverageClass RIPCoverageClassOf(std::uint8_t m, std::int32_t threshold) {
    if (threshold > 0) {
        return m >= threshold ? kCoverageFull : kCoverageNone;
    }
    return m == 0 ? kCoverageNone : m == 255 ? kCoverageFull : kCoveragePartial;
}

RIPRegion* RIPCreateRegion(std::int32_t width, std::int32_t height) {
    if (width < 1 || height < 1) {
        return nullptr;
    }
    auto* region = new (std::nothrow) RIPRegion;
    if (region != nullptr) {
        region->width = width;
        region->height = height;
    }
    return region;
}

void RIPRunTableFree(RIPRunTable* table) {
    if (table == nullptr) {
        return;
    }
    for (std::int32_t r = 0; r < table->rowCount; ++r) {
        RIPRunListFree(&table->rows[r]);
    }
    delete[] table->rows;
    delete table;
}

int RIPDestroyRegion(RIPRegion* region) {
    if (region != nullptr) {
        RIPRunTableFree(region->runs);
        delete region;
    }
    return 1;
}

int RIPRegionInitRuns(RIPRegion* region) {
    if (region == nullptr) {
        return 0;
    }
    RIPRunTableFree(region->runs);
    region->runs = nullptr;
    RIPRunTable* table = NewTable(region->height, region->width);
    if (table == nullptr) {
        return 0;
    }
    for (std::int32_t r = 0; r < region->height; ++r) {
        if (RIPRunListAppendClass(&table->rows[r], kCoverageFull, static_cast<std::uint32_t>(region->width),
                                  nullptr, 0) == 0) {
            RIPRunTableFree(table);
            return 0;
        }
    }
    region->runs = table;
    return 1;
}

int RIPRegionRowRuns(const RIPRegion* region, std::int32_t x, std::int32_t row) {
    if (region == nullptr || region->runs == nullptr || row < 0 || row >= region->runs->rowCount) {
        return 0;
    }
    const RIPRun* run = RIPRunAt(&region->runs->rows[row], x, nullptr);
    return run != nullptr && run->coverage == kCoverageFull ? 1 : 0;
}

const RIPRun* RIPRunAt(const RIPRunList* list, std::int32_t x, std::int32_t* remaining) {
    if (list == nullptr || x < 0 || x >= list->totalLength) {
        return nullptr;
    }
    std::int64_t start = 0;
    for (std::int32_t i = 0; i < list->count; ++i) {
        const RIPRun& run = list->runs[i];
        if (x < start + run.length) {
            if (remaining != nullptr) {
                *remaining = static_cast<std::int32_t>(start + run.length - x);
            }
            return &run;
        }
        start += run.length;
    }
    return nullptr;
}

void RIPRunListFree(RIPRunList* list) {
    if (list != nullptr) {
        delete[] list->runs;
        *list = RIPRunList{};
    }
}

int RIPRunListGrow(RIPRunList* list) {
    // By half again (at least 20 runs): rows of alternating runs stay linear to build.
    const std::int64_t capacity =
        static_cast<std::int64_t>(list->capacity) + std::max(20, list->capacity / 2);
    if (capacity > 0x7FFFFFFF) {
        return 0;
    }
    auto* runs = new (std::nothrow) RIPRun[static_cast<std::size_t>(capacity)];
    if (runs == nullptr) {
        return 0;
    }
    std::copy_n(list->runs, list->count, runs);
    delete[] list->runs;
    list->runs = runs;
    list->capacity = static_cast<std::int32_t>(capacity);
    return 1;
}

int RIPRunListAppendClass(RIPRunList* list, RIPCoverageClass coverage, std::uint32_t length,
                          RIPTileSlot* slot, std::uint32_t offset) {
    if (list == nullptr || length == 0) {
        return list != nullptr ? 1 : 0;
    }
    if (static_cast<std::int64_t>(list->totalLength) + length > 0x7FFFFFFF) {
        return 0;
    }
    if (list->count > 0 && coverage != kCoveragePartial && list->runs[list->count - 1].coverage == coverage) {
        list->runs[list->count - 1].length += length;
        list->totalLength += static_cast<std::int32_t>(length);
        return 1;
    }
    if (list->count == list->capacity && RIPRunListGrow(list) == 0) {
        return 0;
    }
    RIPRun& run = list->runs[list->count++];
    run.coverage = coverage;
    run.length = length;
    run.slot = coverage == kCoveragePartial ? slot : nullptr;
    run.offset = coverage == kCoveragePartial ? offset : 0;
    list->totalLength += static_cast<std::int32_t>(length);
    return 1;
}

int RIPRunListAppend(RIPRunList* list, RIPTileSlot* slot, std::uint32_t offset, std::uint32_t length,
                     std::int32_t threshold) {
    if (slot == nullptr || slot->data == nullptr) {
        return 0;
    }
    return RIPRunListAppendClass(list, RIPCoverageClassOf(slot->data[offset], threshold), length, slot,
                                 offset);
}

}  // namespace raster
