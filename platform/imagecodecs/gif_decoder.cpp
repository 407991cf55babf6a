// GIF through giflib's record-level interface, from bytes in memory, so that
// sizes are checked before anything is allocated for them. Image n of the
// file is painted, by its own offset, onto a screen-sized canvas of palette
// indices; what it leaves unpainted (or paints transparent) has coverage 0
// and the screen's background index.
#include <gif_lib.h>

#include <algorithm>
#include <cstring>

#include "imagecodecs/decoded_image.h"

namespace imagecodecs {
namespace {

struct MemoryInput {
    std::span<const std::uint8_t> bytes;
    std::size_t position = 0;
};

int ReadFromMemory(GifFileType* gif, GifByteType* buffer, int length) {
    auto* input = static_cast<MemoryInput*>(gif->UserData);
    const std::size_t count = std::min<std::size_t>(static_cast<std::size_t>(length),
                                                     input->bytes.size() - input->position);
    std::memcpy(buffer, input->bytes.data() + input->position, count);
    input->position += count;
    return static_cast<int>(count);
}

std::string GifError(int code) {
    const char* text = GifErrorString(code);
    return std::string("GIF data is not readable: ") + (text ? text : "unknown error");
}

// Closes the decoder on every path out of DecodeGif.
struct Decoder {
    GifFileType* gif = nullptr;
    ~Decoder() {
        int ignored = 0;
        if (gif) DGifCloseFile(gif, &ignored);
    }
};

// Steps over the compressed data of the image whose descriptor was just read.
bool SkipImageData(GifFileType* gif) {
    int codeSize = 0;
    GifByteType* block = nullptr;
    if (DGifGetCode(gif, &codeSize, &block) != GIF_OK) return false;
    while (block) {
        if (DGifGetCodeNext(gif, &block) != GIF_OK) return false;
    }
    return true;
}

// Decodes the frame's pixels in file order into `pixels`, which grows with
// what the data yields: a file that declares a large frame and then ends
// fails before memory for the declared size is taken.
bool DecodeFramePixels(GifFileType* gif, std::vector<GifPixelType>& pixels) {
    constexpr std::uint64_t kChunk = 65536;
    const std::uint64_t total = std::uint64_t(gif->Image.Width) * std::uint64_t(gif->Image.Height);
    for (std::uint64_t done = 0; done < total;) {
        const std::uint64_t n = std::min(kChunk, total - done);
        pixels.resize(static_cast<std::size_t>(done + n));
        if (DGifGetLine(gif, pixels.data() + done, static_cast<int>(n)) != GIF_OK) return false;
        done += n;
    }
    return true;
}

std::string ReadFrame(GifFileType* gif, int transparent, const DecodeRequest& request, DecodedImage& out) {
    const GifImageDesc& desc = gif->Image;
    if (desc.Width <= 0 || desc.Height <= 0 || !SizeAllowed(desc.Width, desc.Height)) {
        return "GIF frame " + SizeRefusal(std::max(desc.Width, 0), std::max(desc.Height, 0));
    }
    const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
    if (!map || map->ColorCount <= 0) return "GIF data is not readable: no colour table";

    // A screen of 0 x 0 (seen in the wild) takes the frame's extent.
    const std::uint32_t width = gif->SWidth > 0 ? gif->SWidth : desc.Left + desc.Width;
    const std::uint32_t height = gif->SHeight > 0 ? gif->SHeight : desc.Top + desc.Height;
    if (std::string refused = SizeRefusal(width, height); !refused.empty()) return refused;
    out.width = width;
    out.height = height;
    out.layout = Layout::kIndexed;
    out.source = SourceColour::kPalette;
    out.sourceBits = static_cast<std::uint32_t>(std::max(1, map->BitsPerPixel));
    out.sourceTransparency = transparent != NO_TRANSPARENT_COLOR;
    for (int i = 0; i < map->ColorCount; ++i) {
        out.palette.push_back({map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue});
    }
    out.background = static_cast<std::uint8_t>(gif->SBackGroundColor < map->ColorCount ? gif->SBackGroundColor : 0);
    if (request.headerOnly) return SkipImageData(gif) ? std::string() : GifError(gif->Error);

    // The whole frame first: only a frame whose data is all there gets a screen.
    std::vector<GifPixelType> frame;
    if (!DecodeFramePixels(gif, frame)) return GifError(gif->Error);
    out.pixels.assign(std::size_t{width} * height, out.background);
    out.coverage.assign(std::size_t{width} * height, 0);
    auto store = [&](int row, const GifPixelType* line) {
        const std::int64_t y = std::int64_t{desc.Top} + row;
        if (y < 0 || y >= height) return;
        for (int x = 0; x < desc.Width; ++x) {
            const std::int64_t px = std::int64_t{desc.Left} + x;
            const int index = line[x];
            if (px < 0 || px >= width || index == transparent || index >= map->ColorCount) continue;
            const std::size_t at = static_cast<std::size_t>(y) * width + static_cast<std::size_t>(px);
            out.pixels[at] = static_cast<std::uint8_t>(index);
            out.coverage[at] = 255;
        }
    };
    // Interlaced lines come in four passes: every 8th from 0, from 4, every
    // 4th from 2, every 2nd from 1.
    static constexpr int kStart[4] = {0, 4, 2, 1};
    static constexpr int kStep[4] = {8, 8, 4, 2};
    const int passes = desc.Interlace ? 4 : 1;
    const GifPixelType* line = frame.data();
    for (int pass = 0; pass < passes; ++pass) {
        const int start = desc.Interlace ? kStart[pass] : 0;
        const int step = desc.Interlace ? kStep[pass] : 1;
        for (int row = start; row < desc.Height; row += step, line += desc.Width) store(row, line);
    }
    return {};
}

// Walks the records: reads image request.frame, counts every image.
std::string ReadGif(GifFileType* gif, const DecodeRequest& request, DecodedImage& out) {
    int transparent = NO_TRANSPARENT_COLOR;
    std::uint32_t images = 0;
    bool found = false;
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif, &type) != GIF_OK) {
            if (found) break;  // a broken tail after the image does not spoil it
            return GifError(gif->Error);
        }
        if (type == TERMINATE_RECORD_TYPE) break;
        if (type == IMAGE_DESC_RECORD_TYPE) {
            if (DGifGetImageDesc(gif) != GIF_OK) {
                if (found) break;
                return GifError(gif->Error);
            }
            ++images;
            if (images == request.frame) {
                if (std::string error = ReadFrame(gif, transparent, request, out); !error.empty()) return error;
                found = true;
            } else if (!SkipImageData(gif)) {
                if (found) break;
                return GifError(gif->Error);
            }
            transparent = NO_TRANSPARENT_COLOR;  // a control block governs the one image after it
        } else if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            bool ok = DGifGetExtension(gif, &code, &block) == GIF_OK;
            if (ok && code == GRAPHICS_EXT_FUNC_CODE && block) {
                GraphicsControlBlock control;
                if (DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK) transparent = control.TransparentColor;
            }
            while (ok && block) ok = DGifGetExtensionNext(gif, &block) == GIF_OK;
            if (!ok) {
                if (found) break;
                return GifError(gif->Error);
            }
        }
    }
    if (!found) {
        return images == 0 ? "GIF data is not readable: the file holds no image"
                           : "GIF data is not readable: the file holds no image " + std::to_string(request.frame);
    }
    out.frameCount = images;
    return EmitRows(request, out) ? std::string() : "GIF data is not readable: the rows were refused";
}

}  // namespace

std::string DecodeGif(std::span<const std::uint8_t> bytes, const DecodeRequest& request, DecodedImage& out) {
    out = DecodedImage{};
    MemoryInput input{bytes, 0};
    Decoder decoder;
    int error = 0;
    decoder.gif = DGifOpen(&input, ReadFromMemory, &error);
    if (!decoder.gif) return GifError(error);
    std::string status = ReadGif(decoder.gif, request, out);
    if (!status.empty()) out = DecodedImage{};
    return status;
}

}  // namespace imagecodecs
