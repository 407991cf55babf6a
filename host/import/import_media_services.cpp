// The services an import calls that stand on the host's fonts and images:
// fonts by description and by name, text objects with the fonts' own
// advances, and linked pictures through the host's image import (a
// sub-context, an image handle and the module's load callback). A host
// built without the font and image libraries offers none of them.
#include <strings.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <type_traits>

#include "host/import/import_host.h"
#include "json_text.h"
#include "record_text.h"
#include "service_log.h"

#if defined(SVGFILTER_HOST_MEDIA)
#include "host/media/font_services.h"
#include "host/media/image_codec.h"
#include "host/media/stand_in_images.h"
#endif

namespace host::import {

#if defined(SVGFILTER_HOST_MEDIA)
namespace {

using svgf::HostHandle;
using svgf::HostWord;
namespace fonts = media::font_entries;

// The longest text one text object takes.
constexpr int32_t kMaxTextLength = 1 << 20;

void Complete(svgf::FontRecord* record, int32_t font, uint32_t styleWord) {
    if (record == nullptr) return;
    record->fontId = font;
    record->styleFlags = styleWord;
}

int32_t SVGF_CALL FontByDescription(svgf::FontRecord* record, uint32_t styleWord) {
    const Logged log([&] {
        return std::string("FontByDescription record=" + LogFontRecord(record) +
                           " style=" + LogHex(styleWord));
    });
    int32_t font = 0;
    if (log.import != nullptr) {
        // A record naming a font the host gave keeps it; any other gets the default.
        font = record != nullptr && log.import->FamilyOf(record->fontId) != nullptr
                   ? record->fontId
                   : log.import->FontValue(kDefaultFamily);
    }
    if (font != 0) Complete(record, font, styleWord);
    log.Result([&] { return std::string(Int(font) + " record=" + LogFontRecord(record)); });
    return font;
}

int32_t SVGF_CALL FontByName(const char* family, svgf::FontRecord* record, HostWord zero1, HostWord zero2) {
    const Logged log([&] {
        return std::string("FontByName family=" + LogLatin1(family) + " record=" + LogFontRecord(record) +
                           " " + Int(zero1) + " " + Int(zero2));
    });
    const int32_t font = log.import != nullptr && family != nullptr ? log.import->FontValue(family) : 0;
    if (font != 0) Complete(record, font, record != nullptr ? record->styleFlags : 0);
    log.Result([&] { return std::string(Int(font) + " record=" + LogFontRecord(record)); });
    return font;
}

HostHandle SVGF_CALL CreateFont(int32_t zero1, int32_t font, uint32_t styleFlags, int32_t size,
                                const svgf::HostMatrix* transform, int32_t rotation, int32_t zero3) {
    const Logged log([&] {
        return std::string("CreateFont " + Int(zero1) + " font=" + Int(font) + " style=" +
                           LogHex(styleFlags) + " size=" + Int(size) + " transform=" + LogMatrix(transform) +
                           " rotation=" + Int(rotation) + " " + Int(zero3));
    });
    const HostHandle object = fonts::CreateFont(zero1, font, styleFlags, size, transform, rotation, zero3);
    if (object != 0 && log.import != nullptr) log.import->TextObjectMade(object);
    log.Result([&] { return std::string(LogHex(object)); });
    return object;
}

int32_t SVGF_CALL ReleaseFont(HostHandle object) {
    const Logged log([&] { return std::string("ReleaseFont object=" + LogHex(object)); });
    const int32_t released = fonts::ReleaseFont(object);
    if (released != 0 && log.import != nullptr) log.import->TextObjectFinished(object);
    log.Result([&] { return std::string(Int(released)); });
    return released;
}

// Each advance runs to the next character, kerning included; the last one
// is the character's own width (no character follows it).
int32_t SVGF_CALL SetText(HostHandle object, const uint16_t* text, int32_t count, int32_t* advances) {
    const size_t n = count > 0 && count <= kMaxTextLength ? static_cast<size_t>(count) : 0;
    const Logged log([&] {
        return std::string("SetText object=" + LogHex(object) + " text=" + LogText(text, n) +
                           " count=" + Int(count));
    });
    if (text == nullptr || advances == nullptr || n == 0) {
        log.Result("0");
        return 0;
    }
    if (fonts::RunAdvances(object, text, n, advances) == 0) {
        log.Result("0");
        return 0;
    }
    log.Result([&] {
        std::string list = "[";
        for (size_t i = 0; i < n; ++i) list += (i == 0 ? "" : " ") + Int(advances[i]);
        return "1 advances=" + list + "]";
    });
    return 1;
}

// The file's first bytes name its format; the host's import filter for a
// format takes only files of it.
bool FileIsOfFormat(const char* path, uint32_t formatCode) {
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return false;
    unsigned char head[4] = {};
    const size_t n = std::fread(head, 1, sizeof head, file);
    std::fclose(file);
    if (n < 3) return false;
    switch (formatCode) {
        case svgf::kFormatPng:
            return n == 4 && head[0] == 0x89 && head[1] == 'P' && head[2] == 'N' && head[3] == 'G';
        case svgf::kFormatJpeg:
            return head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF;
        case svgf::kFormatGif:
            return n == 4 && std::memcmp(head, "GIF8", 4) == 0;
        default:
            return false;
    }
}

// The file a request names: a path, or a local file: URL (no host, or
// "localhost"), whose escapes are undone; any other URL names no file.
std::string LocalFile(const char* name) {
    const std::string text = name != nullptr ? name : "";
    if (text.size() < 5 || strncasecmp(text.c_str(), "file:", 5) != 0) return text;
    std::string rest = text.substr(5);
    if (rest.rfind("//", 0) == 0) {
        const size_t slash = rest.find('/', 2);
        const std::string authority = rest.substr(2, slash == std::string::npos ? std::string::npos : slash - 2);
        if (!authority.empty() && strcasecmp(authority.c_str(), "localhost") != 0) return {};
        rest = slash == std::string::npos ? std::string() : rest.substr(slash);
    }
    const auto digit = [](char c) {
        const auto u = static_cast<unsigned char>(c);
        if (std::isdigit(u) != 0) return u - '0';
        return std::isxdigit(u) != 0 ? std::tolower(u) - 'a' + 10 : -1;
    };
    std::string path;
    for (size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] == '%' && i + 2 < rest.size() && digit(rest[i + 1]) >= 0 && digit(rest[i + 2]) >= 0) {
            path += static_cast<char>(digit(rest[i + 1]) * 16 + digit(rest[i + 2]));
            i += 2;
        } else {
            path += rest[i];
        }
    }
    return path;
}

