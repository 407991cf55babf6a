// String: capacity rules, editing, parts, formatting, resources and the
// serialised form.
#include "markup/string.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <clocale>
#include <cstdarg>
#include <ostream>
#include <string>
#include <vector>

#include "comma_locale.h"
#include "markup/faults.h"
#include "markup/heap.h"
#include "markup/local_file_stream.h"
#include "platform/resource_strings.h"
#include "temp_dir.h"

namespace markup {
namespace {

std::string Str(const String& s) {
    return std::string(s.Text(), s.Length());
}

bool FormatVia(String& s, const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    const bool cut = s.FormatV(format, args);
    va_end(args);
    return cut;
}

TEST(StringTest, DefaultStringReadsAsEmptyEverywhere) {
    String s;
    char* buffer = nullptr;
    char c = 'x';
    EXPECT_STREQ(s.Text(), "");
    EXPECT_EQ(s.Length(), 0u);
    EXPECT_EQ(s.Capacity(), 0u);
    EXPECT_FALSE(s.HasBuffer());
    EXPECT_FALSE(s.GetBuffer(buffer));
    EXPECT_FALSE(s.GetAt(0, c));
    EXPECT_EQ(c, 0);
    EXPECT_STREQ(s.CharPtrAt(0), "");
    EXPECT_STREQ(s.CharPtrAt(5), "");
    EXPECT_EQ(s.Find('a'), -1);
    EXPECT_EQ(s.Find('\0'), -1);
    EXPECT_EQ(s.Find(String("")), -1);
    EXPECT_EQ(s.ReverseFind('a'), -1);
    EXPECT_EQ(Str(s.Mid(0, 3)), "");
}

struct CapacityCase {
    const char* name;
    String (*make)();
    const char* text;
    std::uint32_t capacity;
};

String Twenty() {
    return String("abcdefghijklmnopqrst");
}

const CapacityCase kCapacityCases[] = {
    {"text takes at least 16", [] { return String("x"); }, "x", 16},
    {"empty text takes 16", [] { return String(""); }, "", 16},
    {"null text takes 16", [] { return String(static_cast<const char*>(nullptr)); }, "", 16},
    {"long text takes length + 1", [] { return Twenty(); }, "abcdefghijklmnopqrst", 21},
    {"capacity constructor is exact", [] { return String(5u); }, "", 5},
    {"copy takes length + 1",
     [] {
         String a("abc");
         return String(a);
     },
     "abc", 4},
    {"copy of empty takes 1",
     [] {
         String a;
         return String(a);
     },
     "", 1},
    {"append in place",
     [] {
         String a("x");
         a += "abc";
         return a;
     },
     "xabc", 16},
    {"append grows to need + 33",
     [] {
         String a("x");
         a += "abcdefghijklmnopqrst";
         return a;
     },
     "xabcdefghijklmnopqrst", 54},
    {"append bytes to no buffer",
     [] {
         String a;
         a.Append("ab", 2);
         return a;
     },
     "ab", 35},
    {"char to no buffer takes 16",
     [] {
         String a;
         a += 'q';
         return a;
     },
     "q", 16},
    {"char fills then grows",
     [] {
         String a(2u);
         a += 'a';
         a += 'b';
         return a;
     },
     "ab", 35},
    {"assign String in place",
     [] {
         String a("0123456789");
         a = String("ab");
         return a;
     },
     "ab", 16},
    {"assign String exact when too small",
     [] {
         String a(3u);
         a = Twenty();
         return a;
     },
     "abcdefghijklmnopqrst", 21},
    {"assign empty String keeps buffer",
     [] {
         String a("abc");
         a = String();
         return a;
     },
     "", 16},
    {"assign text in place",
     [] {
         String a("0123456789");
         a = "xyz";
         return a;
     },
     "xyz", 16},
    {"assign text at capacity reallocates",
     [] {
         String a(3u);
         a = "abc";
         return a;
     },
     "abc", 16},
    {"assign empty text to no buffer",
     [] {
         String a;
         a = "";
         return a;
     },
     "", 0},
    {"assign char to no buffer",
     [] {
         String a;
         a = 'z';
         return a;
     },
     "z", 16},
    {"assign char to 1-byte copy",
     [] {
         String e;
         String a(e);
         a = 'z';
         return a;
     },
     "z", 16},
    {"insert grows to length + 34",
     [] {
         String a(4u);
         a = "abc";
         a.Insert(1, 'X');
         return a;
     },
     "aXbc", 37},
    {"insert keeps larger capacity",
     [] {
         String a("abc");
         a.Insert(3, '!');
         return a;
     },
     "abc!", 16},
    {"insert into full buffer",
     [] {
         String a(Twenty());
         a.Insert(0, '>');
         return a;
     },
     ">abcdefghijklmnopqrst", 54},
    {"insert text grows to need + 33",
     [] {
         String b("ab");
         String a(b);
         a.InsertText(1, "123");
         return a;
     },
     "a123b", 38},
};

void PrintTo(const CapacityCase& c, std::ostream* os) {
    *os << c.capacity;
}

class StringCapacityTest : public testing::TestWithParam<CapacityCase> {};

TEST_P(StringCapacityTest, FollowsTheRule) {
    const CapacityCase& c = GetParam();
    const String s = c.make();
    EXPECT_EQ(Str(s), c.text);
    EXPECT_EQ(s.Capacity(), c.capacity);
    EXPECT_EQ(s.Text()[s.Length()], 0);
}

INSTANTIATE_TEST_SUITE_P(Rules, StringCapacityTest, testing::ValuesIn(kCapacityCases), [](const auto& info) {
    std::string name;
    for (const char* p = info.param.name; *p; ++p) {
        name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
    }
    return name;
});

TEST(StringTest, RepeatedAppendsReallocateOncePer33Characters) {
    String s("a");
    int reallocations = 0;
    const char* buffer = s.Text();
    for (int i = 0; i < 200; ++i) {
        s += 'b';
        if (s.Text() != buffer) ++reallocations;
        buffer = s.Text();
    }
    EXPECT_EQ(s.Length(), 201u);
    EXPECT_LE(reallocations, 200 / 33 + 1);
}

TEST(StringTest, AppendFromItsOwnText) {
    String s("abc");
    s.Append(s.Text(), s.Length());  // in place
    EXPECT_EQ(Str(s), "abcabc");
    String t("0123456789abcde");
    t += t.Text();  // forces a new buffer while reading the old one
    EXPECT_EQ(Str(t), "0123456789abcde0123456789abcde");
    s = s.CharPtrAt(3);
    EXPECT_EQ(Str(s), "abc");
}

TEST(StringTest, AppendKeepsNulBytes) {
    String s("a");
    s.Append("b\0c", 3);
    EXPECT_EQ(s.Length(), 4u);
    EXPECT_EQ(s.Find('\0'), 2);
    s.Append(nullptr, 5);
    s += static_cast<const char*>(nullptr);
    EXPECT_EQ(s.Length(), 4u);
}

TEST(StringTest, InsertAndInsertTextBounds) {
    String s("abcde");
    EXPECT_FALSE(s.Insert(6, 'x'));
    EXPECT_TRUE(s.Insert(5, '!'));  // at the length: appends
    EXPECT_EQ(Str(s), "abcde!");

    String t("abcde");
    EXPECT_FALSE(t.InsertText(5, "xy"));  // never appends
    EXPECT_TRUE(t.InsertText(4, "xy"));   // the last character stays last
    EXPECT_EQ(Str(t), "abcdxye");
    EXPECT_TRUE(t.InsertText(0, t.CharPtrAt(5)));
    EXPECT_EQ(Str(t), "yeabcdxye");

    String empty;
    EXPECT_TRUE(empty.Insert(0, 'a'));
    EXPECT_EQ(Str(empty), "a");
    EXPECT_EQ(empty.Capacity(), 34u);
}

TEST(StringTest, DeletingAndCutting) {
    String s("abcdef");
    EXPECT_FALSE(s.Delete(4, 3));
    EXPECT_FALSE(s.Delete(1, 0xFFFFFFFFu));  // must not wrap round
    EXPECT_EQ(Str(s), "abcdef");
    EXPECT_TRUE(s.Delete(1, 2));
    EXPECT_EQ(Str(s), "adef");
    s.DeleteAt(3, 1);
    EXPECT_EQ(Str(s), "ade");
    s.DeleteAt(2, 5);
    EXPECT_EQ(Str(s), "ade");

    s.Truncate(10);
    EXPECT_EQ(Str(s), "ade");
    s.Truncate(2);
    EXPECT_EQ(Str(s), "ad");
    s.TruncateAt(1);
    EXPECT_EQ(Str(s), "a");
    s.Truncate(0);
    EXPECT_EQ(Str(s), "");
    EXPECT_TRUE(s.HasBuffer());

    String k("abcdef");
    k.KeepRight(6);
    EXPECT_EQ(Str(k), "abcdef");
    k.KeepRight(2);
    EXPECT_EQ(Str(k), "ef");

    String r;
    r.Append("ab\0cd", 5);
    r.KeepRightText(4);  // from "b", up to the NUL
    EXPECT_EQ(Str(r), "b");
}

TEST(StringTest, TrimmingRemovesOnlySpaces) {
    String s("   ");
    s.TrimLeft();
    EXPECT_EQ(Str(s), "");
    String t("\t a b \t ");
    t.TrimLeft();
    t.TrimRight();
    EXPECT_EQ(Str(t), "\t a b \t");
    String u("  x  ");
    u.TrimLeft();
    u.TrimRight();
    EXPECT_EQ(Str(u), "x");
}

TEST(StringTest, CharacterAccess) {
    String s("hello");
    char c = 0;
    EXPECT_TRUE(s.GetAt(4, c));
    EXPECT_EQ(c, 'o');
    EXPECT_FALSE(s.GetAt(5, c));
    EXPECT_STREQ(s.CharPtrAt(5), "");
    EXPECT_EQ(s.CharPtrAt(5), s.Text() + 5);
    EXPECT_FALSE(s.SetAt(5, 'x'));
    EXPECT_TRUE(s.SetAt(0, 'j'));
    EXPECT_TRUE(s.SetAt(2, '\0'));
    EXPECT_EQ(Str(s), "je");
    String first;
    EXPECT_TRUE(s.GetFirstChar(first));
    EXPECT_EQ(Str(first), "j");
    EXPECT_FALSE(String("").GetFirstChar(first));
}

struct PartCase {
    const char* source;
    const char* op;
    std::uint32_t a;
    std::uint32_t b;
    const char* expected;
};

const PartCase kPartCases[] = {
    {"abc", "right", 5, 0, ""},      {"abc", "left", 5, 0, "abc"},     {"abc", "right", 0, 0, ""},
    {"abc", "right", 3, 0, "abc"},   {"abcdef", "right", 2, 0, "ef"},  {"abcdef", "mid", 2, 3, "cde"},
    {"abcdef", "mid", 4, 100, "ef"}, {"abcdef", "mid", 6, 1, ""},      {"abcdef", "from", 6, 0, ""},
    {"abcdef", "from", 9, 0, ""},    {"abcdef", "from", 2, 0, "cdef"}, {"", "left", 2, 0, ""},
};

TEST(StringTest, PartsTable) {
    for (const PartCase& c : kPartCases) {
        const String s(c.source);
        String part;
        if (std::string(c.op) == "right") part = s.Right(c.a);
        if (std::string(c.op) == "left") part = s.Left(c.a);
        if (std::string(c.op) == "mid") part = s.Mid(c.a, c.b);
        if (std::string(c.op) == "from") part = s.Mid(c.a);
        EXPECT_EQ(Str(part), c.expected) << c.source << " " << c.op << " " << c.a << "," << c.b;
        EXPECT_EQ(Str(s), c.source);
    }
}

TEST(StringTest, Searching) {
    const String s("abcabc");
    EXPECT_EQ(s.Find('c'), 2);
    EXPECT_EQ(s.ReverseFind('c'), 5);
    EXPECT_EQ(s.Find('z'), -1);
    EXPECT_EQ(s.Find('\0'), 6);
    EXPECT_EQ(s.ReverseFind('\0'), 6);
    EXPECT_EQ(s.Find(String("cab")), 2);
    EXPECT_EQ(s.Find(String("")), 0);
    EXPECT_EQ(s.Find(String()), -1);
    EXPECT_EQ(s.Find(String("abd")), -1);
}

TEST(StringTest, FormatBoundsAndResult) {
    String s("old");
    EXPECT_FALSE(s.Format("%d%d", 12, 34));  // bound 4 + 400
    EXPECT_EQ(Str(s), "1234");

    const std::string long_text(300, 'x');
    EXPECT_TRUE(s.Format("%s", long_text.c_str()));  // bound 2 + 200
    EXPECT_EQ(s.Length(), 202u);

    const std::string exact(202, 'y');
    EXPECT_FALSE(s.Format("<%s", exact.c_str()));  // exactly the bound of 3 + 200
    EXPECT_EQ(s.Length(), 203u);

    EXPECT_FALSE(s.Format("%s", ""));
    EXPECT_EQ(Str(s), "");
    s = "keep";
    EXPECT_FALSE(FormatVia(s, ""));
    EXPECT_EQ(Str(s), "");
}

TEST(StringTest, FormatUsesTheCLocale) {
    testsupport::CommaLocale comma;
    ASSERT_NE(comma.Get(), nullptr) << testsupport::kNoCommaLocale;
    ASSERT_EQ(comma.OneAndAHalf(), "1,5") << "the test locale must really use a comma";
    const locale_t previous = uselocale(comma.Get());
    String s;
    s.Format("%.1f", 1.5);
    uselocale(previous);
    EXPECT_EQ(Str(s), "1.5");
}

TEST(StringTest, LoadStringGrowsPast256Bytes) {
    const std::string text(600, 'w');
    const platform::StringResource host[] = {{10999, text.c_str()}};
    platform::SetHostStringTable(host);
    String s("previous");
    EXPECT_EQ(s.LoadString(10999), 600u);
    EXPECT_EQ(Str(s), text);
    EXPECT_EQ(s.LoadString(12345), 0u);
    EXPECT_EQ(Str(s), "");
    platform::SetHostStringTable({});
}

TEST(StringTest, LoadStringAtTheBufferEdges) {
    for (std::size_t n : {254u, 255u, 256u, 511u, 512u}) {
        const std::string text(n, 'e');
        const platform::StringResource host[] = {{10997, text.c_str()}};
        platform::SetHostStringTable(host);
        String s;
        EXPECT_EQ(s.LoadString(10997), n);
        EXPECT_EQ(Str(s), text);
    }
    platform::SetHostStringTable({});
}

// Texts longer than the inline room need the heap.
TEST(StringTest, ExhaustedHeapRaisesOrAnswersEmpty) {
    FailHeapAllocationAfter(0);
    EXPECT_THROW(String("a text too long to be held inline"), MemoryAllocationFault);

    String s("abcdefghijklmnopqrstuvwxyz");
    FailHeapAllocationAfter(0);
    EXPECT_EQ(Str(s.Mid(1, 20)), "");  // parts never raise

    FailHeapAllocationAfter(0);
    EXPECT_THROW(s += "a longer text that needs a new buffer", MemoryAllocationFault);
    FailHeapAllocationAfter(0);
    EXPECT_THROW(s.Insert(0, 'x'), RuntimeFault);
    FailHeapAllocationAfter(-1);
    EXPECT_EQ(Str(s), "abcdefghijklmnopqrstuvwxyz");  // the failed operations changed nothing here
}

// Short texts live in the String itself: they need no heap, and every
// operation that replaces, moves or grows them keeps the text whole.
TEST(StringTest, InlineTextsNeedNoHeapAndStayWhole) {
    FailHeapAllocationAfter(0);
    String small("abc");
    String part = small.Mid(1, 2);
    String copy(small);
    FailHeapAllocationAfter(-1);
    EXPECT_EQ(Str(part), "bc");
    EXPECT_EQ(Str(copy), "abc");
    EXPECT_EQ(small.Capacity(), 16u);  // the rule's capacity all the same

    String s("abcdef");
    s.Insert(1, 'x');  // into a fresh buffer, never over the text it copies
    EXPECT_EQ(Str(s), "axbcdef");
    s.InsertText(2, "yz");
    EXPECT_EQ(Str(s), "axyzbcdef");
    s = s.Mid(3);  // a part of itself
    EXPECT_EQ(Str(s), "zbcdef");
    s.Append(s.Text() + 1, 3);  // from its own inline bytes
    EXPECT_EQ(Str(s), "zbcdefbcd");

    String grown("0123456789");
    grown += "abcdefghij";  // inline to heap
    EXPECT_EQ(Str(grown), "0123456789abcdefghij");
    String shrunk("a long text that lives on the heap");
    shrunk = String("tiny");  // an exact copy fits inline again
    EXPECT_EQ(Str(shrunk), "tiny");
    shrunk = String("longer!");  // in place, past the old text
    EXPECT_EQ(Str(shrunk), "longer!");

    // Moves (a growing vector makes them) carry inline bytes along.
    std::vector<String> texts;
    for (int i = 0; i < 50; ++i) texts.emplace_back(std::to_string(i).c_str());
    texts.emplace_back(std::move(s));
    EXPECT_EQ(Str(texts[37]), "37");
    EXPECT_EQ(Str(texts.back()), "zbcdefbcd");
    EXPECT_EQ(Str(s), "");  // NOLINT: the moved-from text reads as empty
    String moved(std::move(texts[7]));
    texts[7] = "x";
    EXPECT_EQ(Str(moved), "7");
}

class StringSerialTest : public testing::Test {
  protected:
    LocalFileStream* Open(const std::string& file, std::int32_t mode) {
        ReturnCodeEnum status = kErr_None;
        stream_ = LocalFileStream::Create(file.c_str(), status);
        EXPECT_EQ(stream_->Open(-1, mode), kErr_None);
        return stream_;
    }
    void Close() {
        Stream* s = stream_;
        Stream::CloseAndDelete(&s);
        stream_ = nullptr;
    }
    ~StringSerialTest() override { Close(); }

