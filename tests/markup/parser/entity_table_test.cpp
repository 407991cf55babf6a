// The entity table: names in byte order, the per-byte entries, duplicates
// and the entity section of the files.
#include "markup/parser/entity_table.h"

#include <gtest/gtest.h>

#include <string>

#include "markup/local_file_stream.h"
#include "temp_dir.h"

namespace markup {
namespace {

std::string Str(const String& s) {
    return s.Text();
}

std::string Word(std::uint32_t n) {
    return std::string{static_cast<char>(n), static_cast<char>(n >> 8), static_cast<char>(n >> 16),
                       static_cast<char>(n >> 24)};
}

std::string Record(const std::string& name, const char* text) {
    std::string r = Word(0) + Word(77) + Word(static_cast<std::uint32_t>(name.size())) + name;
    if (!text) return r + '\0';
    return r + '\1' + Word(static_cast<std::uint32_t>(std::string(text).size())) + text;
}

TEST(EntityTableTest, AddKeepsTheFirstTextAndTheByteOrder) {
    EntityTable table;
    EXPECT_EQ(table.Add("&lt;", "<"), kDict_Ok);
    EXPECT_EQ(table.Add("&amp;", "&"), kDict_Ok);
    EXPECT_EQ(table.Add("&amp;", "and"), kDict_Duplicate);
    EXPECT_EQ(table.Add("&Amp;", "A"), kDict_Ok);  // names compare with case
    EXPECT_EQ(table.Add("x", "ex"), kDict_Ok);
    String name;
    String text;
    ASSERT_TRUE(table.FindEntry("&amp;", name, text));
    EXPECT_EQ(Str(text), "&");
    EXPECT_EQ(Str(table.EntryAt(0)->name), "&Amp;");
    EXPECT_EQ(Str(table.EntryAt(1)->name), "&amp;");
    EXPECT_EQ(table.EntryAt(2)->code, 0u);  // "&lt;" came first
    EXPECT_EQ(table.EntryAt(4), nullptr);
    EXPECT_EQ(table.LowerBound("&b"), 2u);
    EXPECT_TRUE(table.FindByCode(3, name, text));
    EXPECT_EQ(Str(name), "x");
    EXPECT_EQ(Str(table.ByCharacter('x')->text), "ex");
    EXPECT_EQ(table.ByCharacter('y'), nullptr);
    EXPECT_FALSE(table.FindEntry("&gt;", name, text));
}

TEST(EntityTableTest, PerByteEntriesSortAmongTheNamedOnes) {
    EntityTable table;
    table.Add("&amp;", "&");
    table.InitCharacters();
    EXPECT_EQ(table.Count(), 257u);
    const StringEntry* a = table.ByCharacter('A');
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(Str(a->name), "A");
    EXPECT_EQ(Str(a->text), "A");
    EXPECT_EQ(a->code, 65u);
    EXPECT_EQ(a->valid, 1);
    EXPECT_EQ(table.ByCharacter(0)->name.Length(), 0u);
    // "&" sorts before "&amp;", which sorts before "'".
    std::uint32_t amp = table.LowerBound("&amp;");
    EXPECT_EQ(Str(table.EntryAt(amp - 1)->name), "&");
    EXPECT_EQ(Str(table.EntryAt(amp + 1)->name), "'");
    for (std::uint32_t i = 0; i + 1 < table.Count(); ++i) {
        EXPECT_LT(std::string(table.EntryAt(i)->name.Text(), table.EntryAt(i)->name.Length()),
                  std::string(table.EntryAt(i + 1)->name.Text(), table.EntryAt(i + 1)->name.Length()));
    }
}

class EntityReadTest : public testing::Test {
  protected:
    ReturnCodeEnum ReadBytes(const std::string& bytes) {
        ReturnCodeEnum status = kErr_None;
        LocalFileStream* stream = LocalFileStream::Create(dir_.Write("e.bin", bytes).c_str(), status);
        EXPECT_EQ(stream->Open(-1, kStreamRead), kErr_None);
        status = table_.Read(*stream);
        Stream* s = stream;
        Stream::CloseAndDelete(&s);
        return status;
    }

    markup_test::TempDir dir_;
    EntityTable table_;
};

TEST_F(EntityReadTest, RepeatedNamesKeepTheFirstAndReadingGoesOn) {
    table_.InitCharacters();  // replaced by what is read
    const std::string bytes =
        Word(4) + Record("&a;", "1") + Record("&a;", "2") + Record("&b;", nullptr) + Record("&c;", "3");
    EXPECT_EQ(ReadBytes(bytes), kErr_None);
    EXPECT_EQ(table_.Count(), 3u);
    String name;
    String text;
    ASSERT_TRUE(table_.FindEntry("&a;", name, text));
    EXPECT_EQ(Str(text), "1");
    ASSERT_TRUE(table_.FindEntry("&b;", name, text));
    EXPECT_EQ(Str(text), "");
    EXPECT_EQ(table_.EntryAt(1)->valid, 1);
    EXPECT_EQ(table_.EntryAt(1)->code, 1u);  // the table's numbering, not the record's 77
    EXPECT_TRUE(table_.FindEntry("&c;", name, text));
}

TEST_F(EntityReadTest, AStreamEndingInTheThirdRecordKeepsTheFirstTwo) {
    const std::string third = Record("&c;", "three");
    const std::string bytes =
        Word(3) + Record("&a;", "1") + Record("&b;", "2") + third.substr(0, third.size() - 2);
    EXPECT_EQ(ReadBytes(bytes), kErr_StreamRead);
    EXPECT_EQ(table_.Count(), 2u);
    String name;
    String text;
    EXPECT_TRUE(table_.FindEntry("&b;", name, text));
}

TEST(StringEntryTest, KeepsWhatWasReadBeforeAFailure) {
    markup_test::TempDir dir;
    ReturnCodeEnum status = kErr_None;
    const std::string bytes = Word(5) + Word(3) + "abc" + '\1' + Word(9) + "xy";
    LocalFileStream* stream = LocalFileStream::Create(dir.Write("s.bin", bytes).c_str(), status);
    ASSERT_EQ(stream->Open(-1, kStreamRead), kErr_None);
    StringEntry entry;
    EXPECT_EQ(entry.Read(*stream), kErr_StreamRead);
    EXPECT_EQ(entry.code, 5u);
    EXPECT_EQ(Str(entry.name), "abc");
    EXPECT_EQ(entry.valid, 1);
    EXPECT_EQ(Str(entry.text), "");
    Stream* s = stream;
    Stream::CloseAndDelete(&s);
}

}  // namespace
}  // namespace markup