bool RequestUsable(const svgf::FilterContext* sub) {
    media::ImageFormat format;
    return sub != nullptr && sub->size == svgf::kContextSize && sub->fileName != nullptr &&
           media::FormatFromCode(sub->formatCode, format);
}

int32_t SVGF_CALL PrepareImageImport(svgf::FilterContext* sub) {
    const Logged log([&] { return std::string("PrepareImageImport sub=" + LogSubContext(sub)); });
    const int32_t answer = RequestUsable(sub) ? 1 : 0;
    log.Result([&] { return std::string(Int(answer)); });
    return answer;
}

HostHandle SVGF_CALL OpenImageHandle(int32_t kind, svgf::HostImageCallbackBlock* block) {
    const Logged log(
        [&] { return std::string("OpenImageHandle kind=" + Int(kind) + " block=" + LogImageBlock(block)); });
    const HostHandle handle =
        log.import != nullptr && kind == svgf::kImageHandleKind && block != nullptr ? log.import->OpenImageHandle(block)
                                                                                    : 0;
    log.Result([&] { return std::string(LogHex(handle)); });
    return handle;
}

// The host's image import: decodes the file (a path or a local file: URL),
// then hands the picture to the module's callback the request's image handle
// carries.
int32_t SVGF_CALL RunImageImport(svgf::FilterContext* sub) {
    const Logged log([&] { return std::string("RunImageImport sub=" + LogSubContext(sub)); });
    svgf::HostImageCallbackBlock* block =
        log.import != nullptr && sub != nullptr ? log.import->ImageBlock(sub->hostHandle) : nullptr;
    const std::string file = sub != nullptr ? LocalFile(sub->fileName) : std::string();
    if (block == nullptr || block->callback == nullptr || !RequestUsable(sub) ||
        !FileIsOfFormat(file.c_str(), sub->formatCode)) {
        log.Result("0");
        return 0;
    }
    // The drawing keeps only the file's name: the pixels are decoded to see
    // that it is a picture, and not kept for the rest of the process.
    if (!StandInImages().Decodes(file)) {
        log.import->Warn(StandInImages().lastError());
        log.Result("0");
        return 0;
    }
    const HostWord picture = log.import->AddPicture(file);
    if (picture == 0) {
        log.Result("0");
        return 0;
    }
    log.import->Log().Indent();
    const size_t line = log.import->Log().Line("ImageLoadCallback block=" + LogImageBlock(block) + " 0 picture=" +
                                               LogHex(static_cast<uint32_t>(picture)) + " 0 0 0 0 0 0");
    log.import->Log().Indent();
    const int32_t answer = block->callback(block, 0, picture, 0, 0, 0, 0, 0, 0);
    log.import->Log().Outdent();
    log.import->Log().AppendTo(line, " -> " + Int(answer) + " block=" + LogImageBlock(block));
    log.import->Log().Outdent();
    log.Result("1");
    return 1;
}

