// The route table between the eight pixel formats, derived from one rule: a
// pair is merged in 8-bit grey when the destination is grey or bilevel and
// the source is no wider than 8 bits or is RGB or CMYK, in CMYK for grey onto
// CMYK, and in 24-bit RGB otherwise; each step is the one-step converter
// between the two formats it joins.
#include "raster/row_convert.h"

namespace raster {
namespace {

constexpr std::int32_t kFormats[8] = {1, 5, 3, 6, 10, 11, 12, 14};

// The converter that takes one format straight into another; null when none exists.
constexpr RIPRowConverter Converter(std::int32_t from, std::int32_t to) {
    if (to == 1) {
        switch (from) {
            case 3: return &RIPCMYKToRGB24;
            case 5: return &RIPGrey8ToRGB24;
            case 6: return &RIPBitsToRGB24;
            case 10: return &RIPIndex8ToRGB24;
            case 11: return &RIPLabToRGB24;
            case 12: return &RIPRGB48ToRGB24;
            case 14: return &RIPGrey16ToRGB24;
            default: return nullptr;
        }
    }
    if (from == 1) {
        switch (to) {
            case 3: return &RIPRGB24ToCMYK;
            case 5: return &RIPRGB24ToGrey8;
            case 6: return &RIPRGB24ToBits;
            case 10: return &RIPRGB24ToIndex8;
            case 11: return &RIPRGB24ToLab;
            case 12: return &RIPRGB24ToRGB48;
            case 14: return &RIPRGB24ToGrey16;
            default: return nullptr;
        }
    }
    if (to == 5) {
        switch (from) {
            case 3: return &RIPCMYKToGrey8;
            case 6: return &RIPBitsToBytes;
            case 10: return &RIPIndex8ToGrey8;
            default: return nullptr;
        }
    }
    if (from == 5) {
        switch (to) {
            case 3: return &RIPGrey8ToCMYK;
            case 6: return &RIPBytesToBits;
            case 10: return &RIPGrey8ToIndex8;
            default: return nullptr;
        }
    }
    if (from == 6 && to == 10) return &RIPBitsToIndex8;
    if (from == 10 && to == 6) return &RIPIndex8ToBits;
    return nullptr;
}

constexpr std::int32_t WorkingType(std::int32_t source, std::int32_t destination) {
    const bool narrowSource = source == 1 || source == 3 || source == 5 || source == 6 || source == 10;
    if ((destination == 5 || destination == 6) && narrowSource) return 5;
    if (source == 5 && destination == 3) return 3;
    return 1;
}

constexpr std::uint32_t FormatBits(std::int32_t type) {
    switch (type) {
        case 1:
        case 11: return 24;
        case 3: return 32;
        case 5:
        case 10: return 8;
        case 6: return 1;
        case 12: return 48;
        case 14: return 16;
        default: return 0;
    }
}

constexpr RIPConversionRouteTable BuildRoutes() {
    RIPConversionRouteTable t{};
    for (int i = 0; i < 8; ++i) {
        for (int j = 0; j < 8; ++j) {
            const std::int32_t s = kFormats[i], d = kFormats[j], w = WorkingType(s, d);
            RIPConversionRoute& r = t[i][j];
            r.direct = s != d ? Converter(s, d) : nullptr;
            r.toWorking = s != w ? Converter(s, w) : nullptr;
            r.destinationToWorking = d != w ? Converter(d, w) : nullptr;
            r.workingToDestination = d != w ? Converter(w, d) : nullptr;
            r.destinationBits = FormatBits(d);
            r.workingBits = FormatBits(w);
            r.workingType = static_cast<std::uint32_t>(w);
        }
    }
    return t;
}

}  // namespace

constexpr RIPConversionRouteTable RIPConversionRoutes = BuildRoutes();

int RIPFormatIndex8(std::int32_t type) {
    switch (type) {
        case 1: return 0;
        case 5:
        case 99: return 1;
        case 3: return 2;
        case 6: return 3;
        case 10: return 4;
        case 11: return 5;
        case 12: return 6;
        case 14: return 7;
        default: return -1;
    }
}

const RIPConversionRoute* RIPConversionRouteFor(std::int32_t sourceType, std::int32_t destinationType) {
    const int i = RIPFormatIndex8(sourceType), j = RIPFormatIndex8(destinationType);
    return i < 0 || j < 0 ? nullptr : &RIPConversionRoutes[i][j];
}

}  // namespace raster
