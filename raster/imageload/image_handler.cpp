// The image cache's tables: pictures by source name and size in 13 hashed
// buckets, placeholders by media code; every look-up and release under the
// cache's lock, including the decoding of a new picture.
#include "imageload/image_handler.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>

#include "markup/faults.h"
#include "placeholders.h"

namespace imageload {

struct ImageHandler::ImageNode {
    std::unique_ptr<Image> image;
    std::int32_t width = 0;  // the image's size at insertion
    std::int32_t height = 0;
    std::unique_ptr<ImageNode> next;
};

namespace {

constexpr Placeholder kPlaceholders[kMediaCodeCount] = {
    {13005, 32, 32},   {13008, 141, 56}, {13003, 100, 32}, {13004, 100, 32},
    {13002, 100, 100}, {13007, 100, 100}, {13001, 160, 123}, {13006, 150, 100},
    {13009, 130, 193}, {13010, 18, 13},  {13011, 18, 13},   {13012, 31, 17},
};

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// Orders entries by name (bytes), then width, then height; a 0 in the key
// matches any width or height.
int CompareKey(const char* name, std::int32_t width, std::int32_t height, const char* keyName, std::int32_t keyWidth,
               std::int32_t keyHeight) {
    if (const int byName = std::strcmp(name, keyName); byName != 0) return byName;
    if (keyWidth != 0 && width != keyWidth) return width < keyWidth ? -1 : 1;
    if (keyHeight != 0 && height != keyHeight) return height < keyHeight ? -1 : 1;
    return 0;
}

}  // namespace

const Placeholder* PlaceholderFor(std::int32_t code) {
    return code >= 0 && code < kMediaCodeCount ? &kPlaceholders[code] : nullptr;
}

ImageHandler::ImageHandler() { markup::Singleton<ImageHandler>::CheckConstruction(); }

ImageHandler::~ImageHandler() {
    // Long lists are unlinked one node at a time, not by recursion.
    auto empty = [](std::unique_ptr<ImageNode>& head) {
        while (head) head = std::move(head->next);
    };
    for (auto& bucket : images_) empty(bucket);
    for (auto& bucket : placeholders_) empty(bucket);
}

std::int32_t ImageHandler::ClassifySource(const markup::String& source) {
    const std::string text = source.Text();
    if (text.empty()) return kMediaPicture;
    const std::size_t dot = text.rfind('.');
    const std::string ext = dot == std::string::npos ? std::string() : Upper(text.substr(dot + 1));
    if (text.find('?') != std::string::npos) {
        return ext == "EXE?COUNTER" || ext == "EXE?COUNT" ? kMediaCounter : kMediaQuery;
    }
    if (ext == "AU" || ext == "MIDI" || ext == "MID" || ext == "WAV" || ext == "AIFF") return kMediaSound;
    if (ext == "CLASS") return kMediaApplet;
    if (ext == "XXXXX") return kMediaUnknown;
    if (ext == "ACTIVEX") return kMediaActiveX;
    if (ext == "MOV") return kMediaMovie;
    if (ext == "SCRIPT") return kMediaScript;
    if (ext == "HIDDEN") return kMediaHidden;
    if (ext == "JSP") return kMediaServerPage;
    return kMediaPicture;
}

std::int32_t ImageHandler::HashSource(const markup::String& source) {
    const std::uint32_t length = source.Length();
    if (length == 0) return 0;
    const char* text = source.Text();
    const std::int32_t first = static_cast<std::int8_t>(text[0]);
    const std::int32_t middle = static_cast<std::int8_t>(text[length / 2]);
    std::int32_t hash = (static_cast<std::int32_t>(length) + 4 * (first + 4 * middle)) % kImageBuckets;
    if (hash < 0) hash += kImageBuckets;
    return hash;
}

std::size_t ImageHandler::ImageCount() const {
    std::lock_guard guard(lock_);
    std::size_t count = 0;
    for (const auto& bucket : images_) {
        for (const ImageNode* n = bucket.get(); n; n = n->next.get()) ++count;
    }
    return count;
}

Image* ImageHandler::FindOrLoad(const markup::String& source, platform::Rect& rect) {
    const std::int32_t bucket = HashSource(source);
    if (bucket < 0 || bucket >= kImageBuckets) throw markup::InvalidArgumentFault();
    // The first entry not ordered before the key.
    auto position = [&](std::int32_t width, std::int32_t height) {
        std::unique_ptr<ImageNode>* link = &images_[bucket];
        while (*link && CompareKey((*link)->image->source.Text(), (*link)->width, (*link)->height, source.Text(),
                                   width, height) < 0) {
            link = &(*link)->next;
        }
        return link;
    };
    const std::int32_t width = std::abs(rect.Width());
    const std::int32_t height = std::abs(rect.Height());
    std::unique_ptr<ImageNode>* link = position(width, height);
    Image* image = nullptr;
    if (*link && CompareKey((*link)->image->source.Text(), (*link)->width, (*link)->height, source.Text(), width,
                            height) == 0) {
        image = (*link)->image.get();
        image->ReloadIfChanged();
    } else {
        GraphicImage* made = GraphicImage::Create(source);
        if (!made) throw markup::InvalidArgumentFault();
        auto node = std::make_unique<ImageNode>();
        node->image.reset(made);
        node->width = made->bounds.Width();
        node->height = made->bounds.Height();
        // Placed by the size it has, which may differ from the one asked for.
        link = position(node->width, node->height);
        node->next = std::move(*link);
        *link = std::move(node);
        image = made;
    }
    image->MatchSize(rect);
    ++image->useCount;
    return image;
}

Image* ImageHandler::Lookup(const markup::String& source, const void* callerContext, platform::Rect& rect) {
    const std::int32_t code = ClassifySource(source);
    if (code == kMediaPicture && !source.IsEmpty()) return FindOrLoad(source, rect);
    rect = {rect.left, rect.top, rect.left, rect.top};
    return GetPlaceholder(code, callerContext, rect);
}

Image* ImageHandler::GetImage(const markup::String& source, std::int32_t& width, std::int32_t& height, int& loaded,
                              const void* callerContext) {
    std::lock_guard guard(lock_);
    loaded = 1;
    platform::Rect rect{0, 0, width, height};
    try {
        Image* image = Lookup(source, callerContext, rect);
        loaded = image->loaded;
        width = std::abs(rect.right);
        height = std::abs(rect.bottom);
        return image;
    } catch (...) {
        loaded = 0;
    }
    if (!callerContext) return nullptr;
    rect = {rect.left, rect.top, rect.left, rect.top};
    try {
        Image* placeholder = GetPlaceholder(kMediaPicture, callerContext, rect);
        width = std::abs(rect.right);
        height = std::abs(rect.bottom);
        return placeholder;
    } catch (...) {
        width = height = 0;
        return nullptr;
    }
}

Image* ImageHandler::GetPlaceholder(std::int32_t code, const void*, platform::Rect& rect) {
    // The placeholder table changes here, so this takes the lock too.
    std::lock_guard guard(lock_);
    if (code < 0 || code >= kMediaCodeCount) throw markup::InvalidArgumentFault();
    std::unique_ptr<ImageNode>& head = placeholders_[code];
    if (!head) {
        auto node = std::make_unique<ImageNode>();
        node->image = std::make_unique<ProxyImage>(code);
        node->width = node->image->bounds.Width();
        node->height = node->image->bounds.Height();
        head = std::move(node);
    }
    Image* image = head->image.get();
    ++image->useCount;
    rect = image->bounds;
    return image;
}

std::uint32_t ImageHandler::AddReference(Image* image) {
    std::lock_guard guard(lock_);
    return image ? ++image->useCount : 0;
}

std::uint32_t ImageHandler::ReleaseImage(Image* image) {
    std::lock_guard guard(lock_);
    if (!image) return 0;
    if (image->useCount > 0) --image->useCount;
    if (image->useCount > 0) return image->useCount;
    auto unlink = [image](std::unique_ptr<ImageNode>& head) {
        for (std::unique_ptr<ImageNode>* link = &head; *link; link = &(*link)->next) {
            if ((*link)->image.get() == image) {
                *link = std::move((*link)->next);
                return true;
            }
        }
        return false;
    };
    if (!image->source.IsEmpty()) {
        unlink(images_[HashSource(image->source)]);
    } else {
        for (auto& bucket : placeholders_) {
            if (unlink(bucket)) break;
        }
    }
    return 0;
}

}  // namespace imageload
