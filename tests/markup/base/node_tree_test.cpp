// NodeTree and the node iterators: the cursor and its re-validation,
// insertion at the cursor and by path, the edits and where they leave the
// cursor, and each iterator's walk, end and refusals.
#include "markup/node_tree.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "markup/faults.h"
#include "markup/node_iterators.h"
#include "tree_fixtures.h"

namespace markup {
namespace {

using markup_test::Children;
using markup_test::E;
using markup_test::Label;
using markup_test::LinkFault;
using markup_test::Named;
using markup_test::Owned;
using markup_test::T;

// Vectors do not copy, so paths are made on the heap.
std::unique_ptr<Vector<std::uint32_t>> Path(std::initializer_list<std::uint32_t> steps) {
    auto path = std::make_unique<Vector<std::uint32_t>>();
    for (std::uint32_t s : steps) path->Add(s);
    return path;
}

std::string PathText(const Vector<std::uint32_t>& path) {
    std::string out;
    for (std::uint32_t i = 0; i < path.Count(); ++i) out += std::to_string(*path.At(i)) + " ";
    return out;
}

// Labels of a walk from First to the end.
std::string Walk(NodeIterator& it) {
    std::string out;
    for (Node* n = it.First(); n; n = it.Next()) out += Label(n) + " ";
    return out;
}

// r(a(a1, a2), b, c(c1))
class TreeTest : public testing::Test {
  protected:
    TreeTest() {
        tree_.AppendChild(Named(1, "r",
                                {Named(1, "a", {Named(1, "a1"), Named(1, "a2")}), Named(1, "b"),
                                 Named(1, "c", {Named(1, "c1")})}));
    }
    Node* Find(const char* label) {
        for (Node* n = tree_.Root(); n; n = n->NextInPreorder()) {
            if (Label(n) == label) return n;
        }
        return nullptr;
    }
    NodeTree tree_;
};

TEST(NodeTreeBasics, AppendChildGrowsFromEmpty) {
    NodeTree tree;
    EXPECT_EQ(tree.Root(), nullptr);
    EXPECT_TRUE(tree.Contains(nullptr));
    Node* root = Named(1, "r");
    tree.AppendChild(root);
    EXPECT_EQ(tree.Root(), root);
    EXPECT_EQ(tree.Current(), root);
    Node* child = Named(1, "x");
    tree.AppendChild(child);
    EXPECT_EQ(child->Parent(), root);
    EXPECT_EQ(tree.Current(), child);
    EXPECT_EQ(tree.GoParent(), root);
    EXPECT_EQ(tree.GoParent(), nullptr);
    EXPECT_EQ(tree.Current(), root);
}

TEST_F(TreeTest, InsertionsRefuseNodesThatAreNotFree) {
    tree_.SetCurrent(Find("b"));
    EXPECT_THROW(tree_.AppendChild(nullptr), InvalidArgumentFault);
    EXPECT_THROW(tree_.AppendChild(Find("a1")), InvalidArgumentFault);
    EXPECT_THROW(tree_.InsertSibling(Find("c"), true), InvalidArgumentFault);
    EXPECT_THROW(tree_.InsertChild(nullptr, 0), InvalidArgumentFault);
    // The root is free, but linking it below its own node would make a cycle.
    EXPECT_THROW(tree_.AppendChild(tree_.Root()), InvalidArgumentFault);
    EXPECT_THROW(tree_.InsertSibling(tree_.Root(), false), InvalidArgumentFault);
    EXPECT_EQ(tree_.Current(), Find("b"));
    EXPECT_EQ(LinkFault(tree_.Root()), "");
}

TEST_F(TreeTest, InsertSiblingAndChildAtIndexes) {
    tree_.SetCurrent(Find("a"));
    tree_.InsertSibling(Named(1, "before-a"), false);
    EXPECT_EQ(Label(tree_.Root()->FirstChild()), "before-a");
    tree_.SetCurrent(Find("b"));
    tree_.InsertSibling(Named(1, "after-b"), true);
    EXPECT_EQ(Label(tree_.Current()), "after-b");
    EXPECT_EQ(Children(tree_.Root()), "before-a a b after-b c");

    struct Row {
        std::uint32_t index;
        const char* children;
    };
    const Row rows[] = {
        {1, "a1 x a2"}, {0, "x a1 a2"}, {2, "a1 a2 x"}, {9, "a1 a2 x"}, {NodeTree::kAppend, "a1 a2 x"}};
    for (const Row& r : rows) {
        Node* a = Find("a");
        tree_.SetCurrent(a);
        Node* x = Named(1, "x");
        tree_.InsertChild(x, r.index);
        EXPECT_EQ(Children(a), r.children) << r.index;
        EXPECT_EQ(tree_.Current(), x);
        tree_.DeleteCurrent();
    }
    tree_.SetCurrent(Find("b"));
    tree_.InsertChild(Named(1, "only"), 5);  // no children: the first
    EXPECT_EQ(Children(Find("b")), "only");
    EXPECT_EQ(LinkFault(tree_.Root()), "");
}

TEST_F(TreeTest, InsertChildWithIndexOneIntoThreeChildren) {
    tree_.SetCurrent(tree_.Root());
    tree_.InsertChild(Named(1, "n"), 1);
    EXPECT_EQ(Children(tree_.Root()), "a n b c");
}

TEST_F(TreeTest, PathsRoundTrip) {
    Vector<std::uint32_t> path;
    tree_.CollectPath(Find("a2"), path);
    EXPECT_EQ(PathText(path), "0 1 ");
    tree_.CollectPath(tree_.Root(), path);
    EXPECT_EQ(PathText(path), "");

    tree_.SetCurrent(Find("c1"));
    tree_.InsertAtPath(Named(1, "p"), *Path({0, 1}));
    EXPECT_EQ(Children(Find("a")), "a1 p a2");
    EXPECT_EQ(Label(tree_.Current()), "p");
    tree_.InsertAtPath(Named(1, "q"), *Path({2, 5}));  // past the end appends
    EXPECT_EQ(Children(Find("c")), "c1 q");
    tree_.InsertAtPath(Named(1, "top"), *Path({0}));
    EXPECT_EQ(Label(tree_.Root()->FirstChild()), "top");
}

TEST_F(TreeTest, InsertAtPathRefusesBadPaths) {
    Owned<Node> loose(Named(1, "loose"));
    tree_.SetCurrent(Find("c1"));
    // "b" has no children, so no step can leave it; an empty path says nothing.
    EXPECT_THROW(tree_.InsertAtPath(loose.get(), *Path({1, 0, 0})), InvalidArgumentFault);
    EXPECT_THROW(tree_.InsertAtPath(loose.get(), *Path({})), InvalidArgumentFault);
    EXPECT_TRUE(loose->IsFree());
    EXPECT_EQ(Label(tree_.Current()), "c1");
    // The last index may name a childless node's first child.
    tree_.InsertAtPath(loose.release(), *Path({1, 0}));
    EXPECT_EQ(Children(Find("b")), "loose");
}

TEST(NodeTreeEdits, RemoveCurrentUnwrapsInPlace) {
    // The second of three siblings, with two children.
    NodeTree tree;
    tree.AppendChild(Named(
        1, "r", {Named(1, "first"), Named(1, "mid", {Named(1, "c1"), Named(1, "c2")}), Named(1, "third")}));
    tree.SetCurrent(tree.Root()->ChildAt(1));
    tree.RemoveCurrent();
    EXPECT_EQ(Children(tree.Root()), "first c1 c2 third");
    EXPECT_EQ(Label(tree.Current()), "c1");
    EXPECT_EQ(LinkFault(tree.Root()), "");
}

TEST(NodeTreeEdits, RemoveCurrentCursorFallsBackInOrder) {
    struct Row {
        const char* remove;
        const char* cursor;
    };
    // r(first(k), x, y): removing a node without children moves to its next
    // sibling, else its previous sibling, else its parent.
    const Row rows[] = {{"x", "y"}, {"y", "x"}, {"k", "first"}, {"first", "k"}};
    for (const Row& r : rows) {
        NodeTree tree;
        tree.AppendChild(Named(1, "r", {Named(1, "first", {Named(1, "k")}), Named(1, "x"), Named(1, "y")}));
        for (Node* n = tree.Root(); n; n = n->NextInPreorder()) {
            if (Label(n) == r.remove) tree.SetCurrent(n);
        }
        tree.RemoveCurrent();
        EXPECT_EQ(Label(tree.Current()), r.cursor) << r.remove;
        EXPECT_EQ(LinkFault(tree.Root()), "");
    }
}

TEST(NodeTreeEdits, RemovingTheRootLeavesItsChildOrNothing) {
    NodeTree tree;
    tree.AppendChild(Named(1, "r", {Named(1, "only")}));
    tree.RemoveCurrent();  // the cursor is on the root: its only child takes its place
    EXPECT_EQ(Label(tree.Root()), "only");
    EXPECT_EQ(Label(tree.Current()), "only");
    tree.RemoveCurrent();
    EXPECT_EQ(tree.Root(), nullptr);
    EXPECT_EQ(tree.Current(), nullptr);
    EXPECT_THROW(tree.RemoveCurrent(), InvalidArgumentFault);
}

TEST(NodeTreeEdits, DetachCurrentMovesTheCursorAndKeepsTheAnchor) {
    NodeTree tree;
    tree.AppendChild(Named(1, "r", {Named(1, "a"), Named(1, "b"), Named(1, "c")}));
    Node* b = tree.Root()->ChildAt(1);
    tree.SetCurrent(b);  // the anchor may now be any node; detaching must not take it away
    Owned<Node> detached(tree.DetachCurrent());
    EXPECT_EQ(detached.get(), b);
    EXPECT_TRUE(b->IsFree());
    EXPECT_EQ(Label(tree.Current()), "c");
    EXPECT_EQ(Label(tree.Root()), "r");
    tree.DeleteCurrent();
    EXPECT_EQ(Label(tree.Current()), "a");
    tree.DeleteCurrent();
    EXPECT_EQ(Label(tree.Current()), "r");
    Owned<Node> whole(tree.DetachCurrent());
    EXPECT_EQ(Label(whole.get()), "r");
    EXPECT_EQ(tree.Root(), nullptr);
    EXPECT_EQ(tree.DetachCurrent(), nullptr);
}

TEST(NodeTreeEdits, MergeNextSiblingAppendsItsChildren) {
    NodeTree tree;
    tree.AppendChild(Named(
        1, "r",
        {Named(1, "p", {Named(1, "p1")}), Named(1, "q", {Named(1, "q1"), Named(1, "q2")}), Named(1, "z")}));
    Node* p = tree.Root()->FirstChild();
    tree.SetCurrent(p->NextSibling());  // leaves the anchor on the sibling to be deleted
    tree.SetCurrent(p);
    tree.MergeNextSibling();
    EXPECT_EQ(Children(tree.Root()), "p z");
    EXPECT_EQ(Children(p), "p1 q1 q2");
    EXPECT_EQ(tree.Current(), p);
    EXPECT_EQ(Label(tree.Root()), "r");
    tree.SetCurrent(tree.Root()->LastChild());
    tree.MergeNextSibling();  // no next sibling: nothing
    EXPECT_EQ(Children(tree.Root()), "p z");
    EXPECT_EQ(LinkFault(tree.Root()), "");
    NodeTree empty;
    EXPECT_THROW(empty.MergeNextSibling(), InvalidArgumentFault);
}

TEST_F(TreeTest, CursorRevalidatesAfterOutsideEdits) {
    Node* c = Find("c");
    tree_.SetCurrent(c);
    c->Unlink();  // taken out behind the tree's back
    EXPECT_EQ(tree_.Current(), tree_.Root());
    Owned<Node> outside(c);
    tree_.SetCurrent(Find("b"));
    tree_.SetCurrent(outside.get());  // not in the tree: the old cursor stays
    EXPECT_EQ(Label(tree_.Current()), "b");
    EXPECT_EQ(Label(tree_.GoPreviousSibling()), "a");
    EXPECT_EQ(tree_.GoPreviousSibling(), nullptr);
    EXPECT_EQ(Label(tree_.Current()), "a");
    Owned<Node> taken(tree_.TakeRoot());
    EXPECT_EQ(tree_.Root(), nullptr);
    EXPECT_EQ(Label(taken.get()), "r");
}

TEST_F(TreeTest, IteratorsWalkTheirPart) {
    NodeIterator all(tree_);
    EXPECT_EQ(Walk(all), "r a a1 a2 b c c1 ");
    EXPECT_EQ(all.Position(), -1);
    EXPECT_TRUE(all.AtEnd());

    NodeSpan span(tree_, Find("a1"));  // the third node in document order
    EXPECT_EQ(Walk(span), "r a a1 ");

    SubtreeIterator subtree(&tree_, Find("a"));
    EXPECT_EQ(Walk(subtree), "a a1 a2 ");

    ChildrenIterator children(tree_.Root());
    EXPECT_EQ(Walk(children), "a b c ");

    TerminalsIterator leaves(tree_.Root());
    EXPECT_EQ(Walk(leaves), "a1 a2 b c1 ");
    TerminalsIterator lone(Find("b"));
    EXPECT_EQ(Label(lone.First()), "b");
    EXPECT_EQ(lone.Next(), nullptr);

    Node* c1 = Find("c1");
    static_cast<DocElement*>(Find("c"))->SetTypeId(7);
    static_cast<DocElement*>(tree_.Root())->SetTypeId(7);
    SpecialAncestorIterator ancestors(c1, 7);
    EXPECT_EQ(Walk(ancestors), "c1 c r ");
}

TEST_F(TreeTest, PositionsCountStepsFromFirst) {
    NodeIterator all(tree_);
    EXPECT_EQ(all.Position(), -1);
    all.First();
    EXPECT_EQ(all.Position(), 0);
    all.Next();
    all.Next();
    EXPECT_EQ(all.Position(), 2);
    EXPECT_EQ(Label(all.Current()), "a1");
}

TEST_F(TreeTest, SubtreeIteratorSkipsChildrenOnRequest) {
    SubtreeIterator it(&tree_, tree_.Root());
    std::string out;
    for (Node* n = it.First(); n; n = it.Next()) {
        out += Label(n) + " ";
        if (Label(n) == "a") it.SkipChildren();
    }
    EXPECT_EQ(out, "r a b c c1 ");
}

TEST_F(TreeTest, CheckingIteratorsRefuseToStepBeforeFirstAndAfterTheEnd) {
    SubtreeIterator subtree(&tree_, Find("c"));
    EXPECT_THROW(subtree.Next(), InvalidArgumentFault);
    ChildrenIterator children(Find("a"));
    EXPECT_THROW(children.Next(), InvalidArgumentFault);
    SpecialAncestorIterator ancestors(Find("a1"), 1);
    EXPECT_THROW(ancestors.Next(), InvalidArgumentFault);
    for (NodeIterator* it : {static_cast<NodeIterator*>(&subtree), static_cast<NodeIterator*>(&children)}) {
        Walk(*it);
        EXPECT_TRUE(it->AtEnd());
        EXPECT_THROW(it->Next(), InvalidArgumentFault);
    }
    // The other kinds answer null instead.
    NodeIterator all(tree_);
    EXPECT_EQ(all.Next(), nullptr);
    TerminalsIterator leaves(tree_.Root());
    EXPECT_EQ(leaves.Next(), nullptr);
    NodeTree empty;
    EXPECT_THROW(NodeIterator{empty}, InvalidArgumentFault);
    EXPECT_THROW(SubtreeIterator(&empty, nullptr), InvalidArgumentFault);
    ChildrenIterator none(Find("b"));
    EXPECT_EQ(none.First(), nullptr);
}

TEST(NodeTreeLifetime, DestroyingTheTreeFreesEveryTopLevelNode) {
    // Unwrapping a root with two children leaves two nodes at the top; the
    // tree still owns both (the sanitizer build reports a leak otherwise).
    NodeTree tree;
    tree.AppendChild(Named(1, "r", {Named(1, "a", {T(160, "t")}), Named(1, "b")}));
    tree.GoRoot();
    tree.RemoveCurrent();
    EXPECT_EQ(Label(tree.Current()), "a");
    EXPECT_EQ(Label(tree.Root()->NextSibling()), "b");
}

}  // namespace
}  // namespace markup
