// The Hexachrome palette: one block of entries with six channels and a Lab
// value each, found through a table of offsets.
#include <algorithm>
#include <cstring>
#include <mutex>

#include "colour/convert.h"
#include "colour/inks.h"
#include "platform/messages.h"

namespace colour {
namespace {

constexpr std::size_t kOffsetTable = 8092;
constexpr std::size_t kEntriesStart = kOffsetTable + 4 * kHexachromeEntries;
constexpr std::size_t kEntryBytes = 16;  // channels at 6, Lab at 12

struct Palette {
    std::mutex lock;
    MemHandle* block = nullptr;
    bool reported = false;
};

Palette g_palette;

// The entry's bytes, or null; without a palette the one message is logged.
const std::uint8_t* EntryOf(int index) {
    if (g_palette.block == nullptr) {
        if (!g_palette.reported) {
            g_palette.reported = true;
            platform::ShowMessage(platform::MessageKind::Warning, "Hexachrome",
                                  "No Hexachrome palette is loaded; Hexachrome colours cannot be converted.");
        }
        return nullptr;
    }
    if (index < 0 || index >= kHexachromeEntries) return nullptr;
    const auto* data = static_cast<const std::uint8_t*>(g_palette.block->data);
    const std::uint8_t* slot = data + kOffsetTable + 4 * static_cast<std::size_t>(index);
    const std::uint32_t at = slot[0] | (slot[1] << 8) | (slot[2] << 16) | (static_cast<std::uint32_t>(slot[3]) << 24);
    if (at == 0 || at > g_palette.block->size || g_palette.block->size - at < 15) return nullptr;
    return data + at;
}

}  // namespace

void ClrSetHexachromePalette(const std::vector<HexachromeEntry>& entries) {
    std::lock_guard<std::mutex> lock(g_palette.lock);
    MemHandleFree(g_palette.block);
    g_palette.block = nullptr;
    g_palette.reported = false;
    if (entries.empty()) return;
    g_palette.block = MemHandleAlloc(kEntriesStart + kEntryBytes * entries.size());
    if (g_palette.block == nullptr) return;
    auto* data = static_cast<std::uint8_t*>(g_palette.block->data);
    std::size_t at = kEntriesStart;
    for (const HexachromeEntry& e : entries) {
        if (e.index < 0 || e.index >= kHexachromeEntries) continue;
        std::memcpy(data + at + 6, e.channels, 6);
        std::memcpy(data + at + 12, e.lab, 3);
        for (int i = 0; i < 4; ++i)
            data[kOffsetTable + 4 * static_cast<std::size_t>(e.index) + i] = static_cast<std::uint8_t>(at >> (8 * i));
        at += kEntryBytes;
    }
}

const std::uint8_t* ClrLockHexachromePalette() {
    std::lock_guard<std::mutex> lock(g_palette.lock);
    return g_palette.block != nullptr ? static_cast<const std::uint8_t*>(MemHandleLock(g_palette.block)) : nullptr;
}

void ClrClearToBlackRGB(ColorRecord* out) {
    out->SetModel(kModelRGB);
    out->SetPaletteKind(kPaletteKindPlain);
    // Byte 11 too: RGB ignores it, and nothing of an earlier colour stays.
    std::memset(out->bytes + 4, 0, 8);
}

bool ClrHexachromeEntry(int index, int tint, ColorRecord* out) {
    out->SetModel(kModelHexachrome);
    out->SetPaletteKind(kPaletteKindPlain);
    std::memset(out->bytes + 4, 0, 7);
    out->At(11) = 255;
    std::lock_guard<std::mutex> lock(g_palette.lock);
    if (g_palette.block == nullptr) {
        EntryOf(index);
        return false;
    }
    if (const std::uint8_t* entry = EntryOf(index)) {
        for (int i = 0; i < 6; ++i) {
            const int c = entry[6 + i];
            out->At(6 + i) = static_cast<std::uint8_t>(tint != 100 ? std::clamp(c * tint / 100, 0, 255) : c);
        }
    }
    return true;
}

bool ClrHexachromeEntryToColor(int index, int tint, ColorRecord* out) {
    ClrClearToBlackRGB(out);
    ColorRecord lab;
    {
        std::lock_guard<std::mutex> lock(g_palette.lock);
        if (g_palette.block == nullptr) {
            EntryOf(index);
            return false;
        }
        const std::uint8_t* entry = EntryOf(index);
        if (entry == nullptr) return true;
        lab = ColorRecord::Three(kModelLab, entry[12], entry[13], entry[14]);
    }
    ClrLabToRGB(out, &lab);
    if (tint != 100) {
        for (int i = 8; i <= 10; ++i) out->At(i) = static_cast<std::uint8_t>(std::clamp(255 - (255 - out->At(i)) * tint / 100, 0, 255));
    }
    return true;
}

}  // namespace colour
