// GIF through giflib's record-level interface, so that sizes are checked
// before anything is allocated for them. Only the first frame is read.
#include <gif_lib.h>

#include <algorithm>
#include <string>

#include "codecs.h"

namespace host::media::detail {
namespace {

int ReadFromFile(GifFileType* gif, GifByteType* buffer, int length) {
    return static_cast<int>(
        std::fread(buffer, 1, static_cast<size_t>(length), static_cast<std::FILE*>(gif->UserData)));
}

int WriteToFile(GifFileType* gif, const GifByteType* buffer, int length) {
    return static_cast<int>(
        std::fwrite(buffer, 1, static_cast<size_t>(length), static_cast<std::FILE*>(gif->UserData)));
}

Status GifError(const char* what, int code) {
    const char* text = GifErrorString(code);
    return Status::Error(std::string(what) + ": " + (text ? text : "unknown error"));
}

// Closes the decoder on every path out of DecodeGif.
struct Decoder {
    GifFileType* gif = nullptr;
    ~Decoder() {
        int ignored = 0;
        if (gif) DGifCloseFile(gif, &ignored);
    }
};

Status ReadFrame(GifFileType* gif, int transparent, Image& out) {
    const GifImageDesc& desc = gif->Image;
    if (desc.Width <= 0 || desc.Height <= 0 || !ImageSizeAllowed(desc.Width, desc.Height)) {
        return Status::Error("GIF frame size is outside the supported range");
    }
    const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
    if (!map || map->ColorCount <= 0) return Status::Error("GIF data is not readable: no colour table");

    // A screen of 0 x 0 (seen in the wild) takes the frame's extent.
    const uint32_t width = gif->SWidth > 0 ? gif->SWidth : desc.Left + desc.Width;
    const uint32_t height = gif->SHeight > 0 ? gif->SHeight : desc.Top + desc.Height;
    if (Status s = Image::Allocate(width, height, out); !s) return s;

    std::vector<GifPixelType> line(desc.Width);
    auto store = [&](int row) {
        const int64_t y = int64_t{desc.Top} + row;
        if (y < 0 || y >= height) return;
        for (int x = 0; x < desc.Width; ++x) {
            const int64_t px = int64_t{desc.Left} + x;
            const int index = line[x];
            if (px < 0 || px >= width || index == transparent || index >= map->ColorCount) continue;
            uint8_t* p = out.pixel(static_cast<uint32_t>(px), static_cast<uint32_t>(y));
            p[0] = map->Colors[index].Red;
            p[1] = map->Colors[index].Green;
            p[2] = map->Colors[index].Blue;
            p[3] = 255;
        }
    };
    if (desc.Interlace) {
        static constexpr int kStart[4] = {0, 4, 2, 1};
        static constexpr int kStep[4] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass) {
            for (int row = kStart[pass]; row < desc.Height; row += kStep[pass]) {
                if (DGifGetLine(gif, line.data(), desc.Width) != GIF_OK) {
                    return GifError("GIF data is not readable", gif->Error);
                }
                store(row);
            }
        }
    } else {
        for (int row = 0; row < desc.Height; ++row) {
            if (DGifGetLine(gif, line.data(), desc.Width) != GIF_OK) {
                return GifError("GIF data is not readable", gif->Error);
            }
            store(row);
        }
    }
    out.sourceType = svgf::kSourcePaletted;
    for (int i = 0; i < map->ColorCount; ++i) {
        out.palette.push_back({map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue});
    }
    return {};
}

Status ReadGif(GifFileType* gif, Image& out) {
    int transparent = NO_TRANSPARENT_COLOR;
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif, &type) != GIF_OK) return GifError("GIF data is not readable", gif->Error);
        switch (type) {
            case IMAGE_DESC_RECORD_TYPE:
                if (DGifGetImageDesc(gif) != GIF_OK) return GifError("GIF data is not readable", gif->Error);
                return ReadFrame(gif, transparent, out);
            case EXTENSION_RECORD_TYPE: {
                int code = 0;
                GifByteType* block = nullptr;
                if (DGifGetExtension(gif, &code, &block) != GIF_OK) {
                    return GifError("GIF data is not readable", gif->Error);
                }
                if (code == GRAPHICS_EXT_FUNC_CODE && block) {
                    GraphicsControlBlock control;
                    if (DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK) {
                        transparent = control.TransparentColor;
                    }
                }
                while (block) {
                    if (DGifGetExtensionNext(gif, &block) != GIF_OK) {
                        return GifError("GIF data is not readable", gif->Error);
                    }
                }
                break;
            }
            case TERMINATE_RECORD_TYPE:
                return Status::Error("GIF data is not readable: the file holds no image");
            default:
                break;
        }
    }
}

}  // namespace

Status DecodeGif(std::FILE* file, Image& out) {
    Decoder decoder;
    int error = 0;
    decoder.gif = DGifOpen(file, ReadFromFile, &error);
    if (!decoder.gif) return GifError("GIF data is not readable", error);
    Status status = ReadGif(decoder.gif, out);
    if (!status) out = Image{};
    return status;
}

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
