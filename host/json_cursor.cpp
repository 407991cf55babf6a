// The JSON pull reader. The hot loops work on local pointers into the
// window; a refill moves the window, so positions are kept as indices and
// the current token's start (keep_) is what a refill preserves.
#include "host/json_cursor.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <system_error>

#include "utf8.h"

namespace host {
namespace {

// Beyond this many decimal digits of magnitude a number may not fit a double.
constexpr int kSafeDecimalExponent = 308;

bool IsDigit(int c) {
    return c >= '0' && c <= '9';
}

bool IsNumberByte(char c) {
    return IsDigit(c) || c == '-' || c == '+' || c == '.' || c == 'e' || c == 'E';
}

}  // namespace

const char* JsonKindName(JsonKind kind) {
    switch (kind) {
        case JsonKind::kObject:
            return "an object";
        case JsonKind::kArray:
            return "an array";
        case JsonKind::kString:
            return "a string";
        case JsonKind::kNumber:
            return "a number";
        case JsonKind::kBoolean:
            return "a boolean";
        case JsonKind::kNull:
            return "null";
    }
    return "a value";
}

JsonCursor::JsonCursor(std::string_view text) : data_(text.data()), size_(text.size()), text_(text) {}

namespace {

// A window no larger than a regular file needs (it grows when a token does
// not fit): a small description does not zero a quarter of a megabyte.
size_t WindowFor(int fd, size_t window) {
    struct stat st;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size >= 0 &&
        static_cast<uint64_t>(st.st_size) < window) {
        window = static_cast<size_t>(st.st_size) + 1;
    }
    return std::max<size_t>(window, 1);
}

}  // namespace

JsonCursor::JsonCursor(int fd, size_t window) : fd_(fd), buffer_(WindowFor(fd, window)) {
    data_ = buffer_.data();
}

bool JsonCursor::Refill() {
    if (fd_ < 0) return false;
    if (keep_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + keep_, size_ - keep_);
        size_ -= keep_;
        pos_ -= keep_;
        base_ += keep_;
        keep_ = 0;
    }
    if (size_ == buffer_.size()) buffer_.resize(buffer_.size() * 2);
    data_ = buffer_.data();
    for (;;) {
        const ssize_t n = ::pread64(fd_, buffer_.data() + size_, buffer_.size() - size_,
                                    static_cast<off64_t>(base_ + size_));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw JsonInputError{std::strerror(errno)};
        size_ += static_cast<size_t>(n);
        return n > 0;
    }
}

int JsonCursor::SkipSpace() {
    for (;;) {
        const char* p = data_ + pos_;
        const char* const end = data_ + size_;
        while (p < end && (*p == ' ' || *p == '\n' || *p == '\r' || *p == '\t')) ++p;
        pos_ = static_cast<size_t>(p - data_);
        if (p < end) return static_cast<unsigned char>(*p);
        keep_ = pos_;
        if (!Refill()) return -1;
    }
}

void JsonCursor::Expect(char c, const char* what) {
    if (SkipSpace() != static_cast<unsigned char>(c)) Fail(std::string("syntax error: expected ") + what);
    ++pos_;
}

JsonKind JsonCursor::Peek() {
    const int c = SkipSpace();
    switch (c) {
        case '{':
            return JsonKind::kObject;
        case '[':
            return JsonKind::kArray;
        case '"':
            return JsonKind::kString;
        case 't':
        case 'f':
            return JsonKind::kBoolean;
        case 'n':
            return JsonKind::kNull;
        case -1:
            Fail("syntax error: the text ends where a value should stand");
        default:
            if (c == '-' || IsDigit(c)) return JsonKind::kNumber;
            Fail("syntax error: expected a value");
    }
}

void JsonCursor::BeginObject() {
    Expect('{', "'{'");
    first_ = true;
}

