// The dictionary registry: use counts, the default and CSS dictionaries, the
// words of a DOCTYPE declaration and its external identifier, and every road
// from a declaration to a dictionary, remote DTDs fetched from a local HTTP
// server included.
#include "markup/parser/dictionary_registry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "http_test_server.h"
#include "markup/url_mapper.h"
#include "platform/web_access.h"
#include "sample_dictionary.h"
#include "temp_dir.h"
#include "token_fixtures.h"

namespace markup {
namespace {

using markup_test::FreshRegistry;

std::string Str(const String& s) {
    return std::string(s.Text(), s.Length());
}

// The DTD compiler as the tests see it: each compile is noted, and the
// dictionary it answers carries the DTD text as its one entity.
struct CompileLog {
    static inline std::vector<std::string> paths;
    static inline std::vector<std::string> texts;
    static std::unique_ptr<Dictionary> FromFile(const String& path) {
        paths.push_back(Str(path));
        auto d = std::make_unique<Dictionary>();
        d->Entities().Add("&dtd;", markup_test::ReadAll(Str(path)).c_str());
        return d;
    }
    static std::unique_ptr<Dictionary> FromText(const String& text) {
        texts.push_back(Str(text));
        return nullptr;
    }
};

class RegistryTest : public testing::Test {
  protected:
    RegistryTest() {
        CompileLog::paths.clear();
        CompileLog::texts.clear();
    }
    std::string Folder() const { return registry_.folder.Path() + "/"; }

