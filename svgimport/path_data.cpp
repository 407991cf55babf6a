// Path data and point lists to host points: a small reader over the path
// grammar that keeps the current point, the subpath's start and the last
// control point in user units, so that relative, smooth and closing
// commands never depend on rounded host coordinates.
#include "svgimport/path_data.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "svgimport/values.h"

namespace SVG {
namespace {

constexpr bool IsSeparator(char c) {
    return IsWhiteSpace(c) || c == ',';
}

WPoint Plus(WPoint a, WPoint b) {
    return {a.x + b.x, a.y + b.y};
}

WPoint Reflect(WPoint control, WPoint about) {
    return {2 * about.x - control.x, 2 * about.y - control.y};
}

class PathReader {
  public:
    PathReader(std::string_view data, const WMatrix& toHost, WPath& path, WUserBounds* bounds)
        : text_(data), toHost_(toHost), path_(path), bounds_(bounds) {}

    void Read() {
        char command = 0;
        while (true) {
            SkipSeparators();
            if (pos_ >= text_.size()) return;
            const char c = text_[pos_];
            if (IsCommand(c)) {
                command = c;
                ++pos_;
            } else if (command == 0 || !StartsNumber(c) || command == 'Z' || command == 'z') {
                return;  // not path data: what was read stays
            } else if (command == 'M') {
                command = 'L';  // pairs after a move are lines
            } else if (command == 'm') {
                command = 'l';
            }
            if (!started_ && command != 'M' && command != 'm') return;
            if (!Segment(command)) return;
        }
    }

