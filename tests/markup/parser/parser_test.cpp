// The parser driver and the XML front end: whole documents from files into
// trees and DOM documents, the style text the document handlers hand the
// CSS manager, and what a missing, empty or damaged document gives.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "markup/parser/dom/dom_document.h"
#include "markup/text_elements.h"
#include "markup/parser/xml_parser.h"
#include "parse_fixtures.h"
#include "platform/messages.h"

namespace markup_test {
namespace {

using namespace markup;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The dump without the document's address, which names the folder.
std::string DumpWithoutAddress(const DocTree& tree) {
    std::istringstream lines(DumpTree(tree));
    std::string out;
    for (std::string line; std::getline(lines, line);) {
        if (line.find("@0x0048009D") == std::string::npos) out += line + "\n";
    }
    return out;
}

std::string Diagnostics(const DocTree& tree) {
    auto* diagnostics = dynamic_cast<const ParseDiagnostics*>(tree.Option());
    return diagnostics ? DumpDiagnostics(diagnostics->errors) : std::string();
}

// One front end per test, over a fresh registry.
class FrontEnd {
  public:
    FrontEnd() {
        parser.Init((registry.folder.Path() + "/").c_str());
        platform::SetMessageSink(&messages);
    }
    ~FrontEnd() { platform::SetMessageSink(nullptr); }

    const DocTree* Tree(const WDOMHandle& handle) const {
        auto* document = dynamic_cast<WDOMDocument_WepImp*>(handle.Get());
        return document ? document->GetTree() : nullptr;
    }

