// TextConverter over the C library's iconv.
#include <iconv.h>

#include <algorithm>
#include <cerrno>

#include "latin1_converter.h"
#include "platform/text_converter.h"

namespace platform {

namespace {

constexpr char kReplacement[] = "\xEF\xBF\xBD";

// The width of one code unit, which an undefined sequence is skipped by.
std::size_t UnitOf(std::string_view encoding) {
    std::string lower;
    for (const char c : encoding) lower.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c);
    if (lower.starts_with("utf-16") || lower.starts_with("ucs-2") || lower.starts_with("utf16")) return 2;
    if (lower.starts_with("utf-32") || lower.starts_with("ucs-4") || lower.starts_with("utf32")) return 4;
    return 1;
}

class IconvConverter final : public TextConverter {
  public:
    IconvConverter(iconv_t handle, std::size_t unit) : handle_(handle), unit_(unit) {}
    ~IconvConverter() override { iconv_close(handle_); }

    void Convert(std::string_view bytes, bool last, std::string& out) override {
        held_.append(bytes);
        std::size_t at = 0;
        char block[4096];
        while (at < held_.size()) {
            char* in = held_.data() + at;
            std::size_t inLeft = held_.size() - at;
            char* to = block;
            std::size_t toLeft = sizeof block;
            const std::size_t done = iconv(handle_, &in, &inLeft, &to, &toLeft);
            const int error = done == static_cast<std::size_t>(-1) ? errno : 0;
            out.append(block, static_cast<std::size_t>(to - block));
            at = held_.size() - inLeft;
            if (error == 0 || error == E2BIG) continue;
            if (error == EINVAL && !last) break;  // the rest of a character is still to come
            // An undefined sequence, or one the text ends inside.
            out += kReplacement;
            at = std::min(held_.size(), at + unit_);
            iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        }
        held_.erase(0, at);
    }

  private:
    iconv_t handle_;
    std::size_t unit_;
    std::string held_;
};

}  // namespace

TextConverter::~TextConverter() = default;

std::unique_ptr<TextConverter> TextConverter::ToUtf8(std::string_view encoding) {
    if (encoding.empty() || encoding.size() > 64) return nullptr;
    if (detail::NamesLatin1(encoding)) return detail::Latin1ToUtf8();
    const std::string name(encoding);
    const iconv_t handle = iconv_open("UTF-8", name.c_str());
    if (handle == reinterpret_cast<iconv_t>(-1)) return nullptr;
    return std::make_unique<IconvConverter>(handle, UnitOf(encoding));
}

}  // namespace platform
