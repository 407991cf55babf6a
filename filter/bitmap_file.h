// What the exporter asks the host to write for a bitmap: the image file's
// names beside the document, and its format and depth.
#ifndef SVGFILTER_BITMAP_FILE_H
#define SVGFILTER_BITMAP_FILE_H

#include <cstdint>
#include <optional>
#include <string>

namespace svgf {

// For the document "/out/picture.svg" and image 1 as PNG: the folder
// "/out/picture_Images/", the file "picture_ImgID1.png", the full path
// "/out/picture_Images/picture_ImgID1.png" and the reference
// "picture_Images/picture_ImgID1.png", relative to the document.
struct ImageFileNames {
    std::string folder;
    std::string fileName;
    std::string fullPath;
    std::string reference;
};

// A document path without a folder puts the images in the current folder;
// one without an extension takes its whole last component as the base name.
ImageFileNames ImageFileNamesFor(const std::string& documentPath, uint32_t imageNumber, uint32_t bitmapType);

struct BitmapFileFormat {
    uint32_t bitsPerPixel;
    uint8_t paletted;  // 1: the file keeps the source's palette
    uint32_t formatCode;
};

// The file format for the bitmap type option and the source type the host
// reports; none for an option other than JPEG, GIF or PNG.
std::optional<BitmapFileFormat> BitmapFileFormatFor(uint32_t bitmapType, uint32_t sourceType);

// The pixels that span a host length at 72 dots per inch, counting both
// end points: (abs(extent) + 1) * 72 / 254000, truncated.
uint32_t PixelsAt72Dpi(int32_t from, int32_t to);

}  // namespace svgf

#endif  // SVGFILTER_BITMAP_FILE_H
