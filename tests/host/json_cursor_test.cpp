// The JSON cursor: where bad text fails and why, the values it gives, and
// the same results when a file is read through a window of a few bytes (so
// that every token straddles a refill).
#include "host/json_cursor.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace host {
namespace {

// A file holding the text, removed at the end.
class TextFile {
  public:
    explicit TextFile(const std::string& text) {
        char name[] = "/tmp/svgfilter-json-XXXXXX";
        fd_ = ::mkstemp(name);
        path_ = name;
        EXPECT_EQ(::write(fd_, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    }
    ~TextFile() {
        ::close(fd_);
        ::unlink(path_.c_str());
    }
    int fd() const { return fd_; }

  private:
    int fd_ = -1;
    std::string path_;
};

// What `read` makes of the text: its result, or "OFFSET: reason".
std::string Outcome(JsonCursor& json, const std::function<std::string(JsonCursor&)>& read) {
    try {
        return read(json);
    } catch (const JsonSyntaxError& e) {
        return std::to_string(e.offset) + ": " + e.reason;
    }
}

// The outcome from memory, after checking that files read through small
// windows give the same.
std::string Read(const std::string& text, const std::function<std::string(JsonCursor&)>& read) {
    JsonCursor memory(text);
    const std::string expected = Outcome(memory, read);
    TextFile file(text);
    for (const size_t window : {1, 2, 3, 7, 4096}) {
        JsonCursor windowed(file.fd(), window);
        EXPECT_EQ(Outcome(windowed, read), expected) << "window " << window << ": " << text;
    }
    return expected;
}

std::string SkipAll(JsonCursor& json) {
    json.Skip();
    json.Finish();
    return "ok";
}

TEST(JsonCursor, BadTextFailsAtTheByteThatMakesItBad) {
    const struct {
        std::string text;
        std::string outcome;
    } cases[] = {
        {"", "0: syntax error: the text ends where a value should stand"},
        {"{", "1: syntax error: the text ends inside an object"},
        {"[1, 2", "5: syntax error: the text ends inside an array"},
        {"[1 2]", "3: syntax error: expected ',' or ']'"},
        {"[1,]", "3: syntax error: expected a value"},
        {"{\"a\" 1}", "5: syntax error: expected ':'"},
        {"{\"a\":1,}", "7: syntax error: expected a member name"},
        {"{1:2}", "1: syntax error: expected a member name or '}'"},
        {"[01]", "2: syntax error: invalid number"},
        {"[1.]", "3: syntax error: invalid number"},
        {"[-]", "2: syntax error: invalid number"},
        {"[1e+]", "4: syntax error: invalid number"},
        {"[tru]", "4: syntax error: invalid literal"},
        {"[\"abc", "5: syntax error: the text ends inside a string"},
        {"[\"a\x01\"]", "3: syntax error: a control character in a string"},
        {"[\"\\x\"]", "2: syntax error: invalid escape in a string"},
        {"[\"\\u12G4\"]", "6: syntax error: expected four hexadecimal digits after \\u"},
        {"[\"\\ud800\"]", "2: syntax error: a lone high surrogate in a string"},
        {"[\"\\ud800\\u0041\"]", "2: syntax error: a lone high surrogate in a string"},
        {"[\"\\udc00\"]", "2: syntax error: a lone low surrogate in a string"},
        {"[\"\xC3\x28\"]", "2: syntax error: invalid UTF-8 in a string"},
        {"[\"\xC0\xAF\"]", "2: syntax error: invalid UTF-8 in a string"},          // overlong
        {"[\"\xE0\x80\xAF\"]", "2: syntax error: invalid UTF-8 in a string"},      // overlong
        {"[\"\xED\xA0\x80\"]", "2: syntax error: invalid UTF-8 in a string"},      // a surrogate
        {"[\"\xF4\x90\x80\x80\"]", "2: syntax error: invalid UTF-8 in a string"},  // beyond U+10FFFF
        {"{} x", "3: syntax error: text after the end of the document"},
        // Numbers beyond a double's range fail where they stand, even where
        // their value is not needed.
        {"[0, 1e400]", "4: the number 1e400 is too large"},
        {"{\"comment\": -2e308}", "12: the number -2e308 is too large"},
        {"[1" + std::string(400, '0') + "]", "1: the number 1" + std::string(39, '0') + "... is too large"},
    };
    for (const auto& c : cases) EXPECT_EQ(Read(c.text, SkipAll), c.outcome) << c.text;
}

TEST(JsonCursor, LineAndColumnCountFromOne) {
    const std::string text = "{\n  \"a\": 1,\n\t\"b\": x\n}";
    TextFile file(text);
    JsonCursor memory(text);
    JsonCursor windowed(file.fd(), 2);
    for (JsonCursor* json : {&memory, &windowed}) {
        EXPECT_EQ(json->LineColumn(0), "1:1");
        EXPECT_EQ(json->LineColumn(text.find('x')), "3:7");
        EXPECT_EQ(json->LineColumn(text.size()), "4:2");
    }
}

TEST(JsonCursor, StringsAreDecoded) {
    const std::string text = R"(["plain", "q\"b\\s\/\b\f\n\r\t", "\u00e9\ud83d\ude00", "h)"
                             "\xC3\xA9" R"(llo", ")" + std::string(5000, 'x') + R"("])";
    const std::string got = Read(text, [](JsonCursor& json) {
        std::string out;
        json.BeginArray();
        while (json.NextElement()) out += std::string(json.String()) + "|";
        json.Finish();
        return out;
    });
    EXPECT_EQ(got, "plain|q\"b\\s/\b\f\n\r\t|\xC3\xA9\xF0\x9F\x98\x80|h\xC3\xA9llo|" + std::string(5000, 'x') + "|");
}

TEST(JsonCursor, NumbersAreCorrectlyRoundedAndWholeOnesExact) {
    const char* numbers[] = {"0",
                             "-0",
                             "7",
                             "-42",
                             "9223372036854775807",
                             "-9223372036854775808",
                             "9223372036854775808",
                             "123456789012345678901234567890",
                             "1.5",
                             "0.1",
                             "0.30000000000000004",
                             "-2.5e-3",
                             "1E22",
                             "1e23",
                             "9007199254740993",
                             "9007199254740993.0",
                             "123456789012345678e-10",
                             "0.000000000000000000000000000001",
                             "2.2250738585072014e-308",
                             "4.9e-324",
                             "1e-400",
                             "1.7976931348623157e308"};
    std::string text = "[";
    for (const char* n : numbers) text += std::string(text.size() > 1 ? ", " : "") + n;
    text += "]";
    const std::string got = Read(text, [](JsonCursor& json) {
        std::string out;
        json.BeginArray();
        while (json.NextElement()) {
            const JsonNumber n = json.Number();
            char value[40];
            std::snprintf(value, sizeof value, "%a", n.value);
            out += std::string(value) + (n.whole ? " " + std::to_string(n.integer) : "") + "|";
        }
        return out;
    });
    std::string expected;
    for (const char* n : numbers) {
        // The C library's conversion is correctly rounded.
        char value[40];
        std::snprintf(value, sizeof value, "%a", std::strtod(n, nullptr));
        const std::string text(n);
        const bool whole = text.find_first_of(".eE") == std::string::npos;
        std::string integer;
        if (whole) {
            const long long v = std::strtoll(n, nullptr, 10);
            integer = " " + std::to_string(v);  // strtoll holds at the ends too
        }
        expected += std::string(value) + integer + "|";
    }
    EXPECT_EQ(got, expected);
}

TEST(JsonCursor, PassingOverAValueAndComingBackReadsItAgain) {
    const std::string text = R"({"a": [1, {"b": "]}\"["}, [2]], "c": true, "d": null})";
    const std::string got = Read(text, [](JsonCursor& json) {
        std::string out;
        std::string_view key;
        json.BeginObject();
        json.NextMember(key);
        const JsonCursor::Mark a = json.Here();
        json.Skim();
        const uint64_t after = json.Here().offset;
        // A name lasts until the next call.
        json.NextMember(key);
        out += std::string(key);
        out += json.Boolean() ? "=true " : "=false ";
        json.NextMember(key);
        out += std::string(key);
        json.Null();
        out += "=null ";
        if (json.NextMember(key)) out += "more ";
        json.Finish();
        const JsonCursor::Mark end = json.Here();
        json.Resume(a);
        json.Skip();
        out += json.Here().offset == after ? "same end" : "other end";
        json.Resume(end);
        json.Finish();
        return out;
    });
    EXPECT_EQ(got, "c=true d=null same end");
}

TEST(JsonCursor, KindsNameWhatStandsNext) {
    const std::string text = R"([{}, [], "s", -1, true, false, null])";
    const std::string got = Read(text, [](JsonCursor& json) {
        std::string out;
        json.BeginArray();
        while (json.NextElement()) {
            out += std::string(JsonKindName(json.Peek())) + "|";
            json.Skip();
        }
        return out;
    });
    EXPECT_EQ(got, "an object|an array|a string|a number|a boolean|a boolean|null|");
}

}  // namespace
}  // namespace host
