// The seeds of the .dic reader's fuzz target are our writer's output. The
// test checks they still are; with SVGFILTER_WRITE_SEEDS=1 in the
// environment it writes them afresh into fuzz/dic_reader/corpus.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "markup/parser/css_dictionary.h"
#include "markup/parser/dictionary.h"
#include "sample_dictionary.h"
#include "temp_dir.h"

namespace markup {
namespace {

// Three properties: keywords only, formats only, both with members.
std::unique_ptr<CSSDictionary> BuildSmallCSS() {
    auto css = std::make_unique<CSSDictionary>();
    auto cap = std::make_unique<CSSAttributeDef>();
    cap->SetId(74);
    cap->SetName("stroke-linecap");
    auto* group = dynamic_cast<AttributeTypeGroup*>(cap->SetTypeKind(kTypeGroup));
    group->AddPair({276, "butt", 0, ""});
    group->AddPair({355, "round", 0, ""});
    cap->SetFlagA(1);
    css->Properties().Insert(std::move(cap));
    auto width = std::make_unique<CSSAttributeDef>();
    width->SetId(73);
    width->SetName("stroke-width");
    dynamic_cast<AttributeTypeFormatted*>(width->SetTypeKind(kTypeFormatted))->AddFormat(6);
    css->Properties().Insert(std::move(width));
    auto margin = std::make_unique<CSSAttributeDef>();
    margin->SetId(28);
    margin->SetName("margin");
    margin->SetWordA(7);
    for (std::uint32_t m : {24u, 25u, 26u, 27u}) margin->AddDefinitionWord(m);
    auto* both = margin->SetTypeKind(kTypeGroupFormatted);
    dynamic_cast<AttributeTypeGroup*>(both)->AddPair({267, "auto", -5, "Auto"});
    dynamic_cast<AttributeTypeFormatted*>(both)->AddFormat(16);
    css->Properties().Insert(std::move(margin));
    return css;
}

TEST(FuzzSeedTest, SeedsAreTheWritersOutput) {
    const std::string corpus = std::string(SVGFILTER_SOURCE_DIR) + "/fuzz/dic_reader/corpus/";
    const bool write = std::getenv("SVGFILTER_WRITE_SEEDS") != nullptr;
    markup_test::TempDir dir;
    auto check = [&](const std::string& name, auto save) {
        const std::string made = write ? corpus + name : dir.File(name);
        ASSERT_EQ(save(made), kErr_None);
        if (!write) {
            EXPECT_EQ(markup_test::ReadAll(made), markup_test::ReadAll(corpus + name)) << name;
        }
    };
    const auto sample = markup_test::BuildSampleDictionary();
    check("sample.dic", [&](const std::string& f) { return sample->Save(f.c_str()); });
    check("empty.dic", [&](const std::string& f) { return Dictionary().Save(f.c_str()); });
    const auto css = BuildSmallCSS();
    check("css.dic", [&](const std::string& f) { return css->Save(f.c_str()); });
}

}  // namespace
}  // namespace markup
