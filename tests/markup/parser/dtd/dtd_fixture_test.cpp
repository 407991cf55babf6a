// Whole DTDs: a small fixture compiled to a table of definitions, written
// and read back through a .dic file; a page DTD in the strict style with
// parameter entities and nested groups; dicgen run as a user runs it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <vector>

#include "dtd_test_support.h"
#include "markup/parser/dictionary_dump.h"
#include "temp_dir.h"

namespace markup::dtd {
namespace {

using dtd_test::Attribute;
using dtd_test::Element;
using dtd_test::Model;

const std::string kNotes = std::string(SVGFILTER_TEST_DATA) + "/dtd/notes.dtd";
const std::string kPage = std::string(SVGFILTER_TEST_DATA) + "/dtd/page-strict.dtd";

std::string Ids(const IdList& ids) {
    std::string out;
    for (std::uint32_t id : ids) out += (out.empty() ? "" : " ") + std::to_string(id);
    return out;
}

// Writes the dictionary, reads it back as the compiler made it (names
// compared with case) and checks that nothing changed on the way.
std::unique_ptr<Dictionary> RoundTrip(const Dictionary& compiled, const markup_test::TempDir& dir,
                                      bool caseSensitive = true) {
    const std::string file = dir.File("compiled.dic");
    EXPECT_EQ(compiled.Save(file.c_str()), kErr_None);
    auto reread = std::make_unique<Dictionary>();
    EXPECT_EQ(reread->Load(file.c_str(), caseSensitive), kErr_None);
    if (caseSensitive) {
        EXPECT_EQ(DumpDictionary(*reread), DumpDictionary(compiled));
    }
    return reread;
}

struct ElementRow {
    const char* name;
    std::uint32_t id;
    const char* attributes;
    const char* model;
};

struct AttributeRow {
    const char* name;
    std::uint32_t id;
    std::uint32_t declaredType;
    std::uint32_t defaultKind;
    const char* defaultText;  // "-" when there is none
    const char* values;       // the enumerated values, or "" for a formatted type
};

void ExpectNotesTable(const Dictionary& d) {
    static const ElementRow kElements[] = {
        {"note", 1, "1 2 3 4", "(#2, #3+)"},
        {"title", 2, "", "#PCDATA"},  // the second declaration, ANY, is dropped
        {"para", 3, "5 6", "(#PCDATA | #4)*"},
        {"em", 4, "", "#PCDATA"},  // "broken" took no id
    };
    ASSERT_EQ(d.Elements().EntryCount(), 4u);
    for (const ElementRow& row : kElements) {
        const ElementDef* e = Element(d, row.name);
        ASSERT_NE(e, nullptr) << row.name;
        EXPECT_EQ(e->Id(), row.id) << row.name;
        EXPECT_EQ(Ids(e->Attributes()), row.attributes) << row.name;
        EXPECT_EQ(Model(d, row.name), row.model) << row.name;
    }
    static const AttributeRow kAttributes[] = {
        // From %common;, declared after the list that uses it.
        {"id", 1, 10, 0, "-", ""},
        {"lang", 2, 9, 1, "en", ""},
        {"kind", 3, 17, 1, "warning", "info warning error"},
        {"priority", 4, 15, 0, "-", ""},
        {"align", 5, 17, 0, "-", "left right center"},
        {"class", 6, 9, 2, "body", ""},
    };
    ASSERT_EQ(d.Attributes().EntryCount(), 6u);
    for (const AttributeRow& row : kAttributes) {
        const HTMLAttributeDef* a = Attribute(d, row.name);
        ASSERT_NE(a, nullptr) << row.name;
        EXPECT_EQ(a->Id(), row.id) << row.name;
        EXPECT_EQ(a->DeclaredType(), row.declaredType) << row.name;
        EXPECT_EQ(a->DefaultKind(), row.defaultKind) << row.name;
        String text;
        EXPECT_EQ(a->Type()->DefaultText(text) == kDict_Ok ? text.Text() : "-", std::string(row.defaultText))
            << row.name;
        std::string values;
        if (const auto* group = dynamic_cast<const AttributeTypeGroup*>(a->Type())) {
            for (std::uint32_t i = 0; i < group->PairCount(); ++i) {
                values += (i ? " " : "") + std::string(group->PairAt(i)->value.Text());
            }
        }
        EXPECT_EQ(values, row.values) << row.name;
    }
    static const std::pair<const char*, const char*> kEntities[] = {
        {"&author;", "A. N. Other"}, {"&copy;", "&#169;"}, {"&logo;", ""}};
    ASSERT_EQ(d.Entities().Count(), 3u);
    for (const auto& [name, expected] : kEntities) {
        String found, text;
        EXPECT_TRUE(d.Entities().FindEntry(name, found, text)) << name;
        EXPECT_EQ(std::string(text.Text()), expected) << name;
    }
    EXPECT_EQ(d.Header(1), 4u);
    EXPECT_EQ(d.Header(2), 6u);
}

TEST(NotesFixture, CompilesToTheTableAndReadsBackFromItsFile) {
    RecordingSink messages;
    const auto compiled = CompileDtdFromFile(kNotes.c_str(), messages);
    ASSERT_NE(compiled, nullptr);
    ExpectNotesTable(*compiled);
    // Five entity declarations, then notations, attribute lists, elements
    // (with the one that does not parse) and processing instructions.
    EXPECT_EQ(messages.Text(),
              "Ret was good\nRet was good\nRet was good\nRet was good\nRet was good\n"
              "Ret was good\nRet was good\n"
              "Error: parse error\nRet was bad\nRet was good\n"
              "Ret was good\n");

    markup_test::TempDir dir;
    const auto reread = RoundTrip(*compiled, dir);
    ExpectNotesTable(*reread);
}

TEST(PageFixture, CompilesWholeWithItsEntitiesAndNestedGroups) {
    RecordingSink messages;
    const auto d = CompileDtdFromFile(kPage.c_str(), messages);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(messages.Text().find("Error"), std::string::npos) << messages.Text();
    EXPECT_EQ(d->Elements().EntryCount(), 69u);
    for (std::uint32_t i = 0; i < d->Elements().EntryCount(); ++i) {
        EXPECT_NE(d->Elements().At(i)->Model(), nullptr) << d->Elements().At(i)->Name().Text();
    }

    auto id = [&](const char* name) { return "#" + std::to_string(Element(*d, name)->Id()); };
    EXPECT_EQ(Model(*d, "html"), "(" + id("head") + ", " + id("body") + ")");
    EXPECT_EQ(Model(*d, "table"), "(" + id("caption") + "?, ((" + id("col") + "* | " + id("colgroup") +
                                      "*), (" + id("thead") + "?, (" + id("tfoot") + "?, (" + id("tbody") +
                                      "+ | " + id("tr") + "+)))))");
    // %flow; is %inline; (text first), then %block;: text and 44 elements.
    const ElementDef* div = Element(*d, "div");
    EXPECT_EQ(div->AllowedChildren().Count(), 45u);
    EXPECT_EQ(div->AllowedChildren()[0], kTextElementId);
    EXPECT_TRUE(div->AllowedChildren().Contains(Element(*d, "table")->Id()));
    EXPECT_EQ(Model(*d, "br"), "BASE");

    // %attrs; gives every element that uses it the same ten attributes.
    EXPECT_EQ(Element(*d, "span")->Attributes().Count(), 10u);
    EXPECT_EQ(Element(*d, "a")->Attributes().Count(), 10u + 5u);
    const HTMLAttributeDef* method = nullptr;
    for (std::uint32_t attribute : Element(*d, "form")->Attributes()) {
        if (d->FindAttribute(attribute)->Name() == "method") method = d->FindAttribute(attribute);
    }
    ASSERT_NE(method, nullptr);
    EXPECT_EQ(DumpAttributeType(*method->Type()), "group default 0 { 420 \"get\"=0; 420 \"post\"=1 }");

    String found, text;
    EXPECT_TRUE(d->Entities().FindEntry("&nbsp;", found, text));
    EXPECT_EQ(std::string(text.Text()), "&#160;");

    markup_test::TempDir dir;
    RoundTrip(*d, dir);
}

TEST(PageFixture, ItsFileServesADocumentReadWithoutCase) {
    // The way a document type's .dic is loaded for HTML: names lower-cased
    // before look-up, values checked by their types.
    const auto compiled = CompileDtdFromFile(kPage.c_str(), Quiet());
    markup_test::TempDir dir;
    const auto d = RoundTrip(*compiled, dir, false);
    std::uint32_t table = 0;
    EXPECT_EQ(d->ElementIdByName("TABLE", table), kDict_Ok);
    EXPECT_EQ(table, Element(*compiled, "table")->Id());

    std::uint32_t method = 0;
    std::uint32_t action = 0;
    for (std::uint32_t attribute : d->FindElement(Element(*compiled, "form")->Id())->Attributes()) {
        if (d->FindAttribute(attribute)->Name() == "method") method = attribute;
        if (d->FindAttribute(attribute)->Name() == "action") action = attribute;
    }
    DictStatus result = kDict_Ok;
    bool unique = false;
    EXPECT_TRUE(d->CheckAttribute(result, method, "POST", unique));
    EXPECT_FALSE(d->CheckAttribute(result, method, "put", unique));
    EXPECT_TRUE(d->CheckAttribute(result, action, "/cgi-bin/send?x=1", unique));
}

int Shell(const std::string& command) {
    const int status = std::system(command.c_str());
    return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(DicgenDtd, WritesTheDictionaryTheCompilerMakes) {
    markup_test::TempDir dir;
    const std::string output = dir.File("page.dic");
    const std::string log = dir.File("log.txt");
    ASSERT_EQ(Shell(std::string(SVGFILTER_DICGEN_LAUNCHER) + SVGFILTER_DICGEN + " dtd " + kPage + " -o " +
                    output + " >" + log),
              0);
    // The compiler's reports go to standard output.
    EXPECT_NE(markup_test::ReadAll(log).find("Ret was good\n"), std::string::npos);
    Dictionary written;
    ASSERT_EQ(written.Load(output.c_str(), true), kErr_None);
    EXPECT_EQ(DumpDictionary(written), DumpDictionary(*CompileDtdFromFile(kPage.c_str(), Quiet())));

    EXPECT_EQ(Shell(std::string(SVGFILTER_DICGEN_LAUNCHER) + SVGFILTER_DICGEN + " dtd " +
                    dir.File("absent.dtd") + " -o " + dir.File("absent.dic") + " 2>" + log),
              1);
    EXPECT_NE(markup_test::ReadAll(log).find("cannot read"), std::string::npos);
}

}  // namespace
}  // namespace markup::dtd