bool JsonCursor::NextMember(std::string_view& key) {
    int c = SkipSpace();
    if (c == '}') {
        ++pos_;
        first_ = false;
        return false;
    }
    if (!first_) {
        if (c != ',') Fail(c == -1 ? "syntax error: the text ends inside an object" : "syntax error: expected ',' or '}'");
        ++pos_;
        c = SkipSpace();
        if (c != '"') Fail("syntax error: expected a member name");
    } else if (c != '"') {
        Fail(c == -1 ? "syntax error: the text ends inside an object" : "syntax error: expected a member name or '}'");
    }
    key = ScanString(keyText_);
    if (pos_ < size_ && data_[pos_] == ':') {
        ++pos_;
        first_ = false;
        return true;
    }
    // Finding the colon may move the window; the name is kept apart.
    if (key.data() != keyText_.data()) {
        keyText_.assign(key);
        key = keyText_;
    }
    Expect(':', "':'");
    first_ = false;
    return true;
}

void JsonCursor::BeginArray() {
    Expect('[', "'['");
    first_ = true;
}

bool JsonCursor::NextElement() {
    const int c = SkipSpace();
    if (c == ']') {
        ++pos_;
        first_ = false;
        return false;
    }
    if (!first_) {
        if (c != ',') Fail(c == -1 ? "syntax error: the text ends inside an array" : "syntax error: expected ',' or ']'");
        ++pos_;
    }
    first_ = false;
    return true;
}

std::string_view JsonCursor::String() {
    if (SkipSpace() != '"') Fail("syntax error: expected a string");
    return ScanString(valueText_);
}

std::string_view JsonCursor::ScanString(std::string& decoded) {
    keep_ = pos_;
    ++pos_;
    for (;;) {
        // Plain ASCII up to the closing quote: the string is the text itself.
        const char* p = data_ + pos_;
        const char* const end = data_ + size_;
        while (p < end) {
            const auto c = static_cast<unsigned char>(*p);
            if (c == '"' || c == '\\' || c < 0x20 || c >= 0x80) break;
            ++p;
        }
        pos_ = static_cast<size_t>(p - data_);
        if (p == end) {
            if (!Refill()) Fail("syntax error: the text ends inside a string");
            continue;
        }
        const auto c = static_cast<unsigned char>(*p);
        if (c == '"') {
            const std::string_view text(data_ + keep_ + 1, pos_ - keep_ - 1);
            ++pos_;
            return text;
        }
        if (c == '\\') break;
        if (c < 0x20) Fail("syntax error: a control character in a string");
        CheckUtf8(c);
    }
    // An escape: the rest is decoded into `decoded`.
    decoded.assign(data_ + keep_ + 1, pos_ - keep_ - 1);
    for (;;) {
        keep_ = pos_;
        if (!Have()) Fail("syntax error: the text ends inside a string");
        const auto c = static_cast<unsigned char>(data_[pos_]);
        if (c == '"') {
            ++pos_;
            return decoded;
        }
        if (c == '\\') {
            DecodeEscape(decoded);
        } else if (c < 0x20) {
            Fail("syntax error: a control character in a string");
        } else if (c < 0x80) {
            decoded += static_cast<char>(c);
            ++pos_;
        } else {
            CheckUtf8(c);
            decoded.append(data_ + keep_, pos_ - keep_);
        }
    }
}

