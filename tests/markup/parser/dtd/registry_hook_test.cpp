// The registry's compile hook: a document whose DOCTYPE carries an internal
// subset, or names a DTD beside it, is parsed with the dictionary compiled
// from it when no .dic file names its type.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>

#include "markup/dtd/registry_hook.h"
#include "markup/local_file_stream.h"
#include "markup/parser/dictionary_registry.h"
#include "markup/parser/parser.h"
#include "markup/parser/xml_element_factory.h"
#include "markup/tree_dump.h"
#include "temp_dir.h"

namespace {

using namespace markup;

class RegistryHook : public testing::Test {
  protected:
    RegistryHook() {
        Singleton<DictionaryRegistry>::Release();
        DictionaryRegistry::Instance().Init((folder.Path() + "/").c_str());
        dtd::InstallRegistryCompiler();
    }
    ~RegistryHook() override { Singleton<DictionaryRegistry>::Release(); }

    // The dump of the document in XML mode (the compiled dictionary is
    // closed: its elements nest as written), and its dictionary's name.
    std::string Parse(const std::string& file, std::string& dictionary) {
        XMLElementFactory factory;
        Parser parser;
        parser.SetXmlMode(1);
        std::unique_ptr<DocTree> tree = parser.LoadDocument(file.c_str(), &factory, nullptr, nullptr, 0);
        if (!tree) return "no tree";
        auto* used = dynamic_cast<Dictionary*>(tree->Dictionary());
        dictionary = used ? used->Name().Text() : "";
        return DumpTree(*tree);
    }

    markup_test::TempDir folder;
};

TEST_F(RegistryHook, CompilesTheInternalSubset) {
    const std::string file = folder.Write(
        "note.xml",
        "<!DOCTYPE note [ <!ELEMENT note (to, body)> <!ELEMENT to (#PCDATA)> <!ELEMENT body (#PCDATA)> ]>"
        "<note><to>a</to><body>b</body></note>");
    std::string dictionary;
    const std::string dump = Parse(file, dictionary);
    // The ids are the DTD's own (note 1, to 2, body 3), the subset's ">" did
    // not end the declaration, and the dictionary is the compiled one.
    EXPECT_NE(dump.find("  element 1 name=\"note\" text=\"note\"\n"
                        "    element 2 name=\"to\" text=\"to\"\n"),
              std::string::npos)
        << dump;
    EXPECT_NE(dump.find("    element 3 name=\"body\""), std::string::npos) << dump;
    EXPECT_EQ(dump.find("run 160 name=\"#text\" text=\" <!ELEMENT"), std::string::npos) << dump;
    EXPECT_EQ(dictionary, "");
}

TEST_F(RegistryHook, CompilesALocalDtd) {
    folder.Write("memo.dtd", "<!ELEMENT memo (line)*> <!ELEMENT line (#PCDATA)>");
    const std::string file = folder.Write("memo.xml", "<!DOCTYPE memo SYSTEM \"memo.dtd\"><memo><line>x</line></memo>");
    std::string dictionary;
    const std::string dump = Parse(file, dictionary);
    EXPECT_NE(dump.find("  element 1 name=\"memo\" text=\"memo\"\n"
                        "    element 2 name=\"line\" text=\"line\"\n"),
              std::string::npos)
        << dump;
    EXPECT_NE(DictionaryRegistry::Instance().Find("memo"), nullptr);
}

}  // namespace
