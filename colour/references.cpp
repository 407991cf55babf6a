// The installed reference sources; the module's own tables unless a test
// or host installs others.
#include "colour/references.h"

#include "colour/inks.h"

#include <atomic>

namespace colour {
namespace {

// The module's own tables: the ink catalogue, the Hexachrome palette and
// the user-ink table.
class CatalogueInks : public InkCatalogueSource {
  public:
    bool InkColorByKind(int target, std::uint16_t number, ColorRecord* out) override {
        ClrGetInkColorByKind(target, static_cast<std::int16_t>(number), out);
        return true;
    }
    bool NearestInk(ColorRecord* out, const ColorRecord& rgb) override {
        ClrNearestInk(out, &rgb);
        return true;
    }
};

class PaletteHexachrome : public HexachromeSource {
  public:
    bool Entry(std::uint16_t index, std::uint16_t tint, ColorRecord* out) override {
        return ClrHexachromeEntry(static_cast<std::int16_t>(index), tint, out);
    }
    bool EntryToColor(std::uint16_t index, std::uint16_t tint, ColorRecord* out) override {
        return ClrHexachromeEntryToColor(static_cast<std::int16_t>(index), tint, out);
    }
};

class TableUserInks : public UserInkSource {
  public:
    int FindUserInk(const ColorRecord& in, ColorRecord* out) override { return ClrFindUserInk(&in, out); }
    int UserInkToColor(const ColorRecord& in, ColorRecord* out) override { return ClrUserInkToColor(&in, out); }
};

CatalogueInks g_catalogueInks;
PaletteHexachrome g_paletteHexachrome;
TableUserInks g_tableUserInks;
std::atomic<InkCatalogueSource*> g_inks{nullptr};
std::atomic<HexachromeSource*> g_hexachrome{nullptr};
std::atomic<UserInkSource*> g_userInks{nullptr};

}  // namespace

InkCatalogueSource* ClrSetInkCatalogueSource(InkCatalogueSource* source) {
    return g_inks.exchange(source);
}
HexachromeSource* ClrSetHexachromeSource(HexachromeSource* source) {
    return g_hexachrome.exchange(source);
}
UserInkSource* ClrSetUserInkSource(UserInkSource* source) {
    return g_userInks.exchange(source);
}

InkCatalogueSource& ClrInkCatalogue() {
    InkCatalogueSource* source = g_inks.load();
    return source != nullptr ? *source : g_catalogueInks;
}
HexachromeSource& ClrHexachromePalette() {
    HexachromeSource* source = g_hexachrome.load();
    return source != nullptr ? *source : g_paletteHexachrome;
}
UserInkSource& ClrUserInks() {
    UserInkSource* source = g_userInks.load();
    return source != nullptr ? *source : g_tableUserInks;
}

}  // namespace colour
