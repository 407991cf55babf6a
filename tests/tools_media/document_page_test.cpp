// The page `svgfilter import` gives a drawing comes from the document's root
// however long the prolog before it: a DOCTYPE whose internal subset runs
// over many of the blocks the tool reads, comments and processing
// instructions.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "tool_renders.h"

namespace {

using namespace tool_renders;

std::string PageOf(const media_test::TempFolder& folder, const std::string& prolog) {
    {
        std::ofstream out(folder / "doc.svg", std::ios::binary);
        out << prolog << "<svg xmlns='http://www.w3.org/2000/svg' width='300' height='150'>"
            << "<rect width='5' height='5'/></svg>";
    }
    std::string errors;
    EXPECT_EQ(Tool(folder, "import doc.svg doc.json", &errors), 0) << errors;
    const std::string json = ReadFile(folder / "doc.json");
    const size_t page = json.find("\"page\"");
    return page == std::string::npos ? std::string() : json.substr(page, json.find('}', page) - page);
}

TEST(DocumentPage, ComesFromTheRootAfterAPrologOfAnyLength) {
    media_test::TempFolder folder;
    const std::string plain = PageOf(folder, "");
    ASSERT_NE(plain.find("\"width\": 793750"), std::string::npos) << plain;
    for (const size_t entities : {10, 3000, 100000}) {
        SCOPED_TRACE(entities);
        std::string subset;
        for (size_t i = 0; i < entities; ++i)
            subset += "<!ENTITY e" + std::to_string(i) + " 'a > b [and] \"quoted\"'>\n";
        EXPECT_EQ(PageOf(folder, "<?xml version='1.0'?><!-- <svg width='1'> -->\n<!DOCTYPE svg [\n" + subset +
                                     "]>\n<?pi <svg width='2'>?>"),
                  plain);
    }
}

}  // namespace
