// Transform lists: keyword tokens followed by their number tokens, each
// transform multiplied into the result in written order.
#include <cmath>
#include <vector>

#include "svgimport/values.h"

namespace SVG {
namespace {

bool IsSeparator(char c) {
    return IsWhiteSpace(c) || c == '(' || c == ')' || c == ',';
}

// The transform a keyword and its numbers stand for; none when the keyword
// is not one or its numbers are missing.
std::optional<WMatrix> TransformOf(std::string_view keyword, const std::vector<double>& n) {
    const size_t count = n.size();
    if (keyword == "matrix") {
        if (count < 6) return std::nullopt;
        return WMatrix(n[0], n[1], n[2], n[3], n[4], n[5]);
    }
    if (keyword == "translate") {
        if (count < 1) return std::nullopt;
        return WMatrix(1, 0, 0, 1, n[0], count >= 2 ? n[1] : 0);
    }
    if (keyword == "scale") {
        if (count < 1) return std::nullopt;
        return WMatrix(n[0], 0, 0, count >= 2 ? n[1] : n[0], 0, 0);
    }
    if (keyword == "rotate") {
        if (count < 1) return std::nullopt;
        const double angle = n[0] * kRadiansPerDegree;
        const double cs = std::cos(angle), sn = std::sin(angle);
        WMatrix rotation(cs, sn, -sn, cs, 0, 0);
        if (count < 3) return rotation;
        // About (cx, cy): translate(cx, cy) rotate(angle) translate(-cx, -cy).
        WMatrix about(1, 0, 0, 1, n[1], n[2]);
        about.Multiply(rotation);
        about.Multiply(1, 0, 0, 1, -n[1], -n[2]);
        return about;
    }
    if (keyword == "skewX") {
        if (count < 1) return std::nullopt;
        return WMatrix(1, 0, std::tan(n[0] * kRadiansPerDegree), 1, 0, 0);
    }
    if (keyword == "skewY") {
        if (count < 1) return std::nullopt;
        return WMatrix(1, std::tan(n[0] * kRadiansPerDegree), 0, 1, 0, 0);
    }
    return std::nullopt;
}

}  // namespace

WMatrix ParseTransform(std::string_view text) {
    std::vector<std::string_view> tokens;
    for (size_t at = 0; at < text.size();) {
        if (IsSeparator(text[at])) {
            ++at;
            continue;
        }
        size_t end = at;
        while (end < text.size() && !IsSeparator(text[end])) ++end;
        tokens.push_back(text.substr(at, end - at));
        at = end;
    }

    WMatrix result;
    std::vector<double> numbers;
    for (size_t i = 0; i < tokens.size();) {
        const std::string_view keyword = tokens[i++];
        // The numbers that follow the keyword; a stray number before any
        // keyword, or past what its keyword takes, adds nothing.
        numbers.clear();
        double value = 0;
        while (i < tokens.size() && ScanNumber(tokens[i], &value) > 0) {
            numbers.push_back(value);
            ++i;
        }
        if (const std::optional<WMatrix> t = TransformOf(keyword, numbers)) result.Multiply(*t);
    }
    return result;
}

}  // namespace SVG
