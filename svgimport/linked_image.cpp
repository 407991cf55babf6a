// Images: the picture file an image names goes to the host's own image
// import through a sub-context and a callback block, and what the host made
// of it goes to the host's image entry over the image's box.
#include <algorithm>
#include <cctype>
#include <string>

#include <memory>
#include <random>

#include "canvas_detail.h"
#include "data_uri.h"
#include "platform/file_object.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "svgimport/svg_import_handle.h"

namespace SVG {

using detail::NewRecord;
using detail::RoundHost;
namespace svc = svgf::svc;

namespace {

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

// "scheme:" at the start: a letter, then letters, digits, "+", "-", "."
// (a drive letter counts as one).
bool HasScheme(std::string_view link) {
    if (link.empty() || std::isalpha(static_cast<unsigned char>(link[0])) == 0) return false;
    for (size_t i = 1; i < link.size(); ++i) {
        const auto c = static_cast<unsigned char>(link[i]);
        if (c == ':') return true;
        if (std::isalnum(c) == 0 && c != '+' && c != '-' && c != '.') return false;
    }
    return false;
}

}  // namespace

uint32_t ImageFormatOf(std::string_view link) {
    size_t name = 0;
    for (size_t i = 0; i < link.size(); ++i) {
        if (IsSeparator(link[i])) name = i + 1;
    }
    const size_t dot = link.rfind('.');
    if (dot == std::string_view::npos || dot < name || dot + 1 >= link.size()) return 0;
    switch (link[dot + 1]) {
        case 'j':
        case 'J':
            return svgf::kFormatJpeg;
        case 'g':
        case 'G':
            return svgf::kFormatGif;
        case 'p':
        case 'P':
            return svgf::kFormatPng;
        default:
            return 0;
    }
}

std::string LinkedImagePath(const char* document, std::string_view link) {
    if ((!link.empty() && IsSeparator(link[0])) || HasScheme(link)) return std::string(link);
    std::string path = document != nullptr ? document : "";
    size_t folder = 0;
    for (size_t i = 0; i < path.size(); ++i) {
        if (IsSeparator(path[i])) folder = i + 1;
    }
    path.resize(folder);
    return path.append(link);
}

int32_t SVGF_CALL ImageLoadCallback(svgf::HostImageCallbackBlock* block, svgf::HostWord, svgf::HostWord picture,
                                    svgf::HostWord a4, svgf::HostWord, svgf::HostWord, svgf::HostWord,
                                    svgf::HostWord, svgf::HostWord) {
    if (block == nullptr) return 0;
    const auto load = detail::Service<svc::ImageLoadFn>(block->services, svc::kImageLoad);
    block->result1 = load != nullptr ? load(picture) : 0;
    block->result2 = a4;
    return 0;
}

std::string WCanvas_UDI::EmbeddedPictureFile(std::string_view uri, uint32_t& format) {
    std::string bytes;
    const DataUriResult result = DecodeDataUri(uri, bytes, format);
    const std::string document = context_ != nullptr && context_->fileName != nullptr ? context_->fileName : "";
    const auto warn = [&](const std::string& why) {
        platform::ShowMessage(platform::MessageKind::Warning, svgf::kImportCaption,
                              document + ": an embedded picture is skipped: " + why);
    };
    if (result != DataUriResult::kDecoded) {
        warn(DescribeDataUriResult(result));
        return {};
    }
    // A name of its own in the temporary folder, with the extension the
    // host's image import goes by.
    static uint32_t serial = 0;
    std::random_device random;
    const char* extension = format == svgf::kFormatPng ? ".png" : format == svgf::kFormatJpeg ? ".jpg" : ".gif";
    std::string path = platform::TemporaryFolder() + "/svgfilter-picture-" + std::to_string(random()) + "-" +
                       std::to_string(++serial) + extension;
    platform::FileService& files = platform::SystemFiles();
    if (files.KindOf(path) != platform::PathKind::kNone) {
        warn("its temporary file could not be made");
        return {};
    }
    std::unique_ptr<platform::File> file = files.CreateNamed(path);
    if (file == nullptr) {
        warn("its temporary file could not be made");
        return {};
    }
    pictureFiles_.push_back(path);
    if (!file->Write(bytes) || !file->Flush()) {
        warn("its temporary file could not be written");
        return {};
    }
    return path;
}

namespace {

// The size a regular file's header declares (a device or pipe is never
// opened). Most headers lie in the first kilobytes; only a JPEG with large
// metadata needs more, up to kPictureHeaderBytes.
std::optional<WPictureSize> FileSizeOf(const std::string& path) {
    if (platform::SystemFiles().KindOf(path) != platform::PathKind::kRegular) return std::nullopt;
    platform::FileObject file;
    if (file.Open(path.c_str(), platform::kFileRead | platform::kFileBinary) != platform::FileCause::none)
        return std::nullopt;
    std::string bytes;
    std::optional<WPictureSize> size;
    for (size_t want = size_t{64} << 10; !size && bytes.size() < kPictureHeaderBytes; want *= 4) {
        const size_t had = bytes.size();
        bytes.resize(std::min(want, kPictureHeaderBytes));
        uint32_t got = 0;
        file.Read(bytes.data() + had, static_cast<uint32_t>(bytes.size() - had), got);
        bytes.resize(had + got);
        size = PictureSizeOf(bytes);
        if (got == 0) break;
    }
    file.Abort();
    return size;
}

}  // namespace

std::optional<WPictureSize> WCanvas_UDI::PictureSize(std::string_view link) {
    if (IsDataUri(link)) {
        std::string bytes;
        uint32_t format = 0;
        if (DecodeDataUri(link, bytes, format) != DataUriResult::kDecoded) return std::nullopt;
        return PictureSizeOf(bytes);
    }
    // A local file: URL names a path.
    if (link.starts_with("file://")) {
        link.remove_prefix(7);
        if (link.starts_with("localhost/")) link.remove_prefix(9);
    }
    // Where LoadLinkedImage looks: beside the document, then as written;
    // each file once per import, however many images show it.
    const std::string path = LinkedImagePath(context_ != nullptr ? context_->fileName : nullptr, link);
    const auto known = pictureSizes_.find(path);
    if (known != pictureSizes_.end()) return known->second;
    std::optional<WPictureSize> size = FileSizeOf(path);
    if (!size && path != link) size = FileSizeOf(std::string(link));
    pictureSizes_.emplace(path, size);
    return size;
}

int32_t WCanvas_UDI::LoadLinkedImage(const WImage& image, svgf::HostWord* value1, svgf::HostWord* value2) {
    std::string_view link = image.href.Text();
    uint32_t format = ImageFormatOf(link);
    std::string embedded;
    if (IsDataUri(link)) {
        embedded = EmbeddedPictureFile(link, format);
        if (embedded.empty()) return 0;
        link = embedded;
    }
    const svgf::HostServiceTable* services = Services();
    const auto prepare = detail::Service<svc::SubContextFn>(services, svc::kImportSubContext8);
    const auto open = detail::Service<svc::OpenImageHandleFn>(services, svc::kOpenImageHandle);
    const auto run = detail::Service<svc::SubContextFn>(services, svc::kImportSubContext0);
    const auto release = detail::Service<svc::ReleaseHandleFn>(services, svc::kReleaseHandle);
    if (format == 0 || prepare == nullptr || open == nullptr || run == nullptr || release == nullptr) return 0;

    auto sub = NewRecord<svgf::FilterContext>();
    auto block = NewRecord<svgf::HostImageCallbackBlock>();
    if (sub == nullptr || block == nullptr) return 0;
    std::string path = LinkedImagePath(context_->fileName, link);
    const bool joined = path != link;
    sub->size = svgf::kContextSize;
    sub->flags = svgf::kSubContextImageFlags;
    sub->subWord12 = 1;
    sub->subWord180 = 1;
    sub->services = context_->services;
    sub->fileName = path.data();
    sub->formatCode = format;
    if (prepare(sub.get()) == 0) return 0;

    block->services = context_->services;
    block->callback = &ImageLoadCallback;
    const svgf::HostHandle handle = open(svgf::kImageHandleKind, block.get());
    if (handle == 0) return 0;
    sub->hostHandle = handle;
    int32_t loaded = run(sub.get());
    if (loaded == 0 && joined) {
        // Not beside the document: the link as it is written.
        path.assign(link);
        sub->fileName = path.data();
        loaded = run(sub.get());
    }
    if (loaded != 0) {
        *value1 = block->result1;
        *value2 = block->result2;
    }
    release(handle);
    sub->hostHandle = 0;
    return loaded != 0 ? 1 : 0;
}

int32_t WCanvas_UDI::DrawImage(const WImage& image) {
    if (!Continue()) return 0;
    const auto [x, y, w, h] = detail::Upright(image.x, image.y, image.width, image.height);
    const svgf::HostBox box{RoundHost(x), RoundHost(y + h), RoundHost(x + w), RoundHost(y)};
    const Passes passes = ImagePassesOf(image.presentation);
    if (passes.count == 0) return 1;
    svgf::HostBox second = box;
    Records records;
    ApplyStyle(image.presentation, passes.pass[0], box, &second, records);
    svgf::HostTransform transform{};
    detail::InitialiseTransform(Services(), &transform);
    svgf::HostWord value1 = 0, value2 = 1;
    if (LoadLinkedImage(image, &value1, &value2) == 0) return 1;
    // The part that shows: the host crops the picture to it.
    svgf::HostBox shown = box;
    if (image.visible) {
        const auto [vx, vy, vw, vh] = detail::Upright(image.visible->x, image.visible->y, image.visible->width,
                                                      image.visible->height);
        shown = {RoundHost(std::max(vx, x)), RoundHost(std::min(vy + vh, y + h)), RoundHost(std::min(vx + vw, x + w)),
                 RoundHost(std::max(vy, y))};
        if (shown.left >= shown.right || shown.bottom >= shown.top) return 1;
    }
    PushClipPaths(image.presentation.clipPath.get());
    if (const auto draw = Drawing<svgf::draw::ImageFn>(svgf::draw::kImage)) {
        draw(current_, &records.attributes, value1, value2, &box, &transform, &shown, &box, 0);
    }
    PopClipPaths(image.presentation.clipPath.get());
    return 1;
}

}  // namespace SVG
