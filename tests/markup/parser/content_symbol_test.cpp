// Content-model symbols: defaults, occurrence codes, optionality, the ids a
// model names, copies across kinds and the record round trip.
#include "markup/parser/content_symbol.h"

#include <gtest/gtest.h>

#include "markup/local_file_stream.h"
#include "markup/parser/dictionary.h"
#include "markup/parser/dictionary_dump.h"
#include "sample_dictionary.h"
#include "temp_dir.h"

namespace markup {
namespace {

using markup_test::Connective;
using markup_test::Element;

TEST(ContentSymbolTest, FactoryDefaults) {
    struct Case {
        std::uint32_t kind;
        std::uint32_t occurrence;
    };
    for (const Case& c :
         {Case{kSymbolConnective, kOccurAny}, Case{kSymbolGroup, kOccurAny}, Case{kSymbolElement, kOccurOnce},
          Case{kSymbolText, kOccurAny}, Case{kSymbolBase, kOccurOnce}, Case{77, kOccurOnce}}) {
        auto s = ContentSymbol::Create(c.kind, 4);
        EXPECT_EQ(s->Kind(), c.kind == 77 ? kSymbolBase : c.kind);
        EXPECT_EQ(s->OccurrenceCode(), c.occurrence) << c.kind;
        EXPECT_EQ(s->Position(), 4u);
    }
    EXPECT_EQ(static_cast<LogicalConnective&>(*ContentSymbol::Create(kSymbolConnective, 0)).ConnectorCode(),
              kConnectChoice);
    EXPECT_EQ(static_cast<PCDataSymbol&>(*ContentSymbol::Create(kSymbolText, 0)).Flag(), 1);
}

TEST(ContentSymbolTest, OccurrenceCodesAllowTheirCounts) {
    const bool expected[6][3] = {
        // counts 0, 1, 2
        {true, false, false}, {false, true, false}, {true, true, false},
        {true, true, true},   {false, true, true},  {false, false, false},
    };
    for (std::uint32_t code = 0; code < 6; ++code) {
        for (std::uint32_t count = 0; count < 3; ++count) {
            EXPECT_EQ(OccurrenceAllows(code, count), expected[code][count]) << code << " " << count;
        }
    }
    EXPECT_TRUE(OccurrenceAllows(kOccurOneOrMore, 1000));
}

TEST(ContentSymbolTest, OptionalWhenItMayMatchNothing) {
    EXPECT_FALSE(Element(1, kOccurOnce)->IsOptional());
    EXPECT_FALSE(Element(1, kOccurOneOrMore)->IsOptional());
    EXPECT_TRUE(Element(1, kOccurOptional)->IsOptional());
    EXPECT_TRUE(Element(1, kOccurNever)->IsOptional());

    auto choice = Connective(kConnectChoice, kOccurOnce);
    choice->AdoptChild(Element(1, kOccurOnce));
    EXPECT_FALSE(choice->IsOptional());
    choice->AdoptChild(Element(2, kOccurAny));
    EXPECT_TRUE(choice->IsOptional());  // one child may be left out

    auto sequence = Connective(kConnectSequence, kOccurOneOrMore);
    sequence->AdoptChild(Element(1, kOccurOptional));
    sequence->AdoptChild(Element(2, kOccurOnce));
    EXPECT_FALSE(sequence->IsOptional());
    sequence->SetOccurrence(kOccurAny);
    EXPECT_TRUE(sequence->IsOptional());
}

TEST(ContentSymbolTest, CountsAndIdsDepthFirst) {
    auto d = markup_test::BuildSampleDictionary();
    auto model = Connective(kConnectSequence, kOccurOnce);
    model->AdoptChild(Element(7, kOccurOnce));
    auto inner = Connective(kConnectChoice, kOccurAny);
    inner->AdoptChild(std::make_unique<PCDataSymbol>());
    auto group = std::make_unique<GroupSymbol>();
    group->SetGroupClass(5);
    inner->AdoptChild(std::move(group));
    model->AdoptChild(std::move(inner));
    model->AdoptChild(ContentSymbol::Create(kSymbolBase, 0));
    EXPECT_EQ(model->CountSymbols(), 6u);
    IdList ids;
    model->CollectIds(ids, *d);
    EXPECT_EQ(ids.Count(), 4u);
    EXPECT_EQ(ids[0], 7u);
    EXPECT_EQ(ids[1], kTextElementId);
    EXPECT_EQ(ids[2], markup_test::kBold);
    EXPECT_EQ(ids[3], kTextElementId);

    auto missing = std::make_unique<GroupSymbol>();
    missing->SetGroupClass(99);
    IdList none;
    EXPECT_THROW(missing->CollectIds(none, *d), InvalidArgumentFault);
    EXPECT_NO_THROW(missing->CollectIds(none, *d, ContentSymbol::MissingGroup::Skip));
    EXPECT_TRUE(none.IsEmpty());
}

TEST(ContentSymbolTest, AssignCopiesDeeplyOrFallsBackToDefaults) {
    auto model = Connective(kConnectSequence, kOccurOneOrMore);
    model->SetPosition(3);
    model->AdoptChild(Element(1, kOccurOnce));
    auto copy = model->Clone();
    model->AdoptChild(Element(2, kOccurOnce));  // the copy does not share children
    EXPECT_EQ(DumpContentModel(*copy), "(,#1)+");
    EXPECT_EQ(copy->Position(), 3u);

    ElementSymbol element;
    element.SetElementId(9);
    element.Assign(*model);  // another kind: position and occurrence only
    EXPECT_EQ(element.ElementId(), 0u);
    EXPECT_EQ(element.OccurrenceCode(), kOccurOneOrMore);
    LogicalConnective connective;
    connective.AdoptChild(Element(5, kOccurOnce));
    connective.SetConnector(kConnectAll);
    connective.Assign(element);
    EXPECT_EQ(connective.ChildCount(), 0u);
    EXPECT_EQ(connective.ConnectorCode(), kConnectChoice);
    PCDataSymbol text;
    text.SetFlag(0);
    text.Assign(element);
    EXPECT_EQ(text.Flag(), 1);
    connective.Assign(connective);  // self-assignment keeps what it has
    EXPECT_EQ(connective.ConnectorCode(), kConnectChoice);
}

TEST(ContentSymbolTest, WrittenTreesReadBackEqual) {
    auto model = Connective(kConnectChoice, kOccurAny);
    model->AdoptChild(Element(3, kOccurOnce));
    auto inner = Connective(kConnectAll, kOccurOptional);
    inner->AdoptChild(Element(4, kOccurOneOrMore));
    auto text = std::make_unique<PCDataSymbol>();
    text->SetFlag(7);
    inner->AdoptChild(std::move(text));
    model->AdoptChild(std::move(inner));
    markup_test::TempDir dir;
    const std::string file = dir.File("m.bin");
    ReturnCodeEnum status = kErr_None;
    LocalFileStream* out = LocalFileStream::Create(file.c_str(), status);
    ASSERT_EQ(out->Open(-1, kStreamWrite), kErr_None);
    ASSERT_EQ(model->Write(*out), kErr_None);
    Stream* s = out;
    ASSERT_EQ(Stream::CloseAndDelete(&s), kErr_None);

    LocalFileStream* in = LocalFileStream::Create(file.c_str(), status);
    ASSERT_EQ(in->Open(-1, kStreamRead), kErr_None);
    std::uint32_t kind = 0;
    std::uint32_t count = 4;
    ASSERT_EQ(in->Read(&kind, count), kErr_None);
    auto read = ContentSymbol::Create(kind, 0);
    EXPECT_EQ(read->Read(*in), kErr_None);
    EXPECT_TRUE(in->AtEnd(kStreamReadPosition));
    s = in;
    Stream::CloseAndDelete(&s);
    EXPECT_EQ(DumpContentModel(*read), DumpContentModel(*model));
    EXPECT_EQ(DumpContentModel(*read), "(#3 | (#4+ & #PCDATA[7]*)?)*");
}

}  // namespace
}  // namespace markup
