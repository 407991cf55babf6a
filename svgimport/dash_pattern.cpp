// Dash lists for the host's outline record: SVG's repetition of odd lists,
// the dash offset turned into the pattern, whole line widths and the room
// of the record.
#include "svgimport/dash_pattern.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace SVG {
namespace {

// Whole line widths: the ends of the entries along the pattern are rounded
// (half away from zero) and the entries are their differences, so that the
// pieces a turn cuts keep the pattern's period between them instead of
// each rounding away on its own.
std::vector<int16_t> Entries(const std::vector<double>& lengths, double width) {
    const double unit = width > 0 ? width : 1;
    std::vector<int16_t> out;
    out.reserve(lengths.size());
    double end = 0;
    double rounded = 0;
    for (double length : lengths) {
        end += length / unit;
        const double next = std::round(end);
        out.push_back(static_cast<int16_t>(std::clamp(next - rounded, 0.0, 32767.0)));
        rounded = next;
    }
    return out;
}

// The pattern begun `offset` into itself, still a list of dashes and gaps
// in turn that starts with a dash.
std::vector<double> Turned(const std::vector<double>& pattern, double offset, bool zeroDashShows) {
    const double period = std::accumulate(pattern.begin(), pattern.end(), 0.0);
    double at = std::fmod(offset, period);
    if (at < 0) at += period;
    // Ends within a rounding error of the start count as reached: lengths
    // converted to host units rarely add up exactly.
    const double slack = period * 1e-9;
    size_t i = 0;
    while (i < pattern.size() && at >= pattern[i] - slack) at = std::max(0.0, at - pattern[i++]);
    if (i >= pattern.size() || (at == 0 && i % 2 == 0)) {
        // The start falls on a dash's beginning: a plain turn.
        std::vector<double> out(pattern.begin() + static_cast<std::ptrdiff_t>(i % pattern.size()), pattern.end());
        out.insert(out.end(), pattern.begin(), pattern.begin() + static_cast<std::ptrdiff_t>(i % pattern.size()));
        return out;
    }
    std::vector<double> rest;  // the entries after the cut one, round to it
    for (size_t k = 1; k < pattern.size(); ++k) rest.push_back(pattern[(i + k) % pattern.size()]);
    std::vector<double> out;
    if (i % 2 == 0) {
        // Inside a dash: its rest, the others, its first part and a gap of
        // nothing that joins the two parts again.
        out.push_back(pattern[i] - at);
        out.insert(out.end(), rest.begin(), rest.end());
        out.push_back(at);
        out.push_back(0);
        return out;
    }
    if (zeroDashShows) {
        // Inside a gap, where a dash of nothing would show: start with the
        // next dash (the dashes come the gap's rest early).
        out.insert(out.end(), rest.begin(), rest.end());
        out.push_back(pattern[i]);
        return out;
    }
    out.push_back(0);
    out.push_back(pattern[i] - at);
    out.insert(out.end(), rest.begin(), rest.end());
    out.push_back(at);
    return out;
}

}  // namespace

std::vector<int16_t> HostDashes(const WDashInput& input) {
    const std::vector<double>& lengths = input.lengths;
    if (lengths.empty()) return {};
    for (double length : lengths) {
        if (!std::isfinite(length) || length < 0) return {};
    }
    if (std::accumulate(lengths.begin(), lengths.end(), 0.0) <= 0) return {};

    std::vector<double> pattern = lengths;
    if (pattern.size() % 2 != 0) pattern.insert(pattern.end(), lengths.begin(), lengths.end());
    if (std::isfinite(input.offset) && input.offset != 0) {
        const std::vector<double> turned = Turned(pattern, input.offset, input.zeroDashShows);
        if (turned.size() <= input.room) return Entries(turned, input.width);
    }
    if (lengths.size() <= input.room) return Entries(lengths, input.width);
    std::vector<double> first(pattern.begin(), pattern.begin() + static_cast<std::ptrdiff_t>(input.room & ~size_t{1}));
    return Entries(first, input.width);
}

}  // namespace SVG
