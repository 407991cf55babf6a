// The tokenizer's input decoding: sniffing the encoding, converting reads.
#include "markup/parser/input_decoder.h"

#include <algorithm>
#include <cstring>

#include "platform/text_converter.h"

namespace markup::detail {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

std::string Lower(std::string_view text) {
    std::string out;
    for (const char c : text) out.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c);
    return out;
}

// The value of `encoding` in an XML declaration at the start of `head`.
std::string_view DeclaredEncoding(std::string_view head) {
    if (!head.starts_with("<?xml") || head.size() < 6 || !IsBlank(head[5])) return {};
    const std::string_view declaration = head.substr(0, head.find("?>"));
    std::size_t at = declaration.find("encoding");
    if (at == std::string_view::npos) return {};
    at += 8;
    while (at < declaration.size() && IsBlank(declaration[at])) ++at;
    if (at >= declaration.size() || declaration[at] != '=') return {};
    ++at;
    while (at < declaration.size() && IsBlank(declaration[at])) ++at;
    if (at >= declaration.size() || (declaration[at] != '"' && declaration[at] != '\'')) return {};
    const std::size_t close = declaration.find(declaration[at], at + 1);
    if (close == std::string_view::npos) return {};
    return declaration.substr(at + 1, close - at - 1);
}

}  // namespace

std::string SniffEncoding(std::string_view head) {
    if (head.starts_with("\xFF\xFE") || head.starts_with("\xFE\xFF")) return "UTF-16";
    if (head.starts_with(std::string_view("<\0?\0", 4))) return "UTF-16LE";
    if (head.starts_with(std::string_view("\0<\0?", 4))) return "UTF-16BE";
    if (head.starts_with(kUtf8Mark)) return {};
    const std::string name = Lower(DeclaredEncoding(head));
    // A sixteen-bit encoding declared in eight-bit text is a wrong name:
    // the bytes are read as they are.
    if (name.empty() || name == "utf-8" || name == "utf8" || name.starts_with("utf-16") || name.starts_with("ucs-2"))
        return {};
    return name;
}

InputDecoder::InputDecoder() = default;
InputDecoder::~InputDecoder() = default;

void InputDecoder::Reset() {
    started_ = false;
    ended_ = false;
    converter_.reset();
    raw_.clear();
    head_.clear();
    pending_.clear();
    pendingAt_ = 0;
}

void InputDecoder::Start() {
    started_ = true;
    const std::string encoding = SniffEncoding(head_);
    if (!encoding.empty()) converter_ = platform::TextConverter::ToUtf8(encoding);
    if (std::string_view(head_).starts_with(kUtf8Mark)) head_.erase(0, kUtf8Mark.size());
}

bool InputDecoder::Flush(std::string& out) {
    ended_ = true;
    if (converter_) {
        converter_->Convert(head_, true, out);
    } else {
        out.swap(head_);
    }
    head_.clear();
    return !out.empty();
}

ReturnCodeEnum InputDecoder::Read(InStream& stream, unsigned char* buffer, std::uint32_t& count) {
    const std::uint32_t capacity = count;
    count = 0;
    ReturnCodeEnum status = kErr_None;
    while (pendingAt_ >= pending_.size()) {
        pending_.clear();
        pendingAt_ = 0;
        if (ended_) return status;
        if (started_ && !converter_) {
            // UTF-8 goes straight to the tokenizer.
            std::uint32_t got = capacity;
            status = stream.Read(buffer, got);
            if (got == 0 || got > capacity) {
                ended_ = true;
                return status;
            }
            count = got;
            return status;
        }
        if (stream.AtEnd(kStreamReadPosition)) {
            if (!started_) Start();
            if (!Flush(pending_)) return status;
            continue;
        }
        raw_.resize(capacity);
        std::uint32_t got = capacity;
        status = stream.Read(raw_.data(), got);
        // A stream that gives nothing more has ended, whatever its end
        // test says.
        if (got == 0 || got > capacity) {
            if (!started_) Start();
            if (!Flush(pending_)) return status;
            continue;
        }
        raw_.resize(got);
        if (!started_) {
            // The first bytes up to a ">" say the encoding.
            head_.append(raw_);
            if (head_.find('>') == std::string::npos && head_.size() < kHeadLimit && !stream.AtEnd(kStreamReadPosition))
                continue;
            Start();
            if (converter_) {
                converter_->Convert(head_, false, pending_);
            } else {
                pending_.swap(head_);
            }
            head_.clear();
            continue;
        }
        converter_->Convert(raw_, false, pending_);
    }
    const std::size_t take = std::min<std::size_t>(capacity, pending_.size() - pendingAt_);
    std::memcpy(buffer, pending_.data() + pendingAt_, take);
    pendingAt_ += take;
    count = static_cast<std::uint32_t>(take);
    return status;
}

}  // namespace markup::detail
