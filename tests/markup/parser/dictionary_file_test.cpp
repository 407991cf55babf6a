// The .dic reader and writer: a dictionary built in code survives the round
// trip, the record layouts hold byte for byte, and damaged files answer a
// status without crashing or taking memory they cannot back.
#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <string>

#include "markup/local_file_stream.h"
#include "markup/parser/dictionary.h"
#include "markup/parser/dictionary_dump.h"
#include "markup/parser/stream_manager.h"
#include "platform/messages.h"
#include "sample_dictionary.h"
#include "temp_dir.h"

namespace markup {
namespace {

using markup_test::BuildSampleDictionary;
using markup_test::ReadAll;
using markup_test::TempDir;

std::string Word(std::uint32_t n) {
    return std::string{static_cast<char>(n), static_cast<char>(n >> 8), static_cast<char>(n >> 16),
                       static_cast<char>(n >> 24)};
}

std::string Text(const std::string& s) {
    return Word(static_cast<std::uint32_t>(s.size())) + s;
}

// Header words and five empty sections.
const std::string kEmptyFile = Word(1) + Word(2) + Word(3) + Word(4) + std::string(20, '\0');

class DictionaryFileTest : public testing::Test {
  protected:
    ReturnCodeEnum LoadBytes(Dictionary& d, const std::string& bytes) {
        return d.Load(dir_.Write("d.dic", bytes).c_str(), false);
    }

