// Entities a document declares in its DOCTYPE's internal subset expand in
// content and attribute values, the five predefined ones always do, and
// expansion is bounded (1 MB a document, 32 levels) with one diagnostic and
// the reference kept as written.
#include "markup/parser/subset_entities.h"

#include <gtest/gtest.h>

#include <string>

#include "file_parse.h"

namespace markup_test {
namespace {

using namespace markup;
using detail::SubsetEntities;

struct Case {
    const char* what;
    const char* document;
    std::vector<const char*> present;
    std::vector<const char*> absent;
};

const char kLaughs[] =
    "<!DOCTYPE svg [<!ENTITY a \"lol\">"
    "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\"><!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">"
    "<!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\"><!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\">"
    "<!ENTITY f \"&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;\"><!ENTITY g \"&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;\">"
    "<!ENTITY h \"&g;&g;&g;&g;&g;&g;&g;&g;&g;&g;\"><!ENTITY i \"&h;&h;&h;&h;&h;&h;&h;&h;&h;&h;\">"
    "<!ENTITY j \"&i;&i;&i;&i;&i;&i;&i;&i;&i;&i;\">]>";

const Case kCases[] = {
    {"declared entities in attributes and text",
     "<!DOCTYPE svg [<!ENTITY ns_svg \"http://www.w3.org/2000/svg\"> <!ENTITY st 'fill:red'>]>"
     "<svg xmlns=\"&ns_svg;\" style=\"&st;\"><text>a&st;b</text></svg>",
     {"name=\"xmlns\" value=\"http://www.w3.org/2000/svg\"", "name=\"style\" value=\"fill:red\"", "fill:redb"},
     {"\n25 ", "\n44 "}},
    {"a replacement naming others, and character references in it",
     "<!DOCTYPE svg [<!ENTITY a \"1\"><!ENTITY b \"&a;&#59;&a;\">]><svg id=\"&b;\"/>",
     {"value=\"1;1\""},
     {}},
    {"another document type name still finds the root",
     "<!DOCTYPE drawing [<!ENTITY w \"10\">]><svg width=\"&w;\"><rect/></svg>",
     {"element 186 name=\"svg\"", "name=\"width\" value=\"10\"", "name=\"rect\""},
     {}},
    {"the predefined five in attributes, and character references",
     "<svg a=\"&lt;&gt;&amp;&quot;&apos;\" d=\"M&#32;10 10\" fill=\"&#35;ff0000\"/>",
     {"name=\"a\" value=\"<>&\\\"'\"", "name=\"d\" value=\"M 10 10\"", "name=\"fill\" value=\"#ff0000\""},
     {}},
    {"character references beyond 255 in attributes are their UTF-8",
     "<svg id=\"&#8220;&#x20AC;&#233;\" class=\"&#x110000;\"/>",
     {"name=\"id\" value=\"\\xE2\\x80\\x9C\\xE2\\x82\\xAC\\xC3\\xA9\"", "name=\"class\" value=\"&#x110000;\""},
     {}},
    {"the first declaration binds; parameter and external entities expand nothing",
     "<!DOCTYPE svg [<!ENTITY x \"one\"><!ENTITY x \"two\"><!ENTITY % p \"no\"><!ENTITY e SYSTEM \"/etc/passwd\">]>"
     "<svg id=\"&x;\" class=\"&p;&e;\"/>",
     {"name=\"id\" value=\"one\"", "name=\"class\" value=\"&p;&e;\""},
     {"root:"}},
    {"a cycle closed by a later document type's declaration stops too",
     "<!DOCTYPE [<!ENTITY a\"&b;\"]>&a;<!DOCTYPE [<!ENTITY b\"&a;\"]>&a;",
     {"\n44 "},
     {}},
    {"a reference cycle stops at the depth bound",
     "<!DOCTYPE svg [<!ENTITY a \"&b;\"><!ENTITY b \"&a;\">]><svg id=\"&a;\"><text>&a;</text></svg>",
     {"name=\"id\" value=\"&a;\"", "text=\"&a;\"", "\n44 "},
     {}},
};

TEST(SubsetEntitiesParse, ExpandAsDeclared) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        const std::string dump = "\n" + ParseFileDump(c.document);
        for (const char* text : c.present) EXPECT_NE(dump.find(text), std::string::npos) << text << dump;
        for (const char* text : c.absent) EXPECT_EQ(dump.find(text), std::string::npos) << text << dump;
    }
}

