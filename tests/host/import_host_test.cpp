// The stand-in host's import side, driven by calls made as the module's
// canvas makes them: the call log and the description of a small scene
// (golden files), the description read back, the balance checks, pattern
// tiles drawn through the module's callback, links, deep nesting and long
// paths, and the services that need no fonts or images.
#include "host/import/import_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "golden.h"
#include "host/drawing_reader.h"
#include "import_calls.h"

namespace {

using host::import::ImportHost;
using namespace import_test;
namespace import_node = svgf::import_node;

constexpr int32_t kInch = 254000;

class ImportHostTest : public ::testing::Test {
  protected:
    host::StandInHost host{&NoModule};
    ImportHost import{host};
    ModuleCalls calls{import};

    template <typename F>
    void AsModule(F&& f) {
        host.Report([&] {
            f();
            return 0;
        });
    }

    host::Drawing ReadBack() {
        const host::DrawingResult read = host::ReadDrawing(import.Description());
        EXPECT_TRUE(read) << read.error.Describe("description") << "\n" << import.Description();
        return read ? *read.drawing : host::Drawing{};
    }
};

// What the module's canvas installs with the host: a record whose callback
// draws a pattern tile, here a square filling the tile (and, for `nested`
// tiles, a second square with a pattern fill of its own).
struct Tile {
    ModuleCalls* calls;
    int32_t size;
    bool nested = false;
    bool endless = false;
};

int32_t SVGF_CALL DrawTileCallback(svgf::HostHandle target, uintptr_t argument, uintptr_t) {
    const Tile* tile = reinterpret_cast<const Tile*>(argument);
    if (tile == nullptr) return 0;
    const Attributes grey(UniformFill(200, 200, 200));
    tile->calls->Rectangle(target, grey, 1000, 2000, tile->size, tile->size);
    if (tile->nested || tile->endless) {
        static Tile inner;
        inner = Tile{tile->calls, tile->size / 2, false, tile->endless};
        const Attributes patterned(PatternFill(tile->endless ? tile : &inner, inner.size, inner.size,
                                               HostRect{0, inner.size, inner.size, 0}));
        tile->calls->Rectangle(target, patterned, 1000, 2000, tile->size, tile->size);
    }
    return 1;
}

const svgf::HostCallbackRecord kModuleRecord{&DrawTileCallback, {0, 0, 0, 0}};

// A group holding a clip with a rectangle and a transparent ellipse, and a
// linked path with a curve, closed; the callback record exchanged around it.
void PlayScene(const ModuleCalls& calls) {
    const svgf::HostHandle h = calls.Handle();
    svgf::HostCallbackRecord saved{};
    calls.Exchange(h, kModuleRecord, &saved);
    calls.BeginGroup(h);
    calls.PushClip(h, RectangleClip(0, 0, 200000, 200000));
    const Attributes red(UniformFill(255, 0, 0), Outline(true, 2540, Rgb(0, 0, 0), 1, 2));
    calls.Rectangle(h, red, 25400, 127000, 76200, 50800);
    Attributes blue(UniformFill(0, 0, 255));
    blue.Uniform(128);
    calls.Ellipse(h, blue, 177800, 177800, 50800, 25400);
    calls.PopClip(h);
    Attributes green(UniformFill(0, 128, 0));
    green.Link(u"https://example.org/a");
    calls.Path(h, green, {{25400, 25400}, {127000, 25400}, {150000, 50000}, {100000, 100000}, {25400, 25400}},
               {0x00, import_node::kLine, import_node::kControl, import_node::kControl,
                import_node::kCurveEnd | import_node::kClose});
    calls.EndGroup(h);
    svgf::HostCallbackRecord ignored{};
    calls.Exchange(h, saved, &ignored);
}

TEST_F(ImportHostTest, ASceneGivesItsLogAndDescription) {
    AsModule([&] { PlayScene(calls); });
    EXPECT_TRUE(import.Balance().Balanced());
    EXPECT_TRUE(import.Warnings().empty()) << import.Warnings().front();
    testsupport::ExpectGolden("import/scene.log", import.Log().Text());
    testsupport::ExpectGolden("import/scene.json", import.Description());
}

// A host run for a user keeps no logs and lets finished top-level objects
// wait in a file: the description is the same, also when it is asked for
// while the drawing goes on.
TEST(ImportHostForAUser, GivesTheSameDescriptionAsATestsHost) {
    const auto describe = [](bool forAUser) {
        host::StandInHost host{&NoModule};
        ImportHost import{host};
        const ModuleCalls calls{import};
        if (forAUser) {
            host.Log().SetRecording(false);
            import.Log().SetRecording(false);
            import.SetSpilling(true);
        }
        std::vector<std::string> descriptions;
        for (int round = 0; round < 2; ++round) {
            host.Report([&] {
                PlayScene(calls);
                calls.Rectangle(calls.Handle(), Attributes(UniformFill(0, 0, 255 - round)), 1000, 2000, 3000, 4000);
                return 0;
            });
            descriptions.push_back(import.Description());
        }
        EXPECT_TRUE(import.Balance().Balanced());
        EXPECT_EQ(import.Log().Lines().empty(), forAUser);
        return descriptions;
    };
    EXPECT_EQ(describe(true), describe(false));
}

TEST_F(ImportHostTest, TheDescriptionReadsBackAsDrawn) {
    AsModule([&] { PlayScene(calls); });
    const host::Drawing drawing = ReadBack();
    // The page runs from the origin to the right and top of what was drawn.
    EXPECT_EQ(drawing.page.left, 0);
    EXPECT_EQ(drawing.page.bottom, 0);
    EXPECT_EQ(drawing.page.right, 228600);
    EXPECT_EQ(drawing.page.top, 203200);
    ASSERT_EQ(drawing.layers.size(), 1u);
    ASSERT_EQ(drawing.layers[0].objects.size(), 1u);
    const host::DrawingObject& group = drawing.layers[0].objects[0];
    ASSERT_EQ(group.kind, host::ObjectKind::kGroup);
    ASSERT_EQ(group.objects.size(), 2u);

    const host::DrawingObject& clip = group.objects[0];
    ASSERT_EQ(clip.kind, host::ObjectKind::kClip);
    EXPECT_EQ(clip.clipKind, 3);
    EXPECT_EQ(clip.clipRect.right, 200000);
    EXPECT_EQ(clip.clipRect.top, 200000);
    ASSERT_EQ(clip.objects.size(), 2u);
    const host::DrawingObject& rect = clip.objects[0];
    EXPECT_EQ(rect.kind, host::ObjectKind::kRectangle);
    EXPECT_EQ(rect.centre.x, 25400 + 38100);
    EXPECT_EQ(rect.centre.y, 127000 + 25400);
    EXPECT_EQ(rect.width, 76200);
    EXPECT_EQ(rect.style.outline->width, 2540);
    EXPECT_EQ(rect.style.outline->cap, 1);
    EXPECT_EQ(rect.style.outline->join, 2);
    const host::DrawingObject& ellipse = clip.objects[1];
    EXPECT_EQ(ellipse.kind, host::ObjectKind::kEllipse);
    EXPECT_EQ(ellipse.width, 101600);
    EXPECT_EQ(ellipse.height, 50800);
    ASSERT_TRUE(ellipse.style.transparency);
    EXPECT_NEAR(ellipse.style.transparency->start, 49.8, 0.01);

    const host::DrawingObject& link = group.objects[1];
    ASSERT_EQ(link.kind, host::ObjectKind::kLink);
    EXPECT_EQ(link.link->url, "https://example.org/a");
    const host::DrawingObject& path = link.objects.at(0);
    ASSERT_EQ(path.kind, host::ObjectKind::kPath);
    ASSERT_EQ(path.points.size(), 5u);
    EXPECT_EQ(path.points[3].x, 100000);
    const std::vector<uint8_t> expected{svgf::node::kMove, svgf::node::kLine, svgf::node::kControl,
                                        svgf::node::kControl, svgf::node::kCurveEnd | svgf::node::kClose};
    EXPECT_EQ(path.nodeTypes, expected);
}

struct Unbalanced {
    const char* name;
    std::function<void(const ModuleCalls&)> play;
    const char* problem;
};

class ImportBalance : public ImportHostTest, public ::testing::WithParamInterface<Unbalanced> {};

TEST_P(ImportBalance, IsReported) {
    AsModule([&] { GetParam().play(calls); });
    const auto balance = import.Balance();
    ASSERT_FALSE(balance.Balanced());
    EXPECT_NE(balance.problems.front().find(GetParam().problem), std::string::npos) << balance.problems.front();
    // What was drawn is still described.
    ReadBack();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ImportBalance,
    ::testing::Values(
        Unbalanced{"GroupLeftOpen", [](const ModuleCalls& c) { c.BeginGroup(c.Handle()); }, "groups were not ended"},
        Unbalanced{"ClipLeftPushed", [](const ModuleCalls& c) { c.PushClip(c.Handle(), RectangleClip(0, 0, 9, 9)); },
                   "clips were not popped"},
        Unbalanced{"EndWithoutBegin", [](const ModuleCalls& c) { c.EndGroup(c.Handle()); }, "with none open"},
        Unbalanced{"EndAcrossAClip",
                   [](const ModuleCalls& c) {
                       c.BeginGroup(c.Handle());
                       c.PushClip(c.Handle(), RectangleClip(0, 0, 9, 9));
                       c.EndGroup(c.Handle());
                   },
                   "while a clip is open inside it"},
        Unbalanced{"CallbackNotRestored",
                   [](const ModuleCalls& c) {
                       svgf::HostCallbackRecord saved{};
                       c.Exchange(c.Handle(), kModuleRecord, &saved);
                   },
                   "was not restored"},
        Unbalanced{"ForeignHandle", [](const ModuleCalls& c) { c.BeginGroup(77); }, "which is not a drawing"}),
    [](const auto& info) { return std::string(info.param.name); });

// A rectangle filled with the tile's pattern, the module's callback record
// installed around it.
void DrawPatterned(const ModuleCalls& calls, const Tile& tile, HostRect box) {
    svgf::HostCallbackRecord saved{};
    calls.Exchange(calls.Handle(), kModuleRecord, &saved);
    const Attributes patterned(PatternFill(&tile, tile.size, tile.size, box));
    calls.Rectangle(calls.Handle(), patterned, 0, 0, 100000, 100000);
    calls.Exchange(calls.Handle(), saved, &saved);
}

TEST_F(ImportHostTest, PatternTilesAreDrawnThroughTheModulesCallback) {
    Tile tile{&calls, 20000, true};
    // The tile's box has its lower-left corner at (1000, 2000): the tile's
    // objects are moved to start at (0, 0).
    AsModule([&] { DrawPatterned(calls, tile, HostRect{1000, 22000, 21000, 2000}); });
    EXPECT_TRUE(import.Balance().Balanced());
    const host::Drawing drawing = ReadBack();
    const host::DrawingObject& rect = drawing.layers.at(0).objects.at(0);
    ASSERT_EQ(rect.style.fill->kind, svgf::kFillPatternFirst);
    EXPECT_EQ(rect.style.fill->pattern.width, 20000);
    const auto& outer = drawing.tiles.at(rect.style.fill->pattern.tile - 1);
    ASSERT_EQ(outer.size(), 2u);
    EXPECT_EQ(outer[0].box.left, 0);
    EXPECT_EQ(outer[0].box.bottom, 0);
    // The nested tile, drawn while the outer one was.
    ASSERT_EQ(outer[1].style.fill->kind, svgf::kFillPatternFirst);
    const auto& inner = drawing.tiles.at(outer[1].style.fill->pattern.tile - 1);
    ASSERT_EQ(inner.size(), 1u);
    EXPECT_EQ(inner[0].width, 10000);
    EXPECT_EQ(inner[0].box.left, 1000);  // that tile's box starts at (0, 0)

    const std::string log = import.Log().Text();
    EXPECT_NE(log.find("  DrawTile handle=0x10001 target=0x10002"), std::string::npos) << log;
}

// A tile box at the low end of the coordinates' range (a pattern tile
// thousands of times its object's size) cannot move to 0: its objects go as
// far as the range lets them, and no offset overflows.
TEST_F(ImportHostTest, ATileBoxAtTheRangesEndMovesItsObjectsAsFarAsTheRangeGoes) {
    Tile tile{&calls, 20000};
    AsModule([&] { DrawPatterned(calls, tile, HostRect{INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN}); });
    EXPECT_TRUE(import.Balance().Balanced());
    const host::Drawing drawing = ReadBack();
    const host::DrawingObject& rect = drawing.layers.at(0).objects.at(0);
    ASSERT_EQ(rect.style.fill->kind, svgf::kFillPatternFirst);
    const auto& objects = drawing.tiles.at(rect.style.fill->pattern.tile - 1);
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_EQ(objects[0].box.left, INT32_MAX - 1);  // the reader's bound
    EXPECT_EQ(objects[0].box.bottom, INT32_MAX - 1);
}

TEST_F(ImportHostTest, APatternUsingItselfEndsAtTheNestingLimit) {
    Tile tile{&calls, 40000, false, true};
    AsModule([&] { DrawPatterned(calls, tile, HostRect{0, 40000, 40000, 0}); });
    EXPECT_TRUE(import.Balance().Balanced());
    ASSERT_FALSE(import.Warnings().empty());
    EXPECT_EQ(import.Warnings().back(), "a pattern tile nested too deep was left empty");
    const host::Drawing drawing = ReadBack();
    // Each nesting's fill has its tile; the one past the limit is empty.
    ASSERT_EQ(drawing.tiles.size(), size_t(host::import::kMaxTileNesting + 1));
    EXPECT_EQ(std::count_if(drawing.tiles.begin(), drawing.tiles.end(), [](const auto& t) { return t.empty(); }), 1);
}

// An outer tile whose callback fills more rectangles with an inner pattern
// than there are tile handle numbers: each inner tile gets a handle of its
// own while the outer one is open, never the outer one's.
struct ManyTiles {
    ModuleCalls* calls;
    int count;
    svgf::HostHandle outer = 0;
    bool clashed = false;
};

int32_t SVGF_CALL InnerTileCallback(svgf::HostHandle target, uintptr_t argument, uintptr_t) {
    auto* many = reinterpret_cast<ManyTiles*>(argument);
    if (target == many->outer) many->clashed = true;
    many->calls->Rectangle(target, Attributes(UniformFill(1, 2, 3)), 0, 0, 10, 10);
    return 1;
}

int32_t SVGF_CALL OuterTileCallback(svgf::HostHandle target, uintptr_t argument, uintptr_t) {
    auto* many = reinterpret_cast<ManyTiles*>(argument);
    many->outer = target;
    const svgf::HostCallbackRecord inner{&InnerTileCallback, {0, 0, 0, 0}};
    svgf::HostCallbackRecord saved{};
    many->calls->Exchange(target, inner, &saved);
    const Attributes patterned(PatternFill(many, 10, 10, HostRect{0, 10, 10, 0}));
    for (int i = 0; i < many->count; ++i) many->calls->Rectangle(target, patterned, 0, 0, 10, 10);
    many->calls->Exchange(target, saved, &saved);
    return 1;
}

TEST(ImportHostHandles, TileHandlesNeverNameALiveTile) {
    host::StandInHost host{&NoModule};
    ImportHost import{host};
    ModuleCalls calls{import};
    // More inner tiles than handle numbers.
    ManyTiles many{&calls, 70000};
    host.Report([&] {
        const svgf::HostCallbackRecord outer{&OuterTileCallback, {0, 0, 0, 0}};
        svgf::HostCallbackRecord saved{};
        calls.Exchange(calls.Handle(), outer, &saved);
        const Attributes patterned(PatternFill(&many, 100, 100, HostRect{0, 100, 100, 0}));
        calls.Rectangle(calls.Handle(), patterned, 0, 0, 100, 100);
        calls.Exchange(calls.Handle(), saved, &saved);
        return 0;
    });
    EXPECT_FALSE(many.clashed);
    EXPECT_TRUE(import.Balance().Balanced());
    EXPECT_TRUE(import.Warnings().empty()) << import.Warnings().front();
    const host::DrawingResult read = host::ReadDrawing(import.Description());
    ASSERT_TRUE(read) << read.error.Describe("description");
    EXPECT_EQ(read.drawing->tiles.size(), size_t(many.count + 1));
}

TEST(ImportHostHandles, ImageHandlesNeverNameALiveOneAndRunOutClearly) {
    host::StandInHost host{&NoModule};
    ImportHost import{host};
    svgf::HostImageCallbackBlock block{};
    const svgf::HostHandle held = import.OpenImageHandle(&block);
    ASSERT_NE(held, 0u);
    for (int i = 0; i < 70000; ++i) {
        const svgf::HostHandle h = import.OpenImageHandle(&block);
        ASSERT_NE(h, 0u);
        ASSERT_NE(h, held) << "round " << i;
        ASSERT_TRUE(import.ReleaseImageHandle(h));
    }
    // With every number held, the next one is refused with a warning.
    for (uint32_t i = 1; i < 0xFFFF; ++i) ASSERT_NE(import.OpenImageHandle(&block), 0u);
    EXPECT_EQ(import.OpenImageHandle(&block), 0u);
    ASSERT_FALSE(import.Warnings().empty());
    EXPECT_EQ(import.Warnings().back(), "an image was not loaded: every image handle is in use");
}

TEST(ImportHostHandles, OnePictureAFile) {
    host::StandInHost host{&NoModule};
    ImportHost import{host};
    const svgf::HostWord a = import.AddPicture("/tmp/a.png");
    EXPECT_EQ(import.AddPicture("/tmp/./a.png"), a);
    EXPECT_NE(import.AddPicture("/tmp/b.png"), a);
}

TEST_F(ImportHostTest, APatternWithoutACallbackRecordIsEmpty) {
    Tile tile{&calls, 20000};
    AsModule([&] {
        const Attributes patterned(PatternFill(&tile, 20000, 20000, HostRect{0, 20000, 20000, 0}));
        calls.Rectangle(calls.Handle(), patterned, 0, 0, 100000, 100000);
    });
    EXPECT_EQ(import.Warnings().at(0), "a pattern tile had no callback to be drawn through; it is empty");
    const host::Drawing drawing = ReadBack();
    EXPECT_TRUE(drawing.tiles.at(0).empty());
}

TEST_F(ImportHostTest, NeighboursUnderOneLinkShareIt) {
    AsModule([&] {
        Attributes a(UniformFill(1, 2, 3)), b(UniformFill(1, 2, 3)), c(UniformFill(1, 2, 3));
        a.Link(u"#one");
        b.Link(u"#one");
        c.Link(u"caf\u00e9/\u20ac");
        for (const Attributes* at : {&a, &b, &c}) calls.Rectangle(calls.Handle(), *at, 0, 0, 10, 10);
    });
    const host::Drawing drawing = ReadBack();
    const auto& objects = drawing.layers.at(0).objects;
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(objects[0].objects.size(), 2u);
    EXPECT_EQ(objects[0].link->url, "#one");
    // ISO-8859-1 as it is, beyond it the URL form of its UTF-8.
    EXPECT_EQ(objects[1].link->url, "caf\xe9/%E2%82%AC");
}

TEST_F(ImportHostTest, StructuresPastTheDeepestLevelGoToTheOneAroundThem) {
    constexpr int kDepth = 300;
    AsModule([&] {
        const Attributes fill(UniformFill(9, 9, 9));
        for (int i = 0; i < kDepth; ++i) calls.BeginGroup(calls.Handle());
        calls.Rectangle(calls.Handle(), fill, 0, 0, 10, 10);
        for (int i = 0; i < kDepth; ++i) calls.EndGroup(calls.Handle());
    });
    EXPECT_TRUE(import.Balance().Balanced());
    ASSERT_FALSE(import.Warnings().empty());
    const host::Drawing drawing = ReadBack();
    int depth = 0;
    for (const host::DrawingObject* o = &drawing.layers.at(0).objects.at(0); o->kind == host::ObjectKind::kGroup;
         o = &o->objects.at(0)) {
        ++depth;
    }
    EXPECT_EQ(depth, host::import::kMaxStructureLevel);
}

TEST_F(ImportHostTest, PathsLongerThanADescribedPathAreSplitAtSubpaths) {
    std::vector<HostPoint> points;
    std::vector<uint8_t> kinds;
    for (int s = 0; s < 3; ++s) {
        for (int i = 0; i < 30000; ++i) {
            points.push_back({i, s * 1000});
            kinds.push_back(i == 0 ? import_node::kMove : import_node::kLine);
        }
    }
    AsModule([&] { calls.Path(calls.Handle(), Attributes(NoFill(), Outline(true, 10)), points, kinds); });
    const host::Drawing drawing = ReadBack();
    const auto& objects = drawing.layers.at(0).objects;
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(objects[0].points.size(), 60000u);
    EXPECT_EQ(objects[1].points.size(), 30000u);
    EXPECT_EQ(objects[1].points[0].y, 2000);
}

TEST_F(ImportHostTest, KindBytesOutOfOrderStillGiveAReadablePath) {
    AsModule([&] {
        calls.Path(calls.Handle(), Attributes(UniformFill(0, 0, 0)), {{0, 0}, {5, 5}, {9, 0}, {3, 3}},
                   {import_node::kControl, import_node::kLine, import_node::kCurveEnd, import_node::kControl});
        calls.Path(calls.Handle(), Attributes(UniformFill(0, 0, 0)), {}, {});
    });
    ASSERT_EQ(import.Warnings().size(), 2u);
    const host::Drawing drawing = ReadBack();
    ASSERT_EQ(drawing.layers.at(0).objects.size(), 1u);
    const auto& path = drawing.layers[0].objects[0];
    EXPECT_EQ(path.points.size(), 4u);
    EXPECT_EQ(path.nodeTypes.front(), svgf::node::kMove);
}

TEST_F(ImportHostTest, CoordinatesAtTheEdgesOfTheRangeStayReadable) {
    AsModule([&] {
        const Attributes fill(UniformFill(1, 1, 1));
        calls.Draw<svgf::draw::RectangleFn>(svgf::draw::kRectangle)(calls.Handle(), fill.get(), INT32_MAX, INT32_MIN,
                                                                    INT32_MIN, INT32_MAX, 0, 0, nullptr, 0);
        calls.Draw<svgf::draw::EllipseFn>(svgf::draw::kEllipse)(calls.Handle(), fill.get(), INT32_MAX - 5, 0,
                                                                INT32_MAX, INT32_MIN, 0, 0, 0, 0, nullptr, 0);
        calls.Path(calls.Handle(), fill, {{INT32_MIN, INT32_MAX}, {INT32_MAX, INT32_MIN}},
                   {import_node::kMove, import_node::kLine});
    });
    EXPECT_EQ(ReadBack().layers.at(0).objects.size(), 3u);
}

struct AngleRow {
    svgf::HostPoint from, to;
    int32_t angle;
};

class AngleOfPoints : public ImportHostTest, public ::testing::WithParamInterface<AngleRow> {};

TEST_P(AngleOfPoints, IsCounterClockwiseFromTheHorizontal) {
    const AngleRow row = GetParam();
    int32_t angle = -1;
    AsModule([&] {
        auto service = calls.Service<svgf::svc::AngleOfPointsFn>(svgf::svc::kAngleOfPoints);
        angle = service(row.from.x, row.from.y, row.from.x + kInch, row.from.y, row.to.x, row.to.y);
    });
    EXPECT_EQ(angle, row.angle);
}

INSTANTIATE_TEST_SUITE_P(Rays, AngleOfPoints,
                         ::testing::Values(AngleRow{{0, 0}, {10, 0}, 0}, AngleRow{{0, 0}, {0, 10}, 90000},
                                           AngleRow{{5, 5}, {-5, 5}, 180000}, AngleRow{{0, 0}, {0, -10}, -90000},
                                           AngleRow{{0, 0}, {7, 7}, 45000}, AngleRow{{100, 100}, {100, 100}, 0}));

TEST_F(ImportHostTest, ServicesAnswerAndAreLogged) {
    AsModule([&] {
        namespace svc = svgf::svc;
        char buffer[260];
        import.SetDictionaryFolder("/usr/share/svgfilter/dictionaries");
        EXPECT_EQ(calls.Service<svc::DictionaryFolderFn>(svc::kDictionaryFolder)(buffer, sizeof buffer), 1);
        EXPECT_STREQ(buffer, "/usr/share/svgfilter/dictionaries");
        EXPECT_EQ(calls.Service<svc::DictionaryFolderFn>(svc::kDictionaryFolder)(buffer, 10), 0);
        EXPECT_STREQ(buffer, "");

        // Initialised, then set from another record: a copy.
        svgf::HostMatrix source{{0, -1, 7, 1, 0, 9}}, copy{};
        calls.Service<svc::MatrixIdentityFn>(svc::kMatrixIdentity)(&copy);
        calls.Service<svc::MatrixCombineFn>(svc::kMatrixCombine)(&copy, &source);
        for (int i = 0; i < 6; ++i) EXPECT_EQ(copy.m[i], source.m[i]);
        svgf::HostPoint corners[2] = {{0, 0}, {10, 20}};
        calls.Service<svc::TransformPointsFn>(svc::kTransformPoints)(corners, &copy, 2);
        EXPECT_EQ(corners[1].x, -13);
        svgf::HostRect box{};
        calls.Service<svc::BoundingBoxFn>(svc::kBoundingBox)(corners, 2, &box);
        EXPECT_EQ(box.top, 19);
    });
    testsupport::ExpectGolden("import/services.log", import.Log().Text());
}

TEST(ImportHostLifetime, TheHostsDefaultsComeBackWithoutTheImportSide) {
    host::StandInHost plain(&NoModule);
    {
        ImportHost import(plain);
        EXPECT_TRUE(plain.Services().Has(svgf::svc::kAngleOfPoints));
        EXPECT_EQ(plain.Context().callbackRecord, &import.DrawingTable());
    }
    EXPECT_FALSE(plain.Services().Has(svgf::svc::kAngleOfPoints));
    EXPECT_TRUE(plain.Services().Has(svgf::svc::kMatrixIdentity));
    EXPECT_EQ(plain.Context().callbackRecord, nullptr);
}

}  // namespace
