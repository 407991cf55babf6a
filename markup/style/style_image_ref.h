// A record's hold on a picture of the image cache: one use of the cache's
// image, taken when the record sets or copies it and given back once when
// the record lets it go.
#pragma once

#include "imageload/image_handler.h"

namespace markup::style::detail {

class StyleImageRef {
  public:
    StyleImageRef() = default;
    ~StyleImageRef() { Reset(); }
    StyleImageRef(const StyleImageRef& other) : image_(other.image_) { TakeUse(image_); }
    StyleImageRef& operator=(const StyleImageRef& other) {
        if (other.image_ != image_) {
            TakeUse(other.image_);
            Reset(other.image_);
        }
        return *this;
    }

    imageload::Image* Get() const { return image_; }
    // Keeps an image whose use the caller already took (as the cache's
    // GetImage takes one), giving back the one held before.
    void Reset(imageload::Image* image = nullptr) {
        imageload::Image* held = image_;
        image_ = image;
        if (held) imageload::ImageHandler::Instance().ReleaseImage(held);
    }

  private:
    // Records without pictures never reach the cache, so that documents
    // without images do not make it.
    static void TakeUse(imageload::Image* image) {
        if (image) imageload::ImageHandler::Instance().AddReference(image);
    }

    imageload::Image* image_ = nullptr;
};

}  // namespace markup::style::detail
