// Widening a 4-bit paletted frame into an 8-bit paletted image over the same
// palette, which the wide image then owns.
#include "convert/convert_image.h"
#include "imageload/filter_image_reader.h"

namespace imageload {

int FilterImageReader::WidenFourBitFrame() {
    raster::RIPImage* narrow = target_;
    raster::RIPImage* wide =
        raster::RIPCreatePalettedImageEx(narrow->palette, narrow->width, narrow->height, 8, 1, narrow->xResolution,
                                         narrow->yResolution, raster::kAllowTiling, nullptr, 0);
    if (!wide) return 0;
    if (!raster::convert::RIPConvertImageToImage(nullptr, wide, 0, 0, narrow, 0, 0, narrow->width,
                                                 narrow->height)) {
        raster::RIPDestroyImage(wide);  // borrows the palette: it stays with the narrow frame
        return 0;
    }
    narrow->flags |= raster::kImagePaletteBorrowed;
    wide->flags &= ~raster::kImagePaletteBorrowed;
    raster::RIPDestroyImage(narrow);
    target_ = wide;
    return 1;
}

}  // namespace imageload
