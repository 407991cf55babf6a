// Bitmaps of the host's resources, found by id: what a device-dependent
// bitmap loaded by id gives (its size, depth and bits, rows top down). The
// host, not the module, carries them; a provider it installs answers for
// them, and without one no bitmap is found.
#pragma once

#include <cstdint>
#include <vector>

namespace platform {

struct ResourceBitmap {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t bitsPerPixel = 0;  // 1, 8 or 32
    std::int32_t stride = 0;        // bytes a row, rows top down
    std::vector<std::uint8_t> bits;
};

class BitmapProvider {
  public:
    virtual ~BitmapProvider() = default;
    // Fills out and answers true when the bitmap `id` exists.
    virtual bool LoadBitmap(std::uint32_t id, ResourceBitmap& out) = 0;
};

// The provider installed (not owned; null removes it) and the one in use.
void SetBitmapProvider(BitmapProvider* provider);
BitmapProvider* CurrentBitmapProvider();

// The bitmap `id` through the current provider; false without one.
bool LoadResourceBitmap(std::uint32_t id, ResourceBitmap& out);

}  // namespace platform