    FreshRegistry registry_;
};

TEST_F(RegistryTest, ANameSurvivesOneReleaseAndGoesAtTheSecond) {
    Dictionary* made = registry_->CreateDictionary("doc");
    EXPECT_EQ(registry_->UseCount("doc"), 1);
    EXPECT_EQ(registry_->CreateDictionary("doc"), made);  // the registered one, one use more
    EXPECT_EQ(registry_->UseCount("doc"), 2);
    registry_->Release("doc");
    registry_->Release("doc");
    EXPECT_EQ(registry_->UseCount("doc"), 0);
    EXPECT_EQ(registry_->Find("doc"), made);
    registry_->Release("Doc");  // names compare with case: nothing happens
    registry_->Release(made);
    EXPECT_EQ(registry_->Find("doc"), nullptr);
    EXPECT_EQ(registry_->UseCount("doc"), -1);
    registry_->Release("doc");  // no longer registered: ignored
}

TEST_F(RegistryTest, CreatedDictionariesAreOpenCaseSensitiveAndSvgHasTheXmlEntities) {
    for (const char* name : {"svg", "SVG", "Svg"}) {
        Dictionary* d = registry_->CreateDictionary(name);
        EXPECT_TRUE(d->IsOpen());
        EXPECT_TRUE(d->CaseSensitive());
        EXPECT_EQ(Str(d->Name()), name);
        String text;
        ASSERT_TRUE(d->FindEntityText("&apos;", text)) << name;
        EXPECT_EQ(Str(text), "'");
        EXPECT_EQ(d->Entities().Count(), 5u);
    }
    EXPECT_EQ(registry_->CreateDictionary("html")->Entities().Count(), 0u);
}

TEST_F(RegistryTest, TheDefaultDictionaryIsHtmlDicInTheFolder) {
    auto sample = markup_test::BuildSampleDictionary();
    ASSERT_EQ(sample->Save((Folder() + "html.dic").c_str()), kErr_None);
    EXPECT_EQ(Str(registry_->DefaultPath()), Folder() + "html.dic");
    Dictionary* fallback = registry_->GetDefault();
    EXPECT_EQ(Str(fallback->Name()), "Default");
    EXPECT_FALSE(fallback->CaseSensitive());
    std::uint32_t id = 0;
    EXPECT_EQ(fallback->ElementIdByName("BODY", id), kDict_Ok);
    EXPECT_EQ(registry_->GetDefault(), fallback);
    EXPECT_EQ(registry_->UseCount("Default"), 2);
    // A new dictionary takes the default's elements allowed anywhere,
    // without taking a use of it.
    Dictionary* made = registry_->CreateDictionary("doc");
    EXPECT_TRUE(made->GroupContains(markup_test::kBold, ElementGroup::kAnywhere));
    EXPECT_EQ(registry_->UseCount("Default"), 2);
}

TEST(RegistryWithoutInitTest, TheDefaultPathIsHtmlDic) {
    markup::Singleton<DictionaryRegistry>::Release();
    DictionaryRegistry& registry = DictionaryRegistry::Instance();
    EXPECT_TRUE(registry.DefaultPath().IsEmpty());
    Dictionary* fallback = registry.GetDefault();
    EXPECT_EQ(Str(registry.DefaultPath()), "html.dic");
    EXPECT_EQ(Str(fallback->FileName()), "html.dic");
    EXPECT_EQ(Str(registry.CSS()->Name()), "css.dic");
    markup::Singleton<DictionaryRegistry>::Release();
}

TEST_F(RegistryTest, InitAgainLoadsTheCssDictionaryInPlace) {
    CSSDictionary* css = registry_->CSS();
    EXPECT_EQ(css->Properties().EntryCount(), 0u);  // the test folder has no CSS.dic
    registry_->Init(SVGFILTER_DICTIONARY_DIR);
    EXPECT_EQ(registry_->CSS(), css);
    EXPECT_EQ(css->Properties().EntryCount(), 119u);
    registry_->Init(Folder().c_str());
    EXPECT_EQ(registry_->CSS(), css);
    EXPECT_EQ(css->Properties().EntryCount(), 0u);  // nothing stale from the other folder
}

TEST_F(RegistryTest, ForgettingDropsWhatDocumentsTaughtAndKeepsTheDefaultAndCss) {
    registry_->Init(SVGFILTER_DICTIONARY_DIR);
    CSSDictionary* css = registry_->CSS();
    Dictionary* fallback = registry_->GetDefault();
    // An element the open dictionary learned from a document.
    Dictionary* open = registry_->CreateDictionary("svg");
    auto element = std::make_unique<ElementDef>();
    element->SetId(open->CreateEditor().NewElementId());
    element->SetName("learned");
    open->Elements().Insert(std::move(element));
    std::uint32_t id = 0;
    ASSERT_EQ(open->ElementIdByName("learned", id), kDict_Ok);
    registry_->CreateDictionary("doc");
    registry_->CreateDictionary("doc");  // a second use: forgotten all the same

    registry_->ForgetDictionaries();
    EXPECT_EQ(registry_->Find("svg"), nullptr);
    EXPECT_EQ(registry_->Find("doc"), nullptr);
    EXPECT_EQ(registry_->Find("Default"), fallback);
    EXPECT_EQ(registry_->CSS(), css);
    EXPECT_EQ(css->Properties().EntryCount(), 119u);
    // A document parsed next starts from a dictionary that learned nothing.
    EXPECT_NE(registry_->CreateDictionary("svg")->ElementIdByName("learned", id), kDict_Ok);
}

struct SplitCase {
    std::string text;
    bool splits;
    std::vector<std::string> words;
};

class SplitDoctypeTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitDoctypeTest, GivesItsWords) {
    std::vector<String> words;
    EXPECT_EQ(DictionaryRegistry::SplitDoctype(GetParam().text.c_str(), words), GetParam().splits);
    std::vector<std::string> got;
    for (const String& w : words) got.push_back(Str(w));
    EXPECT_EQ(got, GetParam().words);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SplitDoctypeTest,
    testing::Values(
        SplitCase{"<!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG 1.0//EN\" \"a b.dtd\">", true,
                  {"<!DOCTYPE", "svg", "PUBLIC", "-//W3C//DTD SVG 1.0//EN", "a b.dtd"}},
        SplitCase{"<!DOCTYPE svg SYSTEM 'x.dtd'>", true, {"<!DOCTYPE", "svg", "SYSTEM", "x.dtd"}},
        SplitCase{"<!DOCTYPE  html\t\r\n>", true, {"<!DOCTYPE", "html"}},
        // The first "[" and the character after it are blanks.
        SplitCase{"<!DOCTYPE svg [x<!ENTITY a \"b\">", true, {"<!DOCTYPE", "svg", "<!ENTITY", "a", "b"}},
        SplitCase{"<!DOCTYPE svg PUBLIC \"unclosed>", false, {}},
        SplitCase{"<!DOCTYPE svg SYSTEM \"\">", true, {"<!DOCTYPE", "svg", "SYSTEM", ""}},
        SplitCase{"", true, {}}, SplitCase{"[", true, {}}));

struct ExternalIdCase {
    std::vector<std::string> words;
    int result;
    std::string publicId;
    std::string systemId;
};

class ParseExternalIdTest : public testing::TestWithParam<ExternalIdCase> {};

TEST_P(ParseExternalIdTest, GivesItsIdentifiers) {
    std::vector<String> words;
    for (const std::string& w : GetParam().words) words.push_back(w.c_str());
    String publicId;
    String systemId;
    EXPECT_EQ(DictionaryRegistry::ParseExternalId(publicId, systemId, words), GetParam().result);
    EXPECT_EQ(Str(publicId), GetParam().publicId);
    EXPECT_EQ(Str(systemId), GetParam().systemId);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ParseExternalIdTest,
    testing::Values(ExternalIdCase{{"<!DOCTYPE", "svg", "SYSTEM", "s.dtd"}, 4, "", "s.dtd"},
                    ExternalIdCase{{"<!DOCTYPE", "svg", "SYSTEM"}, 4, "", ""},
                    ExternalIdCase{{"<!DOCTYPE", "svg", "PUBLIC", "p", "s"}, 5, "p", "s"},
                    ExternalIdCase{{"<!DOCTYPE", "svg", "PUBLIC", "p"}, 5, "p", ""},
                    ExternalIdCase{{"<!DOCTYPE", "svg", "system", "s"}, -1, "", ""},
                    ExternalIdCase{{"<!DOCTYPE", "svg"}, -1, "", ""}));

TEST(DoctypeKindTest, SvgInAnyCaseIsTheShortcutAndXmlSetsTheKind) {
    struct Row {
        const char* name;
        int answer;
        std::uint32_t kind;
    };
    for (const Row& row : {Row{"SVG", 0, kDocumentSvg}, Row{"svg", 0, kDocumentSvg}, Row{"sVg", 0, kDocumentSvg},
                           Row{"XML", 1, kDocumentXml}, Row{"xml", 1, 2}, Row{"html", 1, 2}}) {
        std::uint32_t kind = 2;
        EXPECT_EQ(DictionaryRegistry::DoctypeKind(row.name, kind), row.answer) << row.name;
        EXPECT_EQ(kind, row.kind) << row.name;
    }
}

TEST_F(RegistryTest, ARegisteredDocumentTypeIsUsedAgain) {
    Dictionary* held = registry_->CreateDictionary("book");
    std::uint32_t kind = 2;
    EXPECT_EQ(registry_->LoadForDoctype("<!DOCTYPE book SYSTEM \"book.dtd\">", "", kind), held);
    EXPECT_EQ(registry_->UseCount("book"), 2);
    // A declaration without a usable external identifier gives nothing.
    EXPECT_EQ(registry_->LoadForDoctype("<!DOCTYPE book>", "", kind), nullptr);
    EXPECT_EQ(registry_->LoadForDoctype("<!DOCTYPE book PUBLIC \"p\">", "", kind), nullptr);
    EXPECT_EQ(registry_->LoadForDoctype("<!DOCTYPE book SYSTEM \"x>", "", kind), nullptr);
    EXPECT_EQ(registry_->UseCount("book"), 2);
}

TEST_F(RegistryTest, ADicFileNamedAfterTheDocumentTypeIsLoadedFromTheFolder) {
    auto sample = markup_test::BuildSampleDictionary();
    ASSERT_EQ(sample->Save((Folder() + "book.dic").c_str()), kErr_None);
    std::uint32_t kind = 2;
    Dictionary* book = registry_->LoadForDoctype("<!DOCTYPE book SYSTEM \"book.dtd\">", "", kind);
    ASSERT_NE(book, nullptr);
    EXPECT_EQ(Str(book->FileName()), Folder() + "book.dic");
    EXPECT_FALSE(book->IsOpen());
    EXPECT_EQ(registry_->UseCount("book"), 2);
}

TEST_F(RegistryTest, ADocumentTypeNameCannotReachOutsideTheFolder) {
    markup_test::TempDir outer;
    std::filesystem::create_directories(outer.Path() + "/dictionaries");
    registry_->Init((outer.Path() + "/dictionaries/").c_str());
    auto sample = markup_test::BuildSampleDictionary();
    ASSERT_EQ(sample->Save((outer.Path() + "/escape.dic").c_str()), kErr_None);
    std::uint32_t kind = 2;
    Dictionary* outside = registry_->LoadForDoctype("<!DOCTYPE ../escape SYSTEM \"e.dtd\">", "", kind);
    ASSERT_NE(outside, nullptr);
    EXPECT_TRUE(outside->IsOpen());
    EXPECT_TRUE(outside->FileName().IsEmpty());
}

TEST_F(RegistryTest, AnSvgDocumentTypeIsNeverFetched) {
    registry_->SetDtdCompiler(&CompileLog::FromFile, &CompileLog::FromText);
    markup_test::TempDir documents;
    documents.Write("svg.dtd", "<!ELEMENT svg ANY>");
    for (const char* doctype : {"<!DOCTYPE svg SYSTEM \"svg.dtd\">", "<!DOCTYPE Svg SYSTEM \"svg.dtd\">"}) {
        std::uint32_t kind = 2;
        Dictionary* d = registry_->LoadForDoctype(doctype, (documents.Path() + "/doc.svg").c_str(), kind);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(kind, kDocumentSvg);
        EXPECT_TRUE(d->IsOpen());
        EXPECT_TRUE(d->CaseSensitive());
        EXPECT_EQ(d->Entities().Count(), 5u);
    }
    EXPECT_TRUE(CompileLog::paths.empty());
}

TEST_F(RegistryTest, ALocalSystemIdIsReadBesideTheDocument) {
    markup_test::TempDir documents;
    std::filesystem::create_directories(documents.Path() + "/dtd");
    documents.Write("dtd/book.dtd", "<!ELEMENT book ANY>");
    const String base = (documents.Path() + "/doc.xml").c_str();
    std::uint32_t kind = 2;
    // Without a compiler the document type gets an empty open dictionary.
    Dictionary* open = registry_->LoadForDoctype("<!DOCTYPE XML SYSTEM \"dtd/book.dtd\">", base, kind);
    EXPECT_EQ(kind, kDocumentXml);
    ASSERT_NE(open, nullptr);
    EXPECT_TRUE(open->IsOpen());
    registry_->Release(open);
    registry_->Release(open);

    registry_->SetDtdCompiler(&CompileLog::FromFile, &CompileLog::FromText);
    Dictionary* compiled =
        registry_->LoadForDoctype("<!DOCTYPE book PUBLIC \"-//Books//EN\" \"dtd/book.dtd\">", base, kind);
    ASSERT_NE(compiled, nullptr);
    ASSERT_EQ(CompileLog::paths.size(), 1u);
    EXPECT_EQ(CompileLog::paths[0], documents.Path() + "/dtd/book.dtd");
    EXPECT_EQ(Str(compiled->Name()), "-//Books//EN");  // named with the public id
    EXPECT_EQ(registry_->Find("book"), compiled);        // registered under the document type
    EXPECT_EQ(registry_->UseCount("book"), 1);
    // A system id naming no file compiles nothing.
    EXPECT_TRUE(registry_->LoadForDoctype("<!DOCTYPE other SYSTEM \"dtd/none.dtd\">", base, kind)->IsOpen());
    EXPECT_EQ(CompileLog::paths.size(), 1u);
}

class RemoteDtdTest : public RegistryTest {
  protected:
    RemoteDtdTest() : mapper_(URLMapper::Instance()) {
        mapper_.RemoveAllServers();
        mapper_.SetRootFolder((cache_.Path() + "/").c_str());
        platform::WebAccessLibrary::SetLibraryPath("");
        registry_->SetDtdCompiler(&CompileLog::FromFile, &CompileLog::FromText);
    }
    ~RemoteDtdTest() override { mapper_.RemoveAllServers(); }

