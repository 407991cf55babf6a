// System colours and metrics: the values a desktop of the classic scheme
// answers, so that presentation that asks for "the window colour" or "the
// scroll-bar width" gets the same numbers on every machine.
#pragma once

#include <cstdint>

namespace platform {

// Colour indexes the engines ask for.
enum SystemColourIndex : int {
    kColourWindow = 5,
    kColourWindowText = 8,
    kColourButtonFace = 15,
    kColourButtonShadow = 16,
    kColourButtonText = 18,
};

// Metric indexes the engines ask for.
enum SystemMetricIndex : int {
    kMetricScreenWidth = 0,
    kMetricScreenHeight = 1,
    kMetricVerticalScrollWidth = 2,
    kMetricHorizontalScrollHeight = 3,
    kMetricEdgeWidth = 45,
    kMetricEdgeHeight = 46,
};

// The colour of a display element as 0x00BBGGRR; 0 for an index the table
// does not know.
std::uint32_t SystemColour(int index);

// A size of the desktop in pixels; 0 for an index the table does not know.
std::int32_t SystemMetric(int index);

// Logical dots per inch of the screen.
inline constexpr std::int32_t kScreenDotsPerInch = 96;

}  // namespace platform
