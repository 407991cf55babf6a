// LZW with variable code widths (9 to 12 bits, least significant bit first),
// a clear code when the table fills and an end code. The decoder checks every
// code against the table it has built and every byte against its output.
#include <cstring>

#include "bit_stream.h"
#include "raster/store/tile_codecs.h"

namespace raster {
namespace {

constexpr std::uint32_t kClear = 256;
constexpr std::uint32_t kEnd = 257;
constexpr std::uint32_t kFirstCode = 258;
constexpr std::uint32_t kClearAt = 4094;  // the encoder starts over when its next code gets here
constexpr std::uint32_t kTableSize = 4095;

struct EncoderState {
    int width = 9;
    std::uint32_t next = kFirstCode;
    std::uint32_t threshold = 512;
};

void ResetEncoder(RIPLZWWork* work, EncoderState* s) {
    std::memset(work->keys, 0xFF, sizeof work->keys);
    *s = EncoderState{};
}

}  // namespace

std::size_t RIPLZWEncode(RIPLZWWork* work, std::uint8_t* destination, std::size_t capacity,
                         const std::uint8_t* source, std::size_t sourceBytes) {
    detail::BitWriter out(destination, capacity);
    EncoderState s;
    ResetEncoder(work, &s);
    out.Put(kClear, s.width);
    if (sourceBytes > 0) {
        std::uint32_t omega = source[0];
        for (std::size_t i = 1; i < sourceBytes; ++i) {
            const std::uint32_t c = source[i];
            const std::uint32_t key = c * 4096 + omega;
            int h = static_cast<int>((c << 4) ^ omega);
            const int step = h == 0 ? 1 : RIPLZWWork::kHashSize - h;
            bool found = false;
            while (work->keys[h] != 0xFFFFFFFFu) {
                if (work->keys[h] == key) {
                    found = true;
                    break;
                }
                h -= step;
                if (h < 0) h += RIPLZWWork::kHashSize;
            }
            if (found) {
                omega = work->codes[h];
                continue;
            }
            out.Put(omega, s.width);
            omega = c;
            if (s.next < kClearAt) {
                if (s.next == s.threshold - 1) {
                    ++s.width;
                    s.threshold = 1u << s.width;
                }
                work->keys[h] = key;
                work->codes[h] = static_cast<std::uint16_t>(s.next);
                ++s.next;
            }
            if (s.next >= kClearAt) {
                out.Put(kClear, s.width);
                ResetEncoder(work, &s);
            }
        }
        out.Put(omega, s.width);
    }
    out.Put(kEnd, s.width);
    return out.Finish() ? out.Bytes() : 0;
}

std::size_t RIPLZWDecode(RIPLZWWork* work, std::uint8_t* destination, std::size_t capacity,
                         const std::uint8_t* source, std::size_t sourceBytes) {
    std::size_t written = 0;
    std::size_t staged = 0;
    bool overflow = false;
    const auto flush = [&] {
        if (staged > capacity - written) {
            overflow = true;
            staged = capacity - written;
        }
        std::memcpy(destination + written, work->staging, staged);
        written += staged;
        staged = 0;
    };
    const auto put = [&](std::uint8_t byte) {
        if (staged == sizeof work->staging) flush();
        work->staging[staged++] = byte;
    };

    std::size_t bitPos = 0;
    int width = 9;
    std::uint32_t largest = 511;
    const auto read = [&]() -> std::uint32_t {
        if ((bitPos + static_cast<std::size_t>(width) + 7) / 8 > sourceBytes) return kEnd;
        std::uint32_t v = 0;
        for (int b = 0; b < width; ++b, ++bitPos) {
            v |= static_cast<std::uint32_t>((source[bitPos >> 3] >> (bitPos & 7)) & 1) << b;
        }
        return v & largest;
    };

    std::uint32_t next = kFirstCode;
    std::uint32_t previous = 0;
    bool havePrevious = false;
    std::uint32_t code = sourceBytes >= 2 ? read() : kClear;
    while (!overflow) {
        if (code == kEnd) break;
        if (code == kClear) {
            width = 9;
            largest = 511;
            next = kFirstCode;
            for (std::uint32_t i = 0; i < 256; ++i) work->suffix[i] = static_cast<std::uint8_t>(i);
            std::memset(work->suffix + 256, 0, sizeof work->suffix - 256);
            std::memset(work->prefix, 0, sizeof work->prefix);
            code = read();
            while (code == kClear) code = read();
            if (code == kEnd) break;
            if (code > 255) return 0;  // a fresh table knows single bytes only
            put(static_cast<std::uint8_t>(code));
            previous = code;
            havePrevious = true;
            code = read();
            continue;
        }
        if (!havePrevious || code > next || code >= kTableSize) return 0;
        // Collect the string backwards on the stack: for a code not yet in the
        // table, the previous string followed by its own first byte.
        std::size_t depth = 0;
        std::uint32_t walk = code == next ? previous : code;
        while (walk > 257) {
            if (depth >= sizeof work->stack || work->prefix[walk] == walk) return 0;
            work->stack[depth++] = work->suffix[walk];
            walk = work->prefix[walk];
        }
        if (walk > 255 || depth >= sizeof work->stack) return 0;
        work->stack[depth++] = static_cast<std::uint8_t>(walk);
        const std::uint8_t first = static_cast<std::uint8_t>(walk);
        for (std::size_t k = depth; k-- > 0;) put(work->stack[k]);
        if (code == next) put(first);
        if (next < kTableSize) {
            work->prefix[next] = static_cast<std::uint16_t>(previous);
            work->suffix[next] = first;
            ++next;
            if (next == largest && width < 13) {
                largest = 2 * largest + 1;
                ++width;
            }
        }
        previous = code;
        code = read();
    }
    flush();
    return overflow ? 0 : written;
}

}  // namespace raster
