// Telling image formats apart by their first bytes and by the file name's
// extension.
#include <algorithm>
#include <cctype>
#include <cstring>

#include "imageload/filter_image_reader.h"

namespace imageload {
namespace {

using Bytes = std::span<const std::uint8_t>;

bool Has(Bytes b, std::size_t offset, const char* text, std::size_t length) {
    return b.size() >= offset + length && std::memcmp(b.data() + offset, text, length) == 0;
}

bool IsBmp(Bytes b) { return b.size() > 15 && b[0] == 'B' && b[1] == 'M' && b[14] == 40; }

bool IsPcx(Bytes b) {
    return b.size() >= 3 && b[0] == 10 && (b[1] == 0 || b[1] == 2 || b[1] == 3 || b[1] == 5) && b[2] == 1;
}

bool IsTga(Bytes b) {
    if (b.size() < 4 || b[1] > 1) return false;
    const std::uint8_t kind = b[2];
    return kind == 1 || kind == 2 || kind == 3 || kind == 9 || kind == 10 || kind == 11;
}

bool HasTiffHeader(Bytes b) { return Has(b, 0, "II\x2a\x00", 4) || Has(b, 0, "MM\x00\x2a", 4); }

bool IsTiff(Bytes b) {
    return HasTiffHeader(b) && !Has(b, 8, "Gravenplot", 10) && !(Has(b, 8, "3DF", 3) && Has(b, 11, ".", 1));
}

bool IsPng(Bytes b) { return Has(b, 0, "\x89PNG\r\n\x1a\n", 8); }

bool IsAvi(Bytes b) { return Has(b, 0, "RIFF", 4) && Has(b, 8, "AVI ", 4); }

bool IsWavelet(Bytes b) {
    if (b.size() < 7) return false;
    return Has(b, 0, "TVXWAV", 7) || (Has(b, 0, "SI", 2) && (b[2] == 2 || b[2] == 3)) ||
           (Has(b, 0, "WI", 2) && b[2] == 4);
}

// Markers whose segments the walk steps over by their length: application
// data, comments, tables, restart interval, hierarchical and extension
// markers. Any marker not named here (other frame kinds, start of scan)
// ends the walk.
bool IsSkippedSegment(std::uint8_t m) {
    return (m >= 0xE0 && m <= 0xEF) || m == 0xFE || m == 0xDB || m == 0xC4 || m == 0xCC || m == 0xDD ||
           m == 0xDC || m == 0xDE || m == 0xDF || (m >= 0xF0 && m <= 0xFD);
}

bool IsJpeg(Bytes b) {
    if (HasTiffHeader(b) && Has(b, 8, "Gravenplot", 10)) return true;
    bool started = false;
    std::size_t at = 0;
    while (at + 1 < b.size()) {
        if (b[at] != 0xFF) return false;
        const std::uint8_t marker = b[at + 1];
        if (marker == 0xD8) {
            started = true;
            at += 2;
        } else if ((marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {
            at += 2;
        } else if (marker == 0xD9) {
            started = false;
            at += 2;
        } else if (marker == 0xC2) {
            return true;
        } else if (marker == 0xC0) {
            if (!started || at + 9 >= b.size()) return false;
            const std::uint8_t components = b[at + 9];
            return components == 1 || components == 3 || components == 4;
        } else if (IsSkippedSegment(marker)) {
            if (at + 3 >= b.size()) return false;
            at += 2 + (std::size_t{b[at + 2]} << 8 | b[at + 3]);
        } else {
            return false;
        }
    }
    return false;
}

// Steps over data sub-blocks (a length byte, that many bytes, ..., a 0).
std::size_t SkipSubBlocks(Bytes b, std::size_t at) {
    while (at < b.size()) {
        const std::size_t length = b[at++];
        if (length == 0) break;
        at += length;
    }
    return at;
}

bool IsGif(Bytes b) { return b.size() >= 8 && (Has(b, 0, "GIF87a", 6) || Has(b, 0, "GIF89a", 6)); }

std::string UpperExtension(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos) return {};
    std::string ext = name.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::toupper(c); });
    return ext;
}

}  // namespace

