// Input that ends inside a construct gets one diagnostic (45) naming the
// construct and the line it opened on; a document that closes everything
// gets none.
#include <gtest/gtest.h>

#include <string>

#include "file_parse.h"

namespace markup_test {
namespace {

struct Cut {
    const char* document;
    const char* told;  // the diagnostic's value; "" when there is none
};

const Cut kCuts[] = {
    {"<svg><g", "a tag opened on line 1"},
    {"<svg>\n<g a", "a tag opened on line 2"},
    {"<svg>\n\n<g a=\"1\n\n<rect/></svg>", "an attribute value opened on line 3"},
    {"<svg><g a=1", "an attribute value opened on line 1"},
    {"<svg>\n<!-- a comment <rect/>", "a comment opened on line 2"},
    {"<svg><![CDATA[x", "a CDATA section opened on line 1"},
    {"<svg><?pi x", "a processing instruction opened on line 1"},
    {"<?xml-stylesheet href=\"a.css\"", "a processing instruction opened on line 1"},
    {"<svg></svg", "an end tag opened on line 1"},
    {"<!DOCTYPE svg [ <!ENTITY a \"b\">", "a DOCTYPE declaration opened on line 1"},
    {"<svg><g a=\"1\"/><!-- c --><![CDATA[x]]><?pi?></svg>", ""},
    {"<svg>text", ""},
};

TEST(Unterminated, TheInputEndingInsideAConstructIsToldOnce) {
    for (const Cut& cut : kCuts) {
        SCOPED_TRACE(cut.document);
        const std::string dump = "\n" + ParseFileDump(cut.document);
        const std::size_t at = dump.find("\n45 ");
        if (cut.told[0] == '\0') {
            EXPECT_EQ(at, std::string::npos) << dump;
            continue;
        }
        ASSERT_NE(at, std::string::npos) << dump;
        EXPECT_NE(dump.find(std::string("the input ends inside ") + cut.told, at), std::string::npos) << dump;
        EXPECT_EQ(dump.find("\n45 ", at + 1), std::string::npos) << dump;
    }
}

}  // namespace
}  // namespace markup_test
