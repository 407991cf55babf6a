// The spaces a text keeps under xml:space "default" and "preserve", over
// the stretches of its elements.
#include "text_space.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using SVG::detail::SpacedText;

struct SpaceCase {
    const char* name;
    std::vector<SpacedText> in;
    std::vector<std::string> out;
};

class Spaces : public testing::TestWithParam<SpaceCase> {};

TEST_P(Spaces, AreArrangedAsXmlSpaceSays) {
    std::vector<SpacedText> stretches = GetParam().in;
    SVG::detail::ArrangeSpaces(stretches);
    std::vector<std::string> texts;
    for (const SpacedText& s : stretches) texts.push_back(s.text);
    EXPECT_EQ(texts, GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Spaces,
    testing::Values(
        // Newlines go (they join what they split), tabs are spaces.
        SpaceCase{"default_collapses", {{"  Hello \n  world\t\t ", false}}, {"Hello world"}},
        SpaceCase{"default_drops_newlines", {{"Hel\nlo\r\nyou", false}}, {"Helloyou"}},
        SpaceCase{"default_across_elements", {{"A ", false}, {" B ", false}, {"  ", false}}, {"A ", "B", ""}},
        SpaceCase{"default_all_blank", {{" \t\n ", false}}, {""}},
        // Nothing is collapsed or trimmed; each line end is one space.
        SpaceCase{"preserve_keeps", {{"  a\tb\r\nc\rd\n ", true}}, {"  a b c d  "}},
        SpaceCase{"preserve_then_default", {{"a ", true}, {"  b  ", false}}, {"a ", "b"}},
        SpaceCase{"default_end_stops_at_preserve", {{"a", false}, {"  ", true}, {" ", false}}, {"a", "  ", ""}},
        SpaceCase{"no_break_space_stays", {{"\xC2\xA0x\xC2\xA0", false}}, {"\xC2\xA0x\xC2\xA0"}},
        // Runs longer than a word of bytes, blanks at every place in it.
        SpaceCase{"default_long_runs",
                  {{"  Abcdefghijklmnop  \n\tqrstuvwxyz0123 \r\n456789ABCDEFGH\t\tIJ", false}},
                  {"Abcdefghijklmnop qrstuvwxyz0123 456789ABCDEFGH IJ"}},
        SpaceCase{"preserve_long_runs",
                  {{"Abcdefghijklmnop\r\nqrstuvwxyz0123\t456789ABCDEFGHIJ  ", true}},
                  {"Abcdefghijklmnop qrstuvwxyz0123 456789ABCDEFGHIJ  "}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
