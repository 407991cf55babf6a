// The image-to-image entry: pairs the blit pipeline already converts go to
// it unchanged, error diffusion into bilevel and 8-bit paletted images and
// into 4-bit images of the 16-colour palette goes to the whole-rectangle
// converters (so errors carry over tile edges), and everything else is
// walked tile by tile, each overlapping piece handed to RIPConvertPair.
#include "convert/convert_image.h"

#include <algorithm>

#include "raster/blit_entry.h"
#include "raster/image.h"
#include "raster/palette.h"
#include "raster/progress.h"
#include "raster/raster_state.h"
#include "raster/storage.h"
#include "raster/tile_cursor.h"
#include "whole_reductions.h"

namespace raster::convert {
namespace {

// Source → destination pairs (by format index) the blit converts one to one.
constexpr bool kDirectBlit[10][10] = {
    // to: 1      3      5      6      P8     11     P1/4   12     14
    {true, false, true, false, false, false, false, false, false, false},   // from 1
    {false, true, false, false, false, false, false, false, false, false},  // from 3
    {true, false, true, false, false, false, false, false, false, false},   // from 5, 99
    {true, false, true, true, false, true, false, false, false, false},     // from 6
    {false, false, false, false, false, true, false, false, false, false},  // from 10 (8 bits)
    {false, false, false, false, false, true, false, false, false, false},  // from 11
    {},                                                                     // from 10 (1, 4 bits)
    {false, false, false, false, false, false, false, true, false, false},  // from 12
    {false, false, false, false, false, false, false, false, true, false},  // from 14
    {},
};

// An 8-bit grey image that carries a palette converts as a paletted one for
// the length of the call; its type comes back on every exit.
class PalettedGrey {
  public:
    PalettedGrey(RIPImage* a, RIPImage* b) : a_(Take(a)), b_(b != a ? Take(b) : nullptr) {}
    ~PalettedGrey() {
        if (a_ != nullptr) a_->type = kTypeGrey8;
        if (b_ != nullptr) b_->type = kTypeGrey8;
    }
    PalettedGrey(const PalettedGrey&) = delete;
    PalettedGrey& operator=(const PalettedGrey&) = delete;

  private:
    static RIPImage* Take(RIPImage* image) {
        if (image == nullptr || image->type != kTypeGrey8 || image->palette == nullptr) return nullptr;
        image->type = kTypePaletted;
        return image;
    }
    RIPImage* a_;
    RIPImage* b_;
};

// The caller's state is used opaque for the call (a conversion replaces
// pixels, it does not blend them) and gets its opacity back on exit; without
// one a temporary state is made on first need and destroyed on exit.
class CallState {
  public:
    explicit CallState(RIPRasterState* given) : state_(given) {
        if (state_ != nullptr) {
            saved_ = state_->opacity;
            state_->opacity = 255;
        }
    }
    ~CallState() {
        if (owned_) {
            RIPDestroyRS(state_);
        } else if (state_ != nullptr) {
            state_->opacity = saved_;
        }
    }
    CallState(const CallState&) = delete;
    CallState& operator=(const CallState&) = delete;

    RIPRasterState* given() const { return owned_ ? nullptr : state_; }
    // The state to convert with; null when a temporary cannot be made.
    RIPRasterState* Ensure() {
        if (state_ == nullptr) {
            state_ = RIPCreateRS();
            owned_ = state_ != nullptr;
        }
        return state_;
    }

