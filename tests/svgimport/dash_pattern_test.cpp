// Dash lists for the host's outline record: solid lines, odd lists, the
// offset turned into the list, whole line widths and the record's room.
#include "svgimport/dash_pattern.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using SVG::HostDashes;
using SVG::WDashInput;

struct DashRow {
    const char* name;
    WDashInput input;
    std::vector<int16_t> entries;
};

class Dashes : public ::testing::TestWithParam<DashRow> {};

TEST_P(Dashes, FitTheRecord) {
    const DashRow& row = GetParam();
    EXPECT_EQ(HostDashes(row.input), row.entries);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, Dashes,
    ::testing::Values(
        DashRow{"none", {{}, 0, 1, false, 11}, {}},
        DashRow{"plain", {{4, 2}, 0, 1, false, 11}, {4, 2}},
        DashRow{"in_line_widths", {{10, 5}, 0, 2, false, 11}, {5, 3}},
        DashRow{"odd_list_as_written", {{3, 1, 2}, 0, 1, false, 11}, {3, 1, 2}},
        DashRow{"negative_is_solid", {{4, -2}, 0, 1, false, 11}, {}},
        DashRow{"all_zero_is_solid", {{0, 0}, 0, 1, false, 11}, {}},
        DashRow{"offset_of_a_whole_dash", {{4, 2}, 4, 1, false, 11}, {0, 2, 4, 0}},
        DashRow{"offset_of_the_period", {{4, 2}, 12, 1, false, 11}, {4, 2}},
        DashRow{"offset_inside_a_dash", {{4, 2}, 1, 1, false, 11}, {3, 2, 1, 0}},
        DashRow{"negative_offset", {{4, 2}, -1, 1, false, 11}, {0, 1, 4, 1}},
        DashRow{"offset_inside_a_gap", {{4, 2}, 5, 1, false, 11}, {0, 1, 4, 1}},
        DashRow{"inside_a_gap_round_caps", {{4, 2}, 5, 1, true, 11}, {4, 2}},
        DashRow{"odd_list_offset", {{3, 1, 2}, 3, 1, false, 11}, {0, 1, 2, 3, 1, 2, 3, 0}},
        DashRow{"turned_too_long_keeps_the_list", {{1, 2, 3, 4, 5, 6, 7}, 1, 1, false, 11}, {1, 2, 3, 4, 5, 6, 7}},
        DashRow{"past_the_room_even_first",
                {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, 0, 1, false, 11},
                {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
        DashRow{"long_dash_held", {{1e9, 1}, 0, 1, false, 11}, {32767, 1}},
        // Halves cut by the offset: the ends round, so the period stays 3.
        DashRow{"cut_halves_keep_the_period", {{8, 4}, 10, 4, false, 11}, {0, 1, 2, 0}},
        DashRow{"rounding_does_not_add_up", {{3, 3, 3, 3}, 0, 2, false, 11}, {2, 1, 2, 1}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
