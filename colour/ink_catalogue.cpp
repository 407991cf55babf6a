// The ink catalogue: the host's ink file read once into one block of
// records, looked up by ink number, and searched for the ink nearest to a
// colour.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <iterator>
#include <mutex>

#include "colour/convert.h"
#include "colour/host_config.h"
#include "colour/inks.h"
#include "colour/output_conversion.h"
#include "colour/settings.h"
#include "platform/host_paths.h"

namespace colour {
namespace {

// The block: offsets of the inks in the order read, offsets by ink number
// (0: no such ink), then the records back to back.
constexpr std::size_t kOrderTable = 0;
constexpr std::size_t kNumberTable = 4 * kInkCount;
constexpr std::size_t kRecords = 8 * kInkCount;
constexpr std::size_t kInitialBlock = 71400;
constexpr std::size_t kLineLimit = 128;
// A record: u16 number, two zero bytes, the appearance, the definition, the name.
constexpr std::size_t kAppearance = 4;
constexpr std::size_t kDefinition = 16;
constexpr std::size_t kName = 28;
constexpr std::uint8_t kNumericName = 255;

struct Catalogue {
    std::mutex lock;
    bool tried = false;
    int uses = 0;
    MemHandle* block = nullptr;
    std::size_t used = 0;
    int count = 0;
};

Catalogue g_catalogue;

std::uint32_t ReadU32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

void WriteU32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// The ink's record, or null.
const std::uint8_t* RecordOf(const Catalogue& c, int number) {
    if (c.block == nullptr || number < 0 || number >= kInkCount) return nullptr;
    const auto* data = static_cast<const std::uint8_t*>(c.block->data);
    const std::uint32_t at = ReadU32(data + kNumberTable + 4 * static_cast<std::size_t>(number));
    if (at < kRecords || at + kName + 1 > c.used) return nullptr;
    return data + at;
}

// A name in the record's form: none, a number, or text.
std::string NameBytes(const std::string& name) {
    if (name.empty()) return std::string(1, '\0');
    if (std::isdigit(static_cast<unsigned char>(name[0]))) {
        unsigned long value = 0;
        for (std::size_t i = 0; i < name.size() && std::isdigit(static_cast<unsigned char>(name[i])) && value <= 65535;
             ++i)
            value = value * 10 + static_cast<unsigned long>(name[i] - '0');
        if (value >= 1 && value <= 65535) {
            return std::string{static_cast<char>(kNumericName), static_cast<char>(value & 0xFF),
                               static_cast<char>(value >> 8), '\0'};
        }
    }
    return name + '\0';
}

std::uint8_t Clamp(int v, int top) {
    return static_cast<std::uint8_t>(std::clamp(v, 0, top));
}

// Appends one ink, growing the block when its records need the room.
bool Store(Catalogue& c, const InkLine& ink) {
    const int form = ink.form == 'P' ? 5 : ink.form == 'S' ? 8 : 4;
    if (ink.fields < form) return false;
    const int number = ink.values[0];
    if (number < 0 || number >= kInkCount) return false;
    ColorRecord definition, appearance;
    if (ink.form == 0) {
        definition = ColorRecord::RGB(Clamp(ink.values[1], 255), Clamp(ink.values[2], 255), Clamp(ink.values[3], 255));
    } else {
        definition = ColorRecord::CMYK(kModelCMYKPercent, Clamp(ink.values[1], 100), Clamp(ink.values[2], 100),
                                       Clamp(ink.values[3], 100), Clamp(ink.values[4], 100));
    }
    if (ink.form == 'S') {
        appearance = ColorRecord::RGB(Clamp(ink.values[5], 255), Clamp(ink.values[6], 255), Clamp(ink.values[7], 255));
    } else if (!ClrConvertColor(&appearance, kModelRGB, &definition)) {
        appearance = ColorRecord::RGB(0, 0, 0);
    }
    const std::string name = NameBytes(ink.fields > form ? ink.name : std::string());
    const std::size_t size = kName + name.size();
    if (c.used + size > c.block->size) {
        MemHandle* grown = MemHandleRealloc(c.block, std::max(c.block->size * 2, c.used + size));
        if (grown == nullptr) return false;
        c.block = grown;
    }
    auto* data = static_cast<std::uint8_t*>(c.block->data);
    std::uint8_t* record = data + c.used;
    record[0] = static_cast<std::uint8_t>(number);
    record[1] = static_cast<std::uint8_t>(number >> 8);
    record[2] = record[3] = 0;
    std::memcpy(record + kAppearance, appearance.bytes, 12);
    std::memcpy(record + kDefinition, definition.bytes, 12);
    std::memcpy(record + kName, name.data(), name.size());
    WriteU32(data + kOrderTable + 4 * static_cast<std::size_t>(c.count), static_cast<std::uint32_t>(c.used));
    WriteU32(data + kNumberTable + 4 * static_cast<std::size_t>(number), static_cast<std::uint32_t>(c.used));
    c.used += size;
    ++c.count;
    return true;
}

void Forget(Catalogue& c) {
    MemHandleFree(c.block);
    c.block = nullptr;
    c.used = 0;
    c.count = 0;
}

void BuildLocked(Catalogue& c, std::string_view text) {
    Forget(c);
    c.block = MemHandleAlloc(kInitialBlock);
    if (c.block == nullptr) {
        ShowErrorBox(1000, "clrinks.c", __LINE__, nullptr, 0);
        return;
    }
    c.used = kRecords;
    while (!text.empty() && c.count < kInkCount) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.size() > kLineLimit) line = line.substr(0, kLineLimit);
        InkLine ink;
        if (ClrParseInkLine(line, &ink)) Store(c, ink);
    }
    if (MemHandle* shrunk = MemHandleRealloc(c.block, c.used)) c.block = shrunk;
}

