// User inks: the module's table of named spot colours, its file, the
// lookup of model-22 references and the tint rule of models 21 and
// palette kind 16.
#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <mutex>

#include "colour/inks.h"
#include "platform/host_paths.h"

namespace colour {
namespace {

struct Table {
    std::mutex lock;
    bool exists = false;
    UserInks record;
};

Table g_table;

void FreeEntries(UserInks& r) {
    MemHandleFree(r.entries);
    r.entries = nullptr;
    r.count = 0;
}

std::uint8_t TowardsWhite(int c, int t) {
    return static_cast<std::uint8_t>(std::clamp(255 - (255 - c) * t / 100, 0, 255));
}

std::uint16_t TowardsWhite16(int c, int t) {
    return static_cast<std::uint16_t>(std::clamp(65535 - (65535 - c) * t / 100, 0, 65535));
}

std::uint8_t Scaled(int c, int t) {
    return static_cast<std::uint8_t>(std::clamp(c * t / 100, 0, 255));
}

std::int8_t ScaledSigned(int c, int t) {
    return static_cast<std::int8_t>(std::clamp(c * t / 100, -128, 127));
}

int WriteLocked(UserInks& r) {
    std::string bytes;
    const auto u16 = [&bytes](int v) {
        bytes += static_cast<char>(v & 0xFF);
        bytes += static_cast<char>((v >> 8) & 0xFF);
    };
    u16(kUserInkFileMarker);
    std::string title = LoadResString(kStrUserInkFileTitle);
    if (title.size() > 255) title.resize(255);
    bytes += static_cast<char>(title.size());
    bytes += title;
    u16(r.count);
    const auto* data = r.entries != nullptr ? static_cast<const std::uint8_t*>(r.entries->data) : nullptr;
    for (int i = 0; i < r.count && data != nullptr; ++i) {
        const std::uint8_t* entry = data + static_cast<std::size_t>(i) * kUserInkEntryBytes;
        bytes.append(reinterpret_cast<const char*>(entry), 12);
        const char* name = reinterpret_cast<const char*>(entry + 12);
        const std::size_t length = strnlen(name, kUserInkNameBytes - 1);
        bytes += static_cast<char>(length);
        bytes.append(name, length);
    }
    // Written beside the file and renamed, so a failed write keeps the old one.
    const std::string local = platform::LocalPath(r.filePath);
    const std::string part = local + ".part";
    bool ok = false;
    {
        std::ofstream out(part, std::ios::binary | std::ios::trunc);
        ok = out && out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) && out.flush();
    }
    ok = ok && std::rename(part.c_str(), local.c_str()) == 0;
    if (!ok) {
        std::remove(part.c_str());
        ClrErrorBox(1, r.filePath);
        return 0;
    }
    MemHandleUnlock(r.entries);
    r.changed[0] = r.changed[1] = 0;
    return 1;
}

void SetLocked(const std::vector<UserInkEntry>& entries, const std::string& path) {
    UserInks& r = g_table.record;
    FreeEntries(r);
    if (entries.empty() && path.empty()) {
        g_table.exists = false;
        r = UserInks{};
        return;
    }
    const std::size_t count = std::min<std::size_t>(entries.size(), 65535);
    r.entries = MemHandleAlloc(std::max<std::size_t>(count, 1) * kUserInkEntryBytes);
    if (r.entries == nullptr) {
        g_table.exists = false;
        return;
    }
    auto* data = static_cast<std::uint8_t*>(r.entries->data);
    for (std::size_t i = 0; i < count; ++i) {
        std::uint8_t* entry = data + i * kUserInkEntryBytes;
        std::memcpy(entry, entries[i].colour.bytes, 12);
        std::memcpy(entry + 12, entries[i].name.data(), std::min<std::size_t>(entries[i].name.size(), kUserInkNameBytes - 1));
    }
    r.count = static_cast<std::int32_t>(count);
    r.filePath = path;
    r.changed[0] = 1;
    g_table.exists = true;
}

}  // namespace

void ClrSetUserInks(const std::vector<UserInkEntry>& entries, const std::string& path) {
    std::lock_guard<std::mutex> lock(g_table.lock);
    SetLocked(entries, path);
}

bool ClrParseUserInkFile(std::string_view bytes, std::vector<UserInkEntry>* out) {
    out->clear();
    std::size_t at = 0;
    const auto take = [&](std::size_t n) -> const char* {
        if (bytes.size() - at < n) return nullptr;
        const char* p = bytes.data() + at;
        at += n;
        return p;
    };
    const auto u16 = [](const char* p) {
        return static_cast<int>(static_cast<std::uint8_t>(p[0]) | (static_cast<std::uint8_t>(p[1]) << 8));
    };
    const char* marker = take(2);
    if (marker == nullptr || u16(marker) != kUserInkFileMarker) return false;
    const char* titleLength = take(1);
    if (titleLength == nullptr || take(static_cast<std::uint8_t>(*titleLength)) == nullptr) return false;
    const char* countBytes = take(2);
    if (countBytes == nullptr) return false;
    const int count = u16(countBytes);
    for (int i = 0; i < count; ++i) {
        const char* record = take(12);
        const char* nameLength = record ? take(1) : nullptr;
        const std::size_t length = nameLength ? static_cast<std::uint8_t>(*nameLength) : 0;
        const char* name = nameLength ? take(length) : nullptr;
        if (name == nullptr && length != 0) return false;
        if (nameLength == nullptr) return false;
        UserInkEntry entry;
        std::memcpy(entry.colour.bytes, record, 12);
        entry.name.assign(name != nullptr ? name : "", std::min<std::size_t>(length, kUserInkNameBytes - 1));
        out->push_back(std::move(entry));
    }
    return at == bytes.size();
}

