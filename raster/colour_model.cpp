// Colours in an image's model, as palette indices and back, and the
// 16-colour palette's nearest entry.
#include <algorithm>

#include "colour/convert.h"
#include "raster/palette.h"
#include "raster/pixel_access.h"

namespace raster {
namespace {

struct Candidate {
    int index;
    int red, green, blue;
};

// The dark, bright and silver candidates, and the rule that picks among them.
template <class Square>
std::uint8_t Std16(int red, int green, int blue, Square sq) {
    red = std::clamp(red, 0, 255);
    green = std::clamp(green, 0, 255);
    blue = std::clamp(blue, 0, 255);
    const auto level = [](int v, int at, int value) { return v >= at ? value : 0; };
    const Candidate dark{(red >= 64) + 2 * (green >= 64) + 4 * (blue >= 64), level(red, 64, 128),
                         level(green, 64, 128), level(blue, 64, 128)};
    const Candidate bright{8 + (red >= 128) + 2 * (green >= 128) + 4 * (blue >= 128), level(red, 128, 255),
                           level(green, 128, 255), level(blue, 128, 255)};
    const auto distance = [&](const Candidate& c) {
        return sq(red - c.red) + sq(green - c.green) + sq(blue - c.blue);
    };
    const std::uint32_t silver = sq(red - 192) + sq(green - 192) + sq(blue - 192);
    const std::uint32_t d = distance(dark), b = distance(bright);
    const Candidate& winner = d > b ? bright : dark;
    return static_cast<std::uint8_t>(silver < std::min(d, b) ? 8 : winner.index);
}

}  // namespace

int RIPColorToImageModel(colour::ColorRecord* out, const RIPImage* image, const colour::ColorRecord* colour) {
    if (out == nullptr || image == nullptr || colour == nullptr) {
        return 0;
    }
    const std::uint16_t model = RIPTypeColourModel(image->type);
    if (model == colour::kModelNone) {
        return 0;
    }
    if (colour->Model() == model) {
        *out = *colour;
        return 1;
    }
    return colour::ClrConvertColor(out, model, colour) && out->Model() == model ? 1 : 0;
}

int RIPColorToImageValue(colour::ColorRecord* out, const RIPImage* image, const colour::ColorRecord* colour) {
    if (image != nullptr && image->type == kTypePaletted) {
        return RIPColorToPaletteIndex(out, image->palette, colour);
    }
    return RIPColorToImageModel(out, image, colour);
}

int RIPColorToPaletteIndex(colour::ColorRecord* out, RIPPalette* palette, const colour::ColorRecord* colour) {
    if (out == nullptr || colour == nullptr) {
        return 0;
    }
    std::uint16_t index = 0;
    if (colour->Model() == colour::kModelPaletteIndex) {
        index = colour->U16(8);
    } else {
        colour::ColorRecord rgb = *colour;
        if (rgb.Model() != colour::kModelRGB &&
            (!colour::ClrConvertColor(&rgb, colour::kModelRGB, colour) || rgb.Model() != colour::kModelRGB)) {
            return 0;
        }
        if (palette == nullptr) {
            return 0;
        }
        index = RIPGetNearestPalIndex(palette, rgb.Red(), rgb.Green(), rgb.Blue());
    }
    out->BeginClearResult(colour::kModelPaletteIndex);
    out->SetU16(8, index);
    return 1;
}

int RIPPaletteIndexToColor(colour::ColorRecord* out, const RIPPalette* palette,
                           const colour::ColorRecord* colour) {
    if (out == nullptr || colour == nullptr) {
        return 0;
    }
    if (colour->Model() != colour::kModelPaletteIndex) {
        if (colour->Model() == colour::kModelRGB) {
            *out = *colour;
            return 1;
        }
        return colour::ClrConvertColor(out, colour::kModelRGB, colour) && out->Model() == colour::kModelRGB
                   ? 1
                   : 0;
    }
    const unsigned index = colour->U16(8);
    colour::ColorRecord rgb = colour::ColorRecord::RGB(0, 0, 0);
    if (palette != nullptr && palette->count > 0) {
        const std::uint8_t* e =
            palette->Entries() + 3 * (index < static_cast<unsigned>(palette->count) ? index : 0);
        rgb.SetRGB(e[2], e[1], e[0]);
    }
    *out = rgb;
    return 1;
}

std::uint8_t RIPStd16PaletteIndex(int red, int green, int blue) {
    return Std16(red, green, blue, [](int v) { return static_cast<std::uint32_t>(v * v); });
}

void RIPInitSquareTable(std::uint32_t* table) {
    for (int v = -255; v <= 255; ++v) {
        table[v + 255] = static_cast<std::uint32_t>(v * v);
    }
}

std::uint8_t RIPBuildColorLookup(const std::uint32_t* squareTable, int red, int green, int blue) {
    const std::uint32_t* middle = squareTable + 255;
    return Std16(red, green, blue, [middle](int v) { return middle[v]; });
}

}  // namespace raster
