// Reference-counted holders: sharing, assignment and the empty instance.
#include "rc_object.h"

#include <gtest/gtest.h>

namespace svgf {
namespace {

struct Counted {
    explicit Counted(int* destroyed) : destroyed(destroyed) {}
    ~Counted() { ++*destroyed; }
    int* destroyed;
};

TEST(RcObject, LastOfThreePointersFreesOnce) {
    int destroyed = 0;
    {
        CRCPtr<Counted> first = MakeRC<Counted>(&destroyed);
        EXPECT_EQ(first.Base()->Count(), 1u);
        {
            CRCPtr<Counted> second = first;
            CRCPtr<Counted> third;
            third = second;
            EXPECT_EQ(first.Base()->Count(), 3u);
            EXPECT_EQ(third.get(), first.get());
        }
        EXPECT_EQ(destroyed, 0);
        EXPECT_EQ(first.Base()->Count(), 1u);
    }
    EXPECT_EQ(destroyed, 1);
}

TEST(RcObject, SelfAssignmentKeepsTheCount) {
    int destroyed = 0;
    CRCPtr<Counted> pointer = MakeRC<Counted>(&destroyed);
    CRCPtr<Counted>& alias = pointer;
    pointer = alias;
    pointer.Assign(alias);
    EXPECT_EQ(pointer.Base()->Count(), 1u);
    EXPECT_EQ(destroyed, 0);
}

TEST(RcObject, EmptyPointersShareTheEmptyInstance) {
    const uint32_t before = RCBase::Empty().Count();
    {
        CRCPtr<Counted> empty;
        CRCPtr<Counted> none{std::unique_ptr<Counted>()};
        EXPECT_EQ(empty.get(), nullptr);
        EXPECT_FALSE(none);
        EXPECT_EQ(empty.Base(), &RCBase::Empty());
        EXPECT_EQ(RCBase::Empty().Count(), before + 2);
    }
    EXPECT_EQ(RCBase::Empty().Count(), before);
    EXPECT_GE(before, 1u) << "the module's own reference keeps it alive";
}

TEST(RcObject, ReassigningReleasesTheOldObject) {
    int destroyed = 0;
    CRCPtr<Counted> pointer = MakeRC<Counted>(&destroyed);
    pointer = CRCPtr<Counted>();
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(pointer.get(), nullptr);
}

}  // namespace
}  // namespace svgf
