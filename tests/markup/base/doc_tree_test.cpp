// DocTree: what it attaches and owns, node creation through its factory,
// its panes, the end-of-parse placeholder fix-up, and the node finders.
#include "markup/doc_tree.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "markup/faults.h"
#include "markup/node_finder.h"
#include "markup/node_iterators.h"
#include "markup/pane_doc.h"
#include "markup/tree_dump.h"
#include "tree_fixtures.h"

namespace markup {
namespace {

using markup_test::CountedExtra;
using markup_test::E;
using markup_test::FakeDictionary;
using markup_test::RecordingCSSManager;
using markup_test::Str;
using markup_test::T;
using markup_test::TestFactory;
using markup_test::WithAttribute;

constexpr std::uint32_t kBody = 25;

class CountedManager : public RecordingCSSManager {
  public:
    explicit CountedManager(int& live) : live_(live) { ++live_; }
    ~CountedManager() override { --live_; }

  private:
    int& live_;
};

TEST(DocTreeParts, AttachesItsManagerAndOwnsWhatItShould) {
    int live = 0;
    RecordingCSSManager manager;
    {
        TestFactory factory;
        DocTree tree(&factory, &manager);
        EXPECT_EQ(manager.document, &tree);
        EXPECT_EQ(tree.StyleManager(), &manager);
        EXPECT_NE(tree.Scripts(), nullptr);
        EXPECT_EQ(tree.Dictionary(), nullptr);
        EXPECT_EQ(tree.GetFileTime().low, 0u);
        EXPECT_EQ(tree.GetFileTime().high, 0u);
        EXPECT_EQ(tree.Option(), nullptr);
        EXPECT_EQ(tree.Key(), 1u);

        tree.SetOption(std::make_unique<CountedExtra>(live));
        tree.AppendChild(E(kKindDocument, {E(kBody, {T(kKindText, "x")})}));
        static_cast<DocElement*>(tree.Root())->SetExtra(std::make_unique<CountedExtra>(live));
        static_cast<DocElement*>(tree.Root()->FirstChild())->SetExtra(std::make_unique<CountedExtra>(live));
        EXPECT_EQ(live, 3);
    }
    EXPECT_EQ(live, 0);
    EXPECT_EQ(manager.calls.size(), 1u);  // attached once, never called by the tree again

    {
        DocTree tree(nullptr, nullptr);
        tree.AdoptStyleManager(std::make_unique<CountedManager>(live));
        EXPECT_EQ(static_cast<RecordingCSSManager*>(tree.StyleManager())->document, &tree);
        EXPECT_EQ(live, 1);
    }
    EXPECT_EQ(live, 0);
}

TEST(DocTreeParts, CreateNodeAsksTheFactoryWithTheTreesDictionary) {
    FakeDictionary dictionary;
    dictionary.entities["&nbsp;"] = "\xA0";
    TestFactory factory;
    DocTree tree(&factory, nullptr);
    tree.SetDictionary(&dictionary);
    std::unique_ptr<DocElement> entity(tree.CreateNode(kKindEntityReference, "&nbsp;", 0));
    ASSERT_NE(dynamic_cast<EntityElement*>(entity.get()), nullptr);
    EXPECT_EQ(Str(entity->Text()), "\xA0");  // resolved through the tree's dictionary
    EXPECT_TRUE(entity->IsFree());
    ASSERT_EQ(factory.calls.size(), 1u);
    EXPECT_EQ(factory.calls[0], "167 \"&nbsp;\" 0");

    DocTree bare(nullptr, nullptr);
    EXPECT_THROW(bare.CreateNode(1, "", 1), IllegalUsageFault);
}

TEST(DocTreeParts, APaneIsListedOnce) {
    DocTree tree(nullptr, nullptr);
    BasePaneDoc pane;
    tree.AddPane(&pane);
    tree.AddPane(&pane);
    tree.AddPane(nullptr);
    EXPECT_EQ(tree.Panes().Count(), 1u);
}

// A node that counts the live ones, so that a test sees every node freed.
class LiveNode : public AttrElement {
  public:
    explicit LiveNode(int& live) : live_(live) { ++live_; }
    ~LiveNode() override { --live_; }

