// Fountain fills as gradients: geometry over a box, stops from entries,
// stops walked round the hue circle, and gradient classes in the registry.
// The exporter runs against the stand-in host's own geometry and colour
// services.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "host/export_geometry.h"
#include "host/stand_in_host.h"
#include "platform/memory_settings_store.h"
#include "platform/scripted_files.h"
#include "svg_exp.h"
#include "svg_gradient.h"

namespace svgf {
namespace {

constexpr int kOutputDescriptor = 7;

ColorRecord Rgb(uint8_t r, uint8_t g, uint8_t b) {
    ColorRecord c{};
    c.model = kColorModelRgb;
    c.channels[4] = b;
    c.channels[5] = g;
    c.channels[6] = r;
    return c;
}

ColorRecord Hsb(int hue, uint8_t saturation, uint8_t brightness) {
    ColorRecord c{};
    c.model = kColorModelHsb;
    c.channels[4] = static_cast<uint8_t>(hue & 0xFF);
    c.channels[5] = static_cast<uint8_t>(hue >> 8);
    c.channels[6] = saturation;
    c.channels[7] = brightness;
    return c;
}

// A transparency stop: the level is the colour record's byte 8.
ColorRecord Level(uint8_t level) {
    ColorRecord c{};
    c.channels[4] = level;
    return c;
}

SVGColor ExpectedRgb(const ColorRecord& colour) {
    ColorRecord out{};
    EXPECT_TRUE(host::ConvertColour(colour, kColorModelRgb, out));
    return SVGColor{out.channels[6], out.channels[5], out.channels[4]};
}

bool operator==(SVGColor a, SVGColor b) {
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

struct Entry {
    ColorRecord colour;
    uint16_t position;
};

HostFountain Fountain(uint16_t subKind, uint16_t blend, uint16_t midPoint, std::vector<Entry> entries) {
    HostFountain f{};
    f.subKind = subKind;
    f.blend = blend;
    f.midPoint = midPoint;
    f.stopCount = static_cast<int16_t>(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        f.stops[i].colour = entries[i].colour;
        f.stops[i].position = entries[i].position;
    }
    return f;
}

std::vector<int> Offsets(const SVGGradient& g) {
    std::vector<int> out;
    for (const auto& stop : g.stops) out.push_back(stop.offset);
    return out;
}

// The exporter at precision 254000 (one user unit per host unit) over a
// page whose top is at 254000, so a host point (x, y) becomes (x, 254000 - y).
class FountainTest : public ::testing::Test {
  protected:
    void SetUp() override {
        svgf::FilterContext& context = host_.Context();
        context.fileName = fileName_.data();
        context.fileHandle = kOutputDescriptor;
        context.pageRect = HostRect{0, 254000, 254000, 0};
        options_ = SVGExportOptions{1, 0, 0, kBitmapPng, 254000, kCssInternal, &context};
        context.exportOptions = &options_;
    }
    void TearDown() override {
        host_.Context().fileName = nullptr;
        host_.Context().fileHandle = 0;
    }

    template <typename F>
    void WithExport(F&& body) {
        host_.Report([&] {
            SVGExp exp(files_, &settings_);
            ASSERT_EQ(exp.BeginExport(&host_.Context()), 1);
            body(exp);
            EXPECT_EQ(exp.EndExport(&host_.Context()), 1);
        });
    }
    std::string Output() const { return files_.DescriptorContent(kOutputDescriptor); }

    host::StandInHost host_{nullptr};
    platform::ScriptedFiles files_;
    platform::MemorySettingsStore settings_;
    std::string fileName_ = "/out/fills.svg";
    SVGExportOptions options_{};
};

TEST_F(FountainTest, LinearGeometryAtAngleZeroSpansTheBoxAndTheEdgePadShortensIt) {
    WithExport([](SVGExp& exp) {
        HostFountain f = Fountain(1, 0, 50, {});
        SVGGradient_Linear g;
        const HostRect box{0, 0, 1000, 500};
        exp.SetLinearGeometry(f, box, g);
        EXPECT_EQ(g.x1, 0);
        EXPECT_EQ(g.x2, 1000);
        EXPECT_EQ(g.y1, 254000 - 250);
        EXPECT_EQ(g.y2, 254000 - 250);
        f.edgePad = 10;
        exp.SetLinearGeometry(f, box, g);
        EXPECT_EQ(g.x1, 100);
        EXPECT_EQ(g.x2, 900);
        // Pads of 0 and 50 or more leave the ends at the box's edges.
        for (int16_t pad : {0, 50, 70, -5}) {
            f.edgePad = pad;
            exp.SetLinearGeometry(f, box, g);
            EXPECT_EQ(g.x1, 0) << pad;
            EXPECT_EQ(g.x2, 1000) << pad;
        }
    });
}

TEST_F(FountainTest, LinearGeometryAtAnAngleTurnsThroughTheHost) {
    WithExport([&](SVGExp& exp) {
        HostFountain f = Fountain(1, 0, 50, {});
        f.angle = 90 * svc::kAngleUnitsPerDegree;
        SVGGradient_Linear g;
        host_.Log().Clear();
        exp.SetLinearGeometry(f, HostRect{0, 0, 1000, 500}, g);
        // The turned box is 500 wide: the ends (250, 250) and (750, 250)
        // turned a quarter back about the centre (500, 250).
        EXPECT_EQ(g.x1, 500);
        EXPECT_EQ(g.y1, 254000 - 0);
        EXPECT_EQ(g.x2, 500);
        EXPECT_EQ(g.y2, 254000 - 500);
        const auto rotations = host_.Log().CallsNamed("MatrixRotate");
        ASSERT_EQ(rotations.size(), 2u);
        EXPECT_EQ(rotations[0].Int(1), -90000);
        EXPECT_EQ(rotations[0].Int(2), 500);
        EXPECT_EQ(rotations[0].Int(3), 250);
        EXPECT_EQ(rotations[1].Int(1), 90000);
        const auto transforms = host_.Log().CallsNamed("TransformPoints");
        ASSERT_EQ(transforms.size(), 2u);
        EXPECT_EQ(transforms[0].Int(2), 4);
        EXPECT_EQ(transforms[1].Int(2), 2);
        EXPECT_EQ(host_.Log().Count("BoundingBox"), 1u);
    });
}

TEST_F(FountainTest, AShortGradientKeepsItsDirection) {
    // 3 degrees over a box 16 units wide: ends rounded to whole units would
    // lie level. They stay level, and a turn about the centre gives the angle.
    WithExport([](SVGExp& exp) {
        HostFountain f = Fountain(1, 0, 50, {});
        f.angle = 3 * svc::kAngleUnitsPerDegree;
        SVGGradient_Linear g;
        exp.SetLinearGeometry(f, HostRect{0, 16, 16, 0}, g);
        EXPECT_EQ(g.y1, g.y2);
        ASSERT_EQ(g.transforms.size(), 1u);
        EXPECT_EQ(g.transforms[0].Text(), "rotate(-3 8 253992)");
        // Long enough, the rounded ends keep the angle and need no turn.
        SVGGradient_Linear wide;
        exp.SetLinearGeometry(f, HostRect{0, 1000, 1000, 0}, wide);
        EXPECT_TRUE(wide.transforms.empty());
        EXPECT_NE(wide.y1, wide.y2);
    });
}

TEST_F(FountainTest, EntriesOutOfOrderAreSortedByPosition) {
    // Out of order, with two entries at one position (a hard edge) that keep
    // their order; radial fountains count from the rim.
    const std::vector<Entry> entries = {
        {Rgb(1, 0, 0), 100}, {Rgb(2, 0, 0), 50}, {Rgb(3, 0, 0), 0}, {Rgb(4, 0, 0), 50}};
    WithExport([&](SVGExp& exp) {
        SVGGradient_Linear linear;
        exp.AddGradientStops(Fountain(1, 3, 50, entries), linear, 0);
        EXPECT_EQ(Offsets(linear), (std::vector<int>{0, 128, 128, 255}));
        std::vector<int> reds;
        for (const auto& stop : linear.stops) reds.push_back(stop.colour.red);
        EXPECT_EQ(reds, (std::vector<int>{3, 2, 4, 1}));
        // A two-colour fountain takes the first and last by position.
        SVGGradient_Linear two;
        exp.AddGradientStops(Fountain(1, 0, 50, entries), two, 0);
        ASSERT_EQ(two.stops.size(), 2u);
        EXPECT_EQ(two.stops[0].colour.red, 3);
        EXPECT_EQ(two.stops[1].colour.red, 1);
        SVGGradient_Radial radial;
        exp.AddGradientStops(Fountain(2, 3, 50, entries), radial, 0);
        EXPECT_EQ(Offsets(radial), (std::vector<int>{255, 128, 128, 0}));
    });
}

TEST_F(FountainTest, RadialGeometryMovesTheCentreAndPadsTheRadius) {
    struct Case {
        int32_t offsetX, offsetY;
        int16_t pad;
        int32_t cx, cy, r;
    };
    // Box: left 0, top 1000, right 1000, bottom 0; centre (500, 500), reach 500.
    const Case cases[] = {
        {0, 0, 0, 500, 254000 - 500, 500},
        {10, 20, 0, 600, 254000 - 700, 500},
        {-10, -20, 0, 400, 254000 - 300, 500},
        {0, 0, 10, 500, 254000 - 500, 400},
    };
    WithExport([&](SVGExp& exp) {
        for (const Case& c : cases) {
            HostFountain f = Fountain(2, 0, 50, {});
            f.centreX = c.offsetX;
            f.centreY = c.offsetY;
            f.edgePad = c.pad;
            SVGGradient_Radial g;
            exp.SetRadialGeometry(f, HostRect{0, 1000, 1000, 0}, g);
            EXPECT_EQ(g.cx, c.cx) << c.offsetX;
            EXPECT_EQ(g.fx, c.cx);
            EXPECT_EQ(g.cy, c.cy) << c.offsetY;
            EXPECT_EQ(g.fy, c.cy);
            EXPECT_EQ(g.r, c.r) << c.pad;
        }
    });
}

struct StopCase {
    const char* name;
    uint16_t subKind;
    uint16_t blend;
    uint16_t midPoint;
    int mode;
    int16_t count;  // entries described; -1: a negative count in the record
    std::vector<int> offsets;
    std::vector<int> opacities;  // for mode 1
};

class StopTable : public FountainTest, public ::testing::WithParamInterface<StopCase> {};

TEST_P(StopTable, StopsFollowTheEntries) {
    const StopCase& c = GetParam();
    // Entries at 0, 25, 50, 75, 100 percent with levels 0, 51, 102, 153, 204.
    std::vector<Entry> entries;
    for (int i = 0; i < 5; ++i)
        entries.push_back(
            {c.mode == 0 ? Rgb(uint8_t(i * 50), 0, 0) : Level(uint8_t(i * 51)), uint16_t(i * 25)});
    entries.resize(static_cast<size_t>(std::max<int>(c.count, 0)));
    HostFountain f = Fountain(c.subKind, c.blend, c.midPoint, entries);
    if (c.count < 0) f.stopCount = c.count;
    WithExport([&](SVGExp& exp) {
        SVGGradient_Linear g;
        exp.AddGradientStops(f, g, c.mode);
        EXPECT_EQ(Offsets(g), c.offsets) << c.name;
        if (c.mode == 1) {
            std::vector<int> opacities;
            for (const auto& stop : g.stops) opacities.push_back(stop.opacity);
            EXPECT_EQ(opacities, c.opacities) << c.name;
        } else {
            for (const auto& stop : g.stops) EXPECT_EQ(stop.opacity, kStopWithoutOpacity) << c.name;
        }
    });
}

INSTANTIATE_TEST_SUITE_P(
    Fountains, StopTable,
    ::testing::Values(
        StopCase{"two colours use the first and last", 1, 0, 50, 0, 5, {0, 255}, {}},
        StopCase{"custom uses every entry", 1, 3, 50, 0, 5, {0, 64, 128, 191, 255}, {}},
        StopCase{"radial counts from the rim", 2, 3, 50, 0, 3, {255, 191, 128}, {}},
        StopCase{"mid-point 30 adds a stop at 77", 1, 0, 30, 0, 5, {0, 77, 255}, {}},
        StopCase{"radial mid-point 30 sits at 70", 2, 0, 30, 0, 2, {255, 179, 191}, {}},
        StopCase{"custom blends take no mid-point", 1, 3, 30, 0, 3, {0, 64, 128}, {}},
        StopCase{"one entry of two colours is one stop", 1, 0, 50, 0, 1, {0}, {}},
        StopCase{"one entry skips the mid-point", 1, 0, 30, 0, 1, {0}, {}},
        StopCase{"no entries", 1, 0, 30, 0, 0, {}, {}},
        StopCase{"a negative count reads nothing", 1, 3, 50, 0, -3, {}, {}},
        StopCase{"other forms leave offsets at 0", 3, 0, 50, 0, 2, {0, 0}, {}},
        StopCase{"opacity from levels", 1, 3, 50, 1, 3, {0, 64, 128}, {255, 204, 153}},
        StopCase{"opacity mid-point between the first two", 1, 0, 40, 1, 5, {0, 102, 255}, {255, 153, 51}}),
    [](const auto& info) {
        std::string name = info.param.name;
        for (char& ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return name;
    });

TEST_F(FountainTest, MidPointColourLiesHalfwayBetweenTheFirstTwoStops) {
    HostFountain f = Fountain(1, 0, 30, {{Rgb(0, 100, 200), 0}, {Rgb(100, 0, 255), 100}});
    WithExport([&](SVGExp& exp) {
        SVGGradient_Linear g;
        exp.AddGradientStops(f, g, 0);
        ASSERT_EQ(g.stops.size(), 3u);
        EXPECT_TRUE((g.stops[1].colour == SVGColor{50, 50, 228}));
    });
}

TEST_F(FountainTest, StopCountsAreClampedToTheRecord) {
    std::vector<Entry> entries(kFountainMaxStops, Entry{Rgb(1, 2, 3), 50});
    HostFountain f = Fountain(1, 3, 50, entries);
    f.stopCount = 500;
    WithExport([&](SVGExp& exp) {
        SVGGradient_Linear g;
        exp.AddGradientStops(f, g, 0);
        EXPECT_EQ(g.stops.size(), static_cast<size_t>(kFountainMaxStops));
    });
}

// Hue walks: the hues of the stops between the first and the last.
struct WalkCase {
    const char* name;
    int from, to;
    uint16_t blend;
    std::vector<int> hues;
};

class HueWalk : public FountainTest, public ::testing::WithParamInterface<WalkCase> {};

TEST_P(HueWalk, StopsFollowTheHueCircleAndTheWalkEnds) {
    const WalkCase& c = GetParam();
    const HostFountain f = Fountain(1, c.blend, 50, {{Hsb(c.from, 255, 255), 0}, {Hsb(c.to, 255, 255), 100}});
    WithExport([&](SVGExp& exp) {
        SVGGradient_Linear g;
        exp.AddGradientStops(f, g, 0);
        ASSERT_EQ(g.stops.size(), c.hues.size() + 2) << c.name;
        EXPECT_TRUE(g.stops.front().colour == ExpectedRgb(Hsb(c.from, 255, 255)));
        EXPECT_TRUE(g.stops.back().colour == ExpectedRgb(Hsb(c.to, 255, 255)));
        EXPECT_EQ(g.stops.front().offset, 0);
        EXPECT_EQ(g.stops.back().offset, 255);
        for (size_t i = 0; i < c.hues.size(); ++i) {
            const SVGColor want = ExpectedRgb(Hsb(c.hues[i], 255, 255));
            EXPECT_TRUE(g.stops[i + 1].colour == want) << c.name << " stop " << i + 1 << " hue " << c.hues[i];
        }
        for (size_t i = 1; i < g.stops.size(); ++i)
            EXPECT_LE(g.stops[i - 1].offset, g.stops[i].offset) << c.name;
    });
}

INSTANTIATE_TEST_SUITE_P(
    Blends, HueWalk,
    ::testing::Values(WalkCase{"up_0_to_180", 0, 180, 2, {60, 120}},
                      WalkCase{"down_180_to_0", 180, 0, 1, {120, 60}},
                      // Downwards the first step is the rest of the sixth below the start.
                      WalkCase{"down_50_to_0", 50, 0, 1, {}},
                      WalkCase{"down_130_to_10", 130, 10, 1, {120, 60}},
                      WalkCase{"up_300_to_60_across_0", 300, 60, 2, {0}},
                      WalkCase{"neighbours_on_the_grid", 60, 120, 2, {}},
                      // These went round forever when only the hue test ended the walk.
                      WalkCase{"down_30_to_50_the_long_way", 30, 50, 1, {0, 300, 240, 180, 120, 60}},
                      WalkCase{"up_50_to_40_the_long_way", 50, 40, 2, {60, 120, 180, 240, 300, 0}},
                      WalkCase{"equal_hues_off_the_grid", 30, 30, 1, {0, 300, 240, 180, 120, 60}},
                      WalkCase{"equal_hues_on_the_grid", 60, 60, 1, {0, 300, 240, 180, 120}},
                      // Upwards, equal hues span no arc at all.
                      WalkCase{"equal_hues_upwards", 30, 30, 2, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FountainTest, BlendWalkBendsOffsetsAroundTheMidPoint) {
    const HostFountain f = Fountain(1, 2, 30, {{Hsb(0, 255, 255), 0}, {Hsb(180, 255, 255), 100}});
    WithExport([&](SVGExp& exp) {
        SVGGradient_Linear g;
        exp.AddGradientStops(f, g, 0);
        // 60 degrees (t 33.3) bends to 20; the mid-point stop at 30 comes
        // before 120 degrees (t 66.7), which bends to 53.3.
        EXPECT_EQ(Offsets(g), (std::vector<int>{0, 51, 77, 136, 255}));
        // The bend is the halfway hue, not an average of its neighbours'
        // colours (which for 60 and 120 would leave the circle).
        EXPECT_TRUE(g.stops[2].colour == ExpectedRgb(Hsb(90, 255, 255)));
    });
}

TEST_F(FountainTest, TheMidPointOfAHueWalkKeepsTheColoursOnTheCircle) {
    const struct {
        int from, to, mid;
        std::vector<int> offsets;
        std::vector<int> hues;  // of every stop, first and last included
    } cases[] = {
        // Red to blue upwards, bent at 25: the halfway hue 120 is a stop of
        // the walk itself and stands at the bend once, not beside an average.
        {0, 240, 25, {0, 32, 64, 159, 255}, {0, 60, 120, 180, 240}},
        // No hue of the walk lies past its middle: the bend is still made.
        {0, 50, 80, {0, 204, 255}, {0, 25, 50}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.from << " to " << c.to << " mid " << c.mid);
        const HostFountain f =
            Fountain(1, 2, static_cast<uint16_t>(c.mid), {{Hsb(c.from, 255, 255), 0}, {Hsb(c.to, 255, 255), 100}});
        WithExport([&](SVGExp& exp) {
            SVGGradient_Linear g;
            exp.AddGradientStops(f, g, 0);
            EXPECT_EQ(Offsets(g), c.offsets);
            ASSERT_EQ(g.stops.size(), c.hues.size());
            for (size_t i = 0; i < c.hues.size(); ++i)
                EXPECT_TRUE(g.stops[i].colour == ExpectedRgb(Hsb(c.hues[i], 255, 255))) << "stop " << i;
        });
    }
}

TEST_F(FountainTest, BlendWalkInterpolatesSaturationAndBrightness) {
    const HostFountain f = Fountain(1, 2, 50, {{Hsb(0, 255, 255), 0}, {Hsb(180, 85, 255), 100}});
    WithExport([&](SVGExp& exp) {
        SVGGradient_Linear g;
        exp.AddGradientStops(f, g, 0);
        ASSERT_EQ(g.stops.size(), 4u);
        // t = 33.3 at 60 degrees: saturation 255 - 57.
        EXPECT_TRUE(g.stops[1].colour == ExpectedRgb(Hsb(60, 198, 255)));
    });
}

TEST(HueInArc, InsideStrictlyBetweenInTheWalksDirection) {
    EXPECT_TRUE(SVGExp::HueInArc(180, 0, 60, 1));
    EXPECT_FALSE(SVGExp::HueInArc(180, 0, 0, 1));
    EXPECT_FALSE(SVGExp::HueInArc(180, 0, 200, 1));
    EXPECT_TRUE(SVGExp::HueInArc(30, 50, 10, 1));
    EXPECT_TRUE(SVGExp::HueInArc(30, 50, 300, 1));
    EXPECT_FALSE(SVGExp::HueInArc(30, 50, 40, 1));
    EXPECT_TRUE(SVGExp::HueInArc(0, 180, 60, 2));
    EXPECT_FALSE(SVGExp::HueInArc(0, 180, 180, 2));
    EXPECT_TRUE(SVGExp::HueInArc(300, 60, 0, 2));
    EXPECT_FALSE(SVGExp::HueInArc(300, 60, 200, 2));
    EXPECT_FALSE(SVGExp::HueInArc(0, 180, 60, 3));
}

SVGFillKey FountainKey(const HostFountain& fountain, HostRect box) {
    SVGFillKey key{};
    key.fill.kind = kFillFountain;
    std::memcpy(key.fill.body, &fountain, sizeof fountain);
    key.box = box;
    key.opacity = -1.0;
    return key;
}

TEST_F(FountainTest, GradientClassesLandInTheTopDefsAndShareEqualStopLists) {
    const HostFountain f = Fountain(1, 0, 50, {{Rgb(255, 0, 0), 0}, {Rgb(0, 0, 255), 100}});
    WithExport([&](SVGExp& exp) {
        EXPECT_EQ(exp.Registry()->FindOrAddFill(FountainKey(f, HostRect{0, 0, 1000, 500})), 0);
        EXPECT_EQ(exp.Registry()->FindOrAddFill(FountainKey(f, HostRect{0, 0, 2000, 500})), 1);
    });
    const std::string out = Output();
    const size_t defs = out.find("<defs>");
    const size_t first = out.find("<linearGradient id=\"id0\"");
    const size_t second = out.find("<linearGradient id=\"id1\"");
    ASSERT_NE(defs, std::string::npos) << out;
    ASSERT_NE(first, std::string::npos) << out;
    ASSERT_NE(second, std::string::npos) << out;
    EXPECT_LT(defs, first);
    EXPECT_NE(out.find("x1=\"0\" y1=\"253750\" x2=\"1000\" y2=\"253750\""), std::string::npos) << out;
    EXPECT_NE(out.find("<stop offset=\"0\" style=\"stop-color:#FF0000\"/>"), std::string::npos) << out;
    EXPECT_NE(out.find("<stop offset=\"1\" style=\"stop-color:#0000FF\"/>"), std::string::npos) << out;
    EXPECT_NE(out.find(".fil0 {fill:url(#id0)}"), std::string::npos) << out;
    EXPECT_NE(out.find(".fil1 {fill:url(#id1)}"), std::string::npos) << out;
    // The second refers to the first's stops rather than repeating them.
    const std::string secondTag = out.substr(second, out.find('>', second) - second);
    EXPECT_NE(secondTag.find("xlink:href=\"#id0\""), std::string::npos) << secondTag;
    EXPECT_EQ(out.find("stop-color", second), std::string::npos) << out;
}

}  // namespace
}  // namespace svgf
