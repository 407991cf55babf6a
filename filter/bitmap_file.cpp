#include "bitmap_file.h"

#include <cstdlib>
#include <iterator>

#include "svgfilter/filter_abi.h"

namespace svgf {
namespace {

const char* ExtensionFor(uint32_t bitmapType) {
    switch (bitmapType) {
        case kBitmapJpeg:
            return ".jpg";
        case kBitmapGif:
            return ".gif";
        case kBitmapPng:
            return ".png";
        default:
            return "";
    }
}

}  // namespace

ImageFileNames ImageFileNamesFor(const std::string& documentPath, uint32_t imageNumber, uint32_t bitmapType) {
    const size_t slash = documentPath.rfind('/');
    const size_t start = slash == std::string::npos ? 0 : slash + 1;
    const std::string folderOfDocument = documentPath.substr(0, start);
    std::string base = documentPath.substr(start);
    const size_t dot = base.rfind('.');
    // A leading dot starts a hidden name, not an extension.
    if (dot != std::string::npos && dot > 0) base.resize(dot);

    ImageFileNames names;
    const std::string imagesFolder = base + "_Images/";
    names.folder = folderOfDocument + imagesFolder;
    names.fileName = base + "_ImgID" + std::to_string(imageNumber) + ExtensionFor(bitmapType);
    names.fullPath = names.folder + names.fileName;
    names.reference = imagesFolder + names.fileName;
    return names;
}

std::optional<BitmapFileFormat> BitmapFileFormatFor(uint32_t bitmapType, uint32_t sourceType) {
    struct Row {
        uint32_t source;
        BitmapFileFormat jpeg, gif, png;
    };
    // Columns: JPEG, GIF, PNG; the last row answers every other source.
    static constexpr Row kRows[] = {
        {kSourceRgb, {24, 0, kFormatJpeg}, {8, 0, kFormatGif}, {24, 0, kFormatPng}},
        {kSourceCmyk, {32, 0, kFormatJpeg}, {8, 0, kFormatGif}, {24, 0, kFormatPng}},
        {kSourcePaletted, {8, 1, kFormatJpeg}, {8, 1, kFormatGif}, {8, 1, kFormatPng}},
        {kSourceBilevel, {8, 1, kFormatJpeg}, {1, 1, kFormatGif}, {1, 1, kFormatPng}},
        {kSourceGrey4, {8, 0, kFormatJpeg}, {4, 0, kFormatGif}, {4, 0, kFormatPng}},
        {kSourceRgba, {24, 0, kFormatJpeg}, {8, 0, kFormatGif}, {24, 0, kFormatPng}},
        {0, {8, 0, kFormatJpeg}, {8, 0, kFormatGif}, {8, 0, kFormatPng}},
    };
    if (bitmapType > kBitmapPng) return std::nullopt;
    const Row* row = &kRows[std::size(kRows) - 1];
    for (const Row& candidate : kRows) {
        if (candidate.source == sourceType && candidate.source != 0) {
            row = &candidate;
            break;
        }
    }
    switch (bitmapType) {
        case kBitmapJpeg:
            return row->jpeg;
        case kBitmapGif:
            return row->gif;
        default:
            return row->png;
    }
}

uint32_t PixelsAt72Dpi(int32_t from, int32_t to) {
    // In 64 bits: a page-wide extent times 72 does not fit in 32.
    const int64_t extent = std::llabs(static_cast<int64_t>(to) - from) + 1;
    return static_cast<uint32_t>(extent * 72 / 254000);
}

}  // namespace svgf