TEST(SubsetEntitiesParse, BillionLaughsStopAtTheBudgetAtOnce) {
    const std::string dump =
        ParseFileDump(std::string(kLaughs) + "<svg id=\"&j;\"><text>&j;&j;&j;</text><text>&d;</text></svg>");
    // Kept as written, said once, and the tree stays the document's size.
    EXPECT_NE(dump.find("name=\"id\" value=\"&j;\""), std::string::npos);
    EXPECT_NE(dump.find("\n44 "), std::string::npos);
    EXPECT_EQ(dump.find("\n44 ", dump.find("\n44 ") + 1), std::string::npos);
    EXPECT_LT(dump.size(), 8000u);
}

// Entities that name only others, or empty ones, expand to little through
// very many uses: the uses are counted too, and the work stays small.
TEST(SubsetEntities, UsesThatExpandToNothingStillCost) {
    std::string subset = "<!ENTITY e0 \"\">";
    for (int level = 1; level <= 30; ++level) {
        subset += "<!ENTITY e" + std::to_string(level) + " \"";
        for (int k = 0; k < 10; ++k) subset += "&e" + std::to_string(level - 1) + ";";
        subset += "\">";
    }
    SubsetEntities entities;
    entities.Declare(subset);
    const auto start = std::chrono::steady_clock::now();
    std::string out;
    EXPECT_EQ(entities.Expand("e30", out), SubsetEntities::Result::kOverLimit);
    EXPECT_EQ(entities.Expand("e5", out), SubsetEntities::Result::kOverLimit);  // the budget is spent
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_TRUE(out.empty());
    // 10^4 uses of the empty one fit the budget, and expand to nothing.
    entities.Clear();
    entities.Declare(subset);
    EXPECT_EQ(entities.Expand("e4", out), SubsetEntities::Result::kExpanded);
    EXPECT_TRUE(out.empty());
}

// A long chain is refused at the depth bound, used from the top or from
// inside, and a shorter one from the same declarations still expands.
TEST(SubsetEntities, DepthCountsFromTheUse) {
    std::string subset = "<!ENTITY c0 \"x\">";
    for (int level = 1; level <= 40; ++level) {
        subset += "<!ENTITY c" + std::to_string(level) + " \"&c" + std::to_string(level - 1) + ";\">";
    }
    SubsetEntities entities;
    entities.Declare(subset);
    std::string out;
    EXPECT_EQ(entities.Expand("c40", out), SubsetEntities::Result::kOverLimit);
    EXPECT_EQ(entities.Expand("c31", out), SubsetEntities::Result::kExpanded);  // 32 levels
    EXPECT_EQ(out, "x");
    EXPECT_EQ(entities.Expand("c32", out), SubsetEntities::Result::kOverLimit);
    std::string text = "&c3;&c35;&amp;";
    EXPECT_EQ(entities.ExpandText(text), SubsetEntities::Result::kOverLimit);
    EXPECT_EQ(text, "x&c35;&");
}

// A name declared after a use (a further document type) counts from then
// on: the use before kept the reference as written, a use after expands
// it, and a cycle it closes is refused rather than followed.
TEST(SubsetEntities, LaterDeclarationsCountFromThen) {
    SubsetEntities entities;
    entities.Declare("<!ENTITY a \"[&b;]\"><!ENTITY c \"&d;\">");
    std::string out;
    EXPECT_EQ(entities.Expand("a", out), SubsetEntities::Result::kExpanded);
    EXPECT_EQ(entities.Expand("c", out), SubsetEntities::Result::kExpanded);
    EXPECT_EQ(out, "[&b;]&d;");
    entities.Declare("<!ENTITY b \"x\"><!ENTITY d \"&c;\">");
    out.clear();
    EXPECT_EQ(entities.Expand("a", out), SubsetEntities::Result::kExpanded);
    EXPECT_EQ(out, "[x]");
    EXPECT_EQ(entities.Expand("c", out), SubsetEntities::Result::kOverLimit);
    EXPECT_EQ(out, "[x]");
}

TEST(SubsetEntities, TheBudgetCountsEveryUse) {
    SubsetEntities entities;
    entities.Declare("<!ENTITY k \"" + std::string(1000, 'k') + "\">");
    std::string out;
    std::size_t uses = 0;
    while (entities.Expand("k", out) == SubsetEntities::Result::kExpanded) ++uses;
    // Each use costs its bytes and the reference itself.
    EXPECT_EQ(uses, SubsetEntities::kMaxExpandedBytes / (1000 + SubsetEntities::kReferenceCost));
    EXPECT_EQ(out.size(), uses * 1000);
    // A new document has its budget back.
    entities.Clear();
    entities.Declare("<!ENTITY k \"k\">");
    out.clear();
    EXPECT_EQ(entities.Expand("k", out), SubsetEntities::Result::kExpanded);
    EXPECT_EQ(out, "k");
}

}  // namespace
}  // namespace markup_test