  private:
    int& live_;
};

// Nodes kept outside the tree are freed with it once, whichever way the
// edits after keeping them linked them: back into the tree, below or beside
// one another, or with the tree's own root moved below one of them.
TEST(DocTreeParts, NodesKeptOutsideAreFreedOnceWithTheTree) {
    int live = 0;
    {
        DocTree tree(nullptr, nullptr);
        auto* root = new LiveNode(live);
        auto* a = new LiveNode(live);
        auto* b = new LiveNode(live);
        tree.AppendChild(root);
        tree.AppendChild(a);
        a->AppendChild(b);

        auto* alone = new LiveNode(live);  // never linked
        tree.KeepOutside(alone);

        auto* back = new LiveNode(live);  // kept, then linked into the tree
        tree.KeepOutside(back);
        root->AppendChild(back);

        a->Unlink();  // taken out with its child, kept twice
        tree.KeepOutside(a);
        tree.KeepOutside(a);

        auto* first = new LiveNode(live);  // a top level of two kept nodes
        auto* second = new LiveNode(live);
        tree.KeepOutside(second);
        second->InsertBefore(first);
        tree.KeepOutside(first);

        tree.KeepOutside(b);  // below a kept node
        tree.KeepOutside(root);  // a node of the tree
        EXPECT_EQ(live, 7);
    }
    EXPECT_EQ(live, 0);

    {
        DocTree tree(nullptr, nullptr);
        auto* root = new LiveNode(live);
        tree.AppendChild(root);
        auto* holder = new LiveNode(live);
        tree.KeepOutside(holder);
        holder->AppendChild(root);  // the tree now hangs below the kept node
        EXPECT_EQ(tree.Root(), holder);
    }
    EXPECT_EQ(live, 0);
}

// document(html(head, body(...)))
class EvaluateTest : public testing::Test {
  protected:
    EvaluateTest() : tree_(&factory_, nullptr) {}
    // Builds the document with the body's children.
    DocElement* Build(std::initializer_list<Node*> bodyChildren) {
        body_ = E(kBody, bodyChildren);
        tree_.AppendChild(E(kKindDocument, {E(1, {E(2), body_})}));
        return body_;
    }
    std::string Body() { return DumpSubtree(*body_, nullptr); }

