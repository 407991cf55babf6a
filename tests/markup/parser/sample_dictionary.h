// A small dictionary built in code, with something of every record kind,
// for the tests of the reader, the writer and the look-ups.
#pragma once

#include <memory>

#include "markup/parser/dictionary.h"

namespace markup_test {

// Element ids of the sample.
enum SampleElement : std::uint32_t { kHtml = 10, kBody = 11, kPara = 12, kBold = 13 };
// Attribute ids of the sample.
enum SampleAttribute : std::uint32_t { kAlign = 5, kWidth = 6, kColour = 7, kClass = 8, kDigits = 9 };
// The named value that holds the digits pattern.
constexpr std::uint32_t kDigitsFormat = 30;

inline std::unique_ptr<markup::ContentSymbol> Element(std::uint32_t id, std::uint32_t occurrence) {
    auto symbol = std::make_unique<markup::ElementSymbol>();
    symbol->SetElementId(id);
    symbol->SetOccurrence(occurrence);
    return symbol;
}

inline std::unique_ptr<markup::LogicalConnective> Connective(std::uint32_t connector,
                                                             std::uint32_t occurrence) {
    auto c = std::make_unique<markup::LogicalConnective>();
    c->SetConnector(connector);
    c->SetOccurrence(occurrence);
    return c;
}

// html: (#11, (#12 & #13)?); body: (#PCDATA | %5 | #12)* with extra child 13,
// inclusion 13, exclusion 10; p: (#PCDATA | #13)*; b: EMPTY.
inline std::unique_ptr<markup::Dictionary> BuildSampleDictionary() {
    using namespace markup;
    auto d = std::make_unique<Dictionary>();
    d->CreateEditor();
    d->SetHeader(0, 1);
    d->SetHeader(1, 14);
    d->SetHeader(2, 9);
    d->SetHeader(3, 7);
    // In name order, so that the codes the table gives equal those a reread gives.
    d->Entities().Add("&amp;", "&");
    d->Entities().Add("&empty;", "");
    d->Entities().Add("&lt;", "<");
    d->Entities().Add("&nbsp;", "\xA0");

    auto anywhere = std::make_unique<ElementGroup>(ElementGroup::kAnywhere, "anywhere");
    anywhere->AddMember(kBold);
    d->AddGroup(std::move(anywhere));
    auto inlines = std::make_unique<ElementGroup>(5, "inline");
    inlines->AddMember(kBold);
    inlines->AddMember(kTextElementId);
    d->AddGroup(std::move(inlines));
    d->AddGroup(std::make_unique<ElementGroup>(ElementGroup::kAllElements, "all"));

    auto align = std::make_unique<HTMLAttributeDef>();
    align->SetId(kAlign);
    align->SetName("align");
    align->SetDefaultKind(1);
    auto* group = dynamic_cast<AttributeTypeGroup*>(align->SetTypeKind(kTypeGroup));
    group->AddPair({120, "left", 1, ""});
    group->AddPair({202, "right", 2, "Right"});
    group->AddPair({39, "center", -3, ""});
    group->SetDefaultIndex(2);
    d->Attributes().Insert(std::move(align));

    auto width = std::make_unique<HTMLAttributeDef>();
    width->SetId(kWidth);
    width->SetName("width");
    width->SetSecondName("Width");
    auto* formatted = dynamic_cast<AttributeTypeFormatted*>(width->SetTypeKind(kTypeFormatted));
    formatted->AddFormat(kFormatPercent);
    formatted->AddFormat(kFormatNonNegative);
    formatted->SetFormatText("100%");
    d->Attributes().Insert(std::move(width));

    auto colour = std::make_unique<HTMLAttributeDef>();
    colour->SetId(kColour);
    colour->SetName("color");
    colour->SetDeclaredType(kDeclaredList);
    auto* both = colour->SetTypeKind(kTypeGroupFormatted);
    dynamic_cast<AttributeTypeGroup*>(both)->AddPair({198, "red", 0x0000FF, ""});
    dynamic_cast<AttributeTypeFormatted*>(both)->AddFormat(kFormatColour);
    d->Attributes().Insert(std::move(colour));

    auto klass = std::make_unique<HTMLAttributeDef>();
    klass->SetId(kClass);
    klass->SetName("class");
    klass->SetDeclaredType(9);
    d->Attributes().Insert(std::move(klass));

    auto digits = std::make_unique<HTMLAttributeDef>();
    digits->SetId(kDigits);
    digits->SetName("size");
    dynamic_cast<AttributeTypeFormatted*>(digits->SetTypeKind(kTypeFormatted))->AddFormat(kDigitsFormat);
    d->Attributes().Insert(std::move(digits));

    d->AddValue(std::make_unique<ValueDef>(kDigitsFormat, "digits", "^[0-9]+$"));

    auto html = std::make_unique<ElementDef>();
    html->SetId(kHtml);
    html->SetName("html");
    auto htmlModel = Connective(kConnectSequence, kOccurOnce);
    htmlModel->AdoptChild(Element(kBody, kOccurOnce));
    auto all = Connective(kConnectAll, kOccurOptional);
    all->AdoptChild(Element(kPara, kOccurOnce));
    all->AdoptChild(Element(kBold, kOccurOptional));
    htmlModel->AdoptChild(std::move(all));
    html->SetModel(std::move(htmlModel), *d);
    d->Elements().Insert(std::move(html));

    auto body = std::make_unique<ElementDef>();
    body->SetId(kBody);
    body->SetName("body");
    body->SetSecondName("Body");
    body->AddExtraChild(kBold);
    auto bodyModel = Connective(kConnectChoice, kOccurAny);
    bodyModel->AdoptChild(std::make_unique<PCDataSymbol>());
    auto inlineGroup = std::make_unique<GroupSymbol>();
    inlineGroup->SetGroupClass(5);
    inlineGroup->SetOccurrence(kOccurOnce);
    bodyModel->AdoptChild(std::move(inlineGroup));
    bodyModel->AdoptChild(Element(kPara, kOccurOnce));
    body->SetModel(std::move(bodyModel), *d);
    body->AddInclusion(kBold);
    body->AddExclusion(kHtml);
    d->Elements().Insert(std::move(body));

    auto para = std::make_unique<ElementDef>();
    para->SetId(kPara);
    para->SetName("p");
    para->SetFlag(0, 1);
    para->SetFlag(2, 1);
    para->SetWord(3);
    para->AddAttribute(kAlign);
    para->AddAttribute(kClass);
    auto paraModel = Connective(kConnectChoice, kOccurAny);
    auto text = std::make_unique<PCDataSymbol>();
    text->SetFlag(0);
    paraModel->AdoptChild(std::move(text));
    paraModel->AdoptChild(Element(kBold, kOccurOnce));
    para->SetModel(std::move(paraModel), *d);
    d->Elements().Insert(std::move(para));

    auto bold = std::make_unique<ElementDef>();
    bold->SetId(kBold);
    bold->SetName("b");
    bold->SetModel(ContentSymbol::Create(kSymbolBase, 0), *d);
    d->Elements().Insert(std::move(bold));
    return d;
}

}  // namespace markup_test
