// Geometry in the drawing description: path nodes from the import's kind
// bytes, boxes, matrices and the text's font.
#include <algorithm>
#include <charconv>
#include <cmath>

#include "description.h"
#include "json_text.h"

namespace host::import {
namespace {

// The most points one described path may hold.
constexpr size_t kMaxPathPoints = 65535;

struct Node {
    char command;  // 'M', 'L', 'C' or 'Z'
    svgf::HostPoint p[3];
    int count;  // points
};

void AppendInt(std::string& out, int64_t v) {
    char digits[24];
    const std::to_chars_result end = std::to_chars(digits, digits + sizeof digits, v);
    out.append(digits, end.ptr);
}

// Appended in place: a path of many nodes made a few strings a point.
void AppendNode(std::string& out, const Node& n, svgf::HostPoint offset) {
    out += "[\"";
    out += n.command;
    out += '"';
    for (int i = 0; i < n.count; ++i) {
        out += ", ";
        AppendInt(out, ClampHost(int64_t{n.p[i].x} + offset.x));
        out += ", ";
        AppendInt(out, ClampHost(int64_t{n.p[i].y} + offset.y));
    }
    out += ']';
}

// The kind bytes read as nodes: a move, a line, two controls and a curve's
// end, and the close bit after the node (or the curve) it marks. Controls
// that do not come in twos before an end are taken as lines, and a path
// that does not begin with a move begins with one at its first point.
std::vector<Node> ReadNodes(const svgf::HostPoint* points, const uint8_t* kinds, size_t count,
                            Warnings& warnings) {
    std::vector<Node> nodes;
    nodes.reserve(count);
    std::vector<svgf::HostPoint> controls;
    bool malformed = false;
    bool closePending = false;
    auto flushControls = [&] {
        for (svgf::HostPoint c : controls) nodes.push_back({nodes.empty() ? 'M' : 'L', {c}, 1});
        if (!controls.empty()) malformed = true;
        controls.clear();
    };
    for (size_t i = 0; i < count; ++i) {
        const uint8_t kind = kinds[i];
        const uint8_t role = kind & svgf::node::kRoleMask;
        const bool close = (kind & svgf::node::kClose) != 0;
        if (role == svgf::node::kControl) {
            controls.push_back(points[i]);
            closePending = closePending || close;
            if (controls.size() > 2) {
                nodes.push_back({nodes.empty() ? 'M' : 'L', {controls.front()}, 1});
                controls.erase(controls.begin());
                malformed = true;
            }
            continue;
        }
        if (role == svgf::node::kCurveEnd && controls.size() == 2) {
            nodes.push_back({'C', {controls[0], controls[1], points[i]}, 3});
            controls.clear();
        } else {
            flushControls();
            const bool move = role == svgf::node::kMove || nodes.empty();
            if (role == svgf::node::kCurveEnd) malformed = true;
            if (nodes.empty() && role != svgf::node::kMove) malformed = true;
            nodes.push_back({move ? 'M' : 'L', {points[i]}, 1});
        }
        if (close || closePending) nodes.push_back({'Z', {}, 0});
        closePending = false;
    }
    flushControls();
    if (malformed) warnings.push_back("a path's kind bytes did not follow one another; stray points went as lines");
    return nodes;
}

// Cuts the nodes into runs of at most kMaxPathPoints points, whole subpaths
// each where they fit; a subpath longer than a run is cut, each piece
// starting where the last one ended.
std::vector<std::vector<Node>> Chunks(const std::vector<Node>& nodes) {
    size_t total = 0;
    for (const Node& n : nodes) total += n.count;
    if (total <= kMaxPathPoints) return {nodes};
    std::vector<std::vector<Node>> chunks(1);
    size_t points = 0;
    for (size_t start = 0; start < nodes.size();) {
        size_t end = start + 1;
        size_t subpathPoints = nodes[start].count;
        while (end < nodes.size() && nodes[end].command != 'M') subpathPoints += nodes[end++].count;
        if (points > 0 && points + subpathPoints > kMaxPathPoints) {
            chunks.emplace_back();
            points = 0;
        }
        svgf::HostPoint last{0, 0};
        for (size_t i = start; i < end; ++i) {
            const Node& n = nodes[i];
            if (points + n.count > kMaxPathPoints) {
                chunks.emplace_back();
                chunks.back().push_back({'M', {last}, 1});
                points = 1;
            }
            chunks.back().push_back(n);
            points += n.count;
            if (n.count > 0) last = n.p[n.count - 1];
        }
        start = end;
    }
    return chunks;
}

}  // namespace

std::vector<std::string> PathNodes(const svgf::HostPoint* points, const uint8_t* kinds, size_t count,
                                   svgf::HostPoint offset, Warnings& warnings) {
    std::vector<std::string> out;
    if (points == nullptr || kinds == nullptr || count == 0) return out;
    const std::vector<Node> nodes = ReadNodes(points, kinds, count, warnings);
    const std::vector<std::vector<Node>> chunks = Chunks(nodes);
    if (chunks.size() > 1) warnings.push_back("a path of " + Int(count) + " points went as " +
                                              Int(chunks.size()) + " paths");
    for (const std::vector<Node>& chunk : chunks) {
        std::string text = "[";
        text.reserve(16 + chunk.size() * 64);
        for (size_t i = 0; i < chunk.size(); ++i) {
            if (i > 0) text += ", ";
            AppendNode(text, chunk[i], offset);
        }
        text += ']';
        out.push_back(std::move(text));
    }
    return out;
}

std::string AreaMembers(const svgf::HostRect& box, svgf::HostPoint offset) {
    const int64_t left = std::min(box.left, box.right), right = std::max(box.left, box.right);
    const int64_t bottom = std::min(box.bottom, box.top), top = std::max(box.bottom, box.top);
    const int64_t x = ClampHost(left + offset.x), y = ClampHost(bottom + offset.y);
    return "\"x\": " + Int(x) + ", \"y\": " + Int(y) + ", \"width\": " + Int(ClampHost(x + (right - left)) - x) +
           ", \"height\": " + Int(ClampHost(y + (top - bottom)) - y);
}

bool IsIdentity(const svgf::HostMatrix& m) {
    return m.m[0] == 1 && m.m[1] == 0 && m.m[2] == 0 && m.m[3] == 0 && m.m[4] == 1 && m.m[5] == 0;
}

std::string MatrixJson(const svgf::HostMatrix& m, svgf::HostPoint offset, Warnings& warnings) {
    std::string out = "[";
    for (int i = 0; i < 6; ++i) {
        double v = std::isfinite(m.m[i]) ? m.m[i] : 0;
        if (i == 2 || i == 5) {
            const double moved = std::round(v) + (i == 2 ? offset.x : offset.y);
            v = static_cast<double>(ClampHost(static_cast<int64_t>(std::clamp(moved, -4e9, 4e9))));
        }
        if (i != 2 && i != 5 && std::fabs(v) > 1e6) {
            warnings.push_back("a matrix term beyond a million was cut to one");
            v = std::clamp(v, -1e6, 1e6);
        }
        out += (i == 0 ? "" : ", ") + JsonNumber(v);
    }
    return out + "]";
}

std::string FontJson(const std::string& family, int32_t size, uint32_t styleWord) {
    // Exactly one of the low 18 bits: 2k for weight 100 (k + 1), 2k + 1 italic.
    int weight = 400;
    bool italic = false;
    for (int bit = 0; bit < 18; ++bit) {
        if ((styleWord & (1u << bit)) != 0) {
            weight = 100 * (bit / 2 + 1);
            italic = (bit & 1) != 0;
            break;
        }
    }
    std::string out = "{\"family\": " + JsonString(Latin1ToUtf8(family)) + ", \"size\": " + Int(std::max(size, 1));
    if (weight != 400) out += ", \"weight\": " + Int(weight);
    if (italic) out += ", \"italic\": true";
    if ((styleWord & 0x40000000u) != 0) {
        out += ", \"capitals\": \"all\"";
    } else if ((styleWord & 0x20000000u) != 0) {
        out += ", \"capitals\": \"small\"";
    }
    return out + "}";
}

}  // namespace host::import