    markup_test::TempDir dir_;
    LocalFileStream* stream_ = nullptr;
};

TEST_F(StringSerialTest, WriteGivesLengthThenBytes) {
    const std::string file = dir_.File("s.bin");
    Open(file, kStreamWrite);
    EXPECT_EQ(String().Write(*stream_), kErr_None);
    EXPECT_EQ(String("abc").Write(*stream_), kErr_None);
    String big;
    big.Append(std::string(0x0102, 'z').c_str(), 0x0102);
    EXPECT_EQ(big.Write(*stream_), kErr_None);
    Close();
    const std::string bytes = markup_test::ReadAll(file);
    ASSERT_EQ(bytes.size(), 4u + 7u + 4u + 0x102u);
    EXPECT_EQ(bytes.substr(0, 11), std::string("\0\0\0\0\3\0\0\0abc", 11));
    EXPECT_EQ(bytes.substr(11, 4), std::string("\x02\x01\0\0", 4));
}

TEST_F(StringSerialTest, ReadRoundTripsAndReportsShortRecords) {
    const std::string file = dir_.Write("s.bin", std::string("\0\0\0\0\3\0\0\0abc\5\0\0\0xy", 17));
    Open(file, kStreamRead);
    String s("junk");
    EXPECT_EQ(s.Read(*stream_), kErr_None);
    EXPECT_EQ(Str(s), "");
    EXPECT_EQ(s.Read(*stream_), kErr_None);
    EXPECT_EQ(Str(s), "abc");
    EXPECT_EQ(s.Read(*stream_), kErr_StreamRead);  // says 5, holds 2
    EXPECT_EQ(Str(s), "");
    EXPECT_EQ(s.Read(*stream_), kErr_StreamRead);  // nothing left for a length
}

TEST_F(StringSerialTest, HugeLengthFailsWithoutTakingItsBuffer) {
    const std::string file = dir_.Write("s.bin", std::string("\xff\xff\xff\xff"
                                                             "abc",
                                                             7));
    Open(file, kStreamRead);
    String s("x");
    EXPECT_EQ(s.Read(*stream_), kErr_StreamRead);
    EXPECT_EQ(Str(s), "");
}

TEST_F(StringSerialTest, NoMemoryForTheTextIsAStatus) {
    const std::string file = dir_.Write("s.bin", std::string("\3\0\0\0abc", 7));
    Open(file, kStreamRead);
    String s;
    FailHeapAllocationAfter(0);
    EXPECT_EQ(s.Read(*stream_), kErr_OutOfMemory);
    FailHeapAllocationAfter(-1);
    EXPECT_EQ(Str(s), "");
}

// A stream that cannot tell its length, as a pipe or a network stream.
class UnsizedStream : public InStream {
  public:
    explicit UnsizedStream(std::string bytes) : bytes_(std::move(bytes)) {}
    bool AtEnd(std::int32_t) override { return at_ == bytes_.size(); }
    ReturnCodeEnum Seek(std::int32_t, std::int32_t, std::int32_t) override { return kErr_StreamSeek; }
    ReturnCodeEnum Write(const void*, std::uint32_t) override { return kErr_StreamReadOnly; }
    ReturnCodeEnum Read(void* buffer, std::uint32_t& count) override {
        const std::size_t n = std::min<std::size_t>(count, bytes_.size() - at_);
        bytes_.copy(static_cast<char*>(buffer), n, at_);
        at_ += n;
        const bool all = n == count;
        count = static_cast<std::uint32_t>(n);
        return all ? kErr_None : kErr_StreamRead;
    }

