// The row conversions' colour-managed path: each conversion kind through
// its lookup table where the kinds table asks for one and the kind has
// one, else through its transform.
#include "cms_row_path.h"

#include "cms_internal.h"
#include "colour/proofing.h"

namespace colour {
namespace {

int EvalCode(RowLayout layout) {
    switch (layout) {
        case RowLayout::kRGB:
            return kEvalLayoutRGB;
        case RowLayout::kLab:
            return kEvalLayoutLab;
        case RowLayout::kRGB48:
            return kEvalLayoutRGB48;
        case RowLayout::kCMYK:
            return kEvalLayoutCMYK;
        default:
            return -1;
    }
}

bool HasRGBTable(int kind) {
    return kind == 1 || kind == 4 || kind == 5 || kind == 11 || kind == 12;
}

bool HasCMYKTable(int kind) {
    return (kind >= 6 && kind <= 8) || (kind >= 13 && kind <= 15) || kind == 21 || kind == 22;
}

class CmsRowPath : public ManagedRowPath {
  public:
    bool EvaluateKind(const ClrKindsTable* kinds, int kind, RowLayout from, RowLayout to, const RowBlock& r,
                      bool gamutWarning) override {
        if (kind < 0 || kind >= kConversionKindCount) return false;
        const bool lookup = kinds != nullptr && kinds->words[kind] == kKindLookupTable;
        const int gamut = gamutWarning ? 1 : 0;
        const int dstStride = static_cast<int>(r.destinationStride), srcStride = static_cast<int>(r.sourceStride);
        const int fromCode = EvalCode(from);
        if (fromCode < 0) return false;
        if (from == RowLayout::kCMYK) {
            if (to == RowLayout::kRGB && lookup && HasCMYKTable(kind) &&
                ClrLookupCMYKRows(r.destination, dstStride, r.source, srcStride, r.width, r.rows, kind, gamut))
                return true;
            const int output = to == RowLayout::kRGB ? 0 : to == RowLayout::kLab ? 1 : 2;
            return ClrEvalCMYKRows(r.destination, dstStride, r.source, srcStride, output, r.width, r.rows, kind,
                                   gamut) != 0;
        }
        switch (to) {
            case RowLayout::kCMYK:
                return ClrEvalRowsToCMYK(r.destination, dstStride, r.source, srcStride, fromCode, r.width, r.rows,
                                         kind) != 0;
            case RowLayout::kRGB:
                if (lookup && from == RowLayout::kRGB && HasRGBTable(kind) &&
                    ClrLookupRGBRows(r.destination, dstStride, r.source, srcStride, r.width, r.rows, kind, gamut))
                    return true;
                return ClrEvalRowsToRGB(r.destination, dstStride, r.source, srcStride, fromCode, r.width, r.rows,
                                        kind, gamut) != 0;
            case RowLayout::kLab:
                return ClrEvalRowsToLab(r.destination, dstStride, r.source, srcStride, fromCode, r.width, r.rows,
                                        kind, 0) != 0;
            default:
                return false;
        }
    }

    bool RGBToHexachrome(const ClrKindsTable*, const RowBlock& r) override {
        return detail::HexachromeRows(r.source, r.sourceStride, r.destination, r.destinationStride, r.width, r.rows);
    }

    bool DisplayRowsWithProof(const ClrKindsTable* kinds, int mode, int sourceLayout, const RowBlock& r,
                              int proof) override {
        return ClrDisplayRowsWithProof(kinds, mode, sourceLayout, r, proof) != 0;
    }

    // RGB into Lab, through the host's candidate profile, and back.
    bool LabRowsThroughHostProfile(const ClrKindsTable*, const RowBlock& r) override {
        const int dstStride = static_cast<int>(r.destinationStride), srcStride = static_cast<int>(r.sourceStride);
        return ClrEvalRowsToLab(r.destination, dstStride, r.source, srcStride, kEvalLayoutRGB, r.width, r.rows, 24,
                                0) &&
               ClrEvalRowsToLab(r.destination, dstStride, r.destination, dstStride, kEvalLayoutLab, r.width, r.rows,
                                25, 0) &&
               ClrEvalRowsToRGB(r.destination, dstStride, r.destination, dstStride, kEvalLayoutLab, r.width, r.rows,
                                23, 0);
    }
};

}  // namespace

namespace detail {

ManagedRowPath& CmsManagedRowPath() {
    static CmsRowPath path;
    return path;
}

}  // namespace detail
}  // namespace colour
