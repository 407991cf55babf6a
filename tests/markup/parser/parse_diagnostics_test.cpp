// Parse diagnostics: the 50-entry limit of the shared list, one entry per
// token, the fatal codes and their faults, and what an entry holds.
#include "markup/parser/parse_diagnostics.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "markup/attr_element.h"
#include "markup/faults.h"
#include "markup/parser/token.h"
#include "sample_dictionary.h"

namespace markup {
namespace {

std::string Str(const String& s) {
    return std::string(s.Text(), s.Length());
}

struct ListFixture : testing::Test {
    ListFixture() {
        for (ParseErrorHandler* h : {&first, &second}) h->SetErrors(&errors);
    }
    // Fills the shared list to its limit through both handlers.
    void Fill() {
        for (std::uint32_t i = 0; i < ParseErrorHandler::kMaxErrors; ++i) {
            (i % 2 ? first : second).ReportCode(100 + i);
        }
    }
    ErrorList errors;
    ParseErrorHandler first;
    ParseErrorHandler second;
};

TEST_F(ListFixture, TheListHoldsFiftyEntriesWhoeverReports) {
    Fill();
    ASSERT_EQ(errors.Count(), 50u);
    Token token;
    first.Report(25, &token);
    second.ReportAtToken(25, &token, 1);
    first.ReportCode(9);
    EXPECT_EQ(errors.Count(), 50u);  // the 51st is dropped
    EXPECT_EQ(token.reported, 0u);   // and a dropped report leaves its token unmarked
    EXPECT_EQ(errors.At(49)->code, 149u);
}

TEST_F(ListFixture, FatalCodesRaiseEvenWhenTheListIsFull) {
    Fill();
    Token token;
    EXPECT_THROW(first.Report(kDiag_UndefinedState, &token), LogicFault);
    // A read failure reported without a token must end the parse too: with
    // a full list the scan would otherwise go on over an empty buffer.
    EXPECT_THROW(second.ReportCode(kDiag_ReadFailed), ReadFault);
    token.reported = 1;
    EXPECT_THROW(first.ReportAtToken(kDiag_OutOfMemory, &token, 0), MemoryAllocationFault);
    EXPECT_EQ(errors.Count(), 50u);
}

struct FatalCase {
    std::uint32_t code;
    const char* fault;  // "read", "memory", "logic" or "none"
};

class FatalCodeTest : public testing::TestWithParam<FatalCase> {};

TEST_P(FatalCodeTest, RaisesItsFault) {
    ParseErrorHandler handler;
    const FatalCase c = GetParam();
    const std::function<void()> check = [&] { handler.CheckFatal(c.code); };
    const std::string fault = c.fault;
    if (fault == "read") {
        EXPECT_THROW(check(), ReadFault);
    } else if (fault == "memory") {
        EXPECT_THROW(check(), MemoryAllocationFault);
    } else if (fault == "logic") {
        try {
            check();
            ADD_FAILURE() << "no fault";
        } catch (const IllegalUsageFault&) {
            ADD_FAILURE() << "a more special fault than LogicFault";
        } catch (const InvalidArgumentFault&) {
            ADD_FAILURE() << "a more special fault than LogicFault";
        } catch (const LogicFault&) {
        }
    } else {
        EXPECT_NO_THROW(check());
    }
}

INSTANTIATE_TEST_SUITE_P(Codes, FatalCodeTest,
                         testing::Values(FatalCase{1, "none"}, FatalCase{2, "read"}, FatalCase{3, "memory"},
                                         FatalCase{4, "read"}, FatalCase{5, "logic"}, FatalCase{6, "logic"},
                                         FatalCase{7, "none"}, FatalCase{25, "none"}));

TEST(ParseErrorHandlerTest, OneEntryPerTokenWhicheverSlotReports) {
    ErrorList errors;
    ParseErrorHandler handler;
    handler.SetErrors(&errors);
    auto dictionary = markup_test::BuildSampleDictionary();
    Token token;
    token.text = "p align=up";
    token.line = 3;
    token.endLine = 4;
    Attribute attribute(markup_test::kAlign);
    attribute.value = "up";
    handler.ReportOnAttribute(dictionary.get(), 20, &token, &attribute);
    handler.Report(31, &token);
    handler.ReportAtToken(12, &token, 1);
    handler.ReportOnElement(dictionary.get(), 12, &token, nullptr);
    ASSERT_EQ(errors.Count(), 1u);
    const ErrorSpec& entry = *errors.At(0);
    EXPECT_EQ(entry.code, 20u);
    EXPECT_EQ(entry.line, 3u);
    EXPECT_EQ(entry.endLine, 4u);
    EXPECT_EQ(Str(entry.context), "p align=up");
    EXPECT_EQ(Str(entry.attribute), "ALIGN");
    EXPECT_EQ(Str(entry.value), "up");
    EXPECT_EQ(entry.isWarning, 0);
    // A report without a token is recorded whatever came before.
    handler.ReportCode(9);
    EXPECT_EQ(errors.Count(), 2u);
}

TEST(ParseErrorHandlerTest, ControlCharactersBecomeBlanksAndNamesUpperCase) {
    ErrorList errors;
    ParseErrorHandler handler;
    handler.SetErrors(&errors);
    auto dictionary = markup_test::BuildSampleDictionary();
    Token token;
    token.text = "p\tclass\n=\x01x\xE9";
    AttrElement element;
    element.SetTypeId(markup_test::kPara);
    element.SetText(nullptr, "line\r\none\xE9");
    handler.ReportOnElement(dictionary.get(), 12, &token, &element);
    ASSERT_EQ(errors.Count(), 1u);
    EXPECT_EQ(Str(errors.At(0)->context), "p class =\x20x\xE9");  // 128 and up stay
    EXPECT_EQ(Str(errors.At(0)->element), "P");
    EXPECT_EQ(Str(errors.At(0)->value), "line  one\xE9");
    Token warned;
    handler.ReportAtToken(35, &warned, 1);
    EXPECT_EQ(errors.At(1)->isWarning, 1);
}

TEST(ParseErrorHandlerTest, QuietElementsRecordNothingAndSilenceTheirToken) {
    ErrorList errors;
    ParseErrorHandler handler;
    handler.SetErrors(&errors);
    for (bool placeholder : {true, false}) {
        Token token;
        AttrElement element;
        element.SetTypeId(placeholder ? std::uint32_t{kKindPlaceholder} : 12u);
        if (!placeholder) element.SetFlags(DocElement::kFlagQuiet);
        handler.ReportOnElement(nullptr, 13, &token, &element);
        EXPECT_EQ(errors.Count(), 0u);
        EXPECT_EQ(token.reported, 1u);
        handler.Report(22, &token);  // the token stays silent
        EXPECT_EQ(errors.Count(), 0u);
    }
    // An element whose id nothing names is reported without a name.
    Token token;
    AttrElement unnamed;
    unnamed.SetTypeId(400);
    handler.ReportOnElement(nullptr, 21, &token, &unnamed);
    ASSERT_EQ(errors.Count(), 1u);
    EXPECT_TRUE(errors.At(0)->element.IsEmpty());
}

TEST(ParseErrorHandlerTest, WithoutAListNothingIsRecordedAndFatalCodesStillRaise) {
    ParseErrorHandler handler;
    Token token;
    handler.Report(25, &token);
    EXPECT_EQ(token.reported, 0u);
    EXPECT_THROW(handler.Report(kDiag_ReadFailed, &token), ReadFault);
}

TEST(ParseErrorHandlerTest, TheListAsText) {
    ErrorList errors;
    ParseErrorHandler handler;
    handler.SetErrors(&errors);
    Token token;
    token.text = "&nope";
    token.line = 2;
    token.endLine = 2;
    handler.Report(25, &token);
    Token other;
    handler.ReportAtToken(35, &other, 1);
    EXPECT_EQ(DumpDiagnostics(errors), "25 2-2 context=\"&nope\"\n35 0-0 warning\n");
}

}  // namespace
}  // namespace markup
