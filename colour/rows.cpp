// The row-conversion entries: argument checks, the conversion kind a managed
// path would evaluate, and the plain fallbacks that run when colour
// management is off or the managed path declines.
#include "colour/rows.h"

#include <climits>

#include "colour/managed_rows.h"
#include "colour/profile_catalogue.h"
#include "colour/settings.h"
#include "row_buffers.h"

namespace colour {
namespace {

using detail::AllocateRows;
using detail::CopyPixelRows;
using detail::EarlyResult;

// How a table word treats its kind: with a table, word 0 asks for the plain
// formula; without one, the kind is evaluated.
bool KindWanted(const ClrKindsTable* kinds, int kind) {
    if (kinds == nullptr) return true;
    const std::uint32_t word = kinds->words[kind];
    return word == kKindEvaluate || word == kKindLookupTable;
}

int PairChoice(const ClrKindsTable* kinds, int first, int second) {
    const int composite = kinds != nullptr ? ClrKindsComposite(kinds) : ClrModuleCompositeFlag();
    return composite == 1 ? second : first;
}

RowLayout SourceLayout(int source) {
    return source == kRowsLab ? RowLayout::kLab : source == kRowsRGB48 ? RowLayout::kRGB48 : RowLayout::kRGB;
}

bool ValidSource(int source) {
    return source == kRowsRGB || source == kRowsLab || source == kRowsRGB48;
}

// Evaluates a kind when colour management is on and the table wants it.
bool TryKind(const ClrKindsTable* kinds, int kind, RowLayout from, RowLayout to, const RowBlock& block) {
    ManagedRowPath* path = ClrActiveManagedRowPath();
    if (path == nullptr || !KindWanted(kinds, kind)) return false;
    return path->EvaluateKind(kinds, kind, from, to, block, false);
}

RowBlock Block(std::uint8_t* dst, int dstStride, const std::uint8_t* src, int srcStride, int width,
               int rows) {
    return RowBlock{dst, dstStride, src, srcStride, width, rows};
}

// The plain path to the monitor or to printer RGB.
int PlainToRGB(int source, std::uint8_t* dst, int dstStride, const std::uint8_t* src, int srcStride,
               int width, int rows) {
    switch (source) {
        case kRowsRGB:
            CopyPixelRows(src, srcStride, dst, dstStride, static_cast<std::ptrdiff_t>(width) * 3, rows);
            return 1;
        case kRowsLab:
            return ClrLabToRGBPlain(src, srcStride, dst, dstStride, width, rows);
        default:
            return ClrRGB48ToRGBPlain(src, srcStride, dst, dstStride, width, rows);
    }
}

using StridedEntry = int (*)(const ClrKindsTable*, std::uint8_t*, int, const std::uint8_t*, int, int, int);

// A packed entry: the strided one with the packed strides of its layouts
// (3 or 4 bytes a pixel).
int Packed(StridedEntry entry, int srcBytes, int dstBytes, const ClrKindsTable* kinds, std::uint8_t* dst,
           const std::uint8_t* src, int width, int rows) {
    const auto stride = [width](int bytes) {
        return bytes == 4 ? ClrPackedRowBytes4(width) : ClrPackedRowBytes3(width);
    };
    const int srcStride = stride(srcBytes), dstStride = stride(dstBytes);
    return srcStride < 0 || dstStride < 0 ? 0 : entry(kinds, dst, dstStride, src, srcStride, width, rows);
}

}  // namespace

std::int32_t ClrPackedRowBytes3(std::int32_t width) {
    if (width < 0 || width > (INT32_MAX - 3) / 3) return -1;
    return (3 * width + 3) & ~3;
}

std::int32_t ClrPackedRowBytes4(std::int32_t width) {
    if (width < 0 || width > INT32_MAX / 4) return -1;
    return 4 * width;
}

int ClrConvertRowsToPrinter(const ClrKindsTable* kinds, int output, int source, std::uint8_t* dst,
                            int dstStride, const std::uint8_t* src, int srcStride, int width, int rows,
                            int proof) {
    if (!ValidSource(source) || output < 0 || output > 2) return 0;
    if (const std::optional<int> early = EarlyResult(dst, src, width, rows)) return *early;
    const RowBlock block = Block(dst, dstStride, src, srcStride, width, rows);
    if (output == 2) {
        // Hexachrome rows exist only through colour management.
        ManagedRowPath* path = ClrActiveManagedRowPath();
        return source == kRowsRGB && path != nullptr && path->RGBToHexachrome(kinds, block) ? 1 : 0;
    }
    const int cmykStride = ClrPackedRowBytes4(width);
    const int rgbStride = ClrPackedRowBytes3(width);
    if (cmykStride < 0 || rgbStride < 0) return 0;
    if (output == 0 && ClrPrinterIsCMYK()) {
        // A CMYK printer's RGB is what its CMYK looks like.
        auto cmyk = AllocateRows(cmykStride, rows);
        if (!cmyk) return 0;
        if (!ClrConvertRowsToPrinter(kinds, 1, source, cmyk.get(), cmykStride, src, srcStride, width, rows,
                                     proof))
            return 0;
        return ClrCMYKToRGBPlain(cmyk.get(), cmykStride, dst, dstStride, width, rows);
    }
    if (output == 1 && proof == 0 && !ClrPrinterIsCMYK()) {
        // An RGB printer's CMYK is taken from its RGB.
        auto rgb = AllocateRows(rgbStride, rows);
        if (!rgb) return 0;
        if (!ClrConvertRowsToPrinter(kinds, 0, source, rgb.get(), rgbStride, src, srcStride, width, rows,
                                     proof))
            return 0;
        return ClrRGBToCMYKPlain(rgb.get(), rgbStride, dst, dstStride, width, rows);
    }
    if (ClrColourManagementOn() && source != kRowsRGB48 &&
        ClrDeviceEnabled(proof ? kDevicePrinterCMYK : kDevicePrinterRGB) == 1) {
        int kind;
        if (output == 1 && proof) {
            kind = source == kRowsRGB ? PairChoice(kinds, 3, 10) : PairChoice(kinds, 29, 35);
        } else {
            kind = source == kRowsRGB ? PairChoice(kinds, 2, 9) : PairChoice(kinds, 28, 34);
        }
        if (TryKind(kinds, kind, SourceLayout(source), output == 1 ? RowLayout::kCMYK : RowLayout::kRGB,
                    block))
            return 1;
    }
    if (output == 0) return PlainToRGB(source, dst, dstStride, src, srcStride, width, rows);
    if (source == kRowsRGB) return ClrRGBToCMYKPlain(src, srcStride, dst, dstStride, width, rows);
    auto rgb = AllocateRows(rgbStride, rows);
    if (!rgb) return 0;
    const int converted = source == kRowsLab
                              ? ClrLabRowsToRGB(kinds, 1, rgb.get(), rgbStride, src, srcStride, width, rows)
                              : ClrRGB48ToRGBPlain(src, srcStride, rgb.get(), rgbStride, width, rows);
    if (!converted) return 0;
    return ClrRGBToCMYKPlain(rgb.get(), rgbStride, dst, dstStride, width, rows);
}

int ClrConvertRowsFromPrinter(const ClrKindsTable* kinds, int output, int source, std::uint8_t* dst,
                              int dstStride, const std::uint8_t* src, int srcStride, int width, int rows,
                              int proof) {
    if (source != kRowsCMYK || output < 0 || output > 2) return 0;
    if (const std::optional<int> early = EarlyResult(dst, src, width, rows)) return *early;
    if (ClrColourManagementOn() && output != kRowsRGB48 &&
        ClrDeviceEnabled(proof ? kDevicePrinterCMYK : kDevicePrinterRGB) == 1) {
        int kind;
        if (output == kRowsRGB) {
            kind = proof ? PairChoice(kinds, 7, 14) : PairChoice(kinds, 6, 13);
        } else {
            kind = proof ? PairChoice(kinds, 33, 39) : PairChoice(kinds, 32, 38);
        }
        if (TryKind(kinds, kind, RowLayout::kCMYK, output == kRowsRGB ? RowLayout::kRGB : RowLayout::kLab,
                    Block(dst, dstStride, src, srcStride, width, rows)))
            return 1;
    }
    if (output == kRowsRGB) return ClrCMYKToRGBPlain(src, srcStride, dst, dstStride, width, rows);
    const int rgbStride = ClrPackedRowBytes3(width);
    if (rgbStride < 0) return 0;
    auto rgb = AllocateRows(rgbStride, rows);
    if (!rgb || !ClrCMYKToRGBPlain(src, srcStride, rgb.get(), rgbStride, width, rows)) return 0;
    if (output == kRowsLab)
        return ClrRGBRowsToLab(kinds, 1, dst, dstStride, rgb.get(), rgbStride, width, rows);
    return ClrRGBToRGB48Plain(rgb.get(), rgbStride, dst, dstStride, width, rows);
}

int ClrConvertRowsToMonitor(const ClrKindsTable* kinds, int source, std::uint8_t* dst, int dstStride,
                            const std::uint8_t* src, int srcStride, int width, int rows) {
    if (!ValidSource(source)) return 0;
    if (const std::optional<int> early = EarlyResult(dst, src, width, rows)) return *early;
    const RowBlock block = Block(dst, dstStride, src, srcStride, width, rows);
    if (ClrColourManagementOn()) {
        int kind = 1;
        if (ClrGetSettings().monitor == 0) {
            // Lab reaches the monitor through the working space.
            kind = source == kRowsLab ? 23 : -1;
        } else if (source == kRowsLab) {
            kind = kinds != nullptr && kinds->words[27] == kKindPlain ? 23 : 27;
        }
        if (kind >= 0 && TryKind(kinds, kind, SourceLayout(source), RowLayout::kRGB, block)) return 1;
    }
    return PlainToRGB(source, dst, dstStride, src, srcStride, width, rows);
}

int ClrProofRowsToMonitor(const ClrKindsTable* kinds, int source, std::uint8_t* dst, int dstStride,
                          const std::uint8_t* src, int srcStride, int width, int rows, int proof) {
    if (source != kRowsCMYK) return 1;
    if (const std::optional<int> early = EarlyResult(dst, src, width, rows)) return *early;
    ManagedRowPath* path = ClrActiveManagedRowPath();
    if (path == nullptr || ClrGetSettings().displayProof == 0) {
        if (!ClrConvertRowsFromPrinter(kinds, kRowsRGB, kRowsCMYK, dst, dstStride, src, srcStride, width,
                                       rows, proof))
            return 0;
        return ClrConvertRowsToMonitor(kinds, kRowsRGB, dst, dstStride, dst, dstStride, width, rows);
    }
    const RowBlock block = Block(dst, dstStride, src, srcStride, width, rows);
    bool done = false;
    if (ClrCompositeDefault()) {
        done = TryKind(kinds, PairChoice(kinds, 8, 15), RowLayout::kCMYK, RowLayout::kRGB, block);
    } else if (ClrPrinterIsCMYK()) {
        done = TryKind(kinds, PairChoice(kinds, 21, 22), RowLayout::kCMYK, RowLayout::kRGB, block);
    } else {
        // An RGB printer: the rows are taken through the printer into RGB,
        // which is then shown as the printer renders it.
        const int rgbStride = ClrPackedRowBytes3(width);
        auto rgb = rgbStride < 0 ? nullptr : AllocateRows(rgbStride, rows);
        if (rgb && ClrConvertRowsFromPrinter(kinds, kRowsRGB, kRowsCMYK, rgb.get(), rgbStride, src, srcStride, width,
                                             rows, proof)) {
            done = path->DisplayRowsWithProof(
                kinds, 1, kRowsRGB, Block(dst, dstStride, rgb.get(), rgbStride, width, rows), proof);
        }
    }
    return done ? 1 : ClrCMYKToRGBPlain(src, srcStride, dst, dstStride, width, rows);
}

int ClrLabRowsToRGB(const ClrKindsTable* kinds, int mode, std::uint8_t* dst, int dstStride,
                    const std::uint8_t* src, int srcStride, int width, int rows) {
    if (mode == 0) return 1;
    if (mode != 1 && mode != 3) return 0;
    if (const std::optional<int> early = EarlyResult(dst, src, width, rows)) return *early;
    const RowBlock block = Block(dst, dstStride, src, srcStride, width, rows);
    if (mode == 3) {
        ManagedRowPath* path = ClrActiveManagedRowPath();
        return path != nullptr && path->LabRowsThroughHostProfile(kinds, block) ? 1 : 0;
    }
    if (TryKind(kinds, 23, RowLayout::kLab, RowLayout::kRGB, block)) return 1;
    return ClrLabToRGBPlain(src, srcStride, dst, dstStride, width, rows);
}

int ClrRGBRowsToLab(const ClrKindsTable* kinds, int mode, std::uint8_t* dst, int dstStride,
                    const std::uint8_t* src, int srcStride, int width, int rows) {
    if (mode == 0) return 1;
    if (mode != 1) return 0;
    if (const std::optional<int> early = EarlyResult(dst, src, width, rows)) return *early;
    if (TryKind(kinds, 24, RowLayout::kRGB, RowLayout::kLab,
                Block(dst, dstStride, src, srcStride, width, rows)))
        return 1;
    return ClrRGBToLabPlain(src, srcStride, dst, dstStride, width, rows);
}

// Packed and strided entries.

int ClrRGBRowsToCMYKStrided(const ClrKindsTable* kinds, std::uint8_t* dst, int dstStride,
                            const std::uint8_t* src, int srcStride, int width, int rows) {
    return ClrConvertRowsToPrinter(kinds, 1, kRowsRGB, dst, dstStride, src, srcStride, width, rows, 1);
}

int ClrLabRowsToCMYKStrided(const ClrKindsTable* kinds, std::uint8_t* dst, int dstStride,
                            const std::uint8_t* src, int srcStride, int width, int rows) {
    return ClrConvertRowsToPrinter(kinds, 1, kRowsLab, dst, dstStride, src, srcStride, width, rows, 1);
}

int ClrCMYKRowsToRGBStrided(const ClrKindsTable* kinds, std::uint8_t* dst, int dstStride,
                            const std::uint8_t* src, int srcStride, int width, int rows) {
    return ClrConvertRowsFromPrinter(kinds, kRowsRGB, kRowsCMYK, dst, dstStride, src, srcStride, width, rows,
                                     1);
}

int ClrCMYKRowsToLabStrided(const ClrKindsTable* kinds, std::uint8_t* dst, int dstStride,
                            const std::uint8_t* src, int srcStride, int width, int rows) {
    return ClrConvertRowsFromPrinter(kinds, kRowsLab, kRowsCMYK, dst, dstStride, src, srcStride, width, rows,
                                     1);
}

int ClrLabRowsToRGBStrided(const ClrKindsTable* kinds, std::uint8_t* dst, int dstStride,
                           const std::uint8_t* src, int srcStride, int width, int rows) {
    return ClrLabRowsToRGB(kinds, 1, dst, dstStride, src, srcStride, width, rows);
}

int ClrRGBRowsToLabStrided(const ClrKindsTable* kinds, std::uint8_t* dst, int dstStride,
                           const std::uint8_t* src, int srcStride, int width, int rows) {
    return ClrRGBRowsToLab(kinds, 1, dst, dstStride, src, srcStride, width, rows);
}

int ClrRGBRowsToCMYK(const ClrKindsTable* kinds, std::uint8_t* dst, const std::uint8_t* src, int width,
                     int rows) {
    return Packed(ClrRGBRowsToCMYKStrided, 3, 4, kinds, dst, src, width, rows);
}

int ClrLabRowsToCMYK(const ClrKindsTable* kinds, std::uint8_t* dst, const std::uint8_t* src, int width,
                     int rows) {
    return Packed(ClrLabRowsToCMYKStrided, 3, 4, kinds, dst, src, width, rows);
}

int ClrCMYKRowsToRGB(const ClrKindsTable* kinds, std::uint8_t* dst, const std::uint8_t* src, int width,
                     int rows) {
    return Packed(ClrCMYKRowsToRGBStrided, 4, 3, kinds, dst, src, width, rows);
}

int ClrCMYKRowsToLab(const ClrKindsTable* kinds, std::uint8_t* dst, const std::uint8_t* src, int width,
                     int rows) {
    return Packed(ClrCMYKRowsToLabStrided, 4, 3, kinds, dst, src, width, rows);
}

int ClrLabRowsToRGBPacked(const ClrKindsTable* kinds, std::uint8_t* dst, const std::uint8_t* src, int width,
                          int rows) {
    return Packed(ClrLabRowsToRGBStrided, 3, 3, kinds, dst, src, width, rows);
}

int ClrRGBRowsToLabPacked(const ClrKindsTable* kinds, std::uint8_t* dst, const std::uint8_t* src, int width,
                          int rows) {
    return Packed(ClrRGBRowsToLabStrided, 3, 3, kinds, dst, src, width, rows);
}

}  // namespace colour
