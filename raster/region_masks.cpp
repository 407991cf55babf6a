// Regions built from mask images, written back as bits, and scaled.
#include <algorithm>
#include <vector>

#include "raster/bit_rows.h"
#include "raster/blit_entry.h"
#include "raster/library_init.h"
#include "raster/region.h"
#include "raster/storage.h"
#include "raster/tile_cursor.h"

namespace raster {
namespace {

bool IsByteMask(const RIPImage& mask) {
    return mask.type == kTypeGrey8 || mask.type == kTypeCoverage;
}

// Runs of one row of a 1-bit piece, bits a..b of the row: each run ends where
// the bit changes, found a byte at a time through the highest-set-bit table.
bool ScanBits(RIPRunList* list, const std::uint8_t* row, std::int32_t a, std::int32_t b) {
    const std::int32_t* highest = RIPHighestBitTable();
    const auto bit = [row](std::int32_t i) { return (row[i / 8] >> (7 - i % 8)) & 1; };
    for (std::int32_t i = a; i <= b;) {
        const int set = bit(i);
        std::int32_t j = i + 1;
        while (j <= b) {
            const unsigned byte = set != 0 ? ~row[j / 8] & 0xFFu : row[j / 8];
            const unsigned v = byte & (0xFFu >> (j % 8));
            if (v == 0) {
                j = (j / 8 + 1) * 8;
                continue;
            }
            j = (j / 8) * 8 + (7 - highest[v]);
            break;
        }
        j = std::min(j, b + 1);
        if (RIPRunListAppendClass(list, set != 0 ? kCoverageFull : kCoverageNone,
                                  static_cast<std::uint32_t>(j - i), nullptr, 0) == 0) {
            return false;
        }
        i = j;
    }
    return true;
}

// Maximal runs of one class among the bytes a..b of an 8-bit row; whole
// aligned words of 0x00 or 0xFF are passed four bytes at a time.
bool ScanBytes(RIPRunList* list, RIPTileSlot* slot, std::uint32_t rowOffset, std::int32_t a, std::int32_t b,
               std::int32_t threshold) {
    const std::uint8_t* row = slot->data + rowOffset;
    for (std::int32_t i = a; i <= b;) {
        const RIPCoverageClass c = RIPCoverageClassOf(row[i], threshold);
        const std::uint8_t fill = c == kCoverageNone ? 0x00 : 0xFF;
        std::int32_t j = i + 1;
        while (j <= b) {
            if (c != kCoveragePartial && j % 4 == 0 && j + 3 <= b && row[j] == fill && row[j + 1] == fill &&
                row[j + 2] == fill && row[j + 3] == fill) {
                j += 4;
            } else if (RIPCoverageClassOf(row[j], threshold) == c) {
                ++j;
            } else {
                break;
            }
        }
        if (RIPRunListAppendClass(list, c, static_cast<std::uint32_t>(j - i), slot,
                                  rowOffset + static_cast<std::uint32_t>(i)) == 0) {
            return false;
        }
        i = j;
    }
    return true;
}

// The runs of image row y within columns from..to of one locked slot.
bool BuildPiece(RIPRunList* list, const RIPImage& mask, RIPTileSlot* slot, std::int32_t y, std::int32_t from,
                std::int32_t to, std::int32_t threshold, bool* partial) {
    if (const colour::ColorRecord* solid = RIPTileInlineData(slot)) {
        RIPCoverageClass c = kCoverageNone;
        if (mask.type == kTypeBilevel) {
            c = solid->BlackWhite() != 0 ? kCoverageFull : kCoverageNone;
        } else {
            c = RIPCoverageClassOf(solid->GreyLevel(), threshold);
        }
        if (c != kCoveragePartial) {
            return RIPRunListAppendClass(list, c, static_cast<std::uint32_t>(to - from + 1), nullptr, 0) != 0;
        }
        // Partial bytes are read by the painter: the tile needs its pixels.
        if (RIPTileUnlock(slot) == 0 || RIPTileLockRead(slot) == 0) {
            return false;
        }
    }
    if (slot->data == nullptr) {
        return false;
    }
    const auto rowOffset = static_cast<std::uint32_t>((y - slot->bottom) * slot->rowBytes);
    if (mask.type == kTypeBilevel) {
        return ScanBits(list, slot->data + rowOffset, from - slot->left, to - slot->left);
    }
    const std::int32_t before = list->count;
    if (!ScanBytes(list, slot, rowOffset, from - slot->left, to - slot->left, threshold)) {
        return false;
    }
    for (std::int32_t i = before; i < list->count; ++i) {
        *partial = *partial || list->runs[i].coverage == kCoveragePartial;
    }
    return true;
}

// Appends the runs of old from column `skip` on, splitting the run that straddles it.
bool AppendTail(RIPRunList* list, const RIPRunList& old, std::int64_t skip) {
    std::int64_t start = 0;
    for (std::int32_t i = 0; i < old.count; ++i) {
        const RIPRun& run = old.runs[i];
        const std::int64_t end = start + run.length;
        if (end > skip) {
            const std::int64_t cut = std::max<std::int64_t>(skip - start, 0);
            if (RIPRunListAppendClass(list, static_cast<RIPCoverageClass>(run.coverage),
                                      static_cast<std::uint32_t>(run.length - cut), run.slot,
                                      run.offset + static_cast<std::uint32_t>(cut)) == 0) {
                return false;
            }
        }
        start = end;
    }
    return true;
}

}  // namespace

int RIPRegionFromMask(RIPRegion* region, RIPImage* mask, const RIPRect* rect) {
    if (region == nullptr || mask == nullptr || (mask->type != kTypeBilevel && !IsByteMask(*mask))) {
        return 0;
    }
    RIPRect r;
    if (RIPRectIntersect(&r, rect != nullptr ? *rect : mask->bounds, mask->bounds) == 0 ||
        region->width < r.Width() || region->height < r.Height()) {
        return 0;
    }
    if (region->runs == nullptr && RIPRegionInitRuns(region) == 0) {
        return 0;
    }
    RIPRunTable* table = region->runs;
    RIPTileRowIter cursor;
    RIPTileRowIterBegin(&cursor, mask, r, r.bottom, kTileLockReadCompact);
    bool ok = true, partial = false;
    for (std::int32_t y = r.bottom; ok && y <= r.top; ++y) {
        RIPTileSlot* slots = RIPTileRowIterSeek(&cursor, y);
        if (slots == nullptr) {
            ok = false;
            break;
        }
        RIPRunList fresh;
        for (std::int32_t i = 0; ok && i < cursor.count; ++i) {
            RIPTileSlot* slot = &slots[i];
            ok = BuildPiece(&fresh, *mask, slot, y, std::max(r.left, slot->left),
                            std::min(r.right, slot->right), table->threshold, &partial);
        }
        RIPRunList& row = table->rows[y - r.bottom];
        ok = ok && AppendTail(&fresh, row, r.Width());
        if (ok) {
            RIPRunListFree(&row);
            row = fresh;
        } else {
            RIPRunListFree(&fresh);
        }
    }
    if (partial) {
        table->kind = kRunsFromImage;
    }
    return RIPTileRowIterEnd(&cursor) != 0 && ok ? 1 : 0;
}

int RIPRegionToBits(const RIPRegion* region, const RIPRect* rect, RIPImage* image, std::int32_t x,
                    std::int32_t y) {
    if (region == nullptr || region->runs == nullptr || image == nullptr || image->type != kTypeBilevel) {
        return 0;
    }
    const RIPRunTable& table = *region->runs;
    RIPRect r;
    const RIPRect all{0, table.rowCount - 1, table.width - 1, 0};
    if (RIPRectIntersect(&r, rect != nullptr ? *rect : all, all) == 0) {
        return 1;
    }
    // Where the rectangle lands in the image, in 64 bits before it is clipped.
    const std::int64_t left = x, bottom = y;
    const std::int64_t right = left + r.Width() - 1, top = bottom + r.Height() - 1;
    if (right < 0 || top < 0 || left >= image->width || bottom >= image->height) {
        return 1;
    }
    const RIPRect target{static_cast<std::int32_t>(std::max<std::int64_t>(left, 0)),
                         static_cast<std::int32_t>(std::min<std::int64_t>(top, image->height - 1)),
                         static_cast<std::int32_t>(std::min<std::int64_t>(right, image->width - 1)),
                         static_cast<std::int32_t>(std::max<std::int64_t>(bottom, 0))};
    std::vector<std::uint8_t> bits(static_cast<std::size_t>((r.Width() + 7) / 8));
    RIPTileRowIter cursor;
    RIPTileRowIterBegin(&cursor, image, target, target.bottom, kTileLockWrite);
    bool ok = true;
    for (std::int32_t iy = target.bottom; ok && iy <= target.top; ++iy) {
        const RIPRunList& runs = table.rows[r.bottom + (iy - bottom)];
        std::fill(bits.begin(), bits.end(), std::uint8_t{0});
        std::int64_t start = 0;
        for (std::int32_t i = 0; i < runs.count; ++i) {
            const std::int64_t end = start + runs.runs[i].length;
            const std::int64_t from = std::max<std::int64_t>(start, r.left),
                               to = std::min<std::int64_t>(end, r.right + 1);
            if (runs.runs[i].coverage == kCoverageFull && from < to) {
                RIPSetBitRun(bits.data(), static_cast<std::uint32_t>(from - r.left),
                             static_cast<std::uint32_t>(to - from), 1);
            }
            start = end;
        }
        RIPTileSlot* slots = RIPTileRowIterSeek(&cursor, iy);
        ok = slots != nullptr;
        for (std::int32_t i = 0; ok && i < cursor.count; ++i) {
            RIPTileSlot& slot = slots[i];
            const std::int32_t from = std::max(target.left, slot.left),
                               to = std::min(target.right, slot.right);
            std::uint8_t* row = slot.data + static_cast<std::ptrdiff_t>(iy - slot.bottom) * slot.rowBytes;
            RIPCopyBitsAtOffset(row, static_cast<std::uint32_t>(from - slot.left), bits.data(),
                                static_cast<std::uint32_t>(from - left),
                                static_cast<std::uint32_t>(to - from + 1));
        }
    }
    return RIPTileRowIterEnd(&cursor) != 0 && ok ? 1 : 0;
}

int RIPScaleRegion(RIPRegion* out, const RIPRect& dstRect, const RIPRegion* source, const RIPRect& srcRect) {
    const std::int64_t sw = srcRect.Width(), sh = srcRect.Height(), dw = dstRect.Width(),
                       dh = dstRect.Height();
    const auto fits = [](std::int64_t v) { return v >= 1 && v <= 0x7FFFFFFF; };
    if (out == nullptr || source == nullptr || !fits(sw) || !fits(sh) || !fits(dw) || !fits(dh)) {
        return 0;
    }
    const auto w = [](std::int64_t v) { return static_cast<std::int32_t>(v); };
    RIPImage* from = RIPCreateImageEx(kTypeBilevel, w(sw), w(sh), 0, 0, kAllowTiling, nullptr, 0);
    RIPImage* to = RIPCreateImageEx(kTypeBilevel, w(dw), w(dh), 0, 0, kAllowTiling, nullptr, 0);
    const int ok = from != nullptr && to != nullptr && RIPRegionToBits(source, &srcRect, from, 0, 0) != 0 &&
                   RIPStretchBlitInContext(nullptr, to, 0, 0, w(dw), w(dh), nullptr, from, 0, 0, w(sw), w(sh),
                                           nullptr, 0) != 0 &&
                   RIPRegionFromMask(out, to, nullptr) != 0;
    RIPDestroyImage(from);
    RIPDestroyImage(to);
    return ok ? 1 : 0;
}

}  // namespace raster