    TempDir dir_;
    platform::RecordingMessageSink messages_;
    platform::ScopedMessageSink sink_{&messages_};
};

TEST_F(DictionaryFileTest, BuiltDictionaryReadsBackEqual) {
    const auto built = BuildSampleDictionary();
    const std::string file = dir_.File("sample.dic");
    ASSERT_EQ(built->Save(file.c_str()), kErr_None);

    Dictionary read;
    ASSERT_EQ(read.Load(file.c_str(), false), kErr_None);
    EXPECT_EQ(DumpDictionary(read), DumpDictionary(*built));
    EXPECT_TRUE(messages_.entries.empty());
    // The dump shows the nested connectives and the collected children.
    EXPECT_NE(DumpDictionary(read).find("model (#11, (#12 & #13?)?) children [11 12 13]"), std::string::npos);
    EXPECT_NE(DumpDictionary(read).find("children [160 13 160 12 13] from-model 4"), std::string::npos);
    // Children of a connective read back numbered by their place.
    const auto* model = static_cast<const LogicalConnective*>(read.FindElement(markup_test::kHtml)->Model());
    EXPECT_EQ(model->ChildAt(1)->Position(), 1u);

    // Writing what was read gives the same bytes.
    const std::string again = dir_.File("again.dic");
    ASSERT_EQ(read.Save(again.c_str()), kErr_None);
    EXPECT_EQ(ReadAll(again), ReadAll(file));
}

TEST_F(DictionaryFileTest, SavingReplacesALongerFileWhole) {
    const std::string file = dir_.Write("d.dic", std::string(4096, 'x'));
    Dictionary empty;
    ASSERT_EQ(empty.Save(file.c_str()), kErr_None);
    EXPECT_EQ(ReadAll(file), std::string(36, '\0'));
}

TEST_F(DictionaryFileTest, AWriteTheDiskRefusesIsReported) {
    const auto built = BuildSampleDictionary();
    EXPECT_EQ(built->Save("/dev/full"), kErr_StreamDiskIsFull);
}

TEST_F(DictionaryFileTest, HeaderAndEmptySectionsLoadAsAnEmptyDictionary) {
    Dictionary d;
    EXPECT_EQ(LoadBytes(d, kEmptyFile), kErr_None);
    EXPECT_EQ(d.Header(1), 2u);
    EXPECT_EQ(d.Entities().Count(), 0u);  // the file's table replaced the per-byte entries
    EXPECT_EQ(d.Elements().EntryCount(), 0u);
    EXPECT_TRUE(messages_.entries.empty());
}

TEST_F(DictionaryFileTest, AFileThatDoesNotOpenKeepsThePerByteEntriesAndShowsNothing) {
    Dictionary d;
    EXPECT_EQ(d.Load(dir_.File("absent.dic").c_str(), false), kErr_StreamFileNotFound);
    EXPECT_EQ(d.Entities().Count(), 256u);
    EXPECT_NE(d.Editor(), nullptr);
    EXPECT_TRUE(messages_.entries.empty());
}

// Record layouts, byte for byte.
TEST_F(DictionaryFileTest, RecordsHoldTheirFieldsExactly) {
    // An entity without text: 4 + 4 + 4 + 5 + 1 bytes; the byte after it is
    // the next section's count. A has-text byte other than 1 means no text.
    const std::string entities =
        Word(2) + Word(0) + Word(9) + Text("&ent;") + '\0' + Word(0) + Word(9) + Text("&two;") + '\2';
    // Element 20 without a model: its children are its extra list. User
    // values in sign and magnitude: bit 31 alone is 0, 7 is 7, bit 31 | 7 is -7.
    const std::string element = Word(20) + Text("x") + Text("") + "\1\2\3" + Word(1) + Word(5) + Word(77) +
                                Word(0) + Word(2) + Word(30) + Word(31) + Word(0) + Word(0);
    const std::string type = Word(3) + Word(1) + Text("a") + Word(0x80000000u) + Text("") + Word(2) +
                             Text("b") + Word(7) + Text("") + Word(3) + Text("c") + Word(0x80000007u) +
                             Text("C") + Word(1);
    const std::string attribute =
        Word(5) + Text("n") + Text("") + Word(kTypeGroup) + type + Word(2) + Word(6);
    const std::string file = Word(0) + Word(0) + Word(0) + Word(0) + entities + Word(0) + Word(1) + Word(20) +
                             Word(0) + element + Word(1) + Word(5) + Word(0) + attribute + Word(0);
    ASSERT_EQ(entities.size(), 4u + 18u + 18u);
    Dictionary d;
    ASSERT_EQ(LoadBytes(d, file), kErr_None);

    String name;
    String text("junk");
    ASSERT_TRUE(d.Entities().FindEntry("&ent;", name, text));
    EXPECT_EQ(std::string(text.Text()), "");
    EXPECT_EQ(d.Entities().EntryAt(0)->valid, 1);
    EXPECT_TRUE(d.Entities().FindEntry("&two;", name, text));

    const ElementDef* x = d.FindElement(20);
    ASSERT_NE(x, nullptr);
    EXPECT_EQ(x->Model(), nullptr);
    EXPECT_EQ(x->Flag(1), 2);
    EXPECT_EQ(x->Word(), 77u);
    EXPECT_EQ(x->AllowedChildren(), [] {
        IdList ids;
        ids.Add(30);
        ids.Add(31);
        return ids;
    }());
    EXPECT_EQ(x->ModelIdCount(), 0u);

    const auto* group = dynamic_cast<const AttributeTypeGroup*>(d.FindAttribute(5)->Type());
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->PairAt(0)->userValue, 0);
    EXPECT_EQ(group->PairAt(1)->userValue, 7);
    EXPECT_EQ(group->PairAt(2)->userValue, -7);
    EXPECT_EQ(d.FindAttribute(5)->DefaultKind(), 2u);
    EXPECT_EQ(d.FindAttribute(5)->DeclaredType(), 6u);

    // The writer gives the same bytes back.
    const std::string again = dir_.File("again.dic");
    ASSERT_EQ(d.Save(again.c_str()), kErr_None);
    // Only the unused leading words and the entity codes may differ.
    Dictionary reread;
    ASSERT_EQ(reread.Load(again.c_str(), false), kErr_None);
    EXPECT_EQ(DumpDictionary(reread), DumpDictionary(d));
}

TEST_F(DictionaryFileTest, AFileCutShortKeepsWhatWasReadAndShowsTheHostMessage) {
    const auto built = BuildSampleDictionary();
    const std::string whole = dir_.File("whole.dic");
    ASSERT_EQ(built->Save(whole.c_str()), kErr_None);
    const std::string bytes = ReadAll(whole);
    // Cut inside the element cross-reference: after the groups, 10 bytes on.
    const std::size_t groupsEnd = bytes.find(Text("all")) + 7 + 4;
    Dictionary d;
    EXPECT_EQ(LoadBytes(d, bytes.substr(0, groupsEnd + 10)), kErr_StreamRead);
    EXPECT_EQ(d.Groups().size(), 3u);
    EXPECT_EQ(d.Entities().Count(), 4u);
    EXPECT_EQ(d.Elements().EntryCount(), 0u);
    ASSERT_EQ(messages_.entries.size(), 1u);
    EXPECT_EQ(messages_.entries[0].kind, platform::MessageKind::Error);
    String host;
    host.LoadString(10007);
    EXPECT_EQ(messages_.entries[0].text, host.Text());
    EXPECT_FALSE(messages_.entries[0].text.empty());
}

// Every cut of a valid file fails cleanly, and the entities before the cut stay.
TEST_F(DictionaryFileTest, EveryPrefixOfAValidFileAnswersAStatus) {
    const auto built = BuildSampleDictionary();
    const std::string whole = dir_.File("whole.dic");
    ASSERT_EQ(built->Save(whole.c_str()), kErr_None);
    const std::string bytes = ReadAll(whole);
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        Dictionary d;
        EXPECT_NE(LoadBytes(d, bytes.substr(0, n)), kErr_None) << n;
    }
    EXPECT_EQ(messages_.entries.size(), bytes.size());
}

