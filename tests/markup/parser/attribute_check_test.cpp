// ElementContentValidator::CheckAttributes and RepairAttributes, on the
// dictionary built in code and on the same dictionary read from a .dic file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "html_dictionary.h"
#include "markup/parser/content_validator.h"
#include "tree_fixtures.h"

namespace {

using markup::AttrElement;
using markup::Attribute;
using markup::AttributeStatus;
using markup::ElementContentValidator;
using markup::IdList;
using markup_test::E;
using markup_test::Owned;
using markup_test::Str;
using markup_test::WithAttribute;
using namespace markup_test;
using namespace markup_test::html_like;

class RecordingReporter : public markup::ContentReporter {
  public:
    void ReportOnAttribute(std::uint32_t code, AttrElement& element, Attribute& attribute) override {
        reports.push_back(std::to_string(code) + " on " + std::to_string(element.TypeId()) + "@" +
                          std::to_string(attribute.id));
    }
    std::vector<std::string> reports;
};

std::string Statuses(const std::vector<AttributeStatus>& statuses) {
    std::string out;
    for (AttributeStatus s : statuses) out += std::to_string(s);
    return out;
}

// Through the reader or handed over directly.
class AttributeCheck : public ::testing::TestWithParam<bool> {
  protected:
    void SetUp() override {
        d_ = BuildHtmlLikeDictionary();
        if (GetParam()) d_ = ThroughDicFile(*d_);
    }
    std::unique_ptr<markup::Dictionary> d_;
};

TEST_P(AttributeCheck, StatusesFollowDeclarationsAndTypes) {
    struct Case {
        std::uint32_t element;
        std::uint32_t attribute;
        const char* value;
        AttributeStatus status;
    };
    const Case cases[] = {
        {kP, kAlignAttribute, "LEFT", markup::kAttributeAccepted},       // groups match without case
        {kP, kAlignAttribute, "middle", markup::kAttributeRejected},
        {kP, kWidthAttribute, "10", markup::kAttributeUndeclared},     // declared for table and td only
        {kP, 0, "x", markup::kAttributeUndeclared},                    // a name the dictionary lacks
        {kTd, kWidthAttribute, "12", markup::kAttributeAccepted},
        {kTd, kWidthAttribute, "12px", markup::kAttributeRejected},    // the digits pattern
        {kImg, kSrcAttribute, "", markup::kAttributeAccepted},         // no type: any value
        {99, kAlignAttribute, "left", markup::kAttributeUndeclared},   // an element without a definition
    };
    for (const Case& c : cases) {
        Owned<AttrElement> element(WithAttribute(E(c.element), c.attribute, c.value));
        std::vector<AttributeStatus> statuses;
        IdList missing;
        const bool clean = ElementContentValidator::CheckAttributes(*d_, statuses, missing, *element);
        ASSERT_EQ(statuses.size(), 1u);
        EXPECT_EQ(statuses[0], c.status) << c.element << " " << c.attribute << "=" << c.value;
        EXPECT_EQ(clean, c.status == markup::kAttributeAccepted) << c.element << " " << c.value;
    }
}

TEST_P(AttributeCheck, MissingRequiredAttributesAreAddedWithTheirDefaults) {
    Owned<AttrElement> script(E(kScript));
    std::vector<AttributeStatus> statuses;
    IdList missing;
    EXPECT_FALSE(ElementContentValidator::CheckAttributes(*d_, statuses, missing, *script));
    ASSERT_EQ(missing.Count(), 1u);
    EXPECT_EQ(missing[0], kTypeAttribute);

    RecordingReporter reporter;
    ElementContentValidator::RepairAttributes(*d_, *script, reporter);
    ASSERT_EQ(script->AttributeCount(), 1u);
    const Attribute* type = script->AttributeAt(0);
    EXPECT_EQ(type->id, kTypeAttribute);
    EXPECT_EQ(Str(type->value), "text/javascript");  // the group's default value
    EXPECT_EQ(type->valueCode, 400u);
    EXPECT_EQ(type->specified, 1u);
    EXPECT_EQ(reporter.reports, (std::vector<std::string>{"9 on 42@3"}));
    // Once present nothing is missing any more.
    EXPECT_TRUE(ElementContentValidator::CheckAttributes(*d_, statuses, missing, *script));

    // Without a value type there is no default: the attribute is added
    // without a value.
    Owned<AttrElement> img(E(kImg));
    ElementContentValidator::RepairAttributes(*d_, *img, reporter);
    ASSERT_EQ(img->AttributeCount(), 1u);
    EXPECT_EQ(img->AttributeAt(0)->id, kSrcAttribute);
    EXPECT_EQ(img->AttributeAt(0)->specified, 0u);
    EXPECT_EQ(img->FindAttribute(kSrcAttribute, true), nullptr);
}

TEST_P(AttributeCheck, RefusedAttributesAreReportedAndMarkedNotSpecified) {
    Owned<AttrElement> p(E(kP));
    WithAttribute(p.get(), kAlignAttribute, "middle");
    WithAttribute(p.get(), kWidthAttribute, "3");
    WithAttribute(p.get(), kAlignAttribute, "right");
    RecordingReporter reporter;
    ElementContentValidator::RepairAttributes(*d_, *p, reporter);
    EXPECT_EQ(reporter.reports, (std::vector<std::string>{"20 on 10@1", "19 on 10@2"}));
    EXPECT_EQ(p->AttributeAt(0)->specified, 0u);
    EXPECT_EQ(p->AttributeAt(1)->specified, 0u);
    EXPECT_EQ(p->AttributeAt(2)->specified, 1u);
    EXPECT_EQ(p->AttributeCount(), 3u);
}

TEST_P(AttributeCheck, UniqueValuesAreRefusedOnLaterLikeSiblings) {
    auto* first = WithAttribute(E(kA), kNameAttribute, "top");
    auto* other = WithAttribute(E(kA), kNameAttribute, "bottom");
    auto* again = WithAttribute(E(kA), kNameAttribute, "top");
    auto* span = WithAttribute(E(kSpan), kNameAttribute, "top");
    Owned<AttrElement> p(E(kP, {first, span, other, again}));
    std::vector<AttributeStatus> statuses;
    IdList missing;
    EXPECT_TRUE(ElementContentValidator::CheckAttributes(*d_, statuses, missing, *first));
    EXPECT_TRUE(ElementContentValidator::CheckAttributes(*d_, statuses, missing, *other));
    EXPECT_FALSE(ElementContentValidator::CheckAttributes(*d_, statuses, missing, *again));
    EXPECT_EQ(Statuses(statuses), "1");
}

INSTANTIATE_TEST_SUITE_P(Dictionaries, AttributeCheck, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? std::string("ThroughDicFile") : std::string("Direct");
                         });

TEST(AttributeCheckTest, ACaseSensitiveDictionaryChecksNoValues) {
    auto d = BuildHtmlLikeDictionary(true);
    Owned<AttrElement> p(E(kP));
    WithAttribute(p.get(), kAlignAttribute, "middle");
    WithAttribute(p.get(), kWidthAttribute, "3");
    std::vector<AttributeStatus> statuses;
    IdList missing;
    EXPECT_FALSE(ElementContentValidator::CheckAttributes(*d, statuses, missing, *p));
    EXPECT_EQ(Statuses(statuses), "01");
    // Open as well (the SVG road): undeclared attributes pass too.
    d->SetOpen(true);
    EXPECT_TRUE(ElementContentValidator::CheckAttributes(*d, statuses, missing, *p));
    EXPECT_EQ(Statuses(statuses), "00");
}

}  // namespace
