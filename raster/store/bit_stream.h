// Least-significant-bit-first bit streams over byte buffers, bounded at both
// ends: the writer stops at its capacity, the reader at the source's end.
#pragma once

#include <cstddef>
#include <cstdint>

namespace raster::detail {

class BitWriter {
  public:
    BitWriter(std::uint8_t* out, std::size_t capacity) : out_(out), capacity_(capacity) {}

    // Appends the low n (≤ 24) bits of value; whole 32-bit words go out at
    // once.
    void Put(std::uint32_t value, int n) {
        buffer_ |= static_cast<std::uint64_t>(value & ((1u << n) - 1)) << have_;
        have_ += n;
        bits_ += static_cast<std::size_t>(n);
        if (have_ >= 32) {
            if (capacity_ - written_ >= 4) {
                out_[written_] = static_cast<std::uint8_t>(buffer_);
                out_[written_ + 1] = static_cast<std::uint8_t>(buffer_ >> 8);
                out_[written_ + 2] = static_cast<std::uint8_t>(buffer_ >> 16);
                out_[written_ + 3] = static_cast<std::uint8_t>(buffer_ >> 24);
                written_ += 4;
            } else {
                overflow_ = true;
            }
            buffer_ >>= 32;
            have_ -= 32;
        }
    }
    // Writes the last partial bytes; false when the output did not fit.
    bool Finish() {
        while (have_ > 0) {
            Emit(static_cast<std::uint8_t>(buffer_));
            buffer_ >>= 8;
            have_ = have_ > 8 ? have_ - 8 : 0;
        }
        buffer_ = 0;
        return !overflow_;
    }
    std::size_t Bits() const { return bits_; }
    std::size_t Bytes() const { return written_; }

  private:
    void Emit(std::uint8_t byte) {
        if (written_ < capacity_) {
            out_[written_++] = byte;
        } else {
            overflow_ = true;
        }
    }

    std::uint8_t* out_;
    std::size_t capacity_;
    std::size_t written_ = 0;
    std::size_t bits_ = 0;
    std::uint64_t buffer_ = 0;
    int have_ = 0;
    bool overflow_ = false;
};

class BitReader {
  public:
    BitReader(const std::uint8_t* in, std::size_t bytes) : in_(in), bytes_(bytes) {}

    // Takes the next n (≤ 24) bits; false when the source ends first.
    bool Take(int n, std::uint32_t* value) {
        while (have_ < n) {
            if (next_ >= bytes_) return false;
            buffer_ |= static_cast<std::uint64_t>(in_[next_++]) << have_;
            have_ += 8;
        }
        *value = static_cast<std::uint32_t>(buffer_ & ((1u << n) - 1));
        buffer_ >>= n;
        have_ -= n;
        return true;
    }

  private:
    const std::uint8_t* in_;
    std::size_t bytes_;
    std::size_t next_ = 0;
    std::uint64_t buffer_ = 0;
    int have_ = 0;
};

// The low `bits` bits of value read as a two's-complement number.
inline std::int32_t SignExtend(std::uint32_t value, int bits) {
    const std::uint32_t sign = 1u << (bits - 1);
    return static_cast<std::int32_t>((value ^ sign) - sign);
}

}  // namespace raster::detail
