// Image files as a whole: telling the formats apart and decoding them through
// the shared imagecodecs library, checking what can be written, and writing
// through a temporary file so that failures leave nothing behind.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <new>
#include <span>
#include <vector>

#include "codecs.h"
#include "imagecodecs/decoded_image.h"
#include "host/media/image_codec.h"

namespace host::media {
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

Status WithPath(const std::string& path, const Status& status) {
    return status ? status : Status::Error(path + ": " + status.message());
}

bool ReadWhole(std::FILE* file, std::vector<uint8_t>& bytes) {
    uint8_t chunk[65536];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
    return !std::ferror(file);
}

// The kind of pixels the file stored, so that a bitmap can be written back
// at a depth that suits it.
uint32_t SourceTypeOf(const imagecodecs::DecodedImage& image) {
    using imagecodecs::SourceColour;
    switch (image.source) {
        case SourceColour::kPalette:
            return svgf::kSourcePaletted;
        case SourceColour::kCmyk:
            return svgf::kSourceCmyk;
        case SourceColour::kGrey:
            if (image.sourceTransparency) return svgf::kSourceRgba;
            return image.sourceBits == 1  ? svgf::kSourceBilevel
                   : image.sourceBits < 8 ? svgf::kSourceGrey4
                                          : svgf::kSourceGrey;
        case SourceColour::kRgb:
            return image.sourceTransparency ? svgf::kSourceRgba : svgf::kSourceRgb;
        default:  // grey or colour with alpha
            return svgf::kSourceRgba;
    }
}

bool Allowed(const WriteOptions& o) {
    switch (o.format) {
        case ImageFormat::kPng:
            return o.bitsPerPixel == 32 || o.bitsPerPixel == 24 || o.bitsPerPixel == 8 ||
                   o.bitsPerPixel == 4 || o.bitsPerPixel == 2 || o.bitsPerPixel == 1;
        case ImageFormat::kJpeg:
            return o.bitsPerPixel == 32 || o.bitsPerPixel == 24 || o.bitsPerPixel == 8;
        case ImageFormat::kGif:
            return o.bitsPerPixel >= 1 && o.bitsPerPixel <= 8;
    }
    return false;
}

}  // namespace

bool FormatFromCode(uint32_t formatCode, ImageFormat& out) {
    switch (formatCode) {
        case svgf::kFormatJpeg:
            out = ImageFormat::kJpeg;
            return true;
        case svgf::kFormatGif:
            out = ImageFormat::kGif;
            return true;
        case svgf::kFormatPng:
            out = ImageFormat::kPng;
            return true;
        default:
            return false;
    }
}

const char* FormatName(ImageFormat format) {
    switch (format) {
        case ImageFormat::kJpeg:
            return "JPEG";
        case ImageFormat::kGif:
            return "GIF";
        case ImageFormat::kPng:
            return "PNG";
    }
    return "?";
}

Status CheckWriteOptions(const WriteOptions& options) {
    if (!Allowed(options)) {
        return Status::Error(std::string(FormatName(options.format)) + " cannot be written at " +
                             std::to_string(options.bitsPerPixel) + " bits per pixel" +
                             (options.paletted ? " with a palette" : ""));
    }
    if (options.jpegQuality < 1 || options.jpegQuality > 100)
        return Status::Error("JPEG quality out of range");
    return {};
}

Status DecodeImageFile(const std::string& path, Image& out) {
    out = Image{};
    File file(std::fopen(path.c_str(), "rb"));
    if (!file) return Status::Error(path + ": cannot open: " + std::strerror(errno));
    std::vector<uint8_t> bytes;
    try {
        if (!ReadWhole(file.get(), bytes)) return Status::Error(path + ": cannot read: " + std::strerror(errno));
    } catch (const std::bad_alloc&) {
        return Status::Error(path + ": no memory to read the file");
    }
    const size_t got = bytes.size();
    const uint8_t* head = bytes.data();
    std::string (*decode)(std::span<const uint8_t>, const imagecodecs::DecodeRequest&, imagecodecs::DecodedImage&) =
        nullptr;
    if (got >= 8 && std::memcmp(head, "\x89PNG\r\n\x1a\n", 8) == 0) {
        decode = imagecodecs::DecodePng;
    } else if (got >= 3 && head[0] == 0xff && head[1] == 0xd8 && head[2] == 0xff) {
        decode = imagecodecs::DecodeJpeg;
    } else if (got >= 6 && (std::memcmp(head, "GIF87a", 6) == 0 || std::memcmp(head, "GIF89a", 6) == 0)) {
        decode = imagecodecs::DecodeGif;
    } else {
        return Status::Error(path + (got == 0 ? ": the file is empty" : ": not a PNG, JPEG or GIF file"));
    }
    try {
        imagecodecs::DecodedImage decoded;
        if (const std::string error = decode(bytes, {}, decoded); !error.empty()) {
            return Status::Error(path + ": " + error);
        }
        if (Status s = Image::Allocate(decoded.width, decoded.height, out); !s) return WithPath(path, s);
        for (uint32_t y = 0; y < decoded.height; ++y) imagecodecs::ExpandRowToRgba(decoded, y, out.pixel(0, y));
        out.sourceType = SourceTypeOf(decoded);
        for (const imagecodecs::Rgb& c : decoded.palette) out.palette.push_back({c.r, c.g, c.b});
    } catch (const std::bad_alloc&) {
        out = Image{};
        return Status::Error(path + ": no memory to decode the image");
    }
    return {};
}

Status WriteImageFile(const std::string& path, const Image& image, const WriteOptions& options) {
    if (Status s = CheckWriteOptions(options); !s) return WithPath(path, s);
    if (image.empty() || image.rgba.size() != size_t{image.width} * image.height * 4) {
        return Status::Error(path + ": nothing to write");
    }
    if (path.empty()) return Status::Error("no file name to write to");

    detail::PixelRows rows;
    try {
        rows = detail::LayOut(image, options);
    } catch (const std::bad_alloc&) {
        return Status::Error(path + ": no memory to lay out the image");
    }

    std::string temporary = path + ".partXXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0) return Status::Error(path + ": cannot create: " + std::strerror(errno));
    // mkstemp makes the file private; image files are for everyone to read.
    fchmod(fd, 0644);
    File file(fdopen(fd, "wb"));
    if (!file) {
        close(fd);
        unlink(temporary.c_str());
        return Status::Error(path + ": cannot create: " + std::strerror(errno));
    }
    Status status;
    switch (options.format) {
        case ImageFormat::kPng:
            status = detail::EncodePng(file.get(), rows, options.dotsPerInch);
            break;
        case ImageFormat::kJpeg:
            status = detail::EncodeJpeg(file.get(), rows, options.dotsPerInch, options.jpegQuality);
            break;
        case ImageFormat::kGif:
            status = detail::EncodeGif(file.get(), rows);
            break;
    }
    if (status && (std::fflush(file.get()) != 0 || std::ferror(file.get()))) {
        status = Status::Error(std::string("write failed: ") + std::strerror(errno));
    }
    if (std::fclose(file.release()) != 0 && status) {
        status = Status::Error(std::string("write failed: ") + std::strerror(errno));
    }
    if (status && std::rename(temporary.c_str(), path.c_str()) != 0) {
        status = Status::Error(std::string("cannot move into place: ") + std::strerror(errno));
    }
    if (!status) {
        unlink(temporary.c_str());
        return WithPath(path, status);
    }
    return {};
}

}  // namespace host::media
