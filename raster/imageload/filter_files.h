// The file callbacks of a filter context (write, row read-back, seek, read)
// and its default row callback, which buffers a whole frame.
#pragma once

#include "imageload/filter_context.h"

namespace imageload {

void InstallFileCallbacks(FilterContext* context);

// Bytes a row of the frame in the context: width × bits per pixel, padded
// to a multiple of 4 bytes; 0 for a width or depth it cannot hold.
std::uint32_t FrameStride(const FilterContext& context);

}  // namespace imageload
