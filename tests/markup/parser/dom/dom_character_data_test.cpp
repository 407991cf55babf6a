// Character data: the editing operations on a facade's copy of its text,
// with offsets and counts past the end, and splitText.
#include "markup/parser/dom/dom_character_data.h"

#include <gtest/gtest.h>

#include <string>

#include "dom_fixtures.h"

namespace markup {
namespace {

using markup_test::Children;
using markup_test::DomTest;
using markup_test::E;
using markup_test::N;
using markup_test::S;
using markup_test::Str;
using markup_test::T;

enum class Op { Substring, Append, Insert, Delete, Replace, Set };

struct EditCase {
    Op op;
    std::uint32_t offset;
    std::uint32_t count;
    const char* argument;
    const char* expected;  // the data after the edit, or the substring
};

class EditTest : public DomTest, public testing::WithParamInterface<EditCase> {};

TEST_P(EditTest, EditsTheCopyOfABCD) {
    const EditCase& c = GetParam();
    WDOMHandle document = Adopt(E(kKindDocument));
    WDOMHandle handle(Document(document)->createTextNode("abcd"));
    auto* text = dynamic_cast<WDOMText*>(handle.Get());
    std::string result;
    switch (c.op) {
        case Op::Substring:
            result = S(text->substringData(c.offset, c.count));
            EXPECT_EQ(S(text->data()), "abcd");
            break;
        case Op::Append: text->appendData(c.argument); break;
        case Op::Insert: text->insertData(c.offset, c.argument); break;
        case Op::Delete: text->deleteData(c.offset, c.count); break;
        case Op::Replace: text->replaceData(c.offset, c.count, c.argument); break;
        case Op::Set: text->setNodeValue(c.argument); break;
    }
    if (c.op != Op::Substring) {
        result = S(text->data());
        EXPECT_EQ(text->length(), std::string(c.expected).size());
    }
    EXPECT_EQ(result, c.expected);
    EXPECT_EQ(Str(handle->GetNode()->Text()), "");  // the tree node is never edited
}

INSTANTIATE_TEST_SUITE_P(Edits, EditTest,
                         testing::Values(EditCase{Op::Substring, 1, 2, "", "bc"},
                                         EditCase{Op::Substring, 3, 5, "", "d"},
                                         EditCase{Op::Substring, 9, 1, "", ""},
                                         EditCase{Op::Substring, 0, 0, "", ""},
                                         EditCase{Op::Append, 0, 0, "xy", "abcdxy"},
                                         EditCase{Op::Insert, 0, 0, "x", "xabcd"},
                                         EditCase{Op::Insert, 4, 0, "x", "abcdx"},
                                         EditCase{Op::Insert, 9, 0, "x", "abcdx"},
                                         EditCase{Op::Delete, 1, 2, "", "ad"},
                                         EditCase{Op::Delete, 0, 0, "", "abcd"},
                                         EditCase{Op::Delete, 2, 99, "", "ab"},
                                         EditCase{Op::Delete, 9, 1, "", "abcd"},
                                         EditCase{Op::Delete, 1, 0xFFFFFFFF, "", "a"},
                                         EditCase{Op::Replace, 1, 2, "XYZ", "aXYZd"},
                                         EditCase{Op::Replace, 3, 9, "Z", "abcZ"},
                                         EditCase{Op::Replace, 9, 9, "Z", "abcdZ"},
                                         EditCase{Op::Replace, 0, 0, "Z", "Zabcd"},
                                         EditCase{Op::Set, 0, 0, "q", "q"}));

using SplitTextTest = DomTest;

TEST_F(SplitTextTest, LinksTheRestAsANewTextNode) {
    AttrElement* p = N("p", {T(kKindText, "abcd"), N("x")});
    WDOMHandle document = Adopt(E(kKindDocument, {p}));
    WDOMHandle first = document.GetFirstChild().GetFirstChild();
    WDOMHandle rest(dynamic_cast<WDOMText*>(first.Get())->splitText(2));
    ASSERT_FALSE(rest.IsNull());
    EXPECT_EQ(S(first.GetData()), "ab");
    EXPECT_EQ(S(rest.GetData()), "cd");
    EXPECT_EQ(rest.GetNodeType(), kDOMTextNode);
    // The wrapped node keeps its text; the new node follows it.
    EXPECT_EQ(Children(p), "abcd cd x");

    WDOMHandle end(dynamic_cast<WDOMText*>(rest.Get())->splitText(9));
    EXPECT_EQ(S(rest.GetData()), "cd");
    EXPECT_EQ(S(end.GetData()), "");
}

TEST_F(SplitTextTest, ACDataSectionSplitsIntoText) {
    WDOMHandle document = Adopt(E(kKindDocument, {N("p")}));
    WDOMHandle section(Document(document)->createCDATASection("abcd"));
    ASSERT_NE(document.GetFirstChild()->appendChild(section.Get()), nullptr);
    WDOMHandle rest(dynamic_cast<WDOMText*>(section.Get())->splitText(1));
    EXPECT_EQ(S(section.GetData()), "a");
    EXPECT_EQ(rest.GetNodeType(), kDOMTextNode);
    EXPECT_EQ(rest->GetNode()->TypeId(), kKindText);
    EXPECT_EQ(S(rest.GetData()), "bcd");
}

}  // namespace
}  // namespace markup