    TestFactory factory_;
    DocTree tree_;
    DocElement* body_ = nullptr;
};

TEST_F(EvaluateTest, RestoreOnAnEmptyBodyAddsAPlaceholderWithANoBreakSpace) {
    Build({});
    tree_.Evaluate(false);
    EXPECT_EQ(body_->FirstChild(), nullptr);
    tree_.Evaluate(true);
    EXPECT_EQ(Body(),
              "element 25\n"
              "  element 159\n"
              "    entity 167 name=\"&nbsp;\"\n");
    tree_.Evaluate(true);  // the body now ends in a placeholder: nothing more
    EXPECT_EQ(body_->ChildCount(), 1u);
}

TEST_F(EvaluateTest, RestoreAfterOtherContentAddsABarePlaceholder) {
    Build({E(30)});
    tree_.Evaluate(true);
    EXPECT_EQ(Body(),
              "element 25\n"
              "  element 30\n"
              "  element 159\n");
    EXPECT_EQ(factory_.calls.size(), 1u);
}

TEST_F(EvaluateTest, EmptyPlaceholderIsDetachedAndPutBackInTheSamePlace) {
    DocElement* placeholder = E(kKindPlaceholder, {T(kKindText, "\xA0")});
    Build({E(30), placeholder});
    Node* cursor = body_->FirstChild();
    tree_.SetCurrent(cursor);
    const std::string before = DumpTree(tree_, nullptr);

    tree_.Evaluate(false);
    EXPECT_EQ(tree_.HeldPlaceholder(), placeholder);
    EXPECT_TRUE(placeholder->IsFree());
    EXPECT_EQ(body_->ChildCount(), 1u);
    EXPECT_EQ(tree_.Current(), cursor);

    tree_.Evaluate(true);
    EXPECT_EQ(tree_.HeldPlaceholder(), nullptr);
    EXPECT_EQ(body_->LastChild(), placeholder);
    EXPECT_EQ(DumpTree(tree_, nullptr), before);
    EXPECT_EQ(tree_.Current(), cursor);
    EXPECT_TRUE(factory_.calls.empty());
}

TEST_F(EvaluateTest, OnlyEmptyPlaceholdersAreDetached) {
    struct Row {
        const char* label;
        std::function<Node*()> make;
        bool detached;
    };
    const Row rows[] = {
        {"nothing inside", [] { return E(kKindPlaceholder); }, true},
        {"only a lone no-break space", [] { return E(kKindPlaceholder, {T(kKindText, "\xA0")}); }, true},
        {"real text", [] { return E(kKindPlaceholder, {T(kKindText, "x")}); }, false},
        {"two spaces",
         [] {
             return E(kKindPlaceholder, {T(kKindText, "\xA0"), T(kKindText, "\xA0")});
         },
         false},
        {"an element", [] { return E(kKindPlaceholder, {E(30)}); }, false},
        {"a plain node", [] { return E(kKindPlaceholder, {new Node}); }, true},
    };
    for (const Row& r : rows) {
        TestFactory factory;
        DocTree tree(&factory, nullptr);
        Node* placeholder = r.make();
        tree.AppendChild(E(kKindDocument, {E(kBody, {placeholder})}));
        tree.Evaluate(false);
        EXPECT_EQ(tree.HeldPlaceholder() == placeholder, r.detached) << r.label;
    }
}

TEST_F(EvaluateTest, CursorInsideTheDetachedPlaceholderGoesToTheRoot) {
    DocElement* space = T(kKindText, "\xA0");
    Build({E(kKindPlaceholder, {space})});
    tree_.SetCurrent(space);
    tree_.Evaluate(false);
    EXPECT_EQ(tree_.Current(), tree_.Root());
    EXPECT_EQ(static_cast<DocElement*>(tree_.Root())->TypeId(), kKindDocument);
}

TEST_F(EvaluateTest, ASecondEmptyPlaceholderStaysWhileOneIsHeld) {
    DocElement* first = E(kKindPlaceholder);
    Build({E(30), first});
    tree_.Evaluate(false);
    tree_.SetCurrent(body_);
    DocElement* second = E(kKindPlaceholder);
    tree_.AppendChild(second);
    tree_.Evaluate(false);
    EXPECT_EQ(tree_.HeldPlaceholder(), first);
    EXPECT_EQ(body_->LastChild(), second);
    // Destroying the tree frees the held one too (checked by the sanitizer build).
}

TEST_F(EvaluateTest, APlaceholderWhosePlaceIsGoneGoesWhereANewOneWould) {
    DocElement* placeholder = E(kKindPlaceholder);
    Build({E(30, {E(31)}), placeholder});
    tree_.Evaluate(false);
    // The path was (0, 1, 1); a new html without children breaks its second step.
    tree_.SetCurrent(tree_.Root()->FirstChild());
    tree_.DeleteCurrent();
    tree_.SetCurrent(tree_.Root());
    tree_.AppendChild(E(kBody));
    tree_.Evaluate(true);
    EXPECT_EQ(tree_.HeldPlaceholder(), nullptr);
    EXPECT_EQ(tree_.Root()->FirstChild()->FirstChild(), placeholder);
    EXPECT_TRUE(factory_.calls.empty());
}

TEST(EvaluateEdges, TreesWithoutBodyOrNodesAreLeftAlone) {
    TestFactory factory;
    DocTree empty(&factory, nullptr);
    empty.Evaluate(true);
    EXPECT_EQ(empty.Root(), nullptr);
    DocTree noBody(&factory, nullptr);
    noBody.AppendChild(E(kKindDocument, {E(1)}));
    noBody.Evaluate(true);
    EXPECT_EQ(DumpTree(noBody, nullptr), "element 173 name=\"#document\"\n  element 1\n");
    EXPECT_TRUE(factory.calls.empty());
}

// A factory that runs the fix-up again while the fix-up creates a node.
class ReentrantFactory : public TestFactory {
  public:
    DocElement* Create(DictionaryBase* dictionary, std::uint32_t typeId, const String* name,
                       int keepFlags) override {
        if (tree) tree->Evaluate(true);
        return TestFactory::Create(dictionary, typeId, name, keepFlags);
    }
    DocTree* tree = nullptr;
};

TEST(EvaluateEdges, ANestedCallDoesNothing) {
    ReentrantFactory factory;
    DocTree tree(&factory, nullptr);
    factory.tree = &tree;
    tree.AppendChild(E(kKindDocument, {E(kBody)}));
    tree.Evaluate(true);
    EXPECT_EQ(factory.calls.size(), 2u);  // the placeholder and its no-break space, once
    EXPECT_EQ(tree.Root()->FirstChild()->ChildCount(), 1u);
}

class FinderTest : public testing::Test {
  protected:
    FinderTest() {
        // document(a(b#x), b#Y, c(b), 146)
        tree_.AppendChild(
            E(kKindDocument, {E(10, {WithAttribute(E(11), 0x0B0007, "x")}), WithAttribute(E(11), 7, "Y"),
                              E(12, {WithAttribute(E(11), 7, "y", 0)}), E(146)}));
    }
    std::string FindAll(NodeIterator& it, const NodeEvaluator& test) {
        NodeFinder finder(it, test);
        std::string out;
        for (Node* n = finder.First(); n; n = finder.Next()) {
            const auto* element = static_cast<DocElement*>(n);
            out += std::to_string(element->TypeId()) + "@" + std::to_string(it.Position()) + " ";
        }
        return out;
    }
    DocTree tree_{nullptr, nullptr};
};

TEST_F(FinderTest, FindsByTypeList) {
    NodeIterator all(tree_);
    EXPECT_EQ(FindAll(all, DocElementEvaluator{11, 146}), "11@2 11@3 11@5 146@6 ");
    NodeIterator again(tree_);
    EXPECT_EQ(FindAll(again, DocElementEvaluator{}), "");
    NodeIterator everything(tree_);
    EXPECT_EQ(FindAll(everything, NodeEvaluator()), "173@0 10@1 11@2 11@3 12@4 11@5 146@6 ");
    // The first node itself can pass; an ended walk answers null again.
    SubtreeIterator subtree(&tree_, tree_.Root()->ChildAt(2));
    const DocElementEvaluator isC{12};
    NodeFinder finder(subtree, isC);
    EXPECT_EQ(finder.First(), tree_.Root()->ChildAt(2));
    EXPECT_EQ(finder.Next(), nullptr);
    EXPECT_EQ(finder.Next(), nullptr);
}

TEST_F(FinderTest, FindsByAttribute) {
    struct Row {
        std::uint32_t type;
        std::uint32_t attribute;
        const char* value;
        const char* found;
    };
    const Row rows[] = {
        {11, 7, "", "11@2 11@3 "},   // unspecified values do not count
        {11, 7, "y", "11@3 "},       // any case
        {0, 7, "X", "11@2 "},        // any type
        {0, 0x0B0007, "", "11@2 "},  // a packed id must match whole
        {11, 0, "ignored", "11@2 11@3 11@5 "},
        {12, 0, "", "12@4 "},
    };
    for (const Row& r : rows) {
        NodeIterator all(tree_);
        EXPECT_EQ(FindAll(all, AttrElementEvaluator(r.type, r.attribute, r.value)), r.found)
            << r.type << " " << r.attribute << " " << r.value;
    }
}

}  // namespace
}  // namespace markup
