// The classic scheme's system colours and metrics.
#include "platform/system_info.h"

#include <array>

namespace platform {

namespace {

// 0x00BBGGRR, by index 0 (scroll bar) to 24 (tool-tip background).
constexpr std::array<std::uint32_t, 25> kColours = {
    0xC0C0C0,  // scroll bar
    0x808000,  // desktop
    0x800000,  // active caption
    0x808080,  // inactive caption
    0xC0C0C0,  // menu
    0xFFFFFF,  // window
    0x000000,  // window frame
    0x000000,  // menu text
    0x000000,  // window text
    0xFFFFFF,  // caption text
    0xC0C0C0,  // active border
    0xC0C0C0,  // inactive border
    0x808080,  // application workspace
    0x800000,  // highlight
    0xFFFFFF,  // highlight text
    0xC0C0C0,  // button face
    0x808080,  // button shadow
    0x808080,  // grey text
    0x000000,  // button text
    0xC0C0C0,  // inactive caption text
    0xFFFFFF,  // button highlight
    0x000000,  // dark shadow
    0xC0C0C0,  // light
    0x000000,  // tool-tip text
    0xE1FFFF,  // tool-tip background
};

struct Metric {
    int index;
    std::int32_t value;
};

constexpr Metric kMetrics[] = {
    {kMetricScreenWidth, 1024},
    {kMetricScreenHeight, 768},
    {kMetricVerticalScrollWidth, 16},
    {kMetricHorizontalScrollHeight, 16},
    {20, 16},  // height of a vertical scroll bar's arrow
    {21, 16},  // width of a horizontal scroll bar's arrow
    {kMetricEdgeWidth, 2},
    {kMetricEdgeHeight, 2},
};

}  // namespace

std::uint32_t SystemColour(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= kColours.size()) return 0;
    return kColours[static_cast<std::size_t>(index)];
}

std::int32_t SystemMetric(int index) {
    for (const Metric& metric : kMetrics) {
        if (metric.index == index) return metric.value;
    }
    return 0;
}

}  // namespace platform