void LoadLocked(Catalogue& c) {
    if (c.tried) return;
    c.tried = true;
    char dataDir[kMaxPath];
    if (GetDataDir(dataDir, 129) <= 0) return;
    const std::string path = JoinConfigPath(dataDir, kInkFileName);
    std::ifstream in(platform::LocalPath(path), std::ios::binary);
    if (!in) {
        ClrErrorBox(1, path);
        BuildLocked(c, "1 249 245 131 100");
        return;
    }
    const std::string text{std::istreambuf_iterator<char>(in), {}};
    BuildLocked(c, text);
}

void CopyRecord(int number, std::size_t field, ColorRecord* out) {
    ClrClearToBlackRGB(out);
    std::lock_guard<std::mutex> lock(g_catalogue.lock);
    LoadLocked(g_catalogue);
    if (const std::uint8_t* record = RecordOf(g_catalogue, number)) std::memcpy(out->bytes, record + field, 12);
}

bool IsBlank(char ch) {
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\v' || ch == '\f';
}

}  // namespace

bool ClrParseInkLine(std::string_view line, InkLine* out) {
    *out = InkLine{};
    std::size_t at = 0;
    const auto skipBlanks = [&] {
        while (at < line.size() && IsBlank(line[at])) ++at;
    };
    skipBlanks();
    if (at == line.size() || line[at] == ';') return false;
    if ((line[at] == 'P' || line[at] == 'S') && at + 1 < line.size() && IsBlank(line[at + 1])) {
        out->form = line[at];
        ++at;
    }
    const int wanted = out->form == 'P' ? 5 : out->form == 'S' ? 8 : 4;
    while (out->fields < wanted) {
        skipBlanks();
        std::size_t end = at;
        if (end < line.size() && line[end] == '-') ++end;
        const std::size_t digits = end;
        while (end < line.size() && std::isdigit(static_cast<unsigned char>(line[end]))) ++end;
        if (end == digits || (end < line.size() && !IsBlank(line[end]))) break;
        long value = 0;
        for (std::size_t i = digits; i < end && value < 100000; ++i) value = value * 10 + (line[i] - '0');
        out->values[out->fields++] = static_cast<int>(line[at] == '-' ? -value : value);
        at = end;
    }
    if (out->fields == wanted) {
        skipBlanks();
        std::size_t end = line.size();
        while (end > at && IsBlank(line[end - 1])) --end;
        if (end > at) {
            out->name = std::string(line.substr(at, end - at));
            ++out->fields;
        }
    }
    return true;
}

