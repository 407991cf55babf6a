// The regular-expression engine: what patterns accept and reject, the
// errors it throws, the bounds on backtracking, and the format check built
// on it.
#include "markup/parser/regexp.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "markup/parser/dictionary.h"

namespace markup {
namespace {

constexpr int kThrew = -1;

// 1 match, 0 no match, kThrew when the engine threw (always the integer 1).
int Outcome(const char* pattern, const std::string& text) {
    regexp::Program* program = nullptr;
    try {
        program = regexp::regcomp(pattern);
        const int result = regexp::regexec(program, text.c_str());
        std::free(program);
        return result;
    } catch (int thrown) {
        std::free(program);
        EXPECT_EQ(thrown, 1);
        return kThrew;
    }
}

struct Row {
    const char* pattern;
    const char* text;
    int result;
};

void PrintTo(const Row& row, std::ostream* os) {
    *os << '"' << row.pattern << "\" on \"" << row.text << '"';
}

class RegexpRowTest : public testing::TestWithParam<Row> {};

TEST_P(RegexpRowTest, Matches) {
    EXPECT_EQ(Outcome(GetParam().pattern, GetParam().text), GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(Accepts, RegexpRowTest,
                         testing::Values(Row{"a*", "xyz", 1}, Row{"^[0-9]+$", "2024", 1}, Row{"b", "abc", 1},
                                         Row{"^ab|cd$", "xxcd", 1}, Row{"(ab)+c", "xababc", 1},
                                         Row{"a?b", "b", 1}, Row{"colou?r", "color", 1}, Row{"[]x]", "]", 1},
                                         Row{"[-a]", "-", 1}, Row{"[a-]", "-", 1}, Row{"[^0-9]", "12a", 1},
                                         Row{"\\.", "a.b", 1}, Row{"x.*y", "x123y", 1},
                                         Row{"((a|b)c)*d$", "acbcd", 1}, Row{"a+", "caaa", 1},
                                         Row{"$", "", 1}, Row{"(((((((((x)))))))))", "x", 1},
                                         Row{"a|", "zzz", 1}, Row{"()", "", 1}, Row{"[a-a]", "a", 1},
                                         Row{"ab*c", "ac", 1}));

INSTANTIATE_TEST_SUITE_P(Rejects, RegexpRowTest,
                         testing::Values(Row{"^[0-9]+$", "123a", 0}, Row{"^ab", "xab", 0},
                                         Row{"a+", "bbb", 0}, Row{"[^0-9]", "123", 0}, Row{"x.+y", "xy", 0},
                                         Row{"\\*", "a", 0}, Row{"ab$", "abc", 0}, Row{"(ab)+c", "abac", 0}));

// The errors of the compiler, one row each.
INSTANTIATE_TEST_SUITE_P(Errors, RegexpRowTest,
                         testing::Values(Row{"((((((((((x))))))))))", "x", kThrew},  // ten groups
                                         Row{"(a*)*", "", kThrew},  // * over an operand that can be empty
                                         Row{"(|a)+", "", kThrew}, Row{"a**", "", kThrew},  // nested repeats
                                         Row{"a?+", "", kThrew},
                                         Row{"*a", "", kThrew},  // a repeat after nothing
                                         Row{"(+)", "", kThrew}, Row{"[z-a]", "", kThrew},  // reversed range
                                         Row{"[a-c", "", kThrew},
                                         Row{"a\\", "", kThrew},  // trailing backslash
                                         Row{"(ab", "", kThrew}, Row{"ab)", "", kThrew}));

TEST(RegexpTest, NullArgumentsAndDamagedProgramsThrow) {
    EXPECT_THROW(regexp::regcomp(nullptr), int);
    regexp::Program* program = regexp::regcomp("a");
    EXPECT_THROW(regexp::regexec(program, nullptr), int);
    EXPECT_THROW(regexp::regexec(nullptr, "a"), int);
    program->Code()[0] = 0;
    EXPECT_THROW(regexp::regexec(program, "a"), int);
    std::free(program);
}

TEST(RegexpTest, TheStartHintsOfTheProgram) {
    regexp::Program* program = regexp::regcomp("abc|x");
    EXPECT_EQ(program->regstart, 0);  // two alternatives
    std::free(program);
    program = regexp::regcomp("^ab");
    EXPECT_EQ(program->reganch, 1);
    std::free(program);
    program = regexp::regcomp("x*hello");
    EXPECT_EQ(std::string(program->regmust, program->regmlen), "hello");
    EXPECT_EQ(regexp::regexec(program, "say hello"), 1);
    EXPECT_EQ(program->endp[0] - program->startp[0], 5);
    std::free(program);
    program = regexp::regcomp("abc");
    EXPECT_EQ(program->regstart, 'a');
    std::free(program);
}

TEST(RegexpTest, ProgramsAtTheSizeBoundAreRefused) {
    // Each literal costs its bytes: 3 for the node, one per character, 1 for
    // the end of the operand; the frame around it takes 10 more.
    EXPECT_EQ(Outcome(std::string(32000, 'a').c_str(), std::string(32000, 'a')), 1);
    EXPECT_EQ(Outcome(std::string(32760, 'a').c_str(), "a"), kThrew);
}

// A looping group over a long text, and a pattern that backtracks
// exponentially: both end as engine errors, without exhausting the stack.
TEST(RegexpTest, BacktrackingIsBounded) {
    std::string pairs;
    for (int i = 0; i < 100000; ++i) pairs += "ab";
    EXPECT_EQ(Outcome("^(ab)*$", pairs), kThrew);
    EXPECT_EQ(Outcome("^(ab)*$", "ababab"), 1);
    EXPECT_EQ(Outcome("^(a|a)*b", std::string(40, 'a')), kThrew);
}

TEST(CheckFormatTest, UrlsAndPatternsFromTheDictionary) {
    Dictionary d;
    DictionaryEditor& editor = d.CreateEditor();
    d.AddValue(std::make_unique<ValueDef>(40, "digits", "^[0-9]+$"));
    d.AddValue(std::make_unique<ValueDef>(41, "broken", "(a"));
    EXPECT_TRUE(CheckFormat(&editor, 40, "123"));
    EXPECT_FALSE(CheckFormat(&editor, 40, "12x"));
    EXPECT_FALSE(CheckFormat(&editor, 41, "a"));  // the pattern throws
    EXPECT_FALSE(CheckFormat(&editor, 42, "a"));  // no such value
    EXPECT_FALSE(CheckFormat(nullptr, 40, "123"));
    EXPECT_TRUE(CheckFormat(nullptr, kFormatURL, "http://example.com/a.svg"));
}

}  // namespace
}  // namespace markup
