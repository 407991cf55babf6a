// Scaling images to a requested pixel size.
#ifndef HOST_MEDIA_RESAMPLE_H
#define HOST_MEDIA_RESAMPLE_H

#include "host/media/image.h"

namespace host::media {

// Scales to width x height: area averaging where an axis shrinks, linear
// interpolation where it grows, in premultiplied alpha so that transparent
// pixels do not darken their neighbours. The source's type and palette are
// carried over.
Status Resample(const Image& source, uint32_t width, uint32_t height, Image& out);

}  // namespace host::media

#endif  // HOST_MEDIA_RESAMPLE_H
