// The tree builder through whole parses: XML nesting as written, HTML
// recovery on a small dictionary, the repair limit and the carried elements.
#include <gtest/gtest.h>

#include "markup/parser/content_symbol.h"
#include "parse_fixtures.h"

namespace markup_test {
namespace {

using namespace markup;

// Ids of the recovery dictionary: the root and body take their fixed ids.
enum RecoveryElement : std::uint32_t { kRoot = 68, kMain = 25, kPar = 12, kEm = 13, kCell = 14, kGap = 85 };

std::unique_ptr<ElementDef> Define(Dictionary& d, std::uint32_t id, const char* name,
                                   std::unique_ptr<ContentSymbol> model, bool implicable) {
    auto e = std::make_unique<ElementDef>();
    e->SetId(id);
    e->SetName(name);
    if (implicable) e->SetFlag(2, 1);
    if (model) e->SetModel(std::move(model), d);
    return e;
}

std::unique_ptr<ContentSymbol> AnyOf(std::initializer_list<std::uint32_t> ids, bool text) {
    auto choice = Connective(kConnectChoice, kOccurAny);
    if (text) choice->AdoptChild(std::make_unique<PCDataSymbol>());
    for (std::uint32_t id : ids) choice->AdoptChild(Element(id, kOccurOnce));
    return choice;
}

// html: (body)*; body: (#PCDATA | p | td | gap)*; p: (#PCDATA | em)*;
// em: (#PCDATA)* and carried; td: (#PCDATA | em)* and reopens the carried;
// gap: (#PCDATA)*, the no-break kind. html and body may be implied.
std::unique_ptr<Dictionary> BuildRecoveryDictionary() {
    auto d = std::make_unique<Dictionary>();
    d->CreateEditor();
    d->Entities().Add("&nbsp;", "\xA0");
    auto carried = std::make_unique<ElementGroup>(kCarriedGroup, "carried");
    carried->AddMember(kEm);
    d->AddGroup(std::move(carried));
    auto cells = std::make_unique<ElementGroup>(kReceivesCarriedGroup, "cells");
    cells->AddMember(kCell);
    d->AddGroup(std::move(cells));
    auto root = Connective(kConnectChoice, kOccurAny);
    root->AdoptChild(Element(kMain, kOccurOnce));
    d->Elements().Insert(Define(*d, kRoot, "html", std::move(root), true));
    d->Elements().Insert(Define(*d, kMain, "body", AnyOf({kPar, kCell, kGap}, true), true));
    d->Elements().Insert(Define(*d, kPar, "p", AnyOf({kEm}, true), false));
    d->Elements().Insert(Define(*d, kEm, "em", AnyOf({}, true), false));
    d->Elements().Insert(Define(*d, kCell, "td", AnyOf({kEm}, true), false));
    d->Elements().Insert(Define(*d, kGap, "gap", AnyOf({}, true), false));
    return d;
}

// The nodes of a dump without the document node's address line.
std::string Body(const std::string& dump) {
    std::string out;
    std::size_t start = 0;
    while (start < dump.size()) {
        const std::size_t end = dump.find('\n', start);
        const std::string line = dump.substr(start, end - start + 1);
        if (line.find("@0x0048009D") == std::string::npos) out += line;
        start = end + 1;
    }
    return out;
}

TEST(TreeBuilderXml, NestsAsWrittenWithLearnedIds) {
    auto d = BuildOpenDictionary();
    // With an open dictionary every learned id is above 185: c must still
    // be a's child, not close a as an id capped at 185 would.
    const ParsedText parsed = ParseText("<a><b></b><c/>t</a><d/>", d.get(), true);
    ASSERT_TRUE(parsed.tree);
    EXPECT_EQ(Body(parsed.dump),
              "element 173 name=\"#document\"\n"
              "  element 186 name=\"a\" text=\"a\"\n"
              "    element 187 name=\"b\" text=\"b\"\n"
              "    element 188 name=\"c\" text=\"c/\" empty\n"
              "    run 160 name=\"#text\" text=\"t\" empty\n"
              "  element 189 name=\"d\" text=\"d/\" empty\n");
    EXPECT_EQ(parsed.diagnostics, "");
}

TEST(TreeBuilderXml, MismatchedAndStrayEndTags) {
    auto d = BuildOpenDictionary();
    // </a> closes the unclosed b with 12; </x> matches nothing (22) and
    // leaves no node, its name being known to the open dictionary.
    const ParsedText parsed = ParseText("<a><b>t</a></x><e/>", d.get(), true);
    ASSERT_TRUE(parsed.tree);
    EXPECT_EQ(Body(parsed.dump),
              "element 173 name=\"#document\"\n"
              "  element 186 name=\"a\" text=\"a\"\n"
              "    element 187 name=\"b\" text=\"b\"\n"
              "      run 160 name=\"#text\" text=\"t\" empty\n"
              "  element 189 name=\"e\" text=\"e/\" empty\n");
    EXPECT_EQ(parsed.diagnostics,
              "12 0-0 context=\"/a\" element=\"B\" value=\"b\"\n"
              "22 0-0 context=\"/x\"\n");
}

TEST(TreeBuilderXml, UnclosedDocumentClosesAtTheEndAndDeepNestingStaysBounded) {
    auto d = BuildOpenDictionary();
    std::string deep;
    for (int i = 0; i < 100000; ++i) deep += "<g>";
    const ParsedText parsed = ParseText(deep, d.get(), true, nullptr, "", false);
    ASSERT_TRUE(parsed.tree);
    std::size_t depth = 0;
    for (Node* n = parsed.tree->Root(); n; n = n->FirstChild()) ++depth;
    EXPECT_EQ(depth, 100001u);
}

TEST(TreeBuilderHtml, ImpliesTheRootClosesElementsAndKeepsStrayEndTags) {
    auto d = BuildRecoveryDictionary();
    // The text closes the body implied for it; p then implies a second body,
    // which merges into the first at the end. The second p closes the first
    // (12); </q> names nothing and stays as a 172 node (22).
    const ParsedText parsed = ParseText("one<p>two<p>three</q></p>", d.get(), false);
    ASSERT_TRUE(parsed.tree);
    EXPECT_EQ(Body(parsed.dump),
              "element 173 name=\"#document\"\n"
              "  element 68 name=\"html\" flags=0x8\n"
              "    element 25 name=\"body\" flags=0x8\n"
              "      run 160 name=\"#text\" text=\"one\" empty\n"
              "      element 12 name=\"p\" text=\"p\"\n"
              "        run 160 name=\"#text\" text=\"two\" empty\n"
              "      element 12 name=\"p\" text=\"p\"\n"
              "        run 160 name=\"#text\" text=\"three\" empty\n"
              "        element 172 name=\"/q\" text=\"/q\" flags=0x8\n"
              "      element 159\n");
    EXPECT_NE(parsed.diagnostics.find("13 0-0 context=\"one\" element=\"HTML\""), std::string::npos);
    EXPECT_NE(parsed.diagnostics.find("12 0-0 context=\"p\" element=\"P\" value=\"p\""), std::string::npos);
    EXPECT_NE(parsed.diagnostics.find("22 0-0 context=\"/q\""), std::string::npos);
}

TEST(TreeBuilderHtml, EmptyNoBreakElementReceivesASpace) {
    auto d = BuildRecoveryDictionary();
    const ParsedText parsed = ParseText("<html><body><gap></gap></body></html>", d.get(), false);
    ASSERT_TRUE(parsed.tree);
    EXPECT_NE(Body(parsed.dump).find("      element 85 name=\"gap\" text=\"gap\"\n"
                                     "        element 159 flags=0x8\n"
                                     "        entity 167 name=\"&nbsp;\" text=\"\\xA0\" flags=0x8\n"),
              std::string::npos)
        << parsed.dump;
}

TEST(TreeBuilderHtml, CarriedElementsReopenInCellsUntilTheirEndTag) {
    auto d = BuildRecoveryDictionary();
    // em, closed by </p> but not by its end tag, is still carried when the
    // first td opens: the cell gets a clone of it. The clone's </em> ends
    // the carrying, so the second cell gets none.
    const ParsedText parsed =
        ParseText("<html><body><p><em>a</p><td>x</em>y</td><td>z</td></body></html>", d.get(), false);
    ASSERT_TRUE(parsed.tree);
    const std::string body = Body(parsed.dump);
    EXPECT_NE(body.find("element 14 name=\"td\" text=\"td\"\n"
                        "        element 13 name=\"em\" text=\"em\"\n"),
              std::string::npos)
        << body;
    const std::size_t second = body.rfind("element 14 name=\"td\"");
    EXPECT_EQ(body.find("element 13", second), std::string::npos) << body;
}

}  // namespace
}  // namespace markup_test
