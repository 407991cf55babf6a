// ClrConvertColor: references resolved into plain colours, then a dispatch on
// the target model and, inside it, on the source model, with RGB as the hub.
#include <algorithm>
#include <optional>

#include "colour/convert.h"
#include "colour/references.h"
#include "colour/rows.h"
#include "colour/settings.h"
#include "converter_support.h"
#include "one_pixel.h"

namespace colour {
namespace {

using detail::Start;
using Step = void (*)(ColorRecord*, const ColorRecord*);

// References may name references again (a user ink whose colour is an ink,
// a source that answers with itself); a chain this long is a loop.
constexpr int kMaxDepth = 8;

bool Convert(ColorRecord* out, int target, const ColorRecord* in, int depth);

bool Holds(const ColorRecord* out) {
    return out->Model() != kModelNone;
}

bool Fail(ColorRecord* out) {
    out->BeginResult(kModelNone);
    return false;
}

bool Copy(ColorRecord* out, const ColorRecord* in) {
    *out = *in;
    out->SetPaletteKind(kPaletteKindPlain);
    return true;
}

bool Apply(ColorRecord* out, const ColorRecord* in, Step step) {
    step(out, in);
    return Holds(out);
}

bool Apply2(ColorRecord* out, const ColorRecord* in, Step first, Step second) {
    ColorRecord temp;
    first(&temp, in);
    second(out, &temp);
    return Holds(out);
}

// The input converted to RGB first; a source without a rule leaves the
// temporary at model 0, and the step then gives model 0 too.
bool ViaRGB(ColorRecord* out, const ColorRecord* in, int depth, Step step) {
    ColorRecord rgb;
    Convert(&rgb, kModelRGB, in, depth + 1);
    step(out, &rgb);
    return Holds(out);
}

bool IsWhiteRGB(const ColorRecord* rgb) {
    return rgb->Red() == 255 && rgb->Green() == 255 && rgb->Blue() == 255;
}

// RGB to CMYK: white needs no ink and no row conversion.
void RGBRecordToCMYK(ColorRecord* out, const ColorRecord* rgb) {
    if (rgb->Model() != kModelRGB) {
        out->BeginResult(kModelNone);
        return;
    }
    if (IsWhiteRGB(rgb)) {
        Start(out, kModelCMYK);
        return;
    }
    std::uint8_t cmyk[4];
    if (!detail::OnePixelRGBToCMYK(rgb->Channels(), cmyk)) {
        out->BeginResult(kModelNone);
        return;
    }
    Start(out, kModelCMYK).SetCMYK(cmyk[0], cmyk[1], cmyk[2], cmyk[3]);
}

// Lab in the offset layout to CMYK: paper white needs no ink.
void LabOffsetToCMYK(ColorRecord* out, const ColorRecord* lab) {
    if (lab->LabL() > 254 && lab->LabOffsetA() == 128 && lab->LabOffsetB() == 128) {
        Start(out, kModelCMYK);
        return;
    }
    std::uint8_t cmyk[4];
    if (!detail::OnePixelLabToCMYK(lab->Channels(), cmyk)) {
        out->BeginResult(kModelNone);
        return;
    }
    Start(out, kModelCMYK).SetCMYK(cmyk[0], cmyk[1], cmyk[2], cmyk[3]);
}

// CMYK (model 3 or 17) to RGB through the one-pixel row conversion, or by the
// plain formula when asked.
void CMYKRecordToRGB(ColorRecord* out, const ColorRecord* cmyk, bool plain) {
    if (cmyk->Model() != kModelCMYK && cmyk->Model() != kModelCMYK2) {
        out->BeginResult(kModelNone);
        return;
    }
    std::uint8_t bgr[3];
    const bool done = plain ? ClrCMYKToRGBPlain(cmyk->Channels(), 4, bgr, 3, 1, 1) != 0
                            : detail::OnePixelCMYKToRGB(cmyk->Channels(), bgr);
    if (!done) {
        out->BeginResult(kModelNone);
        return;
    }
    *out = ColorRecord::RGB(bgr[2], bgr[1], bgr[0]);
}

void CMYKRecordToLabOffset(ColorRecord* out, const ColorRecord* cmyk) {
    std::uint8_t lab[3];
    if ((cmyk->Model() != kModelCMYK && cmyk->Model() != kModelCMYK2) ||
        !detail::OnePixelCMYKToLab(cmyk->Channels(), lab)) {
        out->BeginResult(kModelNone);
        return;
    }
    *out = ColorRecord::LabOffset(lab[0], lab[1], lab[2]);
}

// Models 2, 3 and 17 as CMYK bytes (model 3 or 17).
ColorRecord AsCMYK(const ColorRecord* in) {
    ColorRecord cmyk;
    if (in->Model() == kModelCMYKPercent) {
        ClrCMYKPercentToCMYK(&cmyk, in);
    } else {
        cmyk = *in;
    }
    return cmyk;
}

bool IsCMYKSource(int model) {
    return model == kModelCMYKPercent || model == kModelCMYK || model == kModelCMYK2;
}

// CMYK to RGB as the grey targets take it.
void CMYKToRGBForGrey(ColorRecord* out, const ColorRecord* in) {
    const ColorRecord cmyk = AsCMYK(in);
    CMYKRecordToRGB(out, &cmyk, ClrGetSettings().plainGrey != 0);
}

ColorRecord FullInkPercent() {
    return ColorRecord::CMYK(kModelCMYKPercent, 100, 100, 100, 100);
}

// The CMYK rule: the result is model 3 (or model 0 when a step failed).
void CMYKRule(ColorRecord* out, const ColorRecord* in, int depth) {
    switch (in->Model()) {
        case kModelCMYKPercent:
            ClrCMYKPercentToCMYK(out, in);
            return;
        case kModelCMYK:
        case kModelCMYK2:
            Copy(out, in);
            out->SetModel(kModelCMYK);
            return;
        case kModelRegistration:
            Start(out, kModelCMYK).SetCMYK(255, 255, 255, 255);
            return;
        case kModelRGB:
            RGBRecordToCMYK(out, in);
            return;
        case kModelLab: {
            ColorRecord lab;
            ClrLabToLabOffset(&lab, in);
            LabOffsetToCMYK(out, &lab);
            return;
        }
        case kModelLabOffset:
            LabOffsetToCMYK(out, in);
            return;
        case kModelRGB48:
            if (in->Red16() == 65535 && in->Green16() == 65535 && in->Blue16() == 65535) {
                Start(out, kModelCMYK);
            } else {
                ClrRGB48ToCMYK(out, in);
            }
            return;
        case kModelGrey:
        case kModelGrey16:
            if (ClrGetSettings().plainGrey != 0) {
                // Full black generation: a grey becomes black ink only.
                ColorRecord rgb;
                (in->Model() == kModelGrey ? ClrGreyToRGB : ClrGrey16ToRGB)(&rgb, in);
                std::uint8_t cmyk[4];
                ClrRGBToCMYKPlain(rgb.Channels(), 3, cmyk, 4, 1, 1);
                Start(out, kModelCMYK).SetCMYK(cmyk[0], cmyk[1], cmyk[2], cmyk[3]);
                return;
            }
            break;
        default:
            break;
    }
    ColorRecord rgb;
    Convert(&rgb, kModelRGB, in, depth + 1);
    RGBRecordToCMYK(out, &rgb);
}

// Applies a catalogue ink's tint to the ink's colour.
void TintInk(ColorRecord* colour, int tint) {
    if (colour->Model() == kModelRGB) {
        for (int i = 8; i <= 10; ++i) {
            colour->At(i) = detail::ClampByte(255 - (255 - colour->At(i)) * tint / 100);
        }
        return;
    }
    for (int i = 8; i <= 11; ++i)
        colour->At(i) = static_cast<std::uint8_t>(std::min(100, colour->At(i) * tint / 100));
}

bool SpotTintOn(int spotKind) {
    const ClrSettings& s = ClrGetSettings();
    switch (spotKind) {
        case 8:
            return s.spotTint8 != 0;
        case 10:
            return s.spotTint10 != 0;
        case 11:
            return s.spotTint11 != 0;
        default:
            return false;
    }
}

// References become plain colours first: catalogue inks, Hexachrome
// entries, user inks and tinted spot colours. Nothing when `in` is not a
// reference; else the result of its conversion.
std::optional<bool> ConvertReference(ColorRecord* out, int target, const ColorRecord* in, int depth) {
    ColorRecord temp;  // model 0 until a lookup fills it
    const int model = in->Model();
    if (model == kModelInk) {
        if (target == kModelInk) return false;
        if (!ClrInkCatalogue().InkColorByKind(target, in->RefIndex(), &temp)) return Fail(out);
        if (in->RefTint() != 100) TintInk(&temp, in->RefTint());
    } else if (model == kModelHexachromeRef) {
        if (target == kModelHexachromeRef) return false;
        if (target == kModelHexachrome) {
            return ClrHexachromePalette().Entry(in->RefIndex(), in->RefTint(), out) ? Holds(out) : Fail(out);
        }
        if (!ClrHexachromePalette().EntryToColor(in->RefIndex(), in->RefTint(), &temp)) return Fail(out);
    } else if (model == kModelUserInkByColour) {
        if (target == kModelUserInkByColour) return false;
        if (in->UserInkTint() == kUserInkOwnColour) {
            temp = ColorRecord::RGB(in->Red(), in->Green(), in->Blue());
        } else if (ClrUserInks().UserInkToColor(*in, &temp) != 1) {
            return Fail(out);
        }
    } else if (model == kModelUserInkByName) {
        if (target == kModelUserInkByName) return false;
        if (ClrUserInks().FindUserInk(*in, &temp) != 1) return Fail(out);
    } else if (in->PaletteKind() == kPaletteKindUserInk) {
        if (ClrUserInks().UserInkToColor(*in, &temp) != 1) return Fail(out);
    } else {
        const int spotKind = in->PaletteKind() == kPaletteKindPlain ? in->SpotKind() : in->PaletteKind();
        if (!SpotTintOn(spotKind)) return std::nullopt;
        // A spot colour printed as a tint of its process equivalent.
        const int tint = in->Tint();
        temp.BeginResult(kModelCMYKPercent);
        for (int i = 8; i <= 11; ++i)
            temp.At(i) = static_cast<std::uint8_t>(std::min(100, in->At(i) * tint / 100));
    }
    return Convert(out, target, &temp, depth + 1);
}

bool ToRGB(ColorRecord* out, const ColorRecord* in) {
    switch (in->Model()) {
        case kModelNone:
            *out = ColorRecord::RGB(255, 255, 255);
            return true;
        case kModelCMYKPercent: {
            const ColorRecord cmyk = AsCMYK(in);
            CMYKRecordToRGB(out, &cmyk, false);
            return Holds(out);
        }
        case kModelCMYK:
        case kModelCMYK2:
            CMYKRecordToRGB(out, in, false);
            return Holds(out);
        case kModelCMY:
            return Apply(out, in, ClrCMYToRGB);
        case kModelRGB:
            return Copy(out, in);
        case kModelHSB:
            return Apply(out, in, ClrHSBToRGB);
        case kModelHLS:
            return Apply(out, in, ClrHLSToRGB);
        case kModelBlackWhite:
            return Apply(out, in, ClrBWToRGB);
        case kModelGrey:
            return Apply(out, in, ClrGreyToRGB);
        case kModelYIQ:
            return Apply(out, in, ClrYIQToRGB);
        case kModelLab:
            return Apply(out, in, ClrLabToRGB);
        case kModelLabOffset:
            return Apply(out, in, ClrLabOffsetToRGB);
        case kModelRegistration: {
            const ColorRecord full = FullInkPercent();
            return ToRGB(out, &full);
        }
        case kModelRGB48:
            return Apply(out, in, ClrRGB48ToRGB);
        case kModelGrey16:
            return Apply2(out, in, ClrGrey16ToGrey, ClrGreyToRGB);
        default:
            return false;  // no rule: the output stays as it was
    }
}

bool ToRGB48(ColorRecord* out, const ColorRecord* in) {
    switch (in->Model()) {
        case kModelNone:
            *out = ColorRecord::RGB48(65535, 65535, 65535);
            return true;
        case kModelCMYKPercent:
            return Apply2(out, in, ClrCMYKPercentToCMYK, ClrCMYKToRGB48);
        case kModelRegistration: {
            const ColorRecord full = FullInkPercent();
            return Apply2(out, &full, ClrCMYKPercentToCMYK, ClrCMYKToRGB48);
        }
        case kModelCMYK:
        case kModelCMYK2:
            return Apply(out, in, ClrCMYKToRGB48);
        case kModelCMY:
            return Apply(out, in, ClrCMYToRGB48);
        case kModelRGB:
            return Apply(out, in, ClrRGBToRGB48);
        case kModelHSB:
            return Apply(out, in, ClrHSBToRGB48);
        case kModelHLS:
            return Apply(out, in, ClrHLSToRGB48);
        case kModelBlackWhite:
            return Apply(out, in, ClrBWToRGB48);
        case kModelGrey:
            return Apply(out, in, ClrGreyToRGB48);
        case kModelYIQ:
            return Apply(out, in, ClrYIQToRGB48);
        case kModelLab:
            return Apply2(out, in, ClrLabToRGB, ClrRGBToRGB48);
        case kModelLabOffset:
            return Apply(out, in, ClrLabOffsetToRGB48);
        case kModelRGB48:
            return Copy(out, in);
        case kModelGrey16:
            return Apply(out, in, ClrGrey16ToRGB48);
        default:
            return false;
    }
}

// Targets 6, 7 and 11 share their shape: from RGB, from 16-bit RGB, 16-bit
// grey through 16-bit RGB, anything else through RGB.
bool ToModelFromRGB(ColorRecord* out, const ColorRecord* in, int depth, std::uint16_t model, Step fromRGB,
                    Step fromRGB48) {
    if (in->Model() == model) return Copy(out, in);
    switch (in->Model()) {
        case kModelRGB:
            return Apply(out, in, fromRGB);
        case kModelRGB48:
            return Apply(out, in, fromRGB48);
        case kModelGrey16:
            return Apply2(out, in, ClrGrey16ToRGB48, fromRGB48);
        default:
            return ViaRGB(out, in, depth, fromRGB);
    }
}

bool ToBW(ColorRecord* out, const ColorRecord* in, int depth) {
    switch (in->Model()) {
        case kModelBlackWhite:
            return Copy(out, in);
        case kModelGrey:
            return Apply(out, in, ClrGreyToBW);
        case kModelHSB:
            return Apply2(out, in, ClrHSBToGrey, ClrGreyToBW);
        case kModelRGB48:
            return Apply2(out, in, ClrRGB48ToGrey, ClrGreyToBW);
        case kModelGrey16:
            return Apply2(out, in, ClrGrey16ToGrey, ClrGreyToBW);
        default: {
            ColorRecord grey;
            ViaRGB(&grey, in, depth, ClrRGBToGrey);
            return Apply(out, &grey, ClrGreyToBW);
        }
    }
}

// The grey targets take CMYK through RGB by their own rule, anything else
// through RGB.
bool GreyFromRGB(ColorRecord* out, const ColorRecord* in, int depth, Step fromRGB) {
    if (!IsCMYKSource(in->Model())) return ViaRGB(out, in, depth, fromRGB);
    ColorRecord rgb;
    CMYKToRGBForGrey(&rgb, in);
    return Apply(out, &rgb, fromRGB);
}

bool ToGrey(ColorRecord* out, const ColorRecord* in, int depth) {
    switch (in->Model()) {
        case kModelGrey:
            return Copy(out, in);
        case kModelRGB:
            return Apply(out, in, ClrRGBToGrey);
        case kModelHSB:
            return Apply(out, in, ClrHSBToGrey);
        case kModelBlackWhite:
            return Apply(out, in, ClrBWToGrey);
        case kModelRGB48:
            return Apply(out, in, ClrRGB48ToGrey);
        case kModelGrey16:
            return Apply(out, in, ClrGrey16ToGrey);
        default:
            return GreyFromRGB(out, in, depth, ClrRGBToGrey);
    }
}

bool ToGrey16(ColorRecord* out, const ColorRecord* in, int depth) {
    switch (in->Model()) {
        case kModelGrey16:
            return Copy(out, in);
        case kModelRGB:
            return Apply(out, in, ClrRGBToGrey16);
        case kModelGrey:
            return Apply(out, in, ClrGreyToGrey16);
        case kModelRGB48:
            return Apply(out, in, ClrRGB48ToGrey16);
        case kModelHSB:
            return Apply2(out, in, ClrHSBToGrey, ClrGreyToGrey16);
        case kModelBlackWhite:
            return Apply2(out, in, ClrBWToGrey, ClrGreyToGrey16);
        default:
            return GreyFromRGB(out, in, depth, ClrRGBToGrey16);
    }
}

// Targets 12 and 18: `offset` chooses the layout of the result.
bool ToLab(ColorRecord* out, const ColorRecord* in, int depth, bool offset) {
    const int model = in->Model();
    if (model == (offset ? kModelLabOffset : kModelLab)) return Copy(out, in);
    if (model == (offset ? kModelLab : kModelLabOffset))
        return Apply(out, in, offset ? ClrLabToLabOffset : ClrLabOffsetToLab);
    if (IsCMYKSource(model)) {
        const ColorRecord cmyk = AsCMYK(in);
        if (offset) {
            CMYKRecordToLabOffset(out, &cmyk);
            return Holds(out);
        }
        ColorRecord lab;
        CMYKRecordToLabOffset(&lab, &cmyk);
        return Apply(out, &lab, ClrLabOffsetToLab);
    }
    switch (model) {
        case kModelRGB:
            return Apply(out, in, offset ? ClrRGBToLabOffset : ClrRGBToLab);
        case kModelRGB48:
            return Apply(out, in, offset ? ClrRGB48ToLabOffset : ClrRGB48ToLab);
        case kModelGrey16:
            return Apply2(out, in, ClrGrey16ToRGB48, offset ? ClrRGB48ToLabOffset : ClrRGB48ToLab);
        default:
            return ViaRGB(out, in, depth, offset ? ClrRGBToLabOffset : ClrRGBToLab);
    }
}

bool Convert(ColorRecord* out, int target, const ColorRecord* in, int depth) {
    if (depth > kMaxDepth) return Fail(out);
    if (const std::optional<bool> resolved = ConvertReference(out, target, in, depth)) return *resolved;
    if (target < 1 || target > kLastModel) return false;
    const int model = in->Model();
    switch (target) {
        case kModelInk: {
            ColorRecord rgb;
            const ColorRecord* source = in;
            if (model != kModelRGB) {
                Convert(&rgb, kModelRGB, in, depth + 1);
                if (!Holds(&rgb)) return Fail(out);
                source = &rgb;
            }
            return ClrInkCatalogue().NearestInk(out, *source) ? Holds(out) : Fail(out);
        }
        case kModelCMYKPercent: {
            if (model == kModelCMYKPercent) return Copy(out, in);
            if (model == kModelRegistration) {
                *out = FullInkPercent();
                return true;
            }
            ColorRecord cmyk;
            CMYKRule(&cmyk, in, depth);
            return Apply(out, &cmyk, ClrCMYKToCMYKPercent);
        }
        case kModelCMYK:
        case kModelCMYK2: {
            ColorRecord cmyk;
            CMYKRule(&cmyk, in, depth);
            if (!Holds(&cmyk)) return Fail(out);
            *out = cmyk;
            out->SetModel(static_cast<std::uint16_t>(target));
            return true;
        }
        case kModelCMY:
            switch (model) {
                case kModelCMY:
                    return Copy(out, in);
                case kModelRGB:
                    return Apply(out, in, ClrRGBToCMY);
                case kModelRGB48:
                    return Apply(out, in, ClrRGB48ToCMY);
                default:
                    return ViaRGB(out, in, depth, ClrRGBToCMY);
            }
        case kModelRGB:
            return ToRGB(out, in);
        case kModelHSB:
            return ToModelFromRGB(out, in, depth, kModelHSB, ClrRGBToHSB, ClrRGB48ToHSB);
        case kModelHLS:
            return ToModelFromRGB(out, in, depth, kModelHLS, ClrRGBToHLS, ClrRGB48ToHLS);
        case kModelBlackWhite:
            return ToBW(out, in, depth);
        case kModelGrey:
            return ToGrey(out, in, depth);
        case kModelYIQ:
            return ToModelFromRGB(out, in, depth, kModelYIQ, ClrRGBToYIQ, ClrRGB48ToYIQ);
        case kModelLab:
            return ToLab(out, in, depth, false);
        case kModelLabOffset:
            return ToLab(out, in, depth, true);
        case kModelXYZ: {
            if (model == kModelXYZ) return Copy(out, in);
            if (model == kModelLab) return Apply(out, in, ClrLabToXYZ);
            ColorRecord lab;
            Convert(&lab, kModelLab, in, depth + 1);
            return Apply(out, &lab, ClrLabToXYZ);
        }
        case kModelRegistration:
            Start(out, kModelRegistration).SetCMYK(100, 100, 100, 100);
            return true;
        case kModelRGB48:
            return ToRGB48(out, in);
        case kModelGrey16:
            return ToGrey16(out, in, depth);
        default:
            return false;  // 10, 13, 14, 15, 16, 21, 22: untouched
    }
}

}  // namespace

bool ClrConvertColor(ColorRecord* out, int target, const ColorRecord* in) {
    // The input is copied first, so the output may be the input record.
    const ColorRecord source = *in;
    return Convert(out, target, &source, 0);
}

}  // namespace colour
