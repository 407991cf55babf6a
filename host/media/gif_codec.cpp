// GIF files written through giflib (the shared imagecodecs library reads
// them).
#include <gif_lib.h>

#include <algorithm>
#include <string>

#include "codecs.h"

namespace host::media::detail {
namespace {

int WriteToFile(GifFileType* gif, const GifByteType* buffer, int length) {
    return static_cast<int>(
        std::fwrite(buffer, 1, static_cast<size_t>(length), static_cast<std::FILE*>(gif->UserData)));
}

Status GifError(const char* what, int code) {
    const char* text = GifErrorString(code);
    return Status::Error(std::string(what) + ": " + (text ? text : "unknown error"));
}

}  // namespace

Status EncodeGif(std::FILE* file, const PixelRows& rows) {
    if (rows.kind != PixelRows::Kind::kIndexed || rows.bits != 8 || rows.palette.empty() ||
        rows.palette.size() > 256 || rows.width > 65535 || rows.height > 65535) {
        return Status::Error("GIF could not be written: unsupported layout");
    }
    // giflib takes colour tables of a power of two entries only.
    int size = 2;
    while (size < static_cast<int>(rows.palette.size())) size *= 2;
    std::vector<GifColorType> colours(size, GifColorType{0, 0, 0});
    for (size_t i = 0; i < rows.palette.size(); ++i) {
        colours[i] = {rows.palette[i].r, rows.palette[i].g, rows.palette[i].b};
    }
    ColorMapObject* map = GifMakeMapObject(size, colours.data());
    if (!map) return Status::Error("GIF could not be written: no memory for the colour table");

    int error = 0;
    GifFileType* gif = EGifOpen(file, WriteToFile, &error);
    if (!gif) {
        GifFreeMapObject(map);
        return GifError("GIF could not be written", error);
    }
    bool ok = EGifPutScreenDesc(gif, static_cast<int>(rows.width), static_cast<int>(rows.height),
                                map->BitsPerPixel, 0, map) == GIF_OK &&
              EGifPutImageDesc(gif, 0, 0, static_cast<int>(rows.width), static_cast<int>(rows.height), false,
                               nullptr) == GIF_OK;
    std::vector<GifPixelType> line(rows.width);
    for (uint32_t y = 0; ok && y < rows.height; ++y) {
        std::copy_n(rows.row(y), rows.width, line.begin());
        ok = EGifPutLine(gif, line.data(), static_cast<int>(rows.width)) == GIF_OK;
    }
    if (!ok) error = gif->Error;
    int closeError = 0;
    if (EGifCloseFile(gif, &closeError) != GIF_OK && ok) {
        ok = false;
        error = closeError;
    }
    GifFreeMapObject(map);
    return ok ? Status{} : GifError("GIF could not be written", error);
}

}  // namespace host::media::detail
