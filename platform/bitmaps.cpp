// The process's bitmap provider.
#include "platform/bitmaps.h"

#include <atomic>

namespace platform {
namespace {
std::atomic<BitmapProvider*> g_provider{nullptr};
}  // namespace

void SetBitmapProvider(BitmapProvider* provider) { g_provider.store(provider); }

BitmapProvider* CurrentBitmapProvider() { return g_provider.load(); }

bool LoadResourceBitmap(std::uint32_t id, ResourceBitmap& out) {
    BitmapProvider* provider = g_provider.load();
    return provider && provider->LoadBitmap(id, out);
}

}  // namespace platform
