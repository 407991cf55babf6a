// Single colours for an output device: references resolved, the colour
// carried to an RGB or Lab intermediate by its source model, then finished
// by the target, with one-pixel row conversions wherever a device space is
// involved.
#include "colour/output_conversion.h"

#include <algorithm>
#include <atomic>
#include <cstring>

#include "colour/convert.h"
#include "colour/inks.h"
#include "colour/profile_catalogue.h"
#include "colour/proofing.h"
#include "colour/rows.h"
#include "colour/settings.h"

namespace colour {
namespace {

std::atomic<ClrKindsTable*> g_default{nullptr};
std::atomic<ClrKindsTable*> g_alternate{nullptr};

// The table a conversion uses, and whether it is the module's default
// (a copy made for one call still counts as the table it copies).
struct Tables {
    const ClrKindsTable* kinds;
    bool isDefault;
};

constexpr int kMaxDepth = 8;

int Convert(ColorRecord* out, Tables t, int target, const ColorRecord* in, int depth);

std::uint32_t Word46(const ClrKindsTable* kinds) {
    return kinds != nullptr ? kinds->words[kKindsWorkingSpaceProof] : 0;
}

bool SpotTintOn(int spot) {
    const ClrSettings& s = ClrGetSettings();
    return (spot == 8 && s.spotTint8) || (spot == 10 && s.spotTint10) || (spot == 11 && s.spotTint11);
}

void Begin(ColorRecord* out, std::uint16_t model) {
    out->SetModel(model);
    out->SetPaletteKind(kPaletteKindPlain);
    out->At(4) = out->At(5) = out->At(6) = 0;
}

void BeginZero(ColorRecord* out, std::uint16_t model) {
    Begin(out, model);
    out->SetSpotKind(0);
    std::memset(out->bytes + 7, 0, 5);
}

bool IsWhite(const ColorRecord& c, bool lab) {
    return lab ? c.At(8) == 255 && c.At(9) == 128 && c.At(10) == 128
               : c.At(8) == 255 && c.At(9) == 255 && c.At(10) == 255;
}

RowBlock Pixel(std::uint8_t* dst, int dstStride, const std::uint8_t* src, int srcStride) {
    return RowBlock{dst, dstStride, src, srcStride, 1, 1};
}

// The mode and proof flag of working-space proofing.
int ProofMode() {
    return ClrCompositeDefault() || ClrPrinterIsCMYK() ? 1 : 0;
}

int Finish(ColorRecord* out, Tables t, int target, const ColorRecord& rgb, const ColorRecord& labRecord, bool lab,
           int model) {
    Begin(out, kModelNone);
    const ColorRecord& mid = lab ? labRecord : rgb;
    const int layout = lab ? kRowsLab : kRowsRGB;
    const bool white = IsWhite(mid, lab);
    ColorRecord cmyk;
    Begin(&cmyk, kModelNone);
    const ClrSettings& s = ClrGetSettings();
    const ClrKindsTable* greyTable = s.plainGrey == 1 && model == kModelGrey ? g_default.load() : t.kinds;
    switch (target) {
        case kOutputMonitorRGB: {
            BeginZero(out, kModelRGB);
            if (Word46(t.kinds) == 1) {
                const int both = ClrCompositeDefault() ? 1 : 0;
                ClrDisplayRowsWithProof(t.kinds, both, layout, Pixel(out->Channels(), 4, mid.Channels(), 4), both);
            } else {
                ClrConvertRowsToMonitor(t.kinds, layout, out->Channels(), 4, mid.Channels(), 4, 1, 1);
            }
            return 1;
        }
        case kOutputPrinterRGB:
            if (white) {
                *out = ColorRecord::RGB(255, 255, 255);
                return 1;
            }
            BeginZero(out, kModelRGB);
            ClrConvertRowsToPrinter(t.kinds, 0, layout, out->Channels(), 4, mid.Channels(), 4, 1, 1, 0);
            return 1;
        case kModelCMYKPercent: case kOutputPrinterCMYKProofed: case kOutputPrinterCMYK:
        case kModelCMYK: case kModelCMYK2: {
            const bool percent = target == kModelCMYKPercent || target > 1000;
            if (white) {
                BeginZero(out, static_cast<std::uint16_t>(percent ? kModelCMYKPercent : target));
                return 1;
            }
            BeginZero(&cmyk, kModelCMYK);
            ClrConvertRowsToPrinter(lab ? t.kinds : greyTable, 1, layout, cmyk.Channels(), 4, mid.Channels(), 4, 1, 1,
                                    target == kOutputPrinterCMYK ? 0 : 1);
            if (percent) {
                ClrCMYKToCMYKPercent(out, &cmyk);
            } else {
                *out = cmyk;
                out->SetModel(static_cast<std::uint16_t>(target));
            }
            return 1;
        }
        case kModelCMY: ClrRGBToCMY(out, &rgb); return 1;
        case kModelHSB: ClrRGBToHSB(out, &rgb); return 1;
        case kModelHLS: ClrRGBToHLS(out, &rgb); return 1;
        case kModelGrey: ClrRGBToGrey(out, &rgb); return 1;
        case kModelYIQ: ClrRGBToYIQ(out, &rgb); return 1;
        case kModelLab: ClrRGBToLab(out, &rgb); return 1;
        case kModelLabOffset: ClrRGBToLabOffset(out, &rgb); return 1;
        case kModelRGB:
            BeginZero(out, kModelRGB);
            std::memcpy(out->Channels(), rgb.Channels(), 3);
            return 1;
        case kModelBlackWhite: {
            ColorRecord grey;
            ClrRGBToGrey(&grey, &rgb);
            ClrGreyToBW(out, &grey);
            return 1;
        }
        case kModelRegistration:
            *out = ColorRecord::CMYK(kModelRegistration, 100, 100, 100, 100);
            return 1;
        default:
            return 0;
    }
}

// CMYK sources, with proof flag p.
int CMYKSteps(ColorRecord* out, Tables t, int target, const ColorRecord& cmyk, int p, ColorRecord* rgb, int model) {
    const ClrSettings& s = ClrGetSettings();
    switch (target) {
        case kOutputMonitorRGB:
            BeginZero(out, kModelRGB);
            ClrProofRowsToMonitor(t.kinds, kRowsCMYK, out->Channels(), 4, cmyk.Channels(), 4, 1, 1, p);
            return 1;
        case kModelLab: case kModelLabOffset:
            BeginZero(out, kModelLabOffset);
            ClrConvertRowsFromPrinter(t.kinds, kRowsLab, kRowsCMYK, out->Channels(), 4, cmyk.Channels(), 4, 1, 1, p);
            if (target == kModelLab) ClrLabOffsetToLab(out, out);
            return 1;
        default: {
            const ClrKindsTable* table = s.plainGrey == 1 && target == kModelGrey ? g_default.load() : t.kinds;
            ClrConvertRowsFromPrinter(table, kRowsRGB, kRowsCMYK, rgb->Channels(), 4, cmyk.Channels(), 4, 1, 1, p);
            ColorRecord none;
            return Finish(out, t, target, *rgb, none, false, model);
        }
    }
}

int Resolve(ColorRecord* out, Tables t, int target, const ColorRecord* in, int depth) {
    const int spot = in->PaletteKind() == kPaletteKindPlain ? in->SpotKind() : in->PaletteKind();
    ColorRecord temp;
    const int model = in->Model();
    if (model == kModelUserInkByName) {
        if (ClrFindUserInk(in, &temp) != 1) return 0;
    } else if (model == kModelInk) {
        ClrGetInkColorByKind(target, static_cast<std::int16_t>(in->RefIndex()), &temp);
        const int tint = in->RefTint();
        if (tint != 100) {
            if (temp.Model() == kModelRGB) {
                for (int i = 8; i <= 10; ++i)
                    temp.At(i) = static_cast<std::uint8_t>(std::clamp(255 - (255 - temp.At(i)) * tint / 100, 0, 255));
            } else {
                for (int i = 8; i <= 11; ++i) temp.At(i) = static_cast<std::uint8_t>(std::min(100, temp.At(i) * tint / 100));
            }
        }
        if (!ClrInkUsesDefinition(target) && t.kinds != nullptr) {
            // The ink's screen appearance is not proofed again.
            ClrKindsTable unproofed = *t.kinds;
            unproofed.words[kKindsWorkingSpaceProof] = 0;
            return Convert(out, Tables{&unproofed, t.isDefault}, target, &temp, depth + 1);
        }
    } else if (model == kModelUserInkByColour) {
        const int t1 = in->At(11);
        temp = ColorRecord::RGB(static_cast<std::uint8_t>(255 - (255 - in->Red()) * t1 / 100),
                                static_cast<std::uint8_t>(255 - (255 - in->Green()) * t1 / 100),
                                static_cast<std::uint8_t>(255 - (255 - in->Blue()) * t1 / 100));
        if (t1 > 100) return 0;
    } else if ((spot == 8 || spot == 10 || spot == 11) && SpotTintOn(spot)) {
        temp.BeginClearResult(kModelCMYKPercent);
        for (int i = 8; i <= 11; ++i) temp.At(i) = static_cast<std::uint8_t>(std::min(100, in->At(i) * in->Tint() / 100));
    } else if (spot == kPaletteKindUserInk) {
        const int tint = in->Tint();
        if (model == kModelCMYKPercent || model == kModelCMYK || model == kModelCMYK2) {
            ColorRecord cmyk = *in;
            if (model == kModelCMYKPercent) ClrCMYKPercentToCMYK(&cmyk, in);
            temp.BeginClearResult(kModelCMYK);
            for (int i = 8; i <= 11; ++i) temp.At(i) = static_cast<std::uint8_t>(cmyk.At(i) * tint / 100);
        } else {
            ColorRecord copy = *in;
            copy.SetPaletteKind(kPaletteKindPlain);
            copy.SetSpotKind(0);
            if (!Convert(&temp, Tables{g_default.load(), true}, kModelRGB, &copy, depth + 1)) return 0;
            for (int i = 8; i <= 10; ++i) temp.At(i) = static_cast<std::uint8_t>(255 - (255 - temp.At(i)) * tint / 100);
        }
    } else {
        return 0;  // marked, but no rule resolves it: nothing is written
    }
    return Convert(out, t, target, &temp, depth + 1);
}

int Convert(ColorRecord* out, Tables t, int target, const ColorRecord* input, int depth) {
    if (depth > kMaxDepth) return 0;
    const ColorRecord in = *input;
    const int m = in.Model();
    // References and tints resolve before any copy, so none is copied with
    // its tint still to apply.
    if (ClrNeedsResolving(&in)) return Resolve(out, t, target, &in, depth);
    if (m == kModelCMYKPercent && (target == kOutputPrinterCMYKProofed || target == kOutputPrinterCMYK)) {
        *out = in;
        return 1;
    }
    const bool cmykModel = m == kModelCMYKPercent || m == kModelCMYK || m == kModelCMYK2;
    if (m == target && (t.isDefault || (ClrGetSettings().printerProof == 0 && cmykModel))) {
        *out = in;
        return 1;
    }
    ColorRecord rgb;
    ClrClearToBlackRGB(&rgb);
    out->SetPaletteKind(kPaletteKindPlain);
    out->SetSpotKind(0);
    if (target == kModelInk || target == kModelHexachromeRef || target == kModelUserInkByName) target = kModelRGB;
    if (m < 2 || m > 24) return 0;
    const bool w = Word46(t.kinds) == 1 && ClrGetSettings().simulatePrinter != 0;
    const int mode = ProofMode();
    const int proof = ClrCompositeDefault();
    ColorRecord lab;
    bool labMid = false;
    const bool deviceTarget = target == kModelCMYKPercent || target == kModelCMYK || target == kModelCMYK2 ||
                              target == kOutputPrinterRGB || target == kOutputMonitorRGB ||
                              target == kOutputPrinterCMYKProofed || target == kOutputPrinterCMYK;
    switch (m) {
        case kModelCMYKPercent: case kModelCMYK: case kModelCMYK2: {
            if (m == kModelCMYKPercent && (target == kModelCMYK || target == kModelCMYK2)) {
                ClrCMYKPercentToCMYK(out, &in);
                out->SetModel(static_cast<std::uint16_t>(target));
                return 1;
            }
            if (m != kModelCMYKPercent) {
                if (target == kModelCMYKPercent || target == kOutputPrinterCMYKProofed || target == kOutputPrinterCMYK) {
                    ClrCMYKToCMYKPercent(out, &in);
                    return 1;
                }
                if (target == kModelCMYK || target == kModelCMYK2) {
                    *out = in;
                    Begin(out, static_cast<std::uint16_t>(target));
                    return 1;
                }
            }
            ColorRecord cmyk = in;
            if (m == kModelCMYKPercent) ClrCMYKPercentToCMYK(&cmyk, &in);
            const int p = !ClrCompositeDefault() && ClrPrinterIsCMYK() ? 0 : 1;
            return CMYKSteps(out, t, target, cmyk, p, &rgb, m);
        }
        case kModelRegistration: {
            if (target == kOutputPrinterCMYKProofed || target == kOutputPrinterCMYK) {
                *out = ColorRecord::CMYK(kModelRegistration, 100, 100, 100, 100);
                return 1;
            }
            const ColorRecord full = ColorRecord::CMYK(kModelCMYKPercent, 100, 100, 100, 100);
            ColorRecord cmyk;
            ClrCMYKPercentToCMYK(&cmyk, &full);
            const int p = Word46(t.kinds) == 1 && !ClrCompositeDefault() && !ClrPrinterIsCMYK() ? 0 : 1;
            if (target == kOutputMonitorRGB) return CMYKSteps(out, t, target, cmyk, p, &rgb, m);
            const ClrKindsTable* table = ClrGetSettings().plainGrey == 1 && target == kModelGrey ? g_default.load() : t.kinds;
            ClrConvertRowsFromPrinter(table, kRowsRGB, kRowsCMYK, rgb.Channels(), 4, cmyk.Channels(), 4, 1, 1, p);
            break;
        }
        case kModelCMY: ClrCMYToRGB(&rgb, &in); break;
        case kModelRGB:
            if (target == kOutputHostCandidate) {
                BeginZero(out, kModelRGB);
                return ClrLabRowsToRGB(t.kinds, 3, out->Channels(), 3, in.Channels(), 3, 1, 1);
            }
            if (w) {
                ClrProofRowsInWorkingSpace(t.kinds, mode, kRowsRGB, Pixel(rgb.Channels(), 3, in.Channels(), 3), proof);
            } else {
                rgb = in;
            }
            break;
        case kModelHSB: ClrHSBToRGB(&rgb, &in); break;
        case kModelHLS: ClrHLSToRGB(&rgb, &in); break;
        case kModelBlackWhite: ClrBWToRGB(&rgb, &in); break;
        case kModelGrey: ClrGreyToRGB(&rgb, &in); break;
        case kModelYIQ: ClrYIQToRGB(&rgb, &in); break;
        case kModelGrey16: ClrGrey16ToRGB(&rgb, &in); break;
        case kModelHexachromeRef:
            ClrHexachromeEntryToColor(static_cast<std::int16_t>(in.RefIndex()), in.RefTint(), &rgb);
            break;
        case kModelLab: case kModelLabOffset: {
            if (m == kModelLab && target == kModelLabOffset) {
                ClrLabToLabOffset(out, &in);
                return 1;
            }
            if (m == kModelLabOffset && target == kModelLab) {
                ClrLabOffsetToLab(out, &in);
                return 1;
            }
            if (m == kModelLab) {
                ClrLabToLabOffset(&lab, &in);
            } else {
                lab = in;
            }
            if (deviceTarget) {
                labMid = true;
            } else if (w) {
                ColorRecord proofed = lab;
                ClrProofRowsInWorkingSpace(t.kinds, mode, kRowsLab, Pixel(proofed.Channels(), 3, lab.Channels(), 3), proof);
                ClrLabOffsetToRGB(&rgb, &proofed);
            } else if (m == kModelLab) {
                ClrLabToRGB(&rgb, &in);
            } else {
                ClrLabOffsetToRGB(&rgb, &in);
            }
            break;
        }
        case kModelRGB48:
            if (w) {
                ClrProofRowsInWorkingSpace(t.kinds, mode, kRowsRGB48, Pixel(rgb.Channels(), 3, in.bytes + 6, 6), proof);
            } else {
                ClrRGB48ToRGB(&rgb, &in);
            }
            break;
        default:
            return 0;  // 10, 13, 15, 16, 19, 21, 22
    }
    return Finish(out, t, target, rgb, lab, labMid, m);
}

}  // namespace

ClrKindsTable* ClrSetDefaultKindsTable(ClrKindsTable* table) {
    return g_default.exchange(table);
}

ClrKindsTable* ClrSetAlternateKindsTable(ClrKindsTable* table) {
    return g_alternate.exchange(table);
}

int ClrNeedsResolving(const ColorRecord* in) {
    const int palette = in->PaletteKind();
    if (palette == kPaletteKindInk || palette == kPaletteKindUserInk) return 1;
    if (palette == kPaletteKindPlain) {
        const int spot = in->SpotKind();
        if (spot == 3) return 1;
        if ((spot == 8 || spot == 10 || spot == 11) && SpotTintOn(spot)) return 1;
        return in->Model() == kModelInk ? 1 : 0;
    }
    if (palette == 8 || palette == 10 || palette == 11) return SpotTintOn(palette) ? 1 : 0;
    return 0;
}

int ClrConvertColorInContext(ColorRecord* out, const ClrKindsTable* kinds, int target, const ColorRecord* in) {
    return Convert(out, Tables{kinds, kinds == g_default.load()}, target, in, 0);
}

int ClrResolveColorInContext(ColorRecord* out, const ClrKindsTable* kinds, int target, const ColorRecord* in) {
    return Resolve(out, Tables{kinds, kinds == g_default.load()}, target, in, 0);
}

int ClrConvertColorForOutput(const ClrOutputContext* context, ColorRecord* out, int target, const ColorRecord* in) {
    ClrKindsTable* fallback = g_default.load();
    if (context == nullptr) return ClrConvertColorInContext(out, fallback, target, in);
    if (target == kOutputMonitorRGB) {
        const bool plain = std::all_of(std::begin(context->display), std::end(context->display),
                                       [](std::uint32_t w) { return w != 0; });
        if (plain) target = kModelRGB;
        return ClrConvertColorInContext(out, context->kinds, target, in);
    }
    if (target == kOutputPrinterRGB || target == kOutputPrinterCMYKProofed || target == kOutputPrinterCMYK) {
        const ClrKindsTable* table = context->alternate != 0 ? g_alternate.load() : fallback;
        if (table == nullptr) return ClrConvertColorInContext(out, nullptr, target, in);
        // The first kind of each pair, chosen in a copy of the table: neither
        // the table nor the module's composite flag keeps the choice.
        ClrKindsTable chosen = *table;
        const std::int32_t setting = ClrGetSettings().composite;
        chosen.words[kKindsComposite] = setting != 0 ? static_cast<std::uint32_t>(setting != 1) : 0;
        return Convert(out, Tables{&chosen, table == fallback}, target, in, 0);
    }
    return ClrConvertColorInContext(out, context->kinds, target, in);
}

}  // namespace colour