  private:
    RIPRasterState* state_;
    std::uint8_t saved_ = 255;
    bool owned_ = false;
};

std::int64_t TilesAcross(const RIPImage* image, const RIPRect& r) {
    return static_cast<std::int64_t>(r.right / image->tileWidth - r.left / image->tileWidth + 1) *
           (r.top / image->tileHeight - r.bottom / image->tileHeight + 1);
}

// Visits the pieces of the rectangle in each slot of the image, each slot
// locked with `lock`, under a nested progress range of one step per slot:
// fn(slot, piece) → 0 ends the walk with 0.
template <class Fn>
int ForEachPiece(RIPRasterState* state, RIPImage* image, const RIPRect& rect, RIPTileLockMode lock, Fn fn) {
    RIPRect inside;
    if (RIPRectIntersect(&inside, rect, image->bounds) == 0) return 1;
    RIPProgressRange range;
    RIPProgressPushRange(&range, state, 1, TilesAcross(image, inside));
    int result = 1;
    RIPRowIter cursor;
    for (RIPTileSlot* slot = RIPRowIterBegin(&cursor, image, rect, lock); slot != nullptr;
         slot = RIPRowIterNext(&cursor)) {
        if (fn(slot, cursor.piece) == 0) {
            result = 0;
            break;
        }
        RIPProgressStep(&range, 1);
    }
    if (RIPRowIterEnd(&cursor) == 0) result = 0;
    RIPProgressPopRange(&range, state);
    return result;
}

// Each destination piece against every source piece under it (dx, dy: source
// minus destination), converted by RIPConvertPair in slot-relative terms.
int WalkTiles(RIPRasterState* state, RIPImage* destination, const RIPRect& clipped, RIPImage* source,
              std::int32_t dx, std::int32_t dy) {
    return ForEachPiece(
        state, destination, clipped, kTileLockWrite, [&](RIPTileSlot* dslot, const RIPRect& piece) {
            RIPRect wanted = piece;
            RIPRectOffset(&wanted, dx, dy);
            return ForEachPiece(
                state, source, wanted, kTileLockRead, [&](RIPTileSlot* sslot, const RIPRect& q) {
                    return RIPConvertPair(state, destination, dslot, q.left - dx - dslot->left,
                                          q.bottom - dy - dslot->bottom, source, sslot, q.left - sslot->left,
                                          q.bottom - sslot->bottom, static_cast<std::int32_t>(q.Width()),
                                          static_cast<std::int32_t>(q.Height()));
                });
        });
}

}  // namespace

int RIPFormatIndex10(std::int32_t type, std::int32_t bitsPerPixel) {
    switch (type) {
        case kTypeRGB24:
            return 0;
        case kTypeCMYK32:
            return 1;
        case kTypeGrey8:
        case kTypeCoverage:
            return 2;
        case kTypeBilevel:
            return 3;
        case kTypePaletted:
            return bitsPerPixel == 8 ? 4 : 6;
        case kTypeLab24:
            return 5;
        case kTypeRGB48:
            return 7;
        case kTypeGrey16:
            return 8;
        default:
            return -1;
    }
}

int RIPCheckConvertRects(const RIPImage* destination, std::int32_t x, std::int32_t y, const RIPImage* source,
                         std::int32_t sourceX, std::int32_t sourceY, std::int32_t width,
                         std::int32_t height) {
    if (destination == nullptr || source == nullptr || x < 0 || y < 0 || sourceX < 0 || sourceY < 0 ||
        width < 0 || height < 0) {
        return 0;
    }
    const auto fits = [](std::int32_t at, std::int32_t n, std::int32_t limit) {
        return static_cast<std::int64_t>(at) + n <= limit;
    };
    return fits(x, width, destination->width) && fits(y, height, destination->height) &&
                   fits(sourceX, width, source->width) && fits(sourceY, height, source->height)
               ? 1
               : 0;
}

int RIPConvertImageToImage(RIPRasterState* state, RIPImage* destination, std::int32_t x, std::int32_t y,
                           RIPImage* source, std::int32_t sourceX, std::int32_t sourceY, std::int32_t width,
                           std::int32_t height) {
    if (destination == nullptr || source == nullptr || width < 1 || height < 1) return 0;
    // The indexes come from the types as they are; a paletted grey image then
    // converts as a paletted one.
    const int from = RIPFormatIndex10(source->type, source->bitsPerPixel);
    const int to = RIPFormatIndex10(destination->type, destination->bitsPerPixel);
    PalettedGrey asPaletted(source, destination);
    CallState call(state);
    if (from < 0 || to < 0) return 0;
    if (kDirectBlit[from][to]) {
        return RIPStretchBlitInContext(call.given(), destination, x, y, width, height, nullptr, source,
                                       sourceX, sourceY, width, height, nullptr,
                                       kIgnoreMask | kIgnoreLinkedImage);
    }
    const RIPRect wanted{
        x, static_cast<std::int32_t>(std::min<std::int64_t>(std::int64_t{y} + height - 1, INT32_MAX)),
        static_cast<std::int32_t>(std::min<std::int64_t>(std::int64_t{x} + width - 1, INT32_MAX)), y};
    RIPRect clipped;
    if (RIPRectIntersect(&clipped, wanted, destination->bounds) == 0) return 0;
    RIPRasterState* rs = call.Ensure();
    if (rs == nullptr) return 0;
    const std::int32_t dx = sourceX - x, dy = sourceY - y;
    if (rs->ditherMethod == 2) {
        RIPWholeConverter whole = RIPDiffusionConverter(from, to);
        if (whole == nullptr && destination->bitsPerPixel == 4 &&
            RIPGetPaletteKind(destination->palette) == kPaletteStandard16) {
            whole = RIPStdPal4DiffusionConverter(from);
        }
        if (whole != nullptr) {
            return whole(
                rs, destination, clipped.left, clipped.bottom, static_cast<std::int32_t>(clipped.Width()),
                static_cast<std::int32_t>(clipped.Height()), source, clipped.left + dx, clipped.bottom + dy);
        }
    }
    return WalkTiles(rs, destination, clipped, source, dx, dy);
}

}  // namespace raster::convert
