// The tree dump: a tree built in code with every kind of node and field,
// compared with its golden file, and the dump's own edge cases.
//
// SVGFILTER_UPDATE_GOLDEN=1 rewrites the golden files instead of comparing;
// review the diff before committing it.
#include "markup/tree_dump.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "temp_dir.h"
#include "tree_fixtures.h"

namespace markup {
namespace {

using markup_test::CountedExtra;
using markup_test::E;
using markup_test::FakeDictionary;
using markup_test::Named;
using markup_test::T;
using markup_test::WithAttribute;

void CompareWithGolden(const std::string& dump, const std::string& name) {
    const std::string file = std::string(SVGFILTER_TEST_DATA) + "/markup/base/" + name;
    if (std::getenv("SVGFILTER_UPDATE_GOLDEN")) {
        std::ofstream(file, std::ios::binary) << dump;
        GTEST_SKIP() << "rewrote " << file;
    }
    EXPECT_EQ(dump, markup_test::ReadAll(file)) << "golden file " << file;
}

class TreeDumpTest : public testing::Test {
  protected:
    TreeDumpTest() : tree_(nullptr, nullptr) {
        dictionary_.elements[1] = "svg";
        dictionary_.elements[2] = "g";
        dictionary_.attributes[0x010005] = "width";
        dictionary_.entities["&amp;"] = "&";
        tree_.SetDictionary(&dictionary_);
    }
    int live_ = 0;  // outlives the tree, whose nodes count down on it
    FakeDictionary dictionary_;
    DocTree tree_;
};

TEST_F(TreeDumpTest, EveryKindOfNodeAndField) {
    auto* document = WithAttribute(E(kKindDocument), 4718749, "file:///tmp/doc.svg");
    auto* doctype = T(kKindMarkupDeclaration, "<!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG//EN\">");
    auto* svg = WithAttribute(E(1), 0x010005, "100");
    auto written = std::make_unique<Attribute>(7, String("Height"));
    written->value = "50%";
    written->valueCode = 12;
    svg->AddAttribute(std::move(written));
    WithAttribute(svg, 0x00B90000, "rejected", 0);
    svg->Attributes().Add(nullptr);  // a copy the heap could not hold
    svg->SetFlags(8 | 64);
    auto* group = E(2);
    group->SetDeclaredEmpty(true);
    auto* unnamed = Named(200, "learned");
    unnamed->SetExtra(std::make_unique<CountedExtra>(live_));
    auto* entity = new EntityElement;
    entity->SetTypeId(kKindEntityReference);
    entity->SetText(&dictionary_, "&amp;");
    auto* text = T(kKindText, "a \"q\"\n\tb\\ \xA0\x01\x7F end");
    auto* cdata = E(kKindCData);
    cdata->SetText(nullptr, "x < y");
    svg->AppendChild(group);
    group->AppendChild(unnamed);
    svg->AppendChild(text);
    svg->AppendChild(entity);
    svg->AppendChild(cdata);
    svg->AppendChild(new Node);
    svg->AppendChild(T(kKindWhitespace, ""));
    document->AppendChild(doctype);
    document->AppendChild(svg);
    document->AppendChild(T(kKindMarkupDeclaration, "-- note --"));
    tree_.AppendChild(document);
    // A second node at the top level, as unwrapping a root can leave.
    tree_.InsertSibling(E(2), true);

    CompareWithGolden(DumpTree(tree_), "sample-tree.txt");
}

TEST_F(TreeDumpTest, SubtreesAndEmptyTrees) {
    EXPECT_EQ(DumpTree(tree_), "");
    auto* inner = E(2, {T(kKindText, "t")});
    tree_.AppendChild(E(1, {inner, E(2)}));
    EXPECT_EQ(DumpSubtree(*inner, &dictionary_),
              "element 2 name=\"g\"\n"
              "  run 160 name=\"#text\" text=\"t\"\n");
    EXPECT_EQ(DumpTree(tree_, nullptr),
              "element 1\n"
              "  element 2\n"
              "    run 160 name=\"#text\" text=\"t\"\n"
              "  element 2\n");
}

// Written in pieces as it walks, a large tree's dump is the same text as the
// whole one, deep nesting capped alike; an empty tree writes nothing.
TEST_F(TreeDumpTest, WrittenInPiecesItIsTheSameText) {
    std::size_t pieces = 0;
    WriteTree(tree_, 3, [&](std::string_view) { ++pieces; });
    EXPECT_EQ(pieces, 0u);
    Node* root = E(1);
    tree_.AppendChild(root);
    Node* deep = root;
    for (int i = 0; i < 6; ++i) {
        Node* child = E(2, {T(kKindText, "deep")});
        deep->AppendChild(child);
        deep = child;
    }
    for (int i = 0; i < 5000; ++i) root->AppendChild(E(2, {T(kKindText, ("text " + std::to_string(i)).c_str())}));
    std::string written;
    WriteTree(tree_, 3, [&](std::string_view piece) {
        written.append(piece);
        ++pieces;
    });
    EXPECT_GT(pieces, 1u);
    EXPECT_EQ(written, DumpTree(tree_, 3));
}

}  // namespace
}  // namespace markup
