// The installed reference sources, and the stand-ins that answer "no such
// ink" until the ink catalogue, the Hexachrome palette and the user-ink
// table are installed.
#include "colour/references.h"

#include <atomic>

namespace colour {
namespace {

class NoInks : public InkCatalogueSource {
  public:
    bool InkColorByKind(int, std::uint16_t, ColorRecord* out) override {
        out->BeginResult(kModelNone);
        return false;
    }
    bool NearestInk(ColorRecord* out, const ColorRecord&) override {
        out->BeginResult(kModelNone);
        return false;
    }
};

class NoHexachrome : public HexachromeSource {
  public:
    bool Entry(std::uint16_t, std::uint16_t, ColorRecord* out) override {
        out->BeginResult(kModelNone);
        return false;
    }
    bool EntryToColor(std::uint16_t, std::uint16_t, ColorRecord* out) override {
        out->BeginResult(kModelNone);
        return false;
    }
};

class NoUserInks : public UserInkSource {
  public:
    int FindUserInk(const ColorRecord&, ColorRecord* out) override {
        out->BeginResult(kModelNone);
        return -1;
    }
    int UserInkToColor(const ColorRecord&, ColorRecord* out) override {
        out->BeginResult(kModelNone);
        return 0;
    }
};

NoInks g_noInks;
NoHexachrome g_noHexachrome;
NoUserInks g_noUserInks;
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
    return source != nullptr ? *source : g_noInks;
}
HexachromeSource& ClrHexachromePalette() {
    HexachromeSource* source = g_hexachrome.load();
    return source != nullptr ? *source : g_noHexachrome;
}
UserInkSource& ClrUserInks() {
    UserInkSource* source = g_userInks.load();
    return source != nullptr ? *source : g_noUserInks;
}

}  // namespace colour