    markup_test::TempDir cache_;
    URLMapper& mapper_;
};

TEST_F(RemoteDtdTest, ARemoteSystemIdIsFetchedOnceAndCompiled) {
    if (!platform::WebAccessLibrary::Get().Available()) GTEST_SKIP() << "no web-access library in this build";
    markup_test::HttpTestServer server({{"/dtd/book.dtd", {200, "<!ELEMENT book (#PCDATA)>"}}}, 4,
                                       std::chrono::seconds(20));
    ASSERT_NE(server.Port(), 0);
    const std::string url = "http://127.0.0.1:" + std::to_string(server.Port()) + "/dtd/book.dtd";
    const std::string doctype = "<!DOCTYPE book PUBLIC \"-//Books//EN\" \"" + url + "\">";
    std::uint32_t kind = 2;
    Dictionary* book = registry_->LoadForDoctype(doctype.c_str(), "/srv/doc.xml", kind);
    ASSERT_NE(book, nullptr);
    EXPECT_EQ(server.Requests(), 1);
    ASSERT_EQ(CompileLog::paths.size(), 1u);
    EXPECT_EQ(CompileLog::paths[0], cache_.Path() + "/127001/dtd/book.dtd");
    String text;
    ASSERT_TRUE(book->FindEntityText("&dtd;", text));
    EXPECT_EQ(Str(text), "<!ELEMENT book (#PCDATA)>");
    // The fetched file serves the next document type of that DTD.
    std::unique_ptr<Dictionary> again = registry_->OpenDtdByURL(url.c_str(), "");
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(server.Requests(), 1);
}

TEST_F(RemoteDtdTest, AMissingRemoteDtdFailsCleanly) {
    if (!platform::WebAccessLibrary::Get().Available()) GTEST_SKIP() << "no web-access library in this build";
    markup_test::HttpTestServer server({}, 4, std::chrono::seconds(20));
    ASSERT_NE(server.Port(), 0);
    const std::string url = "http://127.0.0.1:" + std::to_string(server.Port()) + "/none.dtd";
    std::uint32_t kind = 2;
    Dictionary* d = registry_->LoadForDoctype(("<!DOCTYPE book SYSTEM \"" + url + "\">").c_str(), "", kind);
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(d->IsOpen());  // the document type gets an empty open dictionary
    EXPECT_EQ(server.Requests(), 1);
    EXPECT_TRUE(CompileLog::paths.empty());
    EXPECT_FALSE(FileExists((cache_.Path() + "/127001/none.dtd").c_str()));
    // Nothing is fetched at all without a compiler to hand the DTD to.
    registry_->SetDtdCompiler(nullptr, nullptr);
    EXPECT_EQ(registry_->OpenDtdByURL(url.c_str(), ""), nullptr);
    EXPECT_EQ(server.Requests(), 1);
}

}  // namespace
}  // namespace markup