// At a lead byte above 0x7F: passes a well-formed UTF-8 sequence (no
// overlong forms, surrogates or codes beyond U+10FFFF).
void JsonCursor::CheckUtf8(unsigned char lead) {
    int extra = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1;
    } else if (lead == 0xE0) {
        extra = 2;
        low = 0xA0;
    } else if ((lead >= 0xE1 && lead <= 0xEC) || lead == 0xEE || lead == 0xEF) {
        extra = 2;
    } else if (lead == 0xED) {
        extra = 2;
        high = 0x9F;
    } else if (lead == 0xF0) {
        extra = 3;
        low = 0x90;
    } else if (lead >= 0xF1 && lead <= 0xF3) {
        extra = 3;
    } else if (lead == 0xF4) {
        extra = 3;
        high = 0x8F;
    } else {
        Fail("syntax error: invalid UTF-8 in a string");
    }
    const uint64_t at = base_ + pos_;
    for (int k = 0; k < extra; ++k) {
        ++pos_;
        if (!Have()) Fail("syntax error: the text ends inside a string");
        const auto c = static_cast<unsigned char>(data_[pos_]);
        if (c < low || c > high) FailAt(at, "syntax error: invalid UTF-8 in a string");
        low = 0x80;
        high = 0xBF;
    }
    ++pos_;
}

uint32_t JsonCursor::HexDigits() {
    uint32_t code = 0;
    for (int k = 0; k < 4; ++k) {
        if (!Have()) Fail("syntax error: the text ends inside a string");
        const char c = data_[pos_];
        const int digit = IsDigit(c) ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
        if (digit < 0) Fail("syntax error: expected four hexadecimal digits after \\u");
        code = code * 16 + static_cast<uint32_t>(digit);
        ++pos_;
    }
    return code;
}

void JsonCursor::DecodeEscape(std::string& out) {
    const uint64_t at = base_ + pos_;
    ++pos_;
    if (!Have()) Fail("syntax error: the text ends inside a string");
    const char c = data_[pos_++];
    switch (c) {
        case '"':
        case '\\':
        case '/':
            out += c;
            return;
        case 'b':
            out += '\b';
            return;
        case 'f':
            out += '\f';
            return;
        case 'n':
            out += '\n';
            return;
        case 'r':
            out += '\r';
            return;
        case 't':
            out += '\t';
            return;
        case 'u':
            break;
        default:
            FailAt(at, "syntax error: invalid escape in a string");
    }
    uint32_t code = HexDigits();
    if (code >= 0xDC00 && code <= 0xDFFF) FailAt(at, "syntax error: a lone low surrogate in a string");
    if (code >= 0xD800 && code <= 0xDBFF) {
        // A high surrogate takes its low surrogate as the next escape.
        for (const char expected : {'\\', 'u'}) {
            if (!Have() || data_[pos_] != expected) FailAt(at, "syntax error: a lone high surrogate in a string");
            ++pos_;
        }
        const uint32_t low = HexDigits();
        if (low < 0xDC00 || low > 0xDFFF) FailAt(at, "syntax error: a lone high surrogate in a string");
        code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
    }
    AppendUtf8(out, code);
}

// A number is read from one span of the window: digits into a mantissa and a
// power of ten, and its text kept for the numbers that need the exact
// conversion. One that reaches the window's end is read again once the
// window holds more.
JsonCursor::ScannedNumber JsonCursor::ScanNumber() {
    keep_ = pos_;
    bool more = true;
    for (;;) {
        const char* const e = data_ + size_;
        const char* failed = nullptr;
        ScannedNumber n;
        const char* const stop = ParseNumber(data_ + pos_, e, n, failed);
        // A refill may move the window even when nothing more comes: read again.
        if (more && (stop == e || failed == e)) {
            more = Refill();
            continue;
        }
        if (failed == nullptr && stop < e && IsNumberByte(*stop)) failed = stop;
        if (failed != nullptr) {
            pos_ = static_cast<size_t>(failed - data_);
            Fail("syntax error: invalid number");
        }
        n.text = std::string_view(data_ + pos_, static_cast<size_t>(stop - (data_ + pos_)));
        pos_ = static_cast<size_t>(stop - data_);
        return n;
    }
}