// Counts larger than the rest of the file fail at once, before anything is
// built for them.
TEST_F(DictionaryFileTest, OversizedCountsFailBeforeAllocating) {
    const std::string head = std::string(16, '\0');
    const std::string cases[] = {
        head + Word(0xFFFFFFFFu),                                            // entities
        head + Word(0) + Word(0x10000000u),                                  // groups
        head + Word(0) + Word(1) + Word(5) + Text("g") + Word(0xFFFFFFF0u),  // group members
        head + Word(0) + Word(0) + Word(0x7FFFFFFFu),                        // elements
        head + Word(0) + Word(0) + Word(0) + Word(0xFFFFFFFFu),              // attributes
        head + Word(0) + Word(0) + Word(0) + Word(0) + Word(0x40000000u),    // values
        head + Word(1) + Word(0) + Word(0) + Word(0xFFFFFFFFu),              // a name's length
        head + Word(0) + Word(0) + Word(0) + Word(1) + Word(5) + Word(0) + Word(5) + Text("n") + Text("") +
            Word(kTypeGroup) + Word(0xFFFFFFFFu),  // value pairs
        // A model nested deeper than any walk of it may recurse.
        head + Word(0) + Word(0) + Word(1) + Word(1) + Word(0) + Word(1) + Text("e") + Text("") + "\0\0\0" +
            Word(0) + Word(0) + Word(1) + Word(kSymbolConnective) +
            [] {
                std::string nest;
                for (std::uint32_t i = 0; i < kMaxContentDepth + 5; ++i) {
                    nest += Word(3) + Word(kConnectChoice) + Word(1) + Word(kSymbolConnective);
                }
                return nest;
            }(),
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        Dictionary d;
        const ReturnCodeEnum status = LoadBytes(d, cases[i] + std::string(64, '\0'));
        EXPECT_NE(status, kErr_None) << i;
    }
}

// Random bytes and random damage to a valid file: a status, never a crash
// (the sanitizer build checks for leaks and bad reads).
TEST_F(DictionaryFileTest, RandomBytesAndDamagedFilesAnswerAStatus) {
    const auto built = BuildSampleDictionary();
    const std::string whole = dir_.File("whole.dic");
    ASSERT_EQ(built->Save(whole.c_str()), kErr_None);
    const std::string valid = ReadAll(whole);
    std::mt19937 random(1234);
    for (int round = 0; round < 200; ++round) {
        std::string bytes = valid;
        if (round % 2 == 0) {
            bytes.resize(random() % 512);
            for (char& c : bytes) c = static_cast<char>(random());
        } else {
            for (int hits = 1 + round % 7; hits > 0; --hits)
                bytes[random() % bytes.size()] = static_cast<char>(random());
        }
        Dictionary d;
        LoadBytes(d, bytes);
        DumpDictionary(d);
    }
}

TEST(StreamManagerTest, IsOneInstanceMadeOnlyThroughInstance) {
    StreamManager& manager = StreamManager::Instance();
    EXPECT_EQ(&manager, &StreamManager::Instance());
    EXPECT_THROW(StreamManager(), IllegalUsageFault);
    ReturnCodeEnum status = kErr_OutOfMemory;
    InStream* stream = manager.OpenStream("no/such/file", status);
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(status, kErr_None);
    EXPECT_EQ(stream->Open(-1, kStreamRead), kErr_StreamFileNotFound);
    manager.ReleaseStream(stream);
    manager.ReleaseStream(nullptr);
}

}  // namespace
}  // namespace markup
