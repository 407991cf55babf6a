// String: formatting, string resources and the serialised form.
#include <locale.h>

#include <cstdio>
#include <cstring>
#include <limits>

#include "markup/heap.h"
#include "markup/stream.h"
#include "markup/string.h"
#include "platform/resource_strings.h"

namespace markup {

namespace {

// Frees a scratch buffer on every way out, faults included.
struct Scratch {
    char* bytes;
    explicit Scratch(std::size_t size) : bytes(static_cast<char*>(HeapAllocate(size))) {}
    ~Scratch() { HeapFree(bytes); }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
};

// Numbers are formatted the same whatever locale the host runs in.
locale_t CLocale() {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return c;
}

constexpr std::uint32_t kResourceStep = 256;

// The first piece of a text read from a stream of unknown length.
constexpr std::uint32_t kFirstPiece = 4096;

}  // namespace

bool String::Format(const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    const bool cut = FormatV(format, args);
    va_end(args);
    return cut;
}

bool String::FormatV(const char* format, std::va_list args) {
    const std::size_t formatLength = format ? std::strlen(format) : 0;
    if (formatLength == 0) {
        Empty();
        return false;
    }
    std::uint64_t percents = 0;
    for (const char* p = format; *p; ++p) percents += *p == '%';
    const std::uint64_t bound = formatLength + 200 * percents;
    if (bound >= std::numeric_limits<std::uint32_t>::max()) RaiseMemoryFault();
    Scratch scratch(static_cast<std::size_t>(bound) + 1);
    if (!scratch.bytes) RaiseMemoryFault();
    const locale_t c = CLocale();
    const locale_t previous = c ? uselocale(c) : static_cast<locale_t>(nullptr);
    const int written = std::vsnprintf(scratch.bytes, static_cast<std::size_t>(bound) + 1, format, args);
    if (c) uselocale(previous);
    if (written < 0) scratch.bytes[0] = 0;
    *this = scratch.bytes;
    return written < 0 || static_cast<std::uint64_t>(written) > bound;
}

std::uint32_t String::LoadString(unsigned id) {
    RegisterEngineStrings();
    for (std::uint32_t size = kResourceStep;; size += kResourceStep) {
        Scratch scratch(size);
        if (!scratch.bytes) {
            Empty();
            RaiseMemoryFault();
        }
        const std::int32_t n =
            platform::LoadResourceString(id, scratch.bytes, static_cast<std::int32_t>(size));
        // A text that fills the buffer to its last byte may have been cut.
        if (static_cast<std::uint32_t>(n) < size - 1) {
            *this = scratch.bytes;
            return length_;
        }
    }
}

ReturnCodeEnum String::Read(InStream& stream) {
    Empty();
    unsigned char header[4];
    std::uint32_t count = sizeof header;
    const ReturnCodeEnum first = stream.Read(header, count);
    if (first != kErr_None) return first;
    const std::uint32_t length =
        static_cast<std::uint32_t>(header[0]) | static_cast<std::uint32_t>(header[1]) << 8 |
        static_cast<std::uint32_t>(header[2]) << 16 | static_cast<std::uint32_t>(header[3]) << 24;
    // A stream's length is a signed 32-bit value and the header took four of
    // its bytes, so no stream holds a longer text; refusing it here also keeps
    // length + 1 from wrapping on a 32-bit size_t.
    if (length > kLongestStreamText) return kErr_StreamRead;
    // A length beyond what the file still holds can only end in a short read;
    // answer that without first taking a buffer as large as the bad length.
    const std::int32_t total = stream.UpdateLength();
    if (total < 0) return ReadInPieces(stream, length);
    const std::uint32_t size = static_cast<std::uint32_t>(total);
    const std::uint32_t at = stream.CurrentPosition();
    if (at <= size && length > size - at) return kErr_StreamRead;
    Scratch scratch(static_cast<std::size_t>(length) + 1);
    if (!scratch.bytes) return kErr_OutOfMemory;
    count = length;
    const ReturnCodeEnum second = stream.Read(scratch.bytes, count);
    if (second == kErr_None) {
        scratch.bytes[length] = 0;
        AssignBytes(scratch.bytes, length);
    }
    return second;
}

// With no length to check against, the buffer grows only as bytes arrive:
// a wrong length ends in the short read having taken about as much memory
// as the stream really held.
ReturnCodeEnum String::ReadInPieces(InStream& stream, std::uint32_t length) {
    std::uint32_t have = 0;
    std::uint32_t room = length < kFirstPiece ? length : kFirstPiece;
    char* bytes = static_cast<char*>(HeapAllocate(static_cast<std::size_t>(room) + 1));
    if (!bytes) return kErr_OutOfMemory;
    ReturnCodeEnum status = kErr_None;
    while (have < length) {
        if (have == room) {
            const std::uint32_t grown = length - room < room ? length : room * 2;
            char* larger = static_cast<char*>(HeapAllocate(static_cast<std::size_t>(grown) + 1));
            if (!larger) {
                status = kErr_OutOfMemory;
                break;
            }
            std::memcpy(larger, bytes, have);
            HeapFree(bytes);
            bytes = larger;
            room = grown;
        }
        std::uint32_t count = room - have;
        status = stream.Read(bytes + have, count);
        if (status != kErr_None) break;
        have += count;
    }
    if (status == kErr_None) {
        bytes[length] = 0;
        AssignBytes(bytes, length);
    }
    HeapFree(bytes);
    return status;
}

ReturnCodeEnum String::Write(OutStream& stream) const {
    const unsigned char header[4] = {
        static_cast<unsigned char>(length_), static_cast<unsigned char>(length_ >> 8),
        static_cast<unsigned char>(length_ >> 16), static_cast<unsigned char>(length_ >> 24)};
    const ReturnCodeEnum first = stream.Write(header, sizeof header);
    if (first != kErr_None || length_ == 0) return first;
    return stream.Write(Text(), length_);
}

}  // namespace markup
