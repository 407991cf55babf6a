// Rows through lookup tables, rows shown on the monitor as the printer
// renders them, and rows proofed through the printer into the working
// space.
#include <array>
#include <cstring>
#include <memory>

#include "cms_internal.h"
#include "colour/cms.h"
#include "colour/lookup_tables.h"
#include "colour/profile_catalogue.h"
#include "colour/proofing.h"
#include "colour/rows.h"
#include "colour/settings.h"
#include "row_buffers.h"

namespace colour {
namespace {

// Small masks, single colours above all, need no heap.
constexpr int kFixedMask = 256;

const std::uint8_t* TableOf(int kind) {
    const std::uint8_t* table = detail::KindLookupTable(kind);
    if (table == nullptr && ClrEnsureLookupTable(kind)) table = detail::KindLookupTable(kind);
    return table;
}

// A mask buffer: the fixed one when it is large enough, else from the heap.
struct MaskBuffer {
    std::uint8_t* Get(std::size_t bytes) {
        if (bytes <= fixed.size()) return fixed.data();
        heap.reset(new (std::nothrow) std::uint8_t[bytes]);
        return heap.get();
    }
    std::array<std::uint8_t, kFixedMask> fixed{};
    std::unique_ptr<std::uint8_t[]> heap;
};

bool Valid(const void* dst, const void* src, int width, int rows) {
    return dst != nullptr && src != nullptr && width > 0 && rows > 0;
}

int KindOfPair(const ClrKindsTable* kinds, int first, int second, bool tableDecides) {
    const int composite = tableDecides && kinds != nullptr ? ClrKindsComposite(kinds) : ClrModuleCompositeFlag();
    return composite == 1 ? second : first;
}

// Copies RGB or Lab rows, or narrows 48-bit ones: the fallback of the proofing paths.
int CopyFallback(int sourceLayout, const RowBlock& r) {
    if (sourceLayout == kRowsRGB48)
        return ClrRGB48ToRGBPlain(r.source, static_cast<int>(r.sourceStride), r.destination,
                                  static_cast<int>(r.destinationStride), r.width, r.rows);
    detail::CopyPixelRows(r.source, r.sourceStride, r.destination, r.destinationStride,
                          static_cast<std::ptrdiff_t>(r.width) * 3, r.rows);
    return 1;
}

int EvalLayoutOf(int sourceLayout) {
    return sourceLayout == kRowsLab ? kEvalLayoutLab : sourceLayout == kRowsRGB48 ? kEvalLayoutRGB48 : kEvalLayoutRGB;
}

int EvalToRGB(const RowBlock& r, int layout, int kind, int gamut) {
    return ClrEvalRowsToRGB(r.destination, static_cast<int>(r.destinationStride), r.source,
                            static_cast<int>(r.sourceStride), layout, r.width, r.rows, kind, gamut);
}

}  // namespace

int ClrLookupRGBRows(std::uint8_t* dst, int dstStride, const std::uint8_t* src, int srcStride, int width,
                     int rows, int kind, int gamut) {
    if (!Valid(dst, src, width, rows)) return 0;
    const std::uint8_t* table = TableOf(kind);
    if (table == nullptr) return 0;
    MaskBuffer buffer;
    std::uint8_t* mask = nullptr;
    int masked = 0;
    if (gamut != 0) {
        mask = buffer.Get(static_cast<std::size_t>(width) * static_cast<std::size_t>(rows));
        if (mask == nullptr) return 0;
        masked = ClrGamutMask(mask, src, 0, width, rows, srcStride);
    }
    ClrLookupRGB(dst, dstStride, src, srcStride, width, rows, table);
    if (masked == 1) ClrGamutOverlay(dst, dstStride, mask, width, rows);
    return 1;
}

int ClrLookupCMYKRows(std::uint8_t* dst, int dstStride, const std::uint8_t* src, int srcStride, int width,
                      int rows, int kind, int gamut) {
    if (!Valid(dst, src, width, rows)) return 0;
    const std::uint8_t* table = TableOf(kind);
    if (table == nullptr) return 0;
    std::unique_ptr<std::uint8_t[]> mask;
    int masked = 0;
    if (gamut != 0) {
        // The check reads the rows as the working space shows them.
        const int stride = ClrPackedRowBytes3(width);
        auto rgb = stride < 0 ? nullptr : detail::AllocateRows(stride, rows);
        mask = detail::AllocateRows(width, rows);
        if (rgb && mask && ClrLookupCMYKRows(rgb.get(), stride, src, srcStride, width, rows, kind == 15 ? 14 : 7, 0))
            masked = ClrGamutMask(mask.get(), rgb.get(), 0, width, rows, stride);
    }
    ClrLookupCMYK(dst, dstStride, src, srcStride, width, rows, table);
    if (masked == 1) ClrGamutOverlay(dst, dstStride, mask.get(), width, rows);
    return 1;
}

int ClrEnsureLookupTable(int kind) {
    if (!ClrInitCms()) return 0;
    const bool anyOff = ClrDeviceEnabled(kDeviceMonitor) != 1 || ClrDeviceEnabled(kDevicePrinterRGB) != 1 ||
                        ClrDeviceEnabled(kDevicePrinterCMYK) != 1;
    if (anyOff && kind >= 1 && kind <= 22) {
        bool monitor = false, printerRGB = false, printerCMYK = false;
        switch (kind) {
            case 1:
                monitor = true;
                break;
            case 4: case 6: case 11: case 13: case 21: case 22:
                monitor = printerRGB = printerCMYK = true;
                break;
            case 5: case 7: case 8: case 12: case 14: case 15:
                monitor = printerCMYK = true;
                break;
            default:
                break;
        }
        if ((monitor && ClrDeviceEnabled(kDeviceMonitor) != 1) ||
            (printerRGB && ClrDeviceEnabled(kDevicePrinterRGB) != 1) ||
            (printerCMYK && ClrDeviceEnabled(kDevicePrinterCMYK) != 1))
            return 0;
    }
    if (!ClrWarnOnce(kind) || detail::KindTransform(kind) == nullptr) return 0;
    return ClrBuildLookupTables(kind);
}

int ClrDisplayRowsWithProof(const ClrKindsTable* kinds, int mode, int sourceLayout, const RowBlock& r, int proof) {
    if (sourceLayout != kRowsRGB && sourceLayout != kRowsLab && sourceLayout != kRowsRGB48) return 0;
    if (const std::optional<int> early = detail::EarlyResult(r.destination, r.source, r.width, r.rows)) return *early;
    const ClrSettings& s = ClrGetSettings();
    const int dstStride = static_cast<int>(r.destinationStride), srcStride = static_cast<int>(r.sourceStride);
    if (mode == 1 && s.displayProof == 0) {
        // The printer's CMYK, shown as the monitor proofs it.
        const int cmykStride = ClrPackedRowBytes4(r.width);
        auto cmyk = cmykStride < 0 ? nullptr : detail::AllocateRows(cmykStride, r.rows);
        if (!cmyk) return 0;
        const int done = ClrConvertRowsToPrinter(kinds, 1, sourceLayout, cmyk.get(), cmykStride, r.source, srcStride,
                                                 r.width, r.rows, proof);
        if (done)
            ClrProofRowsToMonitor(kinds, kRowsCMYK, r.destination, dstStride, cmyk.get(), cmykStride, r.width,
                                  r.rows, proof);
        return done;
    }
    if (mode == 0 && s.monitor == 0)
        return ClrConvertRowsToPrinter(kinds, 0, sourceLayout, r.destination, dstStride, r.source, srcStride,
                                       r.width, r.rows, 0);
    if (mode == 0 && s.proofOnMonitor == 0)
        return ClrConvertRowsToMonitor(kinds, sourceLayout, r.destination, dstStride, r.source, srcStride, r.width,
                                       r.rows);
    if (mode != 0 && mode != 1) return 0;

    const bool lab = sourceLayout == kRowsLab;
    const int layout = EvalLayoutOf(sourceLayout);
    const int kind = mode == 1 && proof ? (lab ? KindOfPair(kinds, 31, 37, true) : KindOfPair(kinds, 5, 12, true))
                                        : (lab ? KindOfPair(kinds, 30, 36, true) : KindOfPair(kinds, 4, 11, true));
    const int gamut = s.gamutWarning != 0 ? 1 : 0;
    int result = 0;
    if (kinds == nullptr) {
        result = EvalToRGB(r, layout, kind, gamut);
    } else {
        const std::uint32_t word = kinds->words[kind];
        if (!lab) {
            if (word == kKindEvaluate) {
                result = EvalToRGB(r, layout, kind, gamut);
            } else if (word == kKindLookupTable) {
                if (sourceLayout == kRowsRGB48) {
                    // The table reads 8-bit samples.
                    const int stride = ClrPackedRowBytes3(r.width);
                    auto narrow = stride < 0 ? nullptr : detail::AllocateRows(stride, r.rows);
                    if (!narrow) return 0;
                    ClrRGB48ToRGBPlain(r.source, srcStride, narrow.get(), stride, r.width, r.rows);
                    result = ClrLookupRGBRows(r.destination, dstStride, narrow.get(), stride, r.width, r.rows, kind,
                                              gamut);
                } else {
                    result = ClrLookupRGBRows(r.destination, dstStride, r.source, srcStride, r.width, r.rows, kind,
                                              gamut);
                }
            }
        } else if (word == kKindPlain && (kind == 30 || kind == 36)) {
            result = EvalToRGB(r, layout, 23, 0);
        } else if (word <= kKindLookupTable) {
            result = EvalToRGB(r, layout, kind, gamut);
        }
    }
    if (result != 0) return result;
    if (lab) return ClrLabToRGBPlain(r.source, srcStride, r.destination, dstStride, r.width, r.rows);
    return CopyFallback(sourceLayout, r);
}

int ClrProofRowsInWorkingSpace(const ClrKindsTable* kinds, int mode, int sourceLayout, const RowBlock& r,
                               int proof) {
    if (sourceLayout != kRowsRGB && sourceLayout != kRowsLab && sourceLayout != kRowsRGB48) return 0;
    if (mode != 0 && mode != 1) return 0;
    if (const std::optional<int> early = detail::EarlyResult(r.destination, r.source, r.width, r.rows)) return *early;
    if (ClrDeviceEnabled(proof ? kDevicePrinterCMYK : kDevicePrinterRGB) != 1) return CopyFallback(sourceLayout, r);
    const bool lab = sourceLayout == kRowsLab;
    const bool proofed = mode == 1 && proof;
    const int kind = proofed ? (lab ? KindOfPair(kinds, 42, 43, false) : KindOfPair(kinds, 18, 20, false))
                             : (lab ? KindOfPair(kinds, 40, 41, false) : KindOfPair(kinds, 17, 19, false));
    if (kinds != nullptr) {
        const std::uint32_t word = kinds->words[kind];
        if (word != kKindEvaluate && word != kKindLookupTable) return CopyFallback(sourceLayout, r);
    }
    const int dstStride = static_cast<int>(r.destinationStride), srcStride = static_cast<int>(r.sourceStride);
    const int done = lab ? ClrEvalRowsToLab(r.destination, dstStride, r.source, srcStride, kEvalLayoutLab, r.width,
                                            r.rows, kind, 0)
                         : EvalToRGB(r, EvalLayoutOf(sourceLayout), kind, 0);
    // A proof that cannot be made shows the colours unproofed rather than none.
    return done ? done : CopyFallback(sourceLayout, r);
}

}  // namespace colour