// From p, short of e; where the number stops, or `failed` where it breaks the grammar.
const char* JsonCursor::ParseNumber(const char* p, const char* e, ScannedNumber& n, const char*& failed) {
    if (*p == '-') {
        n.negative = true;
        ++p;
    }
    if (p == e || !IsDigit(*p)) return failed = p;
    int digits = 0;
    auto digit = [&](int d) {
        if (digits < 19) {
            n.mantissa = n.mantissa * 10 + static_cast<uint64_t>(d);
            ++digits;
            return true;
        }
        n.dropped = n.dropped || d != 0;
        return false;
    };
    if (*p == '0') {
        ++p;
    } else {
        for (; p < e && IsDigit(*p); ++p) {
            if (!digit(*p - '0')) ++n.scale;
            if (n.magnitude < 100000) ++n.magnitude;
        }
    }
    if (p < e && *p == '.') {
        n.whole = false;
        ++p;
        if (p == e || !IsDigit(*p)) return failed = p;
        for (; p < e && IsDigit(*p); ++p) {
            const int d = *p - '0';
            if (n.mantissa == 0 && d == 0) {
                // Zeros ahead of the first significant digit only scale it.
                --n.scale;
                if (n.magnitude <= 0 && n.magnitude > -100000) --n.magnitude;
            } else if (digit(d)) {
                --n.scale;
            }
        }
    }
    if (p < e && (*p == 'e' || *p == 'E')) {
        n.whole = false;
        ++p;
        bool negative = false;
        if (p < e && (*p == '+' || *p == '-')) negative = *p++ == '-';
        if (p == e || !IsDigit(*p)) return failed = p;
        int exponent = 0;
        for (; p < e && IsDigit(*p); ++p) {
            if (exponent < 100000) exponent = exponent * 10 + (*p - '0');
        }
        n.scale += negative ? -exponent : exponent;
        n.magnitude += negative ? -exponent : exponent;
    }
    return p;
}

double JsonCursor::ToDouble(const ScannedNumber& n, uint64_t at) const {
    // Up to 2^53 with a power of ten up to 22 both are exact doubles, and one
    // multiplication or division of them is correctly rounded.
    static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                         1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (!n.dropped && n.mantissa <= (uint64_t{1} << 53) && n.scale >= -22 && n.scale <= 22) {
        const auto m = static_cast<double>(n.mantissa);
        const double v = n.scale >= 0 ? m * kPowers[n.scale] : m / kPowers[-n.scale];
        return n.negative ? -v : v;
    }
    double v = 0;
    const auto r = std::from_chars(n.text.data(), n.text.data() + n.text.size(), v);
    if (r.ec == std::errc::result_out_of_range) {
        // Too small a number is zero; too large a one has no value here.
        if (n.magnitude > 0) {
            const std::string shown(n.text.substr(0, 40));
            FailAt(at, "the number " + shown + (n.text.size() > 40 ? "..." : "") + " is too large");
        }
        v = n.negative ? -0.0 : 0.0;
    }
    return v;
}

JsonNumber JsonCursor::Number() {
    if (Peek() != JsonKind::kNumber) Fail("syntax error: expected a number");
    const uint64_t at = base_ + pos_;
    const ScannedNumber s = ScanNumber();
    JsonNumber n;
    n.whole = s.whole;
    if (s.whole) {
        const uint64_t limit = s.negative ? uint64_t{1} << 63 : (uint64_t{1} << 63) - 1;
        if (s.scale == 0 && s.mantissa <= limit) {
            n.integer = s.negative ? static_cast<int64_t>(0 - s.mantissa) : static_cast<int64_t>(s.mantissa);
        } else {
            n.integer = s.negative ? INT64_MIN : INT64_MAX;
        }
    }
    n.value = ToDouble(s, at);
    return n;
}

void JsonCursor::Literal(const char* word) {
    for (const char* w = word; *w != 0; ++w) {
        if (!Have() || data_[pos_] != *w) Fail("syntax error: invalid literal");
        ++pos_;
    }
}

bool JsonCursor::Boolean() {
    const int c = SkipSpace();
    if (c == 't') {
        Literal("true");
        return true;
    }
    if (c != 'f') Fail("syntax error: expected true or false");
    Literal("false");
    return false;
}

