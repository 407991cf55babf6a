// The band runner and its coverage runs: each row of a band is cut into runs
// where every coverage source covers, and each run is handed to the painter
// with the mask bytes that weight it.
#include "raster/band_runner.h"

#include "kernels/kernel_state.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "raster/image.h"
#include "raster/pixel_colour.h"
#include "raster/progress_countdown.h"
#include "raster/raster_state.h"
#include "raster/region.h"
#include "raster/storage.h"

namespace raster {
namespace {

// One coverage source as the row walk sees it. Positions are in band
// (destination) coordinates; offsetX/offsetY take them to the source's own.
struct CoverageRecord {
    bool isImage = false;
    const RIPRunTable* table = nullptr;  // region sources
    const RIPRunList* list = nullptr;
    std::int32_t runIndex = 0;
    std::int64_t runStart = 0;  // the current run's first column, in the source's coordinates
    RIPImage* image = nullptr;  // image sources
    std::int32_t scanOption = 1;
    std::int32_t offsetX = 0;
    std::int32_t offsetY = 0;
    std::int32_t row = 0;          // the source's own row of the band row being painted
    RIPTileSlot* held = nullptr;   // locked while held
    // The current covered run [start, end) and, for a partial run, the mask byte of start.
    bool hasRun = false;
    std::uint16_t coverage = kCoverageNone;
    std::int32_t start = 0;
    std::int32_t end = 0;
    const std::uint8_t* mask = nullptr;
    bool failed = false;
};

bool Hold(CoverageRecord& record, RIPTileSlot* slot, bool compact) {
    if (record.held == slot) {
        return true;
    }
    if (record.held != nullptr) {
        RIPTileSlot* old = record.held;
        record.held = nullptr;
        if (RIPTileUnlock(old) == 0) {
            record.failed = true;
            return false;
        }
    }
    if ((compact ? RIPTileLockWrite(slot) : RIPTileLockRead(slot)) == 0) {
        record.failed = true;
        return false;
    }
    record.held = slot;
    return true;
}

bool Release(CoverageRecord& record) {
    RIPTileSlot* slot = record.held;
    record.held = nullptr;
    return slot == nullptr || RIPTileUnlock(slot) != 0;
}

void SetRun(CoverageRecord& record, std::uint16_t coverage, std::int64_t start, std::int64_t end,
            const std::uint8_t* mask) {
    record.hasRun = true;
    record.coverage = coverage;
    record.start = static_cast<std::int32_t>(start);
    record.end = static_cast<std::int32_t>(end);
    record.mask = mask;
}

// A region's next covered run at or after band column x.
bool NextRegionRun(CoverageRecord& record, std::int32_t x) {
    if (record.list == nullptr) {
        return false;
    }
    const std::int64_t rx = static_cast<std::int64_t>(x) - record.offsetX;
    while (record.runIndex < record.list->count) {
        const RIPRun& run = record.list->runs[record.runIndex];
        const std::int64_t runEnd = record.runStart + run.length;
        if (run.coverage != kCoverageNone && runEnd > rx) {
            const std::int64_t from = std::max(rx, record.runStart);
            const std::uint8_t* mask = nullptr;
            if (run.coverage == kCoveragePartial) {
                if (run.slot == nullptr || !Hold(record, run.slot, false) || run.slot->data == nullptr) {
                    record.failed = true;
                    return false;
                }
                mask = run.slot->data + run.offset + (from - record.runStart);
            }
            SetRun(record, run.coverage, from + record.offsetX, runEnd + record.offsetX, mask);
            return true;
        }
        record.runStart = runEnd;
        ++record.runIndex;
    }
    return false;
}

std::uint8_t SolidValue(const colour::ColorRecord& colour) {
    std::uint8_t pixel[8] = {};
    return RIPColorToPixel(pixel, colour) != 0 ? pixel[0] : colour.bytes[8];
}

// A mask image's next covered run at or after band column x.
bool NextImageRun(CoverageRecord& record, std::int32_t x) {
    RIPImage* image = record.image;
    std::int64_t ix = static_cast<std::int64_t>(x) - record.offsetX;
    if (record.row < 0 || record.row >= image->height) {
        return false;
    }
    while (ix < image->width) {
        if (ix < 0) ix = 0;
        RIPTileSlot* slot = RIPSlotAt(image, static_cast<std::int32_t>(ix), record.row);
        if (slot == nullptr || !Hold(record, slot, true)) {
            record.failed = true;
            return false;
        }
        const std::int64_t spanEnd = std::min<std::int64_t>(slot->right, image->width - 1) + 1;
        const colour::ColorRecord* solid = RIPTileInlineData(slot);
        if (solid != nullptr && slot->data == nullptr) {
            const std::uint8_t value = SolidValue(*solid);
            if (value == 255) {
                SetRun(record, kCoverageFull, ix + record.offsetX, spanEnd + record.offsetX, nullptr);
                return true;
            }
            if (value == 0) {
                ix = spanEnd;
                continue;
            }
            // A solid tile of partial coverage: its bytes are needed.
            record.held = nullptr;
            if (RIPTileUnlock(slot) == 0 || !Hold(record, slot, false)) {
                record.failed = true;
                return false;
            }
        }
        const std::uint8_t* row =
            slot->data + static_cast<std::ptrdiff_t>(record.row - slot->bottom) * slot->rowBytes - slot->left;
        if (record.scanOption == 0) {
            SetRun(record, kCoveragePartial, ix + record.offsetX, spanEnd + record.offsetX, row + ix);
            return true;
        }
        std::int64_t p = ix;
        while (p < spanEnd && row[p] == 0) ++p;
        if (p == spanEnd) {
            ix = spanEnd;
            continue;
        }
        std::int64_t q = p;
        while (q < spanEnd && row[q] == 255) ++q;
        if (q > p && (q == spanEnd || row[q] == 0 || q - p >= 8)) {
            SetRun(record, kCoverageFull, p + record.offsetX, q + record.offsetX, nullptr);
            return true;
        }
        // A mask run: up to the next zero, the span's end, or the ninth byte
        // of a stretch of full bytes, where a fully covered run starts.
        std::int64_t e = p;
        std::int32_t full = 0;
        while (e < spanEnd && row[e] != 0) {
            full = row[e] == 255 ? full + 1 : 0;
            ++e;
            if (full == 9) break;
        }
        SetRun(record, kCoveragePartial, p + record.offsetX, e + record.offsetX, row + p);
        return true;
    }
    return false;
}

bool NextRun(CoverageRecord& record, std::int32_t x) {
    if (record.hasRun && record.end > x) {
        if (record.start < x) {
            if (record.mask != nullptr) record.mask += x - record.start;
            record.start = x;
        }
        return true;
    }
    record.hasRun = false;
    return record.isImage ? NextImageRun(record, x) : NextRegionRun(record, x);
}

void StartRow(CoverageRecord& record, std::int32_t y) {
    record.hasRun = false;
    record.row = y - record.offsetY;
    if (!record.isImage) {
        record.list = record.row >= 0 && record.row < record.table->rowCount ? &record.table->rows[record.row]
                                                                             : nullptr;
        record.runIndex = 0;
        record.runStart = 0;
    }
}

int RunRow(const RIPBandCallbacks& callbacks, kernels::RIPKernelCoverage& coverage, CoverageRecord* records,
           int count, const RIPRect& band, std::int32_t y, std::uint8_t* scratch) {
    for (int i = 0; i < count; ++i) StartRow(records[i], y);
    std::int32_t x = band.left;
    const std::int32_t end = band.right + 1;
    while (x < end) {
        std::int32_t start = x;
        std::int32_t stop = end;
        for (int i = 0; i < count; ++i) {
            if (!NextRun(records[i], x)) {
                if (records[i].failed) return 0;
                x = end;
                break;
            }
            start = std::max(start, records[i].start);
            stop = std::min(stop, records[i].end);
        }
        if (x >= end) break;
        if (start >= stop) {
            x = start;
            continue;
        }
        const std::uint8_t* masks[kRIPMaxCoverageSources] = {};
        int used = 0;
        for (int i = 0; i < count; ++i) {
            if (records[i].coverage == kCoveragePartial) {
                masks[used++] = records[i].mask + (start - records[i].start);
            }
        }
        if (used > 2) {
            const auto n = static_cast<std::size_t>(stop - start);
            std::memcpy(scratch, masks[1], n);
            for (int m = 2; m < used; ++m) {
                for (std::size_t i = 0; i < n; ++i) {
                    scratch[i] = kernels::RIPProductTable[scratch[i] * masks[m][i]];
                }
            }
            masks[1] = scratch;
        }
        coverage.mask1 = masks[0];
        coverage.mask2 = masks[1];
        if (callbacks.paint(callbacks.context, start, y, static_cast<std::uint32_t>(stop - start), &coverage) ==
            0) {
            return 0;
        }
        x = stop;
    }
    if (callbacks.next != nullptr && callbacks.next(callbacks.context) == 0) {
        return 0;
    }
    return 1;
}

}  // namespace

int RIPRunBand(RIPRasterState* state, const RIPBandCallbacks* callbacks, const RIPRect& bandIn,
               const RIPRect* sourceBand, const RIPCoverageSource* sources, int count) {
    if (callbacks == nullptr || callbacks->paint == nullptr || count < 0 || count > kRIPMaxCoverageSources ||
        (count > 0 && sources == nullptr)) {
        return 0;
    }
    kernels::RIPKernelCoverage coverage;
    coverage.opacity = state != nullptr ? state->opacity : 255;
    RIPRect band = bandIn;
    const RIPRect source = sourceBand != nullptr ? *sourceBand : bandIn;
    if (RIPRectIsEmpty(band) != 0) {
        return 1;
    }
    if (source.Width() != band.Width() || source.Height() != band.Height()) {
        return 0;
    }
    const std::int32_t shiftX = band.left - source.left;
    const std::int32_t shiftY = band.bottom - source.bottom;
    struct Placed {
        const RIPRegion* region;
        RIPImage* image;
        RIPRect rect;
    };
    Placed placed[kRIPMaxCoverageSources];
    for (int i = 0; i < count; ++i) {
        placed[i] = Placed{sources[i].region, sources[i].image, sources[i].rect};
        if (sources[i].inSource) RIPRectOffset(&placed[i].rect, shiftX, shiftY);
        if ((placed[i].region == nullptr) == (placed[i].image == nullptr)) return 0;
        if (RIPRectIntersect(&band, band, placed[i].rect) == 0) return 1;
    }

    std::unique_ptr<CoverageRecord[]> records;
    int used = 0;
    if (count > 0) {
        records.reset(new (std::nothrow) CoverageRecord[kRIPMaxCoverageSources]);
        if (!records) return 0;
        for (int i = 0; i < count; ++i) {
            CoverageRecord& record = records[used];
            record.offsetX = placed[i].rect.left;
            record.offsetY = placed[i].rect.bottom;
            if (placed[i].region != nullptr) {
                const RIPRegion* region = placed[i].region;
                // A region without runs gates nothing.
                if (region->runs == nullptr) continue;
                if (band.left < record.offsetX || band.bottom < record.offsetY ||
                    band.right - record.offsetX >= region->width || band.top - record.offsetY >= region->height) {
                    return 0;
                }
                record.table = region->runs;
            } else {
                if (placed[i].image->width < 1 || placed[i].image->height < 1) return 0;
                record.isImage = true;
                record.image = placed[i].image;
                record.scanOption = state != nullptr ? state->scanOption : 1;
            }
            ++used;
        }
    }

    // Room to multiply a third and fourth mask into the second.
    std::unique_ptr<std::uint8_t[]> scratch;
    if (used > 2) {
        scratch.reset(new (std::nothrow) std::uint8_t[static_cast<std::size_t>(band.Width())]);
        if (!scratch) return 0;
    }
    if (callbacks->begin != nullptr && callbacks->begin(callbacks->context, band) == 0) {
        if (callbacks->end != nullptr) callbacks->end(callbacks->context);
        return 0;
    }
    int result = 1;
    if (used == 0 && callbacks->next == nullptr) {
        RIPProgressCountdown progress(state, 1);
        result = callbacks->paint(callbacks->context, 0, 0, static_cast<std::uint32_t>(band.Width()), nullptr);
        if (result != 0 && !progress.Step()) result = 0;
    } else {
        RIPProgressCountdown progress(state, static_cast<std::uint32_t>(band.Height()));
        for (std::int32_t y = band.bottom; y <= band.top && result != 0; ++y) {
            if (used == 0) {
                coverage.mask1 = coverage.mask2 = nullptr;
                result = callbacks->paint(callbacks->context, band.left, y, static_cast<std::uint32_t>(band.Width()),
                                          &coverage);
                if (result != 0 && callbacks->next != nullptr) result = callbacks->next(callbacks->context);
            } else {
                result = RunRow(*callbacks, coverage, records.get(), used, band, y, scratch.get());
            }
            if (result != 0 && !progress.Step()) result = 0;
        }
    }
    if (callbacks->end != nullptr) callbacks->end(callbacks->context);
    for (int i = 0; i < used; ++i) {
        if (!Release(records[i])) result = 0;
    }
    return result;
}

}  // namespace raster
