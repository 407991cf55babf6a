// The tokenizer beyond what the token dumps show: the end of the token
// stream, read failures, long tokens, the document's address, node
// ownership, and the dictionaries it switches to and gives back.
#include "markup/parser/tokenizer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "markup/attr_element.h"
#include "markup/faults.h"
#include "markup/url_mapper.h"
#include "token_fixtures.h"

namespace markup {
namespace {

using markup_test::FreshRegistry;
using markup_test::TokenizerRig;

std::string Str(const String& s) {
    return std::string(s.Text(), s.Length());
}

TEST(TokenizerTest, TheStreamEndsWithTwoNullsThenRaises) {
    auto dictionary = markup_test::BuildTokenDictionary();
    TokenizerRig rig("<p>", dictionary.get(), false);
    ASSERT_NE(rig.Next(), nullptr);
    EXPECT_EQ(rig.tokenizer.NextToken(), nullptr);
    EXPECT_EQ(rig.tokenizer.NextToken(), nullptr);
    EXPECT_THROW(rig.tokenizer.NextToken(), InvalidArgumentFault);
}

TEST(TokenizerTest, ABoundStreamRefusesAnother) {
    TokenizerRig rig("x", nullptr, false);
    markup_test::MemoryInStream other("y");
    EXPECT_THROW(rig.tokenizer.Begin(&other, nullptr, &rig.tree, "", 0), InvalidArgumentFault);
    rig.tokenizer.Reset();
    EXPECT_NO_THROW(rig.tokenizer.Begin(&other, nullptr, &rig.tree, "", 0));
}

TEST(TokenizerTest, AReadFailureRaisesReadFault) {
    // The second buffer's read fails: what came before was scanned.
    auto dictionary = markup_test::BuildTokenDictionary();
    TokenizerRig rig("<p>" + std::string(6000, 'a'), dictionary.get(), false, Tokenizer::kBufferSize);
    rig.stream.failAt = 5000;
    Token* first = rig.Next();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->typeId, markup_test::kPara);
    EXPECT_THROW(rig.tokenizer.NextToken(), ReadFault);
}

TEST(TokenizerTest, TokensRunAcrossBufferRefills) {
    const std::string value(100000, 'v');
    const std::string text(9000, 't');
    auto dictionary = markup_test::BuildTokenDictionary();
    TokenizerRig rig("<p class=\"" + value + "\">" + text + "<b>", dictionary.get(), false);
    Token* p = rig.Next();
    ASSERT_NE(p, nullptr);
    const Attribute* klass = AsAttrElement(p->node)->AttributeAt(0);
    ASSERT_NE(klass, nullptr);
    EXPECT_EQ(klass->value.Length(), value.size());
    Token* run = rig.Next();
    ASSERT_NE(run, nullptr);
    EXPECT_EQ(Str(run->text), text);
    EXPECT_EQ(Str(run->node->Text()), text);
    EXPECT_EQ(rig.Next()->typeId, markup_test::kBold);
    EXPECT_GT(rig.stream.reads, 20);  // 4096 bytes a read
}

// Comments, CDATA sections, processing instructions and internal subsets
// are taken a run at a time between the characters of their marks: read
// in pieces of any size, their tokens are those of the byte-at-a-time read.
TEST(TokenizerTest, MarkupDeclarationsReadInAnyPiecesGiveTheSameTokens) {
    FreshRegistry registry;
    const std::string filler(300, 'x');
    const std::string document =
        std::string("<!DOCTYPE html [<!ENTITY a \"]>'[\"> <!ENTITY b '\">]'> [<!-- > -->]]><p>") +
        "<!-- one " + filler + " - -> --!> <!-x <!-- inner --> still in " + filler + " -->" +
        "<![CDATA[ ] ]> ]] > " + filler + " ]]]><?pi " + filler + " ?><!ELEMENT e (#PCDATA) " + filler +
        "><b><!-- unended " + filler;
    const auto tokens = [&](std::uint32_t piece) {
        auto dictionary = markup_test::BuildTokenDictionary();
        TokenizerRig rig(document, dictionary.get(), false, piece);
        std::vector<std::string> out;
        while (Token* token = rig.Next())
            out.push_back(std::to_string(token->typeId) + "|" + Str(token->name) + "|" + Str(token->text));
        return out;
    };
    const std::vector<std::string> byteAtATime = tokens(1);
    ASSERT_GE(byteAtATime.size(), 7u);
    EXPECT_NE(byteAtATime[2].find("still in " + filler + " -->"), std::string::npos) << byteAtATime[2];
    EXPECT_NE(byteAtATime[3].find(" ] ]> ]] > " + filler + " ]"), std::string::npos) << byteAtATime[3];
    for (const std::uint32_t piece : {2u, 3u, 7u, 64u, 1u << 20}) {
        SCOPED_TRACE(piece);
        EXPECT_EQ(tokens(piece), byteAtATime);
    }
}

TEST(TokenizerTest, TheDocumentNodeCarriesTheDocumentsAddress) {
    URLMapper::Instance().RemoveAllServers();
    struct Case {
        std::string name;
        std::string address;
    };
    const std::string cwd = std::filesystem::current_path().string();
    for (const Case& c : {Case{"/srv/docs/a b.svg", "file:///srv/docs/a%20b.svg"},
                          Case{"rel/doc.svg", "file://" + cwd + "/rel/doc.svg"}, Case{"", ""}}) {
        TokenizerRig rig("", nullptr, true, 1u << 20, c.name);
        Token* initial = rig.tokenizer.NextToken();
        ASSERT_NE(initial, nullptr);
        EXPECT_NE(dynamic_cast<InitialToken*>(initial), nullptr);
        initial->isStartTag = 0;
        EXPECT_TRUE(initial->IsStartTag());  // the document node whatever the field says
        EXPECT_FALSE(initial->IsEndTag());
        ASSERT_NE(initial->node, nullptr);
        EXPECT_EQ(initial->node->TypeId(), kKindDocument);
        const Attribute* address = AsAttrElement(initial->node)->FindAttribute(Tokenizer::kAddressAttributeId, false);
        ASSERT_NE(address, nullptr) << c.name;
        EXPECT_EQ(Str(address->value), c.address) << c.name;
        EXPECT_EQ(rig.tokenizer.NextToken(), nullptr);
    }
}

TEST(TokenizerTest, ATakenNodeIsTheTakersAndAnUntakenOneGoesWithItsToken) {
    auto dictionary = markup_test::BuildTokenDictionary();
    TokenizerRig rig("<p>x<b>", dictionary.get(), false);
    DocElement* kept = rig.Next()->TakeNode();
    ASSERT_NE(kept, nullptr);
    ASSERT_NE(rig.Next(), nullptr);  // "x": its node is left on the token
    ASSERT_NE(rig.Next(), nullptr);  // the earlier token and its node are gone
    EXPECT_EQ(kept->TypeId(), markup_test::kPara);
    kept->DeleteSubtree();
}

// Notes the switch to XML mode as the tree builder would.
struct XmlSwitch : XmlModeListener {
    void EnterXmlMode() override { ++calls; }
    int calls = 0;
};

TEST(TokenizerTest, AnXmlDeclarationSwitchesToAnOpenDictionaryOfTheDocument) {
    FreshRegistry registry;
    Dictionary* start = registry->CreateDictionary("VEDIdaRov");
    XmlSwitch listener;
    markup_test::MemoryInStream stream("<?xml version=\"1.0\"?><Rect/>");
    XMLElementFactory factory;
    DocTree tree(&factory, nullptr);
    tree.SetDictionary(start);
    Tokenizer tokenizer;
    tokenizer.Begin(&stream, &listener, &tree, "/srv/doc.svg", 0);
    while (tokenizer.NextToken()) {
    }
    EXPECT_EQ(listener.calls, 1);
    EXPECT_EQ(tokenizer.XmlMode(), 1u);
    EXPECT_EQ(tokenizer.DocumentKind(), kDocumentXml);
    Dictionary* switched = tokenizer.GetDictionary();
    ASSERT_NE(switched, start);
    EXPECT_EQ(switched, registry->Find("/srv/doc.svg"));
    EXPECT_TRUE(switched->IsOpen());
    EXPECT_TRUE(switched->CaseSensitive());
    std::uint32_t id = 0;
    EXPECT_EQ(switched->ElementIdByName("Rect", id), kDict_Ok);
    // The dictionary the caller began with keeps the use it had.
    EXPECT_EQ(registry->UseCount("VEDIdaRov"), 1);
    tokenizer.Reset();
}

// A DOCTYPE counts only before a document's first element; a tokenizer
// begun again on the next document counts it there again.
TEST(TokenizerTest, ADoctypeCountsBeforeTheFirstElementOfEachDocument) {
    FreshRegistry registry;
    Dictionary* start = registry->CreateDictionary("VEDIdaRov");
    XMLElementFactory factory;
    DocTree tree(&factory, nullptr);
    tree.SetDictionary(start);
    Tokenizer tokenizer;
    const struct {
        const char* text;
        bool applied;
    } documents[] = {
        {"<g/><!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG 20000303 Stylable//EN\" \"x.dtd\"><rect/>", false},
        {"<!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG 20000303 Stylable//EN\" \"x.dtd\"><rect/>", true},
    };
    for (const auto& document : documents) {
        SCOPED_TRACE(document.text);
        markup_test::MemoryInStream stream(document.text);
        tokenizer.Begin(&stream, nullptr, &tree, "/srv/doc.svg", 1);
        while (tokenizer.NextToken()) {
        }
        EXPECT_EQ(tokenizer.GetDictionary() == registry->Find("svg"), document.applied);
        tokenizer.Reset();
    }
}

TEST(TokenizerTest, ADoctypeSvgGivesAnOpenCaseSensitiveDictionaryWithTheXmlEntities) {
    FreshRegistry registry;
    Dictionary* start = registry->CreateDictionary("VEDIdaRov");
    for (int parse = 1; parse <= 3; ++parse) {
        TokenizerRig rig("<!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG 20000303 Stylable//EN\" \"x.dtd\"><rect/>", start,
                         true);
        while (rig.tokenizer.NextToken()) {
        }
        Dictionary* svg = rig.tokenizer.GetDictionary();
        ASSERT_EQ(svg, registry->Find("svg"));
        EXPECT_TRUE(svg->IsOpen());
        EXPECT_TRUE(svg->CaseSensitive());
        for (const char* entity : {"&quot;", "&amp;", "&lt;", "&gt;", "&apos;"}) {
            String text;
            EXPECT_TRUE(svg->FindEntityText(entity, text)) << entity;
        }
        EXPECT_EQ(svg->Entities().Count(), 5u);
        // Every parse takes a use of "svg" and leaves the caller's alone, so
        // that no parse can free what the caller still holds.
        EXPECT_EQ(registry->UseCount("svg"), parse);
        EXPECT_EQ(registry->UseCount("VEDIdaRov"), 1);
    }
}

TEST(TokenizerTest, ASecondSwitchGivesBackTheUseOfTheFirst) {
    FreshRegistry registry;
    auto start = markup_test::BuildOpenDictionary();
    TokenizerRig rig("<!DOCTYPE svg PUBLIC \"a\" \"b\"><!DOCTYPE other SYSTEM \"c\">", start.get(), true);
    while (rig.tokenizer.NextToken()) {
    }
    EXPECT_EQ(rig.tokenizer.GetDictionary(), registry->Find("other"));
    EXPECT_EQ(registry->UseCount("svg"), 0);  // made with one use, given back once: still there
    EXPECT_EQ(registry->UseCount("other"), 1);
}

TEST(TokenizerTest, ALearnedAttributeIsFoundByNameOnItsElement) {
    auto dictionary = markup_test::BuildOpenDictionary();
    TokenizerRig rig("<rect class=\"a\" style=\"fill:red\"/><g id=\"x\"/>", dictionary.get(), true);
    while (rig.tokenizer.NextToken()) {
    }
    std::uint32_t rect = 0;
    std::uint32_t g = 0;
    ASSERT_EQ(dictionary->ElementIdByName("rect", rect), kDict_Ok);
    ASSERT_EQ(dictionary->ElementIdByName("g", g), kDict_Ok);
    std::uint32_t id = 0;
    std::uint32_t first = 0;
    for (const char* name : {"class", "style"}) {
        EXPECT_EQ(dictionary->FindAttributeForElement(name, rect, id, first), kDict_Ok) << name;
        EXPECT_NE(id, 0u);
    }
    EXPECT_EQ(dictionary->FindAttributeForElement("id", g, id, first), kDict_Ok);
    EXPECT_EQ(dictionary->FindAttributeForElement("class", g, id, first), kDict_NoMatch);
    EXPECT_EQ(dictionary->FindAttributeForElement("Class", rect, id, first), kDict_NotFound);
    EXPECT_TRUE(dictionary->Editor() != nullptr);
}

// Names met again are not searched again: each repeat must still get the
// id the dictionary gives that name on that element, with more names than
// the memory has places and one name on two elements.
TEST(TokenizerTest, RepeatedNamesKeepTheirIdsPerElement) {
    auto dictionary = markup_test::BuildOpenDictionary();
    std::string bytes;
    for (int round = 0; round < 3; ++round) {
        for (const char* element : {"rect", "g"}) {
            bytes += std::string("<") + element + " class=\"c\"";
            for (int i = 0; i < 300; ++i) bytes += " a" + std::to_string(i) + "=\"v\"";
            bytes += "/>";
        }
    }
    TokenizerRig rig(bytes, dictionary.get(), true);
    std::vector<const AttrElement*> elements;
    while (Token* token = rig.Next()) {
        if (const AttrElement* element = AsAttrElement(token->node); element && token->IsStartTag()) {
            elements.push_back(element);
            token->TakeNode();  // kept for the checks below
        }
    }
    ASSERT_EQ(elements.size(), 6u);
    for (const AttrElement* element : elements) {
        ASSERT_EQ(element->AttributeCount(), 301u);
        for (std::uint32_t i = 0; i < element->AttributeCount(); ++i) {
            const Attribute* attribute = element->AttributeAt(i);
            const String name = attribute->GetName(dictionary.get());
            std::uint32_t id = 0;
            std::uint32_t first = 0;
            ASSERT_EQ(dictionary->FindAttributeForElement(name, element->TypeId(), id, first), kDict_Ok) << Str(name);
            EXPECT_EQ(attribute->id, id) << Str(name);
            EXPECT_EQ(attribute->id, elements[element->TypeId() == elements[0]->TypeId() ? 0 : 1]->AttributeAt(i)->id);
        }
    }
    for (const AttrElement* element : elements) const_cast<AttrElement*>(element)->DeleteSubtree();
}

TEST(TokenizerTest, ElementsAreLearnedOnlyInXmlModeWithAnOpenDictionary) {
    for (const bool xml : {false, true}) {
        auto dictionary = markup_test::BuildOpenDictionary();
        TokenizerRig rig("<shape/>", dictionary.get(), xml);
        EXPECT_EQ(rig.Next()->typeId, xml ? 186u : 0u);
        EXPECT_EQ(dictionary->Elements().EntryCount(), xml ? 1u : 0u);
    }
}

// Learned ids stop at 65535: names past it stay unknown (id 0, the written
// name kept), and the parse says so once.
TEST(TokenizerTest, ADictionaryOutOfIdsSaysSoOnce) {
    auto dictionary = markup_test::BuildOpenDictionary();
    dictionary->SetHeader(1, 0xFFFD);  // two element ids left
    dictionary->SetHeader(2, 0xFFFD);  // two attribute ids left
    TokenizerRig rig("<a x1=\"1\" x2=\"1\" x3=\"1\"/><b/><c x4=\"1\"/><d/><a x3=\"2\"/>", dictionary.get(),
                     true);
    std::vector<std::uint32_t> types;
    std::vector<std::pair<std::uint32_t, std::string>> attributes;
    while (Token* token = rig.Next()) {
        const AttrElement* element = AsAttrElement(token->node);
        if (!element || !token->IsStartTag()) continue;
        types.push_back(element->TypeId());
        for (std::uint32_t i = 0; i < element->AttributeCount(); ++i) {
            const Attribute* a = element->AttributeAt(i);
            attributes.emplace_back(a->id, Str(a->GetName(dictionary.get())));
        }
    }
    EXPECT_EQ(types, (std::vector<std::uint32_t>{0xFFFE, 0xFFFF, 0, 0, 0xFFFE}));
    EXPECT_EQ(attributes, (std::vector<std::pair<std::uint32_t, std::string>>{
                              {0xFFFE, "x1"}, {0xFFFF, "x2"}, {0, "x3"}, {0, "x4"}, {0, "x3"}}));
    std::uint32_t told = 0;
    for (std::uint32_t i = 0; i < rig.errors.Count(); ++i) {
        const ErrorSpec& e = *rig.errors.At(i);
        if (e.code != kDiag_DictionaryFull) continue;
        ++told;
        EXPECT_NE(Str(e.value).find("limit of id 65535"), std::string::npos) << Str(e.value);
        EXPECT_EQ(e.line, 0u);
    }
    EXPECT_EQ(told, 1u);
}

}  // namespace
}  // namespace markup