void JsonCursor::Null() {
    if (SkipSpace() != 'n') Fail("syntax error: expected null");
    Literal("null");
}

void JsonCursor::Skip() {
    const size_t bottom = open_.size();
    for (;;) {
        switch (Peek()) {
            case JsonKind::kObject:
                BeginObject();
                open_.push_back('{');
                break;
            case JsonKind::kArray:
                BeginArray();
                open_.push_back('[');
                break;
            case JsonKind::kString:
                ScanString(valueText_);
                break;
            case JsonKind::kNumber: {
                const uint64_t at = base_ + pos_;
                const ScannedNumber n = ScanNumber();
                // Only a number that may not fit is converted, to check it.
                if (n.magnitude > kSafeDecimalExponent) ToDouble(n, at);
                break;
            }
            case JsonKind::kBoolean:
                Boolean();
                break;
            case JsonKind::kNull:
                Null();
                break;
        }
        // Close what ended, up to the next value.
        for (;;) {
            if (open_.size() == bottom) return;
            std::string_view key;
            if (open_.back() == '{' ? NextMember(key) : NextElement()) break;
            open_.pop_back();
        }
    }
}

void JsonCursor::Skim() {
    const int c = SkipSpace();
    if (c != '{' && c != '[') {
        Skip();
        return;
    }
    const Mark start = Here();
    size_t depth = 0;
    bool inString = false;
    bool escape = false;
    for (;;) {
        const char* p = data_ + pos_;
        const char* const end = data_ + size_;
        for (; p < end; ++p) {
            const char b = *p;
            if (inString) {
                if (escape) {
                    escape = false;
                } else if (b == '\\') {
                    escape = true;
                } else if (b == '"') {
                    inString = false;
                }
            } else if (b == '"') {
                inString = true;
            } else if (b == '{' || b == '[') {
                ++depth;
            } else if ((b == '}' || b == ']') && --depth == 0) {
                pos_ = static_cast<size_t>(p + 1 - data_);
                first_ = false;
                return;
            }
        }
        pos_ = size_;
        keep_ = pos_;
        if (!Refill()) break;
    }
    // The value does not end: reading it properly names the fault.
    Resume(start);
    Skip();
}

void JsonCursor::Finish() {
    if (SkipSpace() != -1) Fail("syntax error: text after the end of the document");
}

void JsonCursor::Resume(const Mark& mark) {
    first_ = mark.first;
    if (mark.offset >= base_ && mark.offset <= base_ + size_) {
        pos_ = static_cast<size_t>(mark.offset - base_);
        keep_ = pos_;
        return;
    }
    // Out of the window (a file only): read again from there.
    base_ = mark.offset;
    size_ = pos_ = keep_ = 0;
}

std::string JsonCursor::LineColumn(uint64_t offset) {
    uint64_t line = 1;
    uint64_t lineStart = 0;
    auto count = [&](const char* bytes, size_t n, uint64_t from) {
        for (size_t i = 0; i < n; ++i) {
            if (bytes[i] == '\n') {
                ++line;
                lineStart = from + i + 1;
            }
        }
    };
    if (fd_ < 0) {
        count(text_.data(), static_cast<size_t>(std::min<uint64_t>(offset, text_.size())), 0);
    } else {
        std::vector<char> chunk(static_cast<size_t>(std::clamp<uint64_t>(offset, 1, kJsonWindow)));
        for (uint64_t at = 0; at < offset;) {
            const size_t want = static_cast<size_t>(std::min<uint64_t>(chunk.size(), offset - at));
            const ssize_t n = ::pread64(fd_, chunk.data(), want, static_cast<off64_t>(at));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            count(chunk.data(), static_cast<size_t>(n), at);
            at += static_cast<uint64_t>(n);
        }
    }
    return std::to_string(line) + ":" + std::to_string(offset - lineStart + 1);
}

}  // namespace host