// What the drawing's image entry takes for a picture: the picture itself.
HostWord SVGF_CALL ImageLoad(HostWord picture) {
    const Logged log(
        [&] { return std::string("ImageLoad picture=" + LogHex(static_cast<uint32_t>(picture))); });
    const HostWord answer = log.import != nullptr && log.import->HasPicture(picture) ? picture : 0;
    log.Result([&] { return std::string(LogHex(static_cast<uint32_t>(answer))); });
    return answer;
}

static_assert(std::is_same_v<decltype(&FontByDescription), svgf::svc::FontByDescriptionFn>);
static_assert(std::is_same_v<decltype(&FontByName), svgf::svc::FontByNameFn>);
static_assert(std::is_same_v<decltype(&CreateFont), svgf::svc::CreateFontFn>);
static_assert(std::is_same_v<decltype(&ReleaseFont), svgf::svc::ReleaseFontFn>);
static_assert(std::is_same_v<decltype(&SetText), svgf::svc::SetTextFn>);
static_assert(std::is_same_v<decltype(&PrepareImageImport), svgf::svc::SubContextFn>);
static_assert(std::is_same_v<decltype(&RunImageImport), svgf::svc::SubContextFn>);
static_assert(std::is_same_v<decltype(&OpenImageHandle), svgf::svc::OpenImageHandleFn>);
static_assert(std::is_same_v<decltype(&ImageLoad), svgf::svc::ImageLoadFn>);

}  // namespace

void RegisterMediaImportServices(ServiceRegistry& registry) {
    namespace svc = svgf::svc;
    registry.Add<svc::kFontByDescription, &FontByDescription>("FontByDescription");
    registry.Add<svc::kFontByName, &FontByName>("FontByName");
    registry.Add<svc::kCreateFont, &CreateFont>("CreateFont");
    registry.Add<svc::kReleaseFont, &ReleaseFont>("ReleaseFont");
    registry.Add<svc::kSetText, &SetText>("SetText");
    registry.Add<svc::kImportSubContext8, &PrepareImageImport>("PrepareImageImport");
    registry.Add<svc::kImportSubContext0, &RunImageImport>("RunImageImport");
    registry.Add<svc::kOpenImageHandle, &OpenImageHandle>("OpenImageHandle");
    registry.Add<svc::kImageLoad, &ImageLoad>("ImageLoad");
}

void RemoveMediaImportServices(ServiceRegistry& registry) {
    namespace svc = svgf::svc;
    for (size_t slot : {svc::kFontByDescription, svc::kFontByName, svc::kSetText, svc::kImportSubContext8,
                        svc::kImportSubContext0, svc::kOpenImageHandle, svc::kImageLoad}) {
        registry.Remove(slot);
    }
}

#else

// Without fonts and images the host answers none of their services.
void RegisterMediaImportServices(ServiceRegistry&) {}
void RemoveMediaImportServices(ServiceRegistry&) {}

#endif

}  // namespace host::import