  private:
    std::string bytes_;
    std::size_t at_ = 0;
};

std::string LengthWord(std::uint32_t n) {
    return std::string{static_cast<char>(n), static_cast<char>(n >> 8), static_cast<char>(n >> 16),
                       static_cast<char>(n >> 24)};
}

TEST(StringUnsizedReadTest, LengthsNoStreamCanBackFailWithoutTheirBuffer) {
    ASSERT_EQ(UnsizedStream("").UpdateLength(), -1);
    struct Case {
        std::uint32_t length;
        std::string bytes;
    };
    // All ones once wrapped to a 0-byte buffer on 32 bits; a megabyte claimed
    // over three bytes must not take the megabyte first.
    for (const Case& c : {Case{0xFFFFFFFFu, "abc"}, Case{0x7FFFFFFCu, "abc"}, Case{0x100000u, "abc"}}) {
        UnsizedStream stream(LengthWord(c.length) + c.bytes);
        String s("x");
        EXPECT_EQ(s.Read(stream), kErr_StreamRead) << c.length;
        EXPECT_EQ(Str(s), "");
    }
}

TEST(StringUnsizedReadTest, ATextLongerThanOnePieceReadsWhole) {
    std::string text(10000, 'q');
    text[0] = 'a';
    text[9999] = 'z';
    UnsizedStream stream(LengthWord(10000) + text + LengthWord(0));
    String s;
    EXPECT_EQ(s.Read(stream), kErr_None);
    EXPECT_EQ(Str(s), text);
    EXPECT_EQ(s.Read(stream), kErr_None);
    EXPECT_EQ(Str(s), "");
}

TEST(StringTest, CompareCaseFollowsTheFlag) {
    EXPECT_LT(String::CompareCase("Rect", "rect", true), 0);
    EXPECT_EQ(String::CompareCase("Rect", "rect", false), 0);
    EXPECT_EQ(String::CompareCase(String(), "", true), 0);
    EXPECT_LT(String::CompareCase(String(), "a", false), 0);
    EXPECT_GT(String::CompareCase("b", "A", false), 0);
    EXPECT_GT(String::CompareCase("b", "a", true), 0);
}

}  // namespace
}  // namespace markup
