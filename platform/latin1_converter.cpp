// ISO-8859-1 to UTF-8 in one pass: a document in it is read at the speed of
// a copy, where iconv took as long as tokenizing the text.
#include "latin1_converter.h"

#include <array>

namespace platform::detail {

namespace {

class Latin1Converter final : public TextConverter {
  public:
    void Convert(std::string_view bytes, bool, std::string& out) override {
        // At most two bytes each; the rest is cut off again below.
        const std::size_t start = out.size();
        out.resize(start + 2 * bytes.size());
        char* to = out.data() + start;
        for (const char c : bytes) {
            const auto b = static_cast<unsigned char>(c);
            if (b < 0x80) {
                *to++ = c;
            } else {
                *to++ = static_cast<char>(0xC0 | (b >> 6));
                *to++ = static_cast<char>(0x80 | (b & 0x3F));
            }
        }
        out.resize(static_cast<std::size_t>(to - out.data()));
    }
};

}  // namespace

bool NamesLatin1(std::string_view encoding) {
    static constexpr std::array<std::string_view, 10> kNames = {
        "iso-8859-1", "iso8859-1", "iso_8859-1", "iso_8859-1:1987", "latin1",
        "l1",         "cp819",     "ibm819",     "iso-ir-100",      "csisolatin1"};
    if (encoding.size() > 16) return false;
    char lower[16];
    for (std::size_t i = 0; i < encoding.size(); ++i) {
        const char c = encoding[i];
        lower[i] = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
    }
    const std::string_view name(lower, encoding.size());
    for (const std::string_view known : kNames) {
        if (name == known) return true;
    }
    return false;
}

std::unique_ptr<TextConverter> Latin1ToUtf8() {
    return std::make_unique<Latin1Converter>();
}

}  // namespace platform::detail
