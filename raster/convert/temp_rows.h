// A temporary block of rows from malloc, freed with its holder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace raster::convert {

class RIPTempRows {
  public:
    // rows rows of rowBytes bytes each, rounded up to a multiple of 4.
    RIPTempRows(std::int64_t rowBytes, std::int32_t rows)
        : stride_(static_cast<std::ptrdiff_t>((rowBytes + 3) & ~std::int64_t{3})) {
        const std::int64_t bytes = static_cast<std::int64_t>(stride_) * (rows > 0 ? rows : 0);
        if (bytes > 0 && static_cast<std::uint64_t>(bytes) <= SIZE_MAX / 2) {
            data_ = static_cast<std::uint8_t*>(std::malloc(static_cast<std::size_t>(bytes)));
        }
    }
    ~RIPTempRows() { std::free(data_); }
    RIPTempRows(const RIPTempRows&) = delete;
    RIPTempRows& operator=(const RIPTempRows&) = delete;

    std::uint8_t* data() const { return data_; }
    std::ptrdiff_t stride() const { return stride_; }
    explicit operator bool() const { return data_ != nullptr; }

  private:
    std::ptrdiff_t stride_;
    std::uint8_t* data_ = nullptr;
};

}  // namespace raster::convert
