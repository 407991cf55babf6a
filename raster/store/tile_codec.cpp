// Codec dispatch for one tile block, and blocks of one colour: filling them
// from a colour record and reading the colour back from a first pixel.
#include <cstring>

#include "raster/store/tile_codecs.h"

namespace raster {
namespace {

bool IsWide(std::int32_t type) {
    return type == 12 || type == 14;
}

// The record's channel bytes in the pixel layout of the type (16-bit
// samples low byte first, as they sit in memory).
void FillRows(std::uint8_t* block, std::size_t rowBytes, std::size_t bytes, const std::uint8_t* pixel,
              std::size_t pixelBytes) {
    const std::size_t rows = bytes / rowBytes;
    const std::size_t pixels = rowBytes / pixelBytes;
    for (std::size_t r = 0; r < rows; ++r) {
        std::uint8_t* row = block + r * rowBytes;
        for (std::size_t p = 0; p < pixels; ++p) std::memcpy(row + p * pixelBytes, pixel, pixelBytes);
    }
}

void FillRepeated(std::uint8_t* block, std::size_t bytes, const std::uint8_t* pixel, std::size_t pixelBytes) {
    const std::size_t pixels = bytes / pixelBytes;
    for (std::size_t p = 0; p < pixels; ++p) std::memcpy(block + p * pixelBytes, pixel, pixelBytes);
}

}  // namespace

std::ptrdiff_t RIPTileCompress(RIPLZWWork* work, std::uint8_t* destination, std::size_t capacity,
                               const std::uint8_t* source, std::size_t sourceBytes, std::int32_t codec,
                               std::int32_t type) {
    switch (codec) {
        case kCodecLZW:
            return static_cast<std::ptrdiff_t>(
                RIPLZWEncode(work, destination, capacity, source, sourceBytes));
        case kCodecBitLength:
            if (IsWide(type)) {
                return static_cast<std::ptrdiff_t>(RIPTileCodecEncode16(
                    destination, capacity, reinterpret_cast<const std::uint16_t*>(source), sourceBytes / 2));
            }
            return static_cast<std::ptrdiff_t>(
                RIPTileCodecEncode8(destination, capacity, source, sourceBytes));
        default:
            return -1;
    }
}

std::int32_t RIPTileDecompress(RIPLZWWork* work, std::uint8_t* destination, const std::uint8_t* source,
                               std::size_t sourceBytes, std::size_t destinationBytes, std::int32_t type,
                               std::int32_t rowBytes, std::int32_t codec) {
    switch (codec) {
        case kCodecRaw:
            if (sourceBytes < destinationBytes) return 0;
            std::memcpy(destination, source, destinationBytes);
            return 1;
        case kCodecLZW:
            return RIPLZWDecode(work, destination, destinationBytes, source, sourceBytes) == destinationBytes
                       ? 1
                       : 0;
        case kCodecSolid: {
            if (sourceBytes < sizeof(colour::ColorRecord)) return 0;
            colour::ColorRecord colour;
            std::memcpy(colour.bytes, source, sizeof colour.bytes);
            return RIPTileFillSolid(type, destination, rowBytes, destinationBytes, colour) == 0 ? 1 : 0;
        }
        case kCodecBitLength:
            if (IsWide(type)) {
                return RIPTileCodecDecode16(reinterpret_cast<std::uint16_t*>(destination), source,
                                            sourceBytes, destinationBytes / 2);
            }
            return RIPTileCodecDecode8(destination, source, sourceBytes, destinationBytes);
        case kCodecAbsent:
            return -1;
        default:
            return 0;
    }
}

std::int32_t RIPTileFillSolid(std::int32_t type, std::uint8_t* block, std::int32_t rowBytes,
                              std::size_t bytes, const colour::ColorRecord& colour) {
    const std::uint8_t* ch = colour.bytes + 8;
    const auto rb = static_cast<std::size_t>(rowBytes > 0 ? rowBytes : 0);
    switch (type) {
        case 1:
        case 11:
            if (rb == 0) return -1;
            FillRows(block, rb, bytes, ch, 3);
            return 0;
        case 3:
            FillRepeated(block, bytes, ch, 4);
            return 0;
        case 5:
        case 10:
        case 99:
            std::memset(block, ch[0], bytes);
            return 0;
        case 6:
            std::memset(block, (ch[0] | ch[1] | ch[2] | ch[3]) != 0 ? 0xFF : 0x00, bytes);
            return 0;
        case 12:
            // Whole six-byte pixels only: a partial pixel would run past the row.
            if (rb == 0) return -1;
            FillRows(block, rb, bytes, colour.bytes + 6, 6);
            return 0;
        case 14:
            FillRepeated(block, bytes, ch, 2);
            return 0;
        default:
            return -1;
    }
}

bool RIPTileSolidColour(std::int32_t type, const std::uint8_t* p, colour::ColorRecord* colour) {
    colour::ColorRecord c;
    switch (type) {
        case 1:
            c.SetModel(colour::kModelRGB);
            std::memcpy(c.bytes + 8, p, 3);
            break;
        case 3:
            c.SetModel(colour::kModelCMYK);
            std::memcpy(c.bytes + 8, p, 4);
            break;
        case 5:
        case 99:
            c.SetModel(colour::kModelGrey);
            c.bytes[8] = p[0];
            break;
        case 10:
            c.SetModel(colour::kModelPaletteIndex);
            c.SetU16(8, p[0]);
            break;
        case 11:
            c.SetModel(colour::kModelLabOffset);
            std::memcpy(c.bytes + 8, p, 3);
            break;
        case 12:
            c.SetModel(colour::kModelRGB48);
            std::memcpy(c.bytes + 6, p, 6);
            break;
        case 14:
            c.SetModel(colour::kModelGrey16);
            std::memcpy(c.bytes + 8, p, 2);
            break;
        default:
            return false;
    }
    c.SetPaletteKind(colour::kPaletteKindPlain);
    *colour = c;
    return true;
}

}  // namespace raster
