// The tokenizer's input as UTF-8.
//
// A document says its encoding with a byte-order mark or with its XML
// declaration's `encoding`; one that says nothing is UTF-8 and passes
// unchanged (as does one in UTF-8, whose mark is dropped). Any other
// encoding the system knows is converted piece by piece as it is read, so
// the tokenizer and everything after it see one encoding.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "markup/stream.h"

namespace platform {
class TextConverter;
}

namespace markup::detail {

// The encoding that a document's first bytes name, or "" when they name
// none other than UTF-8.
std::string SniffEncoding(std::string_view head);

class InputDecoder {
  public:
    InputDecoder();
    ~InputDecoder();
    InputDecoder(const InputDecoder&) = delete;
    InputDecoder& operator=(const InputDecoder&) = delete;

    // Fills `buffer` with up to `count` bytes of UTF-8 and sets `count` to
    // how many; 0 at the end. The answer is the stream's status of its
    // last read.
    ReturnCodeEnum Read(InStream& stream, unsigned char* buffer, std::uint32_t& count);
    void Reset();

  private:
    static constexpr std::size_t kHeadLimit = 1024;
    void Start();
    bool Flush(std::string& out);

    bool started_ = false;
    bool ended_ = false;
    std::unique_ptr<platform::TextConverter> converter_;
    std::string raw_;
    // The first bytes, held until they show the encoding.
    std::string head_;
    std::string pending_;
    std::size_t pendingAt_ = 0;
};

}  // namespace markup::detail