int ClrLoadInkCatalogue() {
    std::lock_guard<std::mutex> lock(g_catalogue.lock);
    LoadLocked(g_catalogue);
    ++g_catalogue.uses;
    return g_catalogue.block != nullptr ? 1 : 0;
}

void ClrLoadInkCatalogueText(std::string_view text) {
    std::lock_guard<std::mutex> lock(g_catalogue.lock);
    g_catalogue.tried = true;
    BuildLocked(g_catalogue, text);
}

void ClrGetInkColor(int number, ColorRecord* out) {
    CopyRecord(number, kDefinition, out);
}

void ClrGetInkRGB(int number, ColorRecord* out) {
    CopyRecord(number, kAppearance, out);
}

bool ClrInkUsesDefinition(int target) {
    return target == kModelCMYKPercent || target == kModelCMYK || target == kModelCMYK2 || target == 1007 ||
           target == 1008 || ClrGetSettings().cmykInks != 0;
}

void ClrGetInkColorByKind(int target, int number, ColorRecord* out) {
    if (ClrInkUsesDefinition(target)) {
        ClrGetInkColor(number, out);
    } else {
        ClrGetInkRGB(number, out);
    }
}

void ClrNearestInk(ColorRecord* out, const ColorRecord* in) {
    const ColorRecord colour = *in;
    int bestDistance = 765;
    int best = 1;
    for (int number = 1; number < kInkCount; ++number) {
        ColorRecord rgb;
        {
            std::lock_guard<std::mutex> lock(g_catalogue.lock);
            LoadLocked(g_catalogue);
            const std::uint8_t* record = RecordOf(g_catalogue, number);
            // A number without an ink is no candidate (it would read as black).
            if (record == nullptr) continue;
            std::memcpy(rgb.bytes, record + kAppearance, 12);
        }
        if (rgb.Model() != kModelRGB) ClrConvertColorForOutput(nullptr, &rgb, kModelRGB, &rgb);
        const int distance = std::abs(rgb.Red() - colour.Red()) + std::abs(rgb.Green() - colour.Green()) +
                             std::abs(rgb.Blue() - colour.Blue());
        if (distance < bestDistance) {
            bestDistance = distance;
            best = number;
        }
    }
    *out = ColorRecord::Reference(kModelInk, static_cast<std::uint16_t>(best), 100);
}

std::string ClrInkName(int number) {
    std::lock_guard<std::mutex> lock(g_catalogue.lock);
    LoadLocked(g_catalogue);
    const std::uint8_t* record = RecordOf(g_catalogue, number);
    if (record == nullptr) return {};
    const auto* name = reinterpret_cast<const char*>(record + kName);
    const auto* end = static_cast<const std::uint8_t*>(g_catalogue.block->data) + g_catalogue.used;
    const auto room = static_cast<std::size_t>(end - (record + kName));
    // A text name may begin with byte 255 too: only a record with room for
    // the number is read as one.
    if (record[kName] == kNumericName && room >= 4)
        return std::to_string(record[kName + 1] | (record[kName + 2] << 8));
    return std::string(name, strnlen(name, room));
}

void ClrForgetInkCatalogue() {
    std::lock_guard<std::mutex> lock(g_catalogue.lock);
    Forget(g_catalogue);
    g_catalogue.tried = false;
    g_catalogue.uses = 0;
}

}  // namespace colour