int ClrLoadUserInks(const std::string& path) {
    std::ifstream in(platform::LocalPath(path), std::ios::binary);
    if (!in) return 0;
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    std::vector<UserInkEntry> entries;
    if (!ClrParseUserInkFile(bytes, &entries)) {
        ClrErrorBox(2, path);
        return 0;
    }
    std::lock_guard<std::mutex> lock(g_table.lock);
    SetLocked(entries, path);
    g_table.record.changed[0] = 0;
    return 1;
}

int ClrGetUserInks(UserInks* copy) {
    std::lock_guard<std::mutex> lock(g_table.lock);
    if (!g_table.exists) return 0;
    UserInks& r = g_table.record;
    if ((r.changed[0] != 0 || r.changed[1] != 0) && !r.filePath.empty()) WriteLocked(r);
    if (copy != nullptr) *copy = r;
    return 1;
}

int ClrSaveUserInks(UserInks* table) {
    std::lock_guard<std::mutex> lock(g_table.lock);
    if (table == nullptr) table = &g_table.record;
    if (table->filePath.empty()) return 0;
    const int saved = WriteLocked(*table);
    if (saved && table != &g_table.record && table->entries == g_table.record.entries)
        g_table.record.changed[0] = g_table.record.changed[1] = 0;
    return saved;
}

int ClrFindUserInk(const ColorRecord* in, ColorRecord* out) {
    if (in == nullptr || out == nullptr) return 0;
    std::lock_guard<std::mutex> lock(g_table.lock);
    if (!g_table.exists) return -1;
    const UserInks& r = g_table.record;
    const int position = in->U16(8);
    const void* data = MemHandleLock(r.entries);
    if (data == nullptr) {
        ShowErrorBox(1001, "userinks.c", __LINE__, nullptr, 0);
        return 0;
    }
    if (position >= r.count) return 0;
    const std::uint8_t tint = in->At(10);
    std::memcpy(out->bytes, static_cast<const std::uint8_t*>(data) + static_cast<std::size_t>(position) * kUserInkEntryBytes, 12);
    out->At(4) = tint;
    if (out->Model() == kModelUserInkByColour) out->At(11) = tint;
    return 1;
}

int ClrUserInkToColor(const ColorRecord* in, ColorRecord* out) {
    const ColorRecord c = *in;
    const int model = c.Model();
    int t;
    if (model == kModelUserInkByColour) {
        t = c.At(11);
    } else if (c.PaletteKind() == kPaletteKindUserInk && model != kModelUserInkByName) {
        t = c.At(4);
    } else {
        return 0;
    }
    ColorRecord r = c;
    r.SetPaletteKind(kPaletteKindPlain);
    r.SetSpotKind(0);
    r.At(4) = r.At(5) = 0;
    switch (model) {
        case kModelInk:
            r.SetPaletteKind(kPaletteKindInk);
            r.SetU16(10, static_cast<std::uint16_t>(c.RefTint() * t / 100));
            break;
        case kModelCMYKPercent: case kModelCMYK: case kModelCMYK2:
            for (int i = 8; i <= 11; ++i) r.At(i) = Scaled(c.At(i), t);
            break;
        case kModelCMY:
            for (int i = 8; i <= 10; ++i) r.At(i) = Scaled(c.At(i), t);
            break;
        case kModelRGB: case kModelUserInkByColour:
            r = ColorRecord::RGB(TowardsWhite(c.Red(), t), TowardsWhite(c.Green(), t), TowardsWhite(c.Blue(), t));
            break;
        case kModelHSB:
            r.At(10) = Scaled(c.At(10), t);
            r.At(11) = TowardsWhite(c.At(11), t);
            break;
        case kModelHLS:
            r.At(10) = TowardsWhite(c.At(10), t);
            break;
        case kModelBlackWhite:
            break;
        case kModelGrey:
            r.At(8) = TowardsWhite(c.At(8), t);
            break;
        case kModelYIQ:
            for (int i = 8; i <= 10; ++i) r.At(i) = TowardsWhite(c.At(i), t);
            break;
        case kModelLab:
            r.At(8) = TowardsWhite(c.At(8), t);
            r.At(9) = static_cast<std::uint8_t>(ScaledSigned(c.LabA(), t));
            r.At(10) = static_cast<std::uint8_t>(ScaledSigned(c.LabB(), t));
            break;
        case kModelHexachromeRef:
            r.SetPaletteKind(12);
            r.SetU16(10, static_cast<std::uint16_t>(c.RefTint() * t / 100));
            break;
        case kModelHexachrome:
            for (int i = 6; i <= 11; ++i) r.At(i) = Scaled(c.At(i), t);
            break;
        case kModelLabOffset:
            r.At(8) = TowardsWhite(c.At(8), t);
            r.At(9) = Scaled(c.At(9), t);
            r.At(10) = Scaled(c.At(10), t);
            break;
        case kModelRGB48:
            r.SetRGB48(TowardsWhite16(c.Red16(), t), TowardsWhite16(c.Green16(), t), TowardsWhite16(c.Blue16(), t));
            break;
        case kModelGrey16:
            r.SetU16(8, TowardsWhite16(c.Grey16(), t));
            break;
        case 10:
            return 1;  // the output stays as it was
        default:
            return 0;  // 0, 13, 16, 19, 20, 22
    }
    if (model != kModelHexachrome && model != kModelRGB48) r.At(6) = r.At(7) = 0;
    *out = r;
    return 1;
}

void ClrForgetUserInks() {
    std::lock_guard<std::mutex> lock(g_table.lock);
    FreeEntries(g_table.record);
    g_table.record = UserInks{};
    g_table.exists = false;
}

}  // namespace colour
