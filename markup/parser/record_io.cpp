// Field readers and writers of the .dic records.
#include "record_io.h"

namespace markup::detail {

namespace {

// The smallest record a list item can be: one word.
constexpr std::uint32_t kSmallestRecord = 4;

}  // namespace

void Require(ReturnCodeEnum status) {
    if (status != kErr_None) throw status;
}

std::uint32_t ReadWord(InStream& stream) {
    unsigned char b[4];
    std::uint32_t count = sizeof b;
    Require(stream.Read(b, count));
    return static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
           static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24;
}

std::uint8_t ReadByte(InStream& stream) {
    unsigned char b = 0;
    std::uint32_t count = 1;
    Require(stream.Read(&b, count));
    return b;
}

void ReadText(InStream& stream, String& text) {
    Require(text.Read(stream));
}

std::int32_t ReadSignMagnitude(InStream& stream) {
    const std::uint32_t word = ReadWord(stream);
    const auto magnitude = static_cast<std::int32_t>(word & 0x7FFFFFFFu);
    return (word & 0x80000000u) ? -magnitude : magnitude;
}

void WriteWord(OutStream& stream, std::uint32_t word) {
    const unsigned char b[4] = {static_cast<unsigned char>(word), static_cast<unsigned char>(word >> 8),
                                static_cast<unsigned char>(word >> 16),
                                static_cast<unsigned char>(word >> 24)};
    Require(stream.Write(b, sizeof b));
}

void WriteByte(OutStream& stream, std::uint8_t byte) {
    Require(stream.Write(&byte, 1));
}

void WriteText(OutStream& stream, const String& text) {
    Require(text.Write(stream));
}

void WriteSignMagnitude(OutStream& stream, std::int32_t value) {
    if (value >= 0) {
        WriteWord(stream, static_cast<std::uint32_t>(value));
    } else {
        const std::uint32_t magnitude = value == INT32_MIN ? 0x7FFFFFFFu : static_cast<std::uint32_t>(-value);
        WriteWord(stream, 0x80000000u | magnitude);
    }
}

void CheckCount(InStream& stream, std::uint32_t count, std::uint32_t minBytes) {
    const std::int32_t total = stream.UpdateLength();
    if (total < 0) return;
    const auto size = static_cast<std::uint32_t>(total);
    const std::uint32_t at = stream.CurrentPosition();
    const std::uint32_t left = at <= size ? size - at : 0;
    const std::uint32_t each = minBytes < kSmallestRecord ? kSmallestRecord : minBytes;
    if (count > left / each) throw kErr_StreamRead;
}

std::uint32_t CountWord(std::size_t count) {
    if (count > 0xFFFFFFFFu) throw kErr_StreamWrite;
    return static_cast<std::uint32_t>(count);
}

}  // namespace markup::detail