  private:
    static bool IsCommand(char c) {
        switch (c) {
            case 'M':
            case 'm':
            case 'L':
            case 'l':
            case 'H':
            case 'h':
            case 'V':
            case 'v':
            case 'C':
            case 'c':
            case 'S':
            case 's':
            case 'Q':
            case 'q':
            case 'T':
            case 't':
            case 'A':
            case 'a':
            case 'Z':
            case 'z':
                return true;
            default:
                return false;
        }
    }
    static bool StartsNumber(char c) { return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.'; }

    void SkipSeparators() {
        while (pos_ < text_.size() && IsSeparator(text_[pos_])) ++pos_;
    }

    bool Number(double* out) {
        SkipSeparators();
        const size_t taken = ScanNumber(text_.substr(pos_), out);
        if (taken == 0 || !std::isfinite(*out)) return false;
        pos_ += taken;
        return true;
    }
    bool Pair(bool relative, WPoint* out) {
        WPoint p;
        if (!Number(&p.x) || !Number(&p.y)) return false;
        *out = relative ? Plus(current_, p) : p;
        return true;
    }
    bool Flag(bool* out) {
        SkipSeparators();
        if (pos_ >= text_.size() || (text_[pos_] != '0' && text_[pos_] != '1')) return false;
        *out = text_[pos_] == '1';
        ++pos_;
        return true;
    }

    void Emit(WPoint p, int32_t code) {
        path_.AddPoint(HostPointOf(toHost_, p), code);
        if (bounds_ != nullptr) bounds_->Add(p);
    }

    // A drawing command after a close starts its subpath at the start.
    void EnsureSubpath() {
        if (!reopen_) return;
        reopen_ = false;
        subpath_ = path_.points.size();
        Emit(current_, segment::kMove);
    }

    void LineTo(WPoint p) {
        EnsureSubpath();
        Emit(p, segment::kLine);
        current_ = p;
    }
    void CubicTo(WPoint c1, WPoint c2, WPoint end) {
        EnsureSubpath();
        Emit(c1, segment::kControl);
        Emit(c2, segment::kControl);
        Emit(end, segment::kCurveEnd);
        current_ = end;
    }

    // One segment's numbers; false when they are missing or bad.
    bool Segment(char command) {
        const bool relative = command >= 'a';
        const char upper = relative ? static_cast<char>(command - 'a' + 'A') : command;
        // The first move is absolute even when written "m".
        const bool rel = relative && (started_ || upper != 'M');
        Previous previous = Previous::kOther;
        switch (upper) {
            case 'M': {
                WPoint p;
                if (!Pair(rel, &p)) return false;
                subpath_ = path_.points.size();
                Emit(p, segment::kMove);
                current_ = start_ = p;
                started_ = true;
                reopen_ = false;
                break;
            }
            case 'L': {
                WPoint p;
                if (!Pair(rel, &p)) return false;
                LineTo(p);
                break;
            }
            case 'H':
            case 'V': {
                double v;
                if (!Number(&v)) return false;
                WPoint p = current_;
                double& axis = upper == 'H' ? p.x : p.y;
                axis = rel ? axis + v : v;
                LineTo(p);
                break;
            }
            case 'C': {
                WPoint c1, c2, end;
                if (!Pair(rel, &c1) || !Pair(rel, &c2) || !Pair(rel, &end)) return false;
                CubicTo(c1, c2, end);
                control_ = c2;
                previous = Previous::kCubic;
                break;
            }
            case 'S': {
                WPoint c2, end;
                if (!Pair(rel, &c2) || !Pair(rel, &end)) return false;
                const WPoint c1 = previous_ == Previous::kCubic ? Reflect(control_, current_) : current_;
                CubicTo(c1, c2, end);
                control_ = c2;
                previous = Previous::kCubic;
                break;
            }
            case 'Q':
            case 'T': {
                WPoint q, end;
                if (upper == 'Q') {
                    if (!Pair(rel, &q) || !Pair(rel, &end)) return false;
                } else {
                    if (!Pair(rel, &end)) return false;
                    q = previous_ == Previous::kQuadratic ? Reflect(control_, current_) : current_;
                }
                const WPoint from = current_;
                // The cubic that is the quadratic: controls two thirds of
                // the way from each end to the quadratic's control.
                CubicTo({from.x + 2.0 / 3 * (q.x - from.x), from.y + 2.0 / 3 * (q.y - from.y)},
                        {end.x + 2.0 / 3 * (q.x - end.x), end.y + 2.0 / 3 * (q.y - end.y)}, end);
                control_ = q;
                previous = Previous::kQuadratic;
                break;
            }
            case 'A': {
                double rx, ry, rotation;
                bool large, sweep;
                WPoint end;
                if (!Number(&rx) || !Number(&ry) || !Number(&rotation) || !Flag(&large) || !Flag(&sweep) ||
                    !Pair(rel, &end)) {
                    return false;
                }
                if (rx == 0 || ry == 0) {
                    LineTo(end);
                } else {
                    for (const WCubic& c : ArcToCubics(current_, rx, ry, rotation, large, sweep, end)) {
                        CubicTo(c.control1, c.control2, c.end);
                    }
                    current_ = end;
                }
                break;
            }
            case 'Z':
                if (!reopen_ && path_.points.size() > subpath_ + 1) path_.CloseSubpath(subpath_);
                current_ = start_;
                reopen_ = true;
                break;
            default:
                return false;
        }
        previous_ = previous;
        return true;
    }

    enum class Previous { kOther, kCubic, kQuadratic };

    std::string_view text_;
    size_t pos_ = 0;
    const WMatrix& toHost_;
    WPath& path_;
    WUserBounds* bounds_;
    bool started_ = false;
    bool reopen_ = false;  // closed: the next drawing command moves to the start first
    size_t subpath_ = 0;   // index of the subpath's move
    WPoint current_;
    WPoint start_;
    WPoint control_;  // the last cubic's second control, or the last quadratic's control
    Previous previous_ = Previous::kOther;
};

int32_t HostCoordinate(double v) {
    const double r = RoundHalfAway(v);
    if (!(r > INT32_MIN)) return std::isnan(r) ? 0 : INT32_MIN;
    return r >= INT32_MAX ? INT32_MAX : static_cast<int32_t>(r);
}

}  // namespace

svgf::HostPoint HostPointOf(const WMatrix& toHost, WPoint user) {
    const WPoint h = toHost.Transform(user);
    return {HostCoordinate(h.x), HostCoordinate(h.y)};
}

void WUserBounds::Add(WPoint p) {
    if (!any) {
        low = high = p;
        any = true;
        return;
    }
    low = {std::min(low.x, p.x), std::min(low.y, p.y)};
    high = {std::max(high.x, p.x), std::max(high.y, p.y)};
}

void ReadPathData(std::string_view data, const WMatrix& toHost, WPath& path, WUserBounds* bounds) {
    PathReader(data, toHost, path, bounds).Read();
}

void ReadPoints(std::string_view text, const WMatrix& toHost, WPath& path, bool closed, WUserBounds* bounds) {
    const size_t first = path.points.size();
    size_t pos = 0;
    const auto number = [&](double* out) {
        while (pos < text.size() && IsSeparator(text[pos])) ++pos;
        const size_t taken = ScanNumber(text.substr(pos), out);
        pos += taken;
        return taken > 0 && std::isfinite(*out);
    };
    WPoint p;
    while (number(&p.x) && number(&p.y)) {
        path.AddPoint(HostPointOf(toHost, p), path.points.size() == first ? segment::kMove : segment::kLine);
        if (bounds != nullptr) bounds->Add(p);
    }
    if (closed && path.points.size() > first) {
        path.kinds.back() |= svgf::import_node::kClose | svgf::import_node::kOnCurve;
        path.kinds[first] = static_cast<uint8_t>(path.kinds[first] & ~svgf::import_node::kOnCurve);
    }
}

std::vector<WCubic> ArcToCubics(WPoint from, double rx, double ry, double rotation, bool largeArc, bool sweep,
                                WPoint to) {
    std::vector<WCubic> out;
    if (from.x == to.x && from.y == to.y) return out;
    rx = std::fabs(rx);
    ry = std::fabs(ry);
    if (rx == 0 || ry == 0 || !std::isfinite(rx) || !std::isfinite(ry)) {
        out.push_back({{from.x + (to.x - from.x) / 3, from.y + (to.y - from.y) / 3},
                       {from.x + 2 * (to.x - from.x) / 3, from.y + 2 * (to.y - from.y) / 3},
                       to});
        return out;
    }
    constexpr double kPi = std::numbers::pi;
    const double phi = std::fmod(rotation, 360.0) * kPi / 180;
    const double cosPhi = std::cos(phi);
    const double sinPhi = std::sin(phi);
    // The ends in the ellipse's own frame, about the chord's midpoint.
    const double dx = (from.x - to.x) / 2;
    const double dy = (from.y - to.y) / 2;
    const double x1 = cosPhi * dx + sinPhi * dy;
    const double y1 = -sinPhi * dx + cosPhi * dy;
    const double lambda = (x1 * x1) / (rx * rx) + (y1 * y1) / (ry * ry);
    if (lambda > 1) {
        const double s = std::sqrt(lambda);
        rx *= s;
        ry *= s;
    }
    const double num = rx * rx * ry * ry - rx * rx * y1 * y1 - ry * ry * x1 * x1;
    const double den = rx * rx * y1 * y1 + ry * ry * x1 * x1;
    double root = den > 0 ? std::sqrt(std::max(0.0, num / den)) : 0;
    if (largeArc == sweep) root = -root;
    const double cx1 = root * rx * y1 / ry;
    const double cy1 = -root * ry * x1 / rx;
    const WPoint centre{cosPhi * cx1 - sinPhi * cy1 + (from.x + to.x) / 2,
                        sinPhi * cx1 + cosPhi * cy1 + (from.y + to.y) / 2};
    const double theta1 = std::atan2((y1 - cy1) / ry, (x1 - cx1) / rx);
    const double theta2 = std::atan2((-y1 - cy1) / ry, (-x1 - cx1) / rx);
    double delta = theta2 - theta1;
    if (sweep && delta < 0) delta += 2 * kPi;
    if (!sweep && delta > 0) delta -= 2 * kPi;

    const int count = std::max(1, static_cast<int>(std::ceil(std::fabs(delta) / (kPi / 2) - 1e-9)));
    const double step = delta / count;
    const double k = 4.0 / 3.0 * std::tan(step / 4);
    const auto at = [&](double t) {
        const double ex = rx * std::cos(t), ey = ry * std::sin(t);
        return WPoint{centre.x + cosPhi * ex - sinPhi * ey, centre.y + sinPhi * ex + cosPhi * ey};
    };
    const auto tangent = [&](double t) {
        const double ex = -rx * std::sin(t), ey = ry * std::cos(t);
        return WPoint{cosPhi * ex - sinPhi * ey, sinPhi * ex + cosPhi * ey};
    };
    double t = theta1;
    WPoint p = from;
    for (int i = 0; i < count; ++i) {
        const double t2 = i + 1 == count ? theta1 + delta : t + step;
        const WPoint q = i + 1 == count ? to : at(t2);
        const WPoint d1 = tangent(t), d2 = tangent(t2);
        out.push_back({{p.x + k * d1.x, p.y + k * d1.y}, {q.x - k * d2.x, q.y - k * d2.y}, q});
        p = q;
        t = t2;
    }
    return out;
}

}  // namespace SVG