    FreshRegistry registry;
    WXMLParser_WepImp parser;
    platform::RecordingMessageSink messages;
};

// Our own exporter's sample drawing in each CSS placement: the dumps hold
// the exact nesting, the ids learned from 186 up, every g closed where its
// end tag stands and the fonts whole with their glyphs.
class ExportedSample : public testing::TestWithParam<const char*> {};

TEST_P(ExportedSample, ParsesIntoTheGoldenTree) {
    FrontEnd front;
    const std::string base = std::string(SVGFILTER_TEST_DATA) + "/parser/sample-" + GetParam();
    RecordingCSSManager manager;
    const WDOMHandle document = front.parser.Parse((base + ".svg").c_str(), &manager);
    const DocTree* tree = front.Tree(document);
    ASSERT_TRUE(tree);
    const std::string dump = DumpWithoutAddress(*tree) + Diagnostics(*tree);
    // SVGFILTER_UPDATE_GOLDEN=1 writes the dumps as they come (review the diff).
    if (std::getenv("SVGFILTER_UPDATE_GOLDEN")) std::ofstream(base + ".dump", std::ios::binary) << dump;
    EXPECT_EQ(dump, ReadFile(base + ".dump"));
    EXPECT_EQ(document.GetNodeName().View(), "#document");
    // The internal sheet comes from its style element, the external one
    // from the xml-stylesheet instruction; style attributes give none.
    const std::string placement = GetParam();
    if (placement == "style") {
        EXPECT_TRUE(manager.events.empty());
    } else {
        ASSERT_FALSE(manager.events.empty());
        EXPECT_EQ(manager.events[0], placement == "internal" ? "context style"
                                                             : "text " + ReadFile(base + ".css"));
    }
}

INSTANTIATE_TEST_SUITE_P(CssPlacements, ExportedSample, testing::Values("internal", "external", "style"));

TEST(DocumentHandlers, StyleTextAndLinkedSheetsReachTheManagerInDocumentOrder) {
    FrontEnd front;
    TempDir& dir = front.registry.folder;
    dir.Write("first.css", "a{fill:red}");
    const std::string file = dir.Write(
        "doc.svg",
        "<?xml version=\"1.0\"?>\n<?xml-stylesheet href=\"first.css\" type=\"text/css\"?>\n"
        "<?xml-stylesheet href=\"missing.css\" type=\"text/css\"?>\n"
        "<svg><style>b{fill:blue}</style><g/><style>c{}</style></svg>");
    RecordingCSSManager manager;
    ASSERT_FALSE(front.parser.Parse(file.c_str(), &manager).IsNull());
    // The missing sheet adds nothing.
    const std::vector<std::string> expected = {"text a{fill:red}", "context style", "text b{fill:blue}",
                                               "context style", "text c{}"};
    EXPECT_EQ(manager.events, expected);
}

TEST(DocumentHandlers, ADictionaryWithoutStyleNeverMatches) {
    auto d = BuildTokenDictionary();
    RecordingCSSManager manager;
    const ParsedText parsed = ParseText("<style>x{}</style>", d.get(), false, &manager);
    ASSERT_TRUE(parsed.tree);
    EXPECT_TRUE(manager.events.empty());
}

TEST(XmlFrontEnd, AMissingDocumentGivesNoTreeAndSaysWhy) {
    FrontEnd front;
    const std::string good = front.registry.folder.Write("good.svg", "<svg/>");
    ASSERT_FALSE(front.parser.Parse(good.c_str(), nullptr).IsNull());
    // A failure is never reported with the earlier document.
    const WDOMHandle missing = front.parser.Parse((front.registry.folder.Path() + "/none.svg").c_str(), nullptr);
    EXPECT_TRUE(missing.IsNull());
    EXPECT_EQ(front.parser.FailureCause(), "the file could not be opened");
    EXPECT_TRUE(front.messages.entries.empty());
}

TEST(XmlFrontEnd, AnEmptyFileHoldsTheDocumentNodeAlone) {
    FrontEnd front;
    const std::string empty = front.registry.folder.Write("empty.svg", "");
    const WDOMHandle document = front.parser.Parse(empty.c_str(), nullptr);
    const DocTree* tree = front.Tree(document);
    ASSERT_TRUE(tree);
    EXPECT_EQ(DumpWithoutAddress(*tree), "element 173 name=\"#document\"\n");
}

// The texts of a tree's elements, in document order, "|" between them.
std::string ElementTexts(const DocTree& tree) {
    std::string out;
    for (const Node* node = tree.Root(); node; node = node->NextInPreorder()) {
        const auto* element = AsAttrElement(node);
        if (!element || element->TypeId() == kKindDocument) continue;
        out += std::string(element->Text().Text(), element->Text().Length()) + "|";
    }
    return out;
}

// An element's node line without its text, the rest of the dump as it is.
std::string DumpWithoutElementTexts(const DocTree& tree) {
    std::istringstream lines(DumpWithoutAddress(tree));
    std::string out;
    for (std::string line; std::getline(lines, line);) {
        const std::size_t text = line.find(" text=\"");
        if (line.find("element ") != std::string::npos && text != std::string::npos) {
            std::size_t end = text + 7;
            while (line[end] != '"') end += line[end] == '\\' ? 2 : 1;
            line.erase(text, end + 1 - text);
        }
        out += line + "\n";
    }
    return out;
}

// Without tag texts an element keeps its written name alone (prefix and
// all); one the dictionary does not name keeps its whole text, which names
// it. Nothing else of the tree changes.
TEST(XmlFrontEnd, WithoutTagTextsElementsKeepTheirWrittenNames) {
    FrontEnd front;
    const std::string file = front.registry.folder.Write(
        "doc.svg", "<svg width=\"1\"><rect  x=\"1\" y='2'/><svg:rect x=\"3\"/><:odd a=\"1\"/>"
                   "<text x=\"4\">t</text></svg>");
    const WDOMHandle whole = front.parser.Parse(file.c_str(), nullptr);
    ASSERT_TRUE(front.Tree(whole));
    EXPECT_EQ(ElementTexts(*front.Tree(whole)),
              "svg width=\"1\"|rect  x=\"1\" y='2'/|svg:rect x=\"3\"/|:odd a=\"1\"/|text x=\"4\"|");
    front.parser.SetKeepTagTexts(false);
    const WDOMHandle names = front.parser.Parse(file.c_str(), nullptr);
    ASSERT_TRUE(front.Tree(names));
    EXPECT_EQ(ElementTexts(*front.Tree(names)), "svg|rect|svg:rect|:odd a=\"1\"/|text|");
    EXPECT_EQ(DumpWithoutElementTexts(*front.Tree(names)), DumpWithoutElementTexts(*front.Tree(whole)));
}

// The dump's node lines of one kind ("run 163", "run 160").
std::vector<std::string> NodeLines(const DocTree& tree, const std::string& kind) {
    std::istringstream lines(DumpTree(tree));
    std::vector<std::string> out;
    for (std::string line; std::getline(lines, line);) {
        const std::size_t at = line.find_first_not_of(' ');
        if (at != std::string::npos && line.compare(at, kind.size(), kind) == 0) out.push_back(line.substr(at));
    }
    return out;
}

// Line breaks between the children of structural elements make no nodes;
// text elements keep every space, xml:space or not.
TEST(XmlFrontEnd, WhitespaceBetweenElementsOnlyWhereContentIsText) {
    FrontEnd front;
    const std::string file = front.registry.folder.Write(
        "doc.svg",
        "<svg xml:space=\"preserve\">\n <g>\n  <rect/>\n </g>\n <text> a <tspan>b</tspan> </text>\n"
        " <svg:g xmlns:svg=\"http://www.w3.org/2000/svg\">\n</svg:g>\n</svg>\n");
    const DocTree* tree = front.Tree(front.parser.Parse(file.c_str(), nullptr));
    ASSERT_TRUE(tree);
    // Kept: the one inside text and the one in the prefixed g, which is
    // not known by its written name.
    EXPECT_EQ(NodeLines(*tree, "run 163"),
              (std::vector<std::string>{"run 163 name=\"#whitespace\" text=\" \" empty",
                                        "run 163 name=\"#whitespace\" text=\"\\n\" empty"}));
    EXPECT_EQ(NodeLines(*tree, "run 160"), (std::vector<std::string>{"run 160 name=\"#text\" text=\" a \" empty",
                                                                     "run 160 name=\"#text\" text=\"b\" empty"}));
}

// Expanded references and character references continue the run they stand
// in; a reference kept as written past the expansion limit too, so that a
// document of many references holds one text, not a node per reference.
TEST(XmlFrontEnd, ReferencesJoinTheRunTheyStandIn) {
    FrontEnd front;
    std::string many = "<!DOCTYPE svg [<!ENTITY e \"" + std::string(100, 'e') + "\">]><svg><text>";
    for (int i = 0; i < 20000; ++i) many += "&e;";
    many += "</text><text>x&#65;y&e;z</text></svg>";
    const std::string file = front.registry.folder.Write("doc.svg", many);
    const DocTree* tree = front.Tree(front.parser.Parse(file.c_str(), nullptr));
    ASSERT_TRUE(tree);
    const std::vector<std::string> runs = NodeLines(*tree, "run 160");
    ASSERT_EQ(runs.size(), 2u);
    // Expanded up to the limit, the rest as written, all in the one run.
    const std::size_t frame = std::string("run 160 name=\"#text\" text=\"\" empty").size();
    std::size_t kept = 0;
    for (std::size_t at = runs[0].find("&e;"); at != std::string::npos; at = runs[0].find("&e;", at + 3)) ++kept;
    EXPECT_GT(kept, 0u);
    EXPECT_LT(kept, 20000u);
    EXPECT_EQ(runs[0].size(), frame + kept * 3 + (20000 - kept) * 100);
    EXPECT_EQ(runs[1], "run 160 name=\"#text\" text=\"xAy&e;z\" empty");
}

// Damaged documents: each gives a tree (with diagnostics) and never a crash.
struct Damaged {
    const char* name;
    std::string bytes;
    const char* diagnostic;  // a code the parse records, or empty
};

class DamagedDocument : public testing::TestWithParam<Damaged> {};

TEST_P(DamagedDocument, GivesATree) {
    auto d = BuildOpenDictionary();
    const ParsedText parsed = ParseText(GetParam().bytes, d.get(), true);
    ASSERT_TRUE(parsed.tree);
    EXPECT_NE(parsed.dump.find("element 173"), std::string::npos);
    if (*GetParam().diagnostic) {
        EXPECT_NE(parsed.diagnostics.find(GetParam().diagnostic), std::string::npos) << parsed.diagnostics;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, DamagedDocument,
    testing::Values(Damaged{"UnclosedTags", "<svg><g><rect x='1'", ""},
                    Damaged{"BadEntities", "<svg>&nosuch; &#99999999; &amp</svg>", "25 "},
                    Damaged{"BinaryJunk", std::string("\x89PNG\r\n\x1a\n<\xff\xfe></\x01>", 15), ""},
                    Damaged{"NulByte", std::string("<svg>a\0b</svg>", 14), "40 "},
                    Damaged{"StrayEndTags", "</a></b><svg></svg></svg>", "22 "}),
    [](const testing::TestParamInfo<Damaged>& info) { return std::string(info.param.name); });

TEST(Parser, AFaultDuringTheParseDropsTheTreeAndTellsTheUser) {
    auto d = BuildOpenDictionary();
    MemoryInStream stream("<svg><g>text</g></svg>", 4);
    stream.failAt = 8;
    XMLElementFactory factory;
    Parser parser;
    parser.SetXmlMode(1);
    platform::RecordingMessageSink messages;
    platform::SetMessageSink(&messages);
    EXPECT_FALSE(parser.Run(&stream, &factory, d.get(), nullptr, "broken.svg", 0));
    platform::SetMessageSink(nullptr);
    EXPECT_EQ(parser.FailureCause(), "the file could not be read");
    ASSERT_EQ(messages.entries.size(), 1u);
    EXPECT_EQ(messages.entries[0].text, "broken.svg: the document could not be parsed: the file could not be read");
}

TEST(XmlElementFactory, MakesTheNodeClassOfEachTypeId) {
    XMLElementFactory factory;
    const struct {
        std::uint32_t id;
        bool attributes;
        bool run;
        bool entity;
    } cases[] = {{12, true, false, false},  {160, false, true, false}, {165, false, true, false},
                 {166, true, false, false}, {167, false, false, true}, {168, true, false, false}};
    for (const auto& c : cases) {
        std::unique_ptr<DocElement> node(factory.Create(nullptr, c.id, nullptr, 1));
        ASSERT_TRUE(node);
        EXPECT_EQ(AsAttrElement(node.get()) != nullptr, c.attributes) << c.id;
        EXPECT_EQ(dynamic_cast<RunElement*>(node.get()) != nullptr, c.run) << c.id;
        EXPECT_EQ(dynamic_cast<EntityElement*>(node.get()) != nullptr, c.entity) << c.id;
    }
}

}  // namespace
}  // namespace markup_test
