// A pull reader of JSON text: the caller asks for the value it expects next
// and the cursor checks the text's syntax as it goes, so that a document of
// any size is read in one pass and without a tree. The text is either held
// in memory by the caller or read from a file piece by piece, so that only a
// window of it is held at a time.
#ifndef SVGFILTER_HOST_JSON_CURSOR_H
#define SVGFILTER_HOST_JSON_CURSOR_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace host {

enum class JsonKind : uint8_t { kObject, kArray, kString, kNumber, kBoolean, kNull };

// "an object", "a string", ...: for messages.
const char* JsonKindName(JsonKind kind);

// Text that is not JSON (or a number beyond a double's range): the byte
// offset where reading stopped, and why.
struct JsonSyntaxError {
    uint64_t offset;
    std::string reason;
};

// The file could not be read.
struct JsonInputError {
    std::string reason;
};

struct JsonNumber {
    double value = 0;
    bool whole = false;   // written without a fraction or an exponent
    int64_t integer = 0;  // a whole number, held at the ends of int64_t beyond them
};

// How much of a file the cursor holds at a time (more only for a token
// larger than that).
inline constexpr size_t kJsonWindow = 256 * 1024;

class JsonCursor {
  public:
    // Text that the caller keeps alive for the cursor's lifetime.
    explicit JsonCursor(std::string_view text);
    // A file the cursor reads at offsets (pread): a regular file, left open
    // by the caller.
    explicit JsonCursor(int fd, size_t window = kJsonWindow);

    JsonCursor(const JsonCursor&) = delete;
    JsonCursor& operator=(const JsonCursor&) = delete;

    // The kind of the next value; a syntax error when no value starts there.
    JsonKind Peek();

    // At '{': afterwards NextMember gives the members one by one.
    void BeginObject();
    // The next member's name, or false when the object ends (its '}' read).
    // The name stays valid until the next call.
    bool NextMember(std::string_view& key);
    // At '[': afterwards NextElement tells whether another element follows.
    void BeginArray();
    bool NextElement();

    // Values; each checks that one of its kind stands next. A string stays
    // valid until the next call.
    std::string_view String();
    JsonNumber Number();
    bool Boolean();
    void Null();

    // Reads past the next value, checking its syntax.
    void Skip();
    // Reads past the next value, an object or array, matching brackets
    // only: for a value that is read again later, which checks it then.
    void Skim();
    // Only white space may follow the document.
    void Finish();

    // A place to come back to: before the next value, or where reading
    // stands after a container's end.
    struct Mark {
        uint64_t offset;
        bool first;
    };
    Mark Here() const { return {base_ + pos_, first_}; }
    void Resume(const Mark& mark);

    // "LINE:COLUMN" (from 1, the column in bytes) of a byte offset.
    std::string LineColumn(uint64_t offset);

  private:
    bool Have() { return pos_ < size_ || Refill(); }
    bool Refill();
    int SkipSpace();
    [[noreturn]] void Fail(std::string reason) const { throw JsonSyntaxError{base_ + pos_, std::move(reason)}; }
    [[noreturn]] void FailAt(uint64_t offset, std::string reason) const {
        throw JsonSyntaxError{offset, std::move(reason)};
    }
    void Expect(char c, const char* what);
    std::string_view ScanString(std::string& decoded);
    void DecodeEscape(std::string& decoded);
    void CheckUtf8(unsigned char lead);
    uint32_t HexDigits();
    // A number's text, its grammar checked, and its digits: the value is
    // mantissa * 10^scale (digits beyond 19 dropped), below 10^magnitude.
    struct ScannedNumber {
        std::string_view text;
        uint64_t mantissa = 0;
        int scale = 0;
        int magnitude = 0;
        bool negative = false;
        bool whole = true;
        bool dropped = false;  // a dropped digit was not 0
    };
    ScannedNumber ScanNumber();
    static const char* ParseNumber(const char* p, const char* e, ScannedNumber& n, const char*& failed);
    double ToDouble(const ScannedNumber& n, uint64_t at) const;
    void Literal(const char* word);

    // The window of text held: data_[0, size_) is the text from offset base_;
    // reading stands at pos_; a refill keeps data_[keep_, size_).
    const char* data_ = nullptr;
    size_t size_ = 0;
    size_t pos_ = 0;
    size_t keep_ = 0;
    uint64_t base_ = 0;
    bool first_ = false;  // just after '{' or '['

    int fd_ = -1;
    std::string_view text_;
    std::vector<char> buffer_;

    std::string keyText_;
    std::string valueText_;
    std::vector<char> open_;  // Skip's open containers
};

}  // namespace host

#endif  // SVGFILTER_HOST_JSON_CURSOR_H
