// Fountain fills as SVG gradients: the end points or centre and radius of the
// gradient over an object's box, and its stops, either from the fountain's
// entries or walked around the hue circle for the computed blends.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "c_format.h"
#include "svg_exp.h"
#include "svg_gradient.h"

namespace svgf {
namespace {

constexpr uint16_t kLinearFountain = 1;
constexpr uint16_t kRadialFountain = 2;
constexpr uint16_t kBlendTwoColours = 0;
constexpr uint16_t kBlendDownwards = 1;
constexpr uint16_t kBlendUpwards = 2;
constexpr uint16_t kBlendCustom = 3;
constexpr uint16_t kNoMidPoint = 50;
// Degrees a gradient's direction may lose to the rounding of its ends.
constexpr double kDirectionTolerance = 0.25;

// The entries the record holds; a negative count reads none.
int EntriesRead(const HostFountain& fountain) {
    return std::clamp<int>(fountain.stopCount, 0, kFountainMaxStops);
}

// A percentage of the fountain on the stops' 0 to 255 scale. Radial fountains
// count from the rim, linear ones from the start; other forms put every stop
// at 0. Values outside 0 to 100 are held at the ends: the stop offset is
// unsigned, and a wrapped value would put the stop at the wrong end.
uint16_t StopOffset(const HostFountain& fountain, double percent) {
    double along = 0;
    if (fountain.subKind == kLinearFountain) {
        along = percent;
    } else if (fountain.subKind == kRadialFountain) {
        along = 100 - percent;
    } else {
        return 0;
    }
    return static_cast<uint16_t>(std::clamp(RoundHalfAway(along * 0.01 * 255), 0, 255));
}

// A stop's level in a transparency fountain is the colour record's byte 8.
uint8_t LevelOf(const HostFountainStop& stop) {
    return stop.colour.channels[4];
}

uint16_t OpacityOfLevel(double level) {
    return static_cast<uint16_t>(std::clamp(RoundHalfAway((1 - level / 255) * 255), 0, 255));
}

uint8_t Halfway(uint8_t from, uint8_t to) {
    return static_cast<uint8_t>(std::clamp(from + RoundHalfAway((to - from) * 0.5), 0, 255));
}

SVGColor HalfwayColour(SVGColor a, SVGColor b) {
    return SVGColor{Halfway(a.red, b.red), Halfway(a.green, b.green), Halfway(a.blue, b.blue)};
}

// The hue record's parts: the hue as the u16 at byte 8, saturation and
// brightness as bytes 10 and 11.
struct Hsb {
    int hue;
    int saturation;
    int brightness;
};

Hsb HsbOf(const ColorRecord& record) {
    return Hsb{record.channels[4] | (record.channels[5] << 8), record.channels[6], record.channels[7]};
}

ColorRecord HsbRecord(int hue, int saturation, int brightness) {
    ColorRecord record{};
    record.model = kColorModelHsb;
    record.channels[4] = static_cast<uint8_t>(hue & 0xFF);
    record.channels[5] = static_cast<uint8_t>((hue >> 8) & 0xFF);
    record.channels[6] = static_cast<uint8_t>(std::clamp(saturation, 0, 255));
    record.channels[7] = static_cast<uint8_t>(std::clamp(brightness, 0, 255));
    return record;
}

// The fountain with its entries in the order of their positions. A host may
// hand them over in any order, but SVG reads stop offsets as never going
// back: an earlier stop further along hides every later one. Entries at one
// position keep their order (a hard edge between two colours).
HostFountain InPositionOrder(const HostFountain& fountain) {
    HostFountain ordered = fountain;
    HostFountainStop* first = ordered.stops;
    std::stable_sort(first, first + EntriesRead(fountain),
                     [](const HostFountainStop& a, const HostFountainStop& b) { return a.position < b.position; });
    return ordered;
}

int Modulo360(int64_t hue) {
    const int64_t r = hue % 360;
    return static_cast<int>(r < 0 ? r + 360 : r);
}

}  // namespace

bool SVGExp::HueInArc(int a, int b, int x, int direction) {
    if (direction == kBlendDownwards) return a > b ? (b < x && x < a) : (x < a || x > b);
    if (direction == kBlendUpwards) return a <= b ? (a < x && x < b) : (x > a || x < b);
    return false;
}

void SVGExp::SetLinearGeometry(const HostFountain& fountain, const HostRect& box,
                               SVGGradient_Linear& gradient) {
    const int64_t x1 = box.left, y1 = box.top, x2 = box.right, y2 = box.bottom;
    const int64_t cx = (x1 + x2) / 2;
    const int64_t cy = (y1 + y2) / 2;
    const int32_t angle = fountain.angle;

    const auto identity = Service<svc::MatrixIdentityFn>(svc::kMatrixIdentity);
    const auto rotate = Service<svc::MatrixRotateFn>(svc::kMatrixRotate);
    const auto transform = Service<svc::TransformPointsFn>(svc::kTransformPoints);
    const auto bounds = Service<svc::BoundingBoxFn>(svc::kBoundingBox);
    // Without the host's rotation the gradient keeps the angle-0 geometry.
    const bool rotated = angle != 0 && identity && rotate && transform && bounds;

    int64_t w = x2 - x1;
    int64_t from = x1;
    int64_t to = x2;
    HostMatrix turnBack{{1, 0, 0, 0, 1, 0}};
    if (rotated) {
        HostMatrix& m = turnBack;
        identity(&m);
        rotate(&m, -angle, static_cast<int32_t>(cx), static_cast<int32_t>(cy));
        HostPoint corners[4] = {
            {box.left, box.top}, {box.right, box.top}, {box.right, box.bottom}, {box.left, box.bottom}};
        transform(corners, &m, 4);
        HostRect turned{};
        bounds(corners, 4, &turned);
        w = static_cast<int64_t>(turned.right) - turned.left;
        from = cx - w / 2;
        to = cx + w / 2;
    }
    const int pad = fountain.edgePad;
    if (pad > 0 && pad < 50) {
        const double half = static_cast<double>(w) * (0.5 - pad * 0.01);
        from = RoundHalfAway(static_cast<double>(cx) - half);
        to = RoundHalfAway(static_cast<double>(cx) + half);
    }
    HostPoint ends[2] = {{static_cast<int32_t>(from), static_cast<int32_t>(cy)},
                         {static_cast<int32_t>(to), static_cast<int32_t>(cy)}};
    if (rotated) {
        HostMatrix m;
        identity(&m);
        rotate(&m, angle, static_cast<int32_t>(cx), static_cast<int32_t>(cy));
        transform(ends, &m, 2);
    }
    const HostPoint a = ToUserPoint(ends[0]);
    const HostPoint b = ToUserPoint(ends[1]);
    gradient.x1 = a.x;
    gradient.y1 = a.y;
    gradient.x2 = b.x;
    gradient.y2 = b.y;
    if (!rotated) return;

    // Whole units bend a short gradient's direction: a few units long, a
    // small angle rounds to none. The direction the host's turn gives (its
    // matrix turned the box back by the angle; user y runs down), against
    // the one the rounded ends give:
    const double wanted = std::atan2(turnBack.m[3], turnBack.m[0]);
    const double got = std::atan2(static_cast<double>(b.y) - a.y, static_cast<double>(b.x) - a.x);
    double error = std::fabs(wanted - got);
    if (error > std::numbers::pi) error = 2 * std::numbers::pi - error;
    if (error * 180 / std::numbers::pi <= kDirectionTolerance && (a.x != b.x || a.y != b.y)) return;
    // Then the gradient runs level through the centre, where rounding moves
    // its ends only along it, and a turn about the centre gives the direction.
    const HostPoint from1 = ToUserPoint(HostPoint{static_cast<int32_t>(from), static_cast<int32_t>(cy)});
    const HostPoint to1 = ToUserPoint(HostPoint{static_cast<int32_t>(to), static_cast<int32_t>(cy)});
    const HostPoint centre = ToUserPoint(HostPoint{static_cast<int32_t>(cx), static_cast<int32_t>(cy)});
    gradient.x1 = from1.x;
    gradient.y1 = from1.y;
    gradient.x2 = to1.x;
    gradient.y2 = to1.y;
    gradient.transforms.push_back(SVGXformNode::RotateAbout(wanted * 180 / std::numbers::pi, centre.x, centre.y));
}

void SVGExp::SetRadialGeometry(const HostFountain& fountain, const HostRect& box,
                               SVGGradient_Radial& gradient) {
    const int64_t x1 = box.left, y1 = box.top, x2 = box.right, y2 = box.bottom;
    const int64_t cx = (x1 + x2) / 2;
    const int64_t cy = (y1 + y2) / 2;
    const HostPoint centre{
        static_cast<int32_t>(cx + RoundHalfAway(static_cast<double>(x2 - x1) * fountain.centreX * 0.01)),
        static_cast<int32_t>(cy + RoundHalfAway(static_cast<double>(y1 - y2) * fountain.centreY * 0.01))};
    const int64_t r =
        std::max({std::llabs(cx - x2), std::llabs(cx - x1), std::llabs(cy - y2), std::llabs(cy - y1)});
    const HostPoint user = ToUserPoint(centre);
    gradient.cx = gradient.fx = user.x;
    gradient.cy = gradient.fy = user.y;
    const double padded =
        static_cast<double>(r) - RoundHalfAway(fountain.edgePad * static_cast<double>(r) * 0.02);
    gradient.r = RoundHalfAway(padded * scale_);
}

void SVGExp::AddGradientStops(const HostFountain& given, SVGGradient& gradient, int mode) {
    const HostFountain fountain = InPositionOrder(given);
    if (mode == 0 && (fountain.blend == kBlendDownwards || fountain.blend == kBlendUpwards)) {
        BuildBlendStops(fountain, gradient);
        return;
    }
    const int count = EntriesRead(fountain);
    // A two-colour fountain uses its first and last entries; one entry alone
    // still makes its one stop.
    const int step = fountain.blend == kBlendTwoColours ? std::max(1, count - 1) : 1;
    const size_t firstAdded = gradient.stops.size();
    for (int i = 0; i < count; i += step) {
        const HostFountainStop& entry = fountain.stops[i];
        SVGGradientStop stop;
        if (mode == 0) {
            stop.colour = RgbOf(ConvertColor(entry.colour, kColorModelRgb));
        } else {
            stop.opacity = OpacityOfLevel(LevelOf(entry));
        }
        stop.offset = StopOffset(fountain, entry.position);
        gradient.stops.push_back(stop);
    }
    if (fountain.blend == kBlendCustom || fountain.midPoint == kNoMidPoint) return;
    // The mid-point stop lies between the first two; without two there is no
    // "between".
    if (gradient.stops.size() < firstAdded + 2) return;
    const SVGGradientStop& first = gradient.stops[firstAdded];
    const SVGGradientStop& second = gradient.stops[firstAdded + 1];
    SVGGradientStop middle;
    middle.offset = StopOffset(fountain, fountain.midPoint);
    if (mode == 0) {
        middle.colour = HalfwayColour(first.colour, second.colour);
    } else {
        const int firstLevel = LevelOf(fountain.stops[0]);
        const int secondLevel = LevelOf(fountain.stops[step]);
        middle.opacity = OpacityOfLevel((firstLevel + secondLevel) * 0.5);
    }
    gradient.stops.insert(gradient.stops.begin() + static_cast<std::ptrdiff_t>(firstAdded) + 1, middle);
}

void SVGExp::BuildBlendStops(const HostFountain& given, SVGGradient& gradient) {
    const HostFountain fountain = InPositionOrder(given);
    const int count = EntriesRead(fountain);
    if (count == 0) return;
    const HostFountainStop& start = fountain.stops[0];
    SVGGradientStop first;
    first.colour = RgbOf(ConvertColor(start.colour, kColorModelRgb));
    first.offset = StopOffset(fountain, start.position);
    gradient.stops.push_back(first);
    if (count < 2) return;
    const HostFountainStop& end = fountain.stops[1];

    const int direction = fountain.blend;
    const int d = direction == kBlendDownwards ? -1 : 1;
    const Hsb h0 = HsbOf(ConvertColor(start.colour, kColorModelHsb));
    const Hsb h1 = HsbOf(ConvertColor(end.colour, kColorModelHsb));
    const int from = Modulo360(h0.hue);
    const int to = Modulo360(h1.hue);
    // The arc the walk covers: equal hues go once round the circle.
    int arc = 0;
    if (direction == kBlendDownwards) {
        arc = from - to + (to >= from ? 360 : 0);
    } else {
        arc = to - from + (to < from ? 360 : 0);
    }

    // The colour at a point of the walk: the hue travelled so far, saturation
    // and brightness moved on in proportion.
    auto colourAt = [&](int travelled) {
        const int hue = Modulo360(static_cast<int64_t>(from) + static_cast<int64_t>(d) * travelled);
        const double t = static_cast<double>(travelled) / arc;
        const int saturation = h0.saturation + RoundHalfAway((h1.saturation - h0.saturation) * t);
        const int brightness = h0.brightness + RoundHalfAway((h1.brightness - h0.brightness) * t);
        return RgbOf(ConvertColor(HsbRecord(hue, saturation, brightness), kColorModelRgb));
    };

    // A mid-point bends the walk: the first half of the hues is spread
    // over 0 to m, the second over m to 100. The stop at the bend is the
    // halfway hue itself, so the colours on both sides of it stay on the
    // circle instead of meeting in an average of two of its corners.
    const int midPoint = fountain.midPoint;
    const bool bent = midPoint != kNoMidPoint;
    bool midStopAdded = false;
    auto addMidStop = [&] {
        SVGGradientStop middle;
        middle.colour = colourAt(arc / 2);
        if (arc % 2 != 0) {
            // Between two whole degrees: halfway between their colours.
            middle.colour = HalfwayColour(middle.colour, colourAt(arc / 2 + 1));
        }
        middle.offset = StopOffset(fountain, midPoint);
        gradient.stops.push_back(middle);
        midStopAdded = true;
    };

    // The walk visits the multiples of 60 strictly between the two hues: the
    // first lies the rest of the current sixth away, which going up is
    // 60 - h0 mod 60 and going down h0 mod 60 (a full sixth from a multiple).
    // Counting the distance travelled bounds it by the arc's length even where
    // the hue test alone would go round forever.
    const int firstStep = d > 0 ? 60 - from % 60 : (from % 60 == 0 ? 60 : from % 60);
    for (int travelled = firstStep;; travelled += 60) {
        if (travelled >= arc) break;
        const int hue = Modulo360(static_cast<int64_t>(from) + static_cast<int64_t>(d) * travelled);
        if (!HueInArc(from, to, hue, direction)) break;
        double t = static_cast<double>(travelled) / arc * 100;
        SVGGradientStop stop;
        stop.colour = colourAt(travelled);
        if (bent) {
            if (t < 50) {
                t = midPoint * t * 0.02;
            } else if (t == 50) {
                // The halfway hue is this stop.
                t = midPoint;
                midStopAdded = true;
            } else {
                t = midPoint + (t - 50) * (100 - midPoint) * 0.02;
                if (!midStopAdded) addMidStop();
            }
        }
        stop.offset = StopOffset(fountain, t);
        gradient.stops.push_back(stop);
    }
    // A walk with no hue past its middle still bends there.
    if (bent && !midStopAdded) addMidStop();

    SVGGradientStop last;
    last.colour = RgbOf(ConvertColor(end.colour, kColorModelRgb));
    last.offset = StopOffset(fountain, end.position);
    gradient.stops.push_back(last);
}

}  // namespace svgf