std::int32_t CountGifImages(Bytes b) {
    if (!IsGif(b) || b.size() < 13) return 0;
    std::size_t at = 13;  // signature and screen descriptor
    if (b[10] & 0x80) at += 3u << ((b[10] & 7) + 1);
    std::int32_t images = 0;
    while (at < b.size()) {
        if (b[at] == '!') {
            if (at + 1 >= b.size()) break;
            const std::uint8_t label = b[at + 1];
            if (label != 1 && label != 0xF9 && label != 0xFE && label != 0xFF) break;
            at = SkipSubBlocks(b, at + 2);
        } else if (b[at] == ',') {
            ++images;
            if (at + 10 > b.size()) break;
            const std::uint8_t packed = b[at + 9];
            at += 10;
            if (packed & 0x80) at += 3u << ((packed & 7) + 1);
            at = SkipSubBlocks(b, at + 1);  // after the code-size byte
        } else {
            break;
        }
    }
    return images;
}

bool SignatureHolds(std::uint32_t format, Bytes b) {
    switch (format) {
        case kFormatBmp: return IsBmp(b);
        case kFormatPcx: return IsPcx(b);
        case kFormatTga: return IsTga(b);
        case kFormatTiff: return IsTiff(b);
        case kFormatGif: return CountGifImages(b) > 0;
        case kFormatJpeg: return IsJpeg(b);
        case kFormatWavelet: return IsWavelet(b);
        case kFormatPng: return IsPng(b);
        case kFormatAvi: return IsAvi(b);
        default: return false;
    }
}

std::uint32_t DetectFormatBySignature(Bytes b) {
    if (b.empty()) return 0;
    static constexpr std::uint32_t kOrder[] = {kFormatBmp, kFormatGif,     kFormatJpeg, kFormatTiff, kFormatPng,
                                               kFormatAvi, kFormatWavelet, kFormatTga,  kFormatPcx};
    for (std::uint32_t format : kOrder) {
        if (SignatureHolds(format, b)) return format;
    }
    return 0;
}

std::uint32_t DetectFormatByExtension(const std::string& fileName, Bytes b, bool* corruptGif) {
    struct Keyword {
        const char* text;
        std::uint32_t format;
    };
    static constexpr Keyword kKeywords[] = {{"BMP", kFormatBmp}, {"PCX", kFormatPcx},  {"TGA", kFormatTga},
                                            {"TIF", kFormatTiff}, {"VRM", kFormatTiff}, {"GIF", kFormatGif},
                                            {"JPG", kFormatJpeg}, {"WI", kFormatWavelet}, {"PNG", kFormatPng},
                                            {"AVI", kFormatAvi}};
    const std::string ext = UpperExtension(fileName);
    for (const Keyword& k : kKeywords) {
        if (ext != k.text) continue;
        if (SignatureHolds(k.format, b)) return k.format;
        if (k.format == kFormatGif && corruptGif) *corruptGif = true;
        return 0;
    }
    return 0;
}

const char* ModuleFileForFormat(std::uint32_t format) {
    switch (format) {
        case kFormatBmp: return "ZKBMP.flt";
        case kFormatPcx: return "ZKPCX.flt";
        case kFormatTga: return "ZKTGA.flt";
        case kFormatTiff: return "ZKTIF.flt";
        case kFormatGif:
        case kFormatAnimatedGif: return "ZKGIF.flt";
        case kFormatJpeg: return "ZKJPG.flt";
        case kFormatWavelet: return "ZKWVL.flt";
        case kFormatPng: return "ZKPNG.flt";
        case kFormatAvi: return "ZKAVI.flt";
        default: return nullptr;
    }
}

}  // namespace imageload
