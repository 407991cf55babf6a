// Node: linking and unlinking keep both directions of every link right;
// counts, ChildAt and the document-order walks.
#include "markup/node.h"

#include <gtest/gtest.h>

#include "tree_fixtures.h"

namespace markup {
namespace {

using markup_test::Children;
using markup_test::Label;
using markup_test::LinkFault;
using markup_test::Named;

class NodeLinks : public testing::Test {
  protected:
    NodeLinks() : a_(Named(1, "a")), b_(Named(1, "b")), c_(Named(1, "c")) {
        root_ = Named(1, "p", {a_, b_, c_});
    }
    ~NodeLinks() override { root_->DeleteSubtree(); }
    Node* root_;
    Node* a_;
    Node* b_;
    Node* c_;
};

TEST_F(NodeLinks, InsertionsLinkBothWays) {
    a_->InsertAfter(Named(1, "x"));   // between a and b
    a_->InsertBefore(Named(1, "y"));  // before the first child
    c_->InsertAfter(Named(1, "z"));   // after the last
    EXPECT_EQ(Children(root_), "y a x b c z");
    EXPECT_EQ(Label(root_->FirstChild()), "y");
    EXPECT_EQ(LinkFault(root_), "");
}

TEST_F(NodeLinks, UnlinkFromEachPlace) {
    for (Node* gone : {b_, c_, a_}) {
        gone->Unlink();
        EXPECT_TRUE(gone->IsFree());
        EXPECT_EQ(LinkFault(root_), "");
        gone->DeleteSubtree();
    }
    EXPECT_EQ(root_->FirstChild(), nullptr);
}

TEST_F(NodeLinks, ReplaceWithTakesThePlace) {
    Node* first = Named(1, "f");
    a_->ReplaceWith(first);
    Node* middle = Named(1, "m");
    b_->ReplaceWith(middle);
    EXPECT_EQ(Children(root_), "f m c");
    EXPECT_EQ(root_->FirstChild(), first);
    EXPECT_EQ(LinkFault(root_), "");
    // The replaced nodes keep their stale links; they are freed alone.
    EXPECT_EQ(a_->Parent(), root_);
    delete a_;
    delete b_;
}

TEST_F(NodeLinks, AppendChildToEmptyAndToFilled) {
    Node* leaf = Named(1, "l");
    a_->AppendChild(leaf);
    EXPECT_EQ(a_->FirstChild(), leaf);
    root_->AppendChild(Named(1, "d"));
    root_->AppendAfterLastChild(Named(1, "e"));
    EXPECT_EQ(Children(root_), "a b c d e");
    EXPECT_EQ(LinkFault(root_), "");
}

// The last child follows every edit at either end, so appending to a wide
// parent never walks its children.
TEST_F(NodeLinks, TheLastChildFollowsEveryEdit) {
    Node* d = Named(1, "d");
    c_->InsertAfter(d);
    EXPECT_EQ(root_->LastChild(), d);
    d->Unlink();
    EXPECT_EQ(root_->LastChild(), c_);
    Node* e = Named(1, "e");
    c_->ReplaceWith(e);
    EXPECT_EQ(root_->LastChild(), e);
    delete c_;
    for (Node* gone : {a_, b_, e}) {
        gone->Unlink();
        EXPECT_EQ(LinkFault(root_), "");
        gone->DeleteSubtree();
    }
    EXPECT_EQ(root_->LastChild(), nullptr);
    root_->AppendChild(d);
    EXPECT_EQ(root_->LastChild(), d);
    Node* wide = Named(1, "w");
    for (int i = 0; i < 100000; ++i) wide->AppendChild(Named(1, "k"));
    EXPECT_EQ(wide->ChildCount(), 100000u);
    EXPECT_EQ(LinkFault(wide), "");
    d->AppendChild(wide);
    EXPECT_EQ(LinkFault(root_), "");
}

// The first child's backward link names the last: every edit of an only
// child, and of a first child, must keep it so.
TEST(NodeLinksAtTheEnds, AnOnlyChildAndAFirstChildKeepTheLastChildLink) {
    markup_test::Owned<Node> root(Named(1, "p"));
    Node* only = Named(1, "o");
    root->AppendChild(only);
    Node* taker = Named(1, "t");
    only->ReplaceWith(taker);
    delete only;
    EXPECT_EQ(root->LastChild(), taker);
    EXPECT_EQ(taker->PreviousSibling(), nullptr);
    taker->InsertBefore(Named(1, "b"));
    EXPECT_EQ(Children(root.get()), "b t");
    EXPECT_EQ(LinkFault(root.get()), "");
    root->FirstChild()->InsertAfter(Named(1, "m"));
    taker->InsertAfter(Named(1, "z"));
    EXPECT_EQ(Children(root.get()), "b m t z");
    EXPECT_EQ(LinkFault(root.get()), "");
    Node* first = root->FirstChild();
    first->Unlink();
    first->DeleteSubtree();
    EXPECT_EQ(Children(root.get()), "m t z");
    EXPECT_EQ(LinkFault(root.get()), "");
    Node* only2 = Named(1, "q");
    markup_test::Owned<Node> single(Named(1, "s"));
    single->AppendChild(only2);
    only2->InsertAfter(Named(1, "r"));
    EXPECT_EQ(Children(single.get()), "q r");
    EXPECT_EQ(LinkFault(single.get()), "");
}

// Siblings with no parent (the top level of a tree) link plainly.
TEST(NodeLinksAtTheEnds, SiblingsWithoutAParent) {
    Node* a = Named(1, "a");
    Node* b = Named(1, "b");
    a->InsertAfter(b);
    Node* c = Named(1, "c");
    a->InsertBefore(c);
    EXPECT_EQ(a->PreviousSibling(), c);
    EXPECT_EQ(c->PreviousSibling(), nullptr);
    EXPECT_EQ(b->PreviousSibling(), a);
    a->Unlink();
    EXPECT_EQ(c->NextSibling(), b);
    EXPECT_EQ(b->PreviousSibling(), c);
    for (Node* n : {a, b, c}) delete n;
}

TEST_F(NodeLinks, CountsAndChildAt) {
    EXPECT_EQ(root_->ChildCount(), 3u);
    EXPECT_EQ(b_->PreviousSiblingCount(), 1u);
    EXPECT_EQ(b_->NextSiblingCount(), 1u);
    EXPECT_EQ(root_->ChildAt(0), a_);
    EXPECT_EQ(root_->ChildAt(2), c_);
    EXPECT_EQ(root_->ChildAt(5), c_);  // past the end: the last child
    EXPECT_EQ(a_->ChildAt(0), nullptr);
    EXPECT_EQ(root_->LastChild(), c_);
    EXPECT_EQ(a_->LastChild(), nullptr);
}

TEST(NodeWalks, PreorderLeavesAndAncestry) {
    // p(a(a1, a2), b, c(c1(c11)))
    Node* tree = Named(1, "p",
                       {Named(1, "a", {Named(1, "a1"), Named(1, "a2")}), Named(1, "b"),
                        Named(1, "c", {Named(1, "c1", {Named(1, "c11")})})});
    std::string preorder;
    for (const Node* n = tree; n; n = n->NextInPreorder()) preorder += Label(n) + " ";
    EXPECT_EQ(preorder, "p a a1 a2 b c c1 c11 ");

    std::string leaves;
    for (const Node* n = tree->FirstLeaf(); n; n = n->NextLeaf()) leaves += Label(n) + " ";
    EXPECT_EQ(leaves, "a1 a2 b c11 ");

    Node* a2 = tree->FirstChild()->LastChild();
    Node* c11 = tree->LastChild()->FirstLeaf();
    EXPECT_EQ(Label(a2->NextAfterSubtree()), "b");
    EXPECT_EQ(c11->NextInPreorder(), nullptr);
    EXPECT_EQ(tree->NextAfterSubtree(), nullptr);
    EXPECT_TRUE(c11->IsWithin(tree));
    EXPECT_TRUE(c11->IsWithin(c11));
    EXPECT_FALSE(a2->IsWithin(tree->LastChild()));
    EXPECT_FALSE(a2->IsWithin(nullptr));
    tree->DeleteSubtree();
}

TEST(NodeWalks, DeleteSubtreeOfADeepChainNeedsNoStack) {
    // Deep enough that a recursive delete would overflow the stack.
    Node* top = Named(1, "0");
    Node* at = top;
    for (int i = 0; i < 200000; ++i) {
        Node* child = Named(1, "x");
        at->AppendChild(child);
        at = child;
    }
    top->DeleteSubtree();  // the sanitizer build checks that nothing leaks
}

}  // namespace
}  // namespace markup
